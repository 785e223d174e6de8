#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "document/app_settings.h"
#include "support/file_bytes.h"

using document::AppSettings;

namespace {

void WriteAll(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    // Qt keeps a settings file read while its size and time stay the same: each write here
    // gets a time of its own, as an edit by hand would.
    static QDateTime stamp = QDateTime::currentDateTime().addDays(-1);
    stamp = stamp.addSecs(1);
    file.flush();
    ASSERT_TRUE(file.setFileTime(stamp, QFileDevice::FileModificationTime));
}

}  // namespace

// The port lives in [General] as PortSettings; a hand-written entry there is read, and the
// [%General] entry of earlier versions is taken over once.
TEST(AppSettingsFile, PortInTheGeneralSection)
{
    QTemporaryDir home;
    setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().constData(), 1);
    const QString path = AppSettings::Store().fileName();
    ASSERT_TRUE(path.startsWith(home.path()));

    const struct {
        QByteArray file;
        int port;
        int choice;
    } cases[] = {
        {"", 1, -1},
        {"[General]\nPortSettings=7\n", 7, 7},
        {"[%General]\nPortSettings=12\n", 12, 12},
        {"[General]\nPortSettings=3\n\n[%General]\nPortSettings=14\n", 3, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        WriteAll(path, c.file);
        EXPECT_EQ(AppSettings().portNumber(), c.port);
        EXPECT_EQ(AppSettings().storedPortChoice(), c.choice);
        EXPECT_FALSE(FileBytes(path).contains("%General"));
    }
    EXPECT_TRUE(FileBytes(path).contains("[General]\nPortSettings=3"));

    AppSettings().setPortNumber(5);
    EXPECT_EQ(FileBytes(path), QByteArray("[General]\nPortSettings=5\n"));
}

// A HART-IP endpoint is stored beside the port and used until a COM port is stored again.
TEST(AppSettingsFile, HartIpEndpointUntilAPortIsChosen)
{
    QTemporaryDir home;
    setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().constData(), 1);
    EXPECT_EQ(AppSettings().hartIpEndpoint(), std::nullopt);
    AppSettings().setHartIpEndpoint({"gw.plant", 20004, true});
    EXPECT_EQ(AppSettings().hartIpEndpoint(), (hart::HartIpEndpoint{"gw.plant", 20004, true}));
    WriteAll(AppSettings::Store().fileName(), "[HartIp]\nHost=gw\nPort=70000\n");
    EXPECT_EQ(AppSettings().hartIpEndpoint(), std::nullopt) << "a port out of range is no endpoint";
    AppSettings().setHartIpEndpoint({"gw", 5094, false});
    AppSettings().setPortNumber(4);
    EXPECT_EQ(AppSettings().hartIpEndpoint(), std::nullopt);
    EXPECT_EQ(AppSettings().portNumber(), 4);
}

// The polling address sits beside the port; anything but a number from 0 to 15 reads as 0,
// the address of a loop with one transmitter.
TEST(AppSettingsFile, PollingAddressBesideThePort)
{
    QTemporaryDir home;
    setenv("XDG_CONFIG_HOME", home.path().toLocal8Bit().constData(), 1);
    const QString path = AppSettings::Store().fileName();
    const struct {
        QByteArray file;
        int address;
    } cases[] = {
        {"", 0},
        {"[General]\nPollingAddress=7\n", 7},
        {"[General]\nPollingAddress=15\n", 15},
        {"[General]\nPollingAddress=16\n", 0},
        {"[General]\nPollingAddress=-1\n", 0},
        {"[General]\nPollingAddress=seven\n", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        WriteAll(path, c.file);
        EXPECT_EQ(AppSettings().pollingAddress(), c.address);
    }
    WriteAll(path, "[General]\nPortSettings=3\n");
    AppSettings().setPollingAddress(9);
    EXPECT_EQ(FileBytes(path), QByteArray("[General]\nPollingAddress=9\nPortSettings=3\n"));
}
