#include "scheme/scheme_objects.h"

#include "platform/numbers.h"
#include "platform/prompt.h"

#include <algorithm>
#include <cmath>

namespace {

void SetLabelFont(TCanvas &canvas, const TViewport &view, const TSchemeDrawSettings &settings)
{
    canvas.Font.Name = settings.FontName;
    canvas.Font.Charset = settings.Charset;
    canvas.Font.Size = LabelFontSizes[static_cast<std::size_t>(view.ZoomStep)];
    canvas.Font.Height = 0;
    canvas.Font.Style = 0;
}

// Text placed centred in the circle, as its measured box says.
TPoint CircleTextCorner(TCanvas &canvas, const QString &sample, int xs, int ys)
{
    const TSize e = canvas.TextExtent(sample);
    const int h = e.cy + 2, w = e.cx + 4;
    return {xs - w / 2 + 1, ys - h / 2 + 1};
}

void DrawCircle(TCanvas &canvas, int xs, int ys, int radius)
{
    canvas.Ellipse(xs - radius, ys - radius, xs + radius, ys + radius);
}

// What every kind shares: the list, hits in list order, clicks that open
// the editing of what they hit, and the position changes of the shift.
template <typename T, typename List>
class TListLayer : public TSchemeObjectLayer
{
public:
    TListLayer(const TSchemeObjectServices &s, List &list) : m_s(s), m_list(list) {}

    int Count() const override { return m_list.Count(); }

    std::vector<int> HitAt(int x, int y) override
    {
        std::vector<int> hits;
        for (int i = 0; i < m_list.Count(); ++i)
            if (Hit(m_list[i], x, y))
                hits.push_back(i);
        return hits;
    }

    void Click(int x, int y) override
    {
        // The objects hit are taken before any dialog opens, so one deleted
        // on the way does not disturb the walk.
        std::vector<const T *> hit;
        for (const int i : HitAt(x, y))
            hit.push_back(&m_list[i]);
        for (const T *object : hit)
            if (m_list.Contains(object))
                Edit(const_cast<T &>(*object));
    }

    void ClickObject(int index, int x, int y) override
    {
        if (index >= 0 && index < m_list.Count() && Hit(m_list[index], x, y))
            Edit(m_list[index]);
    }

    void MoveBy(int dx, int dy) override
    {
        for (int i = 0; i < m_list.Count(); ++i) {
            m_list[i].X += dx;
            m_list[i].Y += dy;
        }
    }

    std::optional<TPoint> MinPoint() const override
    {
        std::optional<TPoint> m;
        for (int i = 0; i < m_list.Count(); ++i) {
            const T &o = m_list[i];
            m = m ? TPoint{std::min(m->X, o.X), std::min(m->Y, o.Y)} : TPoint{o.X, o.Y};
        }
        return m;
    }

protected:
    virtual bool Hit(const T &object, int x, int y) const = 0;
    virtual void Edit(T &object) = 0;

    void Modified()
    {
        if (m_s.SetModified)
            m_s.SetModified(true);
    }
    void Redraw()
    {
        if (m_s.Redraw)
            m_s.Redraw();
    }
    void Changed()
    {
        Modified();
        Redraw();
    }

    const TSchemeObjectServices m_s;
    List &m_list;
};

// A balloon or telephone: one circle that is hit by its square and dragged
// by its centre.
template <typename T, typename List>
class TCircleLayer : public TListLayer<T, List>
{
public:
    using TListLayer<T, List>::TListLayer;

    bool MouseDown(int x, int y) override
    {
        bool any = false;
        for (int i = 0; i < this->m_list.Count(); ++i) {
            T &object = this->m_list[i];
            object.Runtime.Dragging = Hit(object, x, y);
            object.Runtime.Moved = false;
            any = any || object.Runtime.Dragging;
        }
        return any;
    }

    void MouseMove(TCanvas &canvas, int x, int y) override
    {
        const TViewport &view = *this->m_s.View;
        for (int i = 0; i < this->m_list.Count(); ++i) {
            T &object = this->m_list[i];
            if (!object.Runtime.Dragging)
                continue;
            DrawCircle(canvas, view.ScreenX(object.X), view.ScreenY(object.Y), object.Runtime.Radius);
            object.Runtime.Moved = object.Runtime.Moved || object.X != x || object.Y != y;
            object.X = x;
            object.Y = y;
            DrawCircle(canvas, view.ScreenX(object.X), view.ScreenY(object.Y), object.Runtime.Radius);
        }
    }

