// The command line end to end: tarvel4410-cli as a separate process, with the real driver
// library, against the simulated transmitter on a pseudo-terminal.
#include <algorithm>
#include <csignal>
#include <functional>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include "cli/cli_command.h"
#include "cli/cli_fixture.h"
#include "document/config_file.h"
#include "document/csv_log.h"
#include "resources/string_table.h"
#include "simulator/simulator_host.h"
#include "support/fake_sleeper.h"
#include "support/file_bytes.h"
#include "support/pty_port.h"
#include "support/scripted_user.h"

TEST_F(CliTest, ReadPrintsTheReportAndSavesTheFile)
{
    const QString path = files.filePath("read.4410");
    const CliRun run = Cli({"--port", com, "read", path});
    EXPECT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    ASSERT_EQ(run.lines.size(), 25);
    EXPECT_EQ(run.lines[0], QString::fromUtf8("[899] Приём завершен"));
    EXPECT_EQ(run.lines[1], QString::fromUtf8("Тег датчика: TT-101  "));
    EXPECT_TRUE(run.has(QString::fromUtf8("Точка 20 мА: 100.00 °C")));
    EXPECT_TRUE(run.has(QString::fromUtf8("Демпфирование: 1.0 с")));
    EXPECT_TRUE(run.has(QString::fromUtf8("Защита записи: выключена")));
    EXPECT_TRUE(run.has(QString::fromUtf8("Неисправность сенсора: Нет")));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.size(), document::kConfigRecordSize);
}

TEST_F(CliTest, ReadOverAnEchoingNoisyPacedLineGivesTheSameReport)
{
    sim::SimulatorSetup setup;
    setup.process.noise = 0;
    sim::SimulatorHost noisy(setup, sim::HostOptions{.wireTiming = true,
                                                     .timing = {},
                                                     .line = {.echo = true, .garbageBytes = 3}});
    const auto endpoint = noisy.start();
    ASSERT_TRUE(endpoint) << noisy.error();

    const CliRun clean = Cli({"--port", com, "read"});
    const CliRun overNoise = Cli({"--port", QString::number(endpoint->comNumber), "read"});
    EXPECT_EQ(clean.exitCode, 0);
    EXPECT_EQ(overNoise.exitCode, 0) << overNoise.lines.join('\n').toStdString();
    EXPECT_EQ(overNoise.lines, clean.lines);
}

TEST_F(CliTest, NumbersFollowTheUsersDecimalSeparator)
{
    qputenv("LC_ALL", "ru_RU.UTF-8");
    const CliRun run = Cli({"--port", com, "read"});
    qunsetenv("LC_ALL");
    EXPECT_TRUE(run.has(QString::fromUtf8("Высокий уровень аварии: 21,00 мА")));
}

