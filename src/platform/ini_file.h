#pragma once
// A read-only settings file of sections and keys, read by the rules of
// Windows ini files: section and key names without regard to letter
// case, the first of repeated sections or keys wins, blanks around names and
// values dropped, a value in matching quotes taken without them, lines that
// begin with ';' ignored. Integers are decimal or 0x-hex; anything else gives
// the default, and a boolean is an integer that is not zero. The file may be
// in UTF-8 or in code page 1251.
#include <QtCore/QList>
#include <QtCore/QString>

class TIniFile
{
public:
    // A missing or unreadable file reads as empty: every value is its default.
    explicit TIniFile(const QString &fileName);

    QString FileName() const { return m_fileName; }
    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &ident) const;
    QString ReadString(const QString &section, const QString &ident, const QString &defaultValue) const;
    int ReadInteger(const QString &section, const QString &ident, int defaultValue) const;
    bool ReadBool(const QString &section, const QString &ident, bool defaultValue) const;

private:
    struct TEntry
    {
        QString Section;
        QString Ident;
        QString Value;
    };
    const TEntry *Find(const QString &section, const QString &ident) const;

    QString m_fileName;
    QList<TEntry> m_entries;
    QList<QString> m_sections;
};
