// The scheme's dialogs on a main window: printing into PDF, seams, scheme
// properties, object search and branch selection.
#include "model/branch_values.h"
#include "model/scheme_file.h"
#include "platform/prompt.h"
#include "platform/ui/current_printer.h"
#include "scheme/ui/scheme_paint_box.h"
#include "shell/scheme_storage.h"
#include "shell/ui/frm_br_select.h"
#include "shell/ui/frm_find.h"
#include "shell/ui/frm_main.h"
#include "shell/ui/frm_mine_layers.h"
#include "shell/ui/frm_print_scheme.h"
#include "shell/ui/frm_property.h"
#include "shell/ui/xq_edit.h"
#include "main_window_fixture.h"
#include "modal.h"

#include <gtest/gtest.h>

#include <QtCore/QRegularExpression>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtGui/QKeyEvent>
#include <QtPrintSupport/QPrinter>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>

namespace {

class SchemeDialogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Config.isValid());
        qputenv("TUNVEX_CONFIG_DIR", Config.path().toUtf8());
        ClearAllItems(Net);
    }
    void TearDown() override { ClearAllItems(Net); }

    // A main window on a scheme of branches 1..count, branch n from node n to
    // node n + 1 along a zigzag unless the points are given.
    std::unique_ptr<TfrmMain> Open(int count, const std::vector<TPoint> &points = {})
    {
        std::vector<TPoint> nodes = points;
        for (int n = int(nodes.size()) + 1; n <= count + 1; ++n)
            nodes.push_back({n * 100, 100 + (n % 2) * 50});
        std::vector<TTestBranch> branches;
        for (int n = 1; n <= count; ++n)
            branches.push_back({n, n + 1});
        File = Folder.filePath(QStringLiteral("a.mine"));
        EXPECT_TRUE(WriteTestScheme(File, nodes, branches));
        return OpenFile(File);
    }

    std::unique_ptr<TfrmMain> OpenFile(const QString &file)
    {
        auto w = OpenShownMainWindow(file, Folder.path());
        EXPECT_FALSE(w->Document().Modified());
        return w;
    }

    static void Type(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->clear();
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &press);
        }
    }

    QTemporaryDir Config;
    QTemporaryDir Folder;
    QString File;
    TScriptedPrompt Prompt;
};

TfrmFind *FindDialog()
{
    return qobject_cast<TfrmFind *>(QApplication::activeModalWidget());
}

int PdfPageCount(const QString &file)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QString text = QString::fromLatin1(f.readAll());
    return int(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

} // namespace

TEST_F(SchemeDialogsTest, TheSamplePrintsIntoPdfOnTwoByTwoPagesAndTheViewComesBack)
{
    auto w = OpenFile(QStringLiteral(TUNVEX_SOURCE_DIR "/data/Шахты/Демо.mine"));
    w->Options().GridIsOn = true;
    w->Redraw();
    const TViewport before = w->View();
    const QImage screen = w->PaintBox()->Image().copy();

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = Folder.filePath(QStringLiteral("scheme.pdf"));
    QString proposed;
    const auto chooser = std::exchange(ChooseSchemePdfFile, [&](QWidget *, const QString &file) {
        proposed = file;
        return pdf;
    });
    TfrmPrintScheme dialog(*w, printer);
    EXPECT_TRUE(dialog.rbtnUseSheets->isChecked());
    dialog.xqeReqPagesByX->setText(QStringLiteral("2"));
    dialog.xqeReqPagesByY->setText(QStringLiteral("2"));
    const TQtSchemePrinter device(printer);
    EXPECT_EQ(dialog.lblSizeBecome->text(), QStringLiteral("Что составит область печати размером %1 x %2 мм")
                                                .arg(2 * device.HorzSize())
                                                .arg(2 * device.VertSize()));
    // The sample's sheet is wider than high: landscape paper.
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    dialog.btnOk->click();
    ChooseSchemePdfFile = chooser;

    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(proposed, QStringLiteral(TUNVEX_SOURCE_DIR "/data/Шахты/Шахта «Демонстрационная».pdf"));
    EXPECT_EQ(PdfPageCount(pdf), 4);
    EXPECT_EQ(w->DrawTarget(), dtScreen);
    EXPECT_EQ(w->DrawCanvas(), nullptr);
    EXPECT_EQ(w->View().Zoom, before.Zoom);
    EXPECT_EQ(w->View().ZoomStep, before.ZoomStep);
    EXPECT_EQ(w->View().ScrollX, before.ScrollX);
    EXPECT_EQ(w->View().ScrollY, before.ScrollY);
    EXPECT_EQ(w->PaintBox()->Image(), screen);
    EXPECT_TRUE(Prompt.Asked.empty());
}

