#include "pages/info_property_page.h"

#include <chrono>

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "controls/color_edit.h"
#include "controls/dialog_units.h"
#include "controls/tool_tip_ctrl.h"
#include "controls/transparent_image.h"
#include "document/display_text.h"
#include "document/gui_thread_call.h"
#include "document/information_texts.h"
#include "document/live_monitor.h"
#include "document/vesk_doc.h"
#include "pages/page_controls.h"
#include "resources/string_ids.h"

// The lamp bitmaps live in this library's resources, which a static library must register.
static void RegisterLampBitmaps()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(info_page_bitmaps);
        return true;
    }();
    (void)registered;
}

namespace {

constexpr std::chrono::milliseconds kRefreshRetry{20};

using document::LiveMonitor;

// Template 107 is two dialog units lower than the other pages.
constexpr int kFormHeight = 132;

const QString kGreyLampBitmap = QStringLiteral(":/bitmaps/lamp_grey.xpm");  // bitmap 197
const QString kRedLampBitmap = QStringLiteral(":/bitmaps/lamp_red.xpm");    // bitmap 198

// The report's last nine lines are this page's.
constexpr std::size_t kReportLineCount = 24;
constexpr std::size_t kInformationLineCount = 9;

QString StartCaption() { return QString::fromUtf8("Запустить мониторинг"); }
QString StopCaption() { return QString::fromUtf8("Остановить мониторинг"); }

struct Tooltip {
    int controlId;
    int stringId;
};
constexpr Tooltip kTooltips[] = {
    {159, 1226}, {160, 1227}, {162, 1228}, {165, 1229}, {166, 1230}, {168, 1231}, {169, 1231},
    {171, 1232}, {172, 1232}, {174, 1233}, {176, 1234}, {178, 1235}, {180, 1245}, {194, 1236},
};

CTransparentImage* Lamp(QWidget* page, const DialogUnits& units, int id, const QString& bitmap,
                        int x, int y)
{
    auto* lamp = new CTransparentImage(page);
    lamp->SetBitmap(QImage(bitmap));
    lamp->move(units.x(x), units.y(y));
    SetControlId(lamp, id);
    return lamp;
}

bool IsEnterKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

CInfoPropertyPage::CInfoPropertyPage(QWidget* parent) : CConfigPage(parent)
{
    RegisterLampBitmaps();
    CreateControls();
    AddTooltips();
    new CToolTipCtrl(this);
    m_sensorTempUnit->clear();
    m_xmtrTempUnit->clear();
    ShowLamps(false, false);
    // Enter acts as Space wherever the focus is on the page, so it presses the focused button.
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

CInfoPropertyPage::~CInfoPropertyPage()
{
    m_destroying = true;
    if (m_monitor) StopMonitoring();
    m_pDoc = nullptr;
}

void CInfoPropertyPage::CreateControls()
{
    const DialogUnits units(font());
    setFixedSize(units.x(pages::kPageFormWidth), units.y(kFormHeight));
    const pages::FormBuilder form(this, units);

    SetControlId(form.group(QString::fromUtf8("Статус устройства"), {6, 3, 310, 76}), 117);
    form.label(QString::fromUtf8("Измеряемая \nвеличина"), {14, 13, 88, 18});
    m_sensorTemp = form.colorEdit(159, {104, 15, 50, 13}, 1226);
    m_sensorTempUnit = form.label(QString(), {158, 17, 16, 9}, 160);
    form.label(QString::fromUtf8("Токовый выход"), {14, 36, 88, 9});
    m_loopCurrent = form.colorEdit(162, {104, 34, 50, 13}, 1228);
    m_loopCurrentUnit =
        form.label(document::LoadedText(tarvel::kMilliampereUnit), {158, 36, 16, 9});
    form.label(QString::fromUtf8("Температура устройства"), {14, 56, 88, 9});
    m_xmtrTemp = form.colorEdit(165, {104, 54, 50, 13}, 1229);
    m_xmtrTempUnit = form.label(QString(), {158, 56, 16, 9}, 166);

    m_sensorLampGrey = Lamp(this, units, 168, kGreyLampBitmap, 180, 14);
    m_sensorLampRed = Lamp(this, units, 169, kRedLampBitmap, 180, 14);
    form.label(QString::fromUtf8("Неисправность сенсора"), {196, 17, 114, 9});
    m_xmtrLampGrey = Lamp(this, units, 171, kGreyLampBitmap, 180, 32);
    m_xmtrLampRed = Lamp(this, units, 172, kRedLampBitmap, 180, 32);
    form.label(QString::fromUtf8("Неисправность электроники"), {196, 35, 114, 9});
    m_monitoringButton = form.button(194, StartCaption(), {180, 53, 128, 15});
    connect(m_monitoringButton, &QPushButton::clicked, this,
            &CInfoPropertyPage::OnMonitoringButton);

    SetControlId(form.group(QString::fromUtf8("Идентификация устройства"), {6, 83, 310, 46}), 118);
    form.label(QString::fromUtf8("Версия ПО"), {14, 96, 60, 9});
    m_softwareVersion = form.colorEdit(174, {76, 94, 54, 13}, 1233);
    form.label(QString::fromUtf8("Серийный номер"), {14, 112, 60, 9});
    m_serialNumber = form.colorEdit(178, {76, 110, 54, 13}, 1235);
    form.label(QString::fromUtf8("Версия аппаратной части"), {140, 96, 106, 9});
    m_hardwareVersion = form.colorEdit(176, {250, 94, 58, 13}, 1234);
    form.label(QString::fromUtf8("Дата изготовления"), {140, 112, 106, 9});
    m_manufacturingDate = form.colorEdit(180, {250, 110, 58, 13}, 1245);

    for (CMyColorEdit* edit : {m_sensorTemp, m_loopCurrent, m_xmtrTemp, m_softwareVersion,
                               m_hardwareVersion, m_serialNumber, m_manufacturingDate})
        edit->setReadOnly(true);
}

void CInfoPropertyPage::AddTooltips()
{
    for (const Tooltip& tip : kTooltips)
        if (QWidget* control = FindControl(this, tip.controlId))
            control->setToolTip(document::LoadedText(tip.stringId));
}

void CInfoPropertyPage::SetDocument(document::CVeskDoc* doc)
{
    if (doc != m_pDoc && m_monitor) StopMonitoring();
    CConfigPage::SetDocument(doc);
}

bool CInfoPropertyPage::RefreshFromDocument()
{
    if (m_pDoc == nullptr) return false;
    m_shown = document::PageValuesOf(*m_pDoc);
    const document::InformationTexts texts = document::InformationTextsOf(m_shown);
    m_sensorTemp->setText(texts.sensorTemp);
    m_sensorTempUnit->setText(texts.sensorTempUnit);
    m_loopCurrent->setText(texts.loopCurrent);
    m_xmtrTemp->setText(texts.xmtrTemp);
    m_xmtrTempUnit->setText(texts.xmtrTempUnit);
    m_softwareVersion->setText(texts.softwareVersion);
    m_hardwareVersion->setText(texts.hardwareVersion);
    m_serialNumber->setText(texts.serialNumber);
    m_manufacturingDate->setText(texts.manufacturingDate);
    ShowLamps(texts.sensorFaultLamp, texts.xmtrFaultLamp);
    return false;  // this page shows no value that a write could have refused
}

void CInfoPropertyPage::ShowLamps(bool sensorFault, bool xmtrFault)
{
    m_sensorLampGrey->setVisible(!sensorFault);
    m_sensorLampRed->setVisible(sensorFault);
    m_xmtrLampGrey->setVisible(!xmtrFault);
    m_xmtrLampRed->setVisible(xmtrFault);
}

void CInfoPropertyPage::EnableDeviceControls(bool enable)
{
    m_deviceControlsEnabled = enable;
    UpdateButtonEnabling();
}

void CInfoPropertyPage::UpdateButtonEnabling()
{
    m_monitoringButton->setEnabled(m_deviceControlsEnabled && !m_stopping);
}

std::vector<document::ReportLine> CInfoPropertyPage::PrintSection() const
{
    // The controls show exactly the texts of the values last shown.
    const std::vector<document::ReportLine> all = document::ReportLines(m_shown);
    if (all.size() != kReportLineCount) return {};
    return {all.end() - kInformationLineCount, all.end()};
}

bool CInfoPropertyPage::eventFilter(QObject* watched, QEvent* event)
{
    if (IsEnterKey(event)) {
        const auto* enter = static_cast<QKeyEvent*>(event);
        QKeyEvent space(enter->type(), Qt::Key_Space, enter->modifiers() & ~Qt::KeypadModifier,
                        QStringLiteral(" "), enter->isAutoRepeat(), enter->count());
        QCoreApplication::sendEvent(watched, &space);
        return true;
    }
    return CConfigPage::eventFilter(watched, event);
}

bool CInfoPropertyPage::isMonitoring() const { return m_monitor != nullptr; }

void CInfoPropertyPage::OnMonitoringButton()
{
    if (m_pDoc == nullptr || m_stopping) return;
    if (!isMonitoring()) {
        StartMonitoring();
        return;
    }
    StopMonitoring();
    // The stop gives the tabs back, and the focus goes to them: left on this button, a
    // second Enter would start monitoring again straight away.
    for (QWidget* above = parentWidget(); above != nullptr; above = above->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(above)) {
            tabs->setFocus(Qt::OtherFocusReason);
            return;
        }
    m_monitoringButton->clearFocus();
}

void CInfoPropertyPage::StartMonitoring()
{
    // The worker only asks for the refresh; the GUI thread runs it when it gets to it.
    m_monitor = std::make_unique<LiveMonitor>(
        *m_pDoc, [this] { QueueToThreadOf(this, [this] { OnCycleDone(); }); });
    // The search for the transmitter is a device command of its own.
    if (!document::RunCommand(m_pDoc->commands(), document::Cancel::Allowed, [this] {
             return m_monitor->Start();
         }).value_or(false)) {
        m_monitor.reset();
        return;
    }
    m_monitoringButton->setText(StopCaption());
}

void CInfoPropertyPage::StopMonitoring()
{
    if (!m_monitor || m_stopping) return;
    m_monitoringButton->setText(StartCaption());
    m_stopping = true;
    UpdateButtonEnabling();
    m_monitor->RequestStop();
    WaitForWorkerEnd();
    // While the page is being destroyed the views are going away as well: nothing to tell.
    m_monitor->Join(m_destroying ? LiveMonitor::EndNotice::None
                                 : LiveMonitor::EndNotice::EnableMainControls);
    m_monitor.reset();
    m_stopping = false;
    UpdateButtonEnabling();
}

void CInfoPropertyPage::WaitForWorkerEnd()
{
    document::ServeEventsUntil([this] { return m_monitor->finished(); });
}

void CInfoPropertyPage::OnCycleDone()
{
    if (m_destroying || m_pDoc == nullptr) return;
    // The refresh reads what the worker writes: only while no cycle runs. Waiting here could
    // deadlock with a worker that waits for this thread to show a message, so a busy lock
    // means trying again shortly; the refresh is never lost.
    const auto lock = m_pDoc->transmitter().tryLockTransactions();
    if (!lock.owns_lock()) {
        QTimer::singleShot(kRefreshRetry, this, [this] { OnCycleDone(); });
        return;
    }
    m_pDoc->OnRefreshLiveValues();
}
