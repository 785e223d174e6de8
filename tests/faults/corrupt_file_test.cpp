// Opening corrupt, truncated and otherwise damaged .4410 files: each gives its message and
// leaves the document as the file rules say, never a crash or half-loaded values. A file
// whose contents are wrong (magic, version, length) ends in a new, empty, untitled document;
// a file that cannot be read at all leaves the open document as it was.
#include <bit>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "document/framework_messages.h"
#include "faults/deadline.h"
#include "faults/file_fault_fixture.h"
#include "faults/file_modes_enforced.h"

using namespace document;
using hart::MessageIcon;

namespace {

constexpr int kVersionMessage = 910;

enum class Outcome {
    Loaded,        // the record's values, the file's name, nothing modified
    LoadedEmpty,   // a zero-length file: opened, cleared, the file's name
    WrongFormat,   // "Unexpected file format." and a new document
    WrongVersion,  // message 910, then "Failed to open document.", and a new document
    Unreadable,    // "Failed to open document." and the previous document untouched
};

struct FileCase {
    std::string name;
    std::function<QString()> make;  // writes the file (or not) and gives its path
    Outcome outcome;
    // Extra checks of a loaded document.
    std::function<void(const CVeskDoc&)> check = {};
};

QByteArray WithInt32(QByteArray record, int offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) record[offset + i] = static_cast<char>(value >> (8 * i));
    return record;
}

QByteArray WithFloat(QByteArray record, int offset, float value)
{
    return WithInt32(std::move(record), offset, std::bit_cast<std::uint32_t>(value));
}

}  // namespace

class CorruptFileTest : public FileFaultTest {
protected:
    void ExpectOutcome(const FileCase& c, bool opened, const QString& path)
    {
        using Shown = std::pair<int, MessageIcon>;
        std::vector<Shown> shown;
        for (const auto& m : user.messages) shown.emplace_back(m.id, m.icon);

        switch (c.outcome) {
        case Outcome::Loaded:
        case Outcome::LoadedEmpty:
            EXPECT_TRUE(opened);
            EXPECT_TRUE(shown.empty());
            EXPECT_EQ(doc.GetPathName(), path);
            EXPECT_FALSE(doc.IsModified());
            EXPECT_EQ(doc.IsCleared(), c.outcome == Outcome::LoadedEmpty);
            if (c.outcome == Outcome::LoadedEmpty) {
                EXPECT_EQ(doc.sensorType(), 251);
            }
            if (c.check) c.check(doc);
            break;
        case Outcome::WrongFormat:
        case Outcome::WrongVersion:
            EXPECT_FALSE(opened);
            if (c.outcome == Outcome::WrongFormat) {
                EXPECT_EQ(shown, (std::vector<Shown>{{kNoStringId, MessageIcon::Exclamation}}));
                if (!user.messages.empty()) {
                    EXPECT_EQ(user.messages[0].text, kUnexpectedFileFormat);
                }
            } else {
                EXPECT_EQ(shown, (std::vector<Shown>{{kVersionMessage, MessageIcon::Error},
                                                     {kNoStringId, MessageIcon::Exclamation}}));
                if (shown.size() == 2) {
                    EXPECT_EQ(user.messages[1].text, kFailedToOpenDocument);
                }
            }
            // A new document: nothing of the file and nothing of the previous one.
            EXPECT_TRUE(doc.GetPathName().isEmpty());
            EXPECT_FALSE(doc.IsModified());
            EXPECT_TRUE(doc.IsCleared());
            EXPECT_EQ(doc.sensorType(), 251);
            EXPECT_TRUE(std::isnan(doc.damping()));
            EXPECT_EQ(doc.tag()[0], u'\0');
            break;
        case Outcome::Unreadable:
            EXPECT_FALSE(opened);
            EXPECT_EQ(shown, (std::vector<Shown>{{kNoStringId, MessageIcon::Exclamation}}));
            if (!user.messages.empty()) {
                EXPECT_EQ(user.messages[0].text, kFailedToOpenDocument);
            }
            ExpectPreviousDocument();
            break;
        }
    }

