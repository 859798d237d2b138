#include "calc/air_table.h"

#include "model/branch_order.h"
#include "model/number_parser.h"
#include "platform/numbers.h"
#include "platform/prompt.h"

#include <cmath>

const std::array<QString, AirCategoryCount> AirCategoryNames = {
    QStringLiteral("Все ветви"),
    QStringLiteral("Внутренние утечки"),
    QStringLiteral("Внешние утечки"),
    QStringLiteral("ВГП"),
    QStringLiteral("Лавы"),
    QStringLiteral("Подготовительные забои"),
    QStringLiteral("Камеры"),
    QStringLiteral("Выработки"),
    QStringLiteral("Воздухоподающие стволы"),
    QStringLiteral("ВМП"),
    QStringLiteral("Поддерживаемые выработки"),
    QStringLiteral("Очистные участки"),
    QStringLiteral("Все объекты"),
};

namespace {

// Above this a fixed depression counts as given.
constexpr double FixedDepressionGiven = 0.00001;

} // namespace

TBranchCategory BranchCategory(int type)
{
    switch (type) {
    case 1: case 3: case 5: case 20:
        return bcInternalLeak;
    case 0: case 6: case 11: case 12: case 13: case 18: case 19: case 22:
        return bcWorking;
    default:
        return bcOther;
    }
}

bool TypeInAirCategory(int type, int index)
{
    switch (index) {
    case acAllBranches: return true;
    case acInternalLeaks: return BranchCategory(type) == bcInternalLeak;
    case acExternalLeaks: return type == 14 || type == 16;
    case acMainFans: return type == 2;
    case acLongwalls: return type == 7;
    case acDevelopmentFaces: return type == 10;
    case acChambers: return type == 4;
    case acWorkings: return BranchCategory(type) == bcWorking;
    case acIntakeShafts: return type == 15;
    case acLocalFans: return type == 8;
    case acMaintained: return type == 17;
    case acStopeSections: return type == 23;
    default: return false;
    }
}

QStringList AirTableHeaders()
{
    QStringList headers;
    for (const char16_t *h : {u"Ветвь", u"Нач. узел", u"Кон. узел", u"Расход, м3/сек", u"Расход, м3/мин",
                              u"Сопротивлен.", u"Депрессия", u"Доп.депрессия"})
        headers << LookupText(QString::fromUtf16(h));
    return headers;
}

int TAirTable::SelectCategory(int index)
{
    SelectedBranches.clear();
    m_category = index;
    TRectPrnList items;
    for (int i = 1; i <= MaxItems; ++i) {
        const int b = m_t.BranchNo[i];
        if (BranchExist(m_t, b) && TypeInAirCategory(m_t.BranchType[b], index))
            AddRectPrn(m_t, b, items);
    }
    SortRectPrnForReport(items, ReportStyle);
    for (const TRectPrn &item : items)
        SelectedBranches.push_back(static_cast<std::int16_t>(item.Branch));
    return SelectedCount();
}

int TAirTable::SelectRangeText(const QString &text)
{
    SelectedBranches.clear();
    m_category = acTypedText;
    TxqParser parser(text);
    int first = 0, last = 0;
    try {
        while (parser.NextRange(first, last)) {
            // Typed ranges may repeat branches; the list holds as many as the tables.
            for (int j = first; j <= last && j <= MaxItems && SelectedCount() < MaxItems; ++j)
                if (j >= 1 && BranchExist(m_t, j))
                    SelectedBranches.push_back(static_cast<std::int16_t>(j));
            if (SelectedCount() >= MaxItems)
                break;
        }
    } catch (const std::exception &) {
        // A number too long to read ends the list; what was read stays listed.
    }
    return SelectedCount();
}

QString TAirTable::MakeTitle(int index) const
{
    QString title = LookupText(QStringLiteral(" НОРМАЛЬНОЕ ВОЗДУХОРАСПРЕДЕЛЕНИЕ "));
    if (index >= acInternalLeaks && index <= acStopeSections)
        title += QStringLiteral(": ") + LookupText(AirCategoryNames[index]);
    if (FixedDepressionMode)
        title += QStringLiteral(" ") + LookupText(QStringLiteral("(Фикс. депрессия)"));
    return title;
}

QStringList TAirTable::BranchRow(int b) const
{
    const double q = m_t.BranchQ[b];
    const bool fixed = FixedDepressionMode && m_t.BranchFixedDepression[b] > FixedDepressionGiven;
    const double depression =
        std::fabs(std::fabs(m_t.BranchAuxDepression[b]) - m_t.BranchR[b] * q * q);
    return {
        QString::number(b) + QStringLiteral(". ") + GetBranchName(m_t, b),
        QString::number(m_t.BranchStartNode[b]),
        QString::number(m_t.BranchEndNode[b]),
        FormatFixedPD(q, 10, 2),
        FormatFixedPD(q * 60, 9, 1),
        FormatFixedPD(m_t.BranchR[b], 11, 5),
        fixed ? QStringLiteral(" - ") : FormatFixedPD(depression, 9, 1),
        FormatFixedPD(fixed ? m_t.BranchFixedDepression[b] : m_t.BranchAuxDepression[b], 9, 2),
    };
}

bool TAirTable::HasTotals() const
{
    return SelectedCount() > 0 && m_category >= acInternalLeaks && m_category <= acStopeSections;
}

QStringList TAirTable::TotalsRow() const
{
    double sumQ = 0, sumQMin = 0;
    for (const std::int16_t b : SelectedBranches) {
        sumQ += m_t.BranchQ[b];
        sumQMin += m_t.BranchQ[b] * 60;
    }
    return {LookupText(QStringLiteral("Итого:")), QString(), QString(), FormatFixedPD(sumQ, 10, 2),
            FormatFixedPD(sumQMin, 9, 1), QString(), QString(), QString()};
}
