// The page options.
#include "designer/dialog_rules.h"
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "report/printers.h"
#include "report/report.h"
#include "report/report_page.h"

#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFormLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QTabWidget>

namespace {
QLineEdit *Field(QFormLayout *form, QWidget *parent, const char *name, const QString &label)
{
    auto *edit = Named<QLineEdit>(parent, name);
    form->addRow(label, edit);
    return edit;
}

void EnableRow(QFormLayout *form, QWidget *field, bool enabled)
{
    field->setEnabled(enabled);
    if (QWidget *label = form->labelForField(field))
        label->setEnabled(enabled);
}

class TfrPgoptForm : public QDialog
{
public:
    explicit TfrPgoptForm(const TfrPage &page, QWidget *parent) : QDialog(parent)
    {
        setWindowTitle(QStringLiteral("Параметры страницы"));
        auto *layout = new QVBoxLayout(this);
        auto *tabs = new QTabWidget(this);
        layout->addWidget(tabs);
        const TPageOptionsInput in = PageOptionsOf(page);

        auto *paper = new QWidget(tabs);
        auto *pl = new QVBoxLayout(paper);
        auto *orient = new QGroupBox(QStringLiteral("Ориентация"), paper);
        auto *ol = new QHBoxLayout(orient);
        Portrait = Named<QRadioButton>(orient, "PortraitRB", QStringLiteral("&Портретная"));
        Landscape = Named<QRadioButton>(orient, "LandscapeRB", QStringLiteral("&Альбомная"));
        m_picture = new QLabel(orient);
        m_picture->setFixedSize(40, 40);
        ol->addWidget(Portrait);
        ol->addWidget(Landscape);
        ol->addWidget(m_picture);
        auto *size = new QGroupBox(QStringLiteral("Размер"), paper);
        m_sizeForm = new QFormLayout(size);
        ComB1 = Named<QComboBox>(size, "ComB1");
        ComB1->addItems(PrinterSettings->PaperNames);
        ComB1->view()->setMinimumWidth(200);
        m_sizeForm->addRow(ComB1);
        E1 = Field(m_sizeForm, size, "E1", QStringLiteral("&Ширина, мм"));
        E2 = Field(m_sizeForm, size, "E2", QStringLiteral("&Высота, мм"));
        pl->addWidget(orient);
        pl->addWidget(size);
        pl->addStretch();
        tabs->addTab(paper, QStringLiteral("Бумага"));

        auto *marginsTab = new QWidget(tabs);
        auto *ml = new QVBoxLayout(marginsTab);
        auto *margins = new QGroupBox(QStringLiteral("Поля страницы"), marginsTab);
        m_marginForm = new QFormLayout(margins);
        E3 = Field(m_marginForm, margins, "E3", QStringLiteral("&Левое, мм"));
        E4 = Field(m_marginForm, margins, "E4", QStringLiteral("&Верхнее, мм"));
        E5 = Field(m_marginForm, margins, "E5", QStringLiteral("&Правое, мм"));
        E6 = Field(m_marginForm, margins, "E6", QStringLiteral("&Нижнее, мм"));
        DontUse = Named<QCheckBox>(margins, "DontUseCB", QStringLiteral("Не &использовать"));
        m_marginForm->addRow(DontUse);
        ml->addWidget(margins);
        ml->addStretch();
        tabs->addTab(marginsTab, QStringLiteral("Поля"));

        auto *optionsTab = new QWidget(tabs);
        auto *vl = new QVBoxLayout(optionsTab);
        PrevSheet = Named<QCheckBox>(optionsTab, "PrevSheetCB", QStringLiteral("Печать &вплотную к пред.листу"));
        auto *columns = new QGroupBox(QStringLiteral("Колонки"), optionsTab);
        auto *cf = new QFormLayout(columns);
        auto *countRow = new QHBoxLayout;
        Edit1 = Named<QLineEdit>(columns, "Edit1");
        auto *up = Named<QPushButton>(columns, "UpButton", QStringLiteral("▲"));
        auto *down = Named<QPushButton>(columns, "DownButton", QStringLiteral("▼"));
        countRow->addWidget(Edit1);
        countRow->addWidget(up);
        countRow->addWidget(down);
        // A label of a row of several controls shows its mnemonic only with a buddy.
        auto *countLabel = new QLabel(QStringLiteral("&Количество"), columns);
        countLabel->setBuddy(Edit1);
        cf->addRow(countLabel, countRow);
        E7 = Field(cf, columns, "E7", QStringLiteral("&Промежуток, мм"));
        vl->addWidget(PrevSheet);
        vl->addWidget(columns);
        vl->addStretch();
        tabs->addTab(optionsTab, QStringLiteral("Параметры"));

        layout->addLayout(OkCancelRow(this));

        (in.Landscape ? Landscape : Portrait)->setChecked(true);
        ComB1->setCurrentIndex(PrinterSettings->FindPaperIndex(in.PaperCode));
        E1->setText(in.Width);
        E2->setText(in.Height);
        E3->setText(in.MarginLeft);
        E4->setText(in.MarginTop);
        E5->setText(in.MarginRight);
        E6->setText(in.MarginBottom);
        DontUse->setChecked(in.DontUseMargins);
        PrevSheet->setChecked(in.PrintOnPreviousSheet);
        Edit1->setText(in.ColumnCount);
        E7->setText(in.ColumnGap);
        Rules();
        connect(ComB1, &QComboBox::currentIndexChanged, this, [this] { Rules(); });
        connect(DontUse, &QCheckBox::toggled, this, [this] { Rules(); });
        connect(Portrait, &QRadioButton::toggled, this, [this] { Rules(); });
        connect(up, &QPushButton::clicked, this, [this] { StepColumns(+1); });
        connect(down, &QPushButton::clicked, this, [this] { StepColumns(-1); });
    }

