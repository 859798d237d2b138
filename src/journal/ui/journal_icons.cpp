#include "journal/ui/journal_icons.h"

#include <QtGui/QPainter>
#include <QtGui/QPainterPath>
#include <QtGui/QPixmap>

namespace {

constexpr int Size = 16;

// A sheet with its top right corner folded; lines of writing when written on.
void DrawSheet(QPainter &p, bool written)
{
    QPainterPath sheet;
    sheet.moveTo(3, 1);
    sheet.lineTo(10, 1);
    sheet.lineTo(13, 4);
    sheet.lineTo(13, 15);
    sheet.lineTo(3, 15);
    sheet.closeSubpath();
    p.setPen(QColor(90, 90, 90));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.drawLine(10, 1, 10, 4);
    p.drawLine(10, 4, 13, 4);
    if (written) {
        p.setPen(QColor(40, 70, 160));
        for (int y = 6; y <= 12; y += 2)
            p.drawLine(5, y, 11, y);
    }
}

// A bound book, closed or open.
void DrawBook(QPainter &p, bool open)
{
    const QColor cover(150, 40, 30);
    p.setPen(cover.darker(140));
    if (!open) {
        p.setBrush(cover);
        p.drawRect(3, 1, 10, 14);
        p.setPen(QColor(240, 230, 200));
        p.drawLine(5, 1, 5, 14);
        p.drawLine(7, 5, 11, 5);
        return;
    }
    p.setBrush(QColor(250, 245, 225));
    p.drawRect(1, 3, 6, 10);
    p.drawRect(8, 3, 6, 10);
    p.setPen(QColor(130, 130, 130));
    for (int y = 5; y <= 11; y += 2) {
        p.drawLine(2, y, 6, y);
        p.drawLine(9, y, 13, y);
    }
    p.setPen(cover);
    p.drawLine(7, 2, 7, 14);
}

// A tab divider of a journal: a coloured index card.
void DrawRubric(QPainter &p)
{
    p.setPen(QColor(120, 90, 20));
    p.setBrush(QColor(250, 210, 90));
    p.drawRect(1, 4, 13, 10);
    p.setBrush(QColor(235, 180, 60));
    p.drawRect(1, 2, 5, 2);
    p.setPen(QColor(120, 90, 20));
    p.drawLine(3, 8, 11, 8);
    p.drawLine(3, 11, 9, 11);
}

QIcon Draw(TJournalImage image)
{
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    switch (image) {
    case imgBlankSheet: DrawSheet(p, false); break;
    case imgRecord: DrawSheet(p, true); break;
    case imgJournal: DrawBook(p, false); break;
    case imgJournalOpen: DrawBook(p, true); break;
    case imgRubric: DrawRubric(p); break;
    }
    p.end();
    return QIcon(pixmap);
}

} // namespace

QIcon JournalIcon(TJournalImage image)
{
    return Draw(image);
}
