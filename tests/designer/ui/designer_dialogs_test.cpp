#include "../designer_fixture.h"
#include "designer/dialog_rules.h"
#include "designer/ui/color_selector.h"
#include "designer/ui/designer_dialogs.h"
#include "platform/prompt.h"
#include "platform/ui/file_dialogs.h"
#include "report/report_page.h"

#include <QtCore/QBuffer>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtGui/QImage>
#include <QtTest/QTest>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QDialog>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>

#include <gtest/gtest.h>

namespace {
class TCountingDesigner : public TfrReportDesigner
{
public:
    int Undos = 0;
    void AddToolItem(const QString &, const QVariant &, const std::function<void()> &) override {}
    void AddObjectButton(const QVariant &, const QString &, int) override {}
    void RecordUndoModify() override { ++Undos; }
    void RedrawSelection() override {}
    void ShowModal() override {}
    QString ComponentName() const override { return {}; }
    void SetComponentName(const QString &) override {}
    std::unique_ptr<TfrReportDesigner> CreateAnother() const override { return nullptr; }
};

// Drives the next modal dialog and closes it when the driving left it open;
// dialogs opened from it are driven by their own OnModal, so that closing
// them leaves this one to its driver.
void OnModal(std::function<void()> drive)
{
    QTimer::singleShot(0, [drive = std::move(drive)] {
        QWidget *mine = QApplication::activeModalWidget();
        drive();
        if (auto *dialog = qobject_cast<QDialog *>(mine); dialog && dialog->isVisible())
            dialog->reject();
    });
}

template <class T> T *Child(const char *name)
{
    QWidget *modal = QApplication::activeModalWidget();
    return modal ? modal->findChild<T *>(QString::fromLatin1(name)) : nullptr;
}

void Accept() { qobject_cast<QDialog *>(QApplication::activeModalWidget())->accept(); }

void ChooseRow(QListWidget *list, const QString &text)
{
    const auto items = list->findItems(text, Qt::MatchExactly);
    ASSERT_FALSE(items.isEmpty()) << text.toStdString();
    list->setCurrentItem(items.front());
}

struct TDialogFixture : TDesignerFixture
{
    TCountingDesigner Designer;
    TfrUserDataset Records;
    TDialogFixture()
    {
        Records.Name = "Records";
        Engine().Components.Register("Form1", &Records);
        Engine().ReportDesignerInstance = &Designer;
        SetCurrentDocument(&Report);
        Report.VariableLines = {"Главные", " Шахта", " Дата замера"};
    }
    ~TDialogFixture()
    {
        SetCurrentDocument(nullptr);
        Engine().ReportDesignerInstance = nullptr;
    }
};

// Opens the text editor on the memo, runs `drive` in it and closes it.
bool InEditor(TfrMemoView &memo, const std::function<void()> &drive)
{
    OnModal(drive);
    return EditObjectText({&memo}, nullptr);
}
} // namespace

TEST(TextEditor, InsertsReferencesThroughTheClipboard)
{
    TDialogFixture f;
    TfrMemoView memo;
    struct Case
    {
        QString Source, Item, Expected;
    };
    const Case cases[] = {{OtherVariablesName, "Всего страниц", "[TOTALPAGES]"},
                          {"Orders", "Client", "[Orders.\"Client\"]"},
                          {"Orders", "[Нет]", ""}};
    for (const Case &c : cases) {
        memo.Lines.clear();
        EXPECT_TRUE(InEditor(memo, [&] {
            OnModal([&] {
                auto *combo = Child<QComboBox>("ValCombo");
                ASSERT_TRUE(combo);
                combo->setCurrentIndex(combo->findText(c.Source));
                ChooseRow(Child<QListWidget>("ValList"), c.Item);
                Accept();
            });
            Child<QPushButton>("FieldButton")->click();
            Accept();
        }));
        EXPECT_EQ(memo.Lines.join(""), c.Expected) << c.Item.toStdString();
    }
}

TEST(TextEditor, VariablePickerCancelKeepsTheClipboard)
{
    TDialogFixture f;
    TfrMemoView memo;
    QGuiApplication::clipboard()->setText("kept");
    InEditor(memo, [&] {
        OnModal([] { qobject_cast<QDialog *>(QApplication::activeModalWidget())->reject(); });
        Child<QPushButton>("VarButton")->click();
        Accept();
    });
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "kept");
    EXPECT_TRUE(memo.Lines.isEmpty());

    InEditor(memo, [&] {
        OnModal([] {
            ChooseRow(Child<QListWidget>("Variables"), "Шахта");
            Accept();
        });
        Child<QPushButton>("VarButton")->click();
        Accept();
    });
    EXPECT_EQ(memo.Lines, QStringList{"[Шахта]"});
}

