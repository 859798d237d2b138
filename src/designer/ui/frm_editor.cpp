// The text and script editor of a report object.
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "report/report.h"
#include "report/report_objects.h"

#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QPlainTextEdit>

namespace {
// The editor's check boxes keep their state for the run, as its one
// instance does in the designer.
struct TEditorState
{
    bool Script = false;
    bool LargeFont = false;
    bool WordWrap = false;
} EditorState;

class TfrEditorForm : public QDialog
{
public:
    TfrEditorForm(TfrView &view, QWidget *parent) : QDialog(parent), m_view(view)
    {
        setWindowTitle(QStringLiteral("Редактор текста"));
        resize(520, 400);
        auto *grid = new QGridLayout(this);
        auto *memoLabel = new QLabel(QStringLiteral("&Мемо"), this);
        M1 = Named<QPlainTextEdit>(this, "M1");
        memoLabel->setBuddy(M1);
        m_scriptLabel = new QLabel(QStringLiteral("С&крипт"), this);
        M2 = Named<QPlainTextEdit>(this, "M2");
        m_scriptLabel->setBuddy(M2);
        m_script = Named<QCheckBox>(this, "ScriptCB", QStringLiteral("&Скрипт"));
        m_large = Named<QCheckBox>(this, "LargeFontCB", QStringLiteral("&Крупный шрифт"));
        m_wrap = Named<QCheckBox>(this, "WordWrapCB", QStringLiteral("&Перенос слов"));
        auto *varB = Named<QPushButton>(this, "VarButton", QStringLiteral("&Переменная"));
        auto *fieldB = Named<QPushButton>(this, "FieldButton", QStringLiteral("Поле из &БД"));
        m_format = Named<QPushButton>(this, "FormatButton", QStringLiteral("&Формат"));
        grid->addWidget(memoLabel, 0, 0, 1, 3);
        grid->addWidget(M1, 1, 0, 1, 3);
        grid->addWidget(m_scriptLabel, 2, 0, 1, 3);
        grid->addWidget(M2, 3, 0, 1, 3);
        grid->addWidget(m_script, 4, 0);
        grid->addWidget(m_large, 4, 1);
        grid->addWidget(m_wrap, 4, 2);
        auto *buttons = new QHBoxLayout;
        buttons->addWidget(varB);
        buttons->addWidget(fieldB);
        buttons->addWidget(m_format);
        buttons->addStretch();
        AddOkCancel(this, buttons);
        grid->addLayout(buttons, 5, 0, 1, 3);

        m_script->setChecked(EditorState.Script);
        m_large->setChecked(EditorState.LargeFont);
        m_wrap->setChecked(EditorState.WordWrap);
        connect(m_script, &QCheckBox::toggled, this, [this] { ApplyChecks(); });
        connect(m_large, &QCheckBox::toggled, this, [this] { ApplyChecks(); });
        connect(m_wrap, &QCheckBox::toggled, this, [this] { ApplyChecks(); });
        connect(varB, &QPushButton::clicked, this, [this] { InsertVariable(); });
        connect(fieldB, &QPushButton::clicked, this, [this] { InsertField(); });
        connect(m_format, &QPushButton::clicked, this, [this] { EditDisplayFormat(m_view, this); });
        M1->installEventFilter(this);
        M2->installEventFilter(this);

        M1->setPlainText(view.Lines.join(u'\n'));
        M2->setPlainText(view.ScriptLines.join(u'\n'));
        m_current = M1;
        m_format->setVisible(dynamic_cast<TfrMemoView *>(&view) != nullptr);
        ApplyChecks();
        M1->setFocus();
    }

    QPlainTextEdit *M1;
    QPlainTextEdit *M2;

    void accept() override
    {
        RecordUndoModify();
        // The lines are stored as typed, without soft breaks.
        M1->setLineWrapMode(QPlainTextEdit::NoWrap);
        m_view.Lines = LinesOf(M1);
        m_view.ScriptLines = LinesOf(M2);
        QDialog::accept();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::FocusIn && (watched == M1 || watched == M2))
            m_current = static_cast<QPlainTextEdit *>(watched);
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Insert && key->modifiers() == Qt::NoModifier) {
                InsertVariable();
                return true;
            }
            // Before the memo takes it as a line break.
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                (key->modifiers() & Qt::ControlModifier)) {
                accept();
                return true;
            }
        }
        return QDialog::eventFilter(watched, event);
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            (event->modifiers() & Qt::ControlModifier)) {
            accept();
            return;
        }
        if (event->key() == Qt::Key_F && event->modifiers() == Qt::ControlModifier && m_format->isVisible()) {
            EditDisplayFormat(m_view, this);
            return;
        }
        QDialog::keyPressEvent(event);
    }

private:
    static QStringList LinesOf(const QPlainTextEdit *memo)
    {
        const QString text = memo->toPlainText();
        return text.isEmpty() ? QStringList() : text.split(u'\n');
    }

    void ApplyChecks()
    {
        EditorState = {m_script->isChecked(), m_large->isChecked(), m_wrap->isChecked()};
        M2->setVisible(EditorState.Script);
        m_scriptLabel->setVisible(EditorState.Script);
        QFont font = M1->font();
        font.setPointSize(EditorState.LargeFont ? 12 : 8);
        M1->setFont(font);
        M2->setFont(font);
        M1->setLineWrapMode(EditorState.WordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    }

    // Inserting goes through the system clipboard: what is chosen replaces
    // its content and is pasted into the memo that had the focus.
    void PasteReference(const QString &reference)
    {
        QClipboard *clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        if (!reference.isEmpty())
            clipboard->setText(u'[' + reference + u']');
        m_current->paste();
        m_current->setFocus();
    }

    void InsertVariable()
    {
        // The variables are those of the report being designed.
        const auto *report = dynamic_cast<const TfrReport *>(CurrentDocument());
        QString name;
        if (!report || !ChooseVariable(*report, name, this))
            return;
        PasteReference(name);
    }

    void InsertField()
    {
        bool confirmed = false;
        const QString field = ChooseDBFieldConfirmed(this, confirmed);
        if (confirmed)
            PasteReference(field);
    }

    TfrView &m_view;
    QPlainTextEdit *m_current;
    QLabel *m_scriptLabel;
    QCheckBox *m_script, *m_large, *m_wrap;
    QPushButton *m_format;
};
} // namespace

bool EditObjectText(const std::vector<TfrView *> &selection, QWidget *parent)
{
    if (selection.size() != 1 || !selection.front())
        return false;
    TfrEditorForm form(*selection.front(), parent);
    return form.exec() == QDialog::Accepted;
}
