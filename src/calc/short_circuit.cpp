#include "calc/short_circuit.h"

#include "platform/numbers.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cmath>
#include <thread>

const QString GradeNotStudied = QStringLiteral("Не иссл.");
const QString GradeReversed = QStringLiteral("Опрокид.");

namespace {

const QString GradeHigh = QStringLiteral("Высокая");
const QString GradeMedium = QStringLiteral("Средняя");
const QString GradeLow = QStringLiteral("Низкая");

// Doors and regulators below this resistance are no paths: they are already open.
constexpr double MinPathResistance = 0.01;
// "Сопротивление закорачивания" values outside (0, 999) mean "not given".
constexpr double NoGivenShortCircuitR = 999;
// The airway's own resistance per metre for its area (kmurg).
constexpr double AirwayResistanceFactor = 0.00965;

constexpr std::uint8_t GroupKinds[4] = {sckLongwall, sckFanSuction, sckFreshening, sckConnection};

QString Fixed(double x, int width, int decimals) { return FormatWD(x, width, decimals); }

bool Exists(const TTraversalWorkArrays &c, int b) { return c.BranchNo[b] > 0; }

// Change of a normal value in per cent, blank when the normal value is 0
// (no change can be stated against nothing).
QString Percent(double normal, double changed)
{
    if (normal == 0)
        return QString();
    return Fixed((normal - changed) / normal * 100, 6, 1);
}

// What one worker learns from its share of the paths, merged in path order
// so that the result equals that of opening the paths one after another.
struct TChunkResult
{
    TTable<double> QMin{};
    TTable<std::int16_t> MinCause{};
    TTable<QString> PathHits{};
};

} // namespace

void TakeShortCircuitSnapshot(TTraversalWorkArrays &w, const TNetworkTables &t)
{
    w.TakeSnapshot(t);
    w.BranchLength = t.BranchLength;
    w.BranchArea = t.BranchArea;
}

QString GradeFlowChange(TShortCircuitKind kind, double d)
{
    const double high = kind == sckFanSuction ? 10 : 20;
    const double low = kind == sckFanSuction ? 30 : 50;
    if (d < high)
        return GradeHigh;
    return d < low ? GradeMedium : GradeLow;
}

QString GradeConnection(double hz)
{
    if (hz >= 20)
        return GradeHigh;
    return hz >= 5 ? GradeMedium : GradeLow;
}

TShortCircuitStudy::TShortCircuitStudy(const TNetworkTables &t, TTraversalWorkArrays &w)
    : Tables(t), Copy(w)
{
    TakeShortCircuitSnapshot(w, t);
    StabilityGrade.fill(GradeNotStudied);
}

void TShortCircuitStudy::SelectShortCircuitPaths()
{
    Selection = {};
    for (int b = 1; b < TableSize; ++b) {
        if (!Exists(Copy, b))
            continue;
        const int kind = Tables.BranchType[b];
        if (kind != sckDoor && kind != sckRegulator)
            continue;
        if (Copy.BranchR[b] < MinPathResistance)
            ++Selection.Excluded;
        else
            Selection.Paths.push_back(b);
    }
    FillPathTable();
}

QString TShortCircuitStudy::StartMessage(bool &information, bool &opens) const
{
    const int a = static_cast<int>(Selection.Paths.size());
    const int c = Selection.Excluded;
    const QString kinds = QStringLiteral("с признаком путей закорачивания\r(внутренняя утечка дверь,регулятор)!");
    const auto count = [&](int n) { return QStringLiteral("В схеме : %1 ветвей\r").arg(n) + kinds; };
    information = true;
    opens = a > 0;
    if (a > 0 && c == 0)
        return count(a);
    if (a > 0)
        return count(a + c) + QStringLiteral("\r\r%1 - из них имеют величину сопротивления\r").arg(c)
               + QStringLiteral("НЕ СОГЛАСУЮЩУЮСЯ с признаком Пути закорачивания\r\r")
               + QStringLiteral("Поэтому эти ветви \rкак пути закорачивания - НЕ РАССМАТРИВАЮТСЯ...");
    if (c > 0)
        return count(c) + QStringLiteral("\r\rВсе они имеют величину сопротивления,\r")
               + QStringLiteral("НЕ СОГЛАСУЮЩУЮСЯ с признаком Пути закорачивания\r\r")
               + QStringLiteral("Поэтому все ветви как пути закорачивания\rНЕ РАССМАТРИВАЮТСЯ и задание СНИМАЕТСЯ...");
    information = false;
    return QStringLiteral("В схеме отсутствуют ветви \r") + kinds + QStringLiteral("\r\rПоэтому задание СНИМАЕТСЯ...");
}

