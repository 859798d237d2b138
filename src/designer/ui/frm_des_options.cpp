// The designer options.
#include "designer/dialog_rules.h"
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"

#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QTabWidget>

namespace {
QRadioButton *Radio(QWidget *box, QButtonGroup *group, const char *name, const QString &text, int id)
{
    auto *b = Named<QRadioButton>(box, name, text);
    box->layout()->addWidget(b);
    group->addButton(b, id);
    return b;
}
} // namespace

bool EditDesignerOptions(TDesignerOptions &options, QWidget *parent)
{
    QDialog form(parent);
    form.setWindowTitle(QStringLiteral("Опции"));
    auto *layout = new QVBoxLayout(&form);
    auto *tabs = new QTabWidget(&form);
    auto *page = new QWidget(tabs);
    auto *pl = new QGridLayout(page);
    tabs->addTab(page, QStringLiteral("Дизайнер"));
    layout->addWidget(tabs);
    const auto groupBox = [page](const QString &title) {
        auto *box = new QGroupBox(title, page);
        new QVBoxLayout(box);
        return box;
    };
    auto *gridBox = groupBox(QStringLiteral("Сетка"));
    auto *show = Named<QCheckBox>(gridBox, "GridShowCB", QStringLiteral("Показать &сетку"));
    auto *align = Named<QCheckBox>(gridBox, "GridAlignCB", QStringLiteral("&Выравнивать объекты"));
    gridBox->layout()->addWidget(show);
    gridBox->layout()->addWidget(align);
    auto *stepBox = groupBox(QStringLiteral("Шаг сетки"));
    auto *steps = new QButtonGroup(&form);
    Radio(stepBox, steps, "Grid4RB", QStringLiteral("&4 точки"), 4);
    Radio(stepBox, steps, "Grid8RB", QStringLiteral("&8 точек"), 8);
    Radio(stepBox, steps, "Grid18RB", QStringLiteral("&18 точек (5мм)"), 18);
    auto *selBox = groupBox(QStringLiteral("Выделение объекта"));
    auto *sels = new QButtonGroup(&form);
    auto *outline = Radio(selBox, sels, "OutlineRB", QStringLiteral("&Контуром"), 0);
    auto *inverse = Radio(selBox, sels, "InverseRB", QStringLiteral("&Инверсное"), 1);
    auto *unitBox = groupBox(QStringLiteral("Единицы измерения"));
    auto *units = new QButtonGroup(&form);
    Radio(unitBox, units, "PixelsRB", QStringLiteral("&Пикселы"), 0);
    Radio(unitBox, units, "MmRB", QStringLiteral("&Миллиметры"), 1);
    Radio(unitBox, units, "InchesRB", QStringLiteral("&Дюймы"), 2);
    auto *otherBox = groupBox(QStringLiteral("Прочее"));
    auto *colored = Named<QCheckBox>(otherBox, "ColoredCB", QStringLiteral("&Цветные кнопки"));
    auto *editAfter = Named<QCheckBox>(otherBox, "EditAfterCB", QStringLiteral("&Редактирование после вставки"));
    otherBox->layout()->addWidget(colored);
    otherBox->layout()->addWidget(editAfter);
    pl->addWidget(gridBox, 0, 0);
    pl->addWidget(stepBox, 0, 1);
    pl->addWidget(selBox, 1, 0);
    pl->addWidget(unitBox, 1, 1);
    pl->addWidget(otherBox, 2, 0, 1, 2);
    layout->addLayout(OkCancelRow(&form));

    show->setChecked(options.GridShow);
    align->setChecked(options.GridAlign);
    if (QAbstractButton *b = steps->button(GridChoiceOf(options.GridSize)))
        b->setChecked(true);
    (options.InverseOutlines ? inverse : outline)->setChecked(true);
    if (QAbstractButton *b = units->button(options.Units))
        b->setChecked(true);
    colored->setChecked(!options.GrayButtons);
    editAfter->setChecked(options.EditAfterInsert);
    if (form.exec() != QDialog::Accepted)
        return false;
    options.GridShow = show->isChecked();
    options.GridAlign = align->isChecked();
    options.GridSize = GridSizeFromChoice(steps->checkedId());
    options.InverseOutlines = !outline->isChecked();
    options.Units = units->checkedId() == 0 || units->checkedId() == 1 ? units->checkedId() : 2;
    options.GrayButtons = !colored->isChecked();
    options.EditAfterInsert = editAfter->isChecked();
    return true;
}
