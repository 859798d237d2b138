#pragma once
// Qt's own texts (the open, save, folder and colour dialogs, the standard
// buttons) in Russian, like the rest of the program, whatever the machine's
// locale.

// Loads Qt's Russian translations into the application; false when they
// are not installed (Debian's qt6-translations-l10n), and Qt then speaks English.
bool InstallQtTranslations();