// A PDF in a folder that is not there, or one that cannot be written: the
// user is told the file, and the dialog stays open with nothing printed.
TEST_F(SchemeDialogsTest, APdfThatCannotBeWrittenIsNamed)
{
    auto w = Open(3);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    for (const QString &pdf : {Folder.filePath(QStringLiteral("нет/scheme.pdf")), QStringLiteral("/proc/scheme.pdf")}) {
        SCOPED_TRACE(pdf.toStdString());
        Prompt.Asked.clear();
        const auto chooser = std::exchange(ChooseSchemePdfFile, [&](QWidget *, const QString &) { return pdf; });
        TfrmPrintScheme dialog(*w, printer);
        dialog.btnOk->click();
        ChooseSchemePdfFile = chooser;
        ASSERT_EQ(Prompt.Asked.size(), 1u);
        EXPECT_TRUE(Prompt.Asked[0].Text.startsWith(QStringLiteral("Ошибка печати: файл \"%1\"").arg(pdf)))
            << Prompt.Asked[0].Text.toStdString();
        EXPECT_FALSE(QFile::exists(pdf));
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(w->DrawTarget(), dtScreen);
    }
}

TEST_F(SchemeDialogsTest, PrintingRefusesASizeBelowOne)
{
    auto w = Open(3);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = Folder.filePath(QStringLiteral("none.pdf"));
    printer.setOutputFileName(pdf);
    TfrmPrintScheme dialog(*w, printer);
    const TQtSchemePrinter device(printer);
    dialog.rbtnSizeRequired->setChecked(true);
    dialog.xqeReqX->setText(QString::number(3 * device.HorzSize()));
    dialog.xqeReqY->setText(QString::number(device.VertSize() + 1));
    EXPECT_EQ(dialog.lblSheetsRequared->text(), QStringLiteral("Для чего потребуется 3 x 2 = 6 лист(-а, -ов) бумаги"));
    dialog.xqeReqY->setText(QStringLiteral("0"));
    dialog.btnOk->click();
    dialog.rbtnUseSheets->setChecked(true);
    dialog.xqeReqPagesByX->setText(QStringLiteral("0"));
    dialog.btnOk->click();
    ASSERT_EQ(Prompt.Asked.size(), 2u);
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_NE(dialog.result(), QDialog::Accepted);
}

