#include "platform/settings_store.h"

#include "platform/paths.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QSaveFile>

// File layout: one section per key, one line per value, the kind before the
// data:
//   [Software\Zyr\ZyrVentilation\2002.xx\/opt/tunvex/tunvex\View]
//   Phones=dword:1
//   Password=sz:secret
//   Colors=hex:c0c0c000ff000000...
// Names and texts are escaped once with %XX for the few characters that would
// break a line apart; everything else, backslashes included, stays as it is.

namespace {

QString Escape(const QString &text, QStringView specials)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        // Blanks at either end would be lost to the trimming of lines.
        const bool edgeBlank = (c == u' ' || c == u'\t') && (i == 0 || i == text.size() - 1);
        if (c == u'%' || c == u'\n' || c == u'\r' || edgeBlank || specials.contains(c))
            out += u'%' + QStringLiteral("%1").arg(c.unicode(), 2, 16, QChar(u'0')).toUpper();
        else
            out += c;
    }
    return out;
}

QString Unescape(const QString &text)
{
    if (!text.contains(u'%'))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'%' && i + 2 < text.size()) {
            bool ok = false;
            const ushort code = text.mid(i + 1, 2).toUShort(&ok, 16);
            if (ok) {
                out += QChar(code);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

constexpr QStringView SectionSpecials = u"[]";
constexpr QStringView NameSpecials = u"=[];";

QString StoreFileName(TSettingsScope scope)
{
    return ConfigFolder()
        + (scope == TSettingsScope::Machine ? QStringLiteral("/machine.ini") : QStringLiteral("/user.ini"));
}

bool SameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString CleanKey(QString key)
{
    while (key.startsWith(u'\\'))
        key.remove(0, 1);
    while (key.endsWith(u'\\'))
        key.chop(1);
    return key;
}

} // namespace

TSettingsStore::TSettingsStore(TSettingsScope scope) : m_fileName(StoreFileName(scope)) {}

TSettingsStore::TSettingsStore(const QString &fileName) : m_fileName(fileName) {}

void TSettingsStore::Reload() const
{
    m_sections.clear();
    QFile file(m_fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    TSection *section = nullptr;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (QByteArray raw : lines) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            const QString name = Unescape(line.mid(1, line.size() - 2));
            section = FindSection(name);
            if (!section) {
                m_sections.append({name, {}});
                section = &m_sections.last();
            }
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        const qsizetype colon = line.indexOf(u':', eq + 1);
        if (!section || eq <= 0 || colon < 0)
            continue;
        TValue value;
        value.Name = Unescape(line.left(eq));
        const QString kind = line.mid(eq + 1, colon - eq - 1);
        const QString data = line.mid(colon + 1);
        if (kind == u"sz") {
            value.Kind = TValueKind::String;
            value.Data = Unescape(data).toUtf8();
        } else if (kind == u"dword") {
            value.Kind = TValueKind::Integer;
            value.Data = data.toLatin1();
        } else if (kind == u"hex") {
            value.Kind = TValueKind::Binary;
            value.Data = QByteArray::fromHex(data.toLatin1());
        } else {
            continue;
        }
        auto same = [&](const TValue &v) { return SameName(v.Name, value.Name); };
        section->Values.removeIf(same);
        section->Values.append(value);
    }
}

void TSettingsStore::SaveFile() const
{
    QDir().mkpath(QFileInfo(m_fileName).absolutePath());
    QByteArray out;
    for (const TSection &section : m_sections) {
        out += '[' + Escape(section.Name, SectionSpecials).toUtf8() + "]\n";
        for (const TValue &value : section.Values) {
            out += Escape(value.Name, NameSpecials).toUtf8() + '=';
            switch (value.Kind) {
            case TValueKind::String:
                out += "sz:" + Escape(QString::fromUtf8(value.Data), {}).toUtf8();
                break;
            case TValueKind::Integer:
                out += "dword:" + value.Data;
                break;
            default:
                out += "hex:" + value.Data.toHex();
                break;
            }
            out += '\n';
        }
        out += '\n';
    }
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit())
        throw ESettingsError(QStringLiteral("Не удается записать настройки в файл \"%1\"").arg(m_fileName));
}

TSettingsStore::TSection *TSettingsStore::FindSection(const QString &key) const
{
    for (TSection &section : m_sections)
        if (SameName(section.Name, key))
            return &section;
    return nullptr;
}

bool TSettingsStore::KeyExists(const QString &key) const
{
    Reload();
    const QString clean = CleanKey(key);
    const QString below = clean + u'\\';
    for (const TSection &section : m_sections)
        if (SameName(section.Name, clean) || section.Name.startsWith(below, Qt::CaseInsensitive))
            return true;
    return false;
}

