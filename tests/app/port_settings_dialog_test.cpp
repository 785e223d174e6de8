// The port settings dialog over the port list rules: what it pre-selects, when it lets the
// user confirm, and that every selection probes the ports anew.
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include "app/port_settings_dialog.h"
#include "controls/dialog_units.h"

namespace {

// The serial ports of the machine as the test sets them; counts the listings.
struct FakePorts {
    std::vector<serial::PortInfo> ports;
    int listings = 0;

    document::PortLister lister()
    {
        return [this] {
            ++listings;
            return ports;
        };
    }
    void setBusy(int comNumber, bool busy)
    {
        for (serial::PortInfo& port : ports)
            if (port.comNumber == comNumber) port.busy = busy;
    }
};

serial::PortInfo Free(int n) { return {n, "/dev/null", false}; }
serial::PortInfo Busy(int n) { return {n, "/dev/null", true}; }

QString Busy(const char* entry) { return QString::fromUtf8(entry) + QString::fromUtf8(" (занят)"); }

class PortSettingsDialogTest : public testing::Test {
protected:
    QComboBox* list(QWidget& dialog) { return FindControlAs<QComboBox>(&dialog, 180); }
    QPushButton* ok(QWidget& dialog) { return FindControlAs<QPushButton>(&dialog, 1); }
    QStringList entries(QWidget& dialog)
    {
        QStringList out;
        for (int i = 0; i < list(dialog)->count(); ++i) out << list(dialog)->itemText(i);
        return out;
    }

    FakePorts ports;
};

TEST_F(PortSettingsDialogTest, FirstChoiceListsPortsAsTextAndTakesTheLast)
{
    ports.ports = {Free(1), Free(3), Free(10)};
    CPortSettingsDialog dialog(-1, ports.lister());
    EXPECT_EQ(entries(dialog), (QStringList{"COM1", "COM10", "COM3"}));
    EXPECT_EQ(list(dialog)->currentText(), "COM3");
    EXPECT_EQ(dialog.portNumber(), 3);
    EXPECT_TRUE(ok(dialog)->isEnabled());
    EXPECT_EQ(ports.listings, 1) << "pre-selecting counts as no user selection";
}

TEST_F(PortSettingsDialogTest, FirstChoiceOfABusyPortCannotBeConfirmed)
{
    ports.ports = {Free(1), Busy(3)};
    CPortSettingsDialog dialog(-1, ports.lister());
    EXPECT_EQ(list(dialog)->currentText(), Busy("COM3"));
    EXPECT_FALSE(ok(dialog)->isEnabled());
    EXPECT_EQ(dialog.portNumber(), -1);
}

TEST_F(PortSettingsDialogTest, StoredBusyPortIsPreselectedAndMayBeConfirmed)
{
    ports.ports = {Free(1), Busy(3), Free(4)};
    CPortSettingsDialog dialog(3, ports.lister());
    EXPECT_EQ(list(dialog)->currentText(), Busy("COM3"));
    EXPECT_TRUE(ok(dialog)->isEnabled());
    EXPECT_EQ(dialog.portNumber(), 3);
}

TEST_F(PortSettingsDialogTest, StoredPortGoneSelectsTheLastAndKeepsTheNumber)
{
    ports.ports = {Free(1), Free(3)};
    CPortSettingsDialog dialog(7, ports.lister());
    EXPECT_EQ(list(dialog)->currentText(), "COM3");
    EXPECT_EQ(dialog.portNumber(), 7);
    EXPECT_TRUE(ok(dialog)->isEnabled());
}

TEST_F(PortSettingsDialogTest, NoPortsLeavesNothingSelectedAndTheStoredNumber)
{
    CPortSettingsDialog firstTime(-1, ports.lister());
    EXPECT_EQ(list(firstTime)->count(), 0);
    EXPECT_EQ(list(firstTime)->currentIndex(), -1);
    EXPECT_TRUE(ok(firstTime)->isEnabled());
    EXPECT_EQ(firstTime.portNumber(), -1);

    CPortSettingsDialog stored(5, ports.lister());
    EXPECT_EQ(stored.portNumber(), 5);
}

TEST_F(PortSettingsDialogTest, SelectingABusyPortDisablesOkAndKeepsTheNumber)
{
    ports.ports = {Free(1), Busy(2), Free(3)};
    CPortSettingsDialog dialog(3, ports.lister());
    list(dialog)->setCurrentIndex(1);
    EXPECT_EQ(list(dialog)->currentText(), Busy("COM2"));
    EXPECT_FALSE(ok(dialog)->isEnabled());
    EXPECT_EQ(dialog.portNumber(), 3);

    list(dialog)->setCurrentIndex(0);
    EXPECT_TRUE(ok(dialog)->isEnabled());
    EXPECT_EQ(dialog.portNumber(), 1);
}

TEST_F(PortSettingsDialogTest, EverySelectionProbesThePortsAnew)
{
    ports.ports = {Free(1), Busy(3)};
    CPortSettingsDialog dialog(1, ports.lister());
    EXPECT_EQ(entries(dialog), (QStringList{"COM1", Busy("COM3")}));

    ports.setBusy(3, false);  // the other program let go of COM3
    ports.ports.push_back(Free(2));
    list(dialog)->setFocus();
    QTest::keyClick(list(dialog), Qt::Key_Down);  // the user moves to the next entry
    EXPECT_EQ(ports.listings, 2);
    EXPECT_EQ(entries(dialog), (QStringList{"COM1", "COM2", "COM3"}));
    EXPECT_EQ(list(dialog)->currentIndex(), 1) << "the remembered index is selected again";
    EXPECT_EQ(dialog.portNumber(), 2);
    EXPECT_TRUE(ok(dialog)->isEnabled());

    ports.setBusy(2, true);
    QTest::keyClick(list(dialog), Qt::Key_Down);
    EXPECT_EQ(ports.listings, 3);
    EXPECT_EQ(entries(dialog), (QStringList{"COM1", Busy("COM2"), "COM3"}));
    EXPECT_EQ(list(dialog)->currentText(), "COM3");
    EXPECT_EQ(dialog.portNumber(), 3);
}

TEST_F(PortSettingsDialogTest, ContinueAcceptsAndCancelRejects)
{
    ports.ports = {Free(1), Free(3)};
    {
        CPortSettingsDialog dialog(-1, ports.lister());
        dialog.show();
        QTest::mouseClick(ok(dialog), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.portNumber(), 3);
    }
    {
        CPortSettingsDialog dialog(-1, ports.lister());
        dialog.show();
        QTest::mouseClick(FindControlAs<QPushButton>(&dialog, 2), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
    }
}

TEST_F(PortSettingsDialogTest, FormTextsAndIdsAndNothingClipped)
{
    ports.ports = {Busy(255)};
    CPortSettingsDialog dialog(-1, ports.lister());
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Установки порта"));
    EXPECT_FALSE(list(dialog)->isEditable());

    auto* group = FindControlAs<QGroupBox>(&dialog, 119);
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), QString::fromUtf8("Настройки порта"));
    EXPECT_GE(group->width(), group->minimumSizeHint().width());

