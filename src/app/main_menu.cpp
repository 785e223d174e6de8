#include "app/main_menu.h"

#include "document/display_text.h"
#include "resources/string_ids/app.h"

using document::Utf8;

namespace {

using tarvel::kFrameTraceCaption;
using tarvel::kScanLineCaption;

}  // namespace

const std::vector<MenuDefinition>& MainMenu()
{
    static const std::vector<MenuDefinition> menu = {
        {Utf8("&Файл"),
         {
             {kCmdFileNew, Utf8("&Новый\tCtrl+N"), QStringLiteral("Ctrl+N")},
             {kCmdFileOpen, Utf8("&Открыть...\tCtrl+O"), QStringLiteral("Ctrl+O")},
             {kCmdFileSave, Utf8("&Сохранить\tCtrl+S"), QStringLiteral("Ctrl+S")},
             {kCmdFileSaveAs, Utf8("Сохранить &как..."), {}},
             {kSeparator, {}, {}},
             {kCmdCompareWithDevice, document::LoadedText(1450), {}},
             {kSeparator, {}, {}},
             {kCmdRecentFiles, Utf8("Недавние файлы"), {}},
             {kSeparator, {}, {}},
             {kCmdAppExit, Utf8("В&ыход"), {}},
         }},
        {Utf8("&Соединение"),
         {
             {kCmdReadFromDevice, Utf8("&Загрузить из устройства"), {}},
             {kSeparator, {}, {}},
             {kCmdSendBasic, Utf8("&Отправить основные настройки"), {}},
             {kCmdSendAdvanced, Utf8("Отправить дополнительные настройки"), {}},
             {kSeparator, {}, {}},
             {kCmdPortSettings, Utf8("Настройки &порта"), {}},
             {kCmdCheckConnection, Utf8("Проверить соединение"), {}},
             {kCmdScanLine, document::LoadedText(kScanLineCaption), {}},
             {kSeparator, {}, {}},
             {kCmdTrend, document::LoadedText(1451), {}},
             {kCmdFrameTrace, document::LoadedText(kFrameTraceCaption), {}},
         }},
        {Utf8("Справка"),
         {
             {kCmdAbout, Utf8("О программе..."), {}},
         }},
    };
    return menu;
}