    bool MouseUp() override
    {
        bool dragged = false, moved = false;
        for (int i = 0; i < this->m_list.Count(); ++i) {
            TCircleRuntime &r = this->m_list[i].Runtime;
            dragged = dragged || r.Dragging;
            moved = moved || (r.Dragging && r.Moved);
            r.Dragging = false;
            r.Moved = false;
        }
        // A moved object is a change of the document: without the mark it
        // would be lost on closing unasked.
        if (moved)
            this->Modified();
        if (dragged)
            this->Redraw();
        return moved;
    }

protected:
    bool Hit(const T &object, int x, int y) const override
    {
        return CircleHit(object.X, object.Y, object.Runtime.Radius, this->m_s.View->Zoom, x, y);
    }
};

class TBalloonLayer : public TCircleLayer<TPLABaloon, TPLABalloonPlaces>
{
public:
    explicit TBalloonLayer(const TSchemeObjectServices &s) : TCircleLayer(s, s.Doc->BalloonList) {}

    QString Caption(int index) const override { return QString::number(m_list[index].Number); }

    void AddAt(int x, int y) override
    {
        QString text;
        if (!InputQuery(QStringLiteral("Метка позиции ПЛА"), QStringLiteral("Номер позиции ПЛА"), text))
            return;
        const int number = StrToInt(text); // a text that is no integer adds nothing
        m_list.Add(TPLABaloon(*m_s.Tables, x, number, y));
        Changed();
    }

private:
    void Edit(TPLABaloon &balloon) override
    {
        if (!m_s.EditBalloon)
            return;
        const int before = balloon.Number;
        switch (m_s.EditBalloon(balloon)) {
        case oeOk:
            // The dialog has set the number (and so the colour).
            if (balloon.Number != before)
                Modified();
            Redraw();
            break;
        case oeDelete:
            m_list.Remove(&balloon);
            Changed();
            break;
        case oeCancel: break;
        }
    }
};

class TPhoneLayer : public TCircleLayer<TTelephone, TPhonePlaces>
{
public:
    explicit TPhoneLayer(const TSchemeObjectServices &s) : TCircleLayer(s, s.Doc->PhoneList) {}

    QString Caption(int index) const override { return QStringLiteral("Телефон №") + m_list[index].Number; }

    void AddAt(int x, int y) override
    {
        QString number;
        if (!InputQuery(QStringLiteral("Телефон"), QStringLiteral("Номер телефона"), number))
            return;
        m_list.Add(TTelephone(x, number.left(TTelephone::MaxNumberLength), y));
        Changed();
    }

private:
    void Edit(TTelephone &phone) override
    {
        QString number = phone.Number;
        if (!InputQuery(QStringLiteral("Телефон"), QStringLiteral("Номер (для удаления - очистите строку)"), number))
            return;
        if (QString(number).remove(u' ').isEmpty()) {
            RemovePhone(*m_s.Tables, m_list, &phone);
            Changed();
            return;
        }
        // Kept as typed, up to what the file holds, so that its link survives.
        number = number.left(TTelephone::MaxNumberLength);
        if (number == phone.Number)
            return;
        phone.Number = number;
        Changed();
    }
};

class TTextLayer : public TListLayer<TMapText, TMapTextList>
{
public:
    explicit TTextLayer(const TSchemeObjectServices &s) : TListLayer(s, s.Doc->MapTexts) {}

    QString Caption(int index) const override { return QStringLiteral("Строка \"%1\"").arg(m_list[index].Text); }

    bool MouseDown(int x, int y) override
    {
        bool any = false;
        for (int i = 0; i < m_list.Count(); ++i) {
            TMapText &t = m_list[i];
            t.Runtime.OffsetX = x - t.X;
            t.Runtime.OffsetY = y - t.Y;
            t.Runtime.Dragging = Hit(t, x, y);
            any = any || t.Runtime.Dragging;
        }
        return any;
    }

    void MouseMove(TCanvas &canvas, int x, int y) override
    {
        for (int i = 0; i < m_list.Count(); ++i) {
            TMapText &t = m_list[i];
            if (!t.Runtime.Dragging)
                continue;
            DrawFrame(canvas, t);
            t.SetPos(x - t.Runtime.OffsetX, y - t.Runtime.OffsetY);
            DrawFrame(canvas, t);
        }
    }

