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
