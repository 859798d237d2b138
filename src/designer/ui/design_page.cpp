#include "designer/ui/design_page.h"

#include "designer/design_state.h"
#include "designer/designer_core.h"
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dock.h"
#include "designer/ui/frm_designer.h"
#include "platform/guard.h"
#include "platform/ui/qt_canvas.h"
#include "report/report_document.h"
#include "report/report_page.h"
#include "report/ui/speed_button.h"

#include <QtGui/QCursor>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>
#include <QtWidgets/QMenu>
#include <QtWidgets/QScrollArea>
#include <QtWidgets/QTabBar>

#include <algorithm>

namespace {

constexpr TColor clTeal = 0x808000;

// The line tool's cursor: a small pencil with its point at the bottom left.
QCursor PencilCursor()
{
    static const QCursor cursor = [] {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(255, 230, 120));
        p.drawPolygon(QPolygon({QPoint(3, 10), QPoint(11, 2), QPoint(14, 5), QPoint(6, 13)}));
        p.setBrush(Qt::black);
        p.drawPolygon(QPolygon({QPoint(0, 15), QPoint(3, 10), QPoint(6, 13)}));
        p.drawLine(11, 2, 14, 5);
        return QCursor(pixmap, 0, 15);
    }();
    return cursor;
}

bool Contains(const std::vector<TRect> &region, int x, int y)
{
    return std::any_of(region.begin(), region.end(),
                       [x, y](const TRect &r) { return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom; });
}

bool Meets(const std::vector<TRect> &region, const TRect &area)
{
    return std::any_of(region.begin(), region.end(), [&area](const TRect &r) { return IntersectRects(r, area); });
}

TRect Intersect(const TRect &a, const TRect &b)
{
    return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
}

bool IsSizing(TSurfaceCursor c)
{
    return c == TSurfaceCursor::SizeNWSE || c == TSurfaceCursor::SizeNESW || c == TSurfaceCursor::SizeNS
           || c == TSurfaceCursor::SizeWE;
}

} // namespace

TfrDesignerPage::TfrDesignerPage(TfrDesignerForm *form) : QWidget(nullptr), m_form(form)
{
    // The page lies on grey with a margin of 10 pixels; the sheet behind it
    // sets the scroll range.
    m_sheet = new QWidget;
    m_sheet->setBackgroundRole(QPalette::Dark);
    m_sheet->setAutoFillBackground(true);
    setParent(m_sheet);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    if (m_form->ScrollBox1) {
        m_form->ScrollBox1->setWidget(m_sheet);
        m_form->ScrollBox1->viewport()->installEventFilter(this);
    }
}

void TfrDesignerPage::PlacePage()
{
    TfrPage *page = m_form->Page;
    if (!page)
        return;
    const int w = std::max(1, int(page->PrinterInfo.PageWidth));
    const int h = std::max(1, int(page->PrinterInfo.PageHeight));
    const int client = m_form->ScrollBox1->viewport()->width();
    const int left = w > client ? 10 : (client - w) / 2;
    const int top = 10;
    setGeometry(left, top, w, h);
    m_sheet->resize(std::max(left + w + 11, client), top + h + 11);
    DesignerPageSize = {w, h};
    if (m_image.size() != QSize(w, h)) {
        m_image = QImage(w, h, QImage::Format_RGB32);
        m_image.fill(Qt::white);
        m_shapes.clear();
        m_background = QImage();
    }
}

void TfrDesignerPage::ResetState()
{
    EraseShapes(TXorShape::Rubber);
    EraseShapes(TXorShape::Outline);
    Down = SkipMouseDown = RubberBand = false;
    Moved = false;
    PointerTool = true;
    SetSurfaceCursor(TSurfaceCursor::Default);
    ResizeCorner = 0;
}