TEST_F(CliTest, ReadWithoutTransmitterGetsTheNegativeAnswer)
{
    const CliRun run = Cli({"--port", "200", "read"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.lines,
              (QStringList{
                  QString::fromUtf8("[908] Нельзя открыть Com порт"),
                  QString::fromUtf8("[906] Датчик Тарвел-4410 не найден -> Отмена (нет ответа)")}));
}

// A device this user may not open: besides the notice, one line on standard error says why
// and what to do. Root may open anything, so as root the program runs as nobody.
TEST_F(CliTest, PortWithoutPermissionGetsTheDialoutHint)
{
    const QString device = files.filePath("ttyDenied");
    QFile made(device);
    ASSERT_TRUE(made.open(QIODevice::WriteOnly));
    made.close();
    ASSERT_TRUE(made.setPermissions({}));
    ASSERT_TRUE(QFile::link(device, QString::fromStdString((portMap.path() / "COM77").string())));
    for (const std::string& folder : {portMap.path().string(), files.path().toStdString()})
        ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
    const auto asAnotherUser = [] {
        if (geteuid() != 0) return;
        if (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0) _exit(126);
    };

    const CliRun denied = Cli({"--port", "77", "check"}, {}, asAnotherUser);
    EXPECT_EQ(denied.exitCode, 1);
    EXPECT_TRUE(denied.has(QString::fromUtf8("[908] Нельзя открыть Com порт")))
        << denied.lines.join('\n').toStdString();
    EXPECT_TRUE(
        denied.errors.startsWith("tarvel4410-cli: no permission to open COM77 (" + device + "): "))
        << denied.errors.toStdString();
    EXPECT_TRUE(denied.errors.contains("dialout"));
    EXPECT_EQ(denied.errors.count('\n'), 1);

    const CliRun absent = Cli({"--port", "200", "check"}, {}, asAnotherUser);
    EXPECT_TRUE(absent.has(QString::fromUtf8("[908] Нельзя открыть Com порт")));
    EXPECT_EQ(absent.errors, QString()) << "only a refused permission gets the hint";
}

TEST_F(CliTest, ScriptedAnswersAreUsedInOrder)
{
    const CliRun run =
        Cli({"--port", "200", "--answer", "906=retry", "--answer", "906=cancel", "check"});
    EXPECT_EQ(run.exitCode, 1);
    // The connection check reports once and asks nothing.
    EXPECT_EQ(run.lines.last(), QString::fromUtf8("[906] Датчик Тарвел-4410 не найден"));

    const CliRun read =
        Cli({"--port", "200", "--answer", "906=retry", "--answer", "906=cancel", "read"});
    EXPECT_EQ(read.lines.filter(QString::fromUtf8("-> Повторить")).size(), 1);
    EXPECT_EQ(read.lines.filter(QString::fromUtf8("-> Отмена")).size(), 1);
}

TEST_F(CliTest, CheckFindsTheTransmitter)
{
    const CliRun run = Cli({"--port", com, "check"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.lines, QStringList{QString::fromUtf8("[935] Датчик Тарвел-4410 найден")});
}

TEST_F(CliTest, ShowPrintsAFileAndRejectsABadOne)
{
    const QString path = WriteConfiguration([](auto& v) { v.damping = 5.0f; });
    const CliRun run = Cli({"show", path});
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.lines.size(), 24);
    EXPECT_EQ(run.lines[7], QString::fromUtf8("Демпфирование: 5.0 с"));
    // Nothing live in a file: the Information lines carry no values.
    EXPECT_EQ(run.lines[16],
              QString::fromUtf8("Аналоговый выход:  "));  // empty value: ": " and a space

    QFile bad(files.filePath("bad.4410"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a configuration");
    bad.close();
    const CliRun failed = Cli({"show", bad.fileName()});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.lines, QStringList{"[-] Unexpected file format."});
}

// The file's range value and the device's tag changed: exactly those two lines, file value
// first, in the report's texts.
TEST_F(CliTest, CompareListsTheDifferingConfigurationLines)
{
    const QString path = files.filePath("plant.4410");
    ASSERT_EQ(Cli({"--port", com, "read", path}).exitCode, 0);
    const QString received = QString::fromUtf8("[899] Приём завершен");

    const CliRun same = Cli({"--port", com, "compare", path});
    EXPECT_EQ(same.exitCode, 0);
    EXPECT_EQ(
        same.lines,
        (QStringList{received, QString::fromUtf8("Конфигурация в устройстве совпадает с файлом")}));

    ScriptedUser otherUser;
    FakeSleeper sleeper;
    hart::FixedPortSettings ports{1};
    transmitter::CTransmitter values(otherUser, ports, sleeper);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_EQ(document::LoadConfiguration(file.readAll(), values), document::LoadStatus::Loaded);
    values.upperRangeValue = 150.0f;
    file.seek(0);
    file.write(document::StoreConfiguration(values));
    file.close();
    host->withDevice([](sim::Device& d) { d.state().config.tag = "TT-202"; });

    const CliRun differ = Cli({"--port", com, "compare", path});
    EXPECT_EQ(differ.exitCode, 1);
    EXPECT_EQ(differ.lines,
              (QStringList{received, QString::fromUtf8("Тег датчика: TT-101   -> TT-202  "),
                           QString::fromUtf8("Точка 20 мА: 150.00 °C -> 100.00 °C"),
                           QString::fromUtf8("Строк с различиями: 2")}));

    // No transmitter: the read's own messages, nothing compared.
    const CliRun unread = Cli({"--port", "200", "compare", path});
    EXPECT_EQ(unread.exitCode, 1);
    EXPECT_EQ(unread.lines,
              (QStringList{
                  QString::fromUtf8("[908] Нельзя открыть Com порт"),
                  QString::fromUtf8("[906] Датчик Тарвел-4410 не найден -> Отмена (нет ответа)")}));
}

// Each configuration line in turn differs between the file and the transmitter: compare names
// exactly the lines that show the value (the range units move the points and the limits).
TEST_F(CliTest, CompareSeesEachConfigurationLine)
{
    const QString path = files.filePath("plant.4410");
    ASSERT_EQ(Cli({"--port", com, "read", path}).exitCode, 0);
    QFile plant(path);
    ASSERT_TRUE(plant.open(QIODevice::ReadOnly));
    const QByteArray asRead = plant.readAll();

    using T = transmitter::CTransmitter;
    const struct {
        const char* name;
        std::function<void(T&)> edit;
        std::vector<int> labels;
    } cases[] = {
        {"tag", [](T& v) { v.tag[1] = u'X'; }, {1102}},
        {"sensor with the same limits", [](T& v) { v.sensorType = 3; }, {1103}},
        {"sensor with another upper limit", [](T& v) { v.sensorType = 14; }, {1103, 1108}},
        {"connection", [](T& v) { v.sensorConnection = 2; }, {1104}},
        {"4 mA point", [](T& v) { v.lowerRangeValue = 10.0f; }, {1105}},
        {"20 mA point", [](T& v) { v.upperRangeValue = 150.0f; }, {1106}},
        {"range units", [](T& v) { v.rangeUnits = 33; }, {1105, 1106, 1107, 1108}},
        {"damping", [](T& v) { v.damping = 5.0f; }, {1109}},
        {"alarm direction", [](T& v) { v.alarmSelect = 1; }, {1110}},
        {"low alarm", [](T& v) { v.lowAlmVal = 3.6f; }, {1111}},
        {"high alarm", [](T& v) { v.highAlmVal = 21.5f; }, {1112}},
        {"low saturation", [](T& v) { v.lowSatVal = 3.8f; }, {1113}},
        {"high saturation", [](T& v) { v.highSatVal = 20.6f; }, {1114}},
        {"line filter", [](T& v) { v.lineFilter = 0; }, {1115}},
        {"write protection", [](T& v) { v.writeProtect = 1; }, {1116}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedUser user;
        FakeSleeper sleeper;
        hart::FixedPortSettings ports{1};
        T values(user, ports, sleeper);
        ASSERT_EQ(document::LoadConfiguration(asRead, values), document::LoadStatus::Loaded);
        c.edit(values);
        const QString edited = files.filePath("edited.4410");
        QFile file(edited);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(document::StoreConfiguration(values));
        file.close();

        const CliRun run = Cli({"--port", com, "compare", edited});
        EXPECT_EQ(run.exitCode, 1);
        QStringList labels;
        for (const QString& line : run.lines)
            if (line.contains(QStringLiteral(" -> ")))
                labels << line.section(QStringLiteral(": "), 0, 0);
        QStringList expected;
        for (const int id : c.labels) expected << QString::fromUtf8(tarvel::LoadText(id));
        EXPECT_EQ(labels.join(" | ").toStdString(), expected.join(" | ").toStdString())
            << run.lines.join('\n').toStdString();
    }
}

QString PdfText(const QString& pdf)
{
    QProcess pdftotext;
    pdftotext.start("pdftotext", {pdf, "-"});
    EXPECT_TRUE(pdftotext.waitForFinished(30000));
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

TEST_F(CliTest, PrintWritesTheReportAsAPdfWithoutADisplay)
{
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        qunsetenv(variable);
    const QString pdf = files.filePath("report.pdf");
    const CliRun run =
        Cli({"print", WriteConfiguration([](auto& v) { v.damping = 5.0f; }), "--pdf", pdf});
    EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
    EXPECT_TRUE(run.lines.isEmpty()) << run.lines.join('\n').toStdString();
    const QString text = PdfText(pdf);
    EXPECT_TRUE(text.startsWith(QString::fromUtf8("Конфигурация Тарвел-4410")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("Демпфирование"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8(": 5.0 с"))) << text.toStdString();
    // Printing a file needs no transmitter.
    EXPECT_TRUE(host->commands().empty());
}

// A flag and its value may stand before or after the plain arguments.
TEST_F(CliTest, FlagsAndPlainArgumentsComeInAnyOrder)
{
    const QString file = WriteConfiguration([](auto&) {});
    const QString pdf = files.filePath("any-order.pdf");
    for (const QStringList& args :
         {QStringList{"print", "--pdf", pdf, file}, QStringList{"print", file, "--pdf", pdf}}) {
        QFile::remove(pdf);
        const CliRun run = Cli(args);
        EXPECT_EQ(run.exitCode, 0) << args.join(' ').toStdString() << run.errors.toStdString();
        EXPECT_TRUE(QFile::exists(pdf)) << args.join(' ').toStdString();
    }
}

TEST_F(CliTest, PrintFailuresSayWhyAndWriteNothing)
{
    QFile bad(files.filePath("bad.4410"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a configuration");
    bad.close();
    const QString pdf = files.filePath("never.pdf");
    CliRun run = Cli({"print", bad.fileName(), "--pdf", pdf});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.lines, QStringList{"[-] Unexpected file format."});
    EXPECT_FALSE(QFile::exists(pdf));

    const QString unwritable = files.filePath("missing/report.pdf");
    run = Cli({"print", WriteConfiguration([](auto&) {}), "--pdf", unwritable});
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.lines.size(), 1);
    EXPECT_TRUE(
        run.lines[0].startsWith("[-] Failed to write the report to \"" + unwritable + "\": "))
        << run.lines[0].toStdString();
}

TEST_F(CliTest, SendBasicWritesAndReportsTheDampingWarning)
{
    const QString path = WriteConfiguration([](auto& v) {
        v.damping = 0.3f;
        v.upperRangeValue = 150.0f;
        const char16_t tag[] = u"tt-7";
        std::copy(std::begin(tag), std::end(tag), v.tag);
    });
    const CliRun run = Cli({"--port", com, "--answer", "905=ok", "send-basic", path});
    EXPECT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    EXPECT_TRUE(run.lines[0].endsWith(QString::fromUtf8("-> Продолжить")));
    EXPECT_TRUE(
        run.has(QString::fromUtf8("[1005] Предупреждение: Передаваемое значение дампинга меньше "
                                  "0.5 секунд. Значение будет округлено до 0.5 секунд")));
    EXPECT_EQ(run.lines.last(), QString::fromUtf8("[900] Передача завершена успешно"));
    const auto config = host->withDevice([](sim::Device& d) { return d.state().config; });
    EXPECT_EQ(config.dampingS, 0.5f);
    EXPECT_EQ(config.upperRangeValue, 150.0f);
    EXPECT_EQ(config.tag.substr(0, 4), "TT-7");
}

TEST_F(CliTest, SendBasicUnansweredSendsNothing)
{
    const CliRun run = Cli({"--port", com, "send-basic", WriteConfiguration([](auto&) {})});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.lines[0].startsWith("[905] "));
    EXPECT_TRUE(run.lines[0].endsWith(QString::fromUtf8("-> Отмена (нет ответа)")));
    EXPECT_TRUE(host->commands().empty());
}

TEST_F(CliTest, SendBasicValidationStopsBeforeTheDevice)
{
    // 20 mA beyond the PT100's 850 °C: the page refuses to send.
    const QString path = WriteConfiguration([](auto& v) { v.upperRangeValue = 1000.0f; });
    const CliRun run = Cli({"--port", com, "--answer", "905=ok", "send-basic", path, "--validate"});
    EXPECT_EQ(run.exitCode, 1);
    ASSERT_EQ(run.lines.size(), 1);
    EXPECT_TRUE(run.lines[0].startsWith("[1271] "));
    EXPECT_TRUE(host->commands().empty());
}

TEST_F(CliTest, SendAdvancedMarksTheRefusedLevel)
{
    host->withDevice([](sim::Device& d) { d.faults().responseOverrides[155] = 10; });
    const QString path = WriteConfiguration([](auto& v) { v.highAlmVal = 22.0f; });
    const CliRun run = Cli({"--port", com, "send-advanced", path});
    EXPECT_TRUE(run.has(QString::fromUtf8("[1010] Неверное значение высокого уровня тревоги")));
    EXPECT_TRUE(run.has(QString::fromUtf8("! Высокий уровень аварии")));
    // The other steps succeeded, but one value was refused: no success.
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_FALSE(run.has(QString::fromUtf8("[900] Передача завершена успешно")));
}

TEST_F(CliTest, SendAdvancedSwitchesProtectionOffFirstAndOnLast)
{
    host->withDevice([](sim::Device& d) { d.state().config.writeProtect = 1; });
    CliRun run = Cli(
        {"--port", com, "send-advanced", WriteConfiguration([](auto& v) { v.writeProtect = 0; })});
    EXPECT_EQ(run.exitCode, 0);
    std::vector<std::uint8_t> writes = WritesSeen();
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.front(), 195);

    host->clearRequests();
    run = Cli(
        {"--port", com, "send-advanced", WriteConfiguration([](auto& v) { v.writeProtect = 1; })});
    EXPECT_EQ(run.exitCode, 0);
    writes = WritesSeen();
    ASSERT_FALSE(writes.empty());
    EXPECT_EQ(writes.back(), 195);
    EXPECT_EQ(host->withDevice([](sim::Device& d) { return d.state().config.writeProtect; }), 1);
}

TEST_F(CliTest, PortIsStoredAndUsedByLaterRuns)
{
    EXPECT_EQ(Cli({"port", com}).exitCode, 0);
    QSettings settings(config.filePath(QString::fromUtf8(
                           "Tarvel 4410 Configuration Tool/Конфигурация датчика Тарвел-4410.conf")),
                       QSettings::IniFormat);
    EXPECT_EQ(settings.value("PortSettings").toInt(), com.toInt());
    EXPECT_EQ(Cli({"check"}).exitCode, 0);
}

TEST_F(CliTest, PortsListsTheSimulatedPort)
{
    const CliRun run = Cli({"ports"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.has("COM" + com));
}

TEST_F(CliTest, MonitorPrintsTheInformationSectionEachCycle)
{
    const CliRun run = Cli({"--port", com, "monitor", "--cycles", "1"});
    EXPECT_EQ(run.exitCode, 0);
    ASSERT_EQ(run.lines.size(), 9);
    EXPECT_EQ(run.lines[0], QString::fromUtf8("Температура сенсора: 25.00 °C"));
    EXPECT_EQ(run.lines[5], QString::fromUtf8("Версия программы: 5.1.2"));
}

QStringList CsvLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

// Each cycle's row is in the file while monitoring goes on, with what the transmitter served
// in that cycle; an old file of the name stays until the first row.
TEST_F(CliTest, MonitorLogsEachCycleAsACsvRow)
{
    setenv("TZ", "Asia/Yekaterinburg", 1);  // +05:00 all year
    qputenv("LC_ALL", "ru_RU.UTF-8");       // a decimal comma for the user, points in the file
    const QString csv = files.filePath("trend.csv");
    QFile old(csv);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old record\n");
    old.close();

    QProcess monitor;
    monitor.start(QString::fromLocal8Bit(getenv("TARVEL4410_BIN_DIR")) + "/tarvel4410-cli",
                  {"--port", com, "monitor", "--cycles", "3", "--csv", csv});
    struct Served {
        float value;
        float current;
    };
    std::vector<Served> served;
    const auto serve = [&](float process, sim::SensorFailure sensor, bool xmtr) {
        served.push_back(host->withDevice([&](sim::Device& d) {
            d.process().value = process;
            d.faults().sensorFailure = sensor;
            d.faults().transmitterFailure = xmtr;
            return Served{d.model().primaryValue(), d.model().loopCurrentMa()};
        }));
    };
    serve(25.0f, sim::SensorFailure::None, false);
    EXPECT_EQ(CsvLines(csv), QStringList{"old record"});
    for (int cycle = 0; cycle < 3; ++cycle) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return CsvLines(csv).size() >= cycle + 2; }, 20000))
            << cycle;
        // Flushed with its cycle, not at the end.
        if (cycle < 2) {
            EXPECT_FALSE(monitor.waitForFinished(0)) << cycle;
        }
        if (cycle == 0) serve(62.5f, sim::SensorFailure::None, true);
        if (cycle == 1) serve(62.5f, sim::SensorFailure::Open, false);
    }
    ASSERT_TRUE(monitor.waitForFinished(20000));
    unsetenv("TZ");
    qunsetenv("LC_ALL");
    EXPECT_EQ(monitor.exitCode(), 0);

    const QStringList lines = CsvLines(csv);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QString::fromLatin1(document::CsvHeader()).trimmed());
    const QString status[] = {"ok,ok", "ok,fault", "fault,ok"};
    for (int cycle = 0; cycle < 3; ++cycle) {
        SCOPED_TRACE(cycle);
        const QStringList fields = lines[cycle + 1].split(',');
        ASSERT_EQ(fields.size(), 7);
        EXPECT_TRUE(QRegularExpression("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\+05:00$")
                        .match(fields[0])
                        .hasMatch())
            << fields[0].toStdString();
        // A failed sensor measures nothing.
        // The failed sensor of the last cycle measured nothing.
        EXPECT_EQ(fields[1], cycle == 2 ? QString() : QString::number(served[cycle].value));
        EXPECT_EQ(fields[2], QString::fromUtf8("°C"));
        EXPECT_EQ(fields[3].toFloat(), served[cycle].current);
        EXPECT_EQ(fields[4],
                  QString::number((served[cycle].current - 4.0f) / 16.0f * 100.0f, 'f', 2));
        EXPECT_EQ(fields[5] + ',' + fields[6], status[cycle]);
    }

    // A record that cannot be written stops the command before the transmitter is sought.
    host->clearRequests();
    const CliRun unwritable =
        Cli({"--port", com, "monitor", "--csv", files.filePath("missing/trend.csv")});
    EXPECT_EQ(unwritable.exitCode, 1);
    ASSERT_EQ(unwritable.lines.size(), 1);
    EXPECT_TRUE(unwritable.lines[0].startsWith("[-] Failed to write \"" +
                                               files.filePath("missing/trend.csv") + "\": "))
        << unwritable.lines[0].toStdString();
    EXPECT_TRUE(host->commands().empty());
}