TEST_F(SchemeDialogsTest, SeamsAddDeleteAndAssign)
{
    auto w = Open(6);
    TSchemeDocument &doc = w->Storage().Doc;
    doc.Layers = {{QStringLiteral("A"), 1}, {QStringLiteral("B"), 2}, {QStringLiteral("C"), 3}};
    for (int n = 1; n <= 6; ++n)
        Net.BranchLayer[n] = static_cast<std::uint8_t>((n - 1) % 3);

    {   // Nothing changed: the flag stays; a name of spaces adds nothing.
        TfrmMineLayers dialog(*w);
        EXPECT_EQ(dialog.lbMineLayers->currentRow(), 0);
        EXPECT_EQ(dialog.SwatchColor(), TColor(1));
        dialog.cbxMineLayers->setText(QStringLiteral("   "));
        dialog.btnAddLayer->click();
        EXPECT_EQ(dialog.lbMineLayers->count(), 3);
        dialog.btnOk->click();
        EXPECT_FALSE(w->Document().Modified());
    }
    {   // Cancel keeps everything.
        TfrmMineLayers dialog(*w);
        dialog.btnDeleteLayer->click();
        dialog.btnCancel->click();
        EXPECT_EQ(doc.Layers.size(), 3u);
    }
    {   // Deleting the second seam: the third's branches follow it to 1, the second's go to 0.
        TfrmMineLayers dialog(*w);
        dialog.lbMineLayers->setCurrentRow(1);
        dialog.btnDeleteLayer->click();
        EXPECT_EQ(dialog.lbMineLayers->currentRow(), 0);
        dialog.cbxMineLayers->setText(QStringLiteral("D"));
        dialog.btnAddLayer->click();
        dialog.btnOk->click();
        EXPECT_TRUE(w->Document().Modified());
        ASSERT_EQ(doc.Layers.size(), 3u);
        EXPECT_EQ(doc.Layers[1].Name, QStringLiteral("C"));
        EXPECT_EQ(doc.Layers[2].Name, QStringLiteral("D"));
        const int expected[] = {0, 0, 1, 0, 0, 1};
        for (int n = 1; n <= 6; ++n)
            EXPECT_EQ(Net.BranchLayer[n], expected[n - 1]) << n;
    }
    w->SetModified(false);
    {   // Selected branches go to the chosen seam.
        SelectBranch(Net, w->Document().BranchColors, 2);
        SelectBranch(Net, w->Document().BranchColors, 5);
        TfrmMineLayers dialog(*w);
        dialog.lbMineLayers->setCurrentRow(2);
        dialog.btnOk->click();
        EXPECT_TRUE(w->Document().Modified());
        EXPECT_EQ(Net.BranchLayer[2], 2);
        EXPECT_EQ(Net.BranchLayer[5], 2);
        EXPECT_EQ(Net.BranchLayer[3], 1);
    }
}

TEST_F(SchemeDialogsTest, PropertiesCheckTheSheetBeforeStoringAnything)
{
    // Nodes at (1, 1) and (999, 499): bounds (0, 0)-(1000, 500).
    auto w = Open(1, {{1, 1}, {999, 499}});
    TMineProperties &p = w->Storage().Doc.MineProperties;
    p.MineName = QStringLiteral("Проба");
    {
        TfrmProperty dialog(*w);
        EXPECT_EQ(dialog.lblMineFile->text(), QStringLiteral("a.mine"));
        EXPECT_EQ(dialog.lblNodesCount->text(), QStringLiteral("2"));
        EXPECT_EQ(dialog.lblBranceCount->text(), QStringLiteral("1"));
        EXPECT_EQ(dialog.lblMaxItemsCount->text(), QStringLiteral("5000"));
        dialog.xqeMineName->setText(QStringLiteral("Другое"));
        dialog.xqeSizeX->setText(QStringLiteral("12a"));
        dialog.btnOk->click();
        ASSERT_EQ(Prompt.Asked.size(), 1u);
        dialog.btnCancel->click();
        EXPECT_EQ(p.MineName, QStringLiteral("Проба"));
        EXPECT_FALSE(w->Document().Modified());
    }
    {
        TfrmProperty dialog(*w);
        dialog.xqeMineName->setText(QString(70, u'Ш'));
        dialog.xqeSizeX->setText(QStringLiteral("2000"));
        dialog.xqeSizeY->setText(QStringLiteral("400"));
        dialog.btnOk->click();
        ASSERT_EQ(Prompt.Asked.size(), 2u);
        EXPECT_EQ(Prompt.Asked[1].Caption, QStringLiteral("Размер листа меньше размера шахты"));
        EXPECT_EQ(Prompt.Asked[1].Text, QStringLiteral("Установленный размер листа (0, 0)-(2000, 400) меньше минимального "
                                                       "размера схемы шахты.Будет принят минимальный размер шахты."));
        EXPECT_EQ(std::make_pair(p.SheetWidth, p.SheetHeight), std::make_pair(1010, 505));
        EXPECT_EQ(dialog.xqeSizeX->text(), QStringLiteral("1010"));
        EXPECT_EQ(p.MineName, QString(63, u'Ш'));
    }
    w->SetModified(false);
    {   // Confirming without a change still marks the document modified.
        TfrmProperty dialog(*w);
        dialog.btnOk->click();
        EXPECT_TRUE(w->Document().Modified());
        EXPECT_EQ(Prompt.Asked.size(), 2u);
    }
}

