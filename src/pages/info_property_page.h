#pragma once

#include <memory>
#include <vector>

#include "document/page_values.h"
#include "document/report_lines.h"
#include "pages/config_page.h"

class QLabel;
class QPushButton;
class CMyColorEdit;
class CTransparentImage;

namespace document {
class LiveMonitor;
}

// The "Информация" tab: live values, fault lamps and identification, and the start/stop
// button of live monitoring. The monitoring cycle runs on a worker; after each cycle the
// page asks the document, on the GUI thread, to announce the new values to the views.
class CInfoPropertyPage : public CConfigPage {
    Q_OBJECT

public:
    explicit CInfoPropertyPage(QWidget* parent = nullptr);
    ~CInfoPropertyPage() override;

    void SetDocument(document::CVeskDoc* doc) override;
    bool RefreshFromDocument() override;
    void EnableDeviceControls(bool enable) override;

    // The stop half of button 194, for the main window to call before it goes away. Returns
    // once the worker has ended; message boxes the worker raises meanwhile are still shown.
    void StopMonitoring();
    bool isMonitoring() const;

    // The Information lines of the configuration report, as the page shows them.
    std::vector<document::ReportLine> PrintSection() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void AddTooltips();
    void OnMonitoringButton();
    void StartMonitoring();
    // Keeps the GUI thread serving events (the worker's message boxes among them) until
    // the worker has ended.
    void WaitForWorkerEnd();
    void OnCycleDone();
    void ShowLamps(bool sensorFault, bool xmtrFault);
    void UpdateButtonEnabling();

    CMyColorEdit* m_sensorTemp = nullptr;
    QLabel* m_sensorTempUnit = nullptr;
    CMyColorEdit* m_loopCurrent = nullptr;
    QLabel* m_loopCurrentUnit = nullptr;
    CMyColorEdit* m_xmtrTemp = nullptr;
    QLabel* m_xmtrTempUnit = nullptr;
    CTransparentImage* m_sensorLampGrey = nullptr;
    CTransparentImage* m_sensorLampRed = nullptr;
    CTransparentImage* m_xmtrLampGrey = nullptr;
    CTransparentImage* m_xmtrLampRed = nullptr;
    QPushButton* m_monitoringButton = nullptr;
    CMyColorEdit* m_softwareVersion = nullptr;
    CMyColorEdit* m_hardwareVersion = nullptr;
    CMyColorEdit* m_serialNumber = nullptr;
    CMyColorEdit* m_manufacturingDate = nullptr;

    // What the controls show now; the report prints exactly this.
    document::PageValues m_shown;
    std::unique_ptr<document::LiveMonitor> m_monitor;
    bool m_deviceControlsEnabled = true;
    bool m_stopping = false;
    bool m_destroying = false;
};
