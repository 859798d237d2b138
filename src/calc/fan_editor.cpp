#include "calc/fan_editor.h"

#include "model/network.h"
#include "platform/numbers.h"
#include "platform/prompt.h"

#include <cmath>

TFanEditor FanEditor;

namespace {

// The largest index a marker gets from point entry (15 points).
constexpr int MaxEnteredIndex = 14;
constexpr int WorkingPointPasses = 4;
constexpr double MinWorkingB = 1e-5;
constexpr int SpinStep = 10;

const QString WarningCaption = QStringLiteral("Предупреждение");
const QString NotAdded = QStringLiteral("Поэтому очередная точка");
const QString NotAddedEnd = QStringLiteral("не будет добавлена !");
const QString UnusableCaption = QStringLiteral("Расчет A и b - не производится!...");

void Warn(const QString &text) { ShowMessageBox(text, LookupText(WarningCaption), mb::Ok | mb::IconWarning); }

QString Whole(double v) { return QString::number(Round(v)); }

// Restores the fan branch's resistance and additional depression whatever
// way the computation ends.
class TBranchRestore
{
public:
    TBranchRestore(TNetworkTables *t, int n) : m_t(t), m_n(n)
    {
        if (m_t) {
            m_r = m_t->BranchR[m_n];
            m_h = m_t->BranchAuxDepression[m_n];
        }
    }
    ~TBranchRestore()
    {
        if (m_t) {
            m_t->BranchR[m_n] = m_r;
            m_t->BranchAuxDepression[m_n] = m_h;
        }
    }
    TBranchRestore(const TBranchRestore &) = delete;
    TBranchRestore &operator=(const TBranchRestore &) = delete;

private:
    TNetworkTables *m_t;
    int m_n;
    double m_r = 0;
    double m_h = 0;
};

// A window two pan steps wide around c on one axis of the full range [0, full].
void WindowAround(double c, double step, double full, double &start, double &end)
{
    if (c + step >= full) {
        start = full - 2 * step;
        end = full;
    } else if (c - step > 0) {
        start = c - step;
        end = c + step;
    } else {
        start = 0;
        end = 2 * step;
    }
}

bool Pan(double &start, double &end, double step, double full, int direction)
{
    if (direction < 0) {
        if (start - step > 0) {
            start -= step;
            end -= step;
            return true;
        }
        start = 0;
        end = 2 * step;
        return false;
    }
    if (end + step < full) {
        start += step;
        end += step;
        return true;
    }
    start = full - 2 * step;
    end = full;
    return false;
}

} // namespace

double SplineValue(int lastIndex, const double *q, const double *h, const double *m, double x)
{
    if (lastIndex < 1 || x <= q[0])
        return h[0];
    if (x >= q[lastIndex])
        return h[lastIndex];
    int i = 1;
    while (i < lastIndex && !(q[i - 1] <= x && x <= q[i]))
        ++i;
    if (x == q[i - 1])
        return h[i - 1];
    if (x == q[i])
        return h[i];
    const double step = q[i] - q[i - 1];
    // Evaluated at the first tenth of the interval at or beyond x, as the
    // characteristic has always been read; ten steps reach the interval's end.
    double t = q[i - 1];
    for (int k = 0; k < 10 && t < x; ++k)
        t += step / 10;
    t = std::min(t, q[i]);
    const double a = q[i] - t, c = t - q[i - 1];
    return m[i - 1] * a * a * a / (6 * step) + m[i] * c * c * c / (6 * step)
           + (h[i - 1] - m[i - 1] * step * step / 6) * a / step + (h[i] - m[i] * step * step / 6) * c / step;
}

double FanPower(double h, double q, int efficiency) { return h * q / (efficiency * 1.02); }

QString WorkingPointLine(double a, double b, double q, double h, double n)
{
    return QStringLiteral("  A=") + FormatFixedPD(a, 7, 2) + u' ' + LookupText(QStringLiteral("мм вод ст;"))
           + QStringLiteral("  b=") + FormatFixedPD(b, 9, 5) + u' ' + LookupText(QStringLiteral("кмюрг;"))
           + QStringLiteral("  Q=") + FormatFixedPD(q, 7, 2) + u' ' + LookupText(QStringLiteral("м3/с;"))
           + QStringLiteral("  H=") + FormatFixedPD(h, 7, 2) + u' ' + LookupText(QStringLiteral("мм вод ст"))
           + QStringLiteral("  N=") + FormatFixedPD(n, 6, 0) + u' ' + LookupText(QStringLiteral("кВт"));
}