TEST_F(SchemeDialogsTest, FindListsBranchesAndFollowsTheTypedName)
{
    EXPECT_EQ(FindListEntry(QString(60, u'я'), 12), QString(47, u'я') + QStringLiteral("...  (N12)"));
    EXPECT_EQ(FindListEntry(QStringLiteral("Штрек"), 3), QStringLiteral("Штрек").leftJustified(50) + QStringLiteral("  (N3)"));
    EXPECT_EQ(FindListEntry(QString(), 4).left(50), DefaultBranchName.leftJustified(50));

    auto w = Open(4);
    Net.BranchName[1] = QStringLiteral("Штрек");
    Net.BranchName[2] = QStringLiteral("Лава");
    Net.BranchName[3] = QStringLiteral("штрек");
    Net.BranchName[4] = QStringLiteral("Уклон");
    TfrmFind dialog(*w);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    EXPECT_EQ(dialog.lbBranches->count(), 4);
    EXPECT_EQ(dialog.Label2->text(), QStringLiteral("Всего ветвей 4"));

    Type(dialog.edFirstLetters, QStringLiteral("ШТ"));
    EXPECT_EQ(dialog.Mode(), fmBranch);
    EXPECT_TRUE(dialog.OKBtn->isEnabled());
    EXPECT_TRUE(dialog.lbBranches->currentItem()->text().startsWith(QStringLiteral("Штрек"), Qt::CaseInsensitive));
    const int found = dialog.edBranch->text().toInt();
    EXPECT_TRUE(found == 1 || found == 3);
    Type(dialog.edFirstLetters, QStringLiteral("Ук"));
    EXPECT_EQ(dialog.edBranch->text(), QStringLiteral("4"));
    Type(dialog.edFirstLetters, QStringLiteral("Ъ"));
    EXPECT_EQ(dialog.edBranch->text(), QString());
    EXPECT_FALSE(dialog.OKBtn->isEnabled());
    EXPECT_EQ(dialog.lbBranches->currentRow(), -1);
    // An empty name matches the first entry.
    dialog.edFirstLetters->setText(QStringLiteral("x"));
    QTest::keyClick(dialog.edFirstLetters, Qt::Key_Backspace);
    EXPECT_EQ(dialog.lbBranches->currentRow(), 0);
    EXPECT_EQ(dialog.edBranch->text(), QStringLiteral("2"));

    // The number drives the list and the name.
    Type(dialog.edBranch, QStringLiteral("4"));
    EXPECT_EQ(dialog.edFirstLetters->text(), QStringLiteral("Уклон"));
    EXPECT_EQ(dialog.lbBranches->currentItem()->data(Qt::UserRole).toInt(), 4);
    Type(dialog.edBranch, QStringLiteral("9"));
    EXPECT_FALSE(dialog.OKBtn->isEnabled());
    EXPECT_EQ(dialog.edFirstLetters->text(), QString());

    // A PLA position no branch has keeps OK disabled.
    Net.BranchPLAPosition[2] = 7;
    Type(dialog.xqePLAPos, QStringLiteral("8"));
    EXPECT_EQ(dialog.Mode(), fmPLA);
    EXPECT_FALSE(dialog.OKBtn->isEnabled());
    EXPECT_FALSE(dialog.bbtnProperty->isEnabled());
    Type(dialog.xqePLAPos, QStringLiteral("7"));
    EXPECT_TRUE(dialog.OKBtn->isEnabled());

    Type(dialog.edNode, QStringLiteral("zz"));
    ASSERT_FALSE(Prompt.Asked.empty());
    EXPECT_EQ(Prompt.Asked.back().Text, QStringLiteral("Диапазон допустимых номеров ветвей и узлов 1-5000"));
    EXPECT_FALSE(dialog.OKBtn->isEnabled());
}