void TfrDesignerPage::SetSurfaceCursor(TSurfaceCursor cursor)
{
    m_cursor = cursor;
    switch (cursor) {
    case TSurfaceCursor::Default: unsetCursor(); break;
    case TSurfaceCursor::Cross: setCursor(Qt::CrossCursor); break;
    case TSurfaceCursor::Pencil: setCursor(PencilCursor()); break;
    case TSurfaceCursor::SizeNWSE: setCursor(Qt::SizeFDiagCursor); break;
    case TSurfaceCursor::SizeNESW: setCursor(Qt::SizeBDiagCursor); break;
    case TSurfaceCursor::SizeNS: setCursor(Qt::SizeVerCursor); break;
    case TSurfaceCursor::SizeWE: setCursor(Qt::SizeHorCursor); break;
    case TSurfaceCursor::HSplit: setCursor(Qt::SplitHCursor); break;
    }
}

TGrid TfrDesignerPage::Grid() const { return {m_form->Options.GridSize, m_form->Options.GridAlign}; }

int TfrDesignerPage::ToolTag() const
{
    for (QWidget *w : m_form->Panel4->Controls())
        if (auto *b = dynamic_cast<TfrSpeedButton *>(w); b && b->GroupIndex() == 1 && b->Down())
            return b->property("tag").toInt();
    return -1;
}

// ---------------------------------------------------------------- painting

void TfrDesignerPage::DrawPageBackground()
{
    const TfrPage &page = *m_form->Page;
    const TDesignerOptions &o = m_form->Options;
    m_background = QImage(m_image.size(), QImage::Format_RGB32);
    m_background.fill(Qt::white);
    const QRgb black = qRgb(0, 0, 0);
    if (o.GridShow) {
        // The dot pattern of the small grids, a dot at every grid point of the 18 grid.
        const int step = o.GridSize == 18 ? 18 : o.GridSize == 4 ? 4 : 8;
        for (int y = 0; y < m_background.height(); y += step) {
            auto *line = reinterpret_cast<QRgb *>(m_background.scanLine(y));
            for (int x = 0; x < m_background.width(); x += step)
                line[x] = black;
        }
    }
    TQtCanvas canvas(&m_background);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Pen = TPen{clGray, 1, TPenStyle::psSolid, TPenMode::pmCopy};
    const TPrinterInfo &info = page.PrinterInfo;
    if (page.HonourMargins)
        canvas.Rectangle(info.OffsetX, info.OffsetY, info.OffsetX + info.PrintableWidth,
                         info.OffsetY + info.PrintableHeight);
    if (page.MarginLeft || page.MarginTop || page.MarginRight || page.MarginBottom) {
        canvas.Pen.Style = TPenStyle::psDot;
        canvas.Rectangle(page.MarginLeft, page.MarginTop, info.PageWidth - page.MarginRight,
                         info.PageHeight - page.MarginBottom);
    }
}

void TfrDesignerPage::DrawPage(int /*upto*/, const std::vector<TRect> &area)
{
    if (EngineMode != 0 || !m_form->Page)
        return;
    TfrPage &page = *m_form->Page;
    // A page of another size (new page options) starts on a fresh image.
    const bool resized = m_image.size() != QSize(page.PrinterInfo.PageWidth, page.PrinterInfo.PageHeight);
    if (resized)
        PlacePage();
    DesignerPageSize = {m_image.width(), m_image.height()};
    const TRect whole{0, 0, m_image.width(), m_image.height()};

    // The damaged area: what the caller names and wherever a selected object
    // lies now. Objects above `upto` are repainted there as well, with the
    // same pixels they had, so the page ends as a full repaint would.
    std::vector<TRect> damaged;
    if (area.empty() || resized) {
        damaged.push_back(whole);
    } else {
        damaged = area;
        for (const auto &v : page.TemplateObjects)
            if (v->Selected)
                for (const TRect &r : v->GetRegion(true))
                    damaged.push_back(r);
        // Many small pieces (a large selection moved) cost more than one
        // rectangle around them: objects would be drawn once per piece.
        if (damaged.size() > 32) {
            TRect bounds = damaged.front();
            for (const TRect &r : damaged)
                bounds = {std::min(bounds.Left, r.Left), std::min(bounds.Top, r.Top), std::max(bounds.Right, r.Right),
                          std::max(bounds.Bottom, r.Bottom)};
            damaged = {bounds};
        }
    }

    // The XOR drawings come off first and go back on afterwards; the marks
    // are drawn for the selection as it is now.
    std::vector<TXorShape> kept;
    for (const TXorShape &s : m_shapes)
        if (s.Kind != TXorShape::Mark)
            kept.push_back(s);
    XorShapes(m_shapes);
    m_shapes.clear();

    if (area.empty() || resized || m_background.size() != m_image.size())
        DrawPageBackground();
    {
        TQtCanvas canvas(&m_image);
        for (const TRect &d : damaged) {
            const TRect r = Intersect(d, whole);
            if (r.Width() <= 0 || r.Height() <= 0)
                continue;
            canvas.SetClipRect(r);
            canvas.Painter().setCompositionMode(QPainter::CompositionMode_Source);
            canvas.Painter().drawImage(QPoint(r.Left, r.Top), m_background,
                                       QRect(r.Left, r.Top, r.Width(), r.Height()));
            for (const auto &v : page.TemplateObjects) {
                if (!Meets(v->GetRegion(false), r) && v->ReportObjectType != gtBand)
                    continue;
                try {
                    v->Draw(canvas);
                } catch (const std::exception &) {
                    // An object that cannot draw itself leaves its place blank.
                }
            }
        }
        canvas.ClearClipRect();
    }
    ShowShapes(kept);
    DrawMarks();
    update();
}