double TShortCircuitStudy::ShortCircuitResistance(int b) const
{
    const double given = Tables.BranchShortCircuitR[b];
    if (given > 0 && given < NoGivenShortCircuitR)
        return given;
    const double L = Copy.BranchLength[b];
    const double S = Copy.BranchArea[b];
    const double R = Copy.BranchR[b];
    if (L <= 0 || S <= 0)
        return R / 100;
    const double own = AirwayResistanceFactor * L * std::sqrt(S) / (S * S * S);
    return R < own ? R / 100 : own + (R - own) / 100;
}

int TShortCircuitStudy::CheckPathGeometry() const
{
    return static_cast<int>(std::count_if(Selection.Paths.begin(), Selection.Paths.end(),
                                          [this](int b) { return Copy.BranchLength[b] == 0 || Copy.BranchArea[b] == 0; }));
}

QString TShortCircuitStudy::GeometryQuestion(int n)
{
    return QStringLiteral("Для %1 ветвей путей закорачивания\rНЕ УКАЗАНЫ геометрические параметры!\r\rПродолжить работу?")
        .arg(n);
}

QString TShortCircuitStudy::FailureMessage(int path)
{
    return QStringLiteral("Сбой при расчете воздухораспределения\rв ходе закорачивания ветви %1 !\r\rЗадание Снимается... ")
        .arg(path);
}

void TShortCircuitStudy::FillPathTable()
{
    auto &rows = Rows[sctDoors];
    rows.clear();
    for (int b : Selection.Paths)
        rows.push_back({QStringLiteral(" %1").arg(b), GetBranchName(Tables, b), Fixed(Copy.BranchR[b], 10, 5),
                        Fixed(Copy.BranchQ[b], 6, 1)});
}

