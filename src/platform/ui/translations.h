#pragma once
// Qt's own texts (the open, save, folder and colour dialogs, the standard
// buttons) and the dates and numbers its widgets show in Russian, like the
// rest of the program, whatever the machine's locale.

// Makes Russian the default locale and loads Qt's Russian translations into
// the application; false when they are not installed (Debian's
// qt6-translations-l10n), and Qt's texts then stay English.
bool InstallQtTranslations();
