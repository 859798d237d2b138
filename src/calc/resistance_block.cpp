#include "calc/resistance_block.h"

#include "calc/resistance.h"
#include "platform/numbers.h"
#include "platform/prompt.h"

#include <cmath>

namespace {

struct TColumnInfo
{
    const char *Header0;
    const char *Header1;
    int Width;
    int Decimals;
    // The largest value a cell takes; 0 for a column that is not edited.
    double Limit;
};

constexpr std::array<TColumnInfo, RBlockColumnCount> Columns{{
    {"Номер", "ВЕТВИ", 3, 0, 0},
    {"Начальн", "УЗЕЛ", 3, 0, 0},
    {"Конечн.", "УЗЕЛ", 3, 0, 0},
    {"Rфакт.,", "кмюрг", 8, 5, 999},
    {"Rизмер.", "кмюрг", 8, 5, 0},
    {"Rрасч.,", "кмюрг", 8, 5, 0},
    {"Hизмр.,", "мм в ст", 6, 1, 1000},
    {"Qизм.", "м3/с", 6, 1, 5000},
    {"a*10000", "кг*с2/м6", 8, 1, 100},
    {"Длина,", "м", 6, 0, 5000},
    {"Сечение", "м2", 4, 1, 90},
    {"Название", "выработки", 0, 0, 0},
}};

const QString TaskDropped = QStringLiteral("Задание СНИМАЕТСЯ!...");
const QString RetypeAdvice = QStringLiteral("ПОВТОРИТЕ ВВОД ВНИМАТЕЛЬНЕЙ!...");

QString Caption() { return LookupText(QStringLiteral("Предупреждение")); }

void Warn(const QString &text) { ShowMessageBox(LookupText(text), Caption(), mb::Ok | mb::IconWarning); }

QString ColumnNumber(int column, double value)
{
    const TColumnInfo &c = Columns[static_cast<std::size_t>(column)];
    return FormatWD(value, c.Width, c.Decimals);
}

bool InRange(double r) { return r >= RBlockMinR && r <= RBlockMaxR; }

} // namespace

TRBlockArrays RBlockArraysOf(TNetworkTables &t)
{
    return {t.BranchNo, t.BranchStartNode, t.BranchEndNode, t.BranchLength, t.BranchR, t.BranchAlpha,
            t.BranchArea, t.BranchMeasuredDepression, t.BranchMeasuredFlow, t.BranchName};
}

TRBlock::TRBlock(const TRBlockArrays &arrays)
    : m_arrays(arrays), m_work(std::make_unique<TValues>()), m_measuredR(TableSize, 0.0),
      m_computedR(TableSize, 0.0), m_incomplete(TableSize, 0)
{
    TValues &w = *m_work;
    w.Length = arrays.Length;
    w.R = arrays.R;
    w.Alpha = arrays.Alpha;
    w.Area = arrays.Area;
    w.MeasuredDepression = arrays.MeasuredDepression;
    w.MeasuredFlow = arrays.MeasuredFlow;
    m_opening = std::make_unique<TValues>(w);
    for (int i = 1; i <= MaxItems; ++i)
        if (arrays.BranchNo[i] > 0)
            m_rows.push_back(i);
}

QString TRBlock::HeaderText(int column, int headerRow)
{
    const TColumnInfo &c = Columns[static_cast<std::size_t>(column)];
    return QString::fromUtf8(headerRow == 0 ? c.Header0 : c.Header1);
}

bool TRBlock::IsEditableColumn(int column)
{
    return column >= 0 && column < RBlockColumnCount && Columns[static_cast<std::size_t>(column)].Limit > 0;
}

QString TRBlock::ListEntry(int branch) const
{
    return LookupText(QStringLiteral("Ветвь")) + QStringLiteral(" N %1: %2").arg(m_arrays.BranchNo[branch], 3)
        .arg(m_arrays.Names[branch]);
}

bool TRBlock::CheckTopology()
{
    if (m_rows.empty()) {
        Warn(QStringLiteral("В схеме нет ни одной ветви!") + QStringLiteral("\r\r") + TaskDropped);
        return false;
    }
    IncompleteList.clear();
    IncompleteCount = 0;
    for (const int b : m_rows) {
        if (m_arrays.StartNode[b] <= 0 || m_arrays.EndNode[b] <= 0) {
            ++IncompleteCount;
            IncompleteList << ListEntry(b);
        }
    }
    if (IncompleteCount == 0)
        return true;
    Warn(QStringLiteral("В схеме") + u' ' + QString::number(IncompleteCount) + u' ' + QStringLiteral("ветвей")
         + u'\r' + QStringLiteral("с неполной топологией!") + QStringLiteral("\r\r") + TaskDropped);
    return false;
}

void TRBlock::WarnOutOfRange(const QString &source, int branch, double r, const QString &advice) const
{
    Warn(source + u' ' + QString::number(m_arrays.BranchNo[branch]) + u'\r' + QStringLiteral("равно") + u' '
         + FormatWD(r, 8, 5) + u' ' + QStringLiteral("кмюрг") + QStringLiteral(", -\r")
         + QStringLiteral("вне допустимого диапазона 0.00001...999!") + QStringLiteral("\r\r") + advice);
}