TEST_F(CliTest, AnotherRunFindsThePortBusyWhileOneMonitors)
{
    QTemporaryDir locks;
    setenv("TARVEL4410_LOCK_DIR", locks.path().toLocal8Bit().constData(), 1);
    QProcess monitor;
    monitor.start(QString::fromLocal8Bit(getenv("TARVEL4410_BIN_DIR")) + "/tarvel4410-cli",
                  {"--port", com, "monitor", "--cycles", "2"});
    // The monitor holds the port from its start: its lock file appears before the first cycle.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return !QDir(locks.path()).entryList({"LCK..*"}, QDir::Files).isEmpty(); }, 10000));
    const CliRun refused = Cli({"--port", com, "check"});
    EXPECT_TRUE(monitor.waitForFinished(60000));
    EXPECT_EQ(monitor.exitCode(), 0);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.lines.join('\n').contains("[908]"))
        << refused.lines.join('\n').toStdString();
    EXPECT_TRUE(QDir(locks.path()).entryList({"LCK..*"}, QDir::Files).isEmpty())
        << "released at the end";
    EXPECT_EQ(Cli({"--port", com, "check"}).exitCode, 0);
    unsetenv("TARVEL4410_LOCK_DIR");
}

TEST_F(CliTest, UsageErrors)
{
    for (const QStringList& args :
         {QStringList{}, QStringList{"frobnicate"}, QStringList{"--port", "0", "check"},
          QStringList{"--answer", "906=maybe", "check"}, QStringList{"show"},
          QStringList{"send-basic", "a.4410", "--force"}, QStringList{"monitor", "--cycles", "x"},
          QStringList{"monitor", "--csv"}, QStringList{"compare"}, QStringList{"print", "a.4410"},
          QStringList{"print", "a.4410", "--pdf"}, QStringList{"print", "a.4410", "--png", "a.png"},
          QStringList{"print", "a.4410", "--pdf", "a.pdf", "b.pdf"}}) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.errors.startsWith("tarvel4410-cli: "));
    }
}

