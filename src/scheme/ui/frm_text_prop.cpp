#include "scheme/ui/frm_text_prop.h"

#include "platform/ui/qt_canvas.h"
#include "scheme/ui/named_controls.h"

#include <QtGui/QFontDatabase>
#include <QtGui/QFontInfo>
#include <QtGui/QKeySequence>
#include <QtGui/QShortcut>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QVBoxLayout>

std::function<bool(TColor &color)> TfrmTextProp::ChooseColor;
std::function<int()> TfrmTextProp::LabelSize;

namespace {

QToolButton *StyleButton(QWidget *parent, const char *name, const QString &caption, const QString &hint)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(caption);
    button->setToolTip(hint);
    button->setCheckable(true);
    button->setMinimumSize(28, 28);
    return button;
}

} // namespace

int TfrmTextProp::FontFamilyIndex(const QString &name) const
{
    const int index = ComboBox1->findText(name);
    if (index >= 0)
        return index;
    // A family that is not installed ("Arial" of the files) is drawn in the
    // one the system puts in its place, so the box shows that one. A name the
    // system knows nothing of falls to its catch-all family: that is no
    // stand-in, and the box stays empty to say the font is missing.
    const QString substitute = QFontInfo(QFont(name)).family();
    if (substitute == QFontInfo(QFont(QStringLiteral("Tunvex: no such family"))).family())
        return -1;
    return ComboBox1->findText(substitute);
}

TfrmTextProp::TfrmTextProp(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTextProp"));
    setWindowTitle(QStringLiteral("Свойства текста"));
    auto *layout = new QVBoxLayout(this);

    auto *top = new QHBoxLayout;
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setToolTip(QStringLiteral("Тип шрифта"));
    ComboBox1->addItems(QFontDatabase::families());
    ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? 0 : -1);
    SpinEdit1 = new QSpinBox(this);
    SpinEdit1->setObjectName(QStringLiteral("SpinEdit1"));
    SpinEdit1->setToolTip(QStringLiteral("Размер шрифта"));
    SpinEdit1->setRange(TMapText::MinSizeFactor, TMapText::MaxSizeFactor);
    btnBold = StyleButton(this, "btnBold", QStringLiteral("B"), QStringLiteral("Полужирный шрифт"));
    btnItalic = StyleButton(this, "btnItalic", QStringLiteral("I"), QStringLiteral("Наклонный шрифт"));
    btnUnderline = StyleButton(this, "btnUnderline", QStringLiteral("U"), QStringLiteral("Подчеркнутый шрифт"));
    QFont f = btnBold->font();
    f.setBold(true);
    btnBold->setFont(f);
    f = btnItalic->font();
    f.setItalic(true);
    btnItalic->setFont(f);
    f = btnUnderline->font();
    f.setUnderline(true);
    btnUnderline->setFont(f);
    Shape1 = new QToolButton(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setToolTip(QStringLiteral("Щелкните, чтобы изменить цвет текста"));
    Shape1->setMinimumSize(28, 28);
    Shape1->setAutoRaise(true);
    top->addWidget(ComboBox1, 1);
    top->addWidget(SpinEdit1);
    top->addWidget(btnBold);
    top->addWidget(btnItalic);
    top->addWidget(btnUnderline);
    top->addWidget(Shape1);
    layout->addLayout(top);

    Edit1 = NamedEdit(this, "Edit1");
    layout->addWidget(Edit1);

    Panel1 = new QGroupBox(QStringLiteral("Пример текста"), this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedSize(520, 110);
    auto *sampleLayout = new QVBoxLayout(Panel1);
    lblSample = new QLabel(Panel1);
    lblSample->setObjectName(QStringLiteral("lblSample"));
    lblSample->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A long text is cut by the panel, not widening the dialog.
    lblSample->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    sampleLayout->addWidget(lblSample);
    layout->addWidget(Panel1, 1);

    auto *buttons = new QHBoxLayout;
    btnSave = NamedButton(this, "btnSave", QStringLiteral("Сохранить"));
    btnSave->setDefault(true);
    btnCancel = NamedButton(this, "btnCancel", QStringLiteral("Отменить"));
    btnDelete = NamedButton(this, "btnDelete", QStringLiteral("Удалить"));
    buttons->addWidget(btnSave);
    buttons->addWidget(btnCancel);
    buttons->addStretch();
    buttons->addWidget(btnDelete);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnSave, &QPushButton::clicked, this, [this] { done(oeOk); });
    connect(btnCancel, &QPushButton::clicked, this, [this] { done(oeCancel); });
    connect(btnDelete, &QPushButton::clicked, this, [this] { done(oeDelete); });
    connect(ComboBox1, &QComboBox::currentTextChanged, this, [this](const QString &name) {
        if (m_text && !m_loading && !name.isEmpty()) {
            m_text->SetFontName(name);
            ShowSample();
        }
    });
    connect(SpinEdit1, &QSpinBox::valueChanged, this, [this](int factor) {
        if (m_text && !m_loading) {
            m_text->SetSizeFactor(factor);
            ShowSample();
        }
    });
    connect(Edit1, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (m_text && !m_loading) {
            m_text->SetText(text);
            ShowSample();
        }
    });
    connect(btnBold, &QToolButton::toggled, this, [this](bool on) { SetStyleBit(ts::Bold, on); });
    connect(btnItalic, &QToolButton::toggled, this, [this](bool on) { SetStyleBit(ts::Italic, on); });
    connect(btnUnderline, &QToolButton::toggled, this, [this](bool on) { SetStyleBit(ts::Underline, on); });
    connect(Shape1, &QToolButton::clicked, this, &TfrmTextProp::Shape1Click);
    // Esc is "Отменить" already; Enter in the edits presses the default "Сохранить".
    new QShortcut(QKeySequence(QStringLiteral("Ctrl+B")), this, [this] { btnBold->toggle(); });
    new QShortcut(QKeySequence(QStringLiteral("Ctrl+I")), this, [this] { btnItalic->toggle(); });
    new QShortcut(QKeySequence(QStringLiteral("Ctrl+U")), this, [this] { btnUnderline->toggle(); });
    new QShortcut(QKeySequence(QStringLiteral("Ctrl+K")), this, [this] { Shape1Click(); });
}

