#include "demo_scheme.h"

#include "calc/solver.h"
#include "platform/geometry.h"

#include <map>
#include <stdexcept>

namespace {

// Air temperature by place in the mine, °C.
constexpr double SurfaceTemp = 8;

class TDemoBuilder
{
public:
    TDemoBuilder(TNetworkTables &t, TSchemeDocument &doc) : m_t(t), m_doc(doc) {}

    int Node(int x, int y, double altitude, double temp, bool surface = false)
    {
        const int n = GetNewNodeNo(m_t, false);
        CreateNode(m_t, n);
        m_t.NodeX[n] = static_cast<std::int16_t>(x);
        m_t.NodeY[n] = static_cast<std::int16_t>(y);
        m_t.NodeAltitude[n] = altitude;
        m_t.NodeIsSurface[n] = surface;
        m_temp[n] = temp;
        return n;
    }

    struct TAirway
    {
        int Type = 0;
        double R = 0;        // kilomurgues
        int Length = 0;      // m
        double Area = 0;     // m²
        double Height = 3;   // m
        double Angle = 0;    // degrees
        bool Fresh = false;
        int Layer = 0;
    };

    int Branch(int from, int to, const QString &name, const TAirway &a, std::initializer_list<TPoint> bends = {})
    {
        const int b = GetNewBranchNo(m_t, false);
        CreateBranch(m_t, b);
        m_t.BranchStartNode[b] = static_cast<std::int16_t>(from);
        m_t.BranchEndNode[b] = static_cast<std::int16_t>(to);
        m_t.BranchType[b] = static_cast<std::uint8_t>(a.Type);
        m_t.BranchName[b] = name;
        m_t.BranchR[b] = a.R;
        m_t.BranchLength[b] = static_cast<std::int16_t>(a.Length);
        m_t.BranchArea[b] = a.Area;
        m_t.BranchHeight[b] = a.Height;
        m_t.BranchAngle[b] = a.Angle;
        m_t.BranchAlpha[b] = a.Area > 0 ? 0.0011 + 0.0001 * (b % 5) : 0;
        m_t.BranchIsFresh[b] = a.Fresh;
        m_t.BranchLayer[b] = static_cast<std::uint8_t>(a.Layer);
        m_t.BranchStartTemp[b] = m_temp[from];
        m_t.BranchEndTemp[b] = m_temp[to];
        // The speed limits of the branch type are taken when the scheme is opened.
        m_t.BranchMinSpeed[b] = SpeedTypeDefault;
        m_t.BranchMaxSpeed[b] = SpeedTypeDefault;
        m_t.BranchRequiredFlow[b] = ValueNotGiven;
        m_t.BranchFixedDepression[b] = ValueNotGiven;
        m_t.BranchStartTemp[b] = m_temp[from];
        m_t.BranchLabelFlags[b] = lfNumber | lfQ | lfArrow;
        InsertBranchEdgeTurns(m_t, b);
        auto &turns = *m_t.BranchTurns[b];
        for (const TPoint &p : bends)
            turns.insert(turns.end() - 1, TTurn(b, p.X, p.Y));
        return b;
    }

    void Flags(int b, std::int16_t flags) { m_t.BranchFlags[b] = static_cast<std::int16_t>(m_t.BranchFlags[b] | flags); }

