#include <algorithm>
#include <bit>
#include <csignal>
#include <set>
#include <string>
#include <string_view>
#include <sys/resource.h>
#include <vector>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "document/config_file.h"
#include "document/framework_messages.h"
#include "document/parameter_table.h"
#include "document/question_box.h"
#include "document/vesk_doc.h"
#include "support/fake_driver_control.h"
#include "support/fake_sleeper.h"
#include "support/pty_port.h"
#include "support/scripted_user.h"

using namespace document;

namespace {

// A document over the fake driver library: with nothing scripted, the transmitter never
// answers (each transaction costs 15 s of fake time, no real waiting).
class DocumentTest : public testing::Test {
protected:
    DocumentTest()
    {
        QObject::connect(&doc, &CVeskDoc::updateViews, [this](int hint) { hints.push_back(hint); });
        doc.OnNewDocument();
        hints.clear();
    }

    QString WriteFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QByteArray ValidRecord()
    {
        ScriptedUser otherUser;
        transmitter::CTransmitter values(otherUser, ports, sleeper);
        values.sensorType = 1;
        values.tag[0] = u'T';
        return StoreConfiguration(values);
    }

    TempPortMapDir portMap;
    PtyPort port;
    FakeDriverControl fake;
    ScriptedUser user;
    FakeSleeper sleeper;
    hart::FixedPortSettings ports{port.comNumber()};
    CVeskDoc doc{user, ports, sleeper};
    std::vector<int> hints;
    QTemporaryDir dir;
};

// A value that neither clearing nor a file gives any parameter.
constexpr std::int32_t kForeign = 77;

void SetForeign(transmitter::CTransmitter& t, const Parameter& parameter)
{
    std::visit(
        [&t](const auto& field) {
            if constexpr (std::is_same_v<std::decay_t<decltype(field)>, TagField>)
                std::fill_n(t.*field.member, transmitter::kTagLength, u'Z');
            else
                t.*field.member = kForeign;
        },
        parameter.value);
}

enum class Held { NotSet, Foreign, Other };

Held HeldBy(const transmitter::CTransmitter& t, const Parameter& parameter)
{
    return std::visit(
        [&t](const auto& field) {
            if constexpr (std::is_same_v<std::decay_t<decltype(field)>, TagField>) {
                const auto& tag = t.*field.member;
                if (std::all_of(std::begin(tag), std::end(tag),
                                [](char16_t ch) { return ch == 0; }))
                    return Held::NotSet;
                return tag[0] == u'Z' ? Held::Foreign : Held::Other;
            } else {
                const auto value = t.*field.member;
                if (value == kForeign) return Held::Foreign;
                if constexpr (std::is_same_v<decltype(value), const float>)
                    return std::bit_cast<std::uint32_t>(value) == transmitter::kNotSetFloatBits
                               ? Held::NotSet
                               : Held::Other;
                else
                    return field.notSet && value == *field.notSet ? Held::NotSet : Held::Other;
            }
        },
        parameter.value);
}

}  // namespace

TEST_F(DocumentTest, NewDocumentIsClearedAndCannotBeSaved)
{
    EXPECT_TRUE(doc.IsCleared());
    EXPECT_FALSE(doc.HasUnsavedData());
    EXPECT_FALSE(doc.CanSave());
    EXPECT_EQ(doc.sensorType(), 251);
    EXPECT_EQ(doc.transmitter().headType, 4);
    EXPECT_EQ(doc.transmitter().cableEntry, 256);
    EXPECT_EQ(doc.transmitter().execution, 33);
}

TEST_F(DocumentTest, ReadWithNothingAnsweringCancelledClearsTheDocument)
{
    user.answers = {IDCANCEL};
    EXPECT_EQ(doc.OnReadFromDevice(), CommandOutcome::Cancelled);
    // A new document has nothing to lose: no question 904, only 906 with Retry/Cancel.
    ASSERT_EQ(user.questions.size(), 1u);
    EXPECT_EQ(user.questions[0].id, 906);
    EXPECT_TRUE(doc.IsCleared());
    EXPECT_EQ(hints, (std::vector<int>{HINT_STATE, HINT_REFRESH}));
    EXPECT_EQ(fake.counters().writes, 3);

    // Still nothing to lose: cleared, and modified only matters with a path.
    user.answers = {IDCANCEL};
    doc.OnReadFromDevice();
    EXPECT_EQ(user.questions.back().id, 906);
    EXPECT_EQ(user.questions.size(), 2u);
}