TEST_F(CliTest, HelpListsEveryCommandAndExitsZero)
{
    for (const char* option : {"--help", "-h"}) {
        const CliRun run = Cli({option});
        EXPECT_EQ(run.exitCode, 0) << option;
        EXPECT_TRUE(run.errors.isEmpty()) << run.errors.toStdString();
        for (const auto& command : cli::MakeCommands()) {
            const QString usage = QString::fromStdString(command->usage());
            EXPECT_TRUE(std::any_of(
                run.lines.begin(), run.lines.end(),
                [&](const QString& line) { return line.trimmed().startsWith(usage + ' '); }))
                << option << ": " << usage.toStdString();
        }
    }
}

// A value its argument does not take is a usage error, followed by the usage, before
// anything runs.
TEST_F(CliTest, BadNumbersAreUsageErrorsWithTheUsage)
{
    const QString usage = Cli({"--help"}).lines.join('\n') + '\n';
    for (const QStringList& args :
         {QStringList{"port", "x"}, QStringList{"port", "0"}, QStringList{"port", "256"},
          QStringList{"port"}, QStringList{"--port", com, "monitor", "--cycles", "0"},
          QStringList{"--port", com, "monitor", "--cycles"},
          QStringList{"--port", com, "monitor", "3"}}) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.errors.startsWith("tarvel4410-cli: ")) << run.errors.toStdString();
        EXPECT_TRUE(run.errors.endsWith(usage)) << run.errors.toStdString();
        EXPECT_TRUE(run.lines.isEmpty()) << run.lines.join('\n').toStdString();
    }
    EXPECT_TRUE(host->commands().empty());
}

