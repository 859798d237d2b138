#include "scheme/ui/scheme_paint_box.h"

#include "platform/guard.h"

#include <QtGui/QMouseEvent>
#include <QtGui/QPainter>

TSchemePaintBox::TSchemePaintBox(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("img"));
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    SetCursorNumber(0);
}

QImage &TSchemePaintBox::Image()
{
    const QSize size = this->size().expandedTo(QSize(1, 1));
    if (m_image.size() != size) {
        m_image = QImage(size, QImage::Format_RGB32);
        m_image.fill(Qt::white);
    }
    return m_image;
}

void TSchemePaintBox::SetCursorNumber(int number)
{
    if (number == m_cursorNumber)
        return;
    m_cursorNumber = number;
    setCursor(CursorShapeOf(number));
}

void TSchemePaintBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.drawImage(0, 0, Image());
}

void TSchemePaintBox::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Image();
    if (Resized)
        GuardedCall(Resized);
}

void TSchemePaintBox::mousePressEvent(QMouseEvent *event)
{
    if (MouseDown)
        GuardedCall([&] { MouseDown(event); });
}

void TSchemePaintBox::mouseMoveEvent(QMouseEvent *event)
{
    if (MouseMove)
        GuardedCall([&] { MouseMove(event); });
}

void TSchemePaintBox::mouseReleaseEvent(QMouseEvent *event)
{
    if (MouseUp)
        GuardedCall([&] { MouseUp(event); });
}

Qt::CursorShape CursorShapeOf(int number)
{
    switch (number) {
    case 11: case 12: return Qt::SizeHorCursor;  // right, left edge
    case 13: case 14: return Qt::SizeVerCursor;  // top, bottom edge
    case 15: case 17: return Qt::SizeBDiagCursor;  // top-right, bottom-left corner
    case 16: case 18: return Qt::SizeFDiagCursor;  // top-left, bottom-right corner
    case 3: case 4: case 19: return Qt::PointingHandCursor;  // zoom tools, the map
    case 8: case 10: case 9: case 20: case 25: case 26: return Qt::CrossCursor;
    case -2: return Qt::ArrowCursor;
    default: return Qt::ArrowCursor;
    }
}