QString FanChartTitle(double a, double b, double q, double h, double n)
{
    return QStringLiteral("  A=") + FormatFixedPD(a, 5, 0) + u' ' + LookupText(QStringLiteral("мм вод ст")) + u';'
           + QStringLiteral("  b=") + FormatFixedPD(b, 8, 6) + u' ' + LookupText(QStringLiteral("кмюрг")) + u';'
           + QStringLiteral("  Q=") + FormatFixedPD(q, 4, 0) + u' ' + LookupText(QStringLiteral("м3/с")) + u';'
           + QStringLiteral("  H=") + FormatFixedPD(h, 5, 0) + u' ' + LookupText(QStringLiteral("мм вод ст"))
           + QStringLiteral("  N=") + FormatFixedPD(n, 6, 0) + u' ' + LookupText(QStringLiteral("кВт"));
}

TFanEditor::TFanEditor(TPlotState &plot) : Plot(plot), Catalogue(plot)
{
    for (int i = 0; i < PointMarkerCount; ++i)
        Markers[static_cast<std::size_t>(i)].Caption = QString::number(i);
}

void TFanEditor::Open(int branch, const QString &fanName, double a, double b, double q, int curveIndex,
                      int efficiency)
{
    BranchNo = branch;
    Catalogue.TypeName = OpenedName = fanName.left(CurrentFanNameCapacity);
    Plot.A = OpenedA = a;
    Plot.b = OpenedB = b;
    CurveIndex = OpenedCurveIndex = curveIndex;
    Efficiency = OpenedEfficiency = efficiency;
    N = 0;
    WorkQ = OpenedQ = q;
    WorkH = 0;
    Changed = false;
    m_holdWorkingPoint = false;
    NewTypeMode = false;
    SaveVisible = false;
    Catalogue.LastCurve = -1;
    Catalogue.CurveList.clear();
    Plot.QCaption = LookupText(QStringLiteral("Q,m3/с"));
    Plot.HCaption = LookupText(QStringLiteral("H,даПа"));
}

void TFanEditor::Start()
{
    ClearPointEntry();
    Catalogue.ScanFanTypes();
    TypeLoaded();
    NewTypeMode = false;
    SaveVisible = false;
}

void TFanEditor::WriteBack(QString &fanName, double &a, double &b, double &q, int &curveIndex,
                           int &efficiency) const
{
    fanName = Catalogue.TypeName;
    a = Plot.A;
    b = Plot.b;
    q = WorkQ;
    curveIndex = CurveIndex;
    efficiency = Efficiency;
}

void TFanEditor::TypeLoaded()
{
    if (Catalogue.TypeIndex <= 0) {
        NoFanType();
        return;
    }
    // A characteristic the caller knew of that this type does not have.
    if (CurveIndex < 0 || CurveIndex > Catalogue.LastCurve)
        CurveIndex = 0;
    Catalogue.TypeName = Catalogue.ChosenTypeText().left(CurrentFanNameCapacity);
    PlotVisible = true;
    CurveListVisible = true;
    WorkVisible = PrintVisible = !IsNewCurve();
    SaveVisible = false;
    ClearPointEntry();
}

void TFanEditor::NoFanType()
{
    PlotVisible = false;
    CurveListVisible = false;
    DeleteVisible = false;
    WorkVisible = false;
    PrintVisible = false;
    Plot.A = OpenedA;
    Plot.b = OpenedB;
    Catalogue.TypeName = NoFanTypeEntry;
    Catalogue.TypeIndex = 0;
    Efficiency = DefaultFanEfficiency;
    WorkQ = 0;
}

void TFanEditor::ChooseType(int index)
{
    Catalogue.TypeIndex = index;
    Catalogue.TypeName = Catalogue.TypeList.value(index).left(CurrentFanNameCapacity);
    m_holdWorkingPoint = false;
    if (IsNewTypeChosen()) {
        NewTypeMode = true;
        StartNewFanType();
    } else {
        NewTypeMode = false;
        if (index > 0 && Catalogue.LoadFanType() == TFanCatalogue::lrFailed)
            Catalogue.TypeIndex = 0;
        TypeLoaded();
    }
    Changed = true;
}

