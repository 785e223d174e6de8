// tarvel4410-cli over HART-IP to the simulated transmitter's server, with Wireshark's
// decoder (tshark) as the independent judge of what went over the network.
#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "simulator/multidrop_setup.h"
#include "simulator/simulator_host.h"

namespace {

struct CliRun {
    int exitCode;
    QString output;
};

CliRun Cli(const QStringList& args)
{
    QProcess process;
    process.start(qEnvironmentVariable("TARVEL4410_BIN_DIR") + "/tarvel4410-cli", args);
    EXPECT_TRUE(process.waitForFinished(60000));
    return {process.exitCode(),
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())};
}

TEST(HartIpCli, RefusesAnEndpointItCannotUse)
{
    const struct {
        QStringList args;
        const char* error;
    } cases[] = {
        {{"--hart-ip"}, "--hart-ip needs HOST[:PORT]"},
        {{"--hart-ip", "gw:0", "check"}, "--hart-ip takes HOST[:PORT]"},
        {{"--hart-ip", "gw:", "check"}, "--hart-ip takes HOST[:PORT]"},
        {{"--port", "3", "--hart-ip", "gw", "check"}, "--port and --hart-ip exclude each other"},
        {{"--tcp", "check"}, "--tcp needs --hart-ip"},
    };
    for (const auto& c : cases) {
        const CliRun run = Cli(c.args);
        EXPECT_EQ(run.exitCode, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.output.contains(c.error)) << run.output.toStdString();
    }
}

TEST(HartIpCli, NoServerIsAFailureWithItsMessage)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    // Port 9 (discard) on loopback: nothing listens there.
    const CliRun run = Cli({"--hart-ip", "127.0.0.1:9", "--tcp", "check"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.output.contains("[926] Нельзя открыть сеанс HART-IP"))
        << run.output.toStdString();
}

// A multidrop line behind the server: the scan finds its devices and --address picks one, the
// program-wide options standing after the command as well.
TEST(HartIpCli, AddressReachesADeviceOnAMultidropLineBehindTheServer)
{
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    sim::SimulatorHost host(sim::MultidropSetups({}, 3));
    const auto port = host.startHartIp({.address = "127.0.0.1", .port = 0});
    ASSERT_TRUE(port) << host.error();
    const QString endpoint = "127.0.0.1:" + QString::number(*port);

    const CliRun scan = Cli({"scan", "--hart-ip", endpoint, "--tcp"});
    EXPECT_EQ(scan.exitCode, 0) << scan.output.toStdString();
    EXPECT_EQ(scan.output.count(QString::fromUtf8("Тарвел-4410 (252)")), 3)
        << scan.output.toStdString();

    host.clearRequests();
    const CliRun check = Cli({"check", "--address", "2", "--hart-ip", endpoint});
    EXPECT_EQ(check.exitCode, 0) << check.output.toStdString();
    EXPECT_TRUE(check.output.contains("[935]")) << check.output.toStdString();
    int shortFrames = 0;
    for (const sim::LoggedRequest& request : host.requests()) {
        if (request.longFrame) continue;
        ++shortFrames;
        EXPECT_EQ(request.requestFrame.at(1) & 0x3F, 2);
    }
    EXPECT_GT(shortFrames, 0);
}

// One HART-IP message as tshark decodes it.
struct Decoded {
    QString type, id, sequence, command, responseCode;
    bool operator==(const Decoded&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Decoded& d)
{
    return out << (QStringList{d.type, d.id, d.sequence, d.command, d.responseCode}.join('/'))
                      .toStdString();
}

// A loopback capture of one port. The kernel hands packets to dumpcap in blocks, the last
// one lost when it stops: probes to a second port, in the filter but never decoded, go out
// until dumpcap has counted twice more than when asked, so everything before is in the file.
class Capture {
public:
    Capture(const QString& file, std::uint16_t port)
    {
        m_probe = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        m_self.sin_family = AF_INET;
        m_self.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof m_self;
        ::bind(m_probe, reinterpret_cast<sockaddr*>(&m_self), sizeof m_self);
        getsockname(m_probe, reinterpret_cast<sockaddr*>(&m_self), &length);
        m_process.setReadChannel(QProcess::StandardError);
        m_process.start("dumpcap", {"-i", "lo", "-f",
                                    QString("udp port %1 or tcp port %1 or udp port %2")
                                        .arg(port)
                                        .arg(ntohs(m_self.sin_port)),
                                    "-w", file});
        EXPECT_TRUE(settle(1)) << m_said.toStdString();
    }
    ~Capture() { ::close(m_probe); }