TEST(TextEditor, CtrlEnterStoresOnceEscapeNothingSeveralNotOpened)
{
    TDialogFixture f;
    TfrMemoView memo;
    memo.Lines = {"old"};
    InEditor(memo, [] {
        Child<QPlainTextEdit>("M1")->setPlainText("a\nb");
        Child<QPlainTextEdit>("M2")->setPlainText("x := 1;");
        QTest::keyClick(Child<QPlainTextEdit>("M1"), Qt::Key_Return, Qt::ControlModifier);
    });
    EXPECT_EQ(memo.Lines, (QStringList{"a", "b"}));
    EXPECT_EQ(memo.ScriptLines, QStringList{"x := 1;"});
    EXPECT_EQ(f.Designer.Undos, 1);

    EXPECT_FALSE(InEditor(memo, [] {
        Child<QPlainTextEdit>("M1")->setPlainText("changed");
        QTest::keyClick(Child<QPlainTextEdit>("M1"), Qt::Key_Escape);
    }));
    EXPECT_EQ(memo.Lines, (QStringList{"a", "b"}));
    EXPECT_EQ(f.Designer.Undos, 1);

    TfrMemoView other;
    EXPECT_FALSE(EditObjectText({&memo, &other}, nullptr));
}

TEST(FormatDialog, NumberPanelSeparatorAndPattern)
{
    TDialogFixture f;
    TfrMemoView memo;
    memo.DisplayFormat = 0x0102022C;
    OnModal([] {
        EXPECT_EQ(Child<QListWidget>("CategoryList")->currentItem()->text(), "Число");
        EXPECT_EQ(Child<QListWidget>("KindList")->currentItem()->text(), "1 234,5");
        EXPECT_EQ(Child<QLineEdit>("Edit3")->text(), "2");
        EXPECT_EQ(Child<QLineEdit>("SplEdit")->text(), ",");
        EXPECT_FALSE(Child<QWidget>("PatternPanel")->isVisibleTo(QApplication::activeModalWidget()));
        Child<QLineEdit>("SplEdit")->clear();
        QTest::keyClicks(Child<QLineEdit>("SplEdit"), ".");
        Accept();
    });
    EXPECT_TRUE(EditDisplayFormat(memo, nullptr));
    EXPECT_EQ(memo.DisplayFormat, 0x0102022E);

    OnModal([] {
        Child<QListWidget>("CategoryList")->setCurrentRow(2);
        Child<QListWidget>("KindList")->setCurrentRow(4);
        QWidget *form = QApplication::activeModalWidget();
        EXPECT_TRUE(Child<QWidget>("PatternPanel")->isVisibleTo(form));
        EXPECT_FALSE(Child<QWidget>("NumberPanel")->isVisibleTo(form));
        Child<QLineEdit>("Edit1")->setText("dd.mm");
        Accept();
    });
    EXPECT_TRUE(EditDisplayFormat(memo, nullptr));
    EXPECT_EQ(FormatCode::Category(memo.DisplayFormat), 2);
    EXPECT_EQ(FormatCode::Kind(memo.DisplayFormat), 4);
    EXPECT_EQ(memo.FormatText, "dd.mm");
}

TEST(HighlightDialog, TransparentStoresNoColour)
{
    TDialogFixture f;
    TfrMemoView memo;
    memo.HighlightAttrs.FillColor = 0x00FF00;
    memo.HighlightAttrs.FontStyle = 0x10 | 2;
    OnModal([] {
        EXPECT_TRUE(Child<QRadioButton>("OtherRB")->isChecked());
        EXPECT_TRUE(Child<QPushButton>("FillColorButton")->isEnabled());
        Child<QRadioButton>("TransparentRB")->setChecked(true);
        EXPECT_FALSE(Child<QPushButton>("FillColorButton")->isEnabled());
        Child<QCheckBox>("ItalicCB")->setChecked(true);
        Child<QLineEdit>("Edit1")->setText("Value > 0");
        Accept();
    });
    EXPECT_TRUE(EditHighlight(memo, nullptr));
    EXPECT_EQ(memo.HighlightAttrs.FillColor, 0x1FFFFFFF);
    EXPECT_EQ(memo.HighlightAttrs.FontStyle, 0x10 | 3);
    EXPECT_EQ(memo.HighlightCondition, "Value > 0");
}

