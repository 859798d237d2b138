#pragma once
// The designer's own docks and toolbars: a toolbar is dragged by its grip
// between the rows of a dock, from dock to dock, or out into a small
// stay-on-top window of its own with a caption strip, and back. Geometry is
// decided by designer/dock_geometry.h; these widgets only carry it out.
#include "designer/dock_geometry.h"

#include <QtCore/QPointer>
#include <QtWidgets/QWidget>

class TfrToolBar;
class TfrFloatWindow;

class TfrDock : public QWidget
{
public:
    TfrDock(QWidget *form, const QString &name, TDockAlign align);
    TDockAlign Align;
    int RowSize = 26;
    std::vector<TfrToolBar *> ToolBars() const;
    TDockGeometry Geometry() const;
    void ApplyGeometry(const TDockGeometry &g);
    void ArrangeRows();
    // Called when the thickness changed, so the form lays itself out again.
    std::function<void()> OnResized;

protected:
    void paintEvent(QPaintEvent *) override;
};

class TfrDragBox : public QWidget
{
public:
    explicit TfrDragBox(TfrToolBar *bar);

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    TfrToolBar *m_bar;
};

class TfrToolBar : public QWidget
{
public:
    // form: the window whose docks the toolbar may join.
    TfrToolBar(QWidget *form, const QString &name, const QString &caption);

    TfrDragBox *Grip;
    QPointer<TfrFloatWindow> FloatForm;
    bool Floating = false;
    TfrOrientation Orientation = TfrOrientation::toAny;
    bool CanFloat = true;
    QString Caption;
    QWidget *Form;

    // Appends a control with its length along the toolbar.
    void AddControl(QWidget *w, int length);
    std::vector<QWidget *> Controls() const { return m_controls; }
    TfrDock *ParentDock() const;
    bool IsShown() const;
    void SetShown(bool shown);
    void PlaceInDock(TfrDock *dock, int x, int y);
    void PlaceAtDockEdge(TfrDock *dock);
    void FloatAtPos(int x, int y);
    // Floats at the cursor, the new window following the mouse.
    void TearOff();
    bool TryMove(int x, int y);
    bool DockUnderPoint(QPoint formPoint);
    void MatchOrientation();
    void FitLength();

    void GripDown(QPoint global);
    void GripMove(QPoint global);
    void GripUp();

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    void LayoutControls();
    bool Horizontal() const;
    std::vector<QWidget *> m_controls;
    std::vector<int> m_lengths;
    bool m_dragging = false;
    QPoint m_dragStart;
};

class QPainter;

// Paints a frameless tool window's face and its caption strip with its title.
void PaintToolWindowCaption(QPainter &p, const QWidget &w, int captionHeight);

// The window of a floating toolbar: frameless and on top, with a caption
// strip that moves it (and docks it when let go over a dock) without any
// window manager's help.
class TfrFloatWindow : public QWidget
{
public:
    TfrFloatWindow(TfrToolBar *bar, QWidget *form);
    TfrToolBar *ToolBar;
    static constexpr int CaptionHeight = 14;
    void BeginMove();
    // The outline shown while moving.
    QWidget *Frame = nullptr;

protected:
    void paintEvent(QPaintEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    void EndMove();
    bool m_moving = false;
    QRect m_frame;
};
