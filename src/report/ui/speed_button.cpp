#include "report/ui/speed_button.h"

#include <QtGui/QKeySequence>
#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>
#include <QtGui/QShortcutEvent>

namespace {

const QColor ButtonFace(192, 192, 192);
const QColor ButtonShadow(128, 128, 128);
const QColor ButtonHighlight(255, 255, 255);

QImage Cell(const QImage &glyph, int numGlyphs, int index)
{
    const int width = glyph.width() / numGlyphs;
    return glyph.copy(index < numGlyphs ? index * width : 0, 0, width, glyph.height()).convertToFormat(QImage::Format_ARGB32);
}

// Paints colour wherever the mask is set (a one-bit stencil).
void Stamp(QImage &target, const QImage &mask, QColor color, int dx, int dy)
{
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            if (mask.pixelColor(x, y).alpha() && x + dx < target.width() && y + dy < target.height())
                target.setPixelColor(x + dx, y + dy, color);
}

// Drawn glyph texts and frames share the classic three-colour look.
void Frame(QPainter &p, const QRect &r, bool raised)
{
    p.setPen(raised ? ButtonHighlight : ButtonShadow);
    p.drawLine(r.left(), r.bottom(), r.left(), r.top());
    p.drawLine(r.left(), r.top(), r.right(), r.top());
    p.setPen(raised ? ButtonShadow : ButtonHighlight);
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    p.drawLine(r.right(), r.bottom(), r.left(), r.bottom());
}

} // namespace

QImage ButtonStateImage(const QImage &glyph, int numGlyphs, int state, QColor transparent)
{
    if (glyph.isNull() || state > bsGrayed || numGlyphs < 1)
        return {};
    if (state == bsDown && numGlyphs < 3)
        state = bsUp;
    const QRgb key = transparent.rgb();
    QImage cell = Cell(glyph, numGlyphs, state);
    const auto clearKey = [key](QImage &image) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) == (key & 0xFFFFFF))
                    image.setPixel(x, y, 0);
    };
    switch (state) {
    case bsUp:
    case bsDown:
    case bsExclusive:
        clearKey(cell);
        return cell;
    case bsDisabled: {
        QImage out(cell.size(), QImage::Format_ARGB32);
        out.fill(Qt::transparent);
        if (numGlyphs < 2) {
            // An embossed outline of everything that is not background.
            QImage mask = cell;
            clearKey(mask);
            Stamp(out, mask, ButtonHighlight, 1, 1);
            Stamp(out, mask, ButtonShadow, 0, 0);
        } else {
            for (int y = 0; y < cell.height(); ++y)
                for (int x = 0; x < cell.width(); ++x) {
                    const QRgb c = cell.pixel(x, y) & 0xFFFFFF;
                    if (c == 0xFFFFFF)
                        out.setPixelColor(x, y, ButtonHighlight);
                    else if (c == 0x808080)
                        out.setPixelColor(x, y, ButtonShadow);
                    else if (c != (key & 0xFFFFFF))
                        out.setPixel(x, y, cell.pixel(x, y));
                }
        }
        return out;
    }
    default: { // grayed
        for (int y = 0; y < cell.height(); ++y)
            for (int x = 0; x < cell.width(); ++x) {
                const QRgb c = cell.pixel(x, y);
                if ((c & 0xFFFFFF) == (key & 0xFFFFFF) || (c & 0xFFFFFF) == (ButtonFace.rgb() & 0xFFFFFF)) {
                    cell.setPixel(x, y, 0);
                    continue;
                }
                const int level = (77 * qRed(c) + 150 * qGreen(c) + 29 * qBlue(c)) >> 8;
                cell.setPixel(x, y, qRgb(level, level, level));
            }
        return cell;
    }
    }
}

