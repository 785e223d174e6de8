#pragma once

#include <vector>

#include <QLabel>

#include "document/report_lines.h"
#include "pages/config_page.h"

class CColorComboBox;
class CMyColorEdit;
class QPushButton;

namespace document {
struct UnitsDisplay;
}

// The "Основное" tab: tag, sensor type, connection, units, the 4 mA and 20 mA points and
// the damping, with the chosen sensor's limits. Every edit goes straight into the document;
// the send button checks the page and runs the document's basic send.
class CBasicPropPage : public CConfigPage {
    Q_OBJECT

public:
    explicit CBasicPropPage(QWidget* parent = nullptr);

    bool RefreshFromDocument() override;
    void EnableDeviceControls(bool enable) override;
    // The send button's consistency check on the page's choices and the stored values.
    bool ValidateForSend();
    // The Basic lines of the configuration report, as the page's controls show them.
    std::vector<document::ReportLine> PrintSection() const override;

private:
    void CreateControls();
    void OnTagEdited();
    void OnSensorChosen(int index);
    void OnConnectionChosen(int index);
    void OnUnitsChosen(int index);
    void OnLowerRangeEdited();
    void OnUpperRangeEdited();
    void OnDampingEdited();
    // Reports a damping above 32 s; the focus then stays in the field.
    bool DampingMayBeLeft();
    void OnSend();
    // Connection and units lists for the sensor selection, selecting the stored codes.
    void RebuildDependentLists(int sensorIndex);
    void ShowUnits(const document::UnitsDisplay& units);

    CMyColorEdit* m_tag = nullptr;
    CColorComboBox* m_sensor = nullptr;
    CColorComboBox* m_connection = nullptr;
    CColorComboBox* m_units = nullptr;
    CMyColorEdit* m_lowerRange = nullptr;
    CMyColorEdit* m_upperRange = nullptr;
    CMyColorEdit* m_lowerLimit = nullptr;
    CMyColorEdit* m_upperLimit = nullptr;
    CMyColorEdit* m_damping = nullptr;
    QLabel* m_lowerRangeUnit = nullptr;
    QLabel* m_upperRangeUnit = nullptr;
    QLabel* m_lowerLimitUnit = nullptr;
    QLabel* m_upperLimitUnit = nullptr;
    QPushButton* m_send = nullptr;
};
