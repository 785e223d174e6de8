#pragma once

#include <memory>

#include <QTranslator>

// Qt's own texts (file dialogs, standard buttons, context menus) in the program's language,
// Russian, from the translations Qt installs (Debian: qt6-translations-l10n). Installed in
// the application while the result lives; none when they are not installed, and Qt's texts
// stay English.
std::unique_ptr<QTranslator> InstallQtTranslations();