    TNetworkTables &T() { return m_t; }
    TSchemeDocument &Doc() { return m_doc; }

private:
    TNetworkTables &m_t;
    TSchemeDocument &m_doc;
    std::map<int, double> m_temp;
};

using TAirway = TDemoBuilder::TAirway;

// Airway kinds, by branch type code.
enum {
    btWorking = 0, btLeakage = 1, btDoorLeakage = 3, btChamber = 4, btStopping = 5, btRegulator = 6,
    btLongwall = 7, btLocalFan = 8, btDevelopment = 10, btCageShaft = 11, btSkipShaft = 13,
    btSurfaceLeakage = 14, btIntakeShaft = 15, btFreshening = 19, btDuct = 21, btFireDoor = 22, btFanChannel = 26,
};

struct TPanel
{
    int Longwall = 0;
    int Return = 0;
};

// One longwall panel between an intake node and a return node: conveyor
// bremsberg and gate, the longwall, the return gate and bremsberg with the
// panel's regulator, and the leakage through the worked-out area.
TPanel Panel(TDemoBuilder &m, int number, int intake, int out, int x, double regulatorR)
{
    const QString k = QString::number(number);
    const int a = m.Node(x, 450, -380, 15.5);
    const int b = m.Node(x, 700, -420, 17.5);
    const int c = m.Node(x + 120, 700, -415, 24);
    const int d = m.Node(x + 120, 450, -375, 23);
    const int e = m.Node(x + 120, 250, -350, 22.5);
    TPanel p;
    const int bremsberg = m.Branch(intake, a, QStringLiteral("Конвейерный бремсберг %1").arg(k),
                                   {btWorking, 0.012, 320, 12.4, 3.2, 7, true, 1});
    m.Flags(bremsberg, bfConveyor | bfElectricCables);
    m.T().BranchCableCells[bremsberg] = QStringLiteral("ЯКНО №%1").arg(10 + number);
    const int gate = m.Branch(a, b, QStringLiteral("Конвейерный штрек лавы %1").arg(k),
                              {btWorking, 0.03, 900, 11.2, 3, 2, true, 1}, {{x - 20, 575}});
    m.Flags(gate, bfConveyor | bfFireWaterPipe);
    m.T().BranchFirePipeDiameter[gate] = QStringLiteral("150 мм");
    m.T().BranchBeltType[gate] = 1;
    m.T().BranchBeltWidth[gate] = 2;
    p.Longwall = m.Branch(b, c, QStringLiteral("Лава %1").arg(k), {btLongwall, 0.1, 220, 7.5, 2.2, 4, true, 1});
    m.T().BranchPeople[p.Longwall] = 22;
    m.T().BranchPLAPosition[p.Longwall] = static_cast<std::int16_t>(10 + number);
    m.T().BranchLabelFlags[p.Longwall] |= lfName | lfPeople;
    const int returnGate = m.Branch(c, d, QStringLiteral("Вентиляционный штрек лавы %1").arg(k),
                                    {btWorking, 0.035, 900, 10.8, 3, 2, false, 1}, {{x + 140, 575}});
    m.Flags(returnGate, bfDegassingPipe);
    m.T().BranchDegasValve[returnGate] = QStringLiteral("З-%1").arg(number);
    m.Branch(a, d, QStringLiteral("Утечки через выработанное пространство лавы %1").arg(k),
             {btLeakage, 9, 0, 0, 0, 0, false, 1});
    m.Branch(d, e, QStringLiteral("Вентиляционный бремсберг %1").arg(k), {btWorking, 0.014, 320, 11.5, 3, 7, false, 1});
    p.Return = m.Branch(e, out, QStringLiteral("Регулятор лавы %1").arg(k), {btRegulator, regulatorR, 10, 4, 2, 0, false, 0});
    return p;
}

// A development drift driven from the intake drift: the through-going air
// passes a local fan that blows through a duct to the face; the face air
// returns along the drift past the fan.
void DevelopmentFace(TDemoBuilder &m, int number, const QString &drift, int intake, int out, int x, int dx,
                     const QString &fanModel)
{
    const QString k = QString::number(number);
    const int a = m.Node(x, 380, -352, 15);
    const int d = m.Node(x + dx, 380, -352, 17);
    const int b = m.Node(x, 470, -355, 15.5);
    const int c = m.Node(x + dx, 600, -360, 19);
    m.Branch(intake, a, QStringLiteral("Ходок к ВМП-%1").arg(k), {btWorking, 0.06, 150, 9.5, 2.8, 0, true, 0});
    m.Branch(a, d, QStringLiteral("Сбойка у ВМП-%1").arg(k), {btWorking, 0.4, 80, 9, 2.8, 0, false, 0});
    const int fan = m.Branch(a, b, QStringLiteral("ВМП-%1").arg(k), {btLocalFan, 0.6, 5, 0.5, 0, 0, true, 0});
    m.T().BranchAuxDepression[fan] = 150;
    m.Doc().InstalledFans.Add(fan, fanModel, number - 1, 75);
    m.Branch(b, c, QStringLiteral("Вентиляционный трубопровод ВМП-%1").arg(k),
             {btDuct, 5.5, 420, 0.5, 0, 0, true, 0}, {{x, 600}});
    const int face = m.Branch(c, d, QStringLiteral("Подготовительный забой: %1").arg(drift),
                              {btDevelopment, 0.08, 420, 14, 3.5, 0, false, 0});
    m.T().BranchPeople[face] = 6;
    m.T().BranchLabelFlags[face] |= lfName;
    m.Branch(d, out, QStringLiteral("Вентиляционный ходок забоя %1").arg(k), {btWorking, 0.12, 200, 9, 2.8, 0, false, 0});
}

} // namespace