TEST_F(DocumentTest, ReadAfterLoadingAFileAsksFirstAndNoKeepsEverything)
{
    ASSERT_TRUE(doc.OnOpenDocument(WriteFile("a.4410", ValidRecord())));
    EXPECT_TRUE(doc.CanSave());
    EXPECT_FALSE(doc.IsModified());
    user.answers = {IDNO};
    EXPECT_EQ(doc.OnReadFromDevice(), CommandOutcome::Cancelled);
    ASSERT_EQ(user.questions.size(), 1u);
    EXPECT_EQ(user.questions[0].id, 904);
    EXPECT_EQ(user.questions[0].text,
              "Вся несохраненная/неотправленная информация будет потеряна.\nВы хотите продолжить?");
    EXPECT_EQ(doc.sensorType(), 1);
    EXPECT_EQ(fake.counters().writes, 0);
}

TEST_F(DocumentTest, CancelledReadOfAModifiedSavedDocumentAsksAgain)
{
    ASSERT_TRUE(doc.OnOpenDocument(WriteFile("a.4410", ValidRecord())));
    user.answers = {IDYES, IDCANCEL};
    doc.OnReadFromDevice();
    EXPECT_TRUE(doc.IsCleared());
    // Cleared, unmodified: the next read does not ask.
    user.answers = {IDCANCEL};
    doc.OnReadFromDevice();
    EXPECT_EQ(user.questions.size(), 3u);
    EXPECT_EQ(user.questions[2].id, 906);

    // Cleared but modified with a path: it asks.
    doc.SetModifiedFlag(true);
    user.answers = {IDNO};
    doc.OnReadFromDevice();
    EXPECT_EQ(user.questions.back().id, 904);
}

TEST_F(DocumentTest, CheckConnectionReportsNotFoundOnce)
{
    EXPECT_FALSE(doc.OnCheckConnection());
    EXPECT_EQ(user.ids(), (std::vector<int>{906}));
    EXPECT_EQ(user.messages[0].icon, hart::MessageIcon::Information);
    EXPECT_TRUE(user.questions.empty());
}

TEST_F(DocumentTest, SendBasicCancelledAtTheQuestionSendsNothing)
{
    user.answers = {IDCANCEL};
    EXPECT_FALSE(doc.OnSendBasic());
    ASSERT_EQ(user.questions.size(), 1u);
    EXPECT_EQ(user.questions[0].id, 905);
    EXPECT_EQ(fake.counters().opens, 0);
    EXPECT_EQ(doc.progress(), 0);
    EXPECT_EQ(hints, (std::vector<int>{HINT_REFRESH}));
}

TEST_F(DocumentTest, SendAdvancedWithoutTransmitterAsksRetryAndEnds)
{
    user.answers = {IDRETRY, IDCANCEL};
    EXPECT_FALSE(doc.OnSendAdvanced());
    EXPECT_EQ(user.questions.size(), 2u);
    EXPECT_EQ(fake.counters().writes, 6);  // two identification attempts of three sends each
    EXPECT_TRUE(user.messages.empty());
}

TEST_F(DocumentTest, SettersDetectChangesEachTheirWay)
{
    // Alarm levels compare plainly: not set replacing not set is a change.
    doc.setLowAlmVal(transmitter::kNotSetFloat);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(doc.IsCleared());

    doc.OnNewDocument();
    doc.setLowerRangeValue(transmitter::kNotSetFloat);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.IsCleared());
    doc.setSensorType(251);
    EXPECT_FALSE(doc.IsModified());
    doc.setUpperSensorLimit(12.0f);  // untracked
    EXPECT_FALSE(doc.IsModified());

    doc.transmitter().upperRangeValueFailed = 1;
    doc.setUpperRangeValue(100.0f);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_FALSE(doc.upperRangeValueFailed());
    EXPECT_TRUE(doc.CanSave());
}

TEST_F(DocumentTest, TagSetterAndGetter)
{
    CVeskDoc::Tag tag{u'T', u't', u'-', u'1', 0, 0, 0, 0, 0};
    doc.setTag(tag);
    EXPECT_TRUE(doc.IsModified());
    // Lower-case letters come back as spaces.
    const CVeskDoc::Tag shown = doc.tag();
    EXPECT_EQ(shown[0], u'T');
    EXPECT_EQ(shown[1], u' ');
    EXPECT_EQ(shown[3], u'1');
    EXPECT_EQ(shown[4], u'\0');

    doc.OnNewDocument();
    doc.setTag(CVeskDoc::Tag{});
    EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocumentTest, HardwareRevisionShowsItsUpperFiveBits)
{
    doc.transmitter().hardwareRev = 0x21;
    EXPECT_EQ(doc.hardwareRev(), 4);
}

