#include "app/vesk_view.h"

#include <QApplication>
#include <QKeySequence>
#include <QProgressBar>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

#include "calibration/cal_prop_page.h"
#include "controls/dialog_units.h"
#include "controls/tool_tip_ctrl.h"
#include "document/display_text.h"
#include "document/update_hint.h"
#include "document/vesk_doc.h"
#include "pages/advanced_prop_page.h"
#include "pages/basic_prop_page.h"
#include "pages/info_property_page.h"
#include "resources/string_ids/app.h"

namespace {

using tarvel::kCancelCaption;
constexpr int kCancelButtonId = 1480;

// Tabs on which "Открыть из файла" may be used.
bool OpenAllowedOn(int tab)
{
    return tab == CVeskView::kTabBasic || tab == CVeskView::kTabAdvanced;
}

}  // namespace

CVeskView::CVeskView(document::CVeskDoc& doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    const DialogUnits units(font());
    setFixedSize(units.x(343), units.y(221));

    m_tabs = new QTabWidget(this);
    SetControlId(m_tabs, 121);
    units.place(m_tabs, 7, 15, 330, 155);

    m_openButton = new QPushButton(QString::fromUtf8("Открыть из файла"), this);
    SetControlId(m_openButton, 188);
    units.place(m_openButton, 170, 177, 71, 18);
    m_openButton->setToolTip(document::LoadedText(1200));

    m_readButton = new QPushButton(QString::fromUtf8("Загрузить из устройства"), this);
    SetControlId(m_readButton, 189);
    units.place(m_readButton, 245, 177, 91, 18);
    m_readButton->setToolTip(document::LoadedText(1201));

    m_progress = new QProgressBar(this);
    SetControlId(m_progress, 1239);
    units.place(m_progress, 6, 203, 279, 7);

    // Stops a read, a check or a compare; Esc does the same. It takes no focus, so a field
    // being edited keeps its text unstored until the command has ended.
    m_cancelButton = new QPushButton(document::LoadedText(kCancelCaption), this);
    SetControlId(m_cancelButton, kCancelButtonId);
    units.place(m_cancelButton, 289, 199, 46, 14);
    m_cancelButton->setFocusPolicy(Qt::NoFocus);
    m_cancelButton->setShortcut(QKeySequence(Qt::Key_Escape));
    m_cancelButton->setEnabled(false);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    // The view's own tips; each page has its own for its controls.
    new CToolTipCtrl(this);

    m_pages = {new CBasicPropPage, new CAdvancedPropPage, new CInfoPropertyPage, new CCalPropPage};
    const int captions[kTabCount] = {201, 202, 203, 205};
    for (int tab = 0; tab < kTabCount; ++tab) {
        m_pages[static_cast<std::size_t>(tab)]->SetDocument(&m_doc);
        m_tabs->addTab(m_pages[static_cast<std::size_t>(tab)], document::LoadedText(captions[tab]));
    }

    connect(m_tabs, &QTabWidget::currentChanged, this, &CVeskView::OnTabChanged);
    connect(m_openButton, &QPushButton::clicked, this, &CVeskView::openFromFileRequested);
    connect(m_readButton, &QPushButton::clicked, this, [this] {
        m_doc.commands().Run([this] { m_doc.OnReadFromDevice(); }, document::Cancel::Allowed);
    });
    connect(m_cancelButton, &QPushButton::clicked, &m_doc.commands(),
            &document::CommandWorker::RequestCancel);
    connect(&m_doc.commands(), &document::CommandWorker::runningChanged, this,
            &CVeskView::OnCommandRunning);
    connect(&m_doc, &document::CVeskDoc::updateViews, this, &CVeskView::OnUpdate);
    OnTabChanged(m_tabs->currentIndex());
}

int CVeskView::currentTab() const { return m_tabs->currentIndex(); }

std::vector<document::ReportLine> CVeskView::ReportLines() const
{
    std::vector<document::ReportLine> lines;
    for (const CConfigPage* shown : m_pages) {
        const std::vector<document::ReportLine> section = shown->PrintSection();
        lines.insert(lines.end(), section.begin(), section.end());
    }
    return lines;
}

void CVeskView::OnTabChanged(int) { UpdateButtonEnabling(); }

void CVeskView::OnCommandRunning(bool running)
{
    // The pages are out of use while a command reads or writes what they show; Qt keeps each
    // control's own enabling for when they come back, and the focus goes back where it was.
    if (running) {
        QWidget* focused = QApplication::focusWidget();
        m_focusBeforeCommand = m_tabs->isAncestorOf(focused) ? focused : nullptr;
    }
    m_tabs->setEnabled(!running);
    if (!running && m_focusBeforeCommand) m_focusBeforeCommand->setFocus(Qt::OtherFocusReason);
    m_cancelButton->setEnabled(running && m_doc.commands().cancellable());
    UpdateButtonEnabling();
}

void CVeskView::UpdateButtonEnabling()
{
    const bool idle = !m_doc.commands().running();
    m_readButton->setEnabled(m_mainControlsEnabled && idle);
    m_openButton->setEnabled(OpenAllowedOn(currentTab()) && m_pagesEnabled && idle);
}

void CVeskView::RefreshAllPages()
{
    m_progress->setValue(m_doc.progress());
    int firstFlagged = -1;
    for (int tab = 0; tab < kTabCount; ++tab)
        if (page(tab)->RefreshFromDocument() && firstFlagged < 0) firstFlagged = tab;
    if (firstFlagged >= 0) m_tabs->setCurrentIndex(firstFlagged);
}

void CVeskView::EnablePages(bool enable)
{
    // The order the pages are told in: Calibration, Information, Basic, Advanced.
    for (int tab : {kTabCalibration, kTabInformation, kTabBasic, kTabAdvanced})
        page(tab)->EnableDeviceControls(enable);
    m_pagesEnabled = enable;
    UpdateButtonEnabling();
}

void CVeskView::OnUpdate(int hint)
{
    switch (hint) {
    case document::HINT_SHOW_INFO:
        m_tabs->setCurrentIndex(kTabInformation);
        page(kTabInformation)->RefreshFromDocument();
        break;
    case document::HINT_STATE: break;
    case document::HINT_ENABLE_PAGES: EnablePages(true); break;
    case document::HINT_DISABLE_PAGES: EnablePages(false); break;
    case document::HINT_ENABLE_MAIN:
    case document::HINT_DISABLE_MAIN: {
        const bool enable = hint == document::HINT_ENABLE_MAIN;
        m_tabs->tabBar()->setEnabled(enable);
        m_mainControlsEnabled = enable;
        UpdateButtonEnabling();
        break;
    }
    default: RefreshAllPages(); break;
    }
}