void TFanEditor::StartNewFanType()
{
    Catalogue.CurveList = {QStringLiteral("Х") + LookupText(QStringLiteral("Новая №")) + QStringLiteral("1")};
    Catalogue.LastCurve = -1;
    CurveIndex = 0;
    CurveListVisible = true;
    ClearPointEntry();
    PlotVisible = true;
    Plot.QFormat = Plot.HFormat = TAxisLabelFormat{5, 1};
    for (TFanCurve &curve : Catalogue.Curves)
        ClearFanCurve(curve);
    ApplyAxisSpins(AxisSpinH, AxisSpinQ);
    PrintVisible = false;
    WorkVisible = false;
    DeleteVisible = false;
    OkEnabled = false;
}

void TFanEditor::ApplyAxisSpins(int hMax, int qMax)
{
    AxisSpinH = hMax;
    AxisSpinQ = qMax;
    SetFullRanges(Plot, qMax, hMax);
    Catalogue.Record.HAxisMax = hMax;
    Catalogue.Record.QAxisMax = qMax;
}

int TFanEditor::CheckedSpinValue(const QString &text, int minimum, bool pressure) const
{
    int value = 0;
    if (!TryStrToInt(text, value))
        return minimum;
    if (value < (pressure ? MaxMarkerH : MaxMarkerQ))
        value += SpinStep;
    return value;
}

void TFanEditor::ChooseCurve(int index)
{
    CurveIndex = index;
    m_holdWorkingPoint = false;
    ClearPointEntry();
    WorkVisible = PrintVisible = !IsNewCurve();
    Changed = true;
}

void TFanEditor::ClearPointEntry()
{
    LastMarker = -1;
    MaxMarkerQ = MaxMarkerH = 0;
    PointList.clear();
    SelectedPoint = -1;
    AddPointEnabled = IsNewCurve();
    DeletePointEnabled = false;
    EntryPanelVisible = false;
    ListsEnabled = OkEnabled = true;
    for (TPointMarker &m : Markers) {
        m.Visible = false;
        m.Position = -1;
        m.Q = m.H = -1;
    }
}

bool TFanEditor::TryAddPoint(double q, double h)
{
    if (LastMarker >= PointMarkerCount - 1)
        return false;
    const double sQ = Plot.QPanStep, sH = Plot.HPanStep;
    if (q - Plot.QStart < sQ / 4 || Plot.QEnd - q < sQ / 4 || h - Plot.HStart < sH / 4 || Plot.HEnd - h < sH / 4) {
        Warn(LookupText(QStringLiteral("Слишком близко к границам !")) + u'\r' + u' ' + LookupText(NotAdded) + u'\r'
             + LookupText(NotAddedEnd));
        return false;
    }
    for (const TPointMarker &p : Markers) {
        if (!p.Visible)
            continue;
        // "Cлишком близкo": the first C and the last o are Latin letters.
        if (std::fabs(p.Q - q) < sQ / 10) {
            Warn(LookupText(QStringLiteral("Cлишком близкo к точке ")) + p.Caption + LookupText(QStringLiteral(" по расходу!"))
                 + QStringLiteral("\r        ") + LookupText(NotAdded) + QStringLiteral("\r        - ")
                 + LookupText(NotAddedEnd));
            return false;
        }
        if (std::fabs(p.H - h) < sH / 10) {
            Warn(LookupText(QStringLiteral("Cлишком близкo к точке")) + u' ' + p.Caption + u' '
                 + LookupText(QStringLiteral("по депрессии!")) + LookupText(NotAdded) + u'\r' + LookupText(NotAddedEnd));
            return false;
        }
        const bool lower = p.Q < q && p.H <= h;
        const bool higher = p.Q > q && p.H >= h;
        if (lower || higher) {
            const QString rule = lower ? QStringLiteral("должна быть НИЖЕ,чем в точке")
                                       : QStringLiteral("должна быть ВЫШЕ,чем в точке");
            Warn(LookupText(QStringLiteral("Депрессия в этой точке")) + u'\r' + LookupText(rule) + u' ' + p.Caption
                 + u'\r' + LookupText(NotAdded) + u'\r' + LookupText(NotAddedEnd));
            return false;
        }
    }
    return AddPoint(q, h);
}

