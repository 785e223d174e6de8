#include "document/vesk_doc.h"

#include <string>
#include <vector>

#include "document/basic_field_rules.h"
#include "document/config_file.h"
#include "document/framework_messages.h"
#include "document/gui_thread_call.h"
#include "document/parameter_table.h"
#include "document/question_box.h"
#include "document/whole_file.h"
#include "hart/cancel_request.h"
#include "resources/string_ids.h"
#include "resources/string_ids/document.h"
#include "resources/string_table.h"

namespace document {
namespace {

using hart::MessageIcon;
using tarvel::kMessageNotFound;
using tarvel::kQuestionOutputChange;

using tarvel::kMessageCancelled;
using tarvel::kMessageFileVersion;
using tarvel::kMessageFound;
using tarvel::kMessageProtectUnreadable;
using tarvel::kMessageReceptionComplete;
using tarvel::kMessageReceptionIncomplete;
using tarvel::kMessageTransferComplete;
using tarvel::kMessageWriteProtected;
using tarvel::kQuestionDataLoss;

struct ReadGroup {
    int (transmitter::CTransmitter::*run)();
    int progress;
    int nameId;  // named in the message of a read that is incomplete
};

constexpr ReadGroup kReadGroups[] = {
    {&transmitter::CTransmitter::ReadTagAndSensor, 16, 1471},
    {&transmitter::CTransmitter::ReadRangeAndLimits, 32, 1472},
    {&transmitter::CTransmitter::ReadFilterAndAssemblyNumber, 48, 1473},
    {&transmitter::CTransmitter::ReadAlarmLevelsAndVariables, 64, 1474},
    {&transmitter::CTransmitter::ReadFailureStatus, 80, 1475},
    {&transmitter::CTransmitter::ReadThermometerParams, 100, 1476},
};

std::string IncompleteReadText(const std::vector<int>& failedGroupNames)
{
    std::string text(tarvel::LoadText(kMessageReceptionIncomplete));
    for (std::size_t i = 0; i < failedGroupNames.size(); ++i)
        text.append(i == 0 ? " " : ", ").append(tarvel::LoadText(failedGroupNames[i]));
    return text;
}

}  // namespace

CVeskDoc::CVeskDoc(hart::UserInteraction& ui, const hart::PortSettings& portSettings,
                   hart::Sleeper& sleeper, QObject* parent)
    : QObject(parent), m_ui(ui),
      m_pTransmitter(std::make_unique<transmitter::CTransmitter>(ui, portSettings, sleeper)),
      m_portSettings(portSettings), m_sleeper(sleeper)
{
}

CVeskDoc::~CVeskDoc() = default;

void CVeskDoc::Notify(int messageId, MessageIcon icon)
{
    hart::NotifyString(m_ui, messageId, icon);
}

int CVeskDoc::Ask(int messageId, int style)
{
    return m_ui.ask(messageId, tarvel::LoadTextString(messageId), style);
}

void CVeskDoc::UpdateAllViews(UpdateHint hint)
{
    // From the command worker the views refresh on their own thread while the worker waits,
    // so the document is never read there while it is written here.
    if (m_commands.onWorker())
        RunOnThreadOfAndWait(this, [this, hint] { emit updateViews(hint); });
    else
        emit updateViews(hint);
}

void CVeskDoc::ShowWait()
{
    if (m_waitShown) return;
    m_waitShown = true;
    m_ui.beginWait();
}

void CVeskDoc::RestoreCursor()
{
    if (!m_waitShown) return;
    m_waitShown = false;
    m_ui.endWait();
}

// ---- document life ------------------------------------------------------------------

void CVeskDoc::OnNewDocument()
{
    DeleteContents();
    m_pathName.clear();
    m_modified = false;
    m_lastReadIncomplete = false;
    UpdateAllViews(HINT_REFRESH);
}

bool CVeskDoc::OnOpenDocument(const QString& path)
{
    const std::optional<QByteArray> read = ReadConfigurationFile(path);
    if (!read) {
        m_ui.notify(kNoStringId, kFailedToOpenDocument, MessageIcon::Exclamation);
        return false;
    }
    const QByteArray& bytes = *read;

    DeleteContents();
    m_modified = true;
    if (!bytes.isEmpty()) {
        switch (LoadConfiguration(bytes, *m_pTransmitter)) {
        case LoadStatus::Loaded:
            ClearLoadedFailedFlags();
            MarkHasData();
            break;
        case LoadStatus::WrongFormat:
            m_ui.notify(kNoStringId, kUnexpectedFileFormat, MessageIcon::Exclamation);
            OnNewDocument();
            return false;
        case LoadStatus::WrongVersion:
            Notify(kMessageFileVersion, MessageIcon::Error);
            m_ui.notify(kNoStringId, kFailedToOpenDocument, MessageIcon::Exclamation);
            OnNewDocument();
            return false;
        }
    }
    m_modified = false;
    m_lastReadIncomplete = false;
    m_pathName = path;
    UpdateAllViews(HINT_REFRESH);
    return true;
}

bool CVeskDoc::OnSaveDocument(const QString& path)
{
    // Written beside the old file and renamed over it: a failed write leaves the old one.
    if (const QString error = WriteWholeFile(path, StoreConfiguration(*m_pTransmitter));
        !error.isEmpty()) {
        m_ui.notify(kNoStringId,
                    (QString::fromUtf8(kFailedToSaveDocument) + '\n' +
                     QString::fromUtf8(kSaveFailureReason).arg(path, error))
                        .toStdString(),
                    MessageIcon::Exclamation);
        return false;
    }
    m_modified = false;
    m_pathName = path;
    return true;
}

void CVeskDoc::SetModifiedFlag(bool modified) { m_modified = modified; }

bool CVeskDoc::CanSave() const { return m_modified || !m_pathName.isEmpty(); }

bool CVeskDoc::HasUnsavedData() const
{
    return m_bCleared == 0 || (m_modified && !m_pathName.isEmpty());
}

void CVeskDoc::MarkHasData()
{
    m_bCleared = 0;
    UpdateAllViews(HINT_STATE);
}

void CVeskDoc::MarkCleared()
{
    m_bCleared = 1;
    UpdateAllViews(HINT_STATE);
}

void CVeskDoc::SetProgress(int percent)
{
    m_pTransmitter->progress = percent;
    UpdateAllViews(HINT_REFRESH);
}

void CVeskDoc::EnableMainControls(bool enable)
{
    UpdateAllViews(enable ? HINT_ENABLE_MAIN : HINT_DISABLE_MAIN);
}

// ---- device commands ----------------------------------------------------------------

bool CVeskDoc::FindTransmitter(bool report)
{
    ShowWait();
    while (!m_pTransmitter->Identify()) {
        RestoreCursor();
        if (hart::CancelRequested()) {
            Notify(kMessageCancelled, MessageIcon::Information);
            return false;
        }
        if (report) {
            Notify(kMessageNotFound, MessageIcon::Information);
            return false;
        }
        if (Ask(kMessageNotFound, kRetryCancelError) != IDRETRY) return false;
    }
    if (report) Notify(kMessageFound, MessageIcon::Information);
    return true;
}

bool CVeskDoc::CheckWritable()
{
    if (!FindTransmitter(false)) return false;
    switch (m_pTransmitter->ReadWriteProtect()) {
    case 0: return true;
    case 1:
        RestoreCursor();
        Notify(kMessageWriteProtected, MessageIcon::Error);
        return false;
    default:
        RestoreCursor();
        Notify(kMessageProtectUnreadable, MessageIcon::Error);
        return false;
    }
}

CommandOutcome CVeskDoc::OnReadFromDevice()
{
    if (HasUnsavedData() && Ask(kQuestionDataLoss, kYesNoWarning) != IDYES)
        return CommandOutcome::Cancelled;

    const serial::PortHold hold = HoldPort();
    ShowWait();
    while (!m_pTransmitter->Identify()) {
        RestoreCursor();
        const bool cancelled = hart::CancelRequested();
        if (cancelled || Ask(kMessageNotFound, kRetryCancelError) != IDRETRY) {
            DeleteContents();
            UpdateAllViews(HINT_REFRESH);
            if (cancelled) Notify(kMessageCancelled, MessageIcon::Information);
            return CommandOutcome::Cancelled;
        }
    }

    UpdateAllViews(HINT_DISABLE_PAGES);
    m_pTransmitter->progress = 0;
    std::vector<int> failedGroups;
    bool cancelled = false;
    for (const ReadGroup& group : kReadGroups) {
        // A cancel leaves the groups not yet read as a failed read leaves them.
        cancelled = hart::CancelRequested();
        if (cancelled || !(m_pTransmitter.get()->*group.run)()) {
            failedGroups.push_back(group.nameId);
            DeleteContents();
        }
        if (cancelled) break;
        m_pTransmitter->progress = group.progress;
        UpdateAllViews(HINT_REFRESH);
    }
    if (!failedGroups.empty() && hart::CancelRequested()) cancelled = true;
    m_modified = true;
    m_lastReadIncomplete = !failedGroups.empty();
    MarkHasData();
    RestoreCursor();
    if (cancelled)
        Notify(kMessageCancelled, MessageIcon::Information);
    else if (m_lastReadIncomplete)
        m_ui.notify(kMessageReceptionIncomplete, IncompleteReadText(failedGroups),
                    MessageIcon::Exclamation);
    else
        Notify(kMessageReceptionComplete, MessageIcon::Information);
    m_pTransmitter->progress = 0;
    UpdateAllViews(HINT_REFRESH);
    UpdateAllViews(HINT_ENABLE_PAGES);
    if (cancelled) return CommandOutcome::Cancelled;
    return m_lastReadIncomplete ? CommandOutcome::Failed : CommandOutcome::Done;
}

bool CVeskDoc::OnCheckConnection()
{
    const serial::PortHold hold = HoldPort();
    const bool found = FindTransmitter(true);
    RestoreCursor();
    return found;
}

bool CVeskDoc::RunSendChain(std::initializer_list<WriteStep> steps,
                            int (transmitter::CTransmitter::*finalStep)())
{
    // A refused step does not stop the chain, but the transfer is complete only when every
    // value was accepted.
    bool done = true;
    for (const WriteStep& step : steps) {
        if ((m_pTransmitter.get()->*step.run)() == 0) done = false;
        SetProgress(step.progress);
    }
    if ((m_pTransmitter.get()->*finalStep)() == 0) done = false;
    if (done) {
        SetProgress(100);
        RestoreCursor();
        Notify(kMessageTransferComplete, MessageIcon::Information);
    } else {
        RestoreCursor();
    }
    SetProgress(0);
    return done;
}

bool CVeskDoc::OnSendBasic()
{
    using T = transmitter::CTransmitter;
    // Also for the menu command, which skips the page's checks.
    if (!CheckDampingToSend(damping(), m_ui)) return false;
    SetProgress(0);
    if (Ask(kQuestionOutputChange, MB_OKCANCEL) != IDOK) return false;
    const serial::PortHold hold = HoldPort();
    if (!CheckWritable()) {
        RestoreCursor();
        return false;
    }
    return RunSendChain({{&T::WriteSensorConfig, 20},
                         {&T::WriteRangeUnits, 40},
                         {&T::WriteRangeValues, 60},
                         {&T::WriteDamping, 80}},
                        &T::WriteTag);
}

bool CVeskDoc::OnSendAdvanced()
{
    const serial::PortHold hold = HoldPort();
    using T = transmitter::CTransmitter;
    SetProgress(0);
    if (!FindTransmitter(false)) {
        RestoreCursor();
        return false;
    }
    if (m_pTransmitter->writeProtect == 1 && m_pTransmitter->ReadWriteProtect() == 1) {
        RestoreCursor();
        Notify(kMessageWriteProtected, MessageIcon::Error);
        return false;
    }
    return RunSendChain({{&T::WriteProtectOff, 20},
                         {&T::WriteAlarmSelect, 40},
                         {&T::WriteAlarmLevels, 60},
                         {&T::WriteLineFilter, 80}},
                        &T::WriteProtectOnAndReadLimits);
}

void CVeskDoc::OnPortSettings(std::optional<int> chosenPort)
{
    if (!chosenPort) return;
    if (storePortNumber) storePortNumber(*chosenPort);
    m_pTransmitter->ClosePort();
}

void CVeskDoc::OnRefreshLiveValues()
{
    ShowWait();
    UpdateAllViews(HINT_SHOW_INFO);
    RestoreCursor();
}

bool CVeskDoc::ReadMonitoringValues(bool startsRun)
{
    const QDateTime began = QDateTime::currentDateTime();
    const bool read = m_pTransmitter->ReadLiveValues();
    emit liveValuesRead(LiveSampleOf(*this, began, read, startsRun));
    return read;
}

// ---- clearing -----------------------------------------------------------------------

void CVeskDoc::DeleteContents()
{
    transmitter::CTransmitter& t = *m_pTransmitter;
    for (const Parameter& parameter : kParameters) {
        std::visit(
            [&t](const auto& field) {
                if constexpr (std::is_same_v<std::decay_t<decltype(field)>, TagField>)
                    std::fill(std::begin(t.*field.member), std::end(t.*field.member), u'\0');
                else if (field.notSet)
                    t.*field.member = *field.notSet;
            },
            parameter.value);
    }
    ClearLoadedFailedFlags();
    MarkCleared();
}

void CVeskDoc::ClearLoadedFailedFlags()
{
    // The values that clearing keeps (calibration, assembly dates) keep their flags too.
    for (const Parameter& parameter : kParameters)
        if (parameter.failed && ClearedWithTheDocument(parameter))
            m_pTransmitter.get()->*parameter.failed = 0;
}

}  // namespace document
