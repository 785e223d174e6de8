#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <vector>

#include <QDialog>

#include "transmitter/line_scan.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

// The devices on the line: the scan starts when the dialog is first shown, shows its progress
// and can be stopped. "Использовать" on a Тарвел-4410 ends the dialog Accepted; the caller
// then takes chosenAddress(), for the session or, with storeAddress(), for good.
class CLineScanDialog : public QDialog {
    Q_OBJECT

public:
    using ScanFunction =
        std::function<transmitter::ScanResult(const transmitter::ScanControl& control)>;

    explicit CLineScanDialog(ScanFunction scan, QWidget* parent = nullptr);

    std::optional<int> chosenAddress() const { return m_chosen; }
    bool storeAddress() const;
    bool scanning() const { return m_scanning; }

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void RunScan();
    void ShowProgress(int asked, int total);
    void ShowResult(const transmitter::ScanResult& result);
    void OnSelectionChanged();
    void OnUse();

    ScanFunction m_scan;
    std::vector<transmitter::FoundDevice> m_devices;
    std::optional<int> m_chosen;
    std::atomic<bool> m_cancel{false};
    bool m_started = false;
    bool m_scanning = false;
    bool m_closeAfterScan = false;
    QTableWidget* m_table = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_stop = nullptr;
    QPushButton* m_use = nullptr;
    QCheckBox* m_store = nullptr;
};