bool TFanEditor::AddPoint(double q, double h)
{
    if (LastMarker >= MaxEnteredIndex) {
        Warn(LookupText(QStringLiteral("У нас ограничение на 15 точек")) + u'\r' + u' ' + LookupText(NotAdded) + u'\r'
             + u' ' + LookupText(QStringLiteral("- ")) + LookupText(NotAddedEnd));
        return false;
    }
    ++LastMarker;
    DeletePointEnabled = true;
    EntryPanelVisible = true;
    ListsEnabled = OkEnabled = false;
    for (TPointMarker &m : Markers) {
        if (m.Visible)
            continue;
        m.Position = LastMarker;
        m.Q = q;
        m.H = h;
        m.Visible = true;
        PointList << LookupText(QStringLiteral("Точка")) + QStringLiteral(" %1").arg(m.Caption);
        break;
    }
    MaxMarkerQ = std::max(MaxMarkerQ, q);
    MaxMarkerH = std::max(MaxMarkerH, h);
    SelectedPoint = LastMarker;
    CopyMarkersToCurve();
    AddPointEnabled = LastMarker < PointMarkerCount - 1;
    SaveVisible = LastMarker >= 1;
    return true;
}

int TFanEditor::VisibleMarkerCount() const
{
    return static_cast<int>(std::count_if(Markers.begin(), Markers.end(), [](const TPointMarker &m) { return m.Visible; }));
}

void TFanEditor::RecomputeLargest()
{
    MaxMarkerQ = MaxMarkerH = 0;
    for (const TPointMarker &m : Markers) {
        if (m.Visible) {
            MaxMarkerQ = std::max(MaxMarkerQ, m.Q);
            MaxMarkerH = std::max(MaxMarkerH, m.H);
        }
    }
}

void TFanEditor::ClearNewCurve()
{
    if (IsNewCurve())
        ClearFanCurve(CurrentCurve());
}

void TFanEditor::DeletePoint(int position)
{
    AddPointEnabled = true;
    for (TPointMarker &m : Markers) {
        if (m.Visible && m.Position == position) {
            m.Position = -1;
            m.Q = m.H = -1;
            m.Visible = false;
            break;
        }
    }
    PointList.clear();
    int next = 0;
    for (TPointMarker &m : Markers) {
        if (!m.Visible)
            continue;
        m.Position = next++;
        PointList << LookupText(QStringLiteral("Точка")) + u' ' + m.Caption;
    }
    RecomputeLargest();
    LastMarker = next - 1;
    if (next == 0) {
        // The characteristic being entered is gone with its last point, so
        // that no later save or deletion stores what was taken back.
        ClearNewCurve();
        ClearPointEntry();
    }
    SaveVisible = next >= 2;
    if (next > 0) {
        DeletePointEnabled = true;
        SelectedPoint = LastMarker;
        EntryPanelVisible = true;
        ListsEnabled = OkEnabled = false;
        // The curve drawn and saved is the points left.
        CopyMarkersToCurve();
    }
}

void TFanEditor::MovePoint(int marker, double q, double h)
{
    TPointMarker &m = Markers[static_cast<std::size_t>(marker)];
    if (!m.Visible)
        return;
    m.Q = q;
    m.H = h;
    RecomputeLargest();
    CopyMarkersToCurve();
}

void TFanEditor::CopyMarkersToCurve()
{
    if (!IsNewCurve() || LastMarker < 0)
        return;
    TFanCurve &curve = CurrentCurve();
    ClearFanCurve(curve);
    curve.Flag = 1;
    int k = 0;
    for (const TPointMarker &m : Markers) {
        if (!m.Visible)
            continue;
        curve.Q[static_cast<std::size_t>(k)] = m.Q;
        curve.H[static_cast<std::size_t>(k)] = m.H;
        ++k;
    }
    curve.LastIndex = k - 1;
}

void TFanEditor::CancelEntry()
{
    ClearNewCurve();
    ClearPointEntry();
    SaveVisible = false;
    DeleteVisible = false;
}