    void stop()
    {
        EXPECT_TRUE(settle(2)) << m_said.toStdString();
        kill(static_cast<pid_t>(m_process.processId()), SIGINT);
        EXPECT_TRUE(m_process.waitForFinished(10000));
    }

private:
    // Probes until dumpcap's packet count has gone up `rises` times.
    bool settle(int rises)
    {
        int last = count();
        for (int tries = 0; tries < 100 && rises > 0; ++tries) {
            ::sendto(m_probe, "probe", 5, 0, reinterpret_cast<sockaddr*>(&m_self), sizeof m_self);
            m_process.waitForReadyRead(100);
            m_said += m_process.readAllStandardError();
            if (count() > last) {
                last = count();
                --rises;
            }
        }
        return rises == 0;
    }
    int count() const
    {
        const qsizetype at = m_said.lastIndexOf("Packets: ");
        return at < 0 ? -1 : m_said.mid(at + 9).split(' ').first().trimmed().toInt();
    }

    QProcess m_process;
    QByteArray m_said;
    int m_probe = -1;
    sockaddr_in m_self{};
};

QString Tshark(const QStringList& args)
{
    QProcess process;
    process.start("tshark", args);
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(HartIpCli, AFullReadIsHartIpAsWiresharkDecodesIt)
{
    if (QStandardPaths::findExecutable("tshark").isEmpty() ||
        QStandardPaths::findExecutable("dumpcap").isEmpty())
        GTEST_SKIP() << "needs tshark (Debian package tshark)";
    for (const bool tcp : {false, true}) {
        SCOPED_TRACE(tcp ? "TCP" : "UDP");
        QTemporaryDir folder;
        qputenv("XDG_CONFIG_HOME", folder.path().toLocal8Bit());
        sim::SimulatorSetup setup;
        setup.process.noise = 0;
        sim::SimulatorHost host(setup);
        const auto port = host.startHartIp({.address = "127.0.0.1", .port = 0});
        ASSERT_TRUE(port) << host.error();
        const QString capture = folder.filePath("read.pcapng");
        Capture dumpcap(capture, *port);
        QStringList args{"--hart-ip", QString("127.0.0.1:%1").arg(*port)};
        if (tcp) args << "--tcp";
        const CliRun run = Cli(args << "read" << folder.filePath("tt.4410"));
        dumpcap.stop();
        ASSERT_EQ(run.exitCode, 0) << run.output.toStdString();
        EXPECT_TRUE(QFile::exists(folder.filePath("tt.4410")));

        // What was sent, in order: the session initiate, a PDU for each command the device
        // received, the session close; each request followed by its response.
        std::vector<Decoded> expected;
        int sequence = 1;
        auto exchange = [&](const QString& id, const QString& command) {
            const QString number = QString::number(sequence++);
            expected.push_back({"0", id, number, command, ""});
            expected.push_back({"1", id, number, command, command.isEmpty() ? "" : "0"});
        };
        exchange("0", "");
        for (std::uint8_t command : host.commands()) exchange("3", QString::number(command));
        exchange("1", "");

        const QString decodeAs =
            QString(tcp ? "tcp.port==%1,hart_ip" : "udp.port==%1,hart_ip").arg(*port);
        const QString fields = Tshark({"-r", capture,
                                       "-d", decodeAs,
                                       "-Y", "hart_ip",
                                       "-T", "fields",
                                       "-E", "separator=;",
                                       "-e", "hart_ip.message_type",
                                       "-e", "hart_ip.message_id",
                                       "-e", "hart_ip.transaction_id",
                                       "-e", "hart_ip.pt.command",
                                       "-e", "hart_ip.pt.response_code"});
        std::vector<Decoded> decoded;
        for (const QString& line : fields.split('\n', Qt::SkipEmptyParts)) {
            const QStringList f = line.split(';');
            ASSERT_EQ(f.size(), 5) << line.toStdString();
            decoded.push_back({f[0], f[1], f[2], f[3], f[4]});
        }
        EXPECT_EQ(decoded, expected);
        EXPECT_GT(host.commands().size(), 10u);
        EXPECT_EQ(Tshark({"-r", capture, "-d", decodeAs, "-Y", "_ws.malformed"}), "");
    }
}

}  // namespace
