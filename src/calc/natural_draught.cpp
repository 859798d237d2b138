#include "calc/natural_draught.h"

#include "calc/solver.h"
#include "platform/numbers.h"
#include "platform/prompt.h"

#include <algorithm>
#include <cmath>
#include <utility>

HetStudyTables HetStudy;

namespace {

const QChar CR = u'\r';
const QString NotComputed = QStringLiteral("отсутств");

void Warn(const QString &text)
{
    ShowMessageBox(LookupText(text), QString(), mb::Ok | mb::IconWarning);
}

bool Ask(const QString &text)
{
    return ShowMessageBox(LookupText(text), QString(), mb::YesNo | mb::IconQuestion) == idYes;
}

QString Int(int value, int width)
{
    return QStringLiteral("%1").arg(value, width);
}

// Limits in messages carry a point, as typed.
QString Limit(double value, int width)
{
    return FormatWD(value, width, 1, u'.');
}

THetNumber CheckNumber(const QString &text, double low, double high, const QString &notNumberLead,
                       const QString &rangeLead)
{
    THetNumber n;
    if (!TryStrToFloat(text, n.Value)) {
        n.Message = notNumberLead + text + QStringLiteral(" набрано с ошибками !") + CR;
        return n;
    }
    if (n.Value < low || n.Value > high) {
        n.Message = QStringLiteral("Число вне допустимого диапазона: ") + CR + rangeLead;
        return n;
    }
    n.Valid = true;
    return n;
}

} // namespace

void THetSet::Clear()
{
    Place.fill(0);
    Count = 0;
}

void THetSet::Add(int n)
{
    if (n < 1 || n > MaxItems || Place[n] != 0)
        return;
    Place[n] = static_cast<std::int16_t>(n);
    ++Count;
}

THetNumber CheckTsurfText(const QString &text)
{
    return CheckNumber(text, HetMinTsurf, HetMaxTsurf, QStringLiteral("Число ==> "),
                       Limit(HetMinTsurf, 5) + QStringLiteral(" ... ") + Limit(HetMaxTsurf, 5) + QStringLiteral(" !"));
}

THetNumber CheckAltitudeText(const QString &text)
{
    return CheckNumber(text, -HetAltitudeLimit, HetAltitudeLimit, QStringLiteral("Число==> "),
                       QStringLiteral("    ") + Limit(-HetAltitudeLimit, 8) + QStringLiteral(" ... ")
                           + Limit(HetAltitudeLimit, 8) + QStringLiteral(" !"));
}

THetNumber CheckEndTempText(const QString &text)
{
    return CheckNumber(text, HetMinTemp, HetMaxTemp, QStringLiteral("Число==> "),
                       QStringLiteral("    ") + Limit(HetMinTemp, 5) + QStringLiteral(" ... ") + Limit(HetMaxTemp, 5)
                           + QStringLiteral(" !"));
}

THetCalc::THetCalc(TNetworkTables &t, HetStudyTables &s) : m_t(t), m_s(s) {}

bool THetCalc::NodeExists(int n) const
{
    return n >= 1 && n <= MaxItems && m_s.NodeNo[n] != 0;
}

bool THetCalc::BranchExists(int b) const
{
    return b >= 1 && b <= MaxItems && m_s.BranchNo[b] != 0 && NodeExists(m_s.BeginNode[b])
           && NodeExists(m_s.EndNode[b]);
}

int THetCalc::Solve()
{
    return CalcAirDistribution(m_t, m_maxBranch, m_maxNode, m_s.BranchNo, m_s.BeginNode, m_s.EndNode, m_s.Surface,
                               m_s.R, m_s.SolveH, m_s.Q);
}

void THetCalc::Ocist()
{
    for (auto *table : {&m_s.BranchNo, &m_s.BeginNode, &m_s.EndNode, &m_s.NodeNo})
        table->fill(0);
    for (auto *table : {&m_s.R, &m_s.Altitude, &m_s.BaseH, &m_s.SolveH, &m_s.Q, &m_s.Qn, &m_s.Qe, &m_s.EndTemp,
                        &m_s.GivenEndTemp, &m_s.GivenStartTemp, &m_s.StartTemp, &m_s.NodeTemp, &m_s.He})
        table->fill(0);
    m_s.Surface.fill(0);
    m_s.Kind.fill(0);
    for (THetSet *set : {&m_s.SurfaceNodes, &m_s.AltitudeErrors, &m_s.AboveShafts, &m_s.Inclined, &m_s.FalseSources,
                         &m_s.TempErrors, &m_s.Reversed, &m_s.Reduced, &m_s.Increased})
        set->Clear();
    m_s.Zmax = HetNoSurfaceAltitude;
    NodeFilters.clear();
    BranchFilters.clear();
    NodeFilter = BranchFilter = 0;
}

