// The scan dialog over the real scan of a simulated multidrop line: what it lists, which
// device it lets the user choose, and that "Остановить" ends the scan.
#include <QCheckBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "app/line_scan_dialog.h"
#include "controls/dialog_units.h"
#include "document/device_scan.h"
#include "document/vesk_doc.h"
#include "simulator/multidrop_setup.h"
#include "simulator/simulator_host.h"
#include "support/gui_wait.h"
#include "support/pty_port.h"
#include "support/scripted_user.h"

namespace {

constexpr int kTable = 2602;
constexpr int kProgress = 2613;
constexpr int kUse = 2615;
constexpr int kStore = 2616;
constexpr int kStop = 2619;
constexpr int kStatus = 2621;

class LineScanDialogTest : public testing::Test {
protected:
    LineScanDialogTest()
    {
        setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
        auto setups = sim::MultidropSetups({}, 3);
        setups[2].state.identity.manufacturerCode = 38;  // another maker's device at 3
        host = std::make_unique<sim::SimulatorHost>(setups);
        const auto endpoint = host->start();
        if (!endpoint) throw std::runtime_error(host->error());
        ports.setPortNumber(endpoint->comNumber);
    }

    CLineScanDialog::ScanFunction Scan()
    {
        return [this](const transmitter::ScanControl& control) {
            return document::ScanDeviceLine(doc, control);
        };
    }

    static QStringList Column(QTableWidget* table, int column)
    {
        QStringList cells;
        for (int row = 0; row < table->rowCount(); ++row) cells << table->item(row, column)->text();
        return cells;
    }

    TempPortMapDir portMap;
    QTemporaryDir config;
    std::unique_ptr<sim::SimulatorHost> host;
    ScriptedUser user;
    hart::RealSleeper sleeper;
    hart::FixedPortSettings ports{0};
    document::CVeskDoc doc{user, ports, sleeper};
};

TEST_F(LineScanDialogTest, ListsTheLineAndLetsATarvelBeChosen)
{
    CLineScanDialog dialog(Scan());
    dialog.show();
    ASSERT_TRUE(WaitUntil([&] { return !dialog.scanning() && host->requests().size() >= 16; },
                          std::chrono::seconds(20)));
    auto* table = FindControlAs<QTableWidget>(&dialog, kTable);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(Column(table, 0), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(Column(table, 4), (QStringList{"TT-1", "TT-2", "TT-3"}));
    EXPECT_EQ(FindControlAs<QProgressBar>(&dialog, kProgress)->value(), 16);
    EXPECT_EQ(FindControlAs<QLabel>(&dialog, kStatus)->text(),
              QString::fromUtf8("Найдено устройств: 3"));

    auto* use = FindControlAs<QPushButton>(&dialog, kUse);
    const struct {
        int row;
        bool usable;
    } choices[] = {{2, false}, {1, true}};
    for (const auto& choice : choices) {
        table->selectRow(choice.row);
        EXPECT_EQ(use->isEnabled(), choice.usable) << choice.row;
    }
    FindControlAs<QCheckBox>(&dialog, kStore)->setChecked(true);
    QTest::mouseClick(use, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.chosenAddress(), std::optional<int>(2));
    EXPECT_TRUE(dialog.storeAddress());
    EXPECT_TRUE(user.ids().empty());
}

TEST_F(LineScanDialogTest, StopEndsTheScanBeforeTheNextAddress)
{
    CLineScanDialog dialog(Scan());
    dialog.show();
    // Queued behind the scan's start: heard at its first report of progress.
    QTimer::singleShot(0, FindControlAs<QPushButton>(&dialog, kStop), &QPushButton::click);
    ASSERT_TRUE(WaitUntil([&] {
        return !dialog.scanning() && !FindControlAs<QLabel>(&dialog, kStatus)->text().isEmpty() &&
               FindControlAs<QLabel>(&dialog, kStatus)
                   ->text()
                   .startsWith(QString::fromUtf8("Поиск остановлен"));
    }));
    EXPECT_LT(host->requests().size(), 16u);
    EXPECT_EQ(FindControlAs<QTableWidget>(&dialog, kTable)->rowCount(), 0);
}

}  // namespace
