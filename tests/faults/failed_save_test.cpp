// Saving where the file system refuses: a full disk, a folder without write permission, a
// read-only mount, a folder that is a file or is missing, a name taken by a folder. Each
// gives the failure message, keeps the document modified under its old name, and leaves the
// old file byte for byte and no temporary file behind.
#include <fcntl.h>
#include <functional>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "document/framework_messages.h"
#include "faults/file_fault_fixture.h"
#include "faults/file_modes_enforced.h"
#include "support/file_size_limit.h"

using namespace document;

class FailedSaveTest : public FileFaultTest {
protected:
    // The save was refused as it should be: message, state, old file, nothing left behind.
    void ExpectRefused(bool saved, const QString& folder, const QStringList& entriesBefore)
    {
        EXPECT_FALSE(saved);
        ASSERT_EQ(user.messages.size(), 1u);
        EXPECT_EQ(user.messages[0].id, kNoStringId);
        EXPECT_EQ(user.messages[0].text.substr(0, user.messages[0].text.find('\n')),
                  kFailedToSaveDocument);
        EXPECT_EQ(user.messages[0].icon, hart::MessageIcon::Exclamation);
        ExpectPreviousDocument();
        EXPECT_EQ(ReadFile(previousPath), previousBytes);
        EXPECT_EQ(Entries(folder), entriesBefore);
    }

    void SetUp() override
    {
        previousBytes = ReadFile(previousPath);
        ASSERT_EQ(previousBytes.size(), kConfigRecordSize);
    }

    QByteArray previousBytes;
};

TEST_F(FailedSaveTest, FullDiskKeepsTheOldFile)
{
    // The record is 103 bytes: any limit below refuses it, 103 itself lets it through.
    for (rlim_t limit : {0, 1, 50, 102}) {
        for (const bool sameName : {true, false}) {
            SCOPED_TRACE(std::to_string(limit) + (sameName ? " bytes, Save" : " bytes, Save As"));
            user.messages.clear();
            const QStringList before = Entries(dir.path());
            const QString target = sameName ? previousPath : dir.filePath("new.4410");
            bool saved = true;
            {
                const FileSizeLimit full(limit);
                ASSERT_TRUE(full.set());
                saved = doc.OnSaveDocument(target);
            }
            ExpectRefused(saved, dir.path(), before);
        }
    }

    const FileSizeLimit justEnough(kConfigRecordSize);
    EXPECT_TRUE(doc.OnSaveDocument(previousPath));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(ReadFile(previousPath), StoreConfiguration(doc.transmitter()));
}

TEST_F(FailedSaveTest, FoldersThatCannotTakeTheFile)
{
    const QString plainFile = WriteFile("plain", "not a folder");
    QDir(dir.path()).mkdir("taken.4410");
    struct Case {
        const char* name;
        QString target;
    } cases[] = {
        {"the folder is a file", plainFile + "/new.4410"},
        {"the folder is missing", dir.filePath("missing/new.4410")},
        {"the name is a folder's", dir.filePath("taken.4410")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        user.messages.clear();
        const QStringList before = Entries(dir.path());
        const bool saved = doc.OnSaveDocument(c.target);
        ExpectRefused(saved, dir.path(), before);
    }
    EXPECT_TRUE(QFileInfo(dir.filePath("taken.4410")).isDir());
    EXPECT_EQ(ReadFile(plainFile), QByteArray("not a folder"));
}

TEST_F(FailedSaveTest, FolderWithoutWritePermission)
{
    // The old file itself stays writable: only the folder refuses new names and renames.
    const QStringList before = Entries(dir.path());
    ASSERT_EQ(::chmod(dir.path().toLocal8Bit().constData(), 0555), 0);
    bool saved = true;
    {
        const FileModesEnforced asAnyUser;
        saved = doc.OnSaveDocument(previousPath);
    }
    ::chmod(dir.path().toLocal8Bit().constData(), 0700);
    ExpectRefused(saved, dir.path(), before);
}

// A folder on a read-only mount refuses every write with EROFS, root or not. The mount is
// made in a child process with a mount namespace of its own, so nothing outside the test
// sees it; where that is not permitted, the case is skipped.
TEST_F(FailedSaveTest, FolderOnAReadOnlyMount)
{
    enum ChildResult {
        kRefused = 0,
        kSaved = 1,
        kWrongMessage = 2,
        kOldFileChanged = 3,
        kLeftovers = 4,
        kNoMount = 77,
    };
    const QByteArray folder = dir.path().toLocal8Bit();
    const QStringList before = Entries(dir.path());

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Private first, so that neither mount reaches the namespace the tests run in.
        const char* at = folder.constData();
        const bool mounted =
            unshare(CLONE_NEWNS) == 0 &&
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
            mount(at, at, nullptr, MS_BIND, nullptr) == 0 &&
            mount(nullptr, at, nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
        if (!mounted) _exit(kNoMount);
        user.messages.clear();
        if (doc.OnSaveDocument(previousPath)) _exit(kSaved);
        if (user.messages.size() != 1 ||
            user.messages[0].text.rfind(std::string(kFailedToSaveDocument) + '\n', 0) != 0 ||
            !doc.IsModified())
            _exit(kWrongMessage);
        if (ReadFile(previousPath) != previousBytes) _exit(kOldFileChanged);
        _exit(Entries(dir.path()) == before ? kRefused : kLeftovers);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kNoMount)
        GTEST_SKIP() << "no private read-only mount can be made here";
    EXPECT_EQ(WEXITSTATUS(status), kRefused)
        << "0 refused, 1 saved, 2 wrong message or state, 3 old file changed, "
           "4 files left behind";
    EXPECT_EQ(ReadFile(previousPath), previousBytes);
}