int THetCalc::Open()
{
    m_s.Tsurf = HetDefaultTsurf;
    Ocist();
    m_s.BranchNo = m_t.BranchNo;
    m_s.BeginNode = m_t.BranchStartNode;
    m_s.EndNode = m_t.BranchEndNode;
    m_s.NodeNo = m_t.NodeNo;
    m_s.R = m_t.BranchR;
    m_s.Altitude = m_t.NodeAltitude;
    m_s.Surface = m_t.NodeIsSurface;
    m_s.Kind = m_t.BranchType;
    m_s.BaseH = m_t.BranchAuxDepression;
    m_s.SolveH = m_t.BranchAuxDepression;
    m_s.EndTemp = m_t.BranchEndTemp;
    m_s.GivenEndTemp = m_t.BranchEndTemp;
    m_s.GivenStartTemp = m_t.BranchStartTemp;
    m_s.StartTemp = m_t.BranchStartTemp;
    // A node that the air from the surface never reaches has surface air.
    m_s.NodeTemp.fill(m_s.Tsurf);
    m_s.Results = false;
    m_s.WrittenBack = false;
    ReversalLegend = false;
    m_maxBranch = MaxBranchNo(m_t);
    m_maxNode = MaxNodeNo(m_t);
    return Solve();
}

void THetCalc::SortAirDebt()
{
    bool swapped = false;
    for (int b = 1; b <= m_maxBranch; ++b) {
        if (!BranchExists(b) || m_s.Q[b] >= 0)
            continue;
        std::swap(m_s.BeginNode[b], m_s.EndNode[b]);
        // The depression keeps acting the way it did: turning the branch
        // round must not turn its fan round.
        m_s.BaseH[b] = -m_s.BaseH[b];
        m_s.SolveH[b] = -m_s.SolveH[b];
        m_s.Q[b] = -m_s.Q[b];
        swapped = true;
    }
    if (swapped)
        Solve();
    m_s.Qn = m_s.Q;
}

int THetCalc::IsNomSurf()
{
    NodeFilters.clear();
    NodeFilters.push_back({QStringLiteral("Все"), nullptr});
    m_s.SurfaceNodes.Clear();
    for (int n = 1; n <= m_maxNode; ++n)
        if (NodeExists(n) && m_s.Surface[n] != 0)
            m_s.SurfaceNodes.Add(n);
    if (m_s.SurfaceNodes.Count > 0) {
        NodeFilters.push_back({QStringLiteral("Поверхности"), &m_s.SurfaceNodes});
        return 0;
    }
    Warn(QStringLiteral("В схеме не указаны узлы поверхности !"));
    return 1;
}

int THetCalc::IsNoAltit()
{
    m_s.AltitudeErrors.Clear();
    for (int n = 1; n <= m_maxNode; ++n)
        if (NodeExists(n) && std::fabs(m_s.Altitude[n]) > HetAltitudeLimit)
            m_s.AltitudeErrors.Add(n);
    if (m_s.AltitudeErrors.Count == 0)
        return 0;
    NodeFilters.push_back({QStringLiteral("Ошибочных отметок"), &m_s.AltitudeErrors});
    if (Ask(QStringLiteral("Отсутствуют (ошибочны) высотные отметки (узлов ") + QString::number(m_s.AltitudeErrors.Count)
            + QStringLiteral(") !") + CR + QStringLiteral(" - Заменить значением 0 по умолчанию ???")))
        for (int n = 1; n <= m_maxNode; ++n)
            if (m_s.AltitudeErrors.Has(n))
                m_s.Altitude[n] = 0;
    return 2;
}

int THetCalc::IsBranchNak()
{
    BranchFilters.clear();
    BranchFilters.push_back({QStringLiteral("Все"), nullptr});
    m_s.Inclined.Clear();
    for (int b = 1; b <= m_maxBranch; ++b)
        if (BranchExists(b) && m_s.Altitude[m_s.BeginNode[b]] != m_s.Altitude[m_s.EndNode[b]])
            m_s.Inclined.Add(b);
    if (m_s.Inclined.Count > 0)
        BranchFilters.push_back({QStringLiteral("Наклонные"), &m_s.Inclined});
    else
        Warn(QStringLiteral("В схеме отсутствуют наклонные выработки !"));
    return 0;
}