void TfrmTextProp::LoadFromText(TMapText &text)
{
    m_text = &text;
    m_original = text;
    m_loading = true;
    ComboBox1->setCurrentIndex(FontFamilyIndex(text.FontName));
    Edit1->setText(text.Text);
    SpinEdit1->setValue(text.SizeFactor);
    // The buttons open showing the text's style.
    btnBold->setChecked(text.Style & ts::Bold);
    btnItalic->setChecked(text.Style & ts::Italic);
    btnUnderline->setChecked(text.Style & ts::Underline);
    m_loading = false;
    ShowColor();
    ShowSample();
}

void TfrmTextProp::SetStyleBit(std::uint8_t bit, bool on)
{
    if (!m_text || m_loading)
        return;
    m_text->SetStyle(static_cast<std::uint8_t>(on ? (m_text->Style | bit) : (m_text->Style & ~bit)));
    ShowSample();
}

void TfrmTextProp::ShowColor()
{
    const QColor color = TColorToQColor(m_text ? m_text->Color : clBlack);
    Shape1->setStyleSheet(QStringLiteral("QToolButton { background: %1; border: 1px solid black; }").arg(color.name()));
}

void TfrmTextProp::Shape1Click()
{
    if (!m_text || !ChooseColor)
        return;
    TColor color = m_text->Color;
    if (!ChooseColor(color))
        return;
    m_text->SetColor(color);
    ShowColor();
    ShowSample();
}

void TfrmTextProp::ShowSample()
{
    if (!m_text)
        return;
    lblSample->setText(m_text->Text);
    QFont font(m_text->FontName);
    font.setPointSize(std::max(1, (LabelSize ? LabelSize() : 10) * m_text->SizeFactor));
    font.setBold(m_text->Style & ts::Bold);
    font.setItalic(m_text->Style & ts::Italic);
    font.setUnderline(m_text->Style & ts::Underline);
    lblSample->setFont(font);
    lblSample->setStyleSheet(QStringLiteral("color: %1;").arg(TColorToQColor(m_text->Color).name()));
}

void TfrmTextProp::done(int result)
{
    // Leaving without saving gives the text back as it was.
    if (result != oeOk && result != oeDelete && m_text)
        *m_text = m_original;
    QDialog::done(result);
}

TObjectEditResult TfrmTextProp::Edit(TMapText &text, const QString &caption, bool deletable, QWidget *parent)
{
    TfrmTextProp dialog(parent);
    dialog.LoadFromText(text);
    dialog.setWindowTitle(caption);
    dialog.btnDelete->setEnabled(deletable);
    const int result = dialog.exec();
    return result == oeOk || result == oeDelete ? static_cast<TObjectEditResult>(result) : oeCancel;
}
