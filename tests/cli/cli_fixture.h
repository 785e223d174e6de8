#pragma once

// The command line as a separate process: tarvel4410-cli with the real driver library,
// against the simulated transmitter on a pseudo-terminal.
#include <functional>
#include <memory>
#include <stdexcept>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "document/config_file.h"
#include "simulator/simulator_host.h"
#include "support/fake_sleeper.h"
#include "support/pty_port.h"
#include "support/scripted_user.h"

struct CliRun {
    int exitCode;
    QStringList lines;
    QString errors;

    bool has(const QString& line) const { return lines.contains(line); }
};

class CliTest : public testing::Test {
protected:
    CliTest()
    {
        setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
        sim::SimulatorSetup setup;
        setup.process.noise = 0;
        host = std::make_unique<sim::SimulatorHost>(setup);
        const auto endpoint = host->start();
        if (!endpoint) throw std::runtime_error(host->error());
        com = QString::number(endpoint->comNumber);
    }

    // inChild runs in the child before the program starts (resource limits).
    CliRun Cli(QStringList args, const QByteArray& input = {},
               const std::function<void()>& inChild = {})
    {
        QProcess process;
        if (inChild) process.setChildProcessModifier(inChild);
        process.start(QString::fromLocal8Bit(getenv("TARVEL4410_BIN_DIR")) + "/tarvel4410-cli",
                      args);
        process.write(input);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(60000));
        CliRun run{process.exitCode(), {}, QString::fromUtf8(process.readAllStandardError())};
        run.lines =
            QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
        return run;
    }

    QString WriteConfiguration(const std::function<void(transmitter::CTransmitter&)>& edit,
                               const QString& name = QStringLiteral("config.4410"))
    {
        ScriptedUser user;
        FakeSleeper sleeper;
        hart::FixedPortSettings ports{1};
        transmitter::CTransmitter values(user, ports, sleeper);
        values.sensorType = 1;
        values.sensorConnection = 3;
        values.rangeUnits = 32;
        values.lowerRangeValue = 0.0f;
        values.upperRangeValue = 100.0f;
        values.damping = 1.0f;
        values.alarmSelect = 0;
        values.lowAlmVal = 3.5f;
        values.highAlmVal = 21.0f;
        values.lowSatVal = 3.7f;
        values.highSatVal = 20.5f;
        values.lineFilter = 1;
        values.writeProtect = 0;
        edit(values);
        const QString path = files.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(document::StoreConfiguration(values));
        return path;
    }

    std::vector<std::uint8_t> WritesSeen()
    {
        std::vector<std::uint8_t> writes;
        for (std::uint8_t command : host->commands())
            if (command == 18 || command == 34 || command == 35 || command == 44 ||
                command == 141 || command == 151 || command == 155 || command == 162 ||
                command == 195)
                writes.push_back(command);
        return writes;
    }

    TempPortMapDir portMap;
    QTemporaryDir config;
    QTemporaryDir files;
    std::unique_ptr<sim::SimulatorHost> host;
    QString com;
};