int THetCalc::IsBranchVMP()
{
    m_s.FalseSources.Clear();
    for (int b = 1; b <= m_maxBranch; ++b) {
        const double h = std::fabs(m_s.BaseH[b]);
        if (BranchExists(b) && h > 0 && h < HetFalseSourceLimit && m_s.Kind[b] != HetKindLocalFan
            && m_s.Kind[b] != HetKindBooster)
            m_s.FalseSources.Add(b);
    }
    if (m_s.FalseSources.Count == 0)
        return 0;
    BranchFilters.push_back({QStringLiteral("Ошибочных источников"), &m_s.FalseSources});
    if (Ask(QStringLiteral("Имеются неизвестные (ошибочные)") + CR + QStringLiteral("источники тяги (ветвей ")
            + QString::number(m_s.FalseSources.Count) + QStringLiteral(") !") + CR + QStringLiteral(" - Уничтожить ???")))
        for (int b = 1; b <= m_maxBranch; ++b)
            if (m_s.FalseSources.Has(b))
                m_s.BaseH[b] = 0;
    return 0;
}

int THetCalc::IsNoTemp()
{
    const auto wrong = [](double t) { return t > HetMaxTemp || t < HetMinTemp; };
    m_s.TempErrors.Clear();
    for (int b = 1; b <= m_maxBranch; ++b)
        if (BranchExists(b) && (wrong(m_s.EndTemp[b]) || wrong(m_s.StartTemp[b])))
            m_s.TempErrors.Add(b);
    if (m_s.TempErrors.Count == 0)
        return 0;
    BranchFilters.push_back({QStringLiteral("Ошибочных температур"), &m_s.TempErrors});
    if (Ask(QStringLiteral("Неизвестна (ошибочна)") + CR + QStringLiteral("температура (ветвей ")
            + QString::number(m_s.TempErrors.Count) + QStringLiteral(") !") + CR
            + QStringLiteral(" - Заменить значением 0 ???")))
        for (int b = 1; b <= m_maxBranch; ++b) {
            if (!m_s.TempErrors.Has(b))
                continue;
            if (wrong(m_s.EndTemp[b]))
                m_s.EndTemp[b] = 0;
            if (wrong(m_s.StartTemp[b]))
                m_s.StartTemp[b] = 0;
        }
    return 3;
}

void THetCalc::TsSurf()
{
    // The surface temperature is the one the user gave in this window, 19.0
    // until then: the tables hold no surface air temperature.
    if (!(m_s.Tsurf >= HetMinTsurf && m_s.Tsurf <= HetMaxTsurf))
        m_s.Tsurf = HetDefaultTsurf;
    SurfMasT();
    NodeFilter = 0;
    BranchFilter = 0;
}

void THetCalc::SurfMasT()
{
    for (int n = 1; n <= MaxItems; ++n)
        if (m_s.SurfaceNodes.Has(n))
            m_s.NodeTemp[n] = m_s.Tsurf;
}

int THetCalc::CheckData()
{
    int r = 0;
    SortAirDebt();
    if (const int code = IsNomSurf())
        r = code;
    if (const int code = IsNoAltit())
        r = code;
    IsBranchNak();
    IsBranchVMP();
    if (const int code = IsNoTemp())
        r = code;
    TsSurf();
    return r;
}

double THetCalc::SurfaceZmax() const
{
    double zmax = HetNoSurfaceAltitude;
    bool any = false;
    for (int n = 1; n <= m_maxNode; ++n)
        if (m_s.SurfaceNodes.Has(n) && (!any || m_s.Altitude[n] > zmax)) {
            zmax = m_s.Altitude[n];
            any = true;
        }
    return zmax;
}

int THetCalc::NomaxAlt()
{
    m_s.AboveShafts.Clear();
    for (int n = 1; n <= m_maxNode; ++n)
        if (NodeExists(n) && m_s.Altitude[n] > m_s.Zmax)
            m_s.AboveShafts.Add(n);
    return m_s.AboveShafts.Count;
}

