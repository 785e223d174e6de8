#include "app/port_settings_dialog.h"

#include <utility>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include "controls/dialog_units.h"
#include "document/display_text.h"
#include "hart/link_environment.h"

namespace {

enum ControlId {
    kGroupId = 119,
    kPortLabelId = 179,
    kPortListId = 180,
    kAddressLabelId = 2618,
    kAddressId = 2623,
};

// The form's size in dialog units.
constexpr int kWidthDu = 180;
constexpr int kHeightDu = 102;

}  // namespace

CPortSettingsDialog::CPortSettingsDialog(int storedPort, document::PortLister lister,
                                         QWidget* parent)
    : QDialog(parent), m_lister(std::move(lister))
{
    CreateControls();
    m_choice = document::OpenPortChoice(storedPort, m_lister);
    ShowChoice();
    connect(m_ports, &QComboBox::currentIndexChanged, this, &CPortSettingsDialog::OnSelChangePort);
}

void CPortSettingsDialog::CreateControls()
{
    setWindowTitle(QString::fromUtf8("Установки порта"));
    const DialogUnits du(font());

    auto* group = new QGroupBox(QString::fromUtf8("Настройки порта"), this);
    SetControlId(group, kGroupId);
    du.place(group, 7, 7, 166, 64);

    auto* label = new QLabel(QString::fromUtf8("COM Порт"), this);
    SetControlId(label, kPortLabelId);
    du.place(label, 18, 28, 42, 8);

    m_ports = new QComboBox(this);
    m_ports->setEditable(false);
    SetControlId(m_ports, kPortListId);
    du.place(m_ports, 64, 25, 96, 13);
    label->setBuddy(m_ports);

    auto* addressLabel = new QLabel(document::LoadedText(kAddressLabelId), this);
    SetControlId(addressLabel, kAddressLabelId);
    du.place(addressLabel, 18, 46, 56, 8);

    m_address = new QSpinBox(this);
    m_address->setRange(0, hart::kHighestPollingAddress);
    SetControlId(m_address, kAddressId);
    du.place(m_address, 78, 43, 36, 13);
    addressLabel->setBuddy(m_address);

    m_ok = new QPushButton(QString::fromUtf8("Продолжить"), this);
    SetControlId(m_ok, kOkId);
    m_ok->setDefault(true);
    du.place(m_ok, 30, 80, 56, 14);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* cancel = new QPushButton(QString::fromUtf8("Отменить"), this);
    SetControlId(cancel, kCancelId);
    du.place(cancel, 94, 80, 56, 14);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(du.x(kWidthDu), du.y(kHeightDu));
}

void CPortSettingsDialog::setPollingAddress(int address) { m_address->setValue(address); }

int CPortSettingsDialog::pollingAddress() const { return m_address->value(); }

void CPortSettingsDialog::ShowChoice()
{
    const QSignalBlocker quiet(m_ports);
    m_ports->clear();
    m_ports->addItems(m_choice.entries);
    m_ports->setCurrentIndex(m_choice.selected);
    m_ok->setEnabled(m_choice.okEnabled);
}

// Every port is probed anew, so one freed meanwhile loses its busy mark.
void CPortSettingsDialog::OnSelChangePort(int index)
{
    document::SelectPort(m_choice, index, m_lister);
    ShowChoice();
}
