#include <clocale>
#include <cstdio>

#include <QApplication>
#include <QIcon>
#include <QLocale>

#include "app/command_line.h"
#include "app/qt_translations.h"
#include "app/vesk_pc_app.h"

int main(int argc, char* argv[])
{
    // The usage needs no display: answered before Qt looks for one.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    if (ParseCommandLine(arguments).help) {
        std::fputs(CommandLineUsage().toLocal8Bit().constData(), stdout);
        return 0;
    }

    QApplication app(argc, argv);
    const auto qtTexts = InstallQtTranslations();
    // Numbers are written and read with the user's decimal separator.
    std::setlocale(LC_NUMERIC, "");
    QLocale::setDefault(QLocale::system());
    QApplication::setOrganizationName(QStringLiteral("Tarvel 4410 Configuration Tool"));
    QApplication::setApplicationName(QString::fromUtf8("Конфигурация датчика Тарвел-4410"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/desktop/tarvel4410-config.svg")));
    return CVeskPcApp().Run(QApplication::arguments().mid(1));
}
