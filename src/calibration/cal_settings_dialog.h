#pragma once

#include <cstdint>

#include <QDialog>

#include "transmitter/parameter_values.h"

class QCheckBox;
class QLabel;

// The calibration type dialog: shows the sensor limits just read and lets the user choose
// a trim at the lower point only (type 0) or at both points (type 1).
class CCalSettingsDialog : public QDialog {
    Q_OBJECT

public:
    explicit CCalSettingsDialog(QWidget* parent = nullptr);

    void SetTransmitterSettings(std::int32_t unitsCode, float upperLimit, float lowerLimit);
    void SetCalibrationType(int type);
    int calibrationType() const { return m_type; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnLowerOnlyClicked();
    void OnBothPointsClicked();

    int m_type = 0;
    std::int32_t m_units = transmitter::kUnitsNotSet;
    float m_upperLimit = transmitter::kNotSetFloat;
    float m_lowerLimit = transmitter::kNotSetFloat;

    QLabel* m_unitsText = nullptr;
    QLabel* m_upperValue = nullptr;
    QLabel* m_upperUnit = nullptr;
    QLabel* m_lowerValue = nullptr;
    QLabel* m_lowerUnit = nullptr;
    QCheckBox* m_lowerOnly = nullptr;
    QCheckBox* m_bothPoints = nullptr;
};
