#pragma once

#include <functional>

#include <QWidget>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace hart {
class UserInteraction;
}

namespace diagnostics {

class TraceLog;

// "Журнал обмена": the session's frames and events in a table, the selected one decoded
// field by field below it. Non-modal; it only shows and saves what the log keeps.
class TraceWindow : public QWidget {
    Q_OBJECT

public:
    TraceWindow(TraceLog& log, hart::UserInteraction& ui, QWidget* parent = nullptr);

    // The file dialog for "Сохранить как текст…"; replaceable so tests need no dialog.
    std::function<QString()> chooseFileToSave;

    // Writes the kept events in the trace's text format, replacing the file only when the
    // whole text is written; false after telling the user why not.
    bool SaveAsText(const QString& path);

private:
    void ShowDetails();
    void FollowTheEnd();

    TraceLog& m_log;
    hart::UserInteraction& m_ui;
    QTableView* m_table = nullptr;
    QPlainTextEdit* m_details = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_clear = nullptr;
    QPushButton* m_pause = nullptr;
    QCheckBox* m_follow = nullptr;
};

}  // namespace diagnostics
