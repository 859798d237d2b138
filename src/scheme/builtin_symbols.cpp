#include "scheme/builtin_symbols.h"

#include "model/plugin_services.h"
#include "platform/codepage.h"
#include "platform/numbers.h"

#include <cmath>
#include <numbers>

namespace api = tunvex_api;

namespace {

struct TText
{
    const char16_t *Name;
    const char16_t *Description;
};

// In registration order, which is also their order in the choice lists.
const TText Texts[BuiltinSymbolCount] = {
    {u"Скорость", u"Датчик скорости воздуха"},
    {u"Скорость2", u"Датчик скорости воздуха (з)"},
    {u"Перемычка", u"Перемычка вентиляционная глухая"},
    {u"Метан", u"Датчик метана"},
    {u"Метан2", u"Датчик метана (з)"},
    {u"ОткрДверь", u"Дверь вентиляционная открытая"},
    {u"ОткрДверь2", u"Дверь вентиляционная открытая (з)"},
    {u"ЗакрДверь", u"Дверь вентиляционная закрытая"},
    {u"ЗакрДверь2", u"Дверь вентиляционная закрытая (з)"},
    {u"ДверьСРег", u"Дверь вентиляционная с регулирующим окном"},
    {u"ДверьСРег2", u"Дверь вентиляционная с регулирующим окном (з)"},
    {u"ПожДверь", u"Дверь пожарная"},
    {u"ЗамернСт", u"Станция замера расхода воздуха"},
    {u"ВГСЧ", u"Пункт ВГК"},
    {u"ВГСЧ2", u"Пункт ВГК (з)"},
    {u"ВодЗаслон", u"Заслон водяной"},
    {u"ВодЗаслон2", u"Заслон водяной (з)"},
};

template <int I>
const char *NameOf()
{
    static const QByteArray bytes = EncodeCp1251(QString::fromUtf16(Texts[I].Name));
    return bytes.constData();
}

template <int I>
const char *DescriptionOf()
{
    static const QByteArray bytes = EncodeCp1251(QString::fromUtf16(Texts[I].Description));
    return bytes.constData();
}

TPoint operator+(TPoint a, TPoint b) { return {a.X + b.X, a.Y + b.Y}; }
TPoint operator-(TPoint a, TPoint b) { return {a.X - b.X, a.Y - b.Y}; }

int RoundInt(double v) { return static_cast<int>(Round(v)); }
int Trunc(double v) { return static_cast<int>(v); }
double Distance(TPoint a, TPoint b) { return std::hypot(double(b.X - a.X), double(b.Y - a.Y)); }
TPoint Mid(TPoint a, TPoint b) { return {(a.X + b.X) / 2, (a.Y + b.Y) / 2}; }

TColor BackColor()
{
    const TPluginServices *s = PluginServices();
    return s ? s->BackColor() : clWhite;
}

int CurrentBranch()
{
    const TPluginServices *s = PluginServices();
    return s ? s->CurrentBranch() : 0;
}

// The square of a symbol turned so that the pictogram stays upright: A-B
// the upper edge with A on the left, C-D the lower one; k one side length
// across the airway, pointing down the screen.
struct TFrame
{
    TCanvas &Canvas;
    TPoint A, B, C, D;
    double Side = 0;
    double Theta = 0;
    TPoint K;

    TPoint Up(TPoint p) const { return p - K; }
    TPoint Down(TPoint p) const { return p + K; }