void TfrDesignerPage::DrawSelection(int mode)
{
    if (EngineMode != 0 || !m_form->Page)
        return;
    switch (mode) {
    case 0: {
        TQtCanvas canvas(&m_image);
        for (const auto &v : m_form->Page->TemplateObjects)
            if (v->Selected)
                v->Draw(canvas);
        update();
        break;
    }
    case 1:
    case 2: {
        const auto kind = mode == 1 ? TXorShape::Mark : TXorShape::Outline;
        if (Shown(kind))
            EraseShapes(kind);
        else if (mode == 1)
            DrawMarks();
        else
            DrawOutlines();
        break;
    }
    default: break;
    }
}

void TfrDesignerPage::XorShapes(const std::vector<TXorShape> &shapes)
{
    if (shapes.empty() || m_image.isNull())
        return;
    TQtCanvas canvas(&m_image);
    for (const TXorShape &s : shapes) {
        canvas.Pen = TPen{s.Color, s.Width, TPenStyle::psSolid, TPenMode::pmXor};
        canvas.Brush = TBrush{s.Color, TBrushStyle::bsSolid};
        switch (s.Form) {
        case TXorShape::Dot:
            canvas.Pen.Style = TPenStyle::psClear;
            canvas.Rectangle(s.R.Left - 2, s.R.Top - 2, s.R.Left + 4, s.R.Top + 4);
            break;
        case TXorShape::Frame:
            canvas.Brush.Style = TBrushStyle::bsClear;
            canvas.Rectangle(s.R);
            break;
        case TXorShape::Block:
            canvas.Rectangle(s.R);
            break;
        case TXorShape::Line:
            canvas.MoveTo(s.R.Left, s.R.Top);
            canvas.LineTo(s.R.Right, s.R.Bottom);
            break;
        }
    }
    update();
}

void TfrDesignerPage::ShowShapes(std::vector<TXorShape> shapes)
{
    XorShapes(shapes);
    m_shapes.insert(m_shapes.end(), shapes.begin(), shapes.end());
}

void TfrDesignerPage::EraseShapes(TXorShape::TKind kind)
{
    std::vector<TXorShape> gone;
    std::vector<TXorShape> rest;
    for (const TXorShape &s : m_shapes)
        (s.Kind == kind ? gone : rest).push_back(s);
    XorShapes(gone);
    m_shapes = std::move(rest);
}

bool TfrDesignerPage::Shown(TXorShape::TKind kind) const
{
    return std::any_of(m_shapes.begin(), m_shapes.end(), [kind](const TXorShape &s) { return s.Kind == kind; });
}