void THetCalc::ArrZonaT()
{
    TAdjacency adjacency;
    int nodesWithBranches = 0;
    BuildAdjacency(m_s.BranchNo, m_s.BeginNode, m_s.EndNode, m_maxNode, m_maxBranch, adjacency, nodesWithBranches);

    // Level by level from the surface along the air: each node reached keeps
    // the branches that bring air into it.
    std::vector<std::uint8_t> reached(static_cast<std::size_t>(m_maxNode) + 2, 0);
    std::vector<std::vector<int>> inflows(static_cast<std::size_t>(m_maxNode) + 2);
    std::vector<std::vector<int>> levels(1);
    for (int n = 1; n <= m_maxNode; ++n)
        if (m_s.SurfaceNodes.Has(n)) {
            levels[0].push_back(n);
            reached[n] = 1;
        }
    while (!levels.back().empty()) {
        std::vector<int> next;
        for (const int node : levels.back())
            for (const AdjacencyItem *item = adjacency[node].Head; item; item = item->Next) {
                const int b = item->Branch;
                const bool atEnd = item->Side > 0;
                const bool forward = m_s.Q[b] >= 0;
                const int other = atEnd ? m_s.BeginNode[b] : m_s.EndNode[b];
                if (atEnd == forward) {
                    inflows[node].push_back(b);
                } else if (other >= 1 && other <= m_maxNode && !reached[other]) {
                    reached[other] = 1;
                    next.push_back(other);
                }
            }
        levels.push_back(std::move(next));
    }
    FreeAdjacency(m_maxNode, adjacency);

    // The air of a node is the mix of the air arriving at the ends of its inflows.
    for (std::size_t level = levels.size(); level-- > 1;)
        for (const int node : levels[level]) {
            if (m_s.Surface[node] != 0)
                continue;
            double flow = 0, heat = 0;
            for (const int b : inflows[node]) {
                const double q = std::fabs(m_s.Q[b]);
                flow += q;
                heat += q * m_s.EndTemp[b];
            }
            m_s.NodeTemp[node] = flow != 0 ? heat / flow : m_s.Tsurf;
        }
}

double THetCalc::CulcHe(int b) const
{
    const int s = m_s.BeginNode[b];
    const int e = m_s.EndNode[b];
    const double t1 = NodeTemperatures ? m_s.NodeTemp[s] : m_s.StartTemp[b];
    const double t2 = m_s.EndTemp[b];
    // Surface nodes count at the level of the highest shaft mouth.
    const double z1 = m_s.Surface[s] != 0 ? m_s.Zmax : m_s.Altitude[s];
    const double z2 = m_s.Surface[e] != 0 ? m_s.Zmax : m_s.Altitude[e];
    if (z2 == z1)
        return 0;
    return (z2 - z1) * 1.2 * (1 - 586 / ((t1 + 273) + (t2 + 273)));
}

void THetCalc::AllInform()
{
    m_s.He.fill(0);
    for (int b = 1; b <= m_maxBranch; ++b)
        if (BranchExists(b))
            m_s.He[b] = CulcHe(b);
}

void THetCalc::minmaxQ()
{
    m_s.Reversed.Clear();
    m_s.Reduced.Clear();
    m_s.Increased.Clear();
    for (int b = 1; b <= m_maxBranch; ++b) {
        if (!BranchExists(b))
            continue;
        const double qn = m_s.Qn[b];
        const double qe = m_s.Qe[b];
        if (qn * qe < 0) {
            m_s.Reversed.Add(b);
            continue;
        }
        // A branch without a normal flow has no change in per cent.
        if (qn == 0)
            continue;
        const double d = (qn - qe) * 100 / qn;
        if (d > HetChangeLimit)
            m_s.Reduced.Add(b);
        else if (d < -HetChangeLimit)
            m_s.Increased.Add(b);
    }
}

