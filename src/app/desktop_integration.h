#pragma once

#include <QString>

// Registers the program and the .4410 file type for the current user: the .desktop entry,
// the shared-mime-info type and the icon under $XDG_DATA_HOME (~/.local/share), written
// again at every start so a moved program stays registered.
class DesktopIntegration {
public:
    // dataHome: the XDG data folder; executable: the program to start for open and print.
    static bool Refresh(const QString& dataHome, const QString& executable);
    static QString DefaultDataHome();
};
