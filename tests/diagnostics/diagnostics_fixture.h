#pragma once

// The desktop program's main window on the simulated transmitter, for the windows its menu
// opens.

#include <memory>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/vesk_pc_main_win.h"
#include "document/vesk_doc.h"
#include "simulator/simulator_host.h"
#include "support/pty_port.h"
#include "support/scripted_user.h"

class QAction;

class DiagnosticsTest : public testing::Test {
protected:
    DiagnosticsTest();
    ~DiagnosticsTest() override;

    // The menu item under that caption (access key left out); null unless exactly one.
    QAction* MenuItem(const QString& caption) const;
    // A file holding the simulated transmitter's configuration, as "read" saves it.
    QString DeviceConfigurationFile(const QString& name);

    TempPortMapDir portMap;
    QTemporaryDir config;
    QTemporaryDir files;
    std::unique_ptr<sim::SimulatorHost> host;
    ScriptedUser user;
    hart::RealSleeper sleeper;
    hart::FixedPortSettings ports{0};
    document::CVeskDoc doc{user, ports, sleeper};
    std::unique_ptr<CVeskPcMainWin> window;
};
