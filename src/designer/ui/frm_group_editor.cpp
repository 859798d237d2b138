// The condition of a group-header band.
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "report/report_objects.h"

bool EditGroupCondition(TfrView &band, QWidget *parent)
{
    QDialog form(parent);
    form.setWindowTitle(QStringLiteral("Группа"));
    auto *layout = new QVBoxLayout(&form);
    auto *label = new QLabel(QStringLiteral("&Условие"), &form);
    auto *row = new QHBoxLayout;
    auto *edit = Named<QLineEdit>(&form, "Edit1");
    edit->setText(band.FormatText);
    label->setBuddy(edit);
    auto *pick = Named<QPushButton>(&form, "FieldButton", QStringLiteral("..."));
    pick->setFlat(true);
    pick->setToolTip(QStringLiteral("Выбор поля БД"));
    QObject::connect(pick, &QPushButton::clicked, &form, [&] {
        bool confirmed = false;
        const QString field = ChooseDBFieldConfirmed(&form, confirmed);
        if (confirmed)
            edit->setText(field);
    });
    row->addWidget(edit);
    row->addWidget(pick);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->addLayout(OkCancelRow(&form));
    if (form.exec() != QDialog::Accepted)
        return false;
    RecordUndoModify();
    band.FormatText = edit->text();
    return true;
}
