#include "model/installed_fans.h"

#include "model/robust_stream.h"
#include "model/scheme_file.h"
#include "platform/codepage.h"

#include <QtCore/QtEndian>

#include <algorithm>
#include <cstring>

namespace {

QString CutName(const QString &name)
{
    return name.left(InstalledFan::MaxNameLength);
}

} // namespace

void TInstFanList::Add(int branch, const QString &fanName, int curveIndex, int efficiency)
{
    InstalledFan fan;
    fan.FanName = CutName(fanName);
    fan.Branch = static_cast<std::int16_t>(branch);
    fan.CurveIndex = static_cast<std::uint8_t>(curveIndex);
    fan.Efficiency = static_cast<std::uint8_t>(efficiency);
    m_items.push_back(fan);
}

void TInstFanList::SetItems(std::vector<InstalledFan> items)
{
    m_items = std::move(items);
    m_current = -1;
}

void TInstFanList::MoveBranch(int from, int to)
{
    for (InstalledFan &fan : m_items)
        if (fan.Branch == from)
            fan.Branch = static_cast<std::int16_t>(to);
}

bool TInstFanList::FindBranch(int branch)
{
    const auto it = std::find_if(m_items.begin(), m_items.end(),
                                 [branch](const InstalledFan &f) { return f.Branch == branch; });
    m_current = it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
    return m_current >= 0;
}

const InstalledFan &TInstFanList::Current() const
{
    if (m_current < 0 || m_current >= Count())
        throw EListError(QStringLiteral("Вентилятор не был найден в списке"));
    return m_items[static_cast<std::size_t>(m_current)];
}

InstalledFan &TInstFanList::Current()
{
    return const_cast<InstalledFan &>(std::as_const(*this).Current());
}

QString TInstFanList::GetFanName() const { return Current().FanName; }
std::uint8_t TInstFanList::GetEfficiency() const { return Current().Efficiency; }
std::uint8_t TInstFanList::GetCurveIndex() const { return Current().CurveIndex; }
void TInstFanList::SetFanName(const QString &name) { Current().FanName = CutName(name); }
void TInstFanList::SetEfficiency(std::uint8_t efficiency) { Current().Efficiency = efficiency; }
void TInstFanList::SetCurveIndex(std::uint8_t index) { Current().CurveIndex = index; }

void TInstFanList::Clear()
{
    m_items.clear();
    m_current = -1;
}

void TInstFanList::WriteToStream(TRobustFileStream &s) const
{
    QByteArray data(static_cast<qsizetype>(m_items.size()) * InstalledFan::Size, '\0');
    char *p = data.data();
    for (const InstalledFan &fan : m_items) {
        const QByteArray name = EncodeCp1251(fan.FanName).left(InstalledFan::MaxNameLength);
        p[0] = static_cast<char>(name.size());
        std::memcpy(p + 1, name.constData(), static_cast<std::size_t>(name.size()));
        p[33] = static_cast<char>(fan.Spare);
        qToLittleEndian(fan.Branch, p + 34);
        p[36] = static_cast<char>(fan.Efficiency);
        p[37] = static_cast<char>(fan.CurveIndex);
        p += InstalledFan::Size;
    }
    WriteRecordHeader(s, {RecordTag, static_cast<std::int32_t>(data.size()), static_cast<std::int32_t>(m_items.size())});
    s.WriteBytes(data);
}

void TInstFanList::ReadFromStream(TRobustFileStream &s, const TRecordHeader &header)
{
    if (header.Count <= 0)
        return;
    // ReadBytes refuses a count that runs past the end before allocating.
    const QByteArray data = s.ReadBytes(static_cast<qint64>(header.Count) * InstalledFan::Size);
    const char *p = data.constData();
    for (int i = 0; i < header.Count; ++i, p += InstalledFan::Size) {
        InstalledFan fan;
        const int length = std::min<int>(static_cast<std::uint8_t>(p[0]), InstalledFan::MaxNameLength);
        fan.FanName = DecodeCp1251(p + 1, length);
        fan.Spare = static_cast<std::uint8_t>(p[33]);
        fan.Branch = qFromLittleEndian<std::int16_t>(p + 34);
        fan.Efficiency = static_cast<std::uint8_t>(p[36]);
        fan.CurveIndex = static_cast<std::uint8_t>(p[37]);
        m_items.push_back(fan);
    }
}
