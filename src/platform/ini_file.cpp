#include "platform/ini_file.h"

#include "platform/codepage.h"

#include <QtCore/QFile>
#include <QtCore/QStringDecoder>

namespace {

QString DecodeText(const QByteArray &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return DecodeCp1251(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}

bool Same(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

} // namespace

TIniFile::TIniFile(const QString &fileName) : m_fileName(fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString text = DecodeText(file.readAll());
    QString section;
    bool inSection = false;
    for (const QStringView raw : QStringView(text).split(u'\n')) {
        const QString line = raw.trimmed().toString();
        if (line.isEmpty() || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            section = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed();
            inSection = true;
            if (!SectionExists(section))
                m_sections.append(section);
            continue;
        }
        if (!inSection)
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0)
            continue;
        const QString ident = line.left(eq).trimmed();
        QString value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') && value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        if (!Find(section, ident))
            m_entries.append({section, ident, value});
    }
}

const TIniFile::TEntry *TIniFile::Find(const QString &section, const QString &ident) const
{
    for (const TEntry &entry : m_entries)
        if (Same(entry.Section, section) && Same(entry.Ident, ident))
            return &entry;
    return nullptr;
}

bool TIniFile::SectionExists(const QString &section) const
{
    for (const QString &name : m_sections)
        if (Same(name, section))
            return true;
    return false;
}

bool TIniFile::ValueExists(const QString &section, const QString &ident) const
{
    return Find(section, ident) != nullptr;
}

QString TIniFile::ReadString(const QString &section, const QString &ident, const QString &defaultValue) const
{
    const TEntry *entry = Find(section, ident);
    return entry ? entry->Value : defaultValue;
}

int TIniFile::ReadInteger(const QString &section, const QString &ident, int defaultValue) const
{
    const QString text = ReadString(section, ident, QString());
    bool ok = false;
    int value = 0;
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X'))
        value = static_cast<int>(text.mid(2).toUInt(&ok, 16));
    else
        value = text.toInt(&ok, 10);
    return ok ? value : defaultValue;
}

bool TIniFile::ReadBool(const QString &section, const QString &ident, bool defaultValue) const
{
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}
