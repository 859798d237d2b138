#include "designer/ui/dock.h"

#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QApplication>

namespace {

QColor Face() { return QApplication::palette().color(QPalette::Button); }
QColor Light() { return QApplication::palette().color(QPalette::Light); }
QColor Shadow() { return QApplication::palette().color(QPalette::Dark); }

void Raised(QPainter &p, const QRect &r)
{
    p.setPen(Light());
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(Shadow());
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

} // namespace

// ---------------------------------------------------------------- dock

TfrDock::TfrDock(QWidget *form, const QString &name, TDockAlign align) : QWidget(form), Align(align)
{
    setObjectName(name);
    resize(1, 1);
}

std::vector<TfrToolBar *> TfrDock::ToolBars() const
{
    std::vector<TfrToolBar *> bars;
    for (QObject *o : children())
        if (auto *b = qobject_cast<QWidget *>(o); b && dynamic_cast<TfrToolBar *>(b))
            bars.push_back(static_cast<TfrToolBar *>(b));
    return bars;
}

TDockGeometry TfrDock::Geometry() const
{
    TDockGeometry g;
    g.Align = Align;
    g.Left = x();
    g.Top = y();
    g.Width = width();
    g.Height = height();
    g.RowSize = RowSize;
    for (TfrToolBar *b : ToolBars())
        if (b->isVisibleTo(const_cast<TfrDock *>(this)) || !b->isHidden())
            g.Items.push_back({b->x(), b->y(), b->width(), b->height(), !b->isHidden()});
    return g;
}

void TfrDock::ApplyGeometry(const TDockGeometry &g)
{
    size_t i = 0;
    for (TfrToolBar *b : ToolBars())
        if (i < g.Items.size() && (b->isVisibleTo(this) || !b->isHidden())) {
            const TDockItem &it = g.Items[i++];
            b->setGeometry(it.Left, it.Top, it.Width, it.Height);
        }
    const QSize before = size();
    setGeometry(g.Left, g.Top, g.Width, g.Height);
    if (size() != before && OnResized)
        OnResized();
}

void TfrDock::ArrangeRows()
{
    TDockGeometry g = Geometry();
    ::ArrangeRows(g);
    ApplyGeometry(g);
}

void TfrDock::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), Face());
}

// ---------------------------------------------------------------- grip

TfrDragBox::TfrDragBox(TfrToolBar *bar) : QWidget(bar), m_bar(bar)
{
    resize(11, 11);
    setCursor(Qt::SizeAllCursor);
}

void TfrDragBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Face());
    TfrDock *dock = m_bar->ParentDock();
    if (!dock)
        return;
    if (IsHorizontalDock(dock->Align)) {
        Raised(p, QRect(2, 1, 3, height() - 2));
        Raised(p, QRect(5, 1, 3, height() - 2));
    } else {
        Raised(p, QRect(1, 2, width() - 2, 3));
        Raised(p, QRect(1, 5, width() - 2, 3));
    }
}

void TfrDragBox::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton)
        m_bar->GripDown(e->globalPosition().toPoint());
}

void TfrDragBox::mouseMoveEvent(QMouseEvent *e) { m_bar->GripMove(e->globalPosition().toPoint()); }

void TfrDragBox::mouseReleaseEvent(QMouseEvent *) { m_bar->GripUp(); }

// ---------------------------------------------------------------- toolbar

TfrToolBar::TfrToolBar(QWidget *form, const QString &name, const QString &caption)
    : QWidget(form), Grip(new TfrDragBox(this)), Caption(caption), Form(form)
{
    setObjectName(name);
    resize(100, 26);
    m_controls.push_back(Grip);
    m_lengths.push_back(11);
}

void TfrToolBar::AddControl(QWidget *w, int length)
{
    // A toolbar holds at most 101 controls, the grip included.
    if (m_controls.size() >= 101)
        return;
    w->setParent(this);
    m_controls.push_back(w);
    m_lengths.push_back(length);
    FitLength();
}

TfrDock *TfrToolBar::ParentDock() const { return dynamic_cast<TfrDock *>(parentWidget()); }

bool TfrToolBar::Horizontal() const
{
    TfrDock *dock = ParentDock();
    return !dock || IsHorizontalDock(dock->Align);
}

bool TfrToolBar::IsShown() const { return Floating && FloatForm ? !FloatForm->isHidden() : !isHidden(); }

void TfrToolBar::SetShown(bool shown)
{
    if (Floating && FloatForm)
        FloatForm->setVisible(shown);
    else
        setVisible(shown);
}

