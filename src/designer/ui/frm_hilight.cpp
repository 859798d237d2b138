// The highlight of a text object.
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "platform/ui/qt_canvas.h"
#include "report/report_objects.h"

#include <QtWidgets/QCheckBox>
#include <QtWidgets/QColorDialog>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QRadioButton>

namespace {
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
        grid->addLayout(OkCancelRow(this), 2, 0, 1, 2);

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
} // namespace

bool EditHighlight(TfrMemoView &memo, QWidget *parent)
{
    TfrHilightForm form(memo, parent);
    if (form.exec() != QDialog::Accepted)
        return false;
    RecordUndoModify();
    memo.HighlightCondition = form.Edit1->text();
    memo.HighlightAttrs.FontColor = form.FontColor;
    memo.HighlightAttrs.FillColor = form.Transparent->isChecked() ? clNone : form.FillColor;
    unsigned style = memo.HighlightAttrs.FontStyle & ~7u;
    style |= (form.Italic->isChecked() ? 1 : 0) | (form.Bold->isChecked() ? 2 : 0) | (form.Underline->isChecked() ? 4 : 0);
    memo.HighlightAttrs.FontStyle = static_cast<std::uint16_t>(style);
    return true;
}