TEST_F(CliTest, FixedCurrentIsForcedAndReleased)
{
    CliRun run = Cli({"--port", com, "--answer", "905=ok", "fixed-current", "12,5"});
    EXPECT_EQ(run.exitCode, 0) << run.lines.join('\n').toStdString();
    ASSERT_EQ(run.lines.size(), 2);
    EXPECT_TRUE(run.lines[0].startsWith("[905] "));
    EXPECT_TRUE(run.lines[0].endsWith(QString::fromUtf8("-> Продолжить")));
    EXPECT_EQ(run.lines[1],
              QString::fromUtf8("[1287] Фиксированный ток (12.50 mA) успешно установлен!"));
    auto output = host->withDevice([](sim::Device& d) { return d.state().output; });
    EXPECT_TRUE(output.fixedMode);
    EXPECT_EQ(output.fixedCurrentMa, 12.5f);

    run = Cli({"--port", com, "fixed-current", "off"});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.lines,
              QStringList{QString::fromUtf8("[1247] Фиксированный ток успешно сброшен")});
    output = host->withDevice([](sim::Device& d) { return d.state().output; });
    EXPECT_FALSE(output.fixedMode);
}

TEST_F(CliTest, FixedCurrentUnansweredOrRefusedFails)
{
    CliRun run = Cli({"--port", com, "fixed-current", "12"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.lines[0].endsWith(QString::fromUtf8("-> Отмена (нет ответа)")));
    EXPECT_TRUE(host->commands().empty());

    // Below the low alarm level of 3.5 mA.
    run = Cli({"--port", com, "--answer", "905=ok", "fixed-current", "3.4"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.lines.last(), QString::fromUtf8("[1285] Записываемое значение фиксированного "
                                                  "тока ниже нижнего уровня аварии! (3.50 mA)"));
    const std::vector<std::uint8_t> sent = host->commands();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), 40), 0);
    EXPECT_EQ(sent.back(), 189);

    host->withDevice([](sim::Device& d) { d.state().config.writeProtect = 1; });
    run = Cli({"--port", com, "fixed-current", "off"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.lines,
              QStringList{QString::fromUtf8("[1004] Прибор находится в режиме защиты записи")});
}

