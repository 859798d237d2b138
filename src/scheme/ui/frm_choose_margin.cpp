#include "scheme/ui/frm_choose_margin.h"

#include "platform/help.h"

#include <QtWidgets/QGridLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpinBox>

#include <limits>

namespace {
constexpr int HelpTopicMargins = 20;

QSpinBox *MarginEdit(QWidget *parent, const char *name)
{
    auto *edit = new QSpinBox(parent);
    edit->setObjectName(QString::fromLatin1(name));
    // The edits take any number; the shift refuses what the scheme cannot hold.
    edit->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    edit->setValue(10);
    return edit;
}
} // namespace

TfrmChooseMargin::TfrmChooseMargin(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmChooseMargin"));
    setWindowTitle(QStringLiteral("Установка отступов"));
    auto *grid = new QGridLayout(this);
    SpinEdit1 = MarginEdit(this, "SpinEdit1");
    SpinEdit2 = MarginEdit(this, "SpinEdit2");
    grid->addWidget(new QLabel(QStringLiteral("Отступ слева"), this), 0, 0);
    grid->addWidget(SpinEdit1, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Отступ сверху"), this), 1, 0);
    grid->addWidget(SpinEdit2, 1, 1);
    auto *buttons = new QHBoxLayout;
    Button1 = new QPushButton(QStringLiteral("Выровнять"), this);
    Button2 = new QPushButton(QStringLiteral("Прервать"), this);
    Button3 = new QPushButton(QStringLiteral("Помощь"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2->setObjectName(QStringLiteral("Button2"));
    Button3->setObjectName(QStringLiteral("Button3"));
    Button1->setDefault(true);
    for (QPushButton *b : {Button1, Button2, Button3})
        buttons->addWidget(b);
    grid->addLayout(buttons, 2, 0, 1, 2);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(Button3, &QPushButton::clicked, this, &TfrmChooseMargin::Button3Click);
}

void TfrmChooseMargin::Button3Click()
{
    ShowHelpTopic(HelpTopicMargins);
}

bool ChooseMargins(QWidget *owner, int &left, int &top)
{
    TfrmChooseMargin dialog(owner);
    dialog.SpinEdit1->setValue(10);
    dialog.SpinEdit2->setValue(10);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    left = dialog.SpinEdit1->value();
    top = dialog.SpinEdit2->value();
    return true;
}
