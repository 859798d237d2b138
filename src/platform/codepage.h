#pragma once
// The two Cyrillic code pages that files carry: Windows 1251 (scheme files,
// the plug-in API, reports) and DOS 866 (files of older programs). Each maps
// all 256 bytes to one character and back, so bytes survive a round trip.
#include <QtCore/QByteArray>
#include <QtCore/QString>

QString DecodeCp1251(const QByteArray &bytes);
QString DecodeCp1251(const char *data, qsizetype size);
// Characters that 1251 lacks become '?'.
QByteArray EncodeCp1251(const QString &text);

// Fixed-size texts of records: a length byte and up to size - 1 characters
// in code page 1251, the rest zero. A longer text is cut; a length byte
// beyond the field reads the whole field.
void PutShortString(char *field, int size, const QString &text);
QString GetShortString(const char *field, int size);

QString DecodeCp866(const QByteArray &bytes);
QByteArray EncodeCp866(const QString &text);

// Windows 1252, for texts of pictures made on Western systems (read only).
QString DecodeCp1252(const QByteArray &bytes);

// Byte-to-byte conversions between the OEM (866) and ANSI (1251) pages; a
// character missing in the target page becomes '?', so the length is kept.
QByteArray OemToAnsiBytes(const QByteArray &oem);
QByteArray AnsiToOemBytes(const QByteArray &ansi);