bool THetCalc::Calculate()
{
    m_s.SolveH = m_s.BaseH;
    m_s.Q = m_s.Qn;
    if (CheckData() != 0) {
        Warn(QStringLiteral("ИСХОДНЫЕ ДАННЫЕ НЕ ПОДГОТОВЛЕНЫ") + CR + QStringLiteral("     ДЛЯ ПРОВЕДЕНИЯ РАСЧЁТОВ !"));
        return false;
    }
    m_s.Zmax = SurfaceZmax();
    if (const int count = NomaxAlt()) {
        Warn(QStringLiteral("Имеются узлы с высотными отметками,") + CR
             + QStringLiteral("ПРЕВЫШАЮЩИМИ уровень всех стволов !") + CR + QStringLiteral("(таких узлов ")
             + QString::number(count) + u')');
        NodeFilters.push_back({QStringLiteral("Выше стволов"), &m_s.AboveShafts});
        return false;
    }
    // The checks may have erased false sources: the normal flows are those of the data as corrected.
    m_s.SolveH = m_s.BaseH;
    if (Solve() != crSolved) {
        Warn(QStringLiteral("Неверно указан статус узлов !!!") + CR + QStringLiteral("Сбой при расчёте воздухораспределения")
             + CR + QStringLiteral("  Задание отменяется!..."));
        return false;
    }
    m_s.Qn = m_s.Q;
    if (NodeTemperatures)
        ArrZonaT();
    AllInform();
    for (int i = 0; i < TableSize; ++i)
        m_s.SolveH[i] = m_s.BaseH[i] + m_s.He[i];
    m_s.Q.fill(0);
    if (const int code = Solve(); code != crSolved) {
        if (code == crNoDraughtSource)
            Warn(QStringLiteral("Отсутствуют источники тяги !") + CR + QStringLiteral("Расчёт воздухораспределения") + CR
                 + QStringLiteral("     НЕ ПРОИЗВОДИТСЯ !..."));
        else
            Warn(QStringLiteral("Сбой при попытке расчёта воздухораспределения") + CR
                 + QStringLiteral("       с учётом естественной тяги !") + CR + QStringLiteral("Задание отменяется!..."));
        return false;
    }
    m_s.Qe = m_s.Q;
    minmaxQ();
    ReversalLegend = m_s.Reversed.Count > 0;
    if (ReversalLegend) {
        Warn(QStringLiteral("Имело место опрокидывание струи !!!") + CR + QStringLiteral("    (ветвей ")
             + QString::number(m_s.Reversed.Count) + u')');
        BranchFilters.push_back({QStringLiteral("Опрокидывания струи"), &m_s.Reversed});
    }
    if (m_s.Reduced.Count > 0)
        BranchFilters.push_back({QStringLiteral("Сокращения расхода (не менее 10%)"), &m_s.Reduced});
    if (m_s.Increased.Count > 0)
        BranchFilters.push_back({QStringLiteral("Повышения расхода (не менее 10%)"), &m_s.Increased});
    m_s.Results = true;
    return true;
}

void THetCalc::SetTsurf(double value)
{
    m_s.Tsurf = value;
    SurfMasT();
    AllInform();
}

bool THetCalc::HetDataEdited() const
{
    for (int i = 1; i <= MaxItems; ++i)
        if (m_s.EndTemp[i] != m_t.BranchEndTemp[i] || m_s.Altitude[i] != m_t.NodeAltitude[i]
            || m_s.Surface[i] != m_t.NodeIsSurface[i])
            return true;
    return false;
}

void THetCalc::Close()
{
    if (!HetDataEdited())
        return;
    if (Ask(QStringLiteral("Сохранить результаты редактирования?"))) {
        m_t.BranchEndTemp = m_s.EndTemp;
        m_t.NodeAltitude = m_s.Altitude;
        m_t.NodeIsSurface = m_s.Surface;
        m_s.WrittenBack = true;
    } else {
        m_s.WrittenBack = false;
    }
}

namespace {

// The items of the chosen filter in ascending number; "Все" lists every existing one.
template <typename Exists>
std::vector<int> FilteredRows(const std::vector<THetFilter> &filters, int chosen, int last, Exists exists)
{
    const THetSet *set = chosen >= 0 && chosen < static_cast<int>(filters.size()) ? filters[chosen].Set : nullptr;
    std::vector<int> rows;
    for (int i = 1; i <= last; ++i)
        if (set ? set->Has(i) : exists(i))
            rows.push_back(i);
    return rows;
}

} // namespace

std::vector<int> THetCalc::NodeRows() const
{
    return FilteredRows(NodeFilters, NodeFilter, m_maxNode, [this](int n) { return NodeExists(n); });
}

std::vector<int> THetCalc::BranchRows() const
{
    return FilteredRows(BranchFilters, BranchFilter, m_maxBranch, [this](int b) { return BranchExists(b); });
}

