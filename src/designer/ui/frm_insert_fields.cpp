// The field wizard: its dialog and the text objects it lays out.
#include "designer/dialog_rules.h"
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "designer/wizard_layout.h"
#include "report/library.h"
#include "report/report_objects.h"
#include "report/report_page.h"

#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QRadioButton>

namespace {
class TfrInsertFieldsForm : public QDialog
{
public:
    explicit TfrInsertFieldsForm(QWidget *parent) : QDialog(parent)
    {
        setWindowTitle(QStringLiteral("Вставка полей БД"));
        auto *layout = new QVBoxLayout(this);
        auto *label = new QLabel(QStringLiteral("&Базы данных"), this);
        DatasetCB = Named<QComboBox>(this, "DatasetCB");
        label->setBuddy(DatasetCB);
        FieldsL = Named<QListWidget>(this, "FieldsL");
        FieldsL->setSelectionMode(QAbstractItemView::MultiSelection);
        Horizontal = Named<QRadioButton>(this, "HorizontalRB", QStringLiteral("По &горизонтали"));
        Vertical = Named<QRadioButton>(this, "VerticalRB", QStringLiteral("По &вертикали"));
        Headers = Named<QCheckBox>(this, "HeadersCB", QStringLiteral("Включая &заголовки"));
        Horizontal->setChecked(true);
        Headers->setChecked(true);
        for (QWidget *w : std::initializer_list<QWidget *>{label, DatasetCB, FieldsL, Horizontal, Vertical, Headers})
            layout->addWidget(w);
        layout->addLayout(OkCancelRow(this));
        DatasetCB->addItems(DataSetNames(CurrentOwnerName()));
        FillFields();
        connect(DatasetCB, &QComboBox::currentIndexChanged, this, [this] { FillFields(); });
    }

    QComboBox *DatasetCB;
    QListWidget *FieldsL;
    QRadioButton *Horizontal, *Vertical;
    QCheckBox *Headers;

private:
    void FillFields()
    {
        FieldsL->clear();
        const QStringList items = SourceItems(DatasetCB->currentText(), false);
        FieldsL->addItems(items.mid(1));
    }
};
} // namespace

bool AskInsertFields(TInsertFieldsChoice &choice, QWidget *parent)
{
    TfrInsertFieldsForm form(parent);
    if (form.exec() != QDialog::Accepted || form.DatasetCB->currentText().isEmpty())
        return false;
    choice.DataSet = form.DatasetCB->currentText();
    choice.Fields.clear();
    for (int i = 0; i < form.FieldsL->count(); ++i)
        if (form.FieldsL->item(i)->isSelected())
            choice.Fields << form.FieldsL->item(i)->text();
    choice.Vertical = form.Vertical->isChecked();
    choice.Headers = form.Headers->isChecked();
    return true;
}

std::vector<TfrMemoView *> InsertDBFields(TfrPage &page, const TWizardOptions &base, const QString &fontName,
                                          int fontSize, QWidget *parent)
{
    TInsertFieldsChoice choice;
    if (!AskInsertFields(choice, parent))
        return {};
    TWizardOptions options = base;
    options.Vertical = choice.Vertical;
    options.Headers = choice.Headers;
    TDataSet *dataSet = nullptr;
    try {
        dataSet = FindDataSet(choice.DataSet);
    } catch (const EInvalidCast &) {
    }
    TCanvas &canvas = WorkCanvas();
    const auto width = [&](const QString &text, bool bold) {
        canvas.Font.Name = fontName;
        canvas.Font.Size = fontSize;
        canvas.Font.Height = 0;
        canvas.Font.Style = bold ? FontStyleFromCode(2u) : 0u;
        return canvas.TextWidth(text);
    };
    const auto placed = LayOutInsertedFields(InsertedFields(choice.DataSet, dataSet, choice.Fields), options, width);
    return AppendPlacedTexts(page, placed, fontName, fontSize);
}
