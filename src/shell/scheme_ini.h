#pragma once
// The drawing switches and the scheme font, read once at start from
// "scheme.ini" in the folder the program started in. The file is only read;
// a missing file or key gives the defaults.
#include <QtCore/QString>

struct TSchemeIniSettings
{
    // [fonts]
    QString FontName = QStringLiteral("Arial");
    int Charset = 0;
    // [test]: each switch lets one step of the drawing be turned off.
    bool Sheet = true;
    bool Text = true;
    bool Branch = true;
    bool BSymb = true;
    bool Node = true;
    bool Grid = true;
    bool Fans = true;
    bool Vmps = true;
    bool Door = true;
    bool Arrow = true;
    bool NBall = true;
    bool BBall = true;
    bool Pla = true;
    bool Phones = true;  // also the first check of "Показывать телефоны"
    // [draw]
    int ArrowDraw = 1;   // arrow mode on the screen
    int ArrowPrint = 3;  // arrow mode when printing
};

// What the program read at start; the drawing and printing consult it.
extern TSchemeIniSettings SchemeIniSettings;
// The font of labels and new texts.
extern QString SchemeFontName;

// Reads one file; a missing one gives the defaults.
TSchemeIniSettings LoadSchemeIni(const QString &fileName);
// Reads "scheme.ini" of the folder (the start folder when empty) into
// SchemeIniSettings and SchemeFontName.
void ReadSchemeIni(const QString &folder = QString());
