#pragma once
// The drawing switches and the scheme font, read once at start from
// "scheme.ini" in the folder the program started in. The file is only read;
// a missing file or key gives the defaults.
#include "scheme/draw_switches.h"

#include <QtCore/QString>

// [test] and [draw] are the drawing switches; "Phones" is also the first
// check of "Показывать телефоны".
struct TSchemeIniSettings : TDrawSwitches
{
    // [fonts]
    QString FontName = QStringLiteral("Arial");
    int Charset = 0;
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
