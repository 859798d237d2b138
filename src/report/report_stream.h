#pragma once
// The byte stream that templates, prepared pages and report files are read
// from and written to: little-endian numbers, 1251 texts in the counted forms
// (and, for streams older than version 23, the zero-terminated ones).
//
// A read past the end raises EReadError, so a damaged file is an error and
// never a half-read record whose missing fields keep stale values.
#include "platform/exceptions.h"
#include "platform/little_endian.h"

#include <QtCore/QByteArray>
#include <QtCore/QString>
#include <QtCore/QStringList>

#include <cstdint>

class EReadError : public Exception
{
public:
    EReadError() : Exception(QStringLiteral("Stream read error")) {}
    using Exception::Exception;
};

// The version of the stream being read or written; 23 for all that is written.
extern std::uint8_t TemplateVersion;
constexpr std::uint8_t CurrentTemplateVersion = 23;

class TfrStream : public TLittleEndianValues<TfrStream>
{
public:
    TfrStream() = default;
    explicit TfrStream(QByteArray data) : m_data(std::move(data)) {}

    const QByteArray &Data() const { return m_data; }
    qint64 Size() const { return m_data.size(); }
    qint64 Position() const { return m_pos; }
    void Seek(qint64 position) { m_pos = std::clamp<qint64>(position, 0, m_data.size()); }
    bool AtEnd() const { return m_pos >= m_data.size(); }
    void Clear()
    {
        m_data.clear();
        m_pos = 0;
    }

    void Read(void *buffer, qint64 count);
    QByteArray ReadBytes(qint64 count);
    // Writes at the position, overwriting and extending as needed.
    void Write(const void *buffer, qint64 count);
    void WriteBytes(const QByteArray &bytes) { Write(bytes.constData(), bytes.size()); }

    bool ReadBool16() { return ReadValue<std::int16_t>() != 0; }
    void WriteBool16(bool value) { WriteValue<std::int16_t>(value ? -1 : 0); }

    // u16 length, the bytes, one byte 0. A text longer than 65535 bytes is
    // written as its first 65535 bytes (the length field cannot say more).
    QString ReadCountedString();
    void WriteCountedString(const QString &text);
    // Bytes up to a byte 0.
    QString ReadOldString();
    QString ReadVersionedString();

    // u16 count; per line u16 length, the bytes and 13 (another line
    // follows) or 0 (the last). The reader follows the separators.
    QStringList ReadStrings();
    void WriteStrings(const QStringList &lines);
    // Bytes up to a byte 0, lines ended by 13.
    QStringList ReadOldStrings();
    QStringList ReadVersionedStrings();

    // One-byte length and the bytes; longer texts are cut to 255 bytes.
    QString ReadShortString();
    void WriteShortString(const QString &text);

private:
    QByteArray m_data;
    qint64 m_pos = 0;
};

// The longest text each length form can hold; writers cut there.
constexpr qsizetype MaxCountedLength = 0xFFFF;
constexpr qsizetype MaxShortLength = 0xFF;