    int ChosenPaperCode() const
    {
        const int i = ComB1->currentIndex();
        return i >= 0 && i < PrinterSettings->PaperCodeCount ? PrinterSettings->PaperCodes[i] : 9;
    }

    TPageOptionsInput Input() const
    {
        TPageOptionsInput in;
        in.Landscape = Landscape->isChecked();
        in.PaperCode = ChosenPaperCode();
        in.Width = E1->text();
        in.Height = E2->text();
        in.MarginLeft = E3->text();
        in.MarginTop = E4->text();
        in.MarginRight = E5->text();
        in.MarginBottom = E6->text();
        in.DontUseMargins = DontUse->isChecked();
        in.PrintOnPreviousSheet = PrevSheet->isChecked();
        in.ColumnCount = Edit1->text();
        in.ColumnGap = E7->text();
        return in;
    }

    QRadioButton *Portrait, *Landscape;
    QComboBox *ComB1;
    QLineEdit *E1, *E2, *E3, *E4, *E5, *E6, *E7, *Edit1;
    QCheckBox *DontUse, *PrevSheet;

private:
    void Rules()
    {
        m_picture->setPixmap(Glyph(Landscape->isChecked() ? TGlyph::LandscapePage : TGlyph::PortraitPage));
        const bool custom = ChosenPaperCode() == CustomPaperCode;
        EnableRow(m_sizeForm, E1, custom);
        EnableRow(m_sizeForm, E2, custom);
        for (QLineEdit *e : {E3, E4, E5, E6})
            EnableRow(m_marginForm, e, !DontUse->isChecked());
    }
    void StepColumns(int step)
    {
        bool ok = false;
        const int n = Edit1->text().toInt(&ok);
        if (!ok) {
            ShowIntegerError(Edit1->text());
            return;
        }
        Edit1->setText(QString::number(std::max(0, n + step)));
    }

    QLabel *m_picture;
    QFormLayout *m_sizeForm, *m_marginForm;
};
} // namespace

bool EditPageOptions(TfrPage &page, QWidget *parent)
{
    TfrPgoptForm form(page, parent);
    if (form.exec() != QDialog::Accepted)
        return false;
    if (!ApplyPageOptions(form.Input(), page)) {
        ShowIntegerError(form.Edit1->text());
        return false;
    }
    if (TfrReportDesigner *designer = ReportDesigner())
        designer->Modified = true;
    return true;
}
