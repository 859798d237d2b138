// The report variables: the binding editor, the variable list editor and
// the picker of the text editor.
#include "designer/dialog_rules.h"
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "designer/variables_model.h"
#include "report/engine.h"
#include "report/report.h"

#include <QtGui/QKeyEvent>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPlainTextEdit>

namespace {
QString LastVariableCategory;

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
        QDialog form(this);
        form.setWindowTitle(QStringLiteral("Список переменных"));
        auto *layout = new QVBoxLayout(&form);
        auto *label = new QLabel(QStringLiteral("&Категории и переменные"), &form);
        auto *memo = Named<QPlainTextEdit>(&form, "Memo1");
        label->setBuddy(memo);
        memo->setPlainText(m_report.VariableLines.join(u'\n'));
        layout->addWidget(label);
        layout->addWidget(memo);
        auto *buttons = new QHBoxLayout;
        buttons->addStretch();
        AddOkCancel(&form, buttons);
        layout->addLayout(buttons);
        if (form.exec() != QDialog::Accepted)
            return;
        const QString text = memo->toPlainText();
        m_model.ApplyVariableList(text.isEmpty() ? QStringList() : text.split(u'\n'));
        FillAll();
    }

    TfrVariablesEditModel m_model;
    TfrReport &m_report;
    bool m_filling = false;
};

class TfrVarForm : public QDialog
{
public:
    TfrVarForm(const TfrReport &report, QWidget *parent) : QDialog(parent), m_report(report)
    {
        setWindowTitle(QStringLiteral("Переменные"));
        auto *layout = new QVBoxLayout(this);
        auto *label = new QLabel(QStringLiteral("&Категория:"), this);
        Categories = Named<QComboBox>(this, "Categories");
        label->setBuddy(Categories);
        Variables = Named<QListWidget>(this, "Variables");
        layout->addWidget(label);
        layout->addWidget(Categories);
        layout->addWidget(Variables);
        QStringList categories;
        report.GetCategories(categories);
        Categories->addItems(categories);
        const int last = categories.indexOf(LastVariableCategory);
        Categories->setCurrentIndex(last >= 0 ? last : (categories.isEmpty() ? -1 : 0));
        Fill();
        connect(Categories, &QComboBox::currentIndexChanged, this, [this] { Fill(); });
        Variables->viewport()->installEventFilter(this);
        connect(Variables, &QListWidget::itemActivated, this, [this] { accept(); });
    }

    void done(int result) override
    {
        LastVariableCategory = Categories->currentText();
        QDialog::done(result);
    }

    QComboBox *Categories;
    QListWidget *Variables;

protected:
    // A press anywhere in the list, on an empty part too, closes with OK.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == Variables->viewport() && event->type() == QEvent::MouseButtonRelease) {
            accept();
            return false;
        }
        return QDialog::eventFilter(watched, event);
    }

private:
    void Fill()
    {
        QStringList names;
        m_report.GetCategoryVariables(Categories->currentIndex(), names);
        Variables->clear();
        Variables->addItems(names);
    }
    const TfrReport &m_report;
};
} // namespace

bool ShowVariablesEditor(TfrReport &report, QWidget *parent)
{
    TfrEvForm form(report, parent);
    return form.exec() == QDialog::Accepted;
}

bool ChooseVariable(const TfrReport &report, QString &name, QWidget *parent)
{
    TfrVarForm form(report, parent);
    if (form.exec() != QDialog::Accepted)
        return false;
    name = form.Variables->currentItem() && form.Variables->currentItem()->isSelected()
               ? form.Variables->currentItem()->text()
               : QString();
    return true;
}