void TfrToolBar::MatchOrientation()
{
    TToolBarShape shape{width(), height(), Horizontal(), m_lengths};
    ::MatchOrientation(shape, Horizontal());
    resize(shape.Width, shape.Height);
    LayoutControls();
}

void TfrToolBar::FitLength()
{
    TToolBarShape shape{width(), height(), Horizontal(), m_lengths};
    ::MatchOrientation(shape, Horizontal());
    ::FitLength(shape);
    resize(shape.Width, shape.Height);
    LayoutControls();
}

void TfrToolBar::LayoutControls()
{
    TToolBarShape shape{width(), height(), Horizontal(), m_lengths};
    const auto rects = ChildRects(shape);
    for (size_t i = 0; i < rects.size(); ++i) {
        QWidget *w = m_controls[i];
        QRect r(rects[i].Left, rects[i].Top, rects[i].Width, rects[i].Height);
        if (w == Grip) {
            r = shape.Horizontal ? QRect(1, 1, 11, height() - 2) : QRect(1, 1, width() - 2, 11);
        } else {
            // Controls keep their own thickness, centred across the toolbar.
            const QSize hint = w->size();
            if (shape.Horizontal)
                r = QRect(r.left(), (height() - std::min(hint.height(), height() - 2)) / 2, r.width(),
                          std::min(hint.height(), height() - 2));
            else
                r = QRect((width() - std::min(hint.width(), width() - 2)) / 2, r.top(),
                          std::min(hint.width(), width() - 2), r.height());
        }
        w->setGeometry(r);
    }
    Grip->setVisible(!Floating);
    update();
}

void TfrToolBar::PlaceInDock(TfrDock *dock, int x, int y)
{
    hide();
    TfrDock *old = ParentDock();
    if (Floating && FloatForm) {
        TfrFloatWindow *window = FloatForm;
        setParent(nullptr);
        window->hide();
        window->ToolBar = nullptr;
        window->deleteLater();
    }
    FloatForm = nullptr;
    setParent(dock);
    if (old)
        old->ArrangeRows();
    Floating = false;
    Grip->show();
    FitLength();
    move(x, y);
    show();
    dock->ArrangeRows();
}

void TfrToolBar::PlaceAtDockEdge(TfrDock *dock)
{
    const TDockItem p = EdgePlacement(dock->Geometry(), width(), height());
    PlaceInDock(dock, p.Left, p.Top);
}

void TfrToolBar::FloatAtPos(int x, int y)
{
    Floating = true;
    if (FloatForm) {
        FloatForm->move(x, y);
        return;
    }
    TfrDock *old = ParentDock();
    hide();
    auto *window = new TfrFloatWindow(this, Form);
    window->move(x, y);
    setParent(window);
    FitLength();
    if (old)
        old->ArrangeRows();
    // The grip stays hidden: the window's client is the toolbar less its grip.
    window->resize(width() - 11, height() + TfrFloatWindow::CaptionHeight);
    FloatForm = window;
    move(-11, TfrFloatWindow::CaptionHeight);
    show();
    window->show();
    window->raise();
}

void TfrToolBar::TearOff()
{
    Floating = true;
    const QPoint at = QCursor::pos();
    FloatAtPos(at.x(), at.y());
    if (FloatForm)
        FloatForm->BeginMove();
}

bool TfrToolBar::TryMove(int x, int y)
{
    TfrDock *dock = ParentDock();
    if (Floating || !dock)
        return true;
    TDockGeometry g = dock->Geometry();
    const std::vector<TfrToolBar *> bars = dock->ToolBars();
    int index = 0;
    for (TfrToolBar *b : bars) {
        if (b == this)
            break;
        if (!b->isHidden())
            ++index;
    }
    const TDockGeometry before = g;
    switch (::TryMove(g, index, x, y, CanFloat)) {
    case TMoveResult::Refused:
        return false;
    case TMoveResult::TearOff:
        TearOff();
        return true;
    case TMoveResult::Moved:
        dock->ApplyGeometry(g);
        return true;
    }
    return true;
}

bool TfrToolBar::DockUnderPoint(QPoint formPoint)
{
    std::vector<TfrDock *> docks;
    std::vector<TDockGeometry> shapes;
    for (QObject *o : Form->findChildren<QObject *>(Qt::FindDirectChildrenOnly))
        if (auto *d = dynamic_cast<TfrDock *>(o)) {
            docks.push_back(d);
            shapes.push_back(d->Geometry());
        }
    const auto t = ::DockUnderPoint(shapes, formPoint.x(), formPoint.y(), width(), height(), Orientation);
    if (!t)
        return false;
    PlaceInDock(docks[t->Dock], t->X, t->Y);
    grabMouse();
    GripDown(QCursor::pos());
    return true;
}

