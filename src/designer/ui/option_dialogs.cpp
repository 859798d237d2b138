// Page, report, band type, group and designer option dialogs.
#include "designer/dialog_rules.h"
#include "designer/ui/designer_dialogs.h"
#include "designer/ui/dialog_helpers.h"
#include "platform/prompt.h"
#include "report/engine.h"
#include "report/printers.h"
#include "report/report.h"
#include "report/report_page.h"

#include <QtWidgets/QAbstractItemView>
#include <QtWidgets/QButtonGroup>
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
        cf->addRow(QStringLiteral("&Количество"), countRow);
        E7 = Field(cf, columns, "E7", QStringLiteral("&Промежуток, мм"));
        vl->addWidget(PrevSheet);
        vl->addWidget(columns);
        vl->addStretch();
        tabs->addTab(optionsTab, QStringLiteral("Параметры"));

        auto *buttons = new QHBoxLayout;
        buttons->addStretch();
        AddOkCancel(this, buttons);
        layout->addLayout(buttons);

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
            ShowMessageBox(QStringLiteral("\"%1\" is not a valid integer value").arg(Edit1->text()),
                           QStringLiteral("Ошибка"), mb::Ok | mb::IconError);
            return;
        }
        Edit1->setText(QString::number(std::max(0, n + step)));
    }

    QLabel *m_picture;
    QFormLayout *m_sizeForm, *m_marginForm;
};

class TfrBandTypesForm : public QDialog
{
public:
    TfrBandTypesForm(const TfrPage &page, QWidget *parent) : QDialog(parent)
    {
        setWindowTitle(QStringLiteral("Новая секция"));
        auto *layout = new QVBoxLayout(this);
        auto *box = new QGroupBox(QStringLiteral("Тип секции"), this);
        box->setMinimumSize(260, 250);
        layout->addWidget(box);
        auto *group = new QButtonGroup(this);
        for (int t = 0; t < btNone; ++t) {
            auto *b = new QRadioButton(Engine().BandTypeNames.value(t), box);
            b->setObjectName(QStringLiteral("BandType%1").arg(t));
            b->move(t <= 10 ? 8 : 130, t <= 10 ? 20 + 20 * t : 20 * t - 200);
            b->setEnabled(BandTypeEnabled(page, t));
            group->addButton(b, t);
        }
        SelectedType = DefaultBandType(page);
        if (QAbstractButton *b = group->button(SelectedType))
            b->setChecked(true);
        connect(group, &QButtonGroup::idClicked, this, [this](int t) { SelectedType = t; });
        auto *buttons = new QHBoxLayout;
        buttons->addStretch();
        AddOkCancel(this, buttons);
        layout->addLayout(buttons);
    }
    int SelectedType;
};

QRadioButton *Radio(QWidget *box, QButtonGroup *group, const char *name, const QString &text, int id)
{
    auto *b = Named<QRadioButton>(box, name, text);
    box->layout()->addWidget(b);
    group->addButton(b, id);
    return b;
}
} // namespace

bool EditPageOptions(TfrPage &page, QWidget *parent)
{
    TfrPgoptForm form(page, parent);
    if (form.exec() != QDialog::Accepted)
        return false;
    if (!ApplyPageOptions(form.Input(), page)) {
        ShowMessageBox(QStringLiteral("\"%1\" is not a valid integer value").arg(form.Edit1->text()),
                       QStringLiteral("Ошибка"), mb::Ok | mb::IconError);
        return false;
    }
    if (TfrReportDesigner *designer = ReportDesigner())
        designer->Modified = true;
    return true;
}

bool EditReportOptions(TfrReport &report, QWidget *parent)
{
    QDialog form(parent);
    form.setWindowTitle(QStringLiteral("Параметры отчета"));
    auto *layout = new QVBoxLayout(&form);
    auto *printerBox = new QGroupBox(QStringLiteral("Принтер"), &form);
    auto *pl = new QVBoxLayout(printerBox);
    auto *printers = Named<QComboBox>(printerBox, "ComB1");
    printers->addItems(PrinterSettings->Printers);
    printers->setCurrentIndex(PrinterSettings->PrinterIndex);
    auto *choose = Named<QCheckBox>(printerBox, "ChooseCB", QStringLiteral("&Выбирать при открытии отчета"));
    choose->setChecked(!report.UseDefaultPrinter);
    pl->addWidget(printers);
    pl->addWidget(choose);
    auto *otherBox = new QGroupBox(QStringLiteral("Прочие"), &form);
    auto *ol = new QVBoxLayout(otherBox);
    auto *twoPass = Named<QCheckBox>(otherBox, "TwoPassCB", QStringLiteral("Делать два &прохода"));
    twoPass->setChecked(report.TwoPassBuild);
    ol->addWidget(twoPass);
    layout->addWidget(printerBox);
    layout->addWidget(otherBox);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    AddOkCancel(&form, buttons);
    layout->addLayout(buttons);
    if (form.exec() != QDialog::Accepted)
        return false;
    report.UseDefaultPrinter = !choose->isChecked();
    report.TwoPassBuild = twoPass->isChecked();
    report.ChangePrinter(PrinterSettings->PrinterIndex, printers->currentIndex());
    if (TfrReportDesigner *designer = ReportDesigner())
        designer->Modified = true;
    return true;
}

int ChooseBandType(const TfrPage &page, QWidget *parent)
{
    TfrBandTypesForm form(page, parent);
    return form.exec() == QDialog::Accepted ? form.SelectedType : -1;
}

