#include "emergency/stability.h"

#include "emergency/table_hooks.h"
#include "model/branch_values.h"
#include "platform/numbers.h"
#include "platform/prompt.h"

#include <cmath>
#include <memory>

namespace {

double Altitude(const TNetworkTables &t, int node)
{
    return ValidItemIndex(node) ? t.NodeAltitude[node] : 0.0;
}

double SlopeOf(const TNetworkTables &t, int b)
{
    return BranchSlope(t.BranchLength[b], Altitude(t, t.BranchStartNode[b]), Altitude(t, t.BranchEndNode[b]),
                       t.BranchAngle[b]);
}

QString DirectionWord(int direction)
{
    return direction == vtDescending ? QStringLiteral("нисходящим") : QStringLiteral("восходящим");
}

} // namespace

bool EditLackingBranches(const QString &range)
{
    return TableEditorHooks.EditBranchTable && TableEditorHooks.EditBranchTable(-1, range) == 1;
}

bool StabilityExcludedType(int type)
{
    switch (type) {
    case 1: case 2: case 8: case 10: case 14: case 15: case 16:
        return true;
    default:
        return false;
    }
}

int ClassifyStabilityBranch(const TNetworkTables &t, int n, int direction)
{
    if (StabilityExcludedType(t.BranchType[n]) || IsReversalZone(t, n))
        return 0;
    const double zStart = Altitude(t, t.BranchStartNode[n]);
    const double zEnd = Altitude(t, t.BranchEndNode[n]);
    const double dz = static_cast<double>(Round(zStart - zEnd));
    const double q = t.BranchQ[n];
    // Descending: the air flows from the higher end down (dz × Q > 0).
    if (!(-direction * dz * q > 0))
        return 0;
    const int l = t.BranchLength[n];
    if (l == 0)
        return -1;
    const double slope = SlopeOf(t, n);
    if (l >= std::fabs(dz) || (slope >= 3 && slope <= 90.5)) {
        if (VentType(l, zStart, zEnd, q) == direction && q != 0)
            return t.BranchArea[n] > 0.001 ? 1 : -1;
        return 0;
    }
    return -1;
}

bool SelectStabilityBranches(const TNetworkTables &t, int direction, TStabilitySelection &selection,
                             TStudyProgress *progress)
{
    selection = {};
    const int maxBranch = MaxBranchNo(t);
    if (progress)
        progress->SetMax(maxBranch);
    for (int n = 1; n <= maxBranch; ++n) {
        if (progress) {
            progress->Step();
            if (progress->Cancelled()) {
                selection.Items.clear();
                return false;
            }
        }
        if (t.BranchNo[n] != n)
            continue;
        const int verdict = ClassifyStabilityBranch(t, n, direction);
        if (verdict > 0)
            selection.Items.push_back(n);
        else if (verdict < 0)
            selection.Lacking << QString::number(n);
    }
    return true;
}

int AskAboutLackingData(int direction, const TStabilitySelection &selection, const TEditBranchRange &edit)
{
    const int count = static_cast<int>(selection.Items.size());
    const QString list = selection.Lacking.join(QStringLiteral(", "));
    const QString word = DirectionWord(direction);
    if (!list.isEmpty() && count > 0) {
        QString text = direction == vtDescending
                           ? QStringLiteral("Ветви %1 - с нисходящим проветриванием,\rно для расчета по ним не хватает "
                                            "информации и они не будут включены в таблицу.\rПерейти к корректировке?")
                           : QStringLiteral("Ветви %1 - с восходящим проветриванием,\r но для расчета по ним не хватает "
                                            "информации и они не будут включены в таблицу. \rПерейти к корректировке?");
        if (ShowMessageBox(text.arg(list), LookupText(QStringLiteral("ВНИМАНИЕ")), mb::YesNo | mb::IconWarning)
                == idYes
            && edit && edit(list))
            return 0;
        return count;
    }
    if (!list.isEmpty()) {
        const QString text = QStringLiteral("Ветви %1 - с %2 проветриванием, но для расчета не хватает информации."
                                            "\rПерейти к корректировке?")
                                 .arg(list, word);
        if (ShowMessageBox(text, LookupText(QStringLiteral("ОШИБКА")), mb::YesNo | mb::IconError) == idYes && edit)
            edit(list);
        return 0;
    }
    if (count == 0) {
        const QString text = direction == vtDescending
                                 ? QStringLiteral("Не найдены ветви с нисходящим проветриванием. Проверьте высотные отметки.")
                                 : QStringLiteral("Не найдены ветви с восходящим проветриванием.Проверьте высотные отметки.");
        ShowMessageBox(text, LookupText(QStringLiteral("ОШИБКА")), mb::Ok | mb::IconError);
    }
    return count;
}

