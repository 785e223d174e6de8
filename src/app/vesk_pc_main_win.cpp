#include "app/vesk_pc_main_win.h"

#include <cstdlib>

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMimeData>

#include "app/main_menu.h"
#include "app/vesk_view.h"
#include "diagnostics/compare_dialog.h"
#include "diagnostics/trace_log.h"
#include "diagnostics/trace_window.h"
#include "diagnostics/trend_window.h"
#include "document/display_text.h"
#include "document/framework_messages.h"
#include "document/question_box.h"
#include "document/update_hint.h"
#include "document/vesk_doc.h"
#include "pages/info_property_page.h"
#include "resources/string_ids/app.h"
#include "resources/string_ids/diagnostics.h"

namespace {

// String 101: the main window title is its first field, the file filter its fourth.
QString TemplateField(int index) { return document::LoadedText(101).split('\n').value(index); }

const QString kUntitled = QStringLiteral("Untitled");
const QString kAllFilesFilter = QStringLiteral("All Files (*)");
const QString kDefaultSuffix = QStringLiteral("4410");
using document::Cancel;
using tarvel::kQuestionSaveIncompleteRead;
using tarvel::kTraceCannotSave;
using tarvel::kTraceFileNotOpened;

}  // namespace

CVeskPcMainWin::CVeskPcMainWin(document::CVeskDoc& doc, QWidget* parent)
    : QMainWindow(parent), m_doc(doc),
      m_traceLog(std::make_unique<diagnostics::TraceLog>(doc.sleeper().now()))
{
    // The trace runs for the whole session, so the window shows what came before it opened.
    if (const char* file = std::getenv(diagnostics::kTraceFileVariable); file && *file) {
        std::string error;
        if (!m_traceLog->writeAlsoTo(file, error))
            m_doc.ui().notify(
                kTraceFileNotOpened,
                (document::LoadedText(kTraceFileNotOpened) + QString::fromLocal8Bit(error.c_str()))
                    .toStdString(),
                hart::MessageIcon::Error);
    }
    connect(m_traceLog.get(), &diagnostics::TraceLog::fileFailed, this,
            [this](const QString& path, const QString& reason) {
                m_doc.ui().notify(
                    kTraceCannotSave,
                    (document::LoadedText(kTraceCannotSave) + path + QStringLiteral(": ") + reason)
                        .toStdString(),
                    hart::MessageIcon::Error);
            });
    m_doc.transmitter().attachTrace(m_traceLog.get());

    m_view = new CVeskView(m_doc, this);
    setCentralWidget(m_view);
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    setAcceptDrops(true);
    m_recent.Load();
    BuildMenu();

    connect(m_view, &CVeskView::openFromFileRequested, this, &CVeskPcMainWin::OnFileOpen);
    connect(&m_doc, &document::CVeskDoc::updateViews, this, &CVeskPcMainWin::OnDocumentHint);
    connect(&m_doc.commands(), &document::CommandWorker::runningChanged, this,
            &CVeskPcMainWin::UpdateCommandEnabling);

    chooseFileToOpen = [this] {
        return QFileDialog::getOpenFileName(this, QString(), QString(),
                                            TemplateField(3) + ";;" + kAllFilesFilter);
    };
    chooseFileToSave = [this](const QString& proposed) {
        QFileDialog dialog(this, QString(), QString(), TemplateField(3) + ";;" + kAllFilesFilter);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        // The dialog adds the extension itself, so its question before replacing a file is
        // about the name that is written. Qt's own dialog does this; desktop dialogs add
        // the extension only after their question.
        dialog.setDefaultSuffix(kDefaultSuffix);
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.selectFile(proposed);
        return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
    };
    UpdateTitle();
    UpdateSaveEnabling();
}

CVeskPcMainWin::~CVeskPcMainWin()
{
    m_recent.Save();
    // No cycle may record into the log once it is gone.
    if (auto* info = qobject_cast<CInfoPropertyPage*>(m_view->page(CVeskView::kTabInformation)))
        info->StopMonitoring();
    m_doc.transmitter().attachTrace(nullptr);
}

void CVeskPcMainWin::ShowTraceWindow()
{
    if (m_traceWindow == nullptr)
        m_traceWindow = new diagnostics::TraceWindow(*m_traceLog, m_doc.ui(), this);
    m_traceWindow->show();
    m_traceWindow->raise();
    m_traceWindow->activateWindow();
}

QAction* CVeskPcMainWin::action(int commandId) const
{
    const auto it = m_actions.find(commandId);
    return it == m_actions.end() ? nullptr : it->second;
}

