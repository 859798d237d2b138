#pragma once
// The panel on which one template page is drawn and edited with the mouse:
// it is as large as the page in design pixels, paints the page's objects
// over a white or dotted background, shows the selection marks, and turns
// mouse gestures into selecting, moving, resizing and inserting objects.
#include "platform/geometry.h"

#include <QtWidgets/QWidget>

#include <vector>

class TfrDesignerForm;

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

    bool Down = false;
    bool Moved = false;
    bool SkipMouseDown = false;
    bool RubberBand = false;
    bool PointerTool = true;
    bool FirstMove = false;
    int ResizeCorner = 0;
    int LastX = 0, LastY = 0;
    int RightBottom = -1;
    TPoint LeftTop{10000, 10000};

protected:
    void paintEvent(QPaintEvent *e) override;

private:
    TfrDesignerForm *m_form;
};