    std::vector<FileCase> Cases()
    {
        const QByteArray record = ValidRecord();
        std::vector<FileCase> cases;
        auto file = [this](QString name, QByteArray bytes) {
            return [this, name, bytes] { return WriteFile(name, bytes); };
        };

        // The magic number: each byte spoilt, and the right number in the wrong byte order.
        for (int i = 0; i < 4; ++i) {
            QByteArray spoilt = record;
            spoilt[i] = static_cast<char>(spoilt[i] ^ 0xFF);
            cases.push_back({"magic byte " + std::to_string(i), file("magic.4410", spoilt),
                             Outcome::WrongFormat});
        }
        cases.push_back({"magic big-endian", file("magic.4410", WithInt32(record, 0, 0x51926854)),
                         Outcome::WrongFormat});

        // Every version but 322, also 322 in the wrong byte order and with high bits set.
        for (std::uint32_t version :
             {0u, 1u, 321u, 323u, 0x42010000u, 0x00010142u, 0xFFFFFFFFu, 0x80000142u})
            cases.push_back({"version " + std::to_string(static_cast<std::int32_t>(version)),
                             file("version.4410", WithInt32(record, 4, version)),
                             Outcome::WrongVersion});

        // Every length short of the whole record. The version is checked before the length,
        // so a short file with a wrong version reports the version.
        const QByteArray otherVersion = WithInt32(record, 4, 321);
        for (int length = 0; length < kConfigRecordSize; ++length) {
            cases.push_back({"first " + std::to_string(length) + " bytes",
                             file("short.4410", record.left(length)),
                             length == 0 ? Outcome::LoadedEmpty : Outcome::WrongFormat});
            if (length >= 8)
                cases.push_back({"first " + std::to_string(length) + " bytes, version 321",
                                 file("short.4410", otherVersion.left(length)),
                                 Outcome::WrongVersion});
        }

        // Bytes after the record are ignored, however many.
        for (int extra : {1, 4096, 1 << 20})
            cases.push_back({std::to_string(extra) + " bytes after the record",
                             file("long.4410", record + QByteArray(extra, '\xA5')), Outcome::Loaded,
                             [](const CVeskDoc& d) {
                                 EXPECT_EQ(d.upperRangeValue(), 150.0f);
                                 EXPECT_EQ(d.damping(), kPreviousDamping);
                             }});

        // A tag without its terminating zero, and characters the tag cannot show.
        QByteArray unterminated = record;
        for (int i = 8; i < 26; i += 2) {
            unterminated[i] = 'A';
            unterminated[i + 1] = 0;
        }
        cases.push_back({"tag not terminated", file("tag.4410", unterminated), Outcome::Loaded,
                         [](const CVeskDoc& d) {
                             const auto tag = d.tag();
                             EXPECT_EQ(std::u16string(tag.data(), 8), u"AAAAAAAA");
                             EXPECT_EQ(tag[8], u'\0');
                         }});
        QByteArray oddCharacters = record;
        for (int i = 8; i < 26; ++i) oddCharacters[i] = '\xFF';
        cases.push_back({"tag of U+FFFF characters", file("tag.4410", oddCharacters),
                         Outcome::Loaded, [](const CVeskDoc& d) {
                             const auto tag = d.tag();
                             EXPECT_EQ(std::u16string(tag.data(), 8), u"        ");
                             EXPECT_EQ(tag[8], u'\0');
                         }});

        // Values no page offers load as they are; nothing is range-checked on loading.
        QByteArray outOfRange = WithInt32(WithInt32(record, 26, 0xFFFFFFFFu), 34, 0x7FFFFFFFu);
        outOfRange = WithFloat(WithFloat(outOfRange, 38, std::numeric_limits<float>::infinity()),
                               42, std::numeric_limits<float>::quiet_NaN());
        cases.push_back({"values out of every range", file("range.4410", outOfRange),
                         Outcome::Loaded, [](const CVeskDoc& d) {
                             EXPECT_EQ(d.sensorType(), -1);
                             EXPECT_EQ(d.rangeUnits(), 0x7FFFFFFF);
                             EXPECT_EQ(d.sensorLimitUnits(), 0x7FFFFFFF);
                             EXPECT_TRUE(std::isinf(d.lowerRangeValue()));
                             EXPECT_TRUE(std::isnan(d.upperRangeValue()));
                         }});

        // Files that cannot be read leave the open document alone.
        cases.push_back(
            {"missing file", [this] { return dir.filePath("missing.4410"); }, Outcome::Unreadable});
        cases.push_back({"a folder",
                         [this] {
                             QDir(dir.path()).mkdir("folder.4410");
                             return dir.filePath("folder.4410");
                         },
                         Outcome::Unreadable});
        cases.push_back({"no read permission",
                         [this, record] {
                             const QString path = WriteFile("locked.4410", record);
                             ::chmod(path.toLocal8Bit().constData(), 0);
                             return path;
                         },
                         Outcome::Unreadable});
        return cases;
    }
};

TEST_F(CorruptFileTest, EachDamageGivesItsMessageAndItsDocument)
{
    for (const FileCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        // Every case starts from the previous file, open and edited.
        user.messages.clear();
        ASSERT_TRUE(doc.OnOpenDocument(previousPath));
        doc.setDamping(kEditedDamping);
        ASSERT_TRUE(doc.IsModified());

        const QString path = c.make();
        bool opened = false;
        {
            const FileModesEnforced asAnyUser;
            opened = doc.OnOpenDocument(path);
        }
        ExpectOutcome(c, opened, path);
    }
}

// Only a regular file's first bytes are read: a device, a pipe without a writer and a folder
// are refused as unreadable at once, a huge file costs no more than a small one.
TEST_F(CorruptFileTest, WhatIsNotAPlainRecordIsRefusedWithoutReadingIt)
{
    // Sparse: the size without the disk space.
    constexpr off_t kHuge = off_t{1} << 36;
    auto huge = [this](const QString& name, const QByteArray& start) {
        const QString path = WriteFile(name, start);
        if (::truncate(path.toLocal8Bit().constData(), kHuge) != 0)
            throw std::runtime_error("no sparse file");
        return path;
    };
    const QByteArray record = ValidRecord();
    const std::vector<FileCase> cases = {
        {"an endless device", [] { return QStringLiteral("/dev/zero"); }, Outcome::Unreadable},
        {"a named pipe without a writer",
         [this] {
             const QString path = dir.filePath("pipe.4410");
             if (::mkfifo(path.toLocal8Bit().constData(), 0600) != 0)
                 throw std::runtime_error("no fifo");
             return path;
         },
         Outcome::Unreadable},
        {"a huge file of zeros", [&] { return huge("zeros.4410", {}); }, Outcome::WrongFormat},
        {"a record followed by a huge tail", [&] { return huge("tail.4410", record); },
         Outcome::Loaded},
    };
    for (const FileCase& c : cases) {
        SCOPED_TRACE(c.name);
        user.messages.clear();
        ASSERT_TRUE(doc.OnOpenDocument(previousPath));
        doc.setDamping(kEditedDamping);
        const QString path = c.make();
        const bool opened =
            FinishesWithin(std::chrono::seconds(5), [&] { return doc.OnOpenDocument(path); });
        ExpectOutcome(c, opened, path);
    }
}