QString StabilityNumberText(double value)
{
    return FormatFixedPD(value, 5, 2);
}

QString StabilitySlopeText(const TNetworkTables &t, int b)
{
    const double slope = SlopeOf(t, b);
    if (slope > -1)
        return StabilityNumberText(slope);
    if (t.BranchAngle[b] < AngleNotGiven)
        return StabilityNumberText(t.BranchAngle[b]);
    return QString();
}

QString StabilitySpeedText(const TNetworkTables &t, int b)
{
    const double s = t.BranchArea[b];
    return s > 0 ? StabilityNumberText(t.BranchQ[b] / s) : QString();
}

// ---- descending ----

TDescendingStability::TDescendingStability()
    : MaxThermalDepression(TableSize, 0.0), CriticalDepression(TableSize, 0.0),
      RaisedCriticalDepression(TableSize, 0.0), ParallelTemperature(TableSize, TempNotGiven),
      Verdict(TableSize, QStringLiteral("  ")), ReversalMinute(TableSize, 0)
{
}

CalcResult ComputeDescendingStability(TNetworkTables &t, TDescendingStability &study, const TFireOptions &options,
                                      TStudyProgress &progress, const TEditBranchRange &edit)
{
    std::fill(study.ReversalMinute.begin(), study.ReversalMinute.end(), 0);
    const CalcResult solved = CalcTablesAir(t);
    if (solved != crSolved)
        return solved;
    TStabilitySelection selection;
    SelectStabilityBranches(t, vtDescending, selection);
    const int count = AskAboutLackingData(vtDescending, selection, edit);
    study.Items = count > 0 ? selection.Items : std::vector<int>();
    if (study.Items.empty())
        return crSolved;

    // Each fire is computed on fresh copies; the tables stay as solved.
    struct TCopies
    {
        TTable<double> R, H, Q;
    };
    const auto copies = std::make_unique<TCopies>();
    progress.SetMax(study.Count());
    for (const int b : study.Items) {
        if (progress.Cancelled()) {
            study.Items.clear();
            break;
        }
        copies->R = t.BranchR;
        copies->H = t.BranchAuxDepression;
        copies->Q = t.BranchQ;
        int seriesCount = 0;
        int minute = 0;
        double hmax = 0;
        double hcr = 0;
        const bool upset = CalcUpsetTimeEx(t, b, {copies->R, copies->H, copies->Q}, options, seriesCount, minute,
                                           hmax, hcr);
        study.MaxThermalDepression[b] = hmax;
        study.CriticalDepression[b] = hcr;
        study.Verdict[b] = upset ? UnstableText : StableText;
        study.ReversalMinute[b] = minute;
        progress.Step();
    }
    return crSolved;
}

QString StabilityHeaderText(int column, int row)
{
    static const char *const headers[StabilityColumns][StabilityHeaderRows] = {
        {"N", "", ""},
        {"", "ВЫРАБОТКА", ""},
        {"УЧАСТОК", "НА", "СХЕМЕ"},
        {"ДЛИНА", "УЧАСТКА,", " м"},
        {"УГОЛ", "НАКЛ.,", "град."},
        {"ПЛОЩ.", "СЕЧЕН.,", "кв.м"},
        {"СКОР.", "ВОЗД.,", " м/с"},
        {"ТЕМП.В ", "ПАРАЛ.", "В-КЕ,C"},
        {"МАКС.", "ТЕПЛ.", "ДЕПР.,Па"},
        {"КРИТИЧ.ДЕПР.,Па", "БЕЗ ПОВЫШ.", "УСТОЙЧИВОС."},
        {"КРИТИЧ.ДЕПР.,Па", "С ПОВЫШ.", "УСТОЙЧИВОС."},
        {"ЗАКЛЮЧЕНИЕ", "ПО УСТОЙЧИ-", "ВОСТИ"},
    };
    if (column < 0 || column >= StabilityColumns || row < 0 || row >= StabilityHeaderRows)
        return QString();
    return QString::fromUtf8(headers[column][row]);
}

