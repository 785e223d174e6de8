#include "main_menu.h"

namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

}  // namespace

const std::vector<MenuDefinition>& MainMenu()
{
    static const std::vector<MenuDefinition> menu = {
        {U("&Файл"),
         {
             {kCmdFileNew, U("&Новый\tCtrl+N"), QStringLiteral("Ctrl+N")},
             {kCmdFileOpen, U("&Открыть...\tCtrl+O"), QStringLiteral("Ctrl+O")},
             {kCmdFileSave, U("&Сохранить\tCtrl+S"), QStringLiteral("Ctrl+S")},
             {kCmdFileSaveAs, U("Сохранить &как..."), {}},
             {kSeparator, {}, {}},
             {kCmdRecentFiles, U("Недавние файлы"), {}},
             {kSeparator, {}, {}},
             {kCmdAppExit, U("В&ыход"), {}},
         }},
        {U("&Соединение"),
         {
             {kCmdReadFromDevice, U("&Загрузить из устройства"), {}},
             {kSeparator, {}, {}},
             {kCmdSendBasic, U("&Отправить основные настройки"), {}},
             {kCmdSendAdvanced, U("Отправить дополнительные настройки"), {}},
             {kSeparator, {}, {}},
             {kCmdPortSettings, U("Настройки &порта"), {}},
             {kCmdCheckConnection, U("Проверить соединение"), {}},
         }},
        {U("Справка"),
         {
             {kCmdAbout, U("О программе..."), {}},
         }},
    };
    return menu;
}
