#pragma once
// The small image whose canvas text objects measure on (and export runs draw
// on) when they are not printing, so that wrapping uses the real font metrics.
// The program installs it once when the report engine starts.
void InstallWorkCanvas();
void RemoveWorkCanvas();