bool EditGroupCondition(TfrView &band, QWidget *parent)
{
    QDialog form(parent);
    form.setWindowTitle(QStringLiteral("Группа"));
    auto *layout = new QVBoxLayout(&form);
    auto *label = new QLabel(QStringLiteral("&Условие"), &form);
    auto *row = new QHBoxLayout;
    auto *edit = Named<QLineEdit>(&form, "Edit1");
    edit->setText(band.FormatText);
    label->setBuddy(edit);
    auto *pick = Named<QPushButton>(&form, "FieldButton", QStringLiteral("..."));
    pick->setFlat(true);
    pick->setToolTip(QStringLiteral("Выбор поля БД"));
    QObject::connect(pick, &QPushButton::clicked, &form, [&] {
        bool confirmed = false;
        const QString field = ChooseDBFieldConfirmed(&form, confirmed);
        if (confirmed)
            edit->setText(field);
    });
    row->addWidget(edit);
    row->addWidget(pick);
    layout->addWidget(label);
    layout->addLayout(row);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    AddOkCancel(&form, buttons);
    layout->addLayout(buttons);
    if (form.exec() != QDialog::Accepted)
        return false;
    if (TfrReportDesigner *designer = ReportDesigner())
        designer->RecordUndoModify();
    band.FormatText = edit->text();
    return true;
}

bool EditDesignerOptions(TDesignerOptions &options, QWidget *parent)
{
    QDialog form(parent);
    form.setWindowTitle(QStringLiteral("Опции"));
    auto *layout = new QVBoxLayout(&form);
    auto *tabs = new QTabWidget(&form);
    auto *page = new QWidget(tabs);
    auto *pl = new QGridLayout(page);
    tabs->addTab(page, QStringLiteral("Дизайнер"));
    layout->addWidget(tabs);
    const auto groupBox = [page](const QString &title) {
        auto *box = new QGroupBox(title, page);
        new QVBoxLayout(box);
        return box;
    };
    auto *gridBox = groupBox(QStringLiteral("Сетка"));
    auto *show = Named<QCheckBox>(gridBox, "GridShowCB", QStringLiteral("Показать &сетку"));
    auto *align = Named<QCheckBox>(gridBox, "GridAlignCB", QStringLiteral("&Выравнивать объекты"));
    gridBox->layout()->addWidget(show);
    gridBox->layout()->addWidget(align);
    auto *stepBox = groupBox(QStringLiteral("Шаг сетки"));
    auto *steps = new QButtonGroup(&form);
    Radio(stepBox, steps, "Grid4RB", QStringLiteral("&4 точки"), 4);
    Radio(stepBox, steps, "Grid8RB", QStringLiteral("&8 точек"), 8);
    Radio(stepBox, steps, "Grid18RB", QStringLiteral("&18 точек (5мм)"), 18);
    auto *selBox = groupBox(QStringLiteral("Выделение объекта"));
    auto *sels = new QButtonGroup(&form);
    auto *outline = Radio(selBox, sels, "OutlineRB", QStringLiteral("&Контуром"), 0);
    auto *inverse = Radio(selBox, sels, "InverseRB", QStringLiteral("&Инверсное"), 1);
    auto *unitBox = groupBox(QStringLiteral("Единицы измерения"));
    auto *units = new QButtonGroup(&form);
    Radio(unitBox, units, "PixelsRB", QStringLiteral("&Пикселы"), 0);
    Radio(unitBox, units, "MmRB", QStringLiteral("&Миллиметры"), 1);
    Radio(unitBox, units, "InchesRB", QStringLiteral("&Дюймы"), 2);
    auto *otherBox = groupBox(QStringLiteral("Прочее"));
    auto *colored = Named<QCheckBox>(otherBox, "ColoredCB", QStringLiteral("&Цветные кнопки"));
    auto *editAfter = Named<QCheckBox>(otherBox, "EditAfterCB", QStringLiteral("&Редактирование после вставки"));
    otherBox->layout()->addWidget(colored);
    otherBox->layout()->addWidget(editAfter);
    pl->addWidget(gridBox, 0, 0);
    pl->addWidget(stepBox, 0, 1);
    pl->addWidget(selBox, 1, 0);
    pl->addWidget(unitBox, 1, 1);
    pl->addWidget(otherBox, 2, 0, 1, 2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    AddOkCancel(&form, buttons);
    layout->addLayout(buttons);

    show->setChecked(options.GridShow);
    align->setChecked(options.GridAlign);
    if (QAbstractButton *b = steps->button(GridChoiceOf(options.GridSize)))
        b->setChecked(true);
    (options.InverseOutlines ? inverse : outline)->setChecked(true);
    if (QAbstractButton *b = units->button(options.Units))
        b->setChecked(true);
    colored->setChecked(!options.GrayButtons);
    editAfter->setChecked(options.EditAfterInsert);
    if (form.exec() != QDialog::Accepted)
        return false;
    options.GridShow = show->isChecked();
    options.GridAlign = align->isChecked();
    options.GridSize = GridSizeFromChoice(steps->checkedId());
    options.InverseOutlines = !outline->isChecked();
    options.Units = units->checkedId() == 0 || units->checkedId() == 1 ? units->checkedId() : 2;
    options.GrayButtons = !colored->isChecked();
    options.EditAfterInsert = editAfter->isChecked();
    return true;
}
