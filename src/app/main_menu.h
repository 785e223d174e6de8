#pragma once

#include <vector>

#include <QString>

// Command identifiers of the main menu and the main form.
enum MenuCommand : int {
    kSeparator = 0,
    kCmdFileNew = 57600,
    kCmdFileOpen = 57601,
    kCmdFileSave = 57603,
    kCmdFileSaveAs = 57604,
    kCmdRecentFiles = 57616,
    kCmdAbout = 57664,
    kCmdAppExit = 57665,
    kCmdReadFromDevice = 32783,
    kCmdPortSettings = 32786,
    kCmdSendBasic = 32790,
    kCmdSendAdvanced = 32791,
    kCmdCheckConnection = 32794,
    kCmdFrameTrace = 32800,
    kCmdCompareWithDevice = 32820,
    kCmdTrend = 32821,
    kCmdScanLine = 32822,
};

struct MenuItem {
    int command;
    QString caption;   // "&" marks the access key; after a tab, the shortcut text
    QString shortcut;  // the accelerator, when the item has one
};

struct MenuDefinition {
    QString caption;
    std::vector<MenuItem> items;
};

// Menu 101, in order.
const std::vector<MenuDefinition>& MainMenu();