TEST_F(DocumentTest, LoadingAndSavingStates)
{
    const QString path = WriteFile("b.4410", ValidRecord());
    ASSERT_TRUE(doc.OnOpenDocument(path));
    EXPECT_FALSE(doc.IsCleared());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), path);
    EXPECT_TRUE(doc.HasUnsavedData());
    EXPECT_EQ(doc.sensorLimitUnits(), doc.rangeUnits());

    const QString copy = dir.filePath("copy.4410");
    doc.setDamping(2.0f);
    ASSERT_TRUE(doc.OnSaveDocument(copy));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), copy);
    QFile saved(copy);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.size(), kConfigRecordSize);
}

TEST_F(DocumentTest, AbandonedLoadsLeaveANewDocument)
{
    QByteArray version321 = ValidRecord();
    version321[4] = 0x41;
    ASSERT_FALSE(doc.OnOpenDocument(WriteFile("v.4410", version321)));
    EXPECT_EQ(user.ids(), (std::vector<int>{910, kNoStringId}));
    EXPECT_EQ(user.messages[1].text, kFailedToOpenDocument);
    EXPECT_TRUE(doc.IsCleared());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_TRUE(doc.GetPathName().isEmpty());
    EXPECT_EQ(doc.sensorType(), 251);

    user.messages.clear();
    ASSERT_FALSE(doc.OnOpenDocument(WriteFile("s.4410", ValidRecord().left(102))));
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, kUnexpectedFileFormat);
    EXPECT_EQ(user.messages[0].icon, hart::MessageIcon::Exclamation);

    user.messages.clear();
    ASSERT_FALSE(doc.OnOpenDocument(dir.filePath("missing.4410")));
    EXPECT_EQ(user.messages.size(), 1u);
}

TEST_F(DocumentTest, EmptyFileOpensAsAClearedDocumentSilently)
{
    const QString path = WriteFile("empty.4410", {});
    ASSERT_TRUE(doc.OnOpenDocument(path));
    EXPECT_TRUE(user.messages.empty());
    EXPECT_TRUE(doc.IsCleared());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetPathName(), path);
}

TEST_F(DocumentTest, FailedSaveKeepsTheOldFileAndTheModifiedState)
{
    const QByteArray original = ValidRecord();
    const QString path = WriteFile("keep.4410", original);
    doc.setDamping(7.0f);

    // The file system refuses writes past 50 bytes, as a full disk would.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit tiny = previous;
    tiny.rlim_cur = 50;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    const bool saved = doc.OnSaveDocument(path);
    setrlimit(RLIMIT_FSIZE, &previous);

    EXPECT_FALSE(saved);
    EXPECT_TRUE(doc.IsModified());
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text.substr(0, user.messages[0].text.find('\n')),
              kFailedToSaveDocument);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), original);
}

TEST_F(DocumentTest, PortSettingsStoresTheChoiceAndClosesThePort)
{
    std::vector<int> stored;
    doc.storePortNumber = [&](int port) { stored.push_back(port); };
    doc.OnPortSettings(std::nullopt);
    EXPECT_TRUE(stored.empty());
    doc.OnPortSettings(5);
    EXPECT_EQ(stored, (std::vector<int>{5}));
}

TEST_F(DocumentTest, NewAndOpenClearEveryParameterOfTheTableButTheKeptOnes)
{
    // Clearing keeps the calibration values, both assembly dates and the identification codes.
    const std::set<std::string_view> kept = {
        "trimUnits",     "calibrationMode", "calibrationType",  "finalAsmDay",   "finalAsmMonth",
        "finalAsmYear",  "deviceType",      "manufacturerCode", "deviceId",      "xmtrAsmDay",
        "xmtrAsmMonth",  "xmtrAsmYear",     "fixedCurrent",     "measured4mA",   "measured20mA",
        "calUpperBound", "calLowerBound",   "trimUpperPoint",   "trimLowerPoint"};
    transmitter::CTransmitter& t = doc.transmitter();
    const QString path = WriteFile("any.4410", ValidRecord());
    for (const bool open : {false, true}) {
        SCOPED_TRACE(open ? "open" : "new");
        for (const Parameter& parameter : kParameters) {
            SetForeign(t, parameter);
            if (parameter.failed) t.*parameter.failed = 1;
        }
        if (open)
            ASSERT_TRUE(doc.OnOpenDocument(path));
        else
            doc.OnNewDocument();
        for (const Parameter& parameter : kParameters) {
            SCOPED_TRACE(std::string(parameter.name));
            const bool keeps = kept.contains(parameter.name);
            EXPECT_EQ(ClearedWithTheDocument(parameter), !keeps);
            if (parameter.failed) {
                EXPECT_EQ(t.*parameter.failed, keeps ? 1 : 0);
            }
            if (open && parameter.fileOffset != kNotInFile)
                EXPECT_NE(HeldBy(t, parameter), Held::Foreign);
            else
                EXPECT_EQ(HeldBy(t, parameter), keeps ? Held::Foreign : Held::NotSet);
        }
    }
}
