#include "report/ui/frm_preview_search.h"

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QVBoxLayout>

TfrPreviewSearchForm::TfrPreviewSearchForm(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Поиск"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    auto *label = new QLabel(QStringLiteral("Искать &текст"), this);
    Edit1 = new QLineEdit(this);
    label->setBuddy(Edit1);

    auto *options = new QGroupBox(QStringLiteral("Опции поиска"), this);
    CB1 = new QCheckBox(QStringLiteral("Различать &регистр"), options);
    auto *optionsLayout = new QVBoxLayout(options);
    optionsLayout->addWidget(CB1);

    auto *from = new QGroupBox(QStringLiteral("Искать"), this);
    RB1 = new QRadioButton(QStringLiteral("С &начала"), from);
    RB2 = new QRadioButton(QStringLiteral("&Продолжить"), from);
    RB1->setChecked(true);
    auto *fromLayout = new QVBoxLayout(from);
    fromLayout->addWidget(RB1);
    fromLayout->addWidget(RB2);

    Button1 = new QPushButton(QStringLiteral("ОК"), this);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Отмена"), this);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    auto *groups = new QHBoxLayout;
    groups->addWidget(options);
    groups->addWidget(from);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(Edit1);
    layout->addLayout(groups);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrPreviewSearchForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Edit1->setFocus();
    Edit1->selectAll();
}
