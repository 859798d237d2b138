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