    auto* label = FindControlAs<QLabel>(&dialog, 179);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QString::fromUtf8("COM Порт"));
    EXPECT_GE(label->width(), label->sizeHint().width());
    EXPECT_LE(label->geometry().right(), list(dialog)->geometry().left())
        << "label runs into the list";

    EXPECT_GE(list(dialog)->width(), list(dialog)->sizeHint().width())
        << "the longest entry is cut";

    const struct {
        int id;
        const char* text;
    } buttons[] = {{1, "Продолжить"}, {2, "Отменить"}};
    for (const auto& b : buttons) {
        auto* button = FindControlAs<QPushButton>(&dialog, b.id);
        ASSERT_NE(button, nullptr) << b.id;
        EXPECT_EQ(button->text(), QString::fromUtf8(b.text));
        EXPECT_GE(button->width(), button->sizeHint().width()) << b.text;
    }
    for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(dialog.rect().contains(child->geometry())) << ControlId(child);
}

TEST_F(PortSettingsDialogTest, HartIpEndpointReplacesThePortWhenChosen)
{
    ports.ports = {Busy(3)};
    CPortSettingsDialog dialog(-1, ports.lister());
    auto* use = dialog.findChild<QCheckBox*>("useHartIp");
    auto* host = dialog.findChild<QLineEdit*>("hartIpHost");
    auto* port = dialog.findChild<QSpinBox*>("hartIpPort");
    ASSERT_TRUE(use && host && port);
    EXPECT_FALSE(host->isEnabled());
    EXPECT_EQ(port->value(), 5094);

    QTest::mouseClick(use, Qt::LeftButton, {}, QPoint(4, use->height() / 2));
    EXPECT_FALSE(list(dialog)->isEnabled());
    EXPECT_TRUE(FindControlAs<QSpinBox>(&dialog, 2623)->isEnabled())
        << "the polling address also reaches a device behind the server";
    EXPECT_FALSE(ok(dialog)->isEnabled()) << "no host given";
    QTest::keyClicks(host, "gw.plant");
    EXPECT_TRUE(ok(dialog)->isEnabled()) << "the busy COM port no longer matters";
    EXPECT_EQ(dialog.hartIpEndpoint(), (hart::HartIpEndpoint{"gw.plant", 5094, false}));

    QTest::mouseClick(use, Qt::LeftButton, {}, QPoint(4, use->height() / 2));
    EXPECT_EQ(dialog.hartIpEndpoint(), std::nullopt);
    EXPECT_FALSE(ok(dialog)->isEnabled()) << "back to the busy COM port";

    CPortSettingsDialog stored(-1, ports.lister());
    stored.setHartIpEndpoint(hart::HartIpEndpoint{"10.0.0.7", 20004, true});
    EXPECT_EQ(stored.hartIpEndpoint(), (hart::HartIpEndpoint{"10.0.0.7", 20004, true}));
    EXPECT_TRUE(stored.findChild<QLineEdit*>("hartIpHost")->isEnabled());
}

// The polling address: shown as stored, 0 to 15 only, labelled, and read back after Continue.
TEST_F(PortSettingsDialogTest, PollingAddressIsShownLimitedAndReadBack)
{
    ports.ports = {Free(1)};
    CPortSettingsDialog dialog(1, ports.lister());
    dialog.setPollingAddress(4);
    dialog.show();
    auto* address = FindControlAs<QSpinBox>(&dialog, 2623);
    ASSERT_NE(address, nullptr);
    EXPECT_EQ(address->value(), 4);
    EXPECT_EQ(address->minimum(), 0);
    EXPECT_EQ(address->maximum(), 15);
    auto* label = FindControlAs<QLabel>(&dialog, 2618);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QString::fromUtf8("Адрес опроса"));
    EXPECT_GE(label->width(), label->sizeHint().width());
    EXPECT_EQ(label->buddy(), address);

    address->selectAll();
    QTest::keyClicks(address, "16");
    EXPECT_EQ(address->value(), 1);  // "16" is not a value it takes; the 1 stays
    address->selectAll();
    QTest::keyClicks(address, "12");
    QTest::mouseClick(ok(dialog), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.pollingAddress(), 12);
    for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        EXPECT_TRUE(dialog.rect().contains(child->geometry())) << ControlId(child);
}

}  // namespace
