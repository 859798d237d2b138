#pragma once
// The fan editor's state and rules without its window: the chosen type and
// characteristic, the points entered with the mouse and the rules a new point
// must pass, saving and deleting characteristics, zoom and pan of the plot,
// and the fan's working point on the network. The window shows this state
// in its controls; tests drive it directly.
#include "calc/curve_toolkit.h"
#include "calc/fan_catalogue.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <functional>

struct TNetworkTables;

// The spline of a characteristic whose points are sorted by Q (BuildSpline),
// near x in [Q[0], Q[lastIndex]]: at a stored point its H, elsewhere the
// spline at the first tenth of the interval at or beyond x. Outside the
// points it gives the H of the nearer end.
double SplineValue(int lastIndex, const double *q, const double *h, const double *m, double x);

// Power of a fan in kW: H·Q / (efficiency × 1.02).
double FanPower(double h, double q, int efficiency);

// The line of the working point on the plot and the title of the chart print.
QString WorkingPointLine(double a, double b, double q, double h, double n);
QString FanChartTitle(double a, double b, double q, double h, double n);

// What the editor needs of the program: the prompts and the solver.
struct TFanEditorServices
{
    // The name prompt; text takes the answer, true when confirmed.
    std::function<bool(QString &text, const QString &title)> AskName;
    // The efficiency prompt; efficiency takes the answer, true when confirmed.
    std::function<bool(int &efficiency)> AskEfficiency;
    // Solves the air distribution on the tables (a failure is shown by it).
    std::function<void()> Solve;
    // The window shows "Ожидайте !" while the network is solved, and hides it.
    std::function<void(bool shown)> ShowWait;
};

// What the working-point computation leaves for the plot.
struct TWorkingPoint
{
    enum TOutcome { wpNotRun, wpUnusableRange, wpOutsideCharacteristic, wpFound };
    TOutcome Outcome = wpNotRun;
    // "Рабочая точка в диапазоне характеристики 10...30 м3/с" or the text
    // for a point outside the range of industrial use.
    QString RangeText;
    QString ResultLine;
};

// The efficiency of a branch without an installed fan.
constexpr int DefaultFanEfficiency = 75;

class TFanEditor
{
public:
    explicit TFanEditor(TPlotState &plot = PlotState);

    TPlotState &Plot;
    TFanCatalogue Catalogue;
    TFanEditorServices Services;
    TNetworkTables *Tables = nullptr;

    int BranchNo = 0;
    QString OpenedName;
    double OpenedA = 0;
    double OpenedB = 0;
    int Efficiency = DefaultFanEfficiency;
    int OpenedEfficiency = DefaultFanEfficiency;
    double OpenedQ = 0;
    int OpenedCurveIndex = 0;
    double WorkQ = 0;
    double WorkH = 0;
    double N = 0;
    // The chosen entry of the characteristic list; its last entry (one past
    // the stored ones) is the new characteristic.
    int CurveIndex = 0;
    bool Changed = false;

    // Points being entered.
    TPointMarkers Markers;
    int LastMarker = -1;
    double MaxMarkerQ = 0;
    double MaxMarkerH = 0;
    // "Точка 0", … in position order, and the selected one (−1: none).
    QStringList PointList;
    int SelectedPoint = -1;

    // What the algorithms switch on and off in the window.
    bool PlotVisible = false;
    bool CurveListVisible = false;
    bool NewTypeMode = false;      // the axis spin edits shown
    bool ListsEnabled = true;      // the type list and the characteristic list
    bool OkEnabled = true;
    // The axis maxima a new type starts with ("Максимум депрессии", "Максимум расхода").
    int AxisSpinH = 500;
    int AxisSpinQ = 100;
    bool AddPointEnabled = false;
    bool DeletePointEnabled = false;
    bool EntryPanelVisible = false;
    bool SaveVisible = false;
    bool DeleteVisible = false;
    bool PrintVisible = false;
    bool WorkVisible = false;      // "Работа на ШВС"
    // The title drawn under the plot by the last DrawFanPlot.
    QString Title;

    // EditBranchFan's first step: the branch's fan as the editor starts on it.
    void Open(int branch, const QString &fanName, double a, double b, double q, int curveIndex, int efficiency);
    // Lists the catalogue and loads the branch's type (the window's opening).
    void Start();
    // What EditBranchFan hands back, whatever the end.
    void WriteBack(QString &fanName, double &a, double &b, double &q, int &curveIndex, int &efficiency) const;

    bool IsNewCurve() const { return CurveIndex > Catalogue.LastCurve; }
    bool IsNewTypeChosen() const { return Catalogue.TypeIndex > Catalogue.FileCount; }
    QString CurveText() const { return Catalogue.CurveList.value(CurveIndex); }
    TFanCurve &CurrentCurve() { return Catalogue.Curves[static_cast<std::size_t>(std::clamp(CurveIndex, 0, MaxFanCurves - 1))]; }

    // The type list's entry chosen.
    void ChooseType(int index);
    // The characteristic list's entry chosen.
    void ChooseCurve(int index);
    // Axis maxima of a new type, from the two spin edits.
    void ApplyAxisSpins(int hMax, int qMax);
    // The value a spin edit takes for its text: its minimum for no number,
    // else raised once by 10 when below the entered points' largest value.
    int CheckedSpinValue(const QString &text, int minimum, bool pressure) const;

    void ClearPointEntry();
    // A new point where the mouse is, when it passes the rules (warnings
    // otherwise); true when it was added.
    bool TryAddPoint(double q, double h);
    bool AddPoint(double q, double h);
    // Frees the point at position p and renumbers the others.
    void DeletePoint(int position);
    // A marker dropped at (q, h); a moved point is not tested.
    void MovePoint(int marker, double q, double h);
    void SelectPoint(int position) { SelectedPoint = position; }
    void CopyMarkersToCurve();
    // "Отменить".
    void CancelEntry();

    // "Сохранить".
    void Save();
    // "Удалить": the current characteristic, and the type with its last one.
    void DeleteCurve();

    // Zoom and pan; the pan functions return false when the window hit the
    // end of the full range (the button then disables itself).
    void ZoomIn();
    void NormalScale();
    bool PanFlow(int direction);
    bool PanPressure(int direction);

    // "Работа на ШВС". The fan branch's resistance and additional depression
    // are put back on every exit; its flows keep the last solve.
    TWorkingPoint RunWorkingPoint();
    // One pass: the fan branch as the parabola, a solve, a new parabola near
    // the resulting flow through the spline (or the least squares for two
    // points), the pressure and the power.
    void WorkingPointStep();

    // The OK's checks before the closing question: the warning of a type
    // without characteristics, or the working point when it was not computed.
    void PrepareOk();
    // "Отмена".
    void Cancel();

    // The plot: frame, characteristics, entered points and title.
    void DrawFanPlot(TCanvas &canvas, int width, int height);
    // The result of a working point on the plot (texts, cross and guides).
    void DrawWorkingPoint(TCanvas &canvas, const TWorkingPoint &result);

private:
    void TypeLoaded();
    void NoFanType();
    void StartNewFanType();
    void DrawEnteredCurve(TCanvas &canvas);
    void RecomputeLargest();
    void ClearNewCurve();
    int VisibleMarkerCount() const;

    // A working point's A and b outlive zooms and pans until another
    // characteristic or type is chosen.
    bool m_holdWorkingPoint = false;
    double m_heldA = 0;
    double m_heldB = 0;
};

// The editor of the program's run.
extern TFanEditor FanEditor;
