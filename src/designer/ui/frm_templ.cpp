// "Новый отчет": a new report from a template.
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "designer/wizard_layout.h"
#include "report/report.h"

#include <QtWidgets/QGroupBox>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPlainTextEdit>

QString ChooseTemplate(const QString &templateFolder, QWidget *parent)
{
    QDialog form(parent);
    form.setWindowTitle(QStringLiteral("Новый отчет"));
    auto *layout = new QHBoxLayout(&form);
    auto *LB1 = Named<QListWidget>(&form, "LB1");
    LB1->addItems(TemplateNames(templateFolder));
    auto *box = new QGroupBox(QStringLiteral("Описание"), &form);
    auto *bl = new QVBoxLayout(box);
    auto *image = PictureBox(box, "Image1", 100, 100);
    auto *memo = Named<QPlainTextEdit>(box, "Memo1");
    memo->setReadOnly(true);
    memo->setFrameStyle(QFrame::NoFrame);
    bl->addWidget(image, 0, Qt::AlignCenter);
    bl->addWidget(memo);
    auto *right = new QVBoxLayout;
    right->addWidget(box);
    right->addLayout(OkCancelRow(&form));
    layout->addWidget(LB1);
    layout->addLayout(right);
    auto *ok = form.findChild<QPushButton *>(QStringLiteral("OkButton"));
    ok->setEnabled(false);
    QObject::connect(LB1, &QListWidget::currentRowChanged, &form, [&](int row) {
        ok->setEnabled(row >= 0);
        if (row < 0)
            return;
        QStringList description;
        QByteArray picture;
        TfrReport reader;
        try {
            reader.LoadTemplateFile(TemplatePath(templateFolder, LB1->item(row)->text()), description, false, picture);
        } catch (const Exception &) {
            // A damaged template shows no description.
        }
        memo->setPlainText(description.join(u'\n'));
        ShowPicture(image, picture, false);
    });
    QObject::connect(LB1, &QListWidget::itemDoubleClicked, &form, [&] {
        if (ok->isEnabled())
            form.accept();
    });
    if (form.exec() != QDialog::Accepted || !LB1->currentItem())
        return {};
    return TemplatePath(templateFolder, LB1->currentItem()->text());
}

bool NewReportFromTemplate(TfrReport &report, const QString &templateFolder, QWidget *parent)
{
    const QString path = ChooseTemplate(templateFolder, parent);
    if (path.isEmpty())
        return false;
    QStringList description;
    QByteArray picture;
    report.LoadTemplateFile(path, description, true, picture);
    return true;
}