void TRBlock::ComputeResistances()
{
    TValues &w = *m_work;
    IncompleteList.clear();
    IncompleteCount = 0;
    std::fill(m_incomplete.begin(), m_incomplete.end(), 0);
    for (const int b : m_rows) {
        double &measured = m_measuredR[static_cast<std::size_t>(b)];
        double &computed = m_computedR[static_cast<std::size_t>(b)];
        measured = 0;
        computed = 0;
        const double h = w.MeasuredDepression[b];
        const double q = w.MeasuredFlow[b];
        if (w.R[b] > 0)
            continue;
        if (h > 0 && q > 0) {
            measured = std::fabs(h / q / q);
            if (!InRange(measured)) {
                WarnOutOfRange(QStringLiteral("По данным измерений сопротивление ветви"), b, measured,
                               QStringLiteral("Уточните измеренные параметры H и Q!..."));
                measured = 0;
                w.MeasuredDepression[b] = m_opening->MeasuredDepression[b];
                w.MeasuredFlow[b] = m_opening->MeasuredFlow[b];
            }
            continue;
        }
        if ((h == 0 || q == 0) && w.Alpha[b] > 0 && w.Length[b] > 0 && w.Area[b] > 0) {
            computed = CalcRByAlpha(w.Area[b], w.Length[b], w.Alpha[b]);
            if (!InRange(computed)) {
                WarnOutOfRange(QStringLiteral("По данным расчета сопротивление ветви"), b, computed,
                               QStringLiteral("Уточните исходные параметры альфа, L и S!"));
                computed = 0;
                w.Alpha[b] = m_opening->Alpha[b];
                w.Length[b] = m_opening->Length[b];
                w.Area[b] = m_opening->Area[b];
            }
            continue;
        }
        m_incomplete[static_cast<std::size_t>(b)] = 1;
        ++IncompleteCount;
        IncompleteList << ListEntry(b);
    }
    if (IncompleteCount == 0)
        IncompleteList << LookupText(QStringLiteral("Такие ветви отсутствуют"));
}

QString TRBlock::CellText(int column, int row) const
{
    const int b = BranchOfRow(row);
    const TValues &w = *m_work;
    switch (column) {
    case rcBranch: return QStringLiteral("%1").arg(m_arrays.BranchNo[b], 3);
    case rcStartNode: return QStringLiteral("%1").arg(m_arrays.StartNode[b], 3);
    case rcEndNode: return QStringLiteral("%1").arg(m_arrays.EndNode[b], 3);
    case rcActualR: return ColumnNumber(column, w.R[b]);
    case rcMeasuredR: return ColumnNumber(column, m_measuredR[static_cast<std::size_t>(b)]);
    case rcComputedR: return ColumnNumber(column, m_computedR[static_cast<std::size_t>(b)]);
    case rcMeasuredH: return ColumnNumber(column, w.MeasuredDepression[b]);
    case rcMeasuredQ: return ColumnNumber(column, w.MeasuredFlow[b]);
    case rcAlpha: return ColumnNumber(column, w.Alpha[b]);
    case rcLength: return QStringLiteral("%1").arg(w.Length[b], 6);
    case rcArea: return ColumnNumber(column, w.Area[b]);
    case rcName: return m_arrays.Names[b];
    default: return QString();
    }
}

bool TRBlock::SetCellText(int column, int row, const QString &text)
{
    if (!IsEditableColumn(column) || row < 0 || row >= RowCount())
        return false;
    double value = 0;
    // "nan" reads as a number to the converter but is none to the block.
    if (!text.trimmed().isEmpty() && (!TryStrToFloat(text, value) || !std::isfinite(value))) {
        Warn(QStringLiteral("Число") + u' ' + text + u'\r' + QStringLiteral("НАБРАНО НЕВЕРНО!!!")
             + QStringLiteral("\r\r") + RetypeAdvice);
        return false;
    }
    const double limit = Columns[static_cast<std::size_t>(column)].Limit;
    if (value < 0 || value > limit) {
        Warn(QStringLiteral("Соблюдайте ограничения значений") + u',' + u'\r'
             + QStringLiteral("здесь ожидается положительное число") + u',' + u'\r' + QStringLiteral("не превышающее")
             + u' ' + ColumnNumber(column, limit) + QStringLiteral(" \r\r") + RetypeAdvice);
        return false;
    }
    const int b = BranchOfRow(row);
    TValues &w = *m_work;
    switch (column) {
    case rcActualR: w.R[b] = value; break;
    case rcMeasuredH: w.MeasuredDepression[b] = value; break;
    case rcMeasuredQ: w.MeasuredFlow[b] = value; break;
    case rcAlpha: w.Alpha[b] = value; break;
    case rcLength: w.Length[b] = static_cast<std::int16_t>(Round(value)); break;
    case rcArea: w.Area[b] = value; break;
    default: break;
    }
    return true;
}

void TRBlock::ApplyOk()
{
    if (!Edited)
        return;
    TValues &w = *m_work;
    for (const int b : m_rows) {
        if (w.R[b] > 0)
            continue;
        const double measured = m_measuredR[static_cast<std::size_t>(b)];
        const double computed = m_computedR[static_cast<std::size_t>(b)];
        if (measured > 0)
            w.R[b] = measured;
        else if (computed > 0)
            w.R[b] = computed;
    }
}

void TRBlock::RestoreOpening() { *m_work = *m_opening; }

bool TRBlock::WriteBack()
{
    const TValues &w = *m_work;
    TRBlockArrays &a = m_arrays;
    bool changed = false;
    const auto copy = [&changed](auto &target, const auto &source) {
        if (target != source) {
            target = source;
            changed = true;
        }
    };
    copy(a.R, w.R);
    copy(a.MeasuredDepression, w.MeasuredDepression);
    copy(a.MeasuredFlow, w.MeasuredFlow);
    copy(a.Alpha, w.Alpha);
    copy(a.Length, w.Length);
    copy(a.Area, w.Area);
    return changed;
}
