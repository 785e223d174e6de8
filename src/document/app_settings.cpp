#include "document/app_settings.h"

#include <QSettings>

namespace document {
namespace {

// A key outside any group: the INI file keeps it in its [General] section.
const char* kPortKey = "PortSettings";
// Earlier versions wrote the port into a group named "General", which the INI file keeps
// as [%General].
const char* kOldPortKey = "General/PortSettings";
const char* kPollingAddressKey = "PollingAddress";
// The HART-IP endpoint, kept only while it is the port in use.
const char* kHartIpGroup = "HartIp";
const char* kHartIpHostKey = "HartIp/Host";
const char* kHartIpPortKey = "HartIp/Port";
const char* kHartIpTcpKey = "HartIp/Tcp";

QVariant StoredPort()
{
    QSettings settings = AppSettings::Store();
    if (const QVariant old = settings.value(kOldPortKey); old.isValid()) {
        if (!settings.contains(kPortKey)) settings.setValue(kPortKey, old);
        settings.remove(kOldPortKey);
        settings.sync();
    }
    return settings.value(kPortKey);
}

}  // namespace

QSettings AppSettings::Store()
{
    return QSettings(QStringLiteral("Tarvel 4410 Configuration Tool"),
                     QString::fromUtf8("Конфигурация датчика Тарвел-4410"));
}

int AppSettings::portNumber() const
{
    const QVariant stored = StoredPort();
    return stored.isValid() ? stored.toInt() : 1;
}

int AppSettings::storedPortChoice() const
{
    const QVariant stored = StoredPort();
    return stored.isValid() ? stored.toInt() : -1;
}

void AppSettings::setPortNumber(int port)
{
    QSettings settings = Store();
    settings.setValue(kPortKey, port);
    settings.remove(kOldPortKey);
    settings.remove(kHartIpGroup);
    settings.sync();
}

std::optional<hart::HartIpEndpoint> AppSettings::hartIpEndpoint() const
{
    const QSettings settings = Store();
    const QString host = settings.value(kHartIpHostKey).toString();
    if (host.isEmpty()) return std::nullopt;
    bool numeric = false;
    const int port =
        settings.value(kHartIpPortKey, hart::HartIpEndpoint::kDefaultPort).toInt(&numeric);
    if (!numeric || port < 1 || port > 65535) return std::nullopt;
    return hart::HartIpEndpoint{host.toStdString(), static_cast<std::uint16_t>(port),
                                settings.value(kHartIpTcpKey, false).toBool()};
}

void AppSettings::setHartIpEndpoint(const hart::HartIpEndpoint& endpoint)
{
    QSettings settings = Store();
    settings.setValue(kHartIpHostKey, QString::fromStdString(endpoint.host));
    settings.setValue(kHartIpPortKey, endpoint.port);
    settings.setValue(kHartIpTcpKey, endpoint.tcp);
    settings.sync();
}

int AppSettings::pollingAddress() const
{
    bool number = false;
    const int address = Store().value(kPollingAddressKey).toInt(&number);
    return number && address >= 0 && address <= hart::kHighestPollingAddress ? address : 0;
}

void AppSettings::setPollingAddress(int address)
{
    QSettings settings = Store();
    settings.setValue(kPollingAddressKey, address);
    settings.sync();
}

}  // namespace document