void TfrDesignerPage::DrawMarks()
{
    EraseShapes(TXorShape::Mark);
    if (!m_form->Page)
        return;
    std::vector<TXorShape> marks;
    const auto &objects = m_form->Page->TemplateObjects;
    for (int i = 0; i < int(objects.size()); ++i) {
        const TfrView &v = *objects[i];
        if (!v.Selected)
            continue;
        const int x = v.Left, y = v.Top, w = v.Width, h = v.Height;
        const auto dot = [&marks](int px, int py, TColor c) {
            marks.push_back({TXorShape::Mark, TXorShape::Dot, {px, py, px, py}, c, 5});
        };
        dot(x, y, clWhite);
        dot(x + w, y, clWhite);
        dot(x, y + h, clWhite);
        dot(x + w, y + h, i == RightBottom ? clTeal : clWhite);
        if (SelectedCount == 1) {
            dot(x + w / 2, y, clWhite);
            dot(x + w / 2, y + h, clWhite);
            dot(x, y + h / 2, clWhite);
            dot(x + w, y + h / 2, clWhite);
        }
    }
    ShowShapes(std::move(marks));
}

void TfrDesignerPage::DrawOutlines()
{
    EraseShapes(TXorShape::Outline);
    if (!m_form->Page)
        return;
    std::vector<TXorShape> outlines;
    for (const auto &v : m_form->Page->TemplateObjects) {
        if (!v->Selected)
            continue;
        const TRect r{v->Left, v->Top, v->Left + v->Width + 1, v->Top + v->Height + 1};
        if (m_form->Options.InverseOutlines)
            outlines.push_back({TXorShape::Outline, TXorShape::Block, r, clWhite, 1});
        else if (r.Width() == 1 || r.Height() == 1)
            outlines.push_back({TXorShape::Outline, TXorShape::Line, {r.Left, r.Top, r.Right - 1, r.Bottom - 1},
                                clSilver, 1});
        else
            outlines.push_back({TXorShape::Outline, TXorShape::Frame, NormalizeRect(r), clSilver, 1});
    }
    ShowShapes(std::move(outlines));
}

void TfrDesignerPage::DrawRubberRect(const TRect &r)
{
    const TRect n = NormalizeRect(r);
    if (n.Width() <= 1 || n.Height() <= 1)
        ShowShapes({{TXorShape::Rubber, TXorShape::Line, r, clSilver, 1}});
    else
        ShowShapes({{TXorShape::Rubber, TXorShape::Frame, n, clSilver, 1}});
}

void TfrDesignerPage::DrawRubberLine(const TRect &r)
{
    ShowShapes({{TXorShape::Rubber, TXorShape::Line, RubberLineEnd(r), clWhite, std::max(1, int(LastLineWidth))}});
}

void TfrDesignerPage::DrawSplitLine() { ShowShapes({{TXorShape::Rubber, TXorShape::Line, Split.Line, clSilver, 1}}); }

void TfrDesignerPage::ComputeSelectionBounds()
{
    if (!m_form->Page) {
        RightBottom = -1;
        LeftTop = {10000, 10000};
        SelectionRectValid = false;
        return;
    }
    ::ComputeSelectionBounds(*m_form->Page, RightBottom, LeftTop);
}

void TfrDesignerPage::RepaintSelection()
{
    if (SelectionRegionStale)
        BuildSelectionRegion(*m_form->Page);
    DrawPage(TopSelectedIndex(*m_form->Page), SelectionRegion);
}

void TfrDesignerPage::ShowRubberInReadOut()
{
    ShowRubberSize = true;
    m_form->RefreshInfo();
    ShowRubberSize = false;
}

void TfrDesignerPage::paintEvent(QPaintEvent *e)
{
    QPainter p(this);
    if (m_image.isNull()) {
        p.fillRect(rect(), Qt::white);
        return;
    }
    p.drawImage(e->rect().topLeft(), m_image, e->rect());
}

// ---------------------------------------------------------------- mouse

int TfrDesignerPage::HitTest(int x, int y) const
{
    const auto &objects = m_form->Page->TemplateObjects;
    for (int i = int(objects.size()) - 1; i >= 0; --i)
        if (Contains(objects[i]->GetRegion(false), x, y))
            return i;
    return -1;
}

