#include "designer/ui/dialog_helpers.h"

#include "platform/ui/qt_canvas.h"
#include "report/report_objects.h"

#include <QtGui/QPainter>
#include <QtGui/QPixmap>

void AddOkCancel(QDialog *dialog, QBoxLayout *row)
{
    auto *ok = new QPushButton(QStringLiteral("ОК"), dialog);
    ok->setObjectName(QStringLiteral("OkButton"));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Отмена"), dialog);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    row->addWidget(ok);
    row->addWidget(cancel);
}

void ShowColor(QPushButton *button, TColor color)
{
    if (color == clNone) {
        button->setIcon({});
        return;
    }
    QPixmap glyph(16, 16);
    glyph.fill(TColorToQColor(color));
    QPainter painter(&glyph);
    painter.setPen(button->palette().color(QPalette::Dark));
    painter.drawRect(0, 0, 15, 15);
    button->setIcon(glyph);
}

namespace {
// A sheet with a few text lines, as the page pictures and copy glyphs show.
void DrawSheet(QPainter &painter, const QRect &r)
{
    painter.setBrush(Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(r);
    painter.setPen(Qt::darkGray);
    for (int y = r.top() + 3; y < r.bottom() - 2; y += 3)
        painter.drawLine(r.left() + 2, y, r.right() - 2, y);
}
} // namespace

QPixmap Glyph(TGlyph glyph)
{
    const bool page = glyph == TGlyph::PortraitPage || glyph == TGlyph::LandscapePage;
    QPixmap pixmap(page ? QSize(40, 40) : QSize(16, 16));
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    switch (glyph) {
    case TGlyph::Copy:
        DrawSheet(painter, {1, 1, 9, 11});
        DrawSheet(painter, {5, 4, 9, 11});
        break;
    case TGlyph::Paste:
        painter.setBrush(QColor(0xC0, 0x90, 0x50));
        painter.setPen(Qt::black);
        painter.drawRect(1, 2, 11, 13);
        painter.setBrush(Qt::gray);
        painter.drawRect(4, 0, 5, 3);
        DrawSheet(painter, {6, 6, 9, 9});
        break;
    case TGlyph::PortraitPage:
        DrawSheet(painter, {9, 2, 22, 35});
        break;
    case TGlyph::LandscapePage:
        DrawSheet(painter, {2, 9, 35, 22});
        break;
    }
    return pixmap;
}
