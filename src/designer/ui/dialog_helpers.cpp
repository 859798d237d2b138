#include "designer/ui/dialog_helpers.h"

#include "designer/ui/frm_designer.h"
#include "platform/metafile.h"
#include "platform/numbers.h"
#include "platform/prompt.h"
#include "platform/ui/metafile_player.h"
#include "platform/ui/qt_canvas.h"
#include "report/report.h"
#include "report/report_objects.h"

#include <QtCore/QBuffer>
#include <QtCore/QFile>
#include <QtGui/QImage>
#include <QtGui/QPainter>
#include <QtGui/QPixmap>
#include <QtWidgets/QLabel>

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

QHBoxLayout *OkCancelRow(QDialog *dialog)
{
    auto *row = new QHBoxLayout;
    row->addStretch();
    AddOkCancel(dialog, row);
    return row;
}

void RecordUndoModify()
{
    // A second designer opened from the preview is the one being edited;
    // its steps must not land in the hidden first one.
    if (CurrentDesignerForm && CurrentDesignerForm->isVisible())
        CurrentDesignerForm->RecordUndoModify();
    else if (TfrReportDesigner *designer = ReportDesigner())
        designer->RecordUndoModify();
}

void ShowIntegerError(const QString &text)
{
    try {
        StrToInt(text);
    } catch (const EConvertError &e) {
        ShowMessageBox(e.Message(), QStringLiteral("Ошибка"), mb::Ok | mb::IconError);
    }
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

// Metafiles are drawn at their own size, held to what a dialog can show.
constexpr int MaxShownSide = 2048;

// The size a metafile is drawn at in a box: its own, or the box's when
// stretched or when the file does not tell.
QSize MetafileShownSize(const QByteArray &bytes, const QSize &box, bool stretched)
{
    if (stretched)
        return box;
    const std::optional<TMetafileFrame> frame = ReadMetafileFrame(bytes);
    QSize size = frame ? QSize(frame->Pixels.cx, frame->Pixels.cy) : QSize();
    if (size.isEmpty())
        return box;
    if (size.width() > MaxShownSide || size.height() > MaxShownSide)
        size.scale(MaxShownSide, MaxShownSide, Qt::KeepAspectRatio);
    return size;
}

QPixmap PictureOf(const QByteArray &bytes, const QSize &box, bool stretched)
{
    if (MetafileType(bytes) != TMetafileType::None)
        return QPixmap::fromImage(MetafileImage(bytes, MetafileShownSize(bytes, box, stretched)));
    QPixmap pixmap;
    pixmap.loadFromData(bytes);
    if (stretched && !pixmap.isNull())
        pixmap = pixmap.scaled(box, Qt::IgnoreAspectRatio);
    return pixmap;
}

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

void ShowPicture(QLabel *label, const QByteArray &bytes, bool stretched)
{
    const QPixmap pixmap = PictureOf(bytes, label->size(), stretched);
    if (pixmap.isNull()) {
        label->setPixmap({});
        // Bytes that draw nothing: the picture object's placeholder.
        label->setText(bytes.isEmpty() ? QString() : QStringLiteral("[Рисунок]"));
        return;
    }
    label->setPixmap(pixmap);
}

QLabel *PictureBox(QWidget *parent, const char *name, int width, int height)
{
    auto *label = Named<QLabel>(parent, name);
    label->setFixedSize(width, height);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Sunken | QFrame::StyledPanel);
    return label;
}

namespace {

// A raster picture the template cannot hold as it is (PNG, JPEG, GIF...),
// as a 24-bit bitmap file: the form in which templates keep pictures, which
// every reader of templates draws. Transparent parts come out white, as on
// the sheet.
QByteArray AsBitmapFile(const QImage &image)
{
    QImage flat(image.size(), QImage::Format_RGB888);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return flat.save(&buffer, "BMP") ? bytes : QByteArray();
}

} // namespace

// A picture file's bytes and kind, told by its content rather than its name;
// the user is told when it cannot be read.
bool ReadPictureFile(const QString &fileName, TfrPicture &picture)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        ShowMessageBox(QStringLiteral("Не удается открыть файл \"%1\".").arg(fileName), QStringLiteral("Ошибка"),
                       mb::Ok | mb::IconError);
        return false;
    }
    const QByteArray bytes = file.readAll();
    TfrPicture read;
    read.Data = bytes;
    if (MetafileType(bytes) != TMetafileType::None) {
        // Kept as it is: every device draws it from these bytes.
        read.Kind = TfrPicture::gkMetafile;
    } else {
        const QImage image = QImage::fromData(bytes);
        if (!image.isNull() && bytes.startsWith("BM")) {
            read.Kind = TfrPicture::gkBitmap;
        } else if (!image.isNull() && bytes.startsWith(QByteArray("\0\0\1\0", 4))) {
            read.Kind = TfrPicture::gkIcon;
        } else if (!image.isNull()) {
            read.Kind = TfrPicture::gkBitmap;
            read.Data = AsBitmapFile(image);
        }
        if (read.Data.isEmpty() || read.Kind == TfrPicture::gkNone) {
            ShowMessageBox(QStringLiteral("Неверный формат рисунка: \"%1\".\rРисунок загружается из файлов BMP, ICO, WMF и "
                                          "EMF, а также PNG, JPEG и GIF (они сохраняются в отчете как BMP).")
                               .arg(fileName),
                           QStringLiteral("Ошибка"), mb::Ok | mb::IconError);
            return false;
        }
    }
    picture = read;
    return true;
}