TEST(PageOptionsDialog, ShowsMillimetresAndRefusesABadColumnCount)
{
    TDialogFixture f;
    TfrPage page(9, 0, 0, 0);
    page.MarginLeft = page.MarginTop = page.MarginRight = page.MarginBottom = 36;
    OnModal([] {
        // A label shows its "&" as a mnemonic only when it has a control to lead to.
        for (const QLabel *label : QApplication::activeModalWidget()->findChildren<QLabel *>())
            if (label->text().contains(u'&'))
                EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
        EXPECT_EQ(Child<QLineEdit>("E3")->text(), "10");
        EXPECT_GT(Child<QComboBox>("ComB1")->count(), 1) << "an A4 page offers the papers";
        EXPECT_FALSE(Child<QLineEdit>("E1")->isEnabled());
        Child<QLineEdit>("E3")->setText("11");
        Accept();
    });
    EXPECT_TRUE(EditPageOptions(page, nullptr));
    EXPECT_EQ(page.MarginLeft, 39);
    EXPECT_EQ(page.PaperCode, 9);

    TScriptedPrompt prompt;
    OnModal([] {
        Child<QLineEdit>("Edit1")->setText("two");
        Child<QRadioButton>("LandscapeRB")->setChecked(true);
        Accept();
    });
    EXPECT_FALSE(EditPageOptions(page, nullptr));
    EXPECT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(page.Orientation, 0);
    EXPECT_EQ(page.MarginLeft, 39);
}

TEST(BandTypeDialog, DisablesSingleBandsOnlyAndDesignerGridFallsBackTo18)
{
    TDialogFixture f;
    TfrPage page(9, 0, 0, 0);
    auto band = std::make_unique<TfrBandView>();
    band->SetBandType(btPageHeader);
    page.TemplateObjects.push_back(std::move(band));
    OnModal([] {
        EXPECT_FALSE(Child<QRadioButton>("BandType2")->isEnabled());
        EXPECT_TRUE(Child<QRadioButton>("BandType5")->isEnabled());
        EXPECT_TRUE(Child<QRadioButton>("BandType0")->isChecked());
        Child<QRadioButton>("BandType5")->click();
        Accept();
    });
    EXPECT_EQ(ChooseBandType(page, nullptr), btMasterData);

    TDesignerOptions options;
    options.GridSize = 6;
    OnModal([] {
        for (const char *name : {"Grid4RB", "Grid8RB", "Grid18RB"})
            EXPECT_FALSE(Child<QRadioButton>(name)->isChecked()) << name;
        Accept();
    });
    EXPECT_TRUE(EditDesignerOptions(options, nullptr));
    EXPECT_EQ(options.GridSize, 18);
}

TEST(ColorSelector, PressesPaletteButtonsAndKeepsOpenOnCancel)
{
    QWidget host;
    host.resize(200, 200);
    host.show();
    TColorSelector selector(&host);
    selector.SetColor(clBlack);
    EXPECT_TRUE(selector.Button(1)->isChecked());
    selector.SetColor(clNone);
    EXPECT_TRUE(selector.Button(16)->isChecked());
    selector.SetColor(0x0080FF);
    EXPECT_TRUE(selector.Button(16)->isChecked());
    EXPECT_FALSE(selector.OtherButton()->icon().isNull());

    int selected = 0;
    selector.OnColorSelected = [&](TColorSelector &) { ++selected; };
    selector.Color = clWhite;
    selector.AskColor = [](TColor &) { return false; };
    selector.show();
    selector.ColorClick(17);
    EXPECT_TRUE(selector.isVisible());
    EXPECT_EQ(selector.Color, clWhite);
    EXPECT_EQ(selected, 0);
    selector.ColorClick(10);
    EXPECT_FALSE(selector.isVisible());
    EXPECT_EQ(selector.Color, 0x0000FF);
    EXPECT_EQ(selected, 1);
}

TEST(TemplateDialogs, ListPreviewAndLoadBack)
{
    TDialogFixture f;
    QTemporaryDir dir;
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    f.Report.TemplatePages.Add();
    f.Report.SaveTemplateFile(dir.filePath("Акт.frt"), {"Акт замера"}, bmp);
    ASSERT_TRUE(QDir(dir.path()).mkdir("x.frt"));

    OnModal([] {
        auto *list = Child<QListWidget>("LB1");
        ASSERT_EQ(list->count(), 1);
        EXPECT_FALSE(Child<QPushButton>("OkButton")->isEnabled());
        list->setCurrentRow(0);
        EXPECT_TRUE(Child<QPushButton>("OkButton")->isEnabled());
        EXPECT_EQ(Child<QPlainTextEdit>("Memo1")->toPlainText(), "Акт замера");
        EXPECT_FALSE(Child<QLabel>("Image1")->pixmap().isNull());
        Accept();
    });
    EXPECT_EQ(ChooseTemplate(dir.path(), nullptr), dir.path() + "/Акт.frt");
}

