#pragma once

#include <vector>

#include "document/advanced_page_rules.h"
#include "document/report_lines.h"
#include "pages/config_page.h"

class CColorComboBox;
class QPushButton;

// The "Дополнительное" tab: alarm direction, alarm and saturation currents, mains filter
// and write protection. Every choice and edit goes straight into the document; the send
// button checks the four levels and runs the document's advanced send.
class CAdvancedPropPage : public CConfigPage {
    Q_OBJECT

public:
    explicit CAdvancedPropPage(QWidget* parent = nullptr);

    bool RefreshFromDocument() override;
    void EnableDeviceControls(bool enable) override;
    // The send button's level checks on the stored levels.
    bool ValidateForSend();
    // The Advanced lines of the configuration report, as the page's controls show them.
    std::vector<document::ReportLine> PrintSection() const override;

private:
    void CreateControls();
    void OnAlarmChosen(int index);
    void OnLineFilterChosen(int index);
    void OnWriteProtectChosen(int index);
    // A level box: an entry chosen from its list, or its text edited.
    void OnLevelChosen(document::AlarmLevel level, int index);
    void OnLevelEdited(document::AlarmLevel level);
    void StoreLevel(document::AlarmLevel level, const QString& text);
    CColorComboBox* LevelBox(document::AlarmLevel level) const;
    void OnSend();

    CColorComboBox* m_alarm = nullptr;
    CColorComboBox* m_lowAlarm = nullptr;
    CColorComboBox* m_highAlarm = nullptr;
    CColorComboBox* m_lowSaturation = nullptr;
    CColorComboBox* m_highSaturation = nullptr;
    CColorComboBox* m_lineFilter = nullptr;
    CColorComboBox* m_writeProtect = nullptr;
    QPushButton* m_send = nullptr;
};