TButtonPlacement PlaceGlyphAndCaption(const QRect &client, QSize glyph, QSize caption, TButtonLayout layout,
                                      int margin, int spacing)
{
    // Nothing to show takes no room at all.
    if (caption.isEmpty())
        caption = QSize(0, 0);
    if (glyph.isEmpty())
        glyph = QSize(0, 0);
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
    TButtonPlacement place;
    QPoint g, t;
    // Centred across the layout's axis; the division truncates toward zero.
    if (horizontal) {
        g.setY((client.height() - glyph.height() + 1) / 2);
        t.setY((client.height() - caption.height() + 1) / 2);
    } else {
        g.setX((client.width() - glyph.width() + 1) / 2);
        t.setX((client.width() - caption.width() + 1) / 2);
    }
    if (caption.isEmpty() || glyph.isEmpty())
        spacing = 0;
    const int clientAlong = horizontal ? client.width() : client.height();
    const int glyphAlong = horizontal ? glyph.width() : glyph.height();
    const int captionAlong = horizontal ? caption.width() : caption.height();
    if (margin == -1) {
        if (spacing == -1) {
            margin = (clientAlong - glyphAlong - captionAlong) / 3;
            spacing = margin;
        } else {
            margin = (clientAlong - glyphAlong - spacing - captionAlong + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (clientAlong - margin - glyphAlong - captionAlong) / 2;
    }
    int glyphAt = 0, captionAt = 0;
    if (layout == blGlyphLeft || layout == blGlyphTop) {
        glyphAt = margin;
        captionAt = glyphAt + glyphAlong + spacing;
    } else {
        glyphAt = clientAlong - margin - glyphAlong;
        captionAt = glyphAt - spacing - captionAlong;
    }
    if (horizontal) {
        g.setX(glyphAt);
        t.setX(captionAt);
    } else {
        g.setY(glyphAt);
        t.setY(captionAt);
    }
    place.GlyphPos = g + client.topLeft();
    place.TextBounds = QRect(t + client.topLeft(), caption);
    return place;
}

// ---------------------------------------------------------------- button

TfrSpeedButton::TfrSpeedButton(QWidget *parent) : QWidget(parent)
{
    resize(22, 22);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TfrSpeedButton::~TfrSpeedButton() = default;

void TfrSpeedButton::SetAllowAllUp(bool value)
{
    if (m_allowAllUp == value)
        return;
    m_allowAllUp = value;
    UpdateExclusive();
}

void TfrSpeedButton::SetGroupIndex(int value)
{
    if (m_groupIndex == value)
        return;
    m_groupIndex = value;
    UpdateExclusive();
}

void TfrSpeedButton::SetDown(bool value)
{
    if (m_groupIndex == 0)
        value = false;
    if (value == m_down || (m_down && !m_allowAllUp))
        return;
    m_down = value;
    m_state = value ? bsExclusive : bsUp;
    update();
    if (value)
        UpdateExclusive();
}

void TfrSpeedButton::UpdateExclusive()
{
    if (m_groupIndex == 0 || !parentWidget())
        return;
    // Every control of the parent hears it; buttons of the group answer. The
    // button class has no meta-object of its own, so a typed child search
    // would hand back every widget: test each child for real.
    for (QObject *child : parentWidget()->children())
        if (auto *other = dynamic_cast<TfrSpeedButton *>(child); other && other != this)
            other->GroupMessage(m_groupIndex, this);
}

void TfrSpeedButton::GroupMessage(int groupIndex, TfrSpeedButton *sender)
{
    if (groupIndex != m_groupIndex)
        return;
    if (sender->m_down && m_down) {
        m_down = false;
        m_state = bsUp;
        update();
    }
    m_allowAllUp = sender->m_allowAllUp;
}

void TfrSpeedButton::SetFlat(bool value)
{
    if (m_flat != value) {
        m_flat = value;
        update();
    }
}

void TfrSpeedButton::SetGlyph(const QImage &glyph)
{
    m_glyph = glyph;
    if (!glyph.isNull()) {
        m_transparent = glyph.pixelColor(0, glyph.height() - 1);
        if (glyph.height() > 0 && glyph.width() % glyph.height() == 0) {
            const int cells = glyph.width() / glyph.height();
            m_numGlyphs = cells < 5 ? cells : 1;
        }
    }
    update();
}

void TfrSpeedButton::SetGrayedInactive(bool value)
{
    if (m_grayedInactive != value) {
        m_grayedInactive = value;
        update();
    }
}

void TfrSpeedButton::SetLayout(TButtonLayout value)
{
    if (m_layout != value) {
        m_layout = value;
        update();
    }
}

void TfrSpeedButton::SetMargin(int value)
{
    if (value >= -1 && value != m_margin) {
        m_margin = value;
        update();
    }
}

void TfrSpeedButton::SetNumGlyphs(int value)
{
    value = std::min(value, 4);
    if (value != m_numGlyphs && value > 0) {
        m_numGlyphs = value;
        update();
    }
}

void TfrSpeedButton::SetSpacing(int value)
{
    if (value != m_spacing) {
        m_spacing = value;
        update();
    }
}

void TfrSpeedButton::SetCaption(const QString &caption)
{
    m_caption = caption;
    releaseShortcut(0);
    const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
    if (!mnemonic.isEmpty())
        grabShortcut(mnemonic);
    update();
}

QImage TfrSpeedButton::StateImage(int state) const { return ButtonStateImage(m_glyph, m_numGlyphs, state, m_transparent); }

void TfrSpeedButton::Click()
{
    if (OnClick)
        OnClick();
}

bool TfrSpeedButton::Inside(const QPoint &p) const
{
    return p.x() >= 0 && p.x() < width() && p.y() >= 0 && p.y() <= height();
}

void TfrSpeedButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int remembered = m_state;
    int state = m_state;
    if (m_grayedInactive && isEnabled() && m_flat && !m_mouseInControl)
        state = bsGrayed;
    if (!isEnabled()) {
        state = bsDisabled;
        m_dragging = false;
    } else if (state == bsDisabled) {
        state = m_down && m_groupIndex ? bsExclusive : bsUp;
    }
    QRect content = rect();
    p.fillRect(rect(), ButtonFace);
    if (m_flat) {
        if (state == bsDown)
            content.translate(1, 1);
    } else {
        const bool pressed = state == bsDown || state == bsExclusive;
        Frame(p, rect().adjusted(0, 0, -1, -1), !pressed);
        content = rect().adjusted(1, 1, -1, -1);
        if (pressed)
            content.translate(1, 1);
    }
    const bool checker = m_flat ? isEnabled() && !m_mouseInControl && (state == bsExclusive || (state == bsGrayed && remembered == bsExclusive))
                                : state == bsExclusive;
    if (checker) {
        QImage pattern(8, 8, QImage::Format_RGB32);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                pattern.setPixelColor(x, y, (x % 2) == (y % 2) ? ButtonHighlight : ButtonFace);
        p.fillRect(content, QBrush(pattern));
    }
    const QImage image = StateImage(state);
    const QSize textSize = m_caption.isEmpty() ? QSize() : fontMetrics().size(Qt::TextShowMnemonic, m_caption);
    const TButtonPlacement place = PlaceGlyphAndCaption(content, image.size(), textSize, m_layout, m_margin, m_spacing);
    if (!image.isNull())
        p.drawImage(place.GlyphPos, image);
    if (!m_caption.isEmpty()) {
        if (state == bsDisabled) {
            p.setPen(Qt::white);
            p.drawText(place.TextBounds.translated(1, 1), Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, m_caption);
            p.setPen(ButtonShadow);
            p.drawText(place.TextBounds, Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, m_caption);
        } else {
            p.setPen(Qt::black);
            p.drawText(place.TextBounds, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic, m_caption);
        }
    }
    if (m_flat && isEnabled() && (m_mouseInControl || remembered == bsExclusive))
        Frame(p, rect().adjusted(0, 0, -1, -1), remembered == bsUp || remembered == bsDisabled || remembered == bsGrayed);
}

void TfrSpeedButton::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !isEnabled())
        return;
    if (!m_down) {
        m_state = bsDown;
        repaint();
    }
    m_dragging = true;
}

