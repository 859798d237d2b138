#pragma once
// The journal window's settings, kept in one key of the settings store's
// machine scope. A missing key or value reads as its default.
#include <QtCore/QString>

// The key the settings are read from; they are written under the same key
// spelt as the writer always spelt it (keys compare without regard to case).
inline const QString VJOptionsReadKey = QStringLiteral("\\SOFTWARE\\Zyr\\VentJournal");
inline const QString VJOptionsWriteKey = QStringLiteral("\\Software\\Zyr\\VentJournal");

class TVJOptionSet
{
public:
    // Reads the settings.
    TVJOptionSet();

    int LinesPerPage = 50;  // lines of a page of the form-2 text
    bool OpenLast = true;   // open the journals of CurDir when the window opens
    QString TypeVJ = QStringLiteral("Украина"); // report template path
    QString CurDir;         // the folder whose journals were opened last

    void Read();
    // ESettingsError when the key cannot be created or a value not written;
    // the values after a failing one stay unwritten.
    void Write() const;
};
