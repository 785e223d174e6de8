#pragma once

#include <cstdint>

#include <QDialog>

#include "transmitter/transmitter.h"

class QLabel;

namespace document {
class CVeskDoc;
}

// The stabilisation dialog: shows the value the transmitter measures, read on opening and
// on every "Прочитать данные", so that the user can wait for a steady temperature. It reads
// through a transmitter object of its own, on the document's port and with the document's
// user interaction; it is accepted with "Продолжить" and cancelled with "Отмена калибровки".
class CCalMeasDialog : public QDialog {
    Q_OBJECT

public:
    explicit CCalMeasDialog(document::CVeskDoc& doc, QWidget* parent = nullptr);

    float value() const { return m_value; }
    std::int32_t units() const { return m_units; }

    // Identifies the transmitter (asking to retry while it is not found) and reads the value.
    void ReadMeasurement();

protected:
    void showEvent(QShowEvent* event) override;

private:
    document::CVeskDoc& m_doc;
    transmitter::CTransmitter m_transmitter;
    float m_value = transmitter::kNotSetFloat;
    std::int32_t m_units = transmitter::kUnitsNotSet;
    bool m_readOnOpening = true;

    QLabel* m_valueText = nullptr;
    QLabel* m_unitsText = nullptr;
};