TEST_F(CliTest, FixedCurrentUsageErrors)
{
    for (const QStringList& args :
         {QStringList{"fixed-current"}, QStringList{"fixed-current", "abc"},
          QStringList{"fixed-current", "-1"}, QStringList{"fixed-current", "0"},
          QStringList{"fixed-current", "1.2.3"}, QStringList{"fixed-current", "4", "5"}}) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(run.errors.startsWith("tarvel4410-cli: "));
    }
}

// Each failure ends with status 1, shows why and never success, and leaves the files alone:
// an existing configuration or report byte for byte, a new one not created.
TEST_F(CliTest, FailuresEndWithStatusOneAndLeaveTheFilesAlone)
{
    const QString config = WriteConfiguration([](auto&) {});
    const QString keep = WriteConfiguration([](auto& v) { v.damping = 7.0f; }, "keep.4410");
    const QString fresh = files.filePath("new.4410");
    const QString slowDamping =
        WriteConfiguration([](auto& v) { v.damping = 45.0f; }, "slow-damping.4410");
    const QString badTag = WriteConfiguration(
        [](auto& v) {
            const char16_t tag[] = u"T\u0001T";
            std::copy(std::begin(tag), std::end(tag), v.tag);
        },
        "bad-tag.4410");
    const QString pdf = files.filePath("keep.pdf");
    {
        QFile old(pdf);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("%PDF-1.4 the previous report");
    }
    const auto listing = [this] {
        return QDir(files.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };
    const QStringList entries = listing();
    const QByteArray keepBytes = FileBytes(keep);
    const QByteArray pdfBytes = FileBytes(pdf);
    const auto fullDisk = [] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit none{0, 0};
        setrlimit(RLIMIT_FSIZE, &none);
    };

    struct Case {
        const char* name;
        std::uint8_t refusedCommand;  // answered with a refusal; 0 for none
        std::uint8_t result;
        QStringList args;
        QString shown;  // the start of a line the run shows
        std::function<void()> inChild = {};
    };
    const QString notRead = QString::fromUtf8("\": the transmitter was not read in full.");
    const Case cases[] = {
        {"read over a file, a group refused",
         150,
         64,
         {"--port", com, "read", keep},
         "[-] Not saved to \"" + keep + notRead},
        {"read into a new file, a group refused",
         150,
         64,
         {"--port", com, "read", fresh},
         "[-] Not saved to \"" + fresh + notRead},
        {"send-basic, the range refused",
         35,
         11,
         {"--port", com, "--answer", "905=ok", "send-basic", config},
         QString::fromUtf8("! ")},
        {"monitor, the cycle's first read refused",
         16,
         64,
         {"--port", com, "monitor", "--cycles", "1"},
         {}},
        {"send-basic, a damping above 32 s",
         0,
         0,
         {"--port", com, "--answer", "905=ok", "send-basic", slowDamping},
         QString::fromUtf8("[901] Введите значение от 0 до 32")},
        {"send-basic --validate, a control character in the tag",
         0,
         0,
         {"--port", com, "--answer", "905=ok", "send-basic", badTag, "--validate"},
         QString::fromUtf8("[902] Неверный символ \u0001")},
        {"print onto a full disk",
         0,
         0,
         {"print", config, "--pdf", pdf},
         "[-] Failed to write the report to \"" + pdf + "\": ",
         fullDisk},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host->withDevice([&](sim::Device& d) {
            d.faults().responseOverrides.clear();
            if (c.refusedCommand != 0) d.faults().responseOverrides[c.refusedCommand] = c.result;
        });
        host->clearRequests();
        const CliRun run = Cli(c.args, {}, c.inChild);
        const std::string output = run.lines.join('\n').toStdString();
        EXPECT_EQ(run.exitCode, 1) << output;
        EXPECT_TRUE(run.lines.filter(QString::fromUtf8("[900]")).isEmpty()) << output;
        if (!c.shown.isEmpty()) {
            EXPECT_TRUE(std::any_of(run.lines.begin(), run.lines.end(), [&](const QString& line) {
                return line.startsWith(c.shown);
            })) << output;
        }
        EXPECT_EQ(FileBytes(keep), keepBytes);
        EXPECT_FALSE(QFile::exists(fresh));
        EXPECT_EQ(FileBytes(pdf), pdfBytes);
        EXPECT_EQ(listing(), entries);
        // Nothing refused by the device: nothing written to it either.
        if (c.refusedCommand == 0) {
            EXPECT_TRUE(WritesSeen().empty());
        }
    }
}

