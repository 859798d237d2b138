#pragma once
// Registers a document type with the user's desktop (freedesktop conventions):
// a MIME type for the file name patterns and a desktop entry that opens such
// documents with the program. Written under DataHomeFolder(), only when the
// content changed, and quietly: a failure is only reported by the result.
#include <QtCore/QString>
#include <QtCore/QStringList>

struct TFileAssociation
{
    QString Id;           // file names of the MIME package and the desktop entry
    QString MimeType;     // "application/x-..."
    QString Comment;      // the type's description
    QStringList Patterns; // "*.mine"; matched without regard to letter case
    QString AppName;      // the desktop entry's name
    QString ProgramPath;  // full path of the program that opens the documents
};

bool RegisterFileAssociation(const TFileAssociation &association);

// The Exec line of a desktop entry: the program quoted by the entry's rules,
// then the document placeholder.
QString DesktopExecLine(const QString &programPath);
