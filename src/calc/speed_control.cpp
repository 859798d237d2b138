#include "calc/speed_control.h"

#include "model/number_parser.h"
#include "platform/numbers.h"
#include "platform/prompt.h"

#include <cmath>

namespace {

// Below this speed a branch under gas-layer control is listed.
constexpr double GasLayerSpeed = 1.0;

} // namespace

int TypeCodeOfName(const QString &name)
{
    int code = UnknownBranchType;
    for (int i = 0; i < BranchTypeCount; ++i)
        if (BranchTypeNames[i] == name)
            code = i;
    return code;
}

QString MinSpeedText(const TNetworkTables &t, int b)
{
    if (IsUncontrolledType(t.BranchType[b]))
        return LookupText(QStringLiteral("не контр."));
    const double v = BranchMinSpeedLimit(t, b);
    if (v == MinSpeedNotRegulated)
        return LookupText(QStringLiteral("не регл."));
    return FormatFixedPD(v, 9, 2);
}

QString MaxSpeedText(const TNetworkTables &t, int b)
{
    if (IsUncontrolledType(t.BranchType[b]))
        return LookupText(QStringLiteral("не контр."));
    const double v = BranchMaxSpeedLimit(t, b);
    if (v == MaxSpeedUnlimited)
        return LookupText(QStringLiteral("не огр."));
    return FormatFixedPD(v, 9, 2);
}

QStringList SpeedTableHeaders()
{
    QStringList headers;
    for (const char16_t *h : {u"Ветвь", u"Нач.узел", u"Кон.узел", u"Скорость м/с", u"Расход м3/с",
                              u"Сечен. кв.м", u"Мин.ск. м/с", u"Макс.ск. м/с"})
        headers << LookupText(QString::fromUtf16(h));
    return headers;
}

TSpeedTable::TSpeedTable(const TNetworkTables &t) : m_t(t)
{
    Speeds.fill(NoSpeed);
}

void TSpeedTable::ComputeSpeeds()
{
    Speeds.fill(NoSpeed);
    SpeedRows.clear();
    const int last = MaxBranchNo(m_t);
    for (int b = 1; b <= last; ++b) {
        if (BranchExist(m_t, b))
            Speeds[b] = BranchAirSpeed(m_t, b);
        if (Speeds[b] != NoSpeed)
            SpeedRows.push_back(static_cast<std::int16_t>(b));
    }
}

QStringList TSpeedTable::FilterItems() const
{
    QStringList items{QStringLiteral("1-") + QString::number(MaxBranchNo(m_t)),
                      LookupText(QStringLiteral("Меньше мин. скорости")),
                      LookupText(QStringLiteral("Больше макс. скорости")),
                      LookupText(QStringLiteral("Контроль слоевого скопления"))};
    for (int code = 0; code < BranchTypeCount; ++code)
        if (!IsUncontrolledType(code))
            items << BranchTypeNames[code];
    return items;
}

void TSpeedTable::AddRows(const std::function<bool(int b)> &accept)
{
    const int last = MaxBranchNo(m_t);
    for (int b = 1; b <= last; ++b)
        if (Speeds[b] != NoSpeed && accept(b))
            SpeedRows.push_back(static_cast<std::int16_t>(b));
}

void TSpeedTable::ApplyFilter(int index, const QString &text)
{
    SpeedRows.clear();
    switch (index) {
    case sfBelowMin:
        AddRows([&](int b) { return Speeds[b] < BranchMinSpeedLimit(m_t, b); });
        return;
    case sfAboveMax:
        AddRows([&](int b) { return Speeds[b] > BranchMaxSpeedLimit(m_t, b); });
        return;
    case sfGasLayer:
        AddRows([&](int b) { return m_t.BranchGasLayerControl[b] && Speeds[b] < GasLayerSpeed; });
        return;
    default:
        break;
    }
    if (index >= sfFirstKind) {
        const int code = TypeCodeOfName(text);
        AddRows([&](int b) { return m_t.BranchType[b] == code; });
        return;
    }
    TxqParser parser(text);
    int first = 0, last = 0;
    try {
        while (SpeedRowCount() < MaxItems && parser.NextRange(first, last))
            for (int j = std::max(first, 1); j <= last && j <= MaxItems && SpeedRowCount() < MaxItems; ++j)
                if (m_t.BranchNo[j] == j && Speeds[j] != NoSpeed)
                    SpeedRows.push_back(static_cast<std::int16_t>(j));
    } catch (const std::exception &) {
        // A number too long to read ends the list; what was read stays listed.
    }
}

QStringList TSpeedTable::BranchRow(int b) const
{
    return {
        QString::number(b) + QStringLiteral(". ") + GetBranchName(m_t, b),
        QString::number(m_t.BranchStartNode[b]),
        QString::number(m_t.BranchEndNode[b]),
        FormatFixedPD(Speeds[b], 10, 2),
        FormatFixedPD(m_t.BranchQ[b], 10, 2),
        FormatFixedPD(m_t.BranchArea[b], 5, 1),
        MinSpeedText(m_t, b),
        MaxSpeedText(m_t, b),
    };
}

TSpeedState TSpeedTable::State(int b) const
{
    if (Speeds[b] < BranchMinSpeedLimit(m_t, b))
        return ssBelowMin;
    if (Speeds[b] > BranchMaxSpeedLimit(m_t, b))
        return ssAboveMax;
    return ssNormal;
}
