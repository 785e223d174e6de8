#pragma once

#include <array>
#include <vector>

#include <QPointer>
#include <QWidget>

#include "document/report_lines.h"

class QProgressBar;
class QPushButton;
class QTabWidget;
class CConfigPage;

namespace document {
class CVeskDoc;
}

// The main form: the tab control with the four pages, "Открыть из файла", "Загрузить из
// устройства", the progress bar and the button that cancels a device command. It turns the
// document's update hints into page refreshes, progress and enabling.
class CVeskView : public QWidget {
    Q_OBJECT

public:
    static constexpr int kTabBasic = 0;
    static constexpr int kTabAdvanced = 1;
    static constexpr int kTabInformation = 2;
    static constexpr int kTabCalibration = 3;
    static constexpr int kTabCount = 4;

    CVeskView(document::CVeskDoc& doc, QWidget* parent = nullptr);

    void OnUpdate(int hint);
    CConfigPage* page(int tab) const { return m_pages[static_cast<std::size_t>(tab)]; }
    int currentTab() const;
    QTabWidget* tabs() const { return m_tabs; }
    // The configuration report as the pages show it now: their sections in tab order.
    std::vector<document::ReportLine> ReportLines() const;

signals:
    void openFromFileRequested();

private:
    void OnTabChanged(int tab);
    void RefreshAllPages();
    void EnablePages(bool enable);
    void OnCommandRunning(bool running);
    void UpdateButtonEnabling();

    document::CVeskDoc& m_doc;
    QTabWidget* m_tabs;
    QPushButton* m_openButton;
    QPushButton* m_readButton;
    QProgressBar* m_progress;
    QPushButton* m_cancelButton;
    bool m_mainControlsEnabled = true;
    bool m_pagesEnabled = true;
    QPointer<QWidget> m_focusBeforeCommand;
    std::array<CConfigPage*, kTabCount> m_pages{};
};