void TfrDesignerPage::PageMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y)
{
    if (SkipMouseDown) {
        SkipMouseDown = false;
        return;
    }
    if (!m_form->Page)
        return;
    TfrPage &page = *m_form->Page;
    if (button == Qt::RightButton && Down && RubberBand)
        EraseRubber();
    RubberBand = false;
    EraseShapes(TXorShape::Mark);
    Down = true;

    const auto deselect = [&] {
        DeselectAll(page);
        SelectedCount = 0;
        RightBottom = -1;
        LastClickedView = nullptr;
        SelectionRectValid = false;
    };
    if (button == Qt::LeftButton && ((shift & Qt::ControlModifier) || m_cursor == TSurfaceCursor::Cross)) {
        RubberBand = true;
        if (m_cursor == TSurfaceCursor::Cross) {
            EraseRubber();
            const TPoint p = SnapToGrid(x, y, Grid());
            x = p.X;
            y = p.Y;
            SavedRect = RubberRect;
        }
        RubberRect = {x, y, x, y};
        deselect();
        return;
    }
    if (button == Qt::LeftButton && m_cursor == TSurfaceCursor::Pencil) {
        if (m_form->Options.GridAlign && !SnapToCorner(page, x, y, m_form->Options.GridSize)) {
            const TPoint p = RoundToGrid(x, y, Grid());
            x = p.X;
            y = p.Y;
        }
        RubberRect = {x, y, x, y};
        deselect();
        LastX = x;
        LastY = y;
        return;
    }
    if (m_cursor == TSurfaceCursor::Default) {
        const int hit = HitTest(x, y);
        if (hit < 0) {
            DeselectAll(page);
            SelectedCount = 0;
            LastClickedView = nullptr;
            if (button == Qt::LeftButton) {
                RubberBand = true;
                RubberRect = {x, y, x, y};
                m_form->SyncToolbars();
                return;
            }
        } else {
            TfrView *v = page.TemplateObjects[hit].get();
            bool kept = false;
            if (shift & Qt::ShiftModifier) {
                v->Selected = !v->Selected;
                SelectedCount += v->Selected ? 1 : -1;
            } else if (v->Selected) {
                kept = true;
            } else {
                DeselectAll(page);
                v->Selected = true;
                SelectedCount = 1;
            }
            if (SelectedCount == 0)
                LastClickedView = nullptr;
            else if (SelectedCount == 1)
                LastClickedView = v->Selected ? v : page.TemplateObjects[TopSelectedIndex(page)].get();
            else if (LastClickedView && !LastClickedView->Selected)
                LastClickedView = nullptr;
            ComputeSelectionBounds();
            if (!kept)
                m_form->SyncToolbars();
        }
    }
    if (SelectedCount == 0) {
        RightBottom = -1;
        SelectionRectValid = false;
    }
    LastX = x;
    LastY = y;
    Moved = false;
    SelectionRegionStale = true;
    FirstMove = true;
    if (button == Qt::RightButton) {
        DrawMarks();
        Down = false;
        m_form->Popup1Popup();
        m_form->Popup1->popup(mapToGlobal(QPoint(x, y)));
    } else {
        DrawOutlines();
    }
}

