#include "journal/ui/frm_rubric_property.h"

#include "journal/ui/dialog_buttons.h"

#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QVBoxLayout>

QStringList RubricTypeCaptions()
{
    return {QStringLiteral("Обычная рубрика"), QStringLiteral("Поступающая шахты"),
            QStringLiteral("Без подсчета итогов"), QStringLiteral("Внешние утечки"),
            QStringLiteral("Внутренние утечки")};
}

TfrmRubricProperty::TfrmRubricProperty(TRubric &rubric, QWidget *parent) : QDialog(parent), m_rubric(rubric)
{
    setObjectName(QStringLiteral("frmRubricProperty"));
    setWindowTitle(QStringLiteral("Свойства рубрики \"%1\"").arg(rubric.Name));
    const TKerstal *journal = rubric.OwnerJournal;

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Вентжурнал:"), new QLabel(journal ? journal->FileName : QString(), this));
    form->addRow(QStringLiteral("Название рубрики:"), new QLabel(rubric.Name, this));
    form->addRow(QStringLiteral("Всего записей:"),
                 new QLabel(QStringLiteral("%1 из %2").arg(rubric.Count()).arg(journal ? journal->TotalRecords() : 0),
                            this));
    edName = new QLineEdit(rubric.Name, this);
    edName->setObjectName(QStringLiteral("edName"));
    form->addRow(QStringLiteral("Название рубрики:"), edName);

    auto *types = new QGroupBox(QStringLiteral("Тип рубрики"), this);
    auto *grid = new QGridLayout(types);
    rgType = new QButtonGroup(this);
    const QStringList captions = RubricTypeCaptions();
    const int rows = (static_cast<int>(captions.size()) + 1) / 2;
    for (int i = 0; i < captions.size(); ++i) {
        auto *button = new QRadioButton(captions[i], types);
        rgType->addButton(button, i);
        grid->addWidget(button, i % rows, i / rows);
    }
    if (QAbstractButton *current = rgType->button(rubric.RubricType))
        current->setChecked(true);

    memRemarks = new QPlainTextEdit(rubric.Remarks, this);
    memRemarks->setObjectName(QStringLiteral("memRemarks"));

    QDialogButtonBox *buttons = OkCancelButtons(this, [this] { OkClick(); });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(types);
    layout->addWidget(new QLabel(QStringLiteral("Примечания:"), this));
    layout->addWidget(memRemarks);
    layout->addWidget(buttons);

    const auto changed = [this] { Changed = true; };
    connect(edName, &QLineEdit::textChanged, this, changed);
    connect(memRemarks, &QPlainTextEdit::textChanged, this, changed);
    connect(rgType, &QButtonGroup::idToggled, this, changed);
}

void TfrmRubricProperty::OkClick()
{
    if (Changed) {
        if (m_rubric.OwnerJournal)
            m_rubric.OwnerJournal->Modified = true;
        m_rubric.Name = edName->text();
        if (rgType->checkedId() >= 0)
            m_rubric.RubricType = static_cast<std::uint8_t>(rgType->checkedId());
        m_rubric.Remarks = memRemarks->toPlainText();
    }
    accept();
}

bool EditRubricProperties(TRubric &rubric, QWidget *parent)
{
    TfrmRubricProperty dialog(rubric, parent);
    return dialog.exec() == QDialog::Accepted && dialog.Changed;
}
