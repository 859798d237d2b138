#include "calc/report_manager.h"

#include "calc/speed_control.h"
#include "model/branch_values.h"
#include "model/speed_limits.h"
#include "platform/float_format.h"

#include <cmath>

int ReportCategory(int branchType)
{
    switch (branchType) {
    case 1: case 3: case 5: case 20:
        return 1;
    case 0: case 6: case 11: case 12: case 13: case 18: case 19: case 22:
        return 0;
    case 14: case 16:
        return 14;
    default:
        return 27;
    }
}

namespace {
struct TCategoryName
{
    const char16_t *Name;
    int Category;
};
constexpr TCategoryName CategoryNames[] = {
    {u"udVentLava", 7}, {u"udVentVGP", 2},  {u"udVentOchUch", 23}, {u"udPodgZab", 10},
    {u"udPoddVyr", 17}, {u"udVnutrUt", 1},  {u"udVneshUt", 14},    {u"udKameri", 4},
    {u"udVMP", 8},      {u"udAirStvoli", 15}, {u"udVyrabotki", 0},
};

QString Fixed(double value) { return FloatToStrF(value, ffFixed, 9, 2); }
} // namespace

TReportManagerData::TReportManagerData(const TNetworkTables &t) : Sources(t), m_t(t)
{
    for (std::size_t i = 0; i < CategorySources.size(); ++i) {
        TCategorySource &source = CategorySources[i];
        source.Category = CategoryNames[i].Category;
        source.Dataset.Name = QString::fromUtf16(CategoryNames[i].Name);
        source.Dataset.OnFirst = [this, &source](TfrComponent *) {
            SelectReportCategory(source.Category);
            Sources.BranchPos = 1;
        };
        source.Dataset.OnNext = [this](TfrComponent *) { ++Sources.BranchPos; };
        source.Dataset.OnCheckEOF = [this](TfrComponent *, bool &eof) {
            if (Sources.BranchPos > 1) {
                eof = true;
                Sources.Branches.clear();
            }
        };
    }
    for (int b = 1; b <= Sources.MaxBranch; ++b) {
        if (t.BranchNo[b] != b)
            continue;
        if (t.BranchType[b] == 15)
            QSupplyShafts += t.BranchQ[b];
        if (t.BranchType[b] == 2)
            QMainFans += t.BranchQ[b];
    }
}

bool TReportManagerData::InCategory(int b, int c) const
{
    return m_t.BranchNo[b] == b && (m_t.BranchType[b] == c || ReportCategory(m_t.BranchType[b]) == c);
}

int TReportManagerData::SelectReportCategory(int c)
{
    Sources.Branches.clear();
    for (int b = 1; b <= Sources.MaxBranch; ++b)
        if (InCategory(b, c))
            Sources.Branches.push_back(b);
    return static_cast<int>(Sources.Branches.size());
}

int TReportManagerData::SelectAllBranches()
{
    Sources.SelectAllBranches();
    return static_cast<int>(Sources.Branches.size());
}

double TReportManagerData::SumCategory(int c, const TTable<double> &values) const
{
    double sum = 0;
    for (int b = 1; b <= Sources.MaxBranch; ++b)
        if (InCategory(b, c))
            sum += values[b];
    return sum;
}

std::vector<TfrDataset *> TReportManagerData::Datasets()
{
    std::vector<TfrDataset *> sets = Sources.Datasets();
    for (TCategorySource &source : CategorySources)
        sets.push_back(&source.Dataset);
    return sets;
}

bool TReportManagerData::GetValue(const QString &name, Variant &value) const
{
    if (Sources.GetValue(name, value))
        return true;
    const TNetworkTables &t = m_t;
    const int b = ValidItemIndex(Sources.CurrentBranch) ? Sources.CurrentBranch : 0;
    if (name == QStringLiteral("Депр"))
        value = BranchDepression(t, b);
    else if (name == QStringLiteral("Qтреб"))
        value = t.BranchRequiredFlow[b];
    else if (name == QStringLiteral("ПризнДГС"))
        value = int(t.BranchDGSMark[b]);
    else if (name == QStringLiteral("QНормат"))
        value = t.BranchNormativeFlow[b];
    else if (name == QStringLiteral("QИзмер"))
        value = t.BranchMeasuredFlow[b];
    else if (name == QStringLiteral("ДепрФикс"))
        value = t.BranchFixedDepression[b];
    else if (name == QStringLiteral("ДепрЗамер"))
        value = t.BranchMeasuredDepression[b];
    else if (name == QStringLiteral("QПостШахты"))
        value = QSupplyShafts;
    else if (name == QStringLiteral("QГлВент"))
        value = QMainFans;
    else {
        QString text;
        if (!UserFunction(name, text))
            return false;
        value = text;
    }
    return true;
}

bool TReportManagerData::UserFunction(const QString &name, QString &value) const
{
    const TNetworkTables &t = m_t;
    const int b = ValidItemIndex(Sources.CurrentBranch) ? Sources.CurrentBranch : 0;
    if (name == QStringLiteral("РезервВетви")) {
        const double r = std::fabs(t.BranchR[b]);
        value = r > 0.000001 ? Fixed(std::sqrt((std::fabs(BranchDepression(t, b)) + 1) / r) - std::fabs(t.BranchQ[b]))
                             : QString();
    } else if (name == QStringLiteral("СкорВозд")) {
        const double speed = BranchAirSpeed(t, b);
        value = speed == NoSpeed ? QString() : Fixed(speed);
    } else if (name == QStringLiteral("МаксСкор"))
        value = MaxSpeedText(t, b);
    else if (name == QStringLiteral("МинСкор"))
        value = MinSpeedText(t, b);
    else if (name == QStringLiteral("DQ"))
        value = Fixed(t.BranchQ[b] - t.BranchNormativeFlow[b]);
    else if (name == QStringLiteral("QОчУч-ков"))
        value = Fixed(SumCategory(23, t.BranchQ));
    else if (name == QStringLiteral("QПодгЗаб"))
        value = Fixed(SumCategory(10, t.BranchQ));
    else if (name == QStringLiteral("QКамер"))
        value = Fixed(SumCategory(4, t.BranchQ));
    else if (name == QStringLiteral("QПоддВыр"))
        value = Fixed(SumCategory(17, t.BranchQ));
    else if (name == QStringLiteral("QВнутрУт"))
        value = Fixed(SumCategory(1, t.BranchQ));
    else if (name == QStringLiteral("QВнешУт"))
        value = Fixed(SumCategory(14, t.BranchQ));
    else if (name == QStringLiteral("QНормШахты"))
        value = Fixed(SumCategory(15, t.BranchNormativeFlow));
    else
        return false;
    return true;
}