    bool MouseUp() override
    {
        bool dragged = false;
        for (int i = 0; i < m_list.Count(); ++i) {
            dragged = dragged || m_list[i].Runtime.Dragging;
            m_list[i].Runtime.Dragging = false;
        }
        // A press on a text counts as a change even when it did not move.
        if (dragged)
            Changed();
        return dragged;
    }

    void AddAt(int x, int y) override
    {
        TMapText text;
        text.SetText(QStringLiteral("Введите текст"));
        text.SetPos(x, y);
        text.SetSizeFactor(1);
        text.SetStyle(0);
        text.SetColor(clBlack);
        text.SetFontName(m_s.DrawSettings ? m_s.DrawSettings().FontName : QStringLiteral("Arial"));
        const TObjectEditResult result =
            m_s.EditText ? m_s.EditText(text, QStringLiteral("Новая надпись"), false) : oeCancel;
        if (result == oeOk)
            m_list.Add(text);
        // Also a cancelled new text marks the document, as the tool always did.
        Changed();
    }

private:
    TPoint LowerRight(const TMapText &text) const
    {
        TCanvas *measure = m_s.MeasureCanvas ? m_s.MeasureCanvas() : nullptr;
        if (!measure)
            return {text.X, text.Y};
        const TSchemeDrawSettings settings = m_s.DrawSettings ? m_s.DrawSettings() : TSchemeDrawSettings{};
        return MapTextLowerRight(text, *measure, m_s.View->Zoom, MapTextFont(text, *m_s.View, settings));
    }

    bool Hit(const TMapText &text, int x, int y) const override
    {
        const TPoint lr = LowerRight(text);
        return text.X <= x && x <= lr.X && text.Y <= y && y <= lr.Y;
    }

    void DrawFrame(TCanvas &canvas, const TMapText &text) const
    {
        const TPoint lr = LowerRight(text);
        const TViewport &v = *m_s.View;
        canvas.Rectangle(v.ScreenX(text.X), v.ScreenY(text.Y), v.ScreenX(lr.X), v.ScreenY(lr.Y));
    }

    void Edit(TMapText &text) override
    {
        if (!m_s.EditText)
            return;
        switch (m_s.EditText(text, QStringLiteral("Корректировка надписи"), true)) {
        case oeOk: Changed(); break;
        case oeDelete:
            m_list.Remove(&text);
            Changed();
            break;
        case oeCancel: break;
        }
    }
};

} // namespace

TSchemeObjectLayers SchemeObjects;

int CircleRadius(TCanvas &canvas, const QString &sample)
{
    const TSize e = canvas.TextExtent(sample);
    const double h = e.cy + 2, w = e.cx + 4;
    return Round(std::sqrt(h * h + w * w)) / 2;
}

void DrawBalloon(TCanvas &canvas, TPLABaloon &balloon, const TViewport &view, const TSchemeDrawSettings &settings)
{
    SetLabelFont(canvas, view, settings);
    // Every balloon has the size of the widest number it may show.
    const QString widest = QStringLiteral("999");
    balloon.Runtime.Radius = CircleRadius(canvas, widest);
    canvas.Brush.Color = balloon.Color;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    const int xs = view.ScreenX(balloon.X), ys = view.ScreenY(balloon.Y);
    DrawCircle(canvas, xs, ys, balloon.Runtime.Radius);
    const TPoint at = CircleTextCorner(canvas, widest, xs, ys);
    canvas.TextOut(at.X, at.Y, QString::number(balloon.Number));
}

void DrawBalloons(TCanvas &canvas, TPLABalloonPlaces &balloons, const TViewport &view,
                  const TSchemeDrawSettings &settings)
{
    for (int i = 0; i < balloons.Count(); ++i)
        DrawBalloon(canvas, balloons[i], view, settings);
}

void DrawPhone(TCanvas &canvas, TTelephone &phone, const TViewport &view, const TSchemeDrawSettings &settings)
{
    SetLabelFont(canvas, view, settings);
    const QString letter = QStringLiteral("T");
    phone.Runtime.Radius = CircleRadius(canvas, letter);
    canvas.Brush.Color = clWhite;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    const int xs = view.ScreenX(phone.X), ys = view.ScreenY(phone.Y);
    DrawCircle(canvas, xs, ys, phone.Runtime.Radius);
    const TPoint at = CircleTextCorner(canvas, letter, xs, ys);
    canvas.TextOut(at.X, at.Y, letter);
    // The number stands above the circle on whatever lies there.
    const TSize n = canvas.TextExtent(phone.Number);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.TextOut(xs - 1 - n.cx / 2, ys - phone.Runtime.Radius - 1 - n.cy, phone.Number);
    canvas.Brush.Style = TBrushStyle::bsSolid;
}