void TfrSpeedButton::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging)
        return;
    int state = Inside(event->position().toPoint()) ? bsDown : bsUp;
    if (m_down)
        state = bsExclusive;
    if (state != m_state) {
        m_state = state;
        update();
    }
}

void TfrSpeedButton::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_dragging)
        return;
    m_dragging = false;
    const bool inside = Inside(event->position().toPoint());
    if (m_groupIndex == 0) {
        m_state = bsUp;
        m_mouseInControl = false;
    } else if (inside) {
        SetDown(!m_down);
        if (m_down)
            m_state = bsExclusive;
        else
            m_state = bsUp;
    } else if (m_down) {
        m_state = bsExclusive;
    }
    m_mouseInControl = m_flat && isEnabled() && inside;
    update();
    if (inside)
        Click();
}

void TfrSpeedButton::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (m_down && OnDblClick)
        OnDblClick();
    mousePressEvent(event);
}

void TfrSpeedButton::enterEvent(QEnterEvent *)
{
    if (m_flat && isEnabled() && !m_mouseInControl) {
        if (OnMouseEnter)
            OnMouseEnter();
        m_mouseInControl = true;
        update();
    }
}

void TfrSpeedButton::leaveEvent(QEvent *)
{
    if (m_flat && isEnabled() && m_mouseInControl) {
        if (OnMouseLeave)
            OnMouseLeave();
        m_mouseInControl = false;
        update();
    }
}

void TfrSpeedButton::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::EnabledChange) {
        m_mouseInControl = isEnabled() && m_flat && underMouse();
        update();
    } else if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) {
        update();
    }
    QWidget::changeEvent(event);
}

bool TfrSpeedButton::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut) {
        if (isEnabled())
            Click();
        return true;
    }
    return QWidget::event(event);
}

// ---------------------------------------------------------------- toolbar

TfrTBButton::TfrTBButton(QWidget *parent) : TfrSpeedButton(parent) { SetFlat(true); }

TfrTBSeparator::TfrTBSeparator(QWidget *parent) : QWidget(parent) { resize(8, 8); }

void TfrTBSeparator::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), ButtonFace);
    if (Vertical) {
        p.setPen(ButtonShadow);
        p.drawLine(2, height() / 2 - 1, width() - 2, height() / 2 - 1);
        p.setPen(ButtonHighlight);
        p.drawLine(2, height() / 2, width() - 2, height() / 2);
    } else {
        p.setPen(ButtonShadow);
        p.drawLine(width() / 2 - 1, 2, width() / 2 - 1, height() - 2);
        p.setPen(ButtonHighlight);
        p.drawLine(width() / 2, 2, width() / 2, height() - 2);
    }
}

TfrTBPanel::TfrTBPanel(QWidget *parent) : QWidget(parent)
{
    resize(8, 8);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ButtonFace);
    setPalette(palette);
}