void TfrToolBar::GripDown(QPoint global)
{
    m_dragStart = global;
    m_dragging = true;
}

void TfrToolBar::GripMove(QPoint global)
{
    if (Floating) {
        m_dragging = false;
        return;
    }
    TfrDock *dock = ParentDock();
    if (!m_dragging || !dock)
        return;
    const int rowSize = dock->RowSize;
    int dx = global.x() - m_dragStart.x();
    int dy = global.y() - m_dragStart.y();
    if (IsHorizontalDock(dock->Align))
        dy = dy / rowSize * rowSize;
    else
        dx = dx / rowSize * rowSize;
    if ((dx != 0 || dy != 0) && TryMove(x() + dx, y() + dy)) {
        if (dx != 0)
            m_dragStart.setX(global.x());
        if (dy != 0)
            m_dragStart.setY(global.y());
    }
}

void TfrToolBar::GripUp()
{
    m_dragging = false;
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
}

void TfrToolBar::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Face());
    if (!Floating)
        Raised(p, rect().adjusted(0, 0, -1, -1));
}

void TfrToolBar::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton)
        GripDown(e->globalPosition().toPoint());
}

void TfrToolBar::mouseMoveEvent(QMouseEvent *e) { GripMove(e->globalPosition().toPoint()); }

void TfrToolBar::mouseReleaseEvent(QMouseEvent *) { GripUp(); }

// ---------------------------------------------------------------- float window

TfrFloatWindow::TfrFloatWindow(TfrToolBar *bar, QWidget *form)
    : QWidget(form, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), ToolBar(bar)
{
    setObjectName(bar->objectName() + QStringLiteral("Float"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setWindowTitle(bar->Caption);
}

void PaintToolWindowCaption(QPainter &p, const QWidget &w, int captionHeight)
{
    p.fillRect(w.rect(), Face());
    const QRect caption(0, 0, w.width(), captionHeight);
    p.fillRect(caption, QApplication::palette().color(QPalette::Highlight));
    p.setPen(QApplication::palette().color(QPalette::HighlightedText));
    QFont f = w.font();
    f.setPixelSize(10);
    f.setBold(true);
    p.setFont(f);
    p.drawText(caption.adjusted(3, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, w.windowTitle());
}

void TfrFloatWindow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    PaintToolWindowCaption(p, *this, CaptionHeight);
    p.setPen(Shadow());
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TfrFloatWindow::BeginMove()
{
    m_frame = QRect(QCursor::pos(), size());
    if (!Frame) {
        // The moving outline: a hollow window drawn over everything.
        Frame = new QWidget(this, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                                         | Qt::WindowTransparentForInput);
        Frame->setAttribute(Qt::WA_ShowWithoutActivating);
        Frame->setStyleSheet(QStringLiteral("background: transparent; border: 2px dotted black;"));
        Frame->setAttribute(Qt::WA_TranslucentBackground);
    }
    Frame->setGeometry(m_frame);
    Frame->show();
    m_moving = true;
    grabMouse();
}

void TfrFloatWindow::EndMove()
{
    m_moving = false;
    if (QWidget::mouseGrabber() == this)
        releaseMouse();
    if (Frame)
        Frame->hide();
}

void TfrFloatWindow::mousePressEvent(QMouseEvent *e)
{
    if (e->button() == Qt::LeftButton && e->position().y() < CaptionHeight)
        BeginMove();
}

void TfrFloatWindow::mouseMoveEvent(QMouseEvent *e)
{
    if (!m_moving)
        return;
    const QPoint global = e->globalPosition().toPoint();
    m_frame.moveTopLeft(global);
    if (ToolBar && ToolBar->Form) {
        const QPoint formPoint = ToolBar->Form->mapFromGlobal(global);
        TfrToolBar *bar = ToolBar;
        EndMove();
        if (bar->DockUnderPoint(formPoint))
            return; // this window is gone with the next event loop turn
        m_moving = true;
        grabMouse();
        if (Frame)
            Frame->show();
    }
    if (Frame)
        Frame->setGeometry(m_frame);
}

void TfrFloatWindow::mouseReleaseEvent(QMouseEvent *)
{
    if (!m_moving)
        return;
    EndMove();
    move(m_frame.topLeft());
    show();
}