TEST(VariablesEditor, CancelRestoresAndExpressionField)
{
    TDialogFixture f;
    f.Report.ValueBindings.AddValue("Шахта");
    f.Report.ValueBindings.AddValue("Дата замера");
    OnModal([] {
        ChooseRow(Child<QListWidget>("VarList"), "Шахта");
        auto *combo = Child<QComboBox>("ValCombo");
        combo->setCurrentIndex(combo->findText(OtherVariablesName));
        auto *edit = Child<QLineEdit>("Edit1");
        ChooseRow(Child<QListWidget>("ValList"), "Выражение");
        EXPECT_TRUE(edit->isEnabled());
        edit->setText("1+1");
        ChooseRow(Child<QListWidget>("ValList"), "Дата");
        EXPECT_FALSE(edit->isEnabled());
        EXPECT_TRUE(edit->text().isEmpty());
        Accept();
    });
    EXPECT_TRUE(ShowVariablesEditor(f.Report, nullptr));
    EXPECT_EQ(f.Report.ValueBindings.FindVariable("Шахта")->Kind, TfrValue::kindSpecial);
    EXPECT_EQ(f.Report.ValueBindings.FindVariable("Шахта")->SpecialIndex, svDate);

    const QStringList lines = f.Report.VariableLines;
    OnModal([] {
        ChooseRow(Child<QListWidget>("VarList"), "Шахта");
        auto *combo = Child<QComboBox>("ValCombo");
        combo->setCurrentIndex(combo->findText("Orders"));
        ChooseRow(Child<QListWidget>("ValList"), "Sum");
        OnModal([] {
            Child<QPlainTextEdit>("Memo1")->setPlainText("Главные\n Новая");
            Accept();
        });
        Child<QPushButton>("Button3")->click();
        EXPECT_EQ(Child<QListWidget>("VarList")->count(), 1);
        qobject_cast<QDialog *>(QApplication::activeModalWidget())->reject();
    });
    EXPECT_FALSE(ShowVariablesEditor(f.Report, nullptr));
    EXPECT_EQ(f.Report.VariableLines, lines);
    ASSERT_EQ(f.Report.ValueBindings.Count(), 2);
    EXPECT_EQ(f.Report.ValueBindings.FindVariable("Шахта")->SpecialIndex, svDate);
    EXPECT_EQ(f.Report.ValueBindings.FindVariable("Новая"), nullptr);
}

TEST(BandSourceDialogs, CountsNoneAndCrossBands)
{
    TDialogFixture f;
    TfrBandView band;
    band.FormatText = "25";
    OnModal([] {
        EXPECT_EQ(Child<QComboBox>("CB1")->currentText(), "Виртуальный");
        EXPECT_EQ(Child<QLineEdit>("Edit1")->text(), "25");
        EXPECT_TRUE(Child<QLineEdit>("Edit1")->isEnabled());
        qobject_cast<QDialog *>(QApplication::activeModalWidget())->reject();
    });
    EXPECT_FALSE(EditBandSource(band, nullptr));
    EXPECT_EQ(band.FormatText, "25");

    band.FormatText = "0";
    OnModal([] {
        EXPECT_EQ(Child<QComboBox>("CB1")->currentText(), "[Нет]");
        EXPECT_FALSE(Child<QLineEdit>("Edit1")->isEnabled());
        Accept();
    });
    EXPECT_TRUE(EditBandSource(band, nullptr));
    EXPECT_EQ(band.FormatText, "[Нет]");

    TfrPage page(9, 0, 0, 0);
    for (const auto &[name, kind] : {std::pair{"Title1", btReportTitle}, std::pair{"MasterData1", btMasterData},
                                     std::pair{"DetailData1", btDetailData}, std::pair{"CrossData1", btCrossData}}) {
        auto b = std::make_unique<TfrBandView>();
        b->Name = name;
        b->SetBandType(kind);
        page.TemplateObjects.push_back(std::move(b));
    }
    TfrView &cross = *page.TemplateObjects.back();
    cross.FormatText = "Records";
    OnModal([] {
        EXPECT_EQ(Child<QListWidget>("LB1")->count(), 2);
        EXPECT_EQ(Child<QListWidget>("LB1")->item(0)->text(), "MasterData1: Master data");
        EXPECT_EQ(Child<QComboBox>("CB1")->currentText(), "Records");
        Accept();
    });
    EXPECT_TRUE(EditCrossBandSources(cross, page, nullptr));
    EXPECT_EQ(cross.FormatText, "MasterData1=Records;DetailData1=Records;");

    cross.FormatText = "masterdata1=7;";
    OnModal([] {
        EXPECT_EQ(Child<QLineEdit>("Edit1")->text(), "7");
        Child<QListWidget>("LB1")->setCurrentRow(1);
        EXPECT_EQ(Child<QComboBox>("CB1")->currentText(), "[Нет]");
        Accept();
    });
    EXPECT_TRUE(EditCrossBandSources(cross, page, nullptr));
    EXPECT_EQ(cross.FormatText, "MasterData1=7;DetailData1=0;");

    const QString before = cross.FormatText;
    OnModal([] {
        Child<QComboBox>("CB1")->setCurrentIndex(0);
        qobject_cast<QDialog *>(QApplication::activeModalWidget())->reject();
    });
    EXPECT_FALSE(EditCrossBandSources(cross, page, nullptr));
    EXPECT_EQ(cross.FormatText, before);
}