QStringList THetCalc::NodeRow(int n) const
{
    return {Int(n, 3), FormatWD(m_s.Altitude[n], 8, 1),
            m_s.Surface[n] != 0 ? QStringLiteral("  Поверхность") : QString(),
            NodeTemperatures ? FormatWD(m_s.NodeTemp[n], 5, 1) : NotComputed};
}

QStringList THetCalc::BranchRow(int b) const
{
    return {Int(b, 4),
            Int(m_s.BeginNode[b], 4),
            Int(m_s.EndNode[b], 4),
            FormatWD(m_s.EndTemp[b], 5, 1),
            FormatWD(m_s.Qn[b], 8, 1),
            m_s.Results ? FormatWD(m_s.Qe[b], 8, 1) : QString(),
            FormatWD(m_s.GivenStartTemp[b], 5, 1),
            m_s.Results && NodeTemperatures ? FormatWD(m_s.NodeTemp[m_s.BeginNode[b]], 5, 1) : NotComputed};
}

const std::vector<QStringList> &THetCalc::NodeHeaders()
{
    static const std::vector<QStringList> headers{
        {QStringLiteral("Ном"), QStringLiteral("узла"), QStringLiteral("   N")},
        {QStringLiteral(" Высотная"), QStringLiteral(" отметка"), QStringLiteral("   узла, м")},
        {QStringLiteral("    Статус"), QStringLiteral("      узла"), QStringLiteral("(Поверхность?)")},
        {QStringLiteral("Расчётная"), QStringLiteral(" температ."), QStringLiteral(" в узле")}};
    return headers;
}

const std::vector<QStringList> &THetCalc::BranchHeaders()
{
    static const std::vector<QStringList> headers{
        {QStringLiteral("     Топо"), QStringLiteral(" Номер"), QStringLiteral(" ветви")},
        {QStringLiteral("логия"), QStringLiteral("        Уз"), QStringLiteral("  нач")},
        {QString(), QStringLiteral("лы"), QStringLiteral("  кон")},
        {QStringLiteral("Температура"), QStringLiteral("     в конце"), QStringLiteral("  выработки")},
        {QStringLiteral("     Расход"), QStringLiteral(" Без учёта"), QStringLiteral(" ест. тяги")},
        {QStringLiteral("Q, м3/с"), QStringLiteral(" С учётом"), QStringLiteral(" ест. тяги")},
        {QStringLiteral("         Темпе"), QStringLiteral("   в начале"), QStringLiteral("фактическ.")},
        {QStringLiteral("ратура"), QStringLiteral("выработки"), QStringLiteral(" расчётная")}};
    return headers;
}

THetReport::THetReport(const THetCalc &calc, const QString &mineTitle)
    : m_calc(calc), m_mineTitle(mineTitle), m_rows(calc.BranchRows())
{
    frHet.Name = QStringLiteral("frHet");
    frHet.OnFirst = [this](TfrComponent *) { Record = 1; };
    frHet.OnNext = [this](TfrComponent *) { ++Record; };
    frHet.OnCheckEOF = [this](TfrComponent *, bool &eof) { eof = Record > RecordCount(); };
}

const QStringList &THetReport::VariableNames()
{
    static const QStringList names{QStringLiteral("НазвШ"),  QStringLiteral("Номер"),  QStringLiteral("Начало"),
                                   QStringLiteral("Конец"),  QStringLiteral("ТемКон"), QStringLiteral("Расход"),
                                   QStringLiteral("РасходТ"), QStringLiteral("ТемНач"), QStringLiteral("ТемРас"),
                                   QStringLiteral("Примеч")};
    return names;
}

bool THetReport::GetValue(const QString &name, Variant &value) const
{
    const int index = static_cast<int>(VariableNames().indexOf(name));
    if (index < 0)
        return false;
    if (index == 0) {
        value = m_mineTitle;
        return true;
    }
    const int b = Record >= 1 && Record <= RecordCount() ? m_rows[Record - 1] : 0;
    if (b == 0) {
        value = QString();
        return true;
    }
    if (index == 9)
        value = m_calc.Tables().Reversed.Has(b) ? QStringLiteral("Опрокидывание струи") : QString();
    else
        value = m_calc.BranchRow(b)[index - 1];
    return true;
}

QString HetReportFile(const QString &reportsLocation)
{
    QString folder = reportsLocation;
    if (!folder.isEmpty() && !folder.endsWith(u'/'))
        folder += u'/';
    return folder + HetReportTemplate;
}
