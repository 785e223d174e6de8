#pragma once

#include <array>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>

#include <QObject>
#include <QString>

#include "document/command_worker.h"
#include "document/live_sample.h"
#include "document/update_hint.h"
#include "serial/port_hold.h"
#include "transmitter/transmitter.h"

namespace document {

// Outcome of a device command, for callers that report it (the command line's exit status).
enum class CommandOutcome { Done, Failed, Cancelled };

// The program's one document: owns the transmitter, runs the device commands in their
// fixed order of questions, search, operations and progress, keeps the modified and cleared
// states, and announces every change to the views with an update hint. It never touches a
// widget: notices, questions and the wait cursor go through UserInteraction.
class CVeskDoc : public QObject {
    Q_OBJECT

public:
    using Tag = std::array<char16_t, transmitter::kTagLength + 1>;

    CVeskDoc(hart::UserInteraction& ui, const hart::PortSettings& portSettings,
             hart::Sleeper& sleeper, QObject* parent = nullptr);
    ~CVeskDoc() override;

    // Framework-like document life: new, open, save.
    void OnNewDocument();
    bool OnOpenDocument(const QString& path);
    bool OnSaveDocument(const QString& path);
    void DeleteContents();  // Clear contents
    bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true);
    const QString& GetPathName() const { return m_pathName; }
    bool CanSave() const;  // the Save and Save As items
    // The last read left groups unread: their values are empty, not the transmitter's.
    bool LastReadIncomplete() const { return m_lastReadIncomplete; }

    // Device commands.
    CommandOutcome OnReadFromDevice();
    bool OnCheckConnection();
    bool OnSendBasic();
    bool OnSendAdvanced();
    // Stores the port chosen in the port dialog (nothing when cancelled) and closes the port.
    void OnPortSettings(std::optional<int> chosenPort);
    void OnRefreshLiveValues();

    // Keeps the port for this program over one whole operation: other instances find it busy
    // between its transactions; this program's own openings pass. A link through a HART-IP
    // server leaves the stored port to others.
    serial::PortHold HoldPort() const
    {
        if (m_portSettings.hartIpEndpoint()) return serial::PortHold();
        return serial::PortHold(m_portSettings.portNumber() & 0xFF);
    }

    bool FindTransmitter(bool report);
    bool CheckWritable();
    void SetProgress(int percent);
    void EnableMainControls(bool enable);
    bool HasUnsavedData() const;
    void MarkHasData();
    void MarkCleared();
    bool IsCleared() const { return m_bCleared != 0; }
    // One monitoring cycle; false when it failed to read. Announces the cycle's sample.
    bool ReadMonitoringValues(bool startsRun = false);

    // The wait cursor is shown once and restored once, however a command ends.
    void ShowWait();
    void RestoreCursor();

    int m_bMonitoring = 0;

    // Where the port dialog's choice is stored (the settings); set by the owner.
    std::function<void(int)> storePortNumber;

    // Accessors: getters, setters with their change detection, failed flags.
    int progress() const;

    std::int32_t sensorType() const;
    void setSensorType(std::int32_t value);
    bool sensorTypeFailed() const;
    std::int32_t sensorConnection() const;
    void setSensorConnection(std::int32_t value);
    bool sensorConnectionFailed() const;
    std::int32_t rangeUnits() const;
    void setRangeUnits(std::int32_t value);
    bool rangeUnitsFailed() const;
    // Characters not zero and below 32 or above 95 come back as spaces; position 8 is zero.
    Tag tag() const;
    void setTag(const Tag& value);
    bool tagFailed() const;
    float lowerRangeValue() const;
    void setLowerRangeValue(float value);
    bool lowerRangeValueFailed() const;
    float upperRangeValue() const;
    void setUpperRangeValue(float value);
    bool upperRangeValueFailed() const;
    float damping() const;
    void setDamping(float value);
    bool dampingFailed() const;
    std::int32_t sensorLimitUnits() const;
    void setSensorLimitUnits(std::int32_t value);
    float upperSensorLimit() const;
    void setUpperSensorLimit(float value);
    bool upperSensorLimitFailed() const;
    float lowerSensorLimit() const;
    void setLowerSensorLimit(float value);
    bool lowerSensorLimitFailed() const;

    std::int32_t alarmSelect() const;
    void setAlarmSelect(std::int32_t value);
    bool alarmSelectFailed() const;
    float lowAlmVal() const;
    void setLowAlmVal(float value);
    bool lowAlmValFailed() const;
    float highAlmVal() const;
    void setHighAlmVal(float value);
    bool highAlmValFailed() const;
    float lowSatVal() const;
    void setLowSatVal(float value);
    bool lowSatValFailed() const;
    float highSatVal() const;
    void setHighSatVal(float value);
    bool highSatValFailed() const;
    std::int32_t lineFilter() const;
    void setLineFilter(std::int32_t value);
    bool lineFilterFailed() const;
    std::int32_t writeProtect() const;
    void setWriteProtect(std::int32_t value);
    bool writeProtectFailed() const;

