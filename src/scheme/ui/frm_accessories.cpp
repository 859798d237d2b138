#include "scheme/ui/frm_accessories.h"

#include "scheme/branch_form.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialogButtonBox>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

namespace {

// "Сохранить" (default) and "Отмена" under the fields.
void AddButtons(QDialog *dialog, QVBoxLayout *layout)
{
    auto *buttons = new QDialogButtonBox(dialog);
    QPushButton *save = buttons->addButton(QStringLiteral("Сохранить"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    save->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
}

QComboBox *DropDownList(QWidget *parent, const auto &items)
{
    auto *combo = new QComboBox(parent);
    for (const char *item : items)
        combo->addItem(QString::fromUtf8(item));
    return combo;
}

template <typename TDialog>
bool EditText(const QString &current, QString &result, QWidget *parent)
{
    result = current;
    TDialog dialog(parent);
    dialog.Edit->setText(current);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    result = dialog.Edit->text();
    return true;
}

} // namespace

TfrmConv::TfrmConv(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmConv"));
    setWindowTitle(QStringLiteral("Свойства конвейера"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    cbType = DropDownList(this, BeltTypes);
    cbWidth = new QComboBox(this);
    for (const std::int32_t width : BeltWidths)
        cbWidth->addItem(QString::number(width));
    cbType->setObjectName(QStringLiteral("cbType"));
    cbWidth->setObjectName(QStringLiteral("cbWidth"));
    form->addRow(QStringLiteral("Тип ленты"), cbType);
    form->addRow(QStringLiteral("Ширина ленты"), cbWidth);
    layout->addLayout(form);
    AddButtons(this, layout);
}

TfrmAccessoryText::TfrmAccessoryText(const QString &caption, const QString &label, int maxLength, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(caption);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(label, this));
    Edit = new QLineEdit(this);
    if (maxLength > 0)
        Edit->setMaxLength(maxLength);
    layout->addWidget(Edit);
    AddButtons(this, layout);
    setMinimumWidth(280);
}

TfrmFireWater::TfrmFireWater(QWidget *parent)
    : TfrmAccessoryText(QStringLiteral("Свойства пож. трубопровода"), QStringLiteral("Диаметр (дюймы)"), 0, parent)
{
    setObjectName(QStringLiteral("frmFireWater"));
    edDiam = Edit;
}

TfrmDeGaze::TfrmDeGaze(QWidget *parent)
    : TfrmAccessoryText(QStringLiteral("Свойства дегазац. трубопровода"), QStringLiteral("№ задвижки"), 0, parent)
{
    setObjectName(QStringLiteral("frmDeGaze"));
    edZadv = Edit;
}

TfrmCableProperty::TfrmCableProperty(QWidget *parent)
    : TfrmAccessoryText(QStringLiteral("Свойства эл. кабеля"), QStringLiteral("№ ячеек отключения эл. кабеля"),
                        CableCellsMaxLength, parent)
{
    setObjectName(QStringLiteral("frmCableProperty"));
    edCables = Edit;
}

void EditConveyor(TBranchForm &form, QWidget *parent)
{
    TfrmConv dialog(parent);
    // An index outside the lists selects nothing.
    dialog.cbType->setCurrentIndex(form.BeltType >= 0 && form.BeltType < dialog.cbType->count() ? form.BeltType : -1);
    dialog.cbWidth->setCurrentIndex(form.BeltWidth >= 0 && form.BeltWidth < dialog.cbWidth->count() ? form.BeltWidth : -1);
    if (dialog.exec() != QDialog::Accepted)
        return;
    form.Modified = true;
    form.BeltType = dialog.cbType->currentIndex();
    form.BeltWidth = dialog.cbWidth->currentIndex();
}

bool EditFirePipe(const QString &current, QString &result, QWidget *parent)
{
    return EditText<TfrmFireWater>(current, result, parent);
}

bool EditDegasPipe(const QString &current, QString &result, QWidget *parent)
{
    return EditText<TfrmDeGaze>(current, result, parent);
}

bool EditCables(const QString &current, QString &result, QWidget *parent)
{
    return EditText<TfrmCableProperty>(current, result, parent);
}