bool TSettingsStore::OpenKey(const QString &key, bool canCreate)
{
    const QString clean = CleanKey(key);
    m_currentKey.clear();
    if (!KeyExists(clean)) {
        if (!canCreate)
            return false;
        m_sections.append({clean, {}});
        SaveFile();
    }
    m_currentKey = clean;
    return true;
}

void TSettingsStore::CloseKey()
{
    m_currentKey.clear();
}

bool TSettingsStore::DeleteKey(const QString &key)
{
    Reload();
    const QString clean = CleanKey(key);
    const QString below = clean + u'\\';
    const qsizetype removed = m_sections.removeIf([&](const TSection &s) {
        return SameName(s.Name, clean) || s.Name.startsWith(below, Qt::CaseInsensitive);
    });
    if (removed)
        SaveFile();
    return removed > 0;
}

const TSettingsStore::TValue *TSettingsStore::Find(const QString &name) const
{
    if (m_currentKey.isEmpty())
        return nullptr;
    const TSection *section = FindSection(m_currentKey);
    if (!section)
        return nullptr;
    for (const TValue &value : section->Values)
        if (SameName(value.Name, name))
            return &value;
    return nullptr;
}

bool TSettingsStore::ValueExists(const QString &name) const
{
    return Find(name) != nullptr;
}

TSettingsStore::TValueKind TSettingsStore::GetValueKind(const QString &name) const
{
    const TValue *value = Find(name);
    return value ? value->Kind : TValueKind::None;
}

QStringList TSettingsStore::GetValueNames() const
{
    QStringList names;
    if (const TSection *section = m_currentKey.isEmpty() ? nullptr : FindSection(m_currentKey))
        for (const TValue &value : section->Values)
            names << value.Name;
    return names;
}

bool TSettingsStore::DeleteValue(const QString &name)
{
    if (m_currentKey.isEmpty())
        return false;
    Reload();
    TSection *section = FindSection(m_currentKey);
    if (!section || !section->Values.removeIf([&](const TValue &v) { return SameName(v.Name, name); }))
        return false;
    SaveFile();
    return true;
}

const TSettingsStore::TValue &TSettingsStore::Require(const QString &name, TValueKind kind) const
{
    const TValue *value = Find(name);
    if (!value || value->Kind != kind)
        throw ESettingsError(QStringLiteral("Неверный тип данных для \"%1\"").arg(name));
    return *value;
}

bool TSettingsStore::ReadBool(const QString &name) const
{
    return ReadInteger(name) != 0;
}

int TSettingsStore::ReadInteger(const QString &name) const
{
    bool ok = false;
    const int result = Require(name, TValueKind::Integer).Data.toInt(&ok);
    if (!ok)
        throw ESettingsError(QStringLiteral("Неверный тип данных для \"%1\"").arg(name));
    return result;
}

QString TSettingsStore::ReadString(const QString &name) const
{
    if (!Find(name))
        return QString();
    return QString::fromUtf8(Require(name, TValueKind::String).Data);
}

QByteArray TSettingsStore::ReadBinaryData(const QString &name) const
{
    return Require(name, TValueKind::Binary).Data;
}

void TSettingsStore::Write(const QString &name, TValueKind kind, const QByteArray &data)
{
    if (m_currentKey.isEmpty())
        throw ESettingsError(QStringLiteral("Не удается записать \"%1\": раздел не открыт").arg(name));
    Reload();
    TSection *section = FindSection(m_currentKey);
    if (!section) {
        m_sections.append({m_currentKey, {}});
        section = &m_sections.last();
    }
    bool replaced = false;
    for (TValue &value : section->Values) {
        if (SameName(value.Name, name)) {
            value.Kind = kind;
            value.Data = data;
            replaced = true;
            break;
        }
    }
    if (!replaced)
        section->Values.append({name, kind, data});
    SaveFile();
}

void TSettingsStore::WriteBool(const QString &name, bool value)
{
    WriteInteger(name, value ? 1 : 0);
}

void TSettingsStore::WriteInteger(const QString &name, int value)
{
    Write(name, TValueKind::Integer, QByteArray::number(value));
}

void TSettingsStore::WriteString(const QString &name, const QString &value)
{
    Write(name, TValueKind::String, value.toUtf8());
}

void TSettingsStore::WriteBinaryData(const QString &name, const QByteArray &value)
{
    Write(name, TValueKind::Binary, value);
}