void CVeskPcMainWin::BuildMenu()
{
    const std::map<int, std::function<void()>> handlers = {
        {kCmdFileNew, [this] { OnFileNew(); }},
        {kCmdFileOpen, [this] { OnFileOpen(); }},
        {kCmdFileSave, [this] { OnFileSave(); }},
        {kCmdFileSaveAs, [this] { OnFileSaveAs(); }},
        {kCmdAppExit, [this] { close(); }},
        {kCmdReadFromDevice,
         [this] { m_doc.commands().Run([this] { m_doc.OnReadFromDevice(); }, Cancel::Allowed); }},
        {kCmdSendBasic,
         [this] { m_doc.commands().Run([this] { m_doc.OnSendBasic(); }, Cancel::NotAllowed); }},
        {kCmdSendAdvanced,
         [this] { m_doc.commands().Run([this] { m_doc.OnSendAdvanced(); }, Cancel::NotAllowed); }},
        {kCmdPortSettings,
         [this] { m_doc.OnPortSettings(runPortDialog ? runPortDialog() : std::nullopt); }},
        {kCmdCheckConnection,
         [this] { m_doc.commands().Run([this] { m_doc.OnCheckConnection(); }, Cancel::Allowed); }},
        {kCmdScanLine,
         [this] {
             if (runScanDialog) runScanDialog();
         }},
        {kCmdCompareWithDevice,
         [this] {
             const QString path = chooseFileToOpen ? chooseFileToOpen() : QString();
             if (!path.isEmpty()) diagnostics::CompareFileWithDevice(m_doc, path, this);
         }},
        {kCmdTrend, [this] { diagnostics::ShowTrendWindow(m_doc, this); }},
        {kCmdAbout, [this] { emit aboutRequested(); }},
        {kCmdFrameTrace, [this] { ShowTraceWindow(); }},
    };
    for (const MenuDefinition& menuDefinition : MainMenu()) {
        QMenu* menu = menuBar()->addMenu(menuDefinition.caption);
        for (const MenuItem& item : menuDefinition.items) {
            if (item.command == kSeparator) {
                menu->addSeparator();
                continue;
            }
            if (item.command == kCmdRecentFiles) {
                m_recentMenu = menu->addMenu(item.caption);
                UpdateRecentMenu();
                continue;
            }
            QAction* action = menu->addAction(item.caption);
            if (!item.shortcut.isEmpty()) action->setShortcut(QKeySequence(item.shortcut));
            action->setData(item.command);
            m_actions[item.command] = action;
            if (const auto handler = handlers.find(item.command); handler != handlers.end())
                connect(action, &QAction::triggered, this, handler->second);
        }
    }
}

void CVeskPcMainWin::UpdateRecentMenu()
{
    if (m_recentMenu == nullptr) return;
    m_recentMenu->clear();
    for (int i = 0; i < m_recent.files().size(); ++i) {
        const QString path = m_recent.files()[i];
        QAction* entry = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path));
        connect(entry, &QAction::triggered, this, [this, path] {
            if (!MayReplaceDocument() || !SaveModified()) return;
            if (!QFileInfo::exists(path)) {
                m_doc.ui().notify(document::kNoStringId,
                                  "Cannot open file " + path.toStdString() + ".",
                                  hart::MessageIcon::Exclamation);
                m_recent.Remove(path);
                UpdateRecentMenu();
                return;
            }
            OpenDocumentFile(path);
        });
    }
    m_recentMenu->setEnabled(MayReplaceDocument() && !m_recent.files().isEmpty());
}

bool CVeskPcMainWin::MayReplaceDocument() const
{
    const QAction* fileNew = action(kCmdFileNew);
    return fileNew == nullptr || fileNew->isEnabled();
}

QString CVeskPcMainWin::DocumentTitle() const
{
    return m_doc.GetPathName().isEmpty() ? kUntitled : QFileInfo(m_doc.GetPathName()).fileName();
}

void CVeskPcMainWin::UpdateTitle() { setWindowTitle(DocumentTitle() + " - " + TemplateField(0)); }

void CVeskPcMainWin::UpdateSaveEnabling()
{
    // A save during a command would read the values the command is writing.
    const bool enabled = m_doc.CanSave() && !m_doc.commands().running();
    if (QAction* save = action(kCmdFileSave)) save->setEnabled(enabled);
    if (QAction* saveAs = action(kCmdFileSaveAs)) saveAs->setEnabled(enabled);
}

