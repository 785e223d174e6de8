#pragma once

// The desktop program's main window on the simulated transmitter, for the windows its menu
// opens.

#include <memory>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app/vesk_pc_main_win.h"
#include "support/simulated_transmitter.h"

class QAction;

class DiagnosticsTest : public testing::Test, protected SimulatedTransmitter<> {
protected:
    DiagnosticsTest();
    ~DiagnosticsTest() override;

    // The menu item under that caption (access key left out); null unless exactly one.
    QAction* MenuItem(const QString& caption) const;
    // A file holding the simulated transmitter's configuration, as "read" saves it.
    QString DeviceConfigurationFile(const QString& name);

    QTemporaryDir config;
    QTemporaryDir files;
    std::unique_ptr<CVeskPcMainWin> window;
};