void TFanEditor::Save()
{
    if (IsNewCurve() && LastMarker >= 1) {
        CopyMarkersToCurve();
        ClearPointEntry();
    }
    if (Catalogue.PackFanType() == 1) {
        Warn(LookupText(QStringLiteral("Вентилятор не имеет характеристик")) + u'\r'
             + LookupText(QStringLiteral("Поэтому запись в базу не производится !")));
    } else {
        // The lists name what the folder holds: names given to a type or a
        // characteristic that could not be written are taken back.
        const QStringList typeList = Catalogue.TypeList, curveList = Catalogue.CurveList;
        const QString typeName = Catalogue.TypeName;
        if (IsNewCurve()) {
            QString name = CurveText();
            if (Services.AskName)
                Services.AskName(name, LookupText(QStringLiteral("Сохранить характеристику как...")));
            if (CurveIndex < Catalogue.CurveList.size())
                Catalogue.CurveList[CurveIndex] = name;
            // Its place in the packed record: after the stored ones kept.
            int k = 0;
            for (int i = 0; i < CurveIndex; ++i)
                k += Catalogue.Curves[static_cast<std::size_t>(i)].LastIndex >= 1;
            Catalogue.Record.CurveNames[static_cast<std::size_t>(k)] = name.left(FanCurveNameCapacity);
        }
        if (IsNewTypeChosen()) {
            QString name = Catalogue.ChosenTypeText();
            if (Services.AskName)
                Services.AskName(name, LookupText(QStringLiteral("Сохранить тип вентилятора как...")));
            Catalogue.TypeList[Catalogue.TypeIndex] = name;
            Catalogue.TypeName = name.left(CurrentFanNameCapacity);
            Catalogue.Record.TypeName = name.left(FanTypeNameCapacity);
        }
        if (!Catalogue.WriteFanType()) {
            // Not written (the error is shown): "Сохранить" stays for another
            // try, and the type is still the one being edited.
            Catalogue.TypeList = typeList;
            Catalogue.CurveList = curveList;
            Catalogue.TypeName = typeName;
            SaveVisible = true;
            return;
        }
        NewTypeMode = false;
        TypeLoaded();
    }
    SaveVisible = false;
    DeleteVisible = true;
    Changed = true;
}

void TFanEditor::DeleteCurve()
{
    const int deleted = CurveIndex;
    ClearFanCurve(CurrentCurve());
    ClearPointEntry();
    m_holdWorkingPoint = false;
    bool done = false;
    if (Catalogue.PackFanType() == 1)
        done = Catalogue.DeleteFanType();
    else if (Catalogue.WriteFanType()) {
        CurveIndex = Catalogue.Record.LastCurve;
        done = true;
    }
    if (!done) {
        // Not deleted (the user said No, or the file could not be written or
        // erased, which was shown): the editor shows what the file holds,
        // the characteristic cleared above among it, and nothing changed.
        CurveIndex = deleted;
        if (Catalogue.LoadFanType() != TFanCatalogue::lrLoaded)
            Catalogue.TypeIndex = 0;
        TypeLoaded();
        return;
    }
    TypeLoaded();
    SaveVisible = false;
    Changed = true;
}

void TFanEditor::ZoomIn()
{
    WindowAround(Plot.LastReadoutQ, Plot.QPanStep, Plot.QFull, Plot.QStart, Plot.QEnd);
    WindowAround(Plot.LastReadoutH, Plot.HPanStep, Plot.HFull, Plot.HStart, Plot.HEnd);
    Plot.QFormat = Plot.HFormat = TAxisLabelFormat{5, 1};
}

void TFanEditor::NormalScale()
{
    Plot.QStart = 0;
    Plot.QEnd = Plot.QFull;
    Plot.HStart = 0;
    Plot.HEnd = Plot.HFull;
    Plot.QFormat = Plot.HFormat = TAxisLabelFormat{5, 1};
}

bool TFanEditor::PanFlow(int direction) { return Pan(Plot.QStart, Plot.QEnd, Plot.QPanStep, Plot.QFull, direction); }

bool TFanEditor::PanPressure(int direction)
{
    return Pan(Plot.HStart, Plot.HEnd, Plot.HPanStep, Plot.HFull, direction);
}

