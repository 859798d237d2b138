#pragma once
// Folders the program relies on. The program never changes its current
// folder: files that belong "in the current folder" are resolved against the
// folder it was started in, captured before main() runs.
#include <QtCore/QString>

// The folder the program was started in, without a trailing slash.
QString StartFolder();
// The program file's full path and its folder with a trailing slash. They
// need the application object.
QString ProgramFileName();
QString ProgramFolder();
// Where the settings store keeps its files: $TUNVEX_CONFIG_DIR when set, else
// $XDG_CONFIG_HOME/tunvex, else ~/.config/tunvex.
QString ConfigFolder();
// Where the desktop integration of the user goes ($XDG_DATA_HOME, else
// ~/.local/share); under $TUNVEX_CONFIG_DIR/share when that is set, so that a
// relocated configuration (tests among others) touches nothing of the user's.
QString DataHomeFolder();