QString StabilityCellText(const TNetworkTables &t, const TDescendingStability &study, int k, int column)
{
    if (k < 1 || k > study.Count())
        return QString();
    const int b = study.Items[static_cast<std::size_t>(k - 1)];
    const auto nonZero = [](double v) { return v != 0 ? StabilityNumberText(v) : QString(); };
    switch (column) {
    case 0:
        return QString::number(k);
    case 1:
        return GetBranchName(t, b) + QStringLiteral(" (") + QString::number(b) + u')';
    case 2:
        return QString::number(t.BranchStartNode[b]) + QStringLiteral(" - ") + QString::number(t.BranchEndNode[b]);
    case 3:
        return t.BranchLength[b] != 0 ? QString::number(t.BranchLength[b]) : QString();
    case 4:
        return StabilitySlopeText(t, b);
    case 5:
        return t.BranchArea[b] > 0 ? StabilityNumberText(t.BranchArea[b]) : QString();
    case 6:
        return StabilitySpeedText(t, b);
    case 7:
        return study.ParallelTemperature[b] > TempNotGiven ? StabilityNumberText(study.ParallelTemperature[b])
                                                           : QString();
    case 8:
        return nonZero(study.MaxThermalDepression[b]);
    case 9:
        return nonZero(study.CriticalDepression[b]);
    case 10:
        return nonZero(study.RaisedCriticalDepression[b]);
    case 11:
        return study.Verdict[b];
    default:
        return QString();
    }
}

bool StabilityColumnEditable(int column)
{
    return column == 7 || column == 10 || column == 11;
}

bool StoreStabilityCell(TDescendingStability &study, int k, int column, const QString &text)
{
    if (k < 1 || k > study.Count() || !StabilityColumnEditable(column))
        return true;
    double value = 0;
    const bool empty = text.trimmed().isEmpty();
    if (column != 11 && !empty && !TryStrToFloat(text, value)) {
        ShowMessageBox(LookupText(QStringLiteral("Недопустимое значение")), LookupText(QStringLiteral("ОШИБКА")),
                       mb::Ok | mb::IconError);
        return false;
    }
    const int b = study.Items[static_cast<std::size_t>(k - 1)];
    if (column == 7 && !empty)
        study.ParallelTemperature[b] = value;
    else if (column == 10 && !empty)
        study.RaisedCriticalDepression[b] = value;
    else if (column == 11)
        study.Verdict[b] = text;
    study.Edited = true;
    return true;
}

void DeleteStabilityItem(TDescendingStability &study, int k)
{
    if (k < 1 || k > study.Count())
        return;
    study.Items.erase(study.Items.begin() + (k - 1));
    study.Edited = true;
}

QString DeleteStabilityQuestion(int branch)
{
    return LookupText(QStringLiteral("Удалить ветвь")) + u' ' + QString::number(branch) + u'?';
}

// ---- ascending ----

TAscendingStability::TAscendingStability() : MaxThermalDepression(TableSize, 0.0) {}

void ComputeAscendingStability(TNetworkTables &t, TAscendingStability &study, int fireTime,
                               TStudyProgress &progress, const TEditBranchRange &edit)
{
    std::fill(study.MaxThermalDepression.begin(), study.MaxThermalDepression.end(), 0.0);
    study.Items.clear();
    study.ReversalPlaces.clear();

    TStabilitySelection selection;
    if (!SelectStabilityBranches(t, vtAscending, selection, &progress))
        return;
    if (AskAboutLackingData(vtAscending, selection, edit) <= 0)
        return;
    study.Items = selection.Items;

    const int maxBranch = MaxBranchNo(t);
    const int maxNode = MaxNodeNo(t);
    const auto q = std::make_unique<TTable<double>>();
    study.ReversalPlaces.resize(study.Items.size());
    progress.SetMax(study.Count());
    for (std::size_t r = 0; r < study.Items.size(); ++r) {
        progress.Step();
        if (progress.Cancelled()) {
            study.Items.clear();
            study.ReversalPlaces.clear();
            return;
        }
        const int b = study.Items[r];
        TFireSeries series;
        FireDepression(series, t.BranchLength[b], t.BranchArea[b], SlopeOf(t, b), t.BranchQ[b],
                       t.BranchStartTemp[b], fireTime);
        // Only the working's own depression is tried and given back: a value
        // typed into the branch table that the study opened stays.
        const TRestoreOnExit restore(t.BranchAuxDepression[b]);
        // An empty series (a working too short to burn) adds nothing.
        study.MaxThermalDepression[b] = series.Last();
        t.BranchAuxDepression[b] = series.Last();
        q->fill(0.0);
        const CalcResult result = CalcAirDistribution(t, maxBranch, maxNode, t.BranchNo, t.BranchStartNode,
                                                      t.BranchEndNode, t.NodeIsSurface, t.BranchR,
                                                      t.BranchAuxDepression, *q);
        // Only an internal failure of the solver can stop this solve; its
        // flows mean nothing, so the row lists no place.
        if (result != crSolved)
            continue;
        std::vector<int> &places = study.ReversalPlaces[r];
        for (int k = 1; k <= maxBranch; ++k)
            if (BranchExist(t, k) && FlowSign(t.BranchQ[k]) != FlowSign((*q)[k]))
                places.push_back(k);
    }
}