void TfrDesignerPage::PageMouseMove(Qt::KeyboardModifiers shift, int x, int y)
{
    if (!m_form->Page)
        return;
    TfrPage &page = *m_form->Page;
    const TGrid grid = Grid();
    Moved = true;

    if (SelectionRegionStale && Down && !RubberBand) {
        int dx = x - LastX, dy = y - LastY;
        if (GridStep(dx, dy, grid)) {
            BuildSelectionRegion(page);
            // A drag that starts with nothing selected (the line tool) changes no object.
            if (SelectedCount > 0)
                m_form->RecordUndo(ukModify);
        }
    }

    if (!Down) {
        const int tag = ToolTag();
        if (tag == gtLine) {
            PointerTool = true;
            SetSurfaceCursor(TSurfaceCursor::Pencil);
        } else if (tag < 0) {
            PointerTool = true;
            SetSurfaceCursor(TSurfaceCursor::Default);
        } else {
            PointerTool = false;
            if (m_cursor != TSurfaceCursor::Cross) {
                RubberRect = InsertionPreview(x, y, tag == gtBand, width(), grid, LastFontSize);
                DrawRubberRect(RubberRect);
                SetSurfaceCursor(TSurfaceCursor::Cross);
            }
        }
        if (!PointerTool) {
            EraseRubber();
            const TPoint p = SnapToGrid(x, y, grid);
            RubberRect = {p.X, p.Y, p.X + RubberRect.Width(), p.Y + RubberRect.Height()};
            DrawRubberRect(RubberRect);
            ShowRubberInReadOut();
            return;
        }
        if (SelectedCount == 1 && tag < 0) {
            SetSurfaceCursor(HandleCursor(*page.TemplateObjects[TopSelectedIndex(page)], x, y));
        } else if (SelectedCount > 1) {
            if (RightBottom >= 0 && RightBottom < int(page.TemplateObjects.size())) {
                const TfrView &rb = *page.TemplateObjects[RightBottom];
                if (AtHandle(rb.Left + rb.Width, rb.Top + rb.Height, x, y, 2))
                    SetSurfaceCursor(TSurfaceCursor::SizeNWSE);
            }
            if (FindSharedEdge(page, x, y, Split))
                SetSurfaceCursor(TSurfaceCursor::HSplit);
        }
        return;
    }

    if (RubberBand) {
        EraseRubber();
        if (m_cursor == TSurfaceCursor::Cross) {
            const TPoint p = SnapToGrid(x, y, grid);
            x = p.X;
            y = p.Y;
        }
        RubberRect = {RubberRect.Left, RubberRect.Top, x, y};
        DrawRubberRect(RubberRect);
        if (m_cursor == TSurfaceCursor::Cross)
            ShowRubberInReadOut();
        return;
    }

    int dx = x - LastX, dy = y - LastY;
    if (m_cursor == TSurfaceCursor::Pencil) {
        if (!GridStep(dx, dy, grid))
            return;
        EraseRubber();
        RubberRect.Right += dx;
        RubberRect.Bottom += dy;
        DrawRubberLine(RubberRect);
        LastX += dx;
        LastY += dy;
        return;
    }
    if (SelectionRectValid && PointerTool && m_cursor == TSurfaceCursor::HSplit) {
        dy = 0;
        if (!GridStep(dx, dy, grid))
            return;
        EraseRubber();
        Split.Line.Left += dx;
        Split.Line.Right += dx;
        DrawSplitLine();
        LastX += dx;
        return;
    }
    if (SelectionRectValid && PointerTool && IsSizing(m_cursor)) {
        if (!GridStep(dx, dy, grid))
            return;
        EraseShapes(TXorShape::Outline);
        RubberRect.Right += dx;
        RubberRect.Bottom += dy;
        ResizeInProportion(page, RubberRect, SavedRect, LeftTop);
        DrawOutlines();
        LastX += dx;
        LastY += dy;
        m_form->RefreshInfo();
        return;
    }
    if (!PointerTool)
        return;
    if (SelectedCount > 0 && m_cursor == TSurfaceCursor::Default) {
        if (!GridStep(dx, dy, grid))
            return;
        if (FirstMove && SelectedCount == 1 && (dx != 0 || dy != 0) && !(shift & Qt::AltModifier)) {
            const int i = TopSelectedIndex(page);
            if (page.TemplateObjects[i]->ReportObjectType == gtBand && SelectBandContents(page) > 0) {
                // The step recorded for the band alone must cover what it carries.
                if (m_form->UndoList.Count() > 0) {
                    m_form->UndoList.TakeLast();
                    m_form->RecordUndo(ukModify);
                }
                BuildSelectionRegion(page);
                m_form->SyncToolbars();
                ComputeSelectionBounds();
            }
        }
        FirstMove = false;
        EraseShapes(TXorShape::Outline);
        for (auto &v : page.TemplateObjects)
            if (v->Selected) {
                v->Left += dx;
                v->Top += dy;
            }
        DrawOutlines();
        LastX += dx;
        LastY += dy;
        m_form->RefreshInfo();
        return;
    }
    if (SelectedCount == 1 && IsSizing(m_cursor)) {
        if (!GridStep(dx, dy, grid))
            return;
        EraseShapes(TXorShape::Outline);
        TfrView &v = *page.TemplateObjects[TopSelectedIndex(page)];
        ResizeCorner = DecideResizeCorner(m_cursor, ResizeCorner, v, LastX, LastY);
        ResizeByCorner(v, ResizeCorner, dx, dy);
        DrawOutlines();
        LastX += dx;
        LastY += dy;
        m_form->RefreshInfo();
    }
}