    void SetPen(TColor color, int width, TPenStyle style = TPenStyle::psSolid)
    {
        Canvas.Pen.Style = style;
        Canvas.Pen.Width = width;
        Canvas.Pen.Color = color;
    }
    void SetBrush(TColor color)
    {
        Canvas.Brush.Style = TBrushStyle::bsSolid;
        Canvas.Brush.Color = color;
    }
    void Line(TPoint a, TPoint b)
    {
        Canvas.MoveTo(a.X, a.Y);
        Canvas.LineTo(b.X, b.Y);
    }
    void Outline(std::initializer_list<TPoint> points)
    {
        const TPoint *p = points.begin();
        Canvas.MoveTo(p->X, p->Y);
        for (++p; p != points.end(); ++p)
            Canvas.LineTo(p->X, p->Y);
    }
};

enum class TTurning { Ordinary, Door };

TFrame MakeFrame(api::TunvexSymbolDC *dc, const api::TunvexPoint *p1, const api::TunvexPoint *p2,
                 const api::TunvexPoint *p3, const api::TunvexPoint *p4, TTurning turning)
{
    TFrame f{TSymbolDC::CanvasOf(dc), {p1->X, p1->Y}, {p2->X, p2->Y}, {p3->X, p3->Y}, {p4->X, p4->Y}, 0, 0, {}};
    if (turning == TTurning::Ordinary) {
        if (f.C.Y < f.A.Y || f.D.Y < f.B.Y) {
            std::swap(f.A, f.C);
            std::swap(f.B, f.D);
        }
        if (f.B.X < f.A.X || f.D.X < f.C.X) {
            std::swap(f.A, f.B);
            std::swap(f.C, f.D);
        }
    } else {
        if (f.C.Y < f.A.Y) {
            std::swap(f.A, f.C);
            std::swap(f.B, f.D);
        }
        if (f.A.X > f.B.X) {
            std::swap(f.A, f.B);
            std::swap(f.C, f.D);
        }
    }
    f.Side = Distance(f.A, f.B);
    if (f.A.X == f.B.X)
        f.Theta = f.B.Y > f.A.Y ? std::numbers::pi / 2 : -std::numbers::pi / 2;
    else
        f.Theta = std::atan(double(f.B.Y - f.A.Y) / double(f.A.X - f.B.X));
    f.K = {Trunc(f.Side * std::sin(f.Theta)), Trunc(f.Side * std::cos(f.Theta))};
    f.SetPen(clBlack, RoundInt(f.Side / 10));
    return f;
}

using TFigure = void (*)(TFrame &);

template <TFigure Figure, TTurning Turning>
void DrawEntry(api::TunvexSymbolDC *dc, const api::TunvexPoint *p1, const api::TunvexPoint *p2,
               const api::TunvexPoint *p3, const api::TunvexPoint *p4, std::int32_t)
{
    TFrame f = MakeFrame(dc, p1, p2, p3, p4, Turning);
    Figure(f);
}

// ---- Figures -------------------------------------------------------------------

void Sensor(TFrame &f, bool lower, const QString &letter, bool fullHeight)
{
    const double s2 = 2 * Distance(f.A, f.C);
    const double l2 = 2 * f.Side;
    const TPoint k2{Trunc(l2 * std::sin(f.Theta)), Trunc(l2 * std::cos(f.Theta))};
    const TPoint stalk{Trunc(l2 * std::sin(f.Theta) / 2), Trunc(l2 * std::cos(f.Theta) / 2)};
    const int penWidth = RoundInt(l2 / 10);
    f.SetPen(clBlack, penWidth);
    f.SetBrush(BackColor());
    const TPoint m = lower ? Mid(f.C, f.D) : Mid(f.A, f.B);
    const TPoint o = lower ? m + k2 : m - k2;
    f.Line(m, lower ? m + stalk : m - stalk);
    const int r = Trunc(s2 / 2);
    // The circle is filled with the background, so the letter goes on top
    // of it, not under it.
    f.Canvas.Ellipse(o.X - r, o.Y - r, o.X + r, o.Y + r);
    const TFont old = f.Canvas.Font;
    TFont font = old;
    font.Name = QStringLiteral("Arial");
    font.Height = fullHeight ? Trunc(s2 - 2 * penWidth) : Trunc(s2 - 2 * l2 / 10 - 1);
    font.Style = 0;
    font.Orientation = 0;
    f.Canvas.Font = font;
    const int t = Trunc((s2 - penWidth) / (2 * std::numbers::sqrt2));
    f.Canvas.TextOut(o.X - t, o.Y - t, letter);
    f.Canvas.Font = old;
}

void SpeedSensor(TFrame &f) { Sensor(f, false, QStringLiteral("C"), false); }
void SpeedSensorLower(TFrame &f) { Sensor(f, true, QStringLiteral("C"), false); }
void MethaneSensor(TFrame &f) { Sensor(f, false, QStringLiteral("M"), false); }
void MethaneSensorLower(TFrame &f) { Sensor(f, true, QStringLiteral("M"), true); }

void Stopping(TFrame &f)
{
    f.Outline({f.Up(f.A), f.Down(f.C), f.Down(f.D), f.Up(f.B), f.Up(f.A)});
}

void DoorSquares(TFrame &f)
{
    f.Outline({f.B, f.A, f.Up(f.A), f.Up(f.B), f.B});
    f.Outline({f.D, f.C, f.Down(f.C), f.Down(f.D), f.D});
}

void ClosedDoor(TFrame &f)
{
    DoorSquares(f);
    f.Line(f.B, f.D);
}

void ClosedDoorBack(TFrame &f)
{
    DoorSquares(f);
    f.Line(f.A, f.C);
}

TPoint Centre(const TFrame &f)
{
    return {(f.A.X + f.B.X + f.C.X + f.D.X) / 4, (f.A.Y + f.B.Y + f.C.Y + f.D.Y) / 4};
}

void RegulatedDoor(TFrame &f)
{
    ClosedDoor(f);
    const TPoint z = Centre(f);
    f.Line(z, z + (f.B - f.A));
}

void RegulatedDoorBack(TFrame &f)
{
    ClosedDoorBack(f);
    const TPoint z = Centre(f);
    f.Line(z, z - (f.B - f.A));
}

TPoint Along(TPoint p, double w, double ux, double uy)
{
    return {RoundInt(p.X + w * ux), RoundInt(p.Y + w * uy)};
}

void OpenDoor(TFrame &f)
{
    DoorSquares(f);
    const double w = Trunc(Distance(f.A, f.C));
    const double c = std::cos(f.Theta), s = std::sin(f.Theta);
    if (f.D.Y < f.B.Y)
        f.Line(f.B, Along(f.D, w, c, -s));
    else if (f.D.Y > f.B.Y)
        f.Line(f.D, Along(f.B, w, c, -s));
    else
        f.Line(f.D, Along(f.B, w, c, s));
}

void OpenDoorBack(TFrame &f)
{
    DoorSquares(f);
    const double w = Trunc(Distance(f.A, f.C));
    const double c = std::cos(f.Theta), s = std::sin(f.Theta);
    if (f.C.Y < f.A.Y)
        f.Line(f.A, Along(f.C, -w, c, -s));
    else if (f.C.Y > f.A.Y)
        f.Line(f.C, Along(f.A, -w, c, -s));
    else
        f.Line(f.C, Along(f.A, -w, c, s));
}

void FireDoor(TFrame &f)
{
    f.Line(f.Up(f.A), f.Down(f.C));
}

void WaterBarrier(TFrame &f)
{
    f.Line(f.Up(f.A), f.Down(f.C));
    f.Line(f.Up(f.B), f.Down(f.D));
    f.Line(f.Up(f.A), f.B);
    f.Line(f.Down(f.C), f.D);
}

void WaterBarrierBack(TFrame &f)
{
    f.Line(f.Up(f.A), f.Down(f.C));
    f.Line(f.Up(f.B), f.Down(f.D));
    f.Line(f.Up(f.B), f.A);
    f.Line(f.Down(f.D), f.C);
}

void MeasuringStation(TFrame &f)
{
    const auto quarter = [](TPoint three, TPoint one) {
        return TPoint{(3 * three.X + one.X) / 4, (3 * three.Y + one.Y) / 4};
    };
    const TPoint q1 = quarter(f.C, f.A), q2 = quarter(f.A, f.C), q3 = quarter(f.D, f.B), q4 = quarter(f.B, f.D);
    f.SetPen(clBlack, f.Canvas.Pen.Width);
    f.SetBrush(BackColor());
    const QString label = QString::number(CurrentBranch());
    TPoint anchor = f.A;
    for (const TPoint &p : {f.B, f.C, f.D})
        if (p.Y > anchor.Y)
            anchor = p;
    anchor.Y += 5;
    if ((f.A.X - f.B.X) * (f.A.Y - f.B.Y) < 0)
        f.Canvas.TextOut(anchor.X, anchor.Y, label);
    else
        f.Canvas.TextOut(anchor.X - f.Canvas.TextWidth(label), anchor.Y, label);
    f.SetPen(clRed, 1);
    f.SetBrush(clRed);
    f.Canvas.Polygon({f.A, q2, q4, f.B});
    f.Canvas.Polygon({f.C, f.D, q3, q1});
}

TPoint Towards(TPoint from, TPoint to, double distance)
{
    const double length = Distance(from, to);
    if (length == 0)
        return from;
    return {RoundInt(from.X + distance * (to.X - from.X) / length),
            RoundInt(from.Y + distance * (to.Y - from.Y) / length)};
}

TPoint Part(TPoint from, TPoint to, double share)
{
    return {Trunc(from.X + share * (to.X - from.X)), Trunc(from.Y + share * (to.Y - from.Y))};
}

void RescuePost(TFrame &f, bool lower)
{
    const double s2 = 2 * f.Side;
    const TPoint base0 = lower ? f.C : f.A;
    const TPoint base1 = lower ? f.D : f.B;
    const TPoint b1 = Towards(base0, base1, Trunc(2 * s2));
    const double kx = 2 * s2 * std::sin(f.Theta), ky = 2 * s2 * std::cos(f.Theta);
    const double sign = lower ? 1 : -1;
    const TPoint o1{Trunc(base0.X + sign * kx), Trunc(base0.Y + sign * ky)};
    const TPoint u1{Trunc(b1.X + sign * kx), Trunc(b1.Y + sign * ky)};
    f.SetPen(clBlack, 1);
    f.Outline({base0, b1, u1, o1, base0});
    const double inset = Trunc(0.3 * s2);
    const TPoint ia = Towards(base0, u1, inset), ib = Towards(b1, o1, inset);
    const TPoint io = Towards(o1, b1, inset), iu = Towards(u1, base0, inset);
    f.SetPen(clBlue, Trunc(Distance(ia, ib) / 10));
    f.SetBrush(clBlue);
    f.Line(ia, iu);
    f.Line(ib, io);
    f.SetPen(clBlue, Trunc(s2 / 5));
    f.Line(Part(iu, ib, 0.2), Part(iu, io, 0.2));
    f.Line(Part(io, iu, 0.2), Part(io, ia, 0.2));
    f.SetPen(clRed, Trunc(s2 / 5));
    const auto mid = [](TPoint a, TPoint b) { return TPoint{Trunc((a.X + b.X) / 2.0), Trunc((a.Y + b.Y) / 2.0)}; };
    f.Line(mid(ia, ib), mid(io, iu));
    f.Line(mid(ia, io), mid(ib, iu));
}

void RescuePostUpper(TFrame &f) { RescuePost(f, false); }
void RescuePostLower(TFrame &f) { RescuePost(f, true); }

template <int I, TFigure Figure, TTurning Turning = TTurning::Ordinary>
void Register(TBranchSymbolList &list)
{
    list.Add(&NameOf<I>, &DescriptionOf<I>, &DrawEntry<Figure, Turning>);
}

} // namespace

void RegisterBuiltinSymbols(TBranchSymbolList &list)
{
    Register<0, SpeedSensor>(list);
    Register<1, SpeedSensorLower>(list);
    Register<2, Stopping>(list);
    Register<3, MethaneSensor>(list);
    Register<4, MethaneSensorLower>(list);
    Register<5, OpenDoor>(list);
    Register<6, OpenDoorBack>(list);
    Register<7, ClosedDoor, TTurning::Door>(list);
    Register<8, ClosedDoorBack, TTurning::Door>(list);
    Register<9, RegulatedDoor, TTurning::Door>(list);
    Register<10, RegulatedDoorBack, TTurning::Door>(list);
    Register<11, FireDoor>(list);
    Register<12, MeasuringStation>(list);
    Register<13, RescuePostUpper>(list);
    Register<14, RescuePostLower>(list);
    Register<15, WaterBarrier>(list);
    Register<16, WaterBarrierBack>(list);
}
