#pragma once
// The panel on which one template page is drawn and edited with the mouse:
// it is as large as the page in design pixels, paints the page's objects
// over a white or dotted background, shows the selection marks, and turns
// mouse gestures into selecting, moving, resizing and inserting objects.
//
// The page is painted into an image through the canvas and the image is
// blitted on paint events. Marks, drag outlines, the rubber rectangle and
// the line and split previews are XOR drawings on that image: each is kept
// in a list while it is shown, so erasing draws exactly the same again.
#include "designer/design_rules.h"
#include "platform/canvas.h"
#include "platform/geometry.h"

#include <QtGui/QImage>
#include <QtWidgets/QWidget>

#include <memory>
#include <vector>

class TfrDesignerForm;
class TfrView;

class TfrDesignerPage : public QWidget
{
public:
    explicit TfrDesignerPage(TfrDesignerForm *form);

    // Sizes the panel to the page and places it in the scroll box.
    void PlacePage();
    // Back to idle: no drag, default cursor.
    void ResetState();
    // Repaints the objects up to index `upto` (10000 all) within `area`
    // (empty: the whole panel); objects above `upto` keep their pixels.
    void DrawPage(int upto = 10000, const std::vector<TRect> &area = {});
    // For every selected object: 0 draw it, 1 toggle its marks, 2 toggle its
    // drag outline. Drawing marks or outlines twice erases them.
    void DrawSelection(int mode);
    // SavedRect of each selected object, the bounds of a multiple selection.
    void ComputeSelectionBounds();

    // The mouse handlers; x and y are page pixels.
    void PageMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void PageMouseMove(Qt::KeyboardModifiers shift, int x, int y);
    void PageMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
    void PageDblClick();
    void MouseLeave();

    // The cursor decides what a press does (a handle, the split, an armed tool).
    TSurfaceCursor Cursor() const { return m_cursor; }
    void SetSurfaceCursor(TSurfaceCursor cursor);
    // The page as painted (marks and previews included).
    const QImage &Image() const { return m_image; }
    // The object buttons: a press arms the tool (Shift keeps it after an
    // insertion); the select button disarms it.
    void ConnectObjectButtons();

    bool Down = false;
    bool Moved = false;
    bool SkipMouseDown = false;
    bool RubberBand = false;
    bool PointerTool = true;
    bool FirstMove = false;
    int ResizeCorner = 0;
    int LastX = 0, LastY = 0;
    TSplitInfo Split;
    int RightBottom = -1;
    TPoint LeftTop{10000, 10000};

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void leaveEvent(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    // One XOR drawing on the page image.
    struct TXorShape
    {
        enum TKind { Mark, Outline, Rubber } Kind;
        enum TForm { Dot, Frame, Line, Block } Form;
        TRect R;
        TColor Color = clWhite;
        int Width = 1;
        friend bool operator==(const TXorShape &, const TXorShape &) = default;
    };
    void XorShapes(const std::vector<TXorShape> &shapes);
    void ShowShapes(std::vector<TXorShape> shapes);
    void EraseShapes(TXorShape::TKind kind);
    bool Shown(TXorShape::TKind kind) const;
    void DrawMarks();
    void DrawOutlines();
    void DrawRubberRect(const TRect &r);
    void DrawRubberLine(const TRect &r);
    void DrawSplitLine();
    void EraseRubber() { EraseShapes(TXorShape::Rubber); }

    TGrid Grid() const;
    // The tag of the down button of the objects toolbar (-1 select).
    int ToolTag() const;
    void DrawPageBackground();
    void RepaintSelection();
    void ShowRubberInReadOut();
    int HitTest(int x, int y) const;
    void InsertObject();
    void InsertLine();
    // Appends a new object as the only selected one, shows it and records
    // the insertion.
    void AddNewObject(std::unique_ptr<TfrView> view);

    TfrDesignerForm *m_form;
    QWidget *m_sheet;
    QImage m_image;
    // The background of the whole page: white, grid dots, margin frames.
    QImage m_background;
    std::vector<TXorShape> m_shapes;
    TSurfaceCursor m_cursor = TSurfaceCursor::Default;
};