void TfrDesignerPage::PageMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers, int, int)
{
    if (button != Qt::LeftButton || !m_form->Page)
        return;
    TfrPage &page = *m_form->Page;
    Down = false;
    EraseShapes(TXorShape::Outline);

    if (m_cursor == TSurfaceCursor::Cross) {
        PointerTool = true;
        EraseRubber();
        RubberBand = false;
        InsertObject();
        if (KeepToolAfterInsert) {
            RubberRect = SavedRect;
            DrawRubberRect(RubberRect);
        } else {
            m_form->Button(QStringLiteral("OB1"))->SetDown(true);
            SetSurfaceCursor(TSurfaceCursor::Default);
        }
        return;
    }
    if (m_cursor == TSurfaceCursor::Pencil) {
        EraseRubber();
        InsertLine();
        return;
    }
    if (RubberBand) {
        EraseRubber();
        RubberBand = false;
        RubberSelect(page, RubberRect);
        ComputeSelectionBounds();
        m_form->SyncToolbars();
        DrawMarks();
        return;
    }
    if (Moved && SelectionRectValid && m_cursor == TSurfaceCursor::HSplit) {
        EraseRubber();
        MoveSharedEdge(Split, Split.Line.Left - Split.EdgeX);
        ComputeSelectionBounds();
        RepaintSelection();
    } else if (Moved && SelectionRectValid && IsSizing(m_cursor)) {
        RepaintSelection();
        ComputeSelectionBounds();
    } else if (!Moved) {
        DrawMarks();
    } else if (SelectedCount == 1) {
        TfrView &v = *page.TemplateObjects[TopSelectedIndex(page)];
        NormalizeObject(v);
        if (IsSizing(m_cursor))
            v.AfterResize();
        RepaintSelection();
        m_form->RefreshInfo();
    } else if (SelectedCount > 1) {
        RepaintSelection();
        ComputeSelectionBounds();
        m_form->RefreshInfo();
    } else {
        DrawMarks();
    }
    Moved = false;
    ResizeCorner = 0;
}

void TfrDesignerPage::InsertObject()
{
    TfrPage &page = *m_form->Page;
    const int tag = ToolTag();
    std::unique_ptr<TfrView> view;
    if (tag == gtBand) {
        const int kind = ChooseBandType(page, m_form);
        if (kind >= 0) {
            view = CreateReportObject(gtBand);
            static_cast<TfrBandView &>(*view).SetBandType(kind);
        }
    } else if (tag == gtSubReport) {
        TfrReportDocument *report = CurrentDocument();
        if (report) {
            view = CreateReportObject(gtSubReport);
            static_cast<TfrSubReportView &>(*view).PageIndex = report->TemplatePages.Count();
            report->TemplatePages.Add();
            const QSignalBlocker block(m_form->Tab1);
            m_form->Tab1->addTab(PageTabName(report->TemplatePages.Count() - 1));
        }
    } else if (tag >= 10 && tag - 10 < AddInClassCount) {
        view = CreateReportObject(gtAddIn, AddInClassRegistry[tag - 10].ClassName);
    } else if (tag >= 0) {
        view = CreateReportObject(std::uint8_t(tag));
    }
    if (!view)
        return;
    view->CreateUniqueName();
    const bool text = dynamic_cast<TfrMemoView *>(view.get()) != nullptr;
    PlaceView(*view, InsertionBox(RubberRect, SavedRect, text, Grid(), LastFontSize));
    ApplyNewObjectDefaults(*view);
    AddNewObject(std::move(view));
    if (m_form->Options.EditAfterInsert)
        m_form->EditObject();
}

