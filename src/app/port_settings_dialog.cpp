#include "app/port_settings_dialog.h"

#include <utility>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include "controls/dialog_units.h"
#include "document/display_text.h"
#include "hart/link_environment.h"
#include "resources/string_ids/app.h"

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
// The HART-IP group below the port's, and what it adds to the form's height.
constexpr int kHartIpTopDu = 75;
constexpr int kHartIpHeightDu = 62;

using tarvel::kHartIpGroupCaption;
using tarvel::kHartIpHostCaption;
using tarvel::kHartIpPortCaption;
using tarvel::kHartIpTcpCaption;
using tarvel::kUseHartIpCaption;

}  // namespace

CPortSettingsDialog::CPortSettingsDialog(int storedPort, document::PortLister lister,
                                         QWidget* parent)
    : QDialog(parent), m_lister(std::move(lister))
{
    CreateControls();
    CreateHartIpControls();
    m_choice = document::OpenPortChoice(storedPort, m_lister);
    ShowChoice();
    connect(m_ports, &QComboBox::currentIndexChanged, this, &CPortSettingsDialog::OnSelChangePort);
}

void CPortSettingsDialog::CreateHartIpControls()
{
    const DialogUnits du(font());
    auto* group = new QGroupBox(document::LoadedText(kHartIpGroupCaption), this);
    group->setObjectName(QStringLiteral("hartIpGroup"));
    du.place(group, 7, kHartIpTopDu, 166, 56);

    m_useHartIp = new QCheckBox(document::LoadedText(kUseHartIpCaption), this);
    m_useHartIp->setObjectName(QStringLiteral("useHartIp"));
    du.place(m_useHartIp, 18, kHartIpTopDu + 12, 146, 10);

    auto* hostLabel = new QLabel(document::LoadedText(kHartIpHostCaption), this);
    du.place(hostLabel, 18, kHartIpTopDu + 27, 42, 8);
    m_host = new QLineEdit(this);
    m_host->setObjectName(QStringLiteral("hartIpHost"));
    du.place(m_host, 64, kHartIpTopDu + 25, 96, 12);
    hostLabel->setBuddy(m_host);

    auto* portLabel = new QLabel(document::LoadedText(kHartIpPortCaption), this);
    du.place(portLabel, 18, kHartIpTopDu + 41, 42, 8);
    m_hartIpPort = new QSpinBox(this);
    m_hartIpPort->setObjectName(QStringLiteral("hartIpPort"));
    m_hartIpPort->setRange(1, 65535);
    m_hartIpPort->setValue(hart::HartIpEndpoint::kDefaultPort);
    du.place(m_hartIpPort, 64, kHartIpTopDu + 39, 40, 12);
    portLabel->setBuddy(m_hartIpPort);

    m_tcp = new QCheckBox(document::LoadedText(kHartIpTcpCaption), this);
    m_tcp->setObjectName(QStringLiteral("hartIpTcp"));
    du.place(m_tcp, 112, kHartIpTopDu + 40, 48, 10);

    // The buttons move below the group.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->move(button->x(), button->y() + du.y(kHartIpHeightDu));
    setFixedSize(du.x(kWidthDu), du.y(kHeightDu + kHartIpHeightDu));

    auto follow = [this] {
        for (QWidget* field : {static_cast<QWidget*>(m_host), static_cast<QWidget*>(m_hartIpPort),
                               static_cast<QWidget*>(m_tcp)})
            field->setEnabled(m_useHartIp->isChecked());
        m_ports->setEnabled(!m_useHartIp->isChecked());
        UpdateOk();
    };
    connect(m_useHartIp, &QCheckBox::toggled, this, follow);
    connect(m_host, &QLineEdit::textChanged, this, &CPortSettingsDialog::UpdateOk);
    follow();
}

void CPortSettingsDialog::setHartIpEndpoint(const std::optional<hart::HartIpEndpoint>& endpoint)
{
    if (endpoint) {
        m_host->setText(QString::fromStdString(endpoint->host));
        m_hartIpPort->setValue(endpoint->port);
        m_tcp->setChecked(endpoint->tcp);
    }
    m_useHartIp->setChecked(endpoint.has_value());
}

std::optional<hart::HartIpEndpoint> CPortSettingsDialog::hartIpEndpoint() const
{
    const QString host = m_host->text().trimmed();
    if (!m_useHartIp->isChecked() || host.isEmpty()) return std::nullopt;
    return hart::HartIpEndpoint{
        host.toStdString(), static_cast<std::uint16_t>(m_hartIpPort->value()), m_tcp->isChecked()};
}

void CPortSettingsDialog::UpdateOk()
{
    if (m_useHartIp == nullptr) return;
    m_ok->setEnabled(m_useHartIp->isChecked() ? !m_host->text().trimmed().isEmpty()
                                              : m_choice.okEnabled);
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
    UpdateOk();
}

// Every port is probed anew, so one freed meanwhile loses its busy mark.
void CPortSettingsDialog::OnSelChangePort(int index)
{
    document::SelectPort(m_choice, index, m_lister);
    ShowChoice();
}
