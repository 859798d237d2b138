// "Новый шаблон": the description and picture of a template being saved.
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "designer/wizard_layout.h"
#include "platform/ui/file_dialogs.h"
#include "report/report.h"
#include "report/report_objects.h"

#include <QtWidgets/QGroupBox>
#include <QtWidgets/QPlainTextEdit>

QString SaveReportAsTemplate(TfrReport &report, const QString &templateFolder, const QString &chosenFile,
                             QWidget *parent)
{
    QStringList description;
    QByteArray picture;
    if (!AskTemplateDescription(description, picture, parent))
        return {};
    const QString path = TemplateSavePath(templateFolder, chosenFile);
    report.SaveTemplateFile(path, description, picture);
    return path;
}

bool AskTemplateDescription(QStringList &description, QByteArray &picture, QWidget *parent)
{
    QDialog form(parent);
    form.setWindowTitle(QStringLiteral("Новый шаблон"));
    auto *layout = new QVBoxLayout(&form);
    auto *label = new QLabel(QStringLiteral("&Комментарий"), &form);
    auto *memo = Named<QPlainTextEdit>(&form, "Memo1");
    label->setBuddy(memo);
    auto *box = new QGroupBox(QStringLiteral("Картинка"), &form);
    auto *bl = new QHBoxLayout(box);
    auto *image = PictureBox(box, "Image1", 86, 87);
    auto *browse = Named<QPushButton>(box, "BrowseButton", QStringLiteral("&Обзор..."));
    bl->addWidget(image);
    bl->addWidget(browse);
    layout->addWidget(label);
    layout->addWidget(memo);
    layout->addWidget(box);
    layout->addLayout(OkCancelRow(&form));
    QByteArray chosen;
    QObject::connect(browse, &QPushButton::clicked, &form, [&] {
        const QString file = GetOpenFileName(&form, {}, {}, {{QStringLiteral("Рисунок ВМР (*.bmp)"), {"*.bmp"}}}, nullptr);
        TfrPicture read;
        if (file.isEmpty() || !ReadPictureFile(file, read))
            return;
        chosen = read.Data;
        ShowPicture(image, chosen, false);
    });
    memo->setFocus();
    if (form.exec() != QDialog::Accepted)
        return false;
    const QString text = memo->toPlainText();
    description = text.isEmpty() ? QStringList() : text.split(u'\n');
    picture = chosen;
    return true;
}
