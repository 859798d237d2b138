#pragma once
// Networks kept by other ventilation programs: the РЕВОД folder of text
// files, the Кладон 5.5 main file with its binary companions, and the VENT
// pair of branch lines and names, which is also written. Every reader fills
// tables that the caller emptied; a bad field or a short file ends it with an
// exception naming the file, and what was read stays in the tables with its
// bend points complete, so that the network can be drawn and salvaged.
// Questions mid-way (a missing set, a repeated branch, a name without a
// branch) go through the prompt interface.
#include "model/network.h"

#include <QtCore/QString>

// The file of that name in the folder, found without regard to letter case
// (an exact match first); empty when there is none.
QString FindFileNoCase(const QString &folder, const QString &name);

// What "MineName.DAT" says of a РЕВОД set; the model keeps none of it.
struct TRevodTitles
{
    QString Program = QStringLiteral("Нет названия ПО");
    QString Mine = QStringLiteral("Нет названия шахты");
    QString Variant = QStringLiteral("Нет номера варианта");
};

// Imports the РЕВОД set in the folder of chosenFile. A folder without the
// minimum set is refused with a message and nothing is read.
TRevodTitles ImportRevodFiles(TNetworkTables &t, const QString &chosenFile);

// The Turbo Pascal 6-byte real of the Кладон files.
double Real48ToDouble(const unsigned char *bytes);

// The document name an import of this main file makes, without a folder:
// "<mine> Импортировано из Кладон 5.5 (<path with blanks for the characters
// file names cannot hold>).Mine".
QString KladonDocumentName(const QString &mineName, const QString &mainFile);
// Imports a Кладон 5.5 set from its main file; gives the document name
// (without a folder).
QString ImportKladonFiles(TNetworkTables &t, const QString &mainFile);

// VENT. The names file of a branch file: its first ".sp" (any case) in the
// file name becomes ".bn", found in the folder without regard to case.
QString VentNamesFileFor(const QString &spName);
// Reads the branch lines; creates the end nodes they name (node 1, the
// format's surface, as a surface node). True when read to the end.
bool ReadVentBranches(TNetworkTables &t, const QString &spName);
void ReadVentNames(TNetworkTables &t, const QString &bnName);
// Branches, bend points, then the names file when there is one.
void ImportVentFiles(TNetworkTables &t, const QString &spName);
// Both written through a temporary file: a failed export leaves the old file.
void WriteVentFiles(const TNetworkTables &t, const QString &spName);
void WriteVentNames(const TNetworkTables &t, const QString &bnName);

class TMineDocument;
// Gives the document its readers of these sets (the Кладон import names the
// document after the mine, in the chosen file's folder) and the VENT export.
void InstallForeignFormats(TMineDocument &document, TNetworkTables &t);
