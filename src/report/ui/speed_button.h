#pragma once
// The flat tool buttons of the preview and the designer: a push or toggle
// button with a glyph of up to four cells (up, disabled, pressed, held
// down) and an optional caption, mutually exclusive groups among the
// buttons of one parent, hot tracking, and a grey glyph until the mouse is
// over it. Also the toolbar children that follow their toolbar's direction.
#include <QtGui/QColor>
#include <QtGui/QImage>
#include <QtWidgets/QWidget>

#include <functional>

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Drawing states of a button.
enum TButtonState { bsUp = 0, bsDisabled = 1, bsDown = 2, bsExclusive = 3, bsGrayed = 4 };

// The image of a drawing state made from a glyph of numGlyphs cells; pixels
// of the transparent colour become transparent. Empty for states above 4.
QImage ButtonStateImage(const QImage &glyph, int numGlyphs, int state, QColor transparent);

// Where the glyph and the caption go in a client rectangle.
struct TButtonPlacement
{
    QPoint GlyphPos;
    QRect TextBounds;
};
TButtonPlacement PlaceGlyphAndCaption(const QRect &client, QSize glyph, QSize caption, TButtonLayout layout,
                                      int margin, int spacing);

class TfrSpeedButton : public QWidget
{
public:
    explicit TfrSpeedButton(QWidget *parent = nullptr);
    ~TfrSpeedButton() override;

    bool AllowAllUp() const { return m_allowAllUp; }
    void SetAllowAllUp(bool value);
    int GroupIndex() const { return m_groupIndex; }
    void SetGroupIndex(int value);
    bool Down() const { return m_down; }
    void SetDown(bool value);
    bool Flat() const { return m_flat; }
    void SetFlat(bool value);
    const QImage &Glyph() const { return m_glyph; }
    // Takes a copy; a width that is a whole multiple of the height under 5
    // gives that many cells, 5 or more gives one, any other keeps the count.
    void SetGlyph(const QImage &glyph);
    bool GrayedInactive() const { return m_grayedInactive; }
    void SetGrayedInactive(bool value);
    TButtonLayout Layout() const { return m_layout; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return m_margin; }
    // Values below -1 are refused.
    void SetMargin(int value);
    int NumGlyphs() const { return m_numGlyphs; }
    void SetNumGlyphs(int value);
    int Spacing() const { return m_spacing; }
    void SetSpacing(int value);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString &caption);
    // The drawing state between paints (up, disabled, pressed, held down).
    int State() const { return m_state; }
    // The mouse is over a flat button.
    bool MouseInControl() const { return m_mouseInControl; }
    // The colour the glyph's background has (the bottom-left pixel's).
    QColor TransparentColor() const { return m_transparent; }

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void()> OnMouseEnter;
    std::function<void()> OnMouseLeave;

    // Runs the click as a release over the button would.
    void Click();
    // The image of a drawing state as it is painted.
    QImage StateImage(int state) const;

    QSize sizeHint() const override { return {22, 22}; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool event(QEvent *event) override;

private:
    // Tells the other buttons of the group that this one went down.
    void UpdateExclusive();
    void GroupMessage(int groupIndex, TfrSpeedButton *sender);
    bool Inside(const QPoint &p) const;

    bool m_allowAllUp = false;
    int m_groupIndex = 0;
    bool m_down = false;
    bool m_flat = false;
    QImage m_glyph;
    QColor m_transparent{128, 128, 0};
    bool m_grayedInactive = true;
    TButtonLayout m_layout = blGlyphLeft;
    int m_margin = -1;
    int m_numGlyphs = 1;
    int m_spacing = 4;
    QString m_caption;
    int m_state = bsUp;
    bool m_mouseInControl = false;
    bool m_dragging = false;
};

// A flat button on a toolbar.
class TfrTBButton : public TfrSpeedButton
{
public:
    explicit TfrTBButton(QWidget *parent = nullptr);
};

// A groove between groups of toolbar buttons: horizontal on a vertical
// toolbar, vertical on a horizontal one.
class TfrTBSeparator : public QWidget
{
public:
    explicit TfrTBSeparator(QWidget *parent = nullptr);
    bool Vertical = false; // the toolbar runs top to bottom
    QSize sizeHint() const override { return {8, 8}; }

protected:
    void paintEvent(QPaintEvent *event) override;
};

// Hosts other controls on a toolbar.
class TfrTBPanel : public QWidget
{
public:
    explicit TfrTBPanel(QWidget *parent = nullptr);
    QSize sizeHint() const override { return {8, 8}; }
};
