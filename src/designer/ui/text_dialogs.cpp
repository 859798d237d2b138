// The text side of report objects: the text and script editor, the display
// format, the highlight, the field picker and the field wizard's dialog.
#include "designer/dialog_rules.h"
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "designer/wizard_layout.h"
#include "report/library.h"
#include "platform/ui/qt_canvas.h"
#include "report/engine.h"
#include "report/report.h"
#include "report/report_objects.h"

#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtGui/QIntValidator>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QColorDialog>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QRadioButton>

namespace {
// The editor's check boxes keep their state for the run, as its one
// instance does in the designer.
struct TEditorState
{
    bool Script = false;
    bool LargeFont = false;
    bool WordWrap = false;
} EditorState;

QString LastFieldsDataSet;

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
        if (TfrReportDesigner *designer = ReportDesigner())
            designer->RecordUndoModify();
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
        const auto *report = dynamic_cast<const TfrReport *>(CurrentDocument());
        static const TfrReport empty;
        QString name;
        if (!ChooseVariable(report ? *report : empty, name, this))
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
        auto *buttons = new QHBoxLayout;
        buttons->addStretch();
        AddOkCancel(this, buttons);
        grid->addLayout(buttons, 3, 0, 1, 2);

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
    }

    std::int32_t Format() const { return m_model.Format; }
    QLineEdit *Edit1, *Edit3, *SplEdit;

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

class TfrHilightForm : public QDialog
{
public:
    TfrHilightForm(const TfrMemoView &memo, QWidget *parent) : QDialog(parent)
    {
        FontColor = memo.HighlightAttrs.FontColor;
        FillColor = memo.HighlightAttrs.FillColor;
        setWindowTitle(QStringLiteral("Атрибуты выделения"));
        auto *grid = new QGridLayout(this);
        Edit1 = Named<QLineEdit>(this, "Edit1");
        Edit1->setText(memo.HighlightCondition);
        grid->addWidget(Edit1, 0, 0, 1, 2);
        auto *fontBox = new QGroupBox(this);
        auto *fl = new QVBoxLayout(fontBox);
        const unsigned style = memo.HighlightAttrs.FontStyle;
        Bold = Named<QCheckBox>(fontBox, "BoldCB", QStringLiteral("&Утолщенный"));
        Italic = Named<QCheckBox>(fontBox, "ItalicCB", QStringLiteral("&Курсив"));
        Underline = Named<QCheckBox>(fontBox, "UnderlineCB", QStringLiteral("Под&черкивание"));
        Bold->setChecked(style & 2);
        Italic->setChecked(style & 1);
        Underline->setChecked(style & 4);
        m_fontButton = Named<QPushButton>(fontBox, "FontColorButton", QStringLiteral("&Цвет..."));
        fl->addWidget(Bold);
        fl->addWidget(Italic);
        fl->addWidget(Underline);
        fl->addWidget(m_fontButton);
        auto *fillBox = new QGroupBox(this);
        auto *bl = new QVBoxLayout(fillBox);
        Transparent = Named<QRadioButton>(fillBox, "TransparentRB", QStringLiteral("&Прозрачный"));
        Other = Named<QRadioButton>(fillBox, "OtherRB", QStringLiteral("&Другой"));
        m_fillButton = Named<QPushButton>(fillBox, "FillColorButton", QStringLiteral("Ц&вет..."));
        bl->addWidget(Transparent);
        bl->addWidget(Other);
        bl->addWidget(m_fillButton);
        grid->addWidget(fontBox, 1, 0);
        grid->addWidget(fillBox, 1, 1);
        auto *buttons = new QHBoxLayout;
        buttons->addStretch();
        AddOkCancel(this, buttons);
        grid->addLayout(buttons, 2, 0, 1, 2);

        (FillColor == clNone ? Transparent : Other)->setChecked(true);
        ShowColor(m_fontButton, FontColor);
        ShowColor(m_fillButton, FillColor);
        RadioRule();
        connect(Transparent, &QRadioButton::toggled, this, [this] { RadioRule(); });
        connect(m_fontButton, &QPushButton::clicked, this, [this] { PickColor(FontColor, m_fontButton); });
        connect(m_fillButton, &QPushButton::clicked, this, [this] { PickColor(FillColor, m_fillButton); });
    }

    TColor FontColor, FillColor;
    QLineEdit *Edit1;
    QCheckBox *Bold, *Italic, *Underline;
    QRadioButton *Transparent, *Other;

private:
    void RadioRule()
    {
        m_fillButton->setEnabled(Other->isChecked());
        if (Transparent->isChecked())
            FillColor = clNone;
    }
    void PickColor(TColor &color, QPushButton *button)
    {
        const QColor chosen = QColorDialog::getColor(TColorToQColor(color == clNone ? clWhite : color), this);
        if (!chosen.isValid())
            return;
        color = QColorToTColor(chosen);
        ShowColor(button, color);
    }

    QPushButton *m_fontButton, *m_fillButton;
};

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
        const QString owner = Engine().CurrentReport ? Engine().CurrentReport->OwnerName : QString();
        ValCombo->addItems(DataSetNames(owner));
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
        auto *buttons = new QHBoxLayout;
        buttons->addStretch();
        AddOkCancel(this, buttons);
        layout->addLayout(buttons);
        const QString owner = Engine().CurrentReport ? Engine().CurrentReport->OwnerName : QString();
        DatasetCB->addItems(DataSetNames(owner));
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

QString ChooseDBFieldConfirmed(QWidget *parent, bool &confirmed)
{
    TfrFieldsForm form(parent);
    confirmed = form.exec() == QDialog::Accepted;
    return confirmed ? form.DBField : QString();
}

bool EditObjectText(const std::vector<TfrView *> &selection, QWidget *parent)
{
    if (selection.size() != 1 || !selection.front())
        return false;
    TfrEditorForm form(*selection.front(), parent);
    return form.exec() == QDialog::Accepted;
}

bool EditDisplayFormat(TfrView &view, QWidget *parent)
{
    TfrFmtForm form(view.DisplayFormat, view.FormatText, parent);
    if (form.exec() != QDialog::Accepted)
        return false;
    if (TfrReportDesigner *designer = ReportDesigner())
        designer->RecordUndoModify();
    view.DisplayFormat = form.Format();
    view.FormatText = form.Edit1->text();
    return true;
}

bool EditHighlight(TfrMemoView &memo, QWidget *parent)
{
    TfrHilightForm form(memo, parent);
    if (form.exec() != QDialog::Accepted)
        return false;
    if (TfrReportDesigner *designer = ReportDesigner())
        designer->RecordUndoModify();
    memo.HighlightCondition = form.Edit1->text();
    memo.HighlightAttrs.FontColor = form.FontColor;
    memo.HighlightAttrs.FillColor = form.Transparent->isChecked() ? clNone : form.FillColor;
    unsigned style = memo.HighlightAttrs.FontStyle & ~7u;
    style |= (form.Italic->isChecked() ? 1 : 0) | (form.Bold->isChecked() ? 2 : 0) | (form.Underline->isChecked() ? 4 : 0);
    memo.HighlightAttrs.FontStyle = static_cast<std::uint16_t>(style);
    return true;
}

QString ChooseDBField(QWidget *parent)
{
    bool confirmed = false;
    return ChooseDBFieldConfirmed(parent, confirmed);
}

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