TEST(TemplateDialogs, SaveAsTemplateGoesToTheFolderAndLoadsBack)
{
    TDialogFixture f;
    QTemporaryDir templates;
    QTemporaryDir picked;
    QImage image(3, 3, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const QString bmp = picked.filePath("logo.bmp");
    ASSERT_TRUE(image.save(bmp, "BMP"));
    f.Report.TemplatePages.Add();
    f.Report.VariableLines = {"Cat", " Var"};
    OnModal([&] {
        Child<QPlainTextEdit>("Memo1")->setPlainText("Сменный\nотчет");
        OnModal([&] {
            QFileDialog *dialog = ShownFileDialog();
            ASSERT_TRUE(dialog);
            dialog->selectFile(bmp);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        Child<QPushButton>("BrowseButton")->click();
        EXPECT_FALSE(Child<QLabel>("Image1")->pixmap().isNull());
        Accept();
    });
    const QString path = SaveReportAsTemplate(f.Report, templates.path(), picked.filePath("shift.frf"), nullptr);
    EXPECT_EQ(path, templates.path() + "/shift.frt");

    TfrReport loaded;
    OnModal([] {
        ChooseRow(Child<QListWidget>("LB1"), "shift");
        EXPECT_EQ(Child<QPlainTextEdit>("Memo1")->toPlainText(), "Сменный\nотчет");
        EXPECT_FALSE(Child<QLabel>("Image1")->pixmap().isNull());
        Accept();
    });
    ASSERT_TRUE(NewReportFromTemplate(loaded, templates.path(), nullptr));
    EXPECT_EQ(loaded.TemplatePages.Count(), 1);
    EXPECT_EQ(loaded.VariableLines, f.Report.VariableLines);
}

TEST(FieldWizard, InsertsTextObjectsForTheChosenFields)
{
    TDialogFixture f;
    TfrPage page(9, 0, 0, 0);
    OnModal([] {
        EXPECT_EQ(Child<QComboBox>("DatasetCB")->currentText(), "Orders");
        auto *fields = Child<QListWidget>("FieldsL");
        ASSERT_EQ(fields->count(), 3);
        fields->item(0)->setSelected(true);
        fields->item(2)->setSelected(true);
        Child<QRadioButton>("VerticalRB")->setChecked(true);
        Accept();
    });
    TWizardOptions options;
    const auto made = InsertDBFields(page, options, "Arial", 10, nullptr);
    ASSERT_EQ(made.size(), 4u);
    EXPECT_EQ(made[0]->Lines, QStringList{"Num"});
    EXPECT_EQ(made[0]->FontStyle, 2);
    EXPECT_EQ(made[1]->Lines, QStringList{"[Orders.\"Num\"]"});
    EXPECT_EQ(made[1]->Left, made[0]->Width + 2 * options.Grid);
    EXPECT_EQ(made[2]->Top, options.ObjectHeight + options.Grid);
    EXPECT_EQ(made[3]->Lines, QStringList{"[Orders.\"Sum\"]"});
    EXPECT_EQ(page.TemplateObjects.size(), 4u);
    EXPECT_NE(made[0]->Name, made[1]->Name);
}
