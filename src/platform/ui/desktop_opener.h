#pragma once
// Installs the desktop's handler of files and addresses as the program's
// document opener (platform/help.h).
void InstallDesktopOpener();
