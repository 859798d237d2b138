// The pick of one data set field or special value.
#include "designer/dialog_rules.h"
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QListWidget>

namespace {
QString LastFieldsDataSet;

class TfrFieldsForm : public QDialog
{
public:
    explicit TfrFieldsForm(QWidget *parent) : QDialog(parent)
    {
        setWindowTitle(QStringLiteral("Вставка поля БД"));
        auto *layout = new QVBoxLayout(this);
        auto *label = new QLabel(QStringLiteral("&Базы данных"), this);
        ValCombo = Named<QComboBox>(this, "ValCombo");
        label->setBuddy(ValCombo);
        ValList = Named<QListWidget>(this, "ValList");
        layout->addWidget(label);
        layout->addWidget(ValCombo);
        layout->addWidget(ValList);
        ValCombo->addItems(DataSetNames(CurrentOwnerName()));
        ValCombo->addItem(OtherVariablesName);
        const int last = ValCombo->findText(LastFieldsDataSet);
        ValCombo->setCurrentIndex(last >= 0 ? last : 0);
        FillFields();
        connect(ValCombo, &QComboBox::currentIndexChanged, this, [this] { FillFields(); });
        connect(ValList, &QListWidget::itemClicked, this, [this] { accept(); });
        connect(ValList, &QListWidget::itemActivated, this, [this] { accept(); });
    }

    void done(int result) override
    {
        LastFieldsDataSet = ValCombo->currentText();
        const int row = ValList->currentRow();
        if (result == Accepted) {
            DBField = FieldReference(ValCombo->currentText(), row, row >= 0 ? ValList->item(row)->text() : QString());
            if (DBField.isEmpty())
                result = Rejected;
        }
        QDialog::done(result);
    }

    QComboBox *ValCombo;
    QListWidget *ValList;
    QString DBField;

private:
    void FillFields()
    {
        ValList->clear();
        ValList->addItems(SourceItems(ValCombo->currentText(), false));
    }
};
} // namespace

QString ChooseDBFieldConfirmed(QWidget *parent, bool &confirmed)
{
    TfrFieldsForm form(parent);
    confirmed = form.exec() == QDialog::Accepted;
    return confirmed ? form.DBField : QString();
}

QString ChooseDBField(QWidget *parent)
{
    bool confirmed = false;
    return ChooseDBFieldConfirmed(parent, confirmed);
}
