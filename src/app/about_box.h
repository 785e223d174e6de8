#pragma once

#include <QDialog>

#include "hart/user_interaction.h"

// The about box of "О программе": the program's title and version, the maker, a link to the
// maker's web site and a picture of the transmitter; "Продолжить" closes it. A link that
// cannot be opened is reported through ui.
class CAboutDialog : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDialog(hart::UserInteraction& ui, QWidget* parent = nullptr);

    // "Версия: " and the program's version.
    static QString VersionLine();
};
