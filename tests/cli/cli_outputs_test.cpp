// What the command line writes, and where it refuses to: every output of every command through
// the same rules, seen from outside on real files, FIFOs, sockets and device nodes.
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>

#include "cli/cli_fixture.h"
#include "document/csv_log.h"
#include "support/file_bytes.h"

namespace {

using namespace std::chrono_literals;

// What a refusal must leave as it was: the kind of file, its inode, its rights, its bytes.
struct Snapshot {
    struct stat status {};
    QByteArray bytes;

    static Snapshot Of(const QString& path)
    {
        Snapshot snapshot;
        ::lstat(path.toLocal8Bit().constData(), &snapshot.status);
        if (S_ISREG(snapshot.status.st_mode)) snapshot.bytes = FileBytes(path);
        return snapshot;
    }
    bool operator==(const Snapshot& other) const
    {
        return status.st_mode == other.status.st_mode && status.st_ino == other.status.st_ino &&
               status.st_rdev == other.status.st_rdev && bytes == other.bytes;
    }
};

class CliOutputTest : public CliTest {
protected:
    // The outputs, each with the command that writes it to path.
    struct Output {
        const char* name;
        std::function<QStringList(const QString& path)> args;
    };

    std::vector<Output> Outputs()
    {
        const QString config = WriteConfiguration([](auto&) {});
        return {
            {"read FILE",
             [this](const QString& p) {
                 return QStringList{"--port", com, "read", p};
             }},
            {"print --pdf OUT",
             [config](const QString& p) {
                 return QStringList{"print", config, "--pdf", p};
             }},
            {"--trace FILE",
             [this](const QString& p) {
                 return QStringList{"--port", com, "check", "--trace", p};
             }},
            {"monitor --csv FILE",
             [this](const QString& p) {
                 return QStringList{"--port", com, "monitor", "--cycles", "1", "--csv", p};
             }},
        };
    }

    QString Make(const QString& name, const std::function<int(const QByteArray&)>& make)
    {
        const QString path = files.filePath(name);
        EXPECT_EQ(make(path.toLocal8Bit()), 0) << name.toStdString() << ": " << strerror(errno);
        return path;
    }

    QStringList Leftovers() const
    {
        return QDir(files.path()).entryList({".*.*"}, QDir::Files | QDir::Hidden);
    }
};

}  // namespace

// A device, a FIFO nobody reads, a socket, a folder or a read-only file in the output's
// place: each output refuses it with the path and the reason, ends with status 1, leaves it
// as it was and nothing beside it.
TEST_F(CliOutputTest, WhatIsNoFileToReplaceIsRefusedAndLeftAsItIs)
{
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    struct Target {
        QString path;
        QString reason;
    };
    const Target targets[] = {
        {Make("null",
              [](const QByteArray& p) { return ::mknod(p, S_IFCHR | 0666, makedev(1, 3)); }),
         "it is a device, not a file"},
        {Make("fifo", [](const QByteArray& p) { return ::mkfifo(p, 0644); }), ""},
        {Make("socket",
              [listener](const QByteArray& p) {
                  sockaddr_un address{};
                  address.sun_family = AF_UNIX;
                  std::strncpy(address.sun_path, p.constData(), sizeof address.sun_path - 1);
                  return ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
              }),
         "it is a socket, not a file"},
        {Make("folder", [](const QByteArray& p) { return ::mkdir(p, 0755); }),
         "it is a folder, not a file"},
        {Make("read-only",
              [](const QByteArray& p) {
                  const int fd = ::open(p, O_WRONLY | O_CREAT, 0444);
                  return fd < 0 ? -1 : ::write(fd, "old", 3) == 3 ? ::close(fd) : -1;
              }),
         "the file is read-only"},
    };
    for (const Output& output : Outputs()) {
        const bool streamed =
            QString(output.name).contains("--trace") || QString(output.name).contains("--csv");
        for (const Target& target : targets) {
            SCOPED_TRACE(std::string(output.name) + " onto " + target.path.toStdString());
            const Snapshot before = Snapshot::Of(target.path);
            host->clearRequests();
            const auto started = std::chrono::steady_clock::now();
            const CliRun run = Cli(output.args(target.path));
            EXPECT_EQ(run.exitCode, 1) << run.lines.join('\n').toStdString();
            EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
            // A FIFO may take a stream, but only with a reader.
            const QString reason = !target.reason.isEmpty() ? target.reason
                                   : streamed               ? "nobody reads from the FIFO"
                                                            : "it is a FIFO, not a file";
            const QString said = run.lines.join('\n') + run.errors;
            EXPECT_TRUE(said.contains(target.path + "\": " + reason) ||
                        said.contains(target.path + ": " + reason))
                << said.toStdString();
            EXPECT_TRUE(Snapshot::Of(target.path) == before);
            EXPECT_EQ(Leftovers(), QStringList());
            // A stream is opened before the transmitter is sought.
            if (streamed) {
                EXPECT_TRUE(host->commands().empty());
            }
        }
    }
    ::close(listener);
}

