#pragma once

#include <QStringList>

// The application: the user's numeric locale, the settings, the one document, main window
// and view, the command line, and --demo's simulated transmitter.
class CVeskPcApp {
public:
    // Runs the program on an existing QApplication; returns the exit code.
    int Run(const QStringList& arguments);
};
