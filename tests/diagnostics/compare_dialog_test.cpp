// "Сравнить с устройством…": a chosen file against the transmitter, the open document kept.
#include <QAction>
#include <QApplication>
#include <QTableWidget>

#include "diagnostics/compare_dialog.h"
#include "diagnostics/diagnostics_fixture.h"
#include "diagnostics/trace_log.h"
#include "diagnostics/trace_model.h"
#include "support/gui_wait.h"

TEST_F(DiagnosticsTest, CompareShowsTheDifferingLinesAndKeepsTheOpenDocument)
{
    const QString plant = DeviceConfigurationFile("plant.4410");
    const QString open = DeviceConfigurationFile("open.4410");
    ASSERT_TRUE(window->OpenDocumentFile(open));
    doc.setDamping(5.0f);
    host->withDevice([](sim::Device& d) { d.state().config.tag = "TT-202"; });
    user.messages.clear();
    window->chooseFileToOpen = [&] { return plant; };
    const int traced = window->traceLog().model().rowCount();

    QAction* item = MenuItem(QString::fromUtf8("Сравнить с устройством…"));
    ASSERT_NE(item, nullptr);
    item->trigger();

    auto* dialog = window->findChild<diagnostics::CompareDialog*>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    const QTableWidget& table = *dialog->table();
    ASSERT_EQ(table.rowCount(), 1);
    EXPECT_EQ(table.item(0, 0)->text(), QString::fromUtf8("Тег датчика"));
    EXPECT_EQ(table.item(0, 1)->text(), QStringLiteral("TT-101  "));
    EXPECT_EQ(table.item(0, 2)->text(), QStringLiteral("TT-202  "));
    EXPECT_EQ(user.ids(), std::vector<int>{899});  // the read's own message
    // Its frames are in the session's trace, up to the read's last group (command 139).
    const diagnostics::TraceModel& trace = window->traceLog().model();
    ASSERT_TRUE(WaitUntil([&] { return trace.rowCount() > traced; }));
    bool lastGroupTraced = false;
    for (int i = traced; i < trace.rowCount(); ++i)
        lastGroupTraced = lastGroupTraced || trace.row(i).command.contains(QStringLiteral("139"));
    EXPECT_TRUE(lastGroupTraced);

    EXPECT_EQ(doc.GetPathName(), open);
    EXPECT_EQ(doc.damping(), 5.0f);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.tag()[5], u'1');
}