// The trace goes to its file or to standard error, never among the [ID] lines; a trace
// that cannot be written stops the command before it talks to the transmitter.
TEST_F(CliTest, TraceGoesToItsFileOrStandardErrorAndNeverToTheReport)
{
    const CliRun plain = Cli({"--port", com, "read"});
    const QString tracePath = files.filePath("read.trace");
    const CliRun traced = Cli({"--port", com, "read", "--trace", tracePath});
    EXPECT_EQ(traced.exitCode, 0) << traced.errors.toStdString();
    EXPECT_EQ(traced.lines, plain.lines);
    QFile trace(tracePath);
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    const QStringList traceLines =
        QString::fromUtf8(trace.readAll()).split('\n', Qt::SkipEmptyParts);
    const auto requests =
        std::count_if(traceLines.begin(), traceLines.end(),
                      [](const QString& line) { return line.mid(13, 2) == "> "; });
    EXPECT_EQ(requests, static_cast<long>(host->requests().size()) / 2);

    host->clearRequests();
    const CliRun toStandardError = Cli({"--port", com, "check", "--trace", "-"});
    EXPECT_EQ(toStandardError.exitCode, 0);
    EXPECT_EQ(toStandardError.lines,
              QStringList{QString::fromUtf8("[935] Датчик Тарвел-4410 найден")});
    EXPECT_TRUE(toStandardError.errors.contains(" > 02 00 F9 00 FB  249 "))
        << toStandardError.errors.toStdString();

    host->clearRequests();
    const CliRun unwritable =
        Cli({"--port", com, "check", "--trace", files.filePath("missing/folder/t.trace")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(host->commands().empty());
}
