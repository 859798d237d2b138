#pragma once
// Gives the route and stability studies the branch and node table editors,
// owned by the main window.
void InstallTableEditorHooks();
