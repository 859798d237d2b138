// The variable picker of the text editor.
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "report/report.h"

#include <QtCore/QEvent>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QListWidget>

namespace {
QString LastVariableCategory;

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
