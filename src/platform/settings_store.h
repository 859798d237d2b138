#pragma once
// The program's settings store, where a Windows program keeps its registry
// keys. Two scopes, the machine's (program settings, recent files, view)
// and the user's (the report designer's layout), each one INI file in the
// configuration folder (platform/paths.h). A key is a path of names joined by
// backslashes ("Software\Zyr\...\View"); it is kept whole as one section name,
// so any other character, a slash included, is part of a name. Keys and value
// names compare without regard to letter case, as registry keys do.
//
// Values carry their kind (text, integer, binary). Typed reads fail with
// ESettingsError when the value is missing or of another kind, because callers
// fall back to their defaults on such a failure; a missing text reads as empty.
// Every write goes straight to the file (re-read, changed, replaced whole), so
// two store objects or two program instances never undo each other's values.
#include "platform/exceptions.h"

#include <QtCore/QByteArray>
#include <QtCore/QList>
#include <QtCore/QString>
#include <QtCore/QStringList>

class ESettingsError : public Exception
{
public:
    using Exception::Exception;
};

enum class TSettingsScope { Machine, User };

class TSettingsStore
{
public:
    enum class TValueKind { None, String, Integer, Binary };

    explicit TSettingsStore(TSettingsScope scope = TSettingsScope::Machine);
    // A store over any file, for tools and tests.
    explicit TSettingsStore(const QString &fileName);

    QString FileName() const { return m_fileName; }

    // A key exists when it or a key below it was created.
    bool KeyExists(const QString &key) const;
    // Makes the key current. A missing key is created when canCreate is set,
    // else the call returns false and no key is current.
    bool OpenKey(const QString &key, bool canCreate);
    bool OpenKeyReadOnly(const QString &key) { return OpenKey(key, false); }
    void CloseKey();
    QString CurrentKey() const { return m_currentKey; }
    // Removes the key and every key below it.
    bool DeleteKey(const QString &key);

    // Values of the current key.
    bool ValueExists(const QString &name) const;
    TValueKind GetValueKind(const QString &name) const;
    QStringList GetValueNames() const;
    bool DeleteValue(const QString &name);

    bool ReadBool(const QString &name) const;       // integer value, nonzero is true
    int ReadInteger(const QString &name) const;
    QString ReadString(const QString &name) const;  // missing: empty text
    QByteArray ReadBinaryData(const QString &name) const;

    void WriteBool(const QString &name, bool value);  // as integer 0 or 1
    void WriteInteger(const QString &name, int value);
    void WriteString(const QString &name, const QString &value);
    void WriteBinaryData(const QString &name, const QByteArray &value);

private:
    struct TValue
    {
        QString Name;
        TValueKind Kind = TValueKind::None;
        QByteArray Data;  // text as UTF-8, integer as decimal, binary raw
    };
    struct TSection
    {
        QString Name;
        QList<TValue> Values;
    };

    void Reload() const;
    void SaveFile() const;
    const TValue *Find(const QString &name) const;
    const TValue &Require(const QString &name, TValueKind kind) const;
    void Write(const QString &name, TValueKind kind, const QByteArray &data);
    TSection *FindSection(const QString &key) const;

    QString m_fileName;
    QString m_currentKey;
    mutable QList<TSection> m_sections;
};