void TFanEditor::WorkingPointStep()
{
    TFanCurve &curve = CurrentCurve();
    if (Tables) {
        Tables->BranchR[BranchNo] = Plot.b;
        Tables->BranchAuxDepression[BranchNo] = Plot.A;
    }
    if (Services.Solve)
        Services.Solve();
    if (Tables)
        WorkQ = Tables->BranchQ[BranchNo];
    const double c = (Plot.QmaxWork - Plot.QminWork) / 10;
    double f = WorkQ - c;
    double g = WorkQ + c;
    if (f < Plot.QminWork || f > Plot.QmaxWork)
        f = Plot.QminWork;
    if (g > Plot.QmaxWork || g < Plot.QminWork)
        g = Plot.QmaxWork;
    if (f > g) {
        f = Plot.QminWork;
        g = Plot.QmaxWork;
    }
    if (curve.LastIndex <= 1) {
        FitParabola(Plot, curve);
    } else {
        const int last = std::min(curve.LastIndex, MaxCurvePointIndex);
        const double h1 = SplineValue(last, curve.Q.data(), curve.H.data(), curve.M.data(), f);
        const double h2 = SplineValue(last, curve.Q.data(), curve.H.data(), curve.M.data(), g);
        const double d = g * g - f * f;
        if (d != 0) {
            Plot.A = (g * g * h1 - f * f * h2) / d;
            Plot.b = (h1 - h2) / d;
        }
        if (!(Plot.b >= MinWorkingB))
            Plot.b = MinWorkingB;
        WorkVisible = false;
    }
    WorkH = Plot.A - Plot.b * WorkQ * WorkQ;
    N = FanPower(WorkH, WorkQ, Efficiency);
    Changed = true;
}

TWorkingPoint TFanEditor::RunWorkingPoint()
{
    TWorkingPoint result;
    const TBranchRestore restore(Tables, BranchNo);
    if (Services.AskEfficiency && !Services.AskEfficiency(Efficiency))
        return result;
    struct TWait
    {
        const TFanEditorServices &S;
        explicit TWait(const TFanEditorServices &s) : S(s)
        {
            if (S.ShowWait)
                S.ShowWait(true);
        }
        ~TWait()
        {
            if (S.ShowWait)
                S.ShowWait(false);
        }
    } wait(Services);
    if (!(Plot.QminWork < Plot.QmaxWork)) {
        ShowMessageBox(LookupText(QStringLiteral("Кривая")) + u' ' + CurveText() + u' '
                           + LookupText(QStringLiteral("Не может быть использована")) + u'\r'
                           + LookupText(QStringLiteral("В качестве рабочей характеристики вентилятора!")),
                       LookupText(UnusableCaption), mb::Ok | mb::IconInformation);
        PrintVisible = false;
        result.Outcome = TWorkingPoint::wpUnusableRange;
        return result;
    }
    BuildSpline(CurrentCurve());
    for (int pass = 0; pass < WorkingPointPasses; ++pass)
        WorkingPointStep();
    m_holdWorkingPoint = true;
    m_heldA = Plot.A;
    m_heldB = Plot.b;
    if (WorkQ < 0 || WorkH < 0) {
        ShowMessageBox(LookupText(QStringLiteral("Рабочая точка вне характеристик вентилятора")) + QStringLiteral("\r\r"),
                       LookupText(UnusableCaption), mb::Ok | mb::IconInformation);
        PrintVisible = false;
        result.Outcome = TWorkingPoint::wpOutsideCharacteristic;
        return result;
    }
    const bool outside = WorkQ < Plot.QminWork || WorkQ > Plot.QmaxWork;
    result.RangeText = LookupText(outside ? QStringLiteral("Работает вне области промышленного использования")
                                          : QStringLiteral("Рабочая точка в диапазоне характеристики"))
                       + u' ' + Whole(Plot.QminWork) + QStringLiteral("...") + Whole(Plot.QmaxWork) + u' '
                       + LookupText(QStringLiteral("м3/с"));
    result.ResultLine = WorkingPointLine(Plot.A, Plot.b, WorkQ, WorkH, N);
    result.Outcome = TWorkingPoint::wpFound;
    PrintVisible = true;
    return result;
}

void TFanEditor::PrepareOk()
{
    if (Catalogue.LastCurve < 0) {
        Warn(LookupText(QStringLiteral("Вентилятор не имеет характеристик.")) + u'\r'
             + LookupText(QStringLiteral("Его тип не определен.")) + u'\r'
             + LookupText(QStringLiteral("Поэтому запись в базу - не производится.")));
        Plot.A = OpenedA;
        Plot.b = OpenedB;
        Catalogue.TypeName = NoFanTypeEntry;
        Efficiency = OpenedEfficiency;
    } else if (WorkVisible) {
        RunWorkingPoint();
    }
}

void TFanEditor::Cancel()
{
    Plot.A = OpenedA;
    Plot.b = OpenedB;
    Catalogue.TypeName = OpenedName;
    Efficiency = OpenedEfficiency;
    WorkQ = OpenedQ;
    CurveIndex = OpenedCurveIndex;
}

