// The about box.
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"

void ShowAboutBox(QWidget *parent)
{
    QDialog form(parent);
    form.setWindowTitle(QStringLiteral("О программе"));
    auto *layout = new QVBoxLayout(&form);
    auto *title = new QLabel(QStringLiteral("Kvadrep"), &form);
    QFont font = title->font();
    font.setPointSize(font.pointSize() * 2);
    font.setBold(true);
    title->setFont(font);
    layout->addWidget(title, 0, Qt::AlignCenter);
    layout->addWidget(new QLabel(QStringLiteral("Version 2.3"), &form), 0, Qt::AlignCenter);
    auto *ok = new QPushButton(QStringLiteral("OK"), &form);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &form, &QDialog::accept);
    layout->addWidget(ok, 0, Qt::AlignCenter);
    form.setFixedSize(form.sizeHint());
    form.exec();
}
