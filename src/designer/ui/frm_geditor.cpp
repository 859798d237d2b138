// The picture of a picture object.
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "platform/ui/file_dialogs.h"
#include "report/report_objects.h"

#include <QtWidgets/QCheckBox>

bool EditPicture(TfrPictureView &view, QWidget *parent)
{
    QDialog form(parent);
    form.setWindowTitle(QStringLiteral("Рисунок"));
    auto *layout = new QHBoxLayout(&form);
    auto *image = PictureBox(&form, "Image1", 237, 233);
    auto *side = new QVBoxLayout;
    auto *stretch = Named<QCheckBox>(&form, "StretchCB", QStringLiteral("&Растянуть"));
    auto *load = Named<QPushButton>(&form, "LoadButton", QStringLiteral("&Загрузить"));
    auto *clear = Named<QPushButton>(&form, "ClearButton", QStringLiteral("&Очистить"));
    stretch->setChecked(true);
    side->addWidget(stretch);
    side->addWidget(load);
    side->addWidget(clear);
    side->addStretch();
    auto *buttons = new QVBoxLayout;
    auto *okRow = new QHBoxLayout;
    AddOkCancel(&form, okRow);
    buttons->addLayout(okRow);
    side->addLayout(buttons);
    layout->addWidget(image);
    layout->addLayout(side);
    TfrPicture picture = view.Picture;
    const auto show = [&] { ShowPicture(image, picture.Data, stretch->isChecked()); };
    show();
    QObject::connect(stretch, &QCheckBox::toggled, &form, show);
    QObject::connect(clear, &QPushButton::clicked, &form, [&] {
        picture.Clear();
        show();
    });
    QObject::connect(load, &QPushButton::clicked, &form, [&] {
        const QString file = GetOpenFileName(
            &form, {}, {},
            {{QStringLiteral("Графические файлы (*.bmp *.ico *.wmf *.emf)"), {"*.bmp", "*.ico", "*.wmf", "*.emf"}},
             {QStringLiteral("Все файлы"), {"*.*"}}},
            nullptr);
        if (!file.isEmpty() && ReadPictureFile(file, picture))
            show();
    });
    if (form.exec() != QDialog::Accepted)
        return false;
    RecordUndoModify();
    view.Picture = picture;
    return true;
}
