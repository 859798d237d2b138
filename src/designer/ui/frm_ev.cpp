// The variables editor: binds the report's variables to values.
#include "designer/dialog_rules.h"
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "designer/variables_model.h"
#include "report/engine.h"
#include "report/report.h"

#include <QtWidgets/QComboBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPlainTextEdit>

namespace {
void SelectText(QListWidget *list, const QString &text)
{
    const auto found = list->findItems(text, Qt::MatchExactly);
    if (!found.isEmpty())
        list->setCurrentItem(found.front());
}

class TfrEvForm : public QDialog
{
public:
    TfrEvForm(TfrReport &report, QWidget *parent) : QDialog(parent), m_model(report), m_report(report)
    {
        setWindowTitle(QStringLiteral("Редактор значений переменных"));
        resize(480, 360);
        auto *grid = new QGridLayout(this);
        auto *l1 = new QLabel(QStringLiteral("&Переменная"), this);
        auto *l2 = new QLabel(QStringLiteral("&Значение"), this);
        VarCombo = Named<QComboBox>(this, "VarCombo");
        VarList = Named<QListWidget>(this, "VarList");
        ValCombo = Named<QComboBox>(this, "ValCombo");
        ValList = Named<QListWidget>(this, "ValList");
        l1->setBuddy(VarCombo);
        l2->setBuddy(ValCombo);
        Label3 = new QLabel(QStringLiteral("&Выражение"), this);
        Edit1 = Named<QLineEdit>(this, "Edit1");
        Label3->setBuddy(Edit1);
        SB1 = Named<QPushButton>(this, "SB1");
        SB2 = Named<QPushButton>(this, "SB2");
        SB1->setIcon(Glyph(TGlyph::Copy));
        SB2->setIcon(Glyph(TGlyph::Paste));
        SB1->setFlat(true);
        SB2->setFlat(true);
        SB1->setToolTip(QStringLiteral("Копировать переменные в буфер обмена"));
        SB2->setToolTip(QStringLiteral("Вставить переменные из буфера обмена"));
        auto *listB = Named<QPushButton>(this, "Button3", QStringLiteral("Пере&менные..."));
        grid->addWidget(l1, 0, 0);
        grid->addWidget(l2, 0, 1);
        grid->addWidget(VarCombo, 1, 0);
        grid->addWidget(ValCombo, 1, 1);
        grid->addWidget(VarList, 2, 0);
        grid->addWidget(ValList, 2, 1);
        grid->addWidget(Label3, 3, 1);
        grid->addWidget(Edit1, 4, 1);
        auto *buttons = new QHBoxLayout;
        buttons->addWidget(SB1);
        buttons->addWidget(SB2);
        buttons->addWidget(listB);
        buttons->addStretch();
        AddOkCancel(this, buttons);
        grid->addLayout(buttons, 5, 0, 1, 2);

        ValCombo->addItems(DataSetNames(report.OwnerName));
        ValCombo->addItem(OtherVariablesName);
        FillAll();
        connect(VarCombo, &QComboBox::currentIndexChanged, this, [this] { FillVariables(); });
        connect(VarList, &QListWidget::currentItemChanged, this, [this] { ShowBinding(); });
        connect(ValCombo, &QComboBox::currentIndexChanged, this, [this] {
            if (m_filling)
                return;
            FillValues();
            ExpressionState();
        });
        connect(ValList, &QListWidget::currentItemChanged, this, [this] {
            if (m_filling)
                return;
            ExpressionState();
            StoreBinding();
        });
        connect(Edit1, &QLineEdit::editingFinished, this, [this] { StoreBinding(); });
        connect(SB1, &QPushButton::clicked, this, [this] {
            m_model.Copy();
            SB2->setEnabled(true);
        });
        connect(SB2, &QPushButton::clicked, this, [this] {
            m_model.Paste();
            FillAll();
        });
        connect(listB, &QPushButton::clicked, this, [this] { EditList(); });
    }

    void done(int result) override
    {
        if (result == Accepted)
            StoreBinding();
        else
            m_model.Restore();
        QDialog::done(result);
    }

    QComboBox *VarCombo, *ValCombo;
    QListWidget *VarList, *ValList;
    QLineEdit *Edit1;
    QLabel *Label3;
    QPushButton *SB1, *SB2;

private:
    void FillAll()
    {
        m_filling = true;
        QStringList categories;
        m_report.GetCategories(categories);
        VarCombo->clear();
        VarCombo->addItems(categories);
        VarCombo->setCurrentIndex(categories.isEmpty() ? -1 : 0);
        ValCombo->setCurrentIndex(0);
        m_filling = false;
        FillVariables();
        FillValues();
        ExpressionState();
        SB2->setEnabled(TfrVariablesEditModel::ClipboardHasData());
    }
    void FillVariables()
    {
        QStringList names;
        m_report.GetCategoryVariables(VarCombo->currentIndex(), names);
        m_filling = true;
        VarList->clear();
        VarList->addItems(names);
        m_filling = false;
    }
    void FillValues()
    {
        const bool was = m_filling;
        m_filling = true;
        ValList->clear();
        ValList->addItems(SourceItems(ValCombo->currentText(), true));
        m_filling = was;
    }
    void ExpressionState()
    {
        const bool on = ValCombo->currentText() == OtherVariablesName && ValList->currentItem() &&
                        ValList->currentItem()->text() == Engine().SpecialValueNames[svExpression];
        Edit1->setEnabled(on);
        Label3->setEnabled(on);
        if (!on)
            Edit1->clear();
    }
    void ShowBinding()
    {
        if (m_filling || !VarList->currentItem())
            return;
        const TfrValue *value = m_report.ValueBindings.FindVariable(VarList->currentItem()->text());
        m_filling = true;
        if (!value || value->Kind == TfrValue::kindNone) {
            FillValues();
            SelectText(ValList, NoneItemName);
        } else if (value->Kind == TfrValue::kindField) {
            QString name = value->DataSetName;
            const int dot = name.indexOf(u'.');
            if (dot > 0 && name.left(dot).compare(m_report.OwnerName, Qt::CaseInsensitive) == 0)
                name = name.mid(dot + 1);
            const int i = ValCombo->findText(name);
            if (i >= 0)
                ValCombo->setCurrentIndex(i);
            FillValues();
            SelectText(ValList, value->FieldText);
        } else {
            ValCombo->setCurrentIndex(ValCombo->findText(OtherVariablesName));
            FillValues();
            SelectText(ValList, Engine().SpecialValueNames.value(value->SpecialIndex));
        }
        m_filling = false;
        ExpressionState();
        if (value && value->Kind == TfrValue::kindSpecial && value->SpecialIndex == svExpression)
            Edit1->setText(value->FieldText);
    }
    void StoreBinding()
    {
        if (!VarList->currentItem() || !ValList->currentItem())
            return;
        m_model.StoreBinding(VarList->currentItem()->text(), ValCombo->currentText(), ValList->currentItem()->text(),
                             Edit1->text());
    }
    void EditList()
    {
        QStringList lines = m_report.VariableLines;
        if (!EditVariableList(lines, this))
            return;
        m_model.ApplyVariableList(lines);
        FillAll();
    }

    TfrVariablesEditModel m_model;
    TfrReport &m_report;
    bool m_filling = false;
};
} // namespace

bool ShowVariablesEditor(TfrReport &report, QWidget *parent)
{
    TfrEvForm form(report, parent);
    return form.exec() == QDialog::Accepted;
}