TEST_F(SchemeDialogsTest, FindCentresOnABranchSelectsItAndMarksThePoint)
{
    auto w = Open(4);
    TfrmFind dialog(*w);
    dialog.SetMode(fmBranch);
    dialog.edBranch->setText(QStringLiteral("3"));
    dialog.OKBtn->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(IsBranchSelected(Net, 3));
    const int start = Net.BranchStartNode[3];
    const int sx = w->ScreenX(Net.NodeX[start]);
    const int sy = w->ScreenY(Net.NodeY[start]);
    EXPECT_NEAR(sx, 400, 1);
    EXPECT_NEAR(sy, 300, 1);
    int red = 0;
    for (int x = sx - 2; x <= sx + 2; ++x)
        for (int y = sy - 2; y <= sy + 2; ++y)
            red += w->PaintBox()->Image().pixelColor(x, y) == QColor(Qt::red);
    EXPECT_GT(red, 0);
}

TEST_F(SchemeDialogsTest, PickersReturnTheChoiceOrMinusOneWithoutMovingTheView)
{
    auto w = Open(4);
    const TViewport before = w->View();
    QString text;
    WhenModal([] { FindDialog()->CancelBtn->click(); });
    EXPECT_EQ(PickBranch(w.get(), text), -1);
    EXPECT_EQ(w->View().ScrollX, before.ScrollX);
    EXPECT_EQ(w->View().ScrollY, before.ScrollY);

    WhenModal([] {
        TfrmFind *find = FindDialog();
        ASSERT_NE(find, nullptr);
        EXPECT_FALSE(find->edNode->isEnabled());
        EXPECT_EQ(find->OKBtn->text(), QStringLiteral("Ok"));
        find->edBranch->setText(QStringLiteral("2"));
        find->OKBtn->click();
    });
    EXPECT_EQ(PickBranch(w.get(), text), 2);
    EXPECT_EQ(text, QStringLiteral("2"));

    WhenModal([] {
        TfrmFind *find = FindDialog();
        ASSERT_NE(find, nullptr);
        EXPECT_FALSE(find->edBranch->isEnabled());
        find->edNode->setText(QStringLiteral("5"));
        find->OKBtn->click();
    });
    EXPECT_EQ(PickNode(w.get()), 5);
}

TEST_F(SchemeDialogsTest, BranchSelectionByTypesOrAll)
{
    auto w = Open(5);
    const int types[] = {0, 7, 2, 7, 5};  // "Выработка" 0, "Лава" 7
    for (int n = 1; n <= 5; ++n)
        Net.BranchType[n] = static_cast<std::uint8_t>(types[n - 1]);
    ASSERT_EQ(GetBranchTypeList().value(0), QStringLiteral("Выработка"));
    ASSERT_EQ(GetBranchTypeList().value(7), QStringLiteral("Лава"));

    TfrmBrSelect dialog;
    std::vector<bool> flags(TableSize, false);
    dialog.rbByTypes->setChecked(true);
    dialog.lbBrTypes->item(0)->setSelected(true);
    dialog.lbBrTypes->item(7)->setSelected(true);
    dialog.ApplySelection(flags);
    std::vector<bool> expected(TableSize, false);
    for (int n : {1, 2, 4})
        expected[std::size_t(n)] = true;
    EXPECT_EQ(flags, expected);

    dialog.rbAll->setChecked(true);
    dialog.ApplySelection(flags);
    EXPECT_EQ(std::count(flags.begin(), flags.end(), true), 5);
    EXPECT_FALSE(flags[6]);
    EXPECT_FALSE(dialog.rbNumbers->isEnabled());

    std::vector<bool> untouched(TableSize, false);
    untouched[3] = true;
    WhenModal([] { qobject_cast<TfrmBrSelect *>(QApplication::activeModalWidget())->CancelBtn->click(); });
    EXPECT_FALSE(dialog.SelectBranches(untouched));
    EXPECT_EQ(std::count(untouched.begin(), untouched.end(), true), 1);
}
