#include "calc/fixir.h"

#include "calc/solver.h"
#include "platform/numbers.h"

#include <cmath>
#include <memory>

namespace {

// A required flow or fixed depression counts as entered when positive; the
// unset marker does not, or an untouched branch would become a stopping.
bool Given(double v)
{
    return v > 0 && v != ValueNotGiven;
}

double ColumnMaximum(int column)
{
    return column == fcR ? 9999 : 800;
}

QString ColumnText(int column, double v)
{
    return column == fcR ? FormatFixedPD(v, 9, 5) : FormatFixedPD(v, 7, 2);
}

} // namespace

QString FixirTopologyWarning()
{
    return QStringLiteral("В схема ОШИБКИ топологии или ") + u'\r' + QStringLiteral("отсутствуют источники тяги !")
        + u'\r' + QStringLiteral("Задание СНИМАЕТСЯ!...");
}

TFixirCell CheckFixirCell(int column, const QString &text)
{
    TFixirCell cell;
    if (text.size() <= 6 && text.count(u' ') == text.size())
        return cell;
    double v = 0;
    if (!TryStrToFloat(text, v) || !std::isfinite(v)) {
        cell.Check = fcNotANumber;
        cell.Message = QStringLiteral("Число набрано неверно!") + u'\r' + QStringLiteral("(Пользуйтесь цифровыми клавишами,")
            + u'\r' + QStringLiteral("дробная часть отделяется от целой - запятой !)");
        return cell;
    }
    const double maximum = ColumnMaximum(column);
    if (v < 0 || v > maximum) {
        cell.Check = fcOutOfRange;
        cell.Message = QStringLiteral("Число вне допустимого диапазона") + QStringLiteral(": ") + u'\r'
            + QStringLiteral(" ") + QStringLiteral("от") + QStringLiteral(" 0 ") + QStringLiteral("до")
            + QStringLiteral(" ") + ColumnText(column, maximum) + QStringLiteral(" !");
        return cell;
    }
    cell.Value = v;
    return cell;
}

double FixirDiscrepancy(double given, double computed)
{
    return std::fabs((given - computed) / computed) * 100;
}

TFixirStudy::TFixirStudy(TNetworkTables &t) : m_t(t)
{
}

bool TFixirStudy::Present(int b) const
{
    return m_t.BranchNo[b] == b;
}

void TFixirStudy::Open(const TTable<double> &r, const TTable<double> &qf, const TTable<double> &hf)
{
    FixirStudyTables &s = Tables;
    s = FixirStudyTables{};
    s.R = s.ROpen = r;
    s.Qf = qf;
    s.Hf = hf;
    s.H = s.HOpen = m_t.BranchAuxDepression;
    s.Error.fill(-1);
    m_maxBranch = MaxBranchNo(m_t);
    m_maxNode = MaxNodeNo(m_t);
}

bool TFixirStudy::ContrInform() const
{
    if (BranchCount(m_t) == 0)
        return false;
    double draught = 0;
    for (int b = 1; b <= m_maxBranch; ++b) {
        if (!Present(b))
            continue;
        const int from = m_t.BranchStartNode[b], to = m_t.BranchEndNode[b];
        if (from == 0 || to == 0 || from == to)
            return false;
        draught += std::fabs(Tables.H[b]);
    }
    return draught >= 1;
}

void TFixirStudy::FixirClassify(int b)
{
    FixirStudyTables &s = Tables;
    const double q = Given(s.Qf[b]) ? s.Qf[b] : 0;
    const double h = Given(s.Hf[b]) ? s.Hf[b] : 0;
    s.Hadd[b] = 0;
    s.Rc[b] = 0;
    s.FixedFlow[b] = s.FixedDepression[b] = s.NoInformation[b] = s.ToCompute[b] = 0;
    if (h > 0 && q > 0) {
        s.FixedFlow[b] = 1;
        s.Rc[b] = std::clamp(h / (q * q), FixirMinR, FixirMaxRc);
    } else if (q > 0) {
        s.FixedFlow[b] = 1;
        // A head large enough to drive the required flow whatever the network.
        s.Hadd[b] = (q < 1 ? 1000 : q < 5 ? 9000 : 200000) + s.H[b];
        s.Rc[b] = s.Hadd[b] / (q * q);
    } else if (h > 0) {
        s.FixedDepression[b] = 1;
        s.Rc[b] = FixirMinR;
        s.Hadd[b] = s.H[b] - h;
    }
    if (s.R[b] == 0) {
        if (s.Rc[b] == 0)
            s.NoInformation[b] = 1;
        else if (s.Rc[b] > 0)
            s.ToCompute[b] = 1;
    }
}