int TShortCircuitStudy::ShortCircuitAll(const std::function<void(int)> &Progress)
{
    const auto &paths = Selection.Paths;
    const int a = static_cast<int>(paths.size());
    // Every run measures against the normal distribution, which the work copy keeps.
    QNormal = Copy.BranchQ;
    for (int b : paths)
        RShort[b] = ShortCircuitResistance(b);

    const int threads = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, std::max(a, 1));
    std::vector<std::unique_ptr<TChunkResult>> chunks(static_cast<std::size_t>(threads));
    std::vector<double> newFlow(static_cast<std::size_t>(a), 0.0);
    std::atomic<int> done{0};
    std::atomic<int> firstFailure{INT_MAX};
    const int maxBranch = MaxBranchNo(Tables);
    const int maxNode = MaxNodeNo(Tables);

    const auto work = [&](int chunk, int from, int to) {
        auto result = std::make_unique<TChunkResult>();
        result->QMin.fill(HUGE_VAL);
        // The solver rebuilds the node lists of the tables it is given, so each worker has its own.
        auto tables = std::make_unique<TNetworkTables>(Tables);
        auto r = std::make_unique<TTable<double>>(Copy.BranchR);
        auto q = std::make_unique<TTable<double>>();
        for (int i = from; i < to && i < firstFailure.load(); ++i) {
            const int b = paths[static_cast<std::size_t>(i)];
            const double kept = (*r)[b];
            (*r)[b] = RShort[b];
            const CalcResult code = Solve(*tables, maxBranch, maxNode, Copy.BranchNo, Copy.BranchStartNode,
                                          Copy.BranchEndNode, Copy.NodeIsSurface, *r, Copy.BranchAuxDepression, *q,
                                          nullptr);
            (*r)[b] = kept;
            if (code != crSolved) {
                int expected = firstFailure.load();
                while (i < expected && !firstFailure.compare_exchange_weak(expected, i)) {}
                break;
            }
            newFlow[static_cast<std::size_t>(i)] = (*q)[b];
            // Judge the opening of path b.
            for (int c = 1; c <= maxBranch; ++c) {
                if (!Exists(Copy, c))
                    continue;
                const double qn = QNormal[c];
                const double qz = (*q)[c];
                bool hit = false;
                switch (Tables.BranchType[c]) {
                case sckLongwall:
                case sckFreshening:
                    hit = qn * qz < 0 || (qn != 0 && (qn - qz) / qn * 100 > 50);
                    break;
                case sckFanSuction:
                    hit = qn * qz < 0 || (qn != 0 && (qn - qz) / qn * 100 > 30);
                    break;
                case sckConnection:
                    hit = qn * qz < 0 || qz * qz * Copy.BranchR[c] < 5;
                    break;
                default:
                    break;
                }
                if (hit)
                    result->PathHits[c] += QStringLiteral("%1; ").arg(b, 3);
                if (result->QMin[c] >= qz) {
                    result->QMin[c] = qz;
                    result->MinCause[c] = static_cast<std::int16_t>(b);
                }
            }
            ++done;
        }
        chunks[static_cast<std::size_t>(chunk)] = std::move(result);
    };

    std::vector<std::thread> workers;
    const int share = (a + threads - 1) / threads;
    for (int k = 0; k < threads; ++k)
        workers.emplace_back(work, k, k * share, std::min(a, (k + 1) * share));
    if (Progress) {
        int shown = -1;
        while (done.load() < a && firstFailure.load() == INT_MAX) {
            if (done.load() != shown)
                Progress(shown = done.load());
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    for (auto &w : workers)
        w.join();
    if (firstFailure.load() != INT_MAX)
        return paths[static_cast<std::size_t>(firstFailure.load())];
    if (Progress)
        Progress(a);

    QMin = QNormal;
    for (int c = 1; c < TableSize; ++c) {
        MinCause[c] = Copy.BranchNo[c];
        PathHits[c].clear();
    }
    for (const auto &chunk : chunks)
        for (int c = 1; c <= maxBranch; ++c) {
            if (chunk->MinCause[c] != 0 && QMin[c] >= chunk->QMin[c]) {
                QMin[c] = chunk->QMin[c];
                MinCause[c] = chunk->MinCause[c];
            }
            PathHits[c] += chunk->PathHits[c];
        }
    auto &rows = Rows[sctDoors];
    for (int i = 0; i < a; ++i) {
        const int b = paths[static_cast<std::size_t>(i)];
        const double qz = newFlow[static_cast<std::size_t>(i)];
        const double qn = QNormal[b];
        QStringList &row = rows[static_cast<std::size_t>(i)];
        row = row.mid(0, 4);
        row << Fixed(RShort[b], 10, 5) << Fixed(qz, 6, 1)
            << (qn == 0 ? QString() : Fixed((qz - qn) / qn * 100, 6, 1));
    }
    return 0;
}

void TShortCircuitStudy::FillResults()
{
    for (int g = 0; g < 4; ++g) {
        Groups[g].clear();
        for (int c = 1; c < TableSize; ++c)
            if (Exists(Copy, c) && Tables.BranchType[c] == GroupKinds[g])
                Groups[g].push_back(c);
        FillGroupTable(g);
    }
    FillNetworkTable();
}

QString TShortCircuitStudy::EmptyGroupMessage(int group)
{
    static const char *const kinds[4] = {"с признаком лавы!", "с признаком всаса ВМП!", "с признаком подсвежения!",
                                         "с признаком связи между участками!"};
    return QStringLiteral("В схеме отсутствуют ветви\r") + QString::fromUtf8(kinds[group])
           + QStringLiteral("\rПоэтому их список не формируется...");
}

void TShortCircuitStudy::FillGroupTable(int group)
{
    auto &rows = Rows[sctLongwalls + group];
    rows.clear();
    const auto kind = static_cast<TShortCircuitKind>(GroupKinds[group]);
    for (int c : Groups[group]) {
        const double qn = QNormal[c];
        const double qz = QMin[c];
        QString second, third, change, grade;
        if (kind == sckConnection) {
            const double hn = std::fabs(qn) * qn * Copy.BranchR[c];
            const double hz = std::fabs(qz) * qz * Copy.BranchR[c];
            second = Fixed(hn, 6, 1);
            third = Fixed(hz, 6, 1);
            change = qn * qz > 0 ? Percent(hn, hz) : qn == 0 ? QString() : GradeReversed;
            grade = GradeConnection(hz);
        } else {
            second = Fixed(qn, 6, 1);
            third = Fixed(qz, 6, 1);
            if (qn == 0) {
                // Nothing flowed normally: no change to grade against.
                grade = GradeNotStudied;
            } else {
                const double d = (qn - qz) / qn * 100;
                change = qn * qz > 0 ? Fixed(d, 6, 1) : GradeReversed;
                grade = GradeFlowChange(kind, d);
            }
        }
        StabilityGrade[c] = grade;
        rows.push_back({QStringLiteral(" %1").arg(c), GetBranchName(Tables, c), second, third, change, grade,
                        QStringLiteral("   %1").arg(MinCause[c])});
    }
}

void TShortCircuitStudy::FillNetworkTable()
{
    auto &rows = Rows[sctNetwork];
    rows.clear();
    Reversed.clear();
    for (int c = 1; c < TableSize; ++c) {
        if (!Exists(Copy, c))
            continue;
        const double qn = QNormal[c];
        const double qz = QMin[c];
        QString change;
        if (qn * qz > 0) {
            change = Fixed((qn - qz) * (100 / qn), 6, 1);
        } else if (qn != 0) {
            change = GradeReversed;
            Reversed.push_back(c);
        }
        const int kind = Tables.BranchType[c];
        const double rz = kind == sckDoor || kind == sckRegulator ? RShort[c] : Copy.BranchR[c];
        rows.push_back({QStringLiteral(" %1").arg(c), GetBranchName(Tables, c), Fixed(qn, 4, 1), Fixed(qz, 4, 1),
                        change, Fixed(std::fabs(qn) * qn * Copy.BranchR[c], 6, 1), Fixed(std::fabs(qz) * qz * rz, 6, 1),
                        StabilityGrade[c], QStringLiteral("   %1").arg(MinCause[c])});
    }
}

QStringList TShortCircuitStudy::ReversedItems() const
{
    QStringList items;
    for (int c : Reversed)
        items << QStringLiteral("%1. %2").arg(c).arg(GetBranchName(Tables, c));
    if (items.isEmpty())
        items << QStringLiteral("Ветви с опрокинувшейся струей отсутствуют");
    return items;
}

bool TShortCircuitStudy::ReportValue(TShortCircuitTab tab, int row, const QString &name, const QString &mineTitle,
                                     QString &value) const
{
    // The mine's name stands in titles and footers, printed also outside the rows.
    if (name == QStringLiteral("НазвШахты")) {
        value = mineTitle;
        return true;
    }
    const auto &rows = Rows[tab];
    if (row < 1 || row > static_cast<int>(rows.size()))
        return false;
    const QStringList &cells = rows[static_cast<std::size_t>(row - 1)];
    const auto cell = [&](int column) { return column < cells.size() ? cells[column] : QString(); };
    const bool connections = tab == sctConnections;
    const auto path = [&] {
        const int branch = cell(0).trimmed().toInt();
        const QString hits = branch > 0 ? PathHits[branch] : QString();
        return QStringLiteral(" ") + (hits.isEmpty() ? cell(6) : hits);
    };
    QString v;
    if (name == QStringLiteral("Номер"))
        v = cell(0);
    else if (name == QStringLiteral("Название"))
        v = (QStringLiteral(" ") + cell(1)).left(45);
    else if (name == QStringLiteral("РасходН") && !connections)
        v = cell(2);
    else if (name == QStringLiteral("СопротН") && tab == sctDoors)
        v = cell(3);
    else if (name == QStringLiteral("РасходЗ") && !connections)
        v = tab == sctDoors ? cell(4) : tab == sctNetwork ? cell(3) : QStringLiteral(" ") + cell(3);
    else if (name == QStringLiteral("СопротЗ") && tab == sctDoors)
        v = cell(5);
    else if (name == QStringLiteral("ДепресН") && connections)
        v = cell(2);
    else if (name == QStringLiteral("ДепресЗ") && connections)
        v = QStringLiteral(" ") + cell(3);
    else if (name == QStringLiteral("Дельта"))
        v = tab == sctDoors ? cell(6) : cell(4);
    else if (name == QStringLiteral("Степень") && tab != sctDoors)
        v = tab == sctNetwork ? cell(7) : cell(5);
    else if (name == QStringLiteral("Путь") && tab != sctDoors)
        v = tab == sctNetwork ? QStringLiteral("   ") + cell(8) : path();
    else
        return false;
    value = v;
    return true;
}

QString TShortCircuitStudy::TemplatePath(const QString &reportsLocation, TShortCircuitTab tab)
{
    static const char *const names[sctCount] = {"Закорачивание (двери)",    "Закорачивание (сеть)",
                                                "Закорачивание (лавы)",     "Закорачивание (всас ВМП)",
                                                "Закорачивание (подсвежение)", "Закорачивание (связи)"};
    QString folder = reportsLocation;
    if (!folder.endsWith(u'/') && !folder.endsWith(u'\\'))
        folder += u'/';
    return folder + QStringLiteral("Закорачивание/") + QString::fromUtf8(names[tab]) + QStringLiteral(".frf");
}

TShortCircuitReport::TShortCircuitReport(const TShortCircuitStudy &study) : m_study(study)
{
    udZakor.Name = ShortCircuitSourceName;
    udZakor.OnFirst = [this](TfrComponent *) { Record = 1; };
    udZakor.OnNext = [this](TfrComponent *) { ++Record; };
    udZakor.OnCheckEOF = [this](TfrComponent *, bool &eof) { eof = Record > RecordCount(); };
}

bool TShortCircuitReport::GetValue(const QString &name, Variant &value) const
{
    QString text;
    if (!m_study.ReportValue(Tab, Record, name, MineTitle, text))
        return false;
    value = text;
    return true;
}
