#pragma once
// The scheme's paint box: keeps the drawn scheme in an image that the main
// window's Redraw renders and the paint event only copies to the screen, so
// the mouse tools' Xor feedback can draw into the same picture. The mouse
// tools install their handlers here.
#include <QtGui/QImage>
#include <QtWidgets/QWidget>

#include <functional>

class QMouseEvent;

class TSchemePaintBox : public QWidget
{
    Q_OBJECT

public:
    explicit TSchemePaintBox(QWidget *parent = nullptr);

    // The image the scheme is drawn on, always the size of the box.
    QImage &Image();

    // The cursor of one of the application's cursor numbers (0 the system's
    // default, 11 to 18 the edge arrows, the others the tools').
    void SetCursorNumber(int number);
    int CursorNumber() const { return m_cursorNumber; }

    // Handlers of the current tool; any may be empty.
    std::function<void(QMouseEvent *)> MouseDown;
    std::function<void(QMouseEvent *)> MouseMove;
    std::function<void(QMouseEvent *)> MouseUp;
    // Called when the box got a new size; the owner redraws.
    std::function<void()> Resized;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage m_image;
    int m_cursorNumber = -1;
};

// The Qt cursor that stands for an application cursor number.
Qt::CursorShape CursorShapeOf(int number);