void TFixirStudy::FixirCount()
{
    FixirStudyTables &s = Tables;
    s.AnyCount = s.FixedFlowCount = s.FixedDepressionCount = s.NoInformationCount = s.ToComputeCount = 0;
    for (int b = 1; b <= m_maxBranch; ++b) {
        if (!Present(b))
            continue;
        FixirClassify(b);
        ++s.AnyCount;
        s.FixedFlowCount += s.FixedFlow[b];
        s.FixedDepressionCount += s.FixedDepression[b];
        s.NoInformationCount += s.NoInformation[b];
        s.ToComputeCount += s.ToCompute[b];
    }
}

bool TFixirStudy::Solve(TTable<double> &q)
{
    return CalcAirDistribution(m_t, m_maxBranch, m_maxNode, m_t.BranchNo, m_t.BranchStartNode, m_t.BranchEndNode,
                               m_t.NodeIsSurface, Tables.R, Tables.H, q)
        == crSolved;
}

void TFixirStudy::RestoreWorking(const TTable<double> &r, const TTable<double> &h)
{
    Tables.R = r;
    Tables.H = h;
}

TFixirOutcome TFixirStudy::Start()
{
    FixirStudyTables &s = Tables;
    const QString cr(u'\r');
    TFixirOutcome out;
    FixirCount();
    const auto savedR = std::make_unique<TTable<double>>(s.R);
    const auto savedH = std::make_unique<TTable<double>>(s.H);
    s.Qc.fill(0);
    s.Negative.fill(0);
    s.Discrepant.fill(0);
    s.NegativeCount = s.DiscrepantCount = 0;
    const auto fail = [&](const QString &warning, int list) {
        RestoreWorking(*savedR, *savedH);
        out.Warning = warning;
        out.List = list;
        return out;
    };

    if (s.NoInformationCount == 0 && s.ToComputeCount == 0) {
        out.Warning = QStringLiteral("Все значения сопротивлений заданы!") + cr + QStringLiteral("Расчет НЕ ПРОИЗВОДИТСЯ!...");
        return out;
    }
    if (s.NoInformationCount > 0)
        return fail(QStringLiteral("Расчет НЕВОЗМОЖЕН!") + cr + QStringLiteral("Имеются ветви без информации для расчета!..."),
                    flNoInformation);

    std::vector<int> compute;
    for (int b = 1; b <= m_maxBranch; ++b)
        if (Present(b) && s.ToCompute[b])
            compute.push_back(b);
    for (int b : compute) {
        s.Error[b] = -1;
        s.R[b] = s.Rc[b];
        s.H[b] = s.Hadd[b];
    }
    if (!Solve(s.Qc))
        return fail(QStringLiteral("Сбой 1 при расчете вентиляции!") + cr + QStringLiteral("Задание СНИМАЕТСЯ!..."), 0);

    const auto markNegative = [&](int b) {
        s.Negative[b] = 1;
        ++s.NegativeCount;
    };
    for (int b : compute) {
        const double q = s.Qc[b];
        // A branch left without flow has no resistance that gives it one.
        if (q == 0) {
            markNegative(b);
            continue;
        }
        const double qq = std::fabs(q) * q;
        s.R[b] = s.FixedFlow[b] ? (qq * s.Rc[b] - s.Hadd[b]) / qq : s.Hf[b] / qq;
        if (s.R[b] < FixirMinR)
            markNegative(b);
    }
    if (s.NegativeCount > 0)
        return fail(QStringLiteral("В данной сети обеспечить заданные") + cr + QStringLiteral("значения расхода НЕВОЗМОЖНО !")
                        + cr + QStringLiteral("(отрицательные сопротивления ...)") + cr
                        + QStringLiteral("Проверьте исходную информацию !"),
                    flNegative);

    s.H = s.HOpen;
    if (!Solve(s.Qc))
        return fail(QStringLiteral("Сбой 2 при расчете вентиляции!") + cr + QStringLiteral("Проверьте исходную информацию!"), 0);
    for (int b : compute)
        if (s.Qc[b] == 0 || (s.FixedDepression[b] && s.Qc[b] < 0))
            markNegative(b);
    if (s.NegativeCount > 0)
        return fail(QStringLiteral("В данной сети обеспечить заданные") + cr
                        + QStringLiteral("значения депрессии НЕВОЗМОЖНО!") + cr
                        + QStringLiteral("(отрицательные расходы...)") + cr + QStringLiteral("Проверьте исходную информацию !"),
                    flNegative);

    for (int b : compute) {
        const double q = s.Qc[b];
        const double e = s.FixedFlow[b] ? FixirDiscrepancy(s.Qf[b], q)
                                        : FixirDiscrepancy(s.Hf[b], std::fabs(q) * s.R[b] * q - s.HOpen[b]);
        if (e > FixirTolerance) {
            s.Discrepant[b] = 1;
            ++s.DiscrepantCount;
            s.Error[b] = e;
        }
    }
    out.Computed = true;
    if (s.DiscrepantCount > 0) {
        out.Warning = QStringLiteral("В данной сети имеет место недопустимое") + cr
            + QStringLiteral("расхождение заданных и расчетных значений") + cr
            + QStringLiteral("расходов или депрессий (более 10%)!") + cr + QStringLiteral("Проверьте исходную информацию!");
        out.List = flDiscrepant;
    }
    return out;
}

