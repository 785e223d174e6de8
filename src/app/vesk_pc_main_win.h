#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>

#include <QMainWindow>

#include "app/recent_files.h"

class QAction;
class QMenu;
class CVeskView;

namespace document {
class CVeskDoc;
}
namespace diagnostics {
class TraceLog;
class TraceWindow;
}  // namespace diagnostics

// The main window: the menu, the title, the recent-file list and the framework's
// new/open/save steps around the one document. Not resizable: its size is the form's.
class CVeskPcMainWin : public QMainWindow {
    Q_OBJECT

public:
    CVeskPcMainWin(document::CVeskDoc& doc, QWidget* parent = nullptr);
    ~CVeskPcMainWin() override;

    CVeskView* view() const { return m_view; }

    // The framework's document steps; false when the user cancelled or loading failed.
    bool OnFileNew();
    bool OnFileOpen();
    bool OpenDocumentFile(const QString& path);
    bool OnFileSave();
    bool OnFileSaveAs();
    // Asks to save a modified document: false when the user cancelled.
    bool SaveModified();

    // The port dialog runner; replaceable so tests need no dialog.
    std::function<std::optional<int>()> runPortDialog;
    // The scan of the line for its devices, with its dialog; replaceable for the same reason.
    std::function<void()> runScanDialog;
    // The file dialogs; replaceable for the same reason.
    std::function<QString()> chooseFileToOpen;
    std::function<QString(const QString& proposed)> chooseFileToSave;

    QAction* action(int commandId) const;
    // The session's frame trace and its window, made on the first "Журнал обмена…".
    diagnostics::TraceLog& traceLog() const { return *m_traceLog; }
    diagnostics::TraceWindow* traceWindow() const { return m_traceWindow; }

signals:
    void aboutRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenu();
    void UpdateTitle();
    void UpdateSaveEnabling();
    void UpdateRecentMenu();
    // New, Open, the recent-file list and dropped files replace the document: not while
    // monitoring or a calibration holds the main controls.
    bool MayReplaceDocument() const;
    void OnDocumentHint(int hint);
    void UpdateCommandEnabling();
    void ShowTraceWindow();
    QString DocumentTitle() const;
    // After a read that left groups unread, asks before their empty values replace a file's.
    bool MaySaveAfterTheRead() const;

    document::CVeskDoc& m_doc;
    CVeskView* m_view;
    RecentFiles m_recent;
    QMenu* m_recentMenu = nullptr;
    std::map<int, QAction*> m_actions;
    std::unique_ptr<diagnostics::TraceLog> m_traceLog;
    diagnostics::TraceWindow* m_traceWindow = nullptr;
    bool m_mainControlsEnabled = true;
};