// A symbolic link is written through: the link stays, its target is replaced whole. A new
// file is never writable by everybody and follows the umask.
TEST_F(CliOutputTest, LinksAreWrittenThroughAndNewFilesKeepSaneRights)
{
    int index = 0;
    for (const Output& output : Outputs()) {
        SCOPED_TRACE(output.name);
        const QString target = files.filePath(QString("target%1").arg(index));
        const QString link = files.filePath(QString("link%1").arg(index++));
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        ASSERT_TRUE(old.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        ASSERT_TRUE(QFile::link(QFileInfo(target).fileName(), link));

        const CliRun run = Cli(output.args(link));
        EXPECT_EQ(run.exitCode, 0)
            << run.lines.join('\n').toStdString() << run.errors.toStdString();
        EXPECT_TRUE(QFileInfo(link).isSymLink());
        EXPECT_NE(FileBytes(target), QByteArray("old"));
        EXPECT_GT(FileBytes(target).size(), 10);
        struct stat status {};
        ASSERT_EQ(::stat(target.toLocal8Bit().constData(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0640u) << "the old file's rights";

        for (const auto& [mask, mode] : {std::pair{0000, 0664}, std::pair{0077, 0600}}) {
            const QString fresh = files.filePath(QString("new%1-%2").arg(index).arg(mask));
            const mode_t umaskInChild = static_cast<mode_t>(mask);
            EXPECT_EQ(
                Cli(output.args(fresh), {}, [umaskInChild] { ::umask(umaskInChild); }).exitCode, 0);
            ASSERT_EQ(::stat(fresh.toLocal8Bit().constData(), &status), 0);
            EXPECT_EQ(status.st_mode & 0777, static_cast<mode_t>(mode)) << "umask " << mask;
        }
    }
    EXPECT_EQ(Leftovers(), QStringList());
}

// The streams may go to a FIFO somebody reads, and the record to standard output alone.
TEST_F(CliOutputTest, StreamsGoToAReadFifoAndTheRecordToStandardOutput)
{
    const QString fifo = Make("fifo", [](const QByteArray& p) { return ::mkfifo(p, 0600); });
    const int reader = ::open(fifo.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const CliRun traced = Cli({"--port", com, "check", "--trace", fifo});
    EXPECT_EQ(traced.exitCode, 0) << traced.errors.toStdString();
    char text[65536];
    const ssize_t count = ::read(reader, text, sizeof text);
    ::close(reader);
    ASSERT_GT(count, 0);
    EXPECT_TRUE(QByteArray(text, static_cast<int>(count)).contains(" > 02 00 F9 00 FB  249 "));
    EXPECT_TRUE(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile()) << "still the FIFO";

    const CliRun rows = Cli({"--port", com, "monitor", "--cycles", "1", "--csv", "-"});
    EXPECT_EQ(rows.exitCode, 0) << rows.errors.toStdString();
    ASSERT_EQ(rows.lines.size(), 2) << rows.lines.join('\n').toStdString();
    EXPECT_EQ(rows.lines[0], QString::fromLatin1(document::CsvHeader()).trimmed());
    EXPECT_EQ(rows.lines[1].count(','), 6);
    EXPECT_FALSE(QFile::exists(files.filePath("-")));
}

// A row is in the file whole or not at all, and the reason is the system's own: the file
// ends with the last complete row.
TEST_F(CliOutputTest, ARecordOnAFullDiskEndsWithItsLastWholeRow)
{
    const QString csv = files.filePath("trend.csv");
    const qint64 headerAndOneRow = document::CsvHeader().size() + 60;
    const CliRun limited =
        Cli({"--port", com, "monitor", "--cycles", "3", "--csv", csv}, {}, [headerAndOneRow] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlim_t bytes = static_cast<rlim_t>(headerAndOneRow);
            const rlimit limit{bytes, bytes};
            setrlimit(RLIMIT_FSIZE, &limit);
        });
    EXPECT_EQ(limited.exitCode, 1);
    EXPECT_TRUE(limited.has("[-] Failed to write \"" + csv + "\": File too large"))
        << limited.lines.join('\n').toStdString();
    const QByteArray written = FileBytes(csv);
    EXPECT_TRUE(written.endsWith('\n')) << written.toStdString();
    EXPECT_EQ(written.count('\n'), 2) << written.toStdString();

    // A file system that is full: the record is not begun, and the message says why.
    const QString disk = files.filePath("disk");
    ASSERT_TRUE(QDir().mkdir(disk));
    if (::mount("tmpfs", disk.toLocal8Bit().constData(), "tmpfs", 0, "size=4k") != 0)
        GTEST_SKIP() << "no tmpfs can be mounted here: " << strerror(errno);
    {
        QFile filler(disk + "/filler");
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        filler.write(QByteArray(4096, 'x'));
    }
    const CliRun full = Cli({"--port", com, "monitor", "--cycles", "1", "--csv", disk + "/t.csv"});
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_TRUE(full.has("[-] Failed to write \"" + disk + "/t.csv\": No space left on device"))
        << full.lines.join('\n').toStdString();
    EXPECT_EQ(QDir(disk).entryList(QDir::Files | QDir::Hidden), QStringList{"filler"});
    ::umount2(disk.toLocal8Bit().constData(), MNT_DETACH);
}

// A trace onto a file the command reads or writes would destroy it: a usage error, whether
// the names are the same, lead to the same file, or differ only in spelling.
TEST_F(CliOutputTest, ATraceOntoTheCommandsOwnFileIsAUsageError)
{
    const QString config = WriteConfiguration([](auto&) {});
    const QString link = files.filePath("config-link");
    ASSERT_TRUE(QFile::link(config, link));
    const QString fresh = files.filePath("fresh.4410");
    const QString freshSpelledOtherwise = files.path() + "/./sub/../fresh.4410";
    ASSERT_TRUE(QDir(files.path()).mkdir("sub"));
    const QByteArray bytes = FileBytes(config);
    for (const QStringList& args : {
             QStringList{"compare", config, "--trace", config},
             QStringList{"--answer", "905=ok", "send-basic", config, "--trace", link},
             QStringList{"read", config, "--trace", config},
             QStringList{"--trace", config, "read", config},
             QStringList{"read", fresh, "--trace", freshSpelledOtherwise},
             QStringList{"monitor", "--csv", fresh, "--trace", fresh},
             QStringList{"print", config, "--pdf", link},
         }) {
        SCOPED_TRACE(args.join(' ').toStdString());
        host->clearRequests();
        const CliRun run = Cli(QStringList{"--port", com} + args);
        EXPECT_EQ(run.exitCode, 2) << run.lines.join('\n').toStdString();
        EXPECT_TRUE(run.errors.contains("name the same file")) << run.errors.toStdString();
        EXPECT_EQ(FileBytes(config), bytes);
        EXPECT_FALSE(QFile::exists(fresh));
        EXPECT_TRUE(host->commands().empty());
    }
}

// Options after the command: the program's own are taken there too, --help shows the
// command's usage, and anything else is a usage error before anything is sent or written.
TEST_F(CliOutputTest, OptionsAfterTheCommand)
{
    const QString trace = files.filePath("check.trace");
    struct Case {
        QStringList args;
        int exitCode;
        QString said;  // the start of standard output, or of standard error for a usage error
    };
    const QString usage = "usage: tarvel4410-cli [--port N | --hart-ip HOST[:PORT] [--tcp]] "
                          "[--address N] [--answer ID=BUTTON]... ";
    const Case cases[] = {
        {{"read", "--help"}, 0, usage + "read [FILE] [--trace FILE]"},
        {{"--port", com, "monitor", "-h"}, 0, usage + "monitor [--cycles N]"},
        {{"--port", com, "read", "--frobnicate"},
         2,
         "tarvel4410-cli: read: unknown option --frobnicate"},
        {{"--port", com, "read", "--", "x"}, 2, "tarvel4410-cli: read: unknown option --"},
        {{"check", "--port", com, "--trace", trace}, 0, "[935] "},
        {{"--trace", trace, "--port", com, "check"}, 0, "[935] "},
        {{"check", "--port", "0"}, 2, "tarvel4410-cli: --port takes a number from 1 to 255"},
        {{"--trace", trace, "show", trace}, 2, "tarvel4410-cli: show: unknown option --trace"},
    };
    // In the folder, so that a file named after an option would be seen.
    const QString folderBefore = QDir::currentPath();
    QDir::setCurrent(files.path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        QFile::remove(trace);
        host->clearRequests();
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.errors.toStdString();
        const QString said = c.exitCode == 2 ? run.errors : run.lines.join('\n');
        EXPECT_TRUE(said.startsWith(c.said)) << said.toStdString();
        EXPECT_EQ(QFile::exists(trace), c.said == "[935] ");
        if (c.said != "[935] ") {
            EXPECT_TRUE(host->commands().empty());
        }
        EXPECT_EQ(QDir(files.path()).entryList({"-*"}, QDir::AllEntries), QStringList());
    }
    QDir::setCurrent(folderBefore);
}