void TFanEditor::DrawFanPlot(TCanvas &canvas, int width, int height)
{
    PlotVisible = true;
    DrawGraphFrame(canvas, width, height, Plot);
    if (Catalogue.LastCurve >= 0) {
        for (TFanCurve &curve : Catalogue.Curves)
            if (curve.LastIndex >= 1)
                PlotCurve(canvas, Plot, curve);
        TFanCurve &current = CurrentCurve();
        if (current.LastIndex >= 1) {
            FitParabola(Plot, current);
            PlotWorkingCurve(canvas, Plot, current);
            if (m_holdWorkingPoint) {
                Plot.A = m_heldA;
                Plot.b = m_heldB;
            }
        }
        DeleteVisible = !IsNewCurve() && Catalogue.TypeIndex > 0 && current.Flag != 0;
    }
    if (LastMarker >= 0)
        DrawEnteredCurve(canvas);
    Title = LookupText(QStringLiteral("Характеристики вентилятора")) + u' ' + Catalogue.ChosenTypeText();
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Color = clBlack;
    canvas.TextOut((Plot.Left + Plot.Right - canvas.TextWidth(Title)) / 2,
                   Plot.Bottom + 3 * canvas.TextHeight(Title) / 2, Title);
    canvas.Brush.Style = TBrushStyle::bsSolid;
}

void TFanEditor::DrawEnteredCurve(TCanvas &canvas)
{
    const int count = VisibleMarkerCount();
    if (count >= 2 && count <= 3) {
        FitParabolaToShapes(Plot, Markers, count);
        std::vector<TPoint> pixels;
        if (Plot.QPerPixel > 0) {
            for (int k = 1; k < 1000000; ++k) {
                const double q = k * Plot.QPerPixel;
                if (q > Plot.QEnd)
                    break;
                const double h = Plot.A - Plot.b * q * q;
                if (InsideWindow(Plot, q, h))
                    pixels.push_back({PlotX(Plot, q), PlotY(Plot, h)});
            }
        }
        if (pixels.size() >= 2) {
            canvas.Pen = TPen{};
            canvas.Pen.Color = clBlue;
            canvas.Pen.Style = TPenStyle::psDot;
            canvas.Polyline(pixels);
            canvas.Pen = TPen{};
        }
    } else if (count >= 4) {
        FitParabolaToShapes(Plot, Markers, count);
        PlotWorkingCurve(canvas, Plot, CurrentCurve());
    }
    for (TPointMarker &m : Markers) {
        if (!m.Visible)
            continue;
        const TColor colour = m.Position == SelectedPoint ? clRed : clBlue;
        PlacePointShape(canvas, Plot, m, colour, colour);
    }
}

void TFanEditor::DrawWorkingPoint(TCanvas &canvas, const TWorkingPoint &result)
{
    if (result.Outcome != TWorkingPoint::wpFound)
        return;
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Font.Color = clBlack;
    const int centre = (Plot.Left + Plot.Right) / 2;
    const int th = canvas.TextHeight(result.RangeText);
    canvas.TextOut(centre - canvas.TextWidth(result.RangeText) / 2, Plot.Bottom + 5 * th / 2, result.RangeText);
    canvas.TextOut(centre - canvas.TextWidth(result.ResultLine) / 2, Plot.Top - 2 * th, result.ResultLine);
    canvas.Brush.Style = TBrushStyle::bsSolid;
    if (!InsideWindow(Plot, WorkQ, WorkH) || !(Plot.QPerPixel > 0) || !(Plot.HPerPixel > 0))
        return;
    const int x = Plot.Left + static_cast<int>(Round((WorkQ - Plot.QStart) / Plot.QPerPixel));
    const int y = Plot.Bottom - static_cast<int>(Round((WorkH - Plot.HStart) / Plot.HPerPixel));
    canvas.Pen = TPen{};
    canvas.Pen.Color = clBlue;
    canvas.Pen.Width = 3;
    canvas.MoveTo(x - 6, y);
    canvas.LineTo(x + 7, y);
    canvas.MoveTo(x, y - 6);
    canvas.LineTo(x, y + 7);
    canvas.Pen.Width = 1;
    canvas.Pen.Style = TPenStyle::psDashDot;
    canvas.MoveTo(x, y);
    canvas.LineTo(Plot.Left, y);
    canvas.MoveTo(x, y);
    canvas.LineTo(x, Plot.Bottom);
    canvas.Pen = TPen{};
}