void DrawPhones(TCanvas &canvas, TPhonePlaces &phones, const TViewport &view, const TSchemeDrawSettings &settings)
{
    for (int i = 0; i < phones.Count(); ++i)
        DrawPhone(canvas, phones[i], view, settings);
}

TFont MapTextFont(const TMapText &text, const TViewport &view, const TSchemeDrawSettings &settings)
{
    TFont font;
    font.Name = text.FontName;
    font.Charset = settings.Charset;
    // In the dialog's range also for a text not read from a file.
    font.Size = LabelFontSizes[static_cast<std::size_t>(view.ZoomStep)]
                * std::clamp(text.SizeFactor, TMapText::MinSizeFactor, TMapText::MaxSizeFactor);
    font.Height = 0;
    font.Style = 0;
    if (text.Style & ts::Bold)
        font.Style |= fs::Bold;
    if (text.Style & ts::Italic)
        font.Style |= fs::Italic;
    if (text.Style & ts::Underline)
        font.Style |= fs::Underline;
    font.Color = text.Color;
    return font;
}

void DrawMapText(TCanvas &canvas, TMapText &text, const TViewport &view, const TSchemeDrawSettings &settings)
{
    canvas.Font = MapTextFont(text, view, settings);
    const bool paper = canvas.IsPrinter() || settings.DrawTarget == dtPrinter;
    canvas.Brush.Color = paper ? clWhite : settings.Colors[0];
    canvas.Brush.Style = TBrushStyle::bsSolid;
    text.Runtime.Font = canvas.Font;
    text.Runtime.HasFont = true;
    canvas.TextOut(view.ScreenX(text.X), view.ScreenY(text.Y), text.Text);
}

void DrawMapTexts(TCanvas &canvas, TMapTextList &texts, const TViewport &view, const TSchemeDrawSettings &settings)
{
    for (int i = 0; i < texts.Count(); ++i)
        DrawMapText(canvas, texts[i], view, settings);
}

bool CircleHit(std::int32_t cx, std::int32_t cy, int radius, double zoom, int x, int y)
{
    const int r = Round(radius / zoom);
    return cx - r <= x && x <= cx + r && cy - r <= y && y <= cy + r;
}

TPoint MapTextLowerRight(const TMapText &text, TCanvas &measure, double zoom, const TFont &fallback)
{
    const TFont saved = measure.Font;
    measure.Font = text.Runtime.HasFont ? text.Runtime.Font : fallback;
    const TSize e = measure.TextExtent(text.Text);
    measure.Font = saved;
    return {static_cast<int>(e.cx / zoom + text.X), static_cast<int>(e.cy / zoom + text.Y)};
}

TSchemeObjectLayers MakeSchemeObjectLayers(const TSchemeObjectServices &services)
{
    TSchemeObjectLayers layers;
    layers.Balloons = std::make_unique<TBalloonLayer>(services);
    layers.Phones = std::make_unique<TPhoneLayer>(services);
    layers.Texts = std::make_unique<TTextLayer>(services);
    return layers;
}

QString BranchPhoneNumber(const TNetworkTables &t, int branch)
{
    const TTelephone *phone = ValidItemIndex(branch) ? t.BranchPhone[branch] : nullptr;
    return phone ? phone->Number : QString();
}

bool StoreBranchPhone(TNetworkTables &t, TSchemeDocument &doc, int branch, const QString &number, TPoint at)
{
    if (!ValidItemIndex(branch))
        return false;
    TTelephone *phone = t.BranchPhone[branch];
    if (phone && !doc.PhoneList.Contains(phone))
        phone = t.BranchPhone[branch] = nullptr;
    const QString kept = number.left(TTelephone::MaxNumberLength);
    if (!phone) {
        if (kept.isEmpty())
            return false;
        t.BranchPhone[branch] = doc.PhoneList.Add(TTelephone(at.X, kept, at.Y));
        return true;
    }
    if (kept.isEmpty()) {
        RemovePhone(t, doc.PhoneList, phone);
        return true;
    }
    if (phone->Number == kept)
        return false;
    phone->Number = kept;
    return true;
}
