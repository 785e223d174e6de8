#pragma once

#include <initializer_list>
#include <optional>
#include <span>

#include <QPointer>

#include "document/vesk_doc.h"
#include "pages/config_page.h"

class CColorComboBox;
class CMyColorEdit;
class QLabel;
class QPushButton;

namespace hart {
class Sleeper;
}

// The "Калибровка" tab. Left half: the sensor trim at one or two points against a reference
// thermometer, and the return to the factory calibration. Right half: the 4 mA and 20 mA
// output trim against a multimeter, and a fixed loop current. Each half is a small procedure
// with a step that decides which of the page's controls are enabled; a running procedure
// locks the main window's tabs and read button and the other half of the page.
class CCalPropPage : public CConfigPage {
    Q_OBJECT

public:
    explicit CCalPropPage(QWidget* parent = nullptr);
    ~CCalPropPage() override;

    void SetDocument(document::CVeskDoc* doc) override;
    // Nothing of this page comes from the parameter set: never flagged.
    bool RefreshFromDocument() override;
    // The start, reset and fixed-current controls, whatever the steps.
    void EnableDeviceControls(bool enable) override;

    // Steps 0, 1 and 2 of either procedure: idle, then its first point (the sensor's lower
    // point, 4 mA), then its second (the upper point, 20 mA).
    enum class Step { Idle = 0, FirstPoint = 1, SecondPoint = 2 };
    static constexpr int kStepCount = 3;

    void SetSensorStep(Step step);
    void SetLoopStep(Step step);
    Step sensorStep() const { return m_sensorStep; }
    Step loopStep() const { return m_loopStep; }

    // Which controls each step of a procedure enables, in step order.
    struct StepRow {
        int controlId;
        bool enabled[kStepCount];
    };

    // The clock of the wait dialog's ticks; none (the default) is a one-second timer.
    void SetWaitClock(hart::Sleeper* clock) { m_waitClock = clock; }

private:
    // A number field of a procedure and where the document keeps its value.
    struct ProcedureValue {
        CMyColorEdit* field;
        void (document::CVeskDoc::*store)(float);
    };

    void CreateControls();
    void UpdateProcedureHold();
    void EnterStep(std::span<const StepRow> rows, Step step,
                   std::initializer_list<ProcedureValue> values);
    // Loop calibration cannot start while a fixed current is forced.
    void SetControlEnabled(int controlId, bool enable);
    bool RunStabilisation();
    void ShowWaitDialog(document::CVeskDoc::CalibrationWait wait);
    void Inform(int messageId);
    void Remark(int messageId);
    int Ask(int messageId, int style);

    void OnUnitsChosen(int index);
    void OnLowerPointChanged();
    void OnUpperPointChanged();
    void OnStartSensor();
    void OnCalibratePoint(bool upper);
    void OnResetCalibration();

    void OnReadingChanged(CMyColorEdit* edit, void (document::CVeskDoc::*store)(float));
    // Warns about a missing or implausible reading; an implausible one keeps the focus.
    bool ReadingMayBeLeft(CMyColorEdit* edit);
    void OnStartLoop();
    void OnSetPoint(bool twentyMa);
    void OnSetFixedCurrent();
    void OnResetFixedCurrent();
    // The document's fixed current operation, on the command worker.
    bool ApplyFixedCurrent(bool set, bool interactive);

    QPointer<document::CVeskDoc> m_hookedDoc;
    hart::Sleeper* m_waitClock = nullptr;
    Step m_sensorStep = Step::Idle;
    Step m_loopStep = Step::Idle;
    // From a procedure's first step to its end no other program may take the port.
    std::optional<serial::PortHold> m_procedureHold;
    bool m_fixedCurrentForced = false;

    QPushButton* m_startSensor = nullptr;
    CColorComboBox* m_units = nullptr;
    CMyColorEdit* m_lowerPoint = nullptr;
    QLabel* m_lowerUnit = nullptr;
    CMyColorEdit* m_upperPoint = nullptr;
    QLabel* m_upperUnit = nullptr;

    QPushButton* m_startLoop = nullptr;
    CMyColorEdit* m_reading4mA = nullptr;
    CMyColorEdit* m_reading20mA = nullptr;
    CMyColorEdit* m_fixedCurrent = nullptr;
};