void CVeskPcMainWin::OnDocumentHint(int hint)
{
    UpdateTitle();
    UpdateSaveEnabling();
    if (hint == document::HINT_DISABLE_MAIN || hint == document::HINT_ENABLE_MAIN) {
        m_mainControlsEnabled = hint == document::HINT_ENABLE_MAIN;
        UpdateCommandEnabling();
    }
}

void CVeskPcMainWin::UpdateCommandEnabling()
{
    // While monitoring, a calibration or a device command runs, the device commands stay out
    // of its way; New and Open would clear the values it is writing.
    const bool enable = m_mainControlsEnabled && !m_doc.commands().running();
    for (int command :
         {kCmdReadFromDevice, kCmdSendBasic, kCmdSendAdvanced, kCmdPortSettings,
          kCmdCheckConnection, kCmdScanLine, kCmdCompareWithDevice, kCmdFileNew, kCmdFileOpen})
        if (QAction* device = action(command)) device->setEnabled(enable);
    UpdateRecentMenu();
    UpdateSaveEnabling();
}

bool CVeskPcMainWin::SaveModified()
{
    if (!m_doc.IsModified()) return true;
    const std::string question = "Save changes to " + DocumentTitle().toStdString() + "?";
    switch (m_doc.ui().ask(document::kNoStringId, question,
                           document::MB_YESNOCANCEL | document::MB_ICONWARNING)) {
    case document::IDYES: return OnFileSave();
    case document::IDNO: return true;
    default: return false;
    }
}

bool CVeskPcMainWin::OnFileNew()
{
    if (!MayReplaceDocument() || !SaveModified()) return false;
    m_doc.OnNewDocument();
    UpdateTitle();
    UpdateSaveEnabling();
    return true;
}

bool CVeskPcMainWin::OnFileOpen()
{
    if (!OnFileNew()) return false;
    const QString path = chooseFileToOpen ? chooseFileToOpen() : QString();
    if (path.isEmpty()) return false;
    return OpenDocumentFile(path);
}

bool CVeskPcMainWin::OpenDocumentFile(const QString& path)
{
    const bool opened = m_doc.OnOpenDocument(path);
    if (opened) {
        m_recent.Add(path);
        UpdateRecentMenu();
    }
    UpdateTitle();
    UpdateSaveEnabling();
    return opened;
}

bool CVeskPcMainWin::MaySaveAfterTheRead() const
{
    if (!m_doc.LastReadIncomplete()) return true;
    const int style = document::MB_YESNO | document::MB_ICONWARNING | document::MB_DEFBUTTON2;
    return m_doc.ui().ask(kQuestionSaveIncompleteRead,
                          document::LoadedText(kQuestionSaveIncompleteRead).toStdString(),
                          style) == document::IDYES;
}

bool CVeskPcMainWin::OnFileSave()
{
    if (m_doc.GetPathName().isEmpty()) return OnFileSaveAs();
    if (!MaySaveAfterTheRead()) return false;
    const bool saved = m_doc.OnSaveDocument(m_doc.GetPathName());
    UpdateTitle();
    UpdateSaveEnabling();
    return saved;
}

bool CVeskPcMainWin::OnFileSaveAs()
{
    if (!MaySaveAfterTheRead()) return false;
    // The document title, in the document's folder when it has one.
    const QString proposed = m_doc.GetPathName().isEmpty() ? DocumentTitle() : m_doc.GetPathName();
    const QString path = chooseFileToSave ? chooseFileToSave(proposed) : QString();
    if (path.isEmpty()) return false;
    const bool saved = m_doc.OnSaveDocument(path);
    if (saved) {
        m_recent.Add(path);
        UpdateRecentMenu();
    }
    UpdateTitle();
    UpdateSaveEnabling();
    return saved;
}

void CVeskPcMainWin::closeEvent(QCloseEvent* event)
{
    // A running command ends first: a read is cancelled, a send or a calibration step is
    // waited for; its messages still show meanwhile.
    m_doc.commands().RequestCancel();
    m_doc.commands().WaitForEnd();
    if (!SaveModified()) {
        event->ignore();
        return;
    }
    // Monitoring ends while the whole window still stands: a running cycle may still need
    // it to show a message.
    if (auto* info = qobject_cast<CInfoPropertyPage*>(m_view->page(CVeskView::kTabInformation)))
        info->StopMonitoring();
    event->accept();
}

void CVeskPcMainWin::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls() && MayReplaceDocument()) event->acceptProposedAction();
}

void CVeskPcMainWin::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile() || !MayReplaceDocument()) return;
    event->acceptProposedAction();
    if (OnFileNew()) OpenDocumentFile(urls.first().toLocalFile());
}