    std::uint8_t universalRev() const;
    std::uint8_t deviceRev() const;
    std::uint8_t softwareRev() const;
    std::uint8_t hardwareRev() const;  // the upper five bits of the stored byte
    std::int32_t finalAssemblyNumber() const;
    std::uint8_t xmtrAsmDay() const;
    std::uint8_t xmtrAsmMonth() const;
    std::uint8_t xmtrAsmYear() const;
    float sensorTemp() const;
    std::int32_t sensorTempUnits() const;
    float xmtrTemp() const;
    std::int32_t xmtrTempUnits() const;
    float loopCurrent() const;
    int sensorFailure() const;
    int xmtrFailure() const;

    float fixedCurrent() const;
    void setFixedCurrent(float value);
    float measured4mA() const;
    void setMeasured4mA(float value);
    float measured20mA() const;
    void setMeasured20mA(float value);
    std::int32_t trimUnits() const;
    void setTrimUnits(std::int32_t value);
    float trimUpperPoint() const;
    void setTrimUpperPoint(float value);
    float trimLowerPoint() const;
    void setTrimLowerPoint(float value);
    std::int32_t calibrationMode() const;
    void setCalibrationMode(std::int32_t value);
    std::int32_t calibrationType() const;
    void setCalibrationType(std::int32_t value);
    float calUpperBound() const;
    float calLowerBound() const;

    transmitter::CTransmitter& transmitter() { return *m_pTransmitter; }
    const transmitter::CTransmitter& transmitter() const { return *m_pTransmitter; }
    hart::UserInteraction& ui() { return m_ui; }
    // The desktop program runs every device command of this document through it.
    CommandWorker& commands() { return m_commands; }

signals:
    void updateViews(int hint);
    // Emitted on the monitoring worker after each cycle: a direct connection runs there,
    // a receiver on the GUI thread gets it queued.
    void liveValuesRead(const document::LiveSample& sample);

private:
    void UpdateAllViews(UpdateHint hint);
    void MarkChanged();
    // Stores a parameter the way its row of the parameter table says, and clears its flag.
    template <auto member, typename V>
    void SetParameter(const V& value);
    template <auto member>
    bool IsFailed() const;
    struct WriteStep {
        int (transmitter::CTransmitter::*run)();
        int progress;
    };
    // The write steps each followed by its progress, then the final step; "transfer
    // complete" is shown, and true answered, only when every step succeeded.
    bool RunSendChain(std::initializer_list<WriteStep> steps,
                      int (transmitter::CTransmitter::*finalStep)());
    void ClearLoadedFailedFlags();
    void Notify(int messageId, hart::MessageIcon icon);
    int Ask(int messageId, int style);

    hart::UserInteraction& m_ui;
    std::unique_ptr<transmitter::CTransmitter> m_pTransmitter;
    int m_bCleared = 0;
    bool m_modified = false;
    bool m_lastReadIncomplete = false;
    bool m_waitShown = false;
    QString m_pathName;
    CommandWorker m_commands;

    // ---- Calibration page operations (defined in calibration_sensor.cpp and
    // calibration_output.cpp): every check, message and question in its order. ----
public:
    // The timed wait after a sensor trim (about 36 s) or a device reset (about 7 s).
    enum class CalibrationWait { Reset = 0, Calibration = 1 };

    bool LoadSensorLimits();
    bool PrepareSensorCalibration(bool upper);
    bool CalibrateSensorPoint(bool upper);
    bool ReportSensorCalibration(bool upper);
    bool RestoreFactoryCalibration();
    bool ApplyFixedCurrent(bool set, bool interactive);
    bool BeginOutputCalibration();
    // Ended: the check failed, or the trim failed and the fixed current was released.
    // Retry: the reading was refused as too large or too small and the user tries again.
    enum class LoopTrimOutcome { Trimmed = 0, Ended = 1, Retry = 2 };
    LoopTrimOutcome CalibrateOutput4mA();
    LoopTrimOutcome CalibrateOutput20mA();

    // Shows the wait (the wait dialog); unset, the document waits on its own clock.
    std::function<void(CalibrationWait)> showCalibrationWait;

    // What a second transmitter object on the same port needs (the stabilisation dialog).
    const hart::PortSettings& portSettings() const { return m_portSettings; }
    hart::Sleeper& sleeper() const { return m_sleeper; }

private:
    LoopTrimOutcome
    CalibrateOutputPoint(transmitter::LoopTrimResult (transmitter::CTransmitter::*trim)(),
                         int failureMessage);
    void RunCalibrationWait(CalibrationWait wait);

    const hart::PortSettings& m_portSettings;
    hart::Sleeper& m_sleeper;
    // ---- end of the calibration block ----
};

}  // namespace document
