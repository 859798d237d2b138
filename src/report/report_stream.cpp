#include "report/report_stream.h"

#include "platform/codepage.h"

#include <cstring>

std::uint8_t TemplateVersion = CurrentTemplateVersion;

void TfrStream::Read(void *buffer, qint64 count)
{
    if (count < 0 || count > m_data.size() - m_pos)
        throw EReadError();
    std::memcpy(buffer, m_data.constData() + m_pos, static_cast<size_t>(count));
    m_pos += count;
}

QByteArray TfrStream::ReadBytes(qint64 count)
{
    if (count < 0 || count > m_data.size() - m_pos)
        throw EReadError();
    QByteArray bytes = m_data.mid(m_pos, count);
    m_pos += count;
    return bytes;
}

void TfrStream::Write(const void *buffer, qint64 count)
{
    if (count <= 0)
        return;
    if (m_pos + count > m_data.size())
        m_data.resize(m_pos + count);
    std::memcpy(m_data.data() + m_pos, buffer, static_cast<size_t>(count));
    m_pos += count;
}

QString TfrStream::ReadCountedString()
{
    const auto length = ReadValue<std::uint16_t>();
    const QByteArray bytes = ReadBytes(length);
    ReadValue<std::uint8_t>();
    return DecodeCp1251(bytes);
}

void TfrStream::WriteCountedString(const QString &text)
{
    const QByteArray bytes = EncodeCp1251(text).left(MaxCountedLength);
    WriteValue<std::uint16_t>(static_cast<std::uint16_t>(bytes.size()));
    WriteBytes(bytes);
    WriteValue<std::uint8_t>(0);
}

QString TfrStream::ReadOldString()
{
    QByteArray bytes;
    for (;;) {
        const auto c = ReadValue<std::uint8_t>();
        if (c == 0)
            break;
        bytes.append(static_cast<char>(c));
    }
    return DecodeCp1251(bytes);
}

QString TfrStream::ReadVersionedString()
{
    return TemplateVersion >= 23 ? ReadCountedString() : ReadOldString();
}

QStringList TfrStream::ReadStrings()
{
    QStringList lines;
    const auto count = ReadValue<std::uint16_t>();
    if (count == 0) {
        ReadValue<std::uint8_t>();
        return lines;
    }
    for (;;) {
        const auto length = ReadValue<std::uint16_t>();
        lines << DecodeCp1251(ReadBytes(length));
        if (ReadValue<std::uint8_t>() == 0)
            break;
    }
    return lines;
}

void TfrStream::WriteStrings(const QStringList &lines)
{
    // Lines beyond what the u16 count can say are not written, so that the
    // count and the lines always agree.
    const qsizetype count = std::min<qsizetype>(lines.size(), 0xFFFF);
    WriteValue<std::uint16_t>(static_cast<std::uint16_t>(count));
    if (count == 0) {
        WriteValue<std::uint8_t>(0);
        return;
    }
    for (qsizetype i = 0; i < count; ++i) {
        const QByteArray bytes = EncodeCp1251(lines[i]).left(MaxCountedLength);
        WriteValue<std::uint16_t>(static_cast<std::uint16_t>(bytes.size()));
        WriteBytes(bytes);
        WriteValue<std::uint8_t>(i + 1 < count ? 13 : 0);
    }
}

QStringList TfrStream::ReadOldStrings()
{
    QStringList lines;
    QByteArray line;
    for (;;) {
        const auto c = ReadValue<std::uint8_t>();
        if (c == 0)
            break;
        if (c == 13) {
            lines << DecodeCp1251(line);
            line.clear();
        } else {
            line.append(static_cast<char>(c));
        }
    }
    if (!line.isEmpty())
        lines << DecodeCp1251(line);
    return lines;
}

QStringList TfrStream::ReadVersionedStrings()
{
    return TemplateVersion >= 23 ? ReadStrings() : ReadOldStrings();
}

QString TfrStream::ReadShortString()
{
    const auto length = ReadValue<std::uint8_t>();
    return DecodeCp1251(ReadBytes(length));
}

void TfrStream::WriteShortString(const QString &text)
{
    const QByteArray bytes = EncodeCp1251(text).left(MaxShortLength);
    WriteValue<std::uint8_t>(static_cast<std::uint8_t>(bytes.size()));
    WriteBytes(bytes);
}
