#include "app_settings.h"

#include <QSettings>

namespace document {
namespace {

const char* kPortKey = "General/PortSettings";

}  // namespace

QSettings AppSettings::Store()
{
    return QSettings(QStringLiteral("Tarvel 4410 Configuration Tool"), QString::fromUtf8("Конфигурация датчика Тарвел-4410"));
}

int AppSettings::portNumber() const { return Store().value(kPortKey, 1).toInt(); }

int AppSettings::storedPortChoice() const { return Store().value(kPortKey, -1).toInt(); }

void AppSettings::setPortNumber(int port)
{
    QSettings settings = Store();
    settings.setValue(kPortKey, port);
    settings.sync();
}

}  // namespace document