void TFixirStudy::WriteBack(TTable<double> &r, TTable<double> &qf, TTable<double> &hf) const
{
    r = Tables.R;
    qf = Tables.Qf;
    hf = Tables.Hf;
}

bool TFixirStudy::ListEnabled(int list) const
{
    switch (list) {
    case flAll: return Tables.AnyCount > 0;
    case flFixedFlow: return Tables.FixedFlowCount > 0;
    case flFixedDepression: return Tables.FixedDepressionCount > 0;
    case flNoInformation: return Tables.NoInformationCount > 0;
    case flToCompute: return Tables.ToComputeCount > 0;
    default: return false;
    }
}

QString TFixirStudy::ListName(int list)
{
    switch (list) {
    case flFixedFlow: return QStringLiteral("Ветви С ФИКСИРОВАННЫМ РАСХОДОМ");
    case flFixedDepression: return QStringLiteral("Ветви С ФИКСИРОВАННОЙ ДЕПРЕССИЕЙ");
    case flNoInformation: return QStringLiteral("Ветви БЕЗ ИНФОРМАЦИИ ДЛЯ РАСЧЕТОВ");
    case flToCompute: return QStringLiteral("Ветви С ИНФОРМАЦИЕЙ ДЛЯ РАСЧЕТОВ");
    case flNegative: return QStringLiteral("Ветви С ОТРИЦАТЕЛЬНЫМИ R");
    case flDiscrepant: return QStringLiteral("Ветви С БОЛЬШОЙ ПОГРЕШНОСТЬЮ РАСЧЕТА");
    default: return QStringLiteral("Список всех ветвей сети");
    }
}

std::vector<int> TFixirStudy::Rows(int list) const
{
    const FixirStudyTables &s = Tables;
    const auto member = [&](int b) {
        switch (list) {
        case flFixedFlow: return s.FixedFlow[b] != 0;
        case flFixedDepression: return s.FixedDepression[b] != 0;
        case flNoInformation: return s.NoInformation[b] != 0;
        case flToCompute: return s.ToCompute[b] != 0;
        case flNegative: return s.Negative[b] != 0;
        case flDiscrepant: return s.Discrepant[b] != 0;
        default: return true;
        }
    };
    std::vector<int> rows, all;
    for (int b = 1; b <= m_maxBranch; ++b) {
        if (!Present(b))
            continue;
        all.push_back(b);
        if (member(b))
            rows.push_back(b);
    }
    return rows.empty() ? all : rows;
}

QStringList TFixirStudy::Row(int b) const
{
    const FixirStudyTables &s = Tables;
    QStringList cells{QString::number(b), QString::number(m_t.BranchStartNode[b]), QString::number(m_t.BranchEndNode[b]),
                      ColumnText(fcR, s.R[b]), ColumnText(fcQf, s.Qf[b]), ColumnText(fcHf, s.Hf[b]),
                      QString(), QString(), QString()};
    if (s.Qc[b] != 0) {
        cells[fcQc] = FormatFixedPD(s.Qc[b], 7, 2);
        cells[fcHc] = FormatFixedPD(std::fabs(s.Qc[b]) * s.R[b] * s.Qc[b] - s.HOpen[b], 7, 2);
    }
    if (s.Error[b] > 0)
        cells[fcError] = FormatFixedPD(s.Error[b], 7, 2);
    return cells;
}

TFixirCellColour TFixirStudy::CellColour(int b, int column) const
{
    const FixirStudyTables &s = Tables;
    if (column >= fcR && column <= fcHf && s.ToCompute[b])
        return ccGreen;
    if (column == fcR && (s.NoInformation[b] || s.Negative[b] || s.Discrepant[b]))
        return ccRed;
    if ((column == fcQf && s.FixedFlow[b]) || (column == fcHf && s.FixedDepression[b]))
        return ccBlue;
    return ccWhite;
}

void TFixirStudy::SetCell(int b, int column, double value)
{
    FixirStudyTables &s = Tables;
    if (column == fcR)
        s.R[b] = value;
    else if (column == fcQf)
        s.Qf[b] = value;
    else if (column == fcHf)
        s.Hf[b] = value;
    FixirCount();
}

const QStringList &TFixirStudy::Headers()
{
    static const QStringList headers{QStringLiteral("Номер"),       QStringLiteral("Начало"),
                                     QStringLiteral("Конец"),       QStringLiteral("R,кмюрг"),
                                     QStringLiteral("Qф, м3/с"),    QStringLiteral("Hф,мм вод ст.,"),
                                     QStringLiteral("Q(расчет)"),   QStringLiteral("H(расчет)"),
                                     QStringLiteral("Погрешность,%")};
    return headers;
}