void MakeDemoScheme(TNetworkTables &t, TSchemeDocument &doc)
{
    TDemoBuilder m(t, doc);

    // Surface.
    const int skipTop = m.Node(80, 60, 152, SurfaceTemp, true);
    const int cageTop = m.Node(200, 60, 150, SurfaceTemp, true);
    const int ventTop = m.Node(1300, 60, 155, 21);
    const int diffuser = m.Node(1440, 60, 155, SurfaceTemp, true);
    const int collar = m.Node(1300, 10, 155, SurfaceTemp, true);

    // Level -350 m: shaft yard, main intake drift (y 300) and main return drift (y 200).
    const int skipBottom = m.Node(80, 300, -350, 11);
    const int cageBottom = m.Node(200, 300, -350, 11.5);
    // The cage carries people: the rescue routes end at its bottom.
    t.NodeLiftToSurface[cageBottom] = 1;
    const int yard = m.Node(300, 300, -350, 12.5);
    std::map<int, int> intake, ret;
    for (int x = 400; x <= 1100; x += 100)
        intake[x] = m.Node(x, 300, -350, 12.5 + (x - 300) * 0.003);
    for (int x = 300; x <= 1300; x += 100)
        ret[x] = m.Node(x, 200, -345, 21 + (x - 300) * 0.001);

    const TAirway shaft{btWorking, 0.003, 500, 28.3, 0, 90, false, 0};
    TAirway skip = shaft;
    skip.Type = btSkipShaft;
    skip.R = 0.006;
    skip.Fresh = true;
    TAirway cage = shaft;
    cage.Type = btCageShaft;
    cage.R = 0.0025;
    cage.Area = 33.2;
    cage.Fresh = true;
    const int skipShaft = m.Branch(skipTop, skipBottom, QStringLiteral("Скиповой ствол"), skip);
    const int cageShaft = m.Branch(cageTop, cageBottom, QStringLiteral("Клетевой ствол"), cage);
    const int ventShaft = m.Branch(ret[1300], ventTop, QStringLiteral("Вентиляционный ствол"), shaft);
    const int mainFan = m.Branch(ventTop, diffuser, QStringLiteral("Канал главного вентилятора"),
                                 {btFanChannel, 0.0008, 40, 12, 3.5, 0, false, 0}, {{1370, 30}});
    t.BranchAuxDepression[mainFan] = 230;
    t.BranchLabelFlags[mainFan] |= lfName | lfAuxDepression;
    doc.InstalledFans.Add(mainFan, QStringLiteral("ВЦД-31,5М"), 2, 80);
    m.Branch(collar, ventTop, QStringLiteral("Подсос через надшахтное здание"), {btSurfaceLeakage, 1.5, 25, 0, 0, 0, false, 0});
    for (const int b : {skipShaft, cageShaft, ventShaft})
        m.Flags(b, bfElectricCables | bfCompressedAirPipe);
    t.BranchPLAPosition[skipShaft] = 1;
    t.BranchPLAPosition[cageShaft] = 2;
    t.BranchPLAPosition[ventShaft] = 3;
    t.BranchPLAColor[ventShaft] = 0x0000FF;

    const TAirway yardDrift{btWorking, 0.003, 120, 16.5, 3.6, 0, true, 0};
    m.Branch(skipBottom, yard, QStringLiteral("Околоствольный двор скипового ствола"), yardDrift, {{140, 330}});
    const int cageYard = m.Branch(cageBottom, yard, QStringLiteral("Околоствольный двор клетевого ствола"), yardDrift);
    const int crosscut = m.Branch(yard, intake[400], QStringLiteral("Главный квершлаг"), {btWorking, 0.004, 140, 16, 3.6, 0, true, 0});
    m.Flags(crosscut, bfFireWaterPipe | bfElectricCables);
    t.BranchFirePipeDiameter[crosscut] = QStringLiteral("200 мм");
    const int substation = m.Node(240, 360, -350, 18);
    m.Branch(yard, substation, QStringLiteral("Камера ЦПП"), {btChamber, 0.5, 40, 20, 4, 0, true, 0});
    m.Branch(substation, ret[300], QStringLiteral("Регулятор камеры ЦПП"), {btRegulator, 6, 5, 1, 1, 0, false, 0},
             {{240, 250}});
    const int pumps = m.Node(460, 360, -350, 16);
    m.Branch(intake[400], pumps, QStringLiteral("Насосная камера"), {btChamber, 0.5, 40, 18, 4, 0, true, 0});
    m.Branch(pumps, ret[400], QStringLiteral("Регулятор насосной камеры"), {btRegulator, 8, 5, 1, 1, 0, false, 0},
             {{460, 240}});
    m.Branch(yard, ret[300], QStringLiteral("Вентиляционные двери околоствольного двора"),
             {btDoorLeakage, 30, 5, 0, 0, 0, false, 0});

    const TAirway intakeDrift{btWorking, 0.003, 200, 15.2, 3.4, 0, true, 0};
    const TAirway returnDrift{btWorking, 0.0035, 200, 14.1, 3.3, 0, false, 0};
    std::map<int, int> intakeDrifts, returnDrifts;
    for (int x = 400; x < 1100; x += 100) {
        const int b = m.Branch(intake[x], intake[x + 100], QStringLiteral("Главный откаточный штрек"), intakeDrift);
        m.Flags(b, bfElectricCables | bfCompressedAirPipe);
        intakeDrifts[x] = b;
    }
    for (int x = 300; x < 1300; x += 100)
        returnDrifts[x] = m.Branch(ret[x], ret[x + 100], QStringLiteral("Главный вентиляционный штрек"), returnDrift,
                                   x == 800 ? std::initializer_list<TPoint>{{850, 185}} : std::initializer_list<TPoint>{});

    // Cross-cuts between the two drifts, closed by doors and stoppings.
    m.Branch(intake[500], ret[500], QStringLiteral("Перемычка в сбойке №1"), {btStopping, 60, 5, 0, 0, 0, false, 0});
    m.Branch(intake[600], ret[600], QStringLiteral("Вентиляционные двери в сбойке №2"), {btDoorLeakage, 30, 5, 0, 0, 0, false, 0});
    m.Branch(intake[900], ret[900], QStringLiteral("Вентиляционные двери в сбойке №3"), {btDoorLeakage, 30, 5, 0, 0, 0, false, 0});
    m.Branch(intake[1100], ret[1100], QStringLiteral("Пожарная дверь в сбойке №4"), {btFireDoor, 40, 5, 0, 0, 0, false, 0});

    // Three longwall panels; the nearer to the fan, the tighter the regulator.
    Panel(m, 1, intake[500], ret[700], 500, 0.12);
    const TPanel second = Panel(m, 2, intake[700], ret[900], 750, 0.07);
    Panel(m, 3, intake[1000], ret[1200], 1000, 0.02);
    // Fresh air let into the second panel's return to dilute its gas.
    const int panel2Return = t.BranchStartNode[second.Return];
    m.Branch(intake[800], panel2Return, QStringLiteral("Подсвежение лавы 2"), {btFreshening, 3, 60, 6, 2.5, 0, true, 1});

    DevelopmentFace(m, 1, QStringLiteral("Конвейерный штрек лавы 4"), intake[1100], ret[1300], 1180, 80,
                    QStringLiteral("ВМЭ-6"));
    DevelopmentFace(m, 2, QStringLiteral("Западный полевой штрек"), intake[400], ret[300], 380, -100,
                    QStringLiteral("ВМЦ-8"));

    // Symbols along the airways (shown in thick mode): doors in the shaft
    // yard, air-speed and methane sensors, measuring stations on the main
    // crosscut and in front of the ventilation shaft, a water barrier and a
    // mine-rescue post on the main haulage drift.
    doc.SymbolLinks = {
        TLink(cageYard, 30, QStringLiteral("ЗакрДверь")),
        TLink(cageYard, 90, QStringLiteral("ЗакрДверь2")),
        TLink(crosscut, 35, QStringLiteral("ЗамернСт")),
        TLink(intakeDrifts[400], 50, QStringLiteral("Скорость")),
        TLink(intakeDrifts[600], 60, QStringLiteral("ВодЗаслон")),
        TLink(intakeDrifts[600], 140, QStringLiteral("ВГСЧ2")),
        TLink(returnDrifts[900], 150, QStringLiteral("Метан")),
        TLink(returnDrifts[1200], 60, QStringLiteral("ЗамернСт")),
        TLink(returnDrifts[1200], 140, QStringLiteral("Метан2")),
    };

    doc.MineProperties.MineName = QStringLiteral("Шахта «Демонстрационная»");
    doc.MineProperties.Remarks =
        QStringLiteral("Учебная схема: горизонт -350 м, пласт k8, три лавы и два подготовительных забоя");
    doc.Layers = {{QStringLiteral("Горизонт -350 м"), 0x000000}, {QStringLiteral("Пласт k8"), 0x008000}};

    // What the engineer has placed on the scheme: inscriptions, the
    // balloons of the accident-plan positions and the telephones.
    t.BranchPLAColor[skipShaft] = 0x00FFFF;
    t.BranchPLAColor[cageShaft] = 0x00C000;
    const auto text = [&doc](int x, int y, const QString &words, int factor, std::uint8_t style, TColor color) {
        TMapText inscription;
        inscription.SetText(words);
        inscription.SetPos(x, y);
        inscription.SetFontName(QStringLiteral("Arial"));
        inscription.SetSizeFactor(factor);
        inscription.SetStyle(style);
        inscription.SetColor(color);
        doc.MapTexts.Add(inscription);
    };
    text(420, 20, QStringLiteral("Шахта «Демонстрационная», горизонт -350 м"), 2, ts::Bold, 0x800000);
    text(40, 400, QStringLiteral("Околоствольный двор"), 1, ts::Italic, 0x000000);
    text(1180, 230, QStringLiteral("На ГВУ"), 1, ts::Underline, 0x0000C0);
    doc.BalloonList.Add(TPLABaloon(t, 100, 1, 250));
    doc.BalloonList.Add(TPLABaloon(t, 230, 2, 180));
    doc.BalloonList.Add(TPLABaloon(t, 1330, 3, 130));
    t.BranchPhone[crosscut] = doc.PhoneList.Add(TTelephone(340, QStringLiteral("2-15"), 330));
    t.BranchPhone[ventShaft] = doc.PhoneList.Add(TTelephone(1270, QStringLiteral("2-40"), 90));
    doc.PhoneList.Add(TTelephone(160, QStringLiteral("2-31"), 20));

    // Kept with its air distribution, as an engineer's saved mine is: the
    // scheme opens with real flows on its labels.
    if (CalcTablesAir(t) != crSolved)
        throw std::runtime_error("the sample mine does not solve");
}

TSchemeView DemoSchemeView()
{
    return TSchemeView{1, 60, 0, 1};
}
