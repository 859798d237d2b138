#include "model/scheme_overlays.h"

#include "model/branch_values.h"
#include "platform/codepage.h"

#include <QtCore/QtEndian>

#include <algorithm>

TPLABaloon::TPLABaloon(const TNetworkTables &t, std::int32_t x, std::int32_t number, std::int32_t y)
    : Color(GetPLAPositionColor(t, number)), Number(number), X(x), Y(y)
{
}

void TPLABaloon::SetNumber(const TNetworkTables &t, std::int32_t number)
{
    Number = number;
    Color = GetPLAPositionColor(t, number);
}

std::int32_t TPhonePlaces::PhoneKey(const TTelephone &phone)
{
    auto key = static_cast<std::uint32_t>(phone.X) * 65536u + static_cast<std::uint32_t>(phone.Y);
    for (const char c : EncodeCp1251(phone.Number.left(TTelephone::MaxNumberLength)))
        key += static_cast<std::uint8_t>(c);
    return static_cast<std::int32_t>(key);
}

TTelephone *TPhonePlaces::FindByKey(std::int32_t key) const
{
    for (int i = 0; i < Count(); ++i)
        if (PhoneKey((*this)[i]) == key)
            return const_cast<TTelephone *>(&(*this)[i]);
    return nullptr;
}

void UnlinkPhone(TNetworkTables &t, const TTelephone *phone)
{
    for (int n = 0; n < TableSize; ++n)
        if (t.BranchPhone[n] == phone)
            t.BranchPhone[n] = nullptr;
}

void RemovePhone(TNetworkTables &t, TPhonePlaces &phones, const TTelephone *phone)
{
    UnlinkPhone(t, phone);
    phones.Remove(phone);
}

QByteArray BalloonRecordBytes(const TPLABaloon &balloon)
{
    QByteArray bytes(TPLABaloon::RecordSize, '\0');
    qToLittleEndian(balloon.X, bytes.data());
    qToLittleEndian(balloon.Y, bytes.data() + 4);
    qToLittleEndian(balloon.Number, bytes.data() + 8);
    return bytes;
}

TPLABaloon BalloonFromRecord(const TNetworkTables &t, const char *bytes)
{
    return TPLABaloon(t, qFromLittleEndian<std::int32_t>(bytes), qFromLittleEndian<std::int32_t>(bytes + 8),
                      qFromLittleEndian<std::int32_t>(bytes + 4));
}

QByteArray PhoneRecordBytes(const TTelephone &phone)
{
    QByteArray bytes(TTelephone::RecordSize, '\0');
    qToLittleEndian(phone.X, bytes.data());
    qToLittleEndian(phone.Y, bytes.data() + 4);
    PutShortString(bytes.data() + 8, TTelephone::MaxNumberLength + 1, phone.Number);
    return bytes;
}

TTelephone PhoneFromRecord(const char *bytes)
{
    return TTelephone(qFromLittleEndian<std::int32_t>(bytes), GetShortString(bytes + 8, TTelephone::MaxNumberLength + 1),
                      qFromLittleEndian<std::int32_t>(bytes + 4));
}

QByteArray MapTextRecordBytes(const TMapText &text)
{
    QByteArray bytes(TMapText::RecordSize, '\0');
    char *p = bytes.data();
    PutShortString(p, TMapText::MaxTextLength + 1, text.Text);
    qToLittleEndian(text.SizeFactor, p + 252);
    p[256] = static_cast<char>(text.Style);
    qToLittleEndian(text.X, p + 260);
    qToLittleEndian(text.Y, p + 264);
    qToLittleEndian(text.Color, p + 268);
    PutShortString(p + 272, TMapText::MaxFontNameLength + 1, text.FontName);
    qToLittleEndian(text.Reserved, p + 304);
    return bytes;
}

TMapText MapTextFromRecord(const char *p)
{
    TMapText text;
    text.SetText(GetShortString(p, TMapText::MaxTextLength + 1));
    text.SetSizeFactor(std::clamp(qFromLittleEndian<std::int32_t>(p + 252), TMapText::MinSizeFactor,
                                  TMapText::MaxSizeFactor));
    text.SetStyle(static_cast<std::uint8_t>(p[256]));
    text.SetPos(qFromLittleEndian<std::int32_t>(p + 260), qFromLittleEndian<std::int32_t>(p + 264));
    text.SetColor(qFromLittleEndian<std::int32_t>(p + 268));
    text.SetFontName(GetShortString(p + 272, TMapText::MaxFontNameLength + 1));
    text.Reserved = qFromLittleEndian<std::int32_t>(p + 304);
    return text;
}