void TfrDesignerPage::InsertLine()
{
    const TBox box = LineFromRubber(RubberRect);
    // A click without a drag draws nothing.
    if (box.Width == 0 && box.Height == 0)
        return;
    std::unique_ptr<TfrView> view = CreateReportObject(gtLine);
    view->CreateUniqueName();
    PlaceView(*view, box);
    view->FrameWidth = LastLineWidth;
    view->FrameColor = LastFrameColor;
    AddNewObject(std::move(view));
}

void TfrDesignerPage::AddNewObject(std::unique_ptr<TfrView> view)
{
    TfrPage &page = *m_form->Page;
    EraseShapes(TXorShape::Mark);
    DeselectAll(page);
    view->Selected = true;
    TfrView &added = *view;
    page.TemplateObjects.push_back(std::move(view));
    if (added.ReportObjectType == gtBand)
        OrderBands(page);
    SelectedCount = 1;
    LastClickedView = &added;
    ComputeSelectionBounds();
    DrawPage(10000, added.GetRegion(true));
    // Drawing settles where a new object lies (a line takes its direction, a
    // band the page's width): repaint where it lies now as well.
    DrawPage(10000, added.GetRegion(true));
    m_form->SyncToolbars();
    m_form->RecordUndo(ukInsert);
}

void TfrDesignerPage::PageDblClick()
{
    Down = false;
    if (SelectedCount == 1) {
        SkipMouseDown = true;
        m_form->EditObject();
    } else if (SelectedCount == 0) {
        SkipMouseDown = true;
        const auto hook = DesignerHooks.find(QStringLiteral("PgB3"));
        if (hook != DesignerHooks.end() && hook->second)
            hook->second(*m_form);
    }
}

void TfrDesignerPage::MouseLeave()
{
    if (!PointerTool && !Down) {
        EraseRubber();
        RubberRect = {RubberRect.Left - 10000, RubberRect.Top - 10000, RubberRect.Right - 10000,
                      RubberRect.Bottom - 10000};
    }
}

// Qt's events go through the program's wrapper: an exception becomes a message.
void TfrDesignerPage::mousePressEvent(QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    GuardedCall([&] { PageMouseDown(e->button(), e->modifiers(), p.x(), p.y()); });
}

void TfrDesignerPage::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    GuardedCall([&] { PageMouseMove(e->modifiers(), p.x(), p.y()); });
}

void TfrDesignerPage::mouseReleaseEvent(QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    GuardedCall([&] { PageMouseUp(e->button(), e->modifiers(), p.x(), p.y()); });
}

void TfrDesignerPage::mouseDoubleClickEvent(QMouseEvent *e)
{
    const QPoint p = e->position().toPoint();
    GuardedCall([&] {
        if (e->button() == Qt::LeftButton)
            PageDblClick();
        PageMouseDown(e->button(), e->modifiers(), p.x(), p.y());
    });
}

void TfrDesignerPage::leaveEvent(QEvent *)
{
    GuardedCall([&] { MouseLeave(); });
}

bool TfrDesignerPage::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::Resize && m_form->ScrollBox1 && watched == m_form->ScrollBox1->viewport())
        PlacePage();
    else if (e->type() == QEvent::MouseButtonPress && watched->property("tag").toInt() >= 0) {
        auto *button = dynamic_cast<TfrSpeedButton *>(watched);
        if (button && button->isEnabled() && button->GroupIndex() == 1) {
            KeepToolAfterInsert = static_cast<QMouseEvent *>(e)->modifiers() & Qt::ShiftModifier;
            EraseRubber();
            SetSurfaceCursor(TSurfaceCursor::Default);
        }
    }
    return QWidget::eventFilter(watched, e);
}

void TfrDesignerPage::ConnectObjectButtons()
{
    for (QWidget *w : m_form->Panel4->Controls()) {
        auto *b = dynamic_cast<TfrSpeedButton *>(w);
        if (!b || b->GroupIndex() != 1)
            continue;
        b->setEnabled(true);
        if (b->property("tag").toInt() < 0)
            b->OnClick = [this] {
                KeepToolAfterInsert = false;
                EraseRubber();
            };
        else
            b->installEventFilter(this);
    }
}
