// The display format of an object.
#include "designer/dialog_rules.h"
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "report/report_objects.h"

#include <QtCore/QEvent>
#include <QtCore/QTimer>
#include <QtGui/QIntValidator>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QListWidget>

namespace {
class TfrFmtForm : public QDialog
{
public:
    TfrFmtForm(std::int32_t format, const QString &pattern, QWidget *parent) : QDialog(parent)
    {
        m_model.Format = format;
        setWindowTitle(QStringLiteral("Формат переменной"));
        auto *grid = new QGridLayout(this);
        m_categories = Named<QListWidget>(this, "CategoryList");
        m_kinds = Named<QListWidget>(this, "KindList");
        m_categories->addItems(TfrFormatModel::Categories());
        grid->addWidget(m_categories, 0, 0);
        grid->addWidget(m_kinds, 0, 1);
        m_patternPanel = Named<QWidget>(this, "PatternPanel");
        auto *pl = new QHBoxLayout(m_patternPanel);
        auto *patternLabel = new QLabel(QStringLiteral("&Формат:"), m_patternPanel);
        Edit1 = Named<QLineEdit>(m_patternPanel, "Edit1");
        patternLabel->setBuddy(Edit1);
        pl->addWidget(patternLabel);
        pl->addWidget(Edit1);
        Edit1->setText(pattern);
        m_numberPanel = Named<QWidget>(this, "NumberPanel");
        auto *nl = new QHBoxLayout(m_numberPanel);
        auto *decLabel = new QLabel(QStringLiteral("&Дес. знаков"), m_numberPanel);
        Edit3 = Named<QLineEdit>(m_numberPanel, "Edit3");
        decLabel->setBuddy(Edit3);
        auto *sepLabel = new QLabel(QStringLiteral("&Разделитель дроби"), m_numberPanel);
        SplEdit = Named<QLineEdit>(m_numberPanel, "SplEdit");
        SplEdit->setMaxLength(1);
        // More than a byte of decimals would spill into the kind.
        Edit3->setValidator(new QIntValidator(0, 255, Edit3));
        sepLabel->setBuddy(SplEdit);
        nl->addWidget(decLabel);
        nl->addWidget(Edit3);
        nl->addWidget(sepLabel);
        nl->addWidget(SplEdit);
        grid->addWidget(m_patternPanel, 1, 0, 1, 2);
        grid->addWidget(m_numberPanel, 2, 0, 1, 2);
        grid->addLayout(OkCancelRow(this), 3, 0, 1, 2);

        m_categories->setCurrentRow(m_model.Category());
        FillKinds();
        m_kinds->setCurrentRow(m_model.Kind());
        UpdatePanels();
        connect(m_categories, &QListWidget::currentRowChanged, this, [this](int row) {
            if (m_filling || row < 0)
                return;
            m_model.SetCategory(row);
            FillKinds();
            m_kinds->setCurrentRow(0);
            UpdatePanels();
            Edit1->clear();
        });
        connect(m_kinds, &QListWidget::currentRowChanged, this, [this](int row) {
            if (m_filling || row < 0)
                return;
            m_model.SetKind(row);
            UpdatePanels();
        });
        // An empty box keeps the word as it was.
        connect(Edit3, &QLineEdit::textEdited, this, [this](const QString &text) { m_model.SetDecimalsText(text); });
        connect(SplEdit, &QLineEdit::textEdited, this, [this](const QString &text) { m_model.SetSeparatorText(text); });
        SplEdit->installEventFilter(this);
    }

    std::int32_t Format() const { return m_model.Format; }
    QLineEdit *Edit1, *Edit3, *SplEdit;

protected:
    // The one character is replaced by typing, however the box was entered.
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == SplEdit && event->type() == QEvent::FocusIn)
            QTimer::singleShot(0, SplEdit, &QLineEdit::selectAll);
        return QDialog::eventFilter(watched, event);
    }

private:
    void FillKinds()
    {
        m_filling = true;
        m_kinds->clear();
        m_kinds->addItems(TfrFormatModel::Kinds(m_model.Category()));
        m_filling = false;
    }
    void UpdatePanels()
    {
        m_patternPanel->setVisible(m_model.PatternVisible());
        const bool number = m_model.NumberVisible();
        m_numberPanel->setVisible(number);
        if (number) {
            Edit3->setText(QString::number(m_model.Decimals()));
            SplEdit->setText(QString(m_model.Separator()));
        }
    }

    TfrFormatModel m_model;
    QListWidget *m_categories, *m_kinds;
    QWidget *m_patternPanel, *m_numberPanel;
    bool m_filling = false;
};
} // namespace

bool EditDisplayFormat(TfrView &view, QWidget *parent)
{
    TfrFmtForm form(view.DisplayFormat, view.FormatText, parent);
    if (form.exec() != QDialog::Accepted)
        return false;
    RecordUndoModify();
    view.DisplayFormat = form.Format();
    view.FormatText = form.Edit1->text();
    return true;
}
