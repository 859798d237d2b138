// The fan editor window on the sample mine and on a temporary catalogue: what
// it opens on, the working point behind OK, Cancel, a new type entered through
// the popup menu and saved, its deletion, the chart print and the branch
// dialog's fan button.
#include "calc/ui/fan_commands.h"
#include "calc/ui/frm_edit_fan.h"
#include "calc/ui/frm_print_fan.h"
#include "calc/ui/frm_splein.h"
#include "file_bytes.h"
#include "pdf_printer.h"
#include "calc/solver.h"
#include "model/scheme_file.h"
#include "platform/numbers.h"
#include "platform/prompt.h"
#include "scheme/ui/frm_branch.h"

#include <QtCharts/QChart>
#include <QtCharts/QLineSeries>
#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QRegularExpression>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QSpinBox>
#include <QtWidgets/QPushButton>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

namespace {

const QString SampleFolder = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Вентиляторы/");
const QString MainFan = QStringLiteral("ВЦД-31,5М");

// Answers every name and efficiency prompt with OK, giving the queued names.
struct TPromptAnswerer
{
    QTimer Timer;
    QStringList Titles;
    std::deque<QString> Names;

    TPromptAnswerer()
    {
        Timer.setInterval(5);
        QObject::connect(&Timer, &QTimer::timeout, [this] {
            auto *prompt = qobject_cast<TfrmSplein *>(QApplication::activeModalWidget());
            if (!prompt)
                return;
            Titles << prompt->windowTitle();
            if (!prompt->Edit1->isHidden() && !Names.empty()) {
                prompt->Edit1->setText(Names.front());
                Names.pop_front();
            }
            prompt->btnOk->click();
        });
        Timer.start();
    }
};

// Runs drive inside the editor once it is shown.
void WhenEditorShown(std::function<void(TfrmEditFan &)> drive)
{
    QTimer::singleShot(0, [drive] {
        auto *form = qobject_cast<TfrmEditFan *>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        drive(*form);
        if (form->isVisible())
            form->BitBtn10->click();
    });
}

// The sample mine solved, with the branch of its main fan.
struct TSampleMine
{
    std::unique_ptr<TNetworkTables> Tables = std::make_unique<TNetworkTables>();
    TSchemeDocument Doc;
    int Branch = 0;
    InstalledFan Fan;

    TSampleMine()
    {
        TNetworkTables &t = *Tables;
        ReadMineFile(QStringLiteral(TUNVEX_SOURCE_DIR "/data/Шахты/Демо.mine"), t, Doc);
        CalcAirDistribution(t, MaxBranchNo(t), MaxNodeNo(t), t.BranchNo, t.BranchStartNode, t.BranchEndNode,
                            t.NodeIsSurface, t.BranchR, t.BranchAuxDepression, t.BranchQ);
        for (int i = 0; i < Doc.InstalledFans.Count(); ++i)
            if (Doc.InstalledFans.Item(i).FanName == MainFan)
                Fan = Doc.InstalledFans.Item(i);
        Branch = Fan.Branch;
        FanEditor.Tables = Tables.get();
        FanEditor.Catalogue.Folder = SampleFolder;
    }
};

// The pixel of a flow and pressure on the editor's plot.
QPoint Pixel(double q, double h) { return {PlotX(FanEditor.Plot, q), PlotY(FanEditor.Plot, h)}; }

void AddPointThroughPopup(TfrmEditFan &form, double q, double h)
{
    const QPoint at = Pixel(q, h);
    form.Image1->ShowReadout(at.x(), at.y());
    form.N3->trigger();
}

QStringList ComboTexts(const QComboBox *combo)
{
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

// Scripted answers, with something done when a box is shown (before it is
// answered).
struct THookedPrompt : TScriptedPrompt
{
    std::function<void()> OnAsk;
    int MessageBox(const QString &text, const QString &caption, int flags) override
    {
        if (OnAsk)
            OnAsk();
        return TScriptedPrompt::MessageBox(text, caption, flags);
    }
};

// A type's file that cannot be written while it stands: a folder in its
// place, the file kept aside until the error is shown.
struct TUnwritableTypeFile
{
    QString File, Aside;
    TUnwritableTypeFile(const QString &file, const QString &aside, THookedPrompt &prompt) : File(file), Aside(aside)
    {
        EXPECT_TRUE(QFile::rename(File, Aside));
        EXPECT_TRUE(QDir().mkdir(File));
        prompt.OnAsk = [this, &prompt] {
            prompt.OnAsk = nullptr;
            EXPECT_TRUE(QDir().rmdir(File));
            EXPECT_TRUE(QFile::rename(Aside, File));
        };
    }
};

int PdfPages(const QByteArray &pdf) { return static_cast<int>(pdf.count("/Type /Page\n") + pdf.count("/Type /Page ")); }

} // namespace

TEST(FanEditorWindow, OkOnTheSampleMainFanComputesItsWorkingPoint)
{
    TSampleMine mine;
    ASSERT_GT(mine.Branch, 0);
    ASSERT_EQ(mine.Fan.CurveIndex, 2);
    ASSERT_EQ(mine.Fan.Efficiency, 80);
    TNetworkTables &t = *mine.Tables;
    const double r = t.BranchR[mine.Branch], aux = t.BranchAuxDepression[mine.Branch];

    TScriptedPrompt prompt;
    prompt.Answer(idYes);
    TPromptAnswerer answerer;
    QString title, rangeText, comboText;
    int chosenCurve = -1;
    WhenEditorShown([&](TfrmEditFan &form) {
        title = form.Editor.Title;
        comboText = form.ComboBox4->currentText();
        chosenCurve = form.ComboBox5->currentIndex();
        EXPECT_FALSE(form.Button2->isHidden());
        form.BitBtn7->click();
        rangeText = form.LastWorkingPoint.RangeText;
    });
    QString name = mine.Fan.FanName;
    double a = aux, b = r, q = std::fabs(t.BranchQ[mine.Branch]);
    int curve = mine.Fan.CurveIndex, efficiency = mine.Fan.Efficiency;
    EXPECT_TRUE(EditBranchFan(nullptr, mine.Branch, name, a, b, q, curve, efficiency));

    EXPECT_EQ(title, QStringLiteral("Характеристики вентилятора ВЦД-31,5М"));
    EXPECT_EQ(comboText, MainFan);
    EXPECT_EQ(chosenCurve, 2);
    EXPECT_EQ(answerer.Titles, QStringList{QStringLiteral("Укажите КПД вентилятора")});
    EXPECT_TRUE(rangeText.startsWith(QStringLiteral("Рабочая точка в диапазоне характеристики "))) << rangeText.toStdString();
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("Завершить работу Редактора?"));
    EXPECT_EQ(name, MainFan);
    EXPECT_EQ(curve, 2);
    EXPECT_EQ(efficiency, 80);
    EXPECT_EQ(a, FanEditor.Plot.A);
    EXPECT_EQ(b, FanEditor.Plot.b);
    EXPECT_EQ(q, FanEditor.WorkQ);
    EXPECT_EQ(q, t.BranchQ[mine.Branch]);
    // The fan's parabola meets the network near where the sample has it.
    EXPECT_NEAR(a - b * q * q, aux - r * q * q, 0.1 * (aux - r * q * q));
    EXPECT_EQ(t.BranchR[mine.Branch], r);
    EXPECT_EQ(t.BranchAuxDepression[mine.Branch], aux);
}

TEST(FanEditorWindow, CancelAndAnUnknownFan)
{
    TSampleMine mine;
    TScriptedPrompt prompt;
    {
        WhenEditorShown([](TfrmEditFan &form) {
            form.ComboBox4Click(form.ComboBox4->findText(QStringLiteral("ВМЭ-6")));
            EXPECT_EQ(form.Editor.Catalogue.TypeName, QStringLiteral("ВМЭ-6"));
            form.BitBtn10->click();
        });
        QString name = MainFan;
        double a = 310, b = 0.03, q = 60;
        int curve = 2, efficiency = 80;
        EXPECT_FALSE(EditBranchFan(nullptr, mine.Branch, name, a, b, q, curve, efficiency));
        EXPECT_EQ(name, MainFan);
        EXPECT_EQ(a, 310);
        EXPECT_EQ(b, 0.03);
        EXPECT_EQ(efficiency, 80);
    }
    {
        bool plotHidden = false;
        QString typeText;
        WhenEditorShown([&](TfrmEditFan &form) {
            typeText = form.ComboBox4->currentText();
            plotHidden = form.Image1->isHidden();
        });
        QString name = QStringLiteral("Нет такого");
        double a = 1, b = 2, q = 3;
        int curve = 0, efficiency = 75;
        EXPECT_FALSE(EditBranchFan(nullptr, mine.Branch, name, a, b, q, curve, efficiency));
        EXPECT_EQ(typeText, QStringLiteral("Не определен"));
        EXPECT_TRUE(plotHidden);
    }
    EXPECT_TRUE(prompt.Asked.empty());
}

// The editor works on a copy of the sample catalogue, so a test may write to it.
static QString CopySampleCatalogue(const QTemporaryDir &dir)
{
    const QString folder = dir.path() + u'/';
    for (const QString &file : QDir(SampleFolder).entryList({QStringLiteral("*.Fan")}, QDir::Files))
        EXPECT_TRUE(QFile::copy(SampleFolder + file, folder + file));
    FanEditor.Catalogue.Folder = folder;
    return folder;
}

TEST(FanEditorWindow, ANewTypeEnteredThroughThePopupIsSavedAndDeleted)
{
    TSampleMine mine;
    QTemporaryDir dir;
    const QString folder = CopySampleCatalogue(dir);

    TScriptedPrompt prompt;
    TPromptAnswerer answerer;
    answerer.Names = {QStringLiteral("n=900"), QStringLiteral("Мой-1")};
    QString savedType;
    qint64 savedSize = -1;
    bool deleteShown = false;
    WhenEditorShown([&](TfrmEditFan &form) {
        ASSERT_EQ(form.ComboBox4->count(), 5);
        EXPECT_EQ(form.ComboBox4->itemText(4), QStringLiteral("BНовый № 4"));
        form.ComboBox4Click(4);
        EXPECT_FALSE(form.SpinEdit1->isHidden());
        EXPECT_FALSE(form.BitBtn7->isEnabled());
        EXPECT_EQ(form.ComboBox5->currentText(), QStringLiteral("ХНовая №1"));
        AddPointThroughPopup(form, 20, 400);
        AddPointThroughPopup(form, 40, 350);
        AddPointThroughPopup(form, 60, 250);
        AddPointThroughPopup(form, 80, 100);
        EXPECT_EQ(form.ComboBox3->count(), 4);
        EXPECT_FALSE(form.ComboBox4->isEnabled());
        ASSERT_FALSE(form.BitBtn1->isHidden());
        form.BitBtn1->click();
        savedType = form.ComboBox4->currentText();
        savedSize = QFileInfo(folder + QStringLiteral("Мой-1.Fan")).size();
        deleteShown = !form.BitBtn9->isHidden();
        prompt.Answer(idYes);
        form.BitBtn9->click();
    });
    QString name;
    double a = 1, b = 2, q = 3;
    int curve = 0, efficiency = 75;
    EditBranchFan(nullptr, mine.Branch, name, a, b, q, curve, efficiency);

    EXPECT_EQ(answerer.Titles,
              QStringList({QStringLiteral("Сохранить характеристику как..."), QStringLiteral("Сохранить тип вентилятора как...")}));
    EXPECT_EQ(savedType, QStringLiteral("Мой-1"));
    EXPECT_EQ(savedSize, FanTypeRecordSize);
    EXPECT_TRUE(deleteShown);
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("Удалить Вентилятор Мой-1 ?"));
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("Мой-1.Fan")));
    EXPECT_EQ(QDir(folder).entryList({QStringLiteral("*.Fan")}, QDir::Files).size(), 3);
}

// Without a type the lists and buttons keep their place beside the hidden
// plot; for a new type the hint under the plot goes below the title, not
// over it.
TEST(FanEditorWindow, NoTypeAndNewTypeLayOutTheirTexts)
{
    TSampleMine mine;
    TScriptedPrompt prompt;
    bool checked = false;
    WhenEditorShown([&](TfrmEditFan &form) {
        ASSERT_TRUE(form.Image1->isHidden());
        // As the user sees it, once the layout has settled.
        QTest::qWait(50);
        EXPECT_EQ(form.ComboBox4->currentText(), QStringLiteral("Не определен"));
        EXPECT_GT(form.ComboBox4->x(), form.Image1->geometry().right());
        EXPECT_GE(form.ComboBox4->width(), form.ComboBox4->sizeHint().width());

        // The last entry of the type list is the new type.
        form.ComboBox4->setFocus();
        QTest::keyClick(form.ComboBox4, Qt::Key_End);
        ASSERT_TRUE(form.Editor.NewTypeMode);
        ASSERT_FALSE(form.Image1->isHidden());
        const QImage hinted = form.Image1->Picture.copy();
        form.DrawFanPlot();
        const QImage &plain = form.Image1->Picture;
        const TPlotState &plot = form.Editor.Plot;
        // Under the frame, the rows the hint is written in hold nothing else
        // from the plot's left edge to the hint's end.
        int hintRows = 0, overwritten = 0;
        for (int y = plot.Bottom + 2; y < plain.height() - 1; ++y) {
            int hintEnd = -1;
            for (int x = 1; x < plain.width() - 1; ++x)
                if (hinted.pixel(x, y) != plain.pixel(x, y))
                    hintEnd = x;
            if (hintEnd < 0)
                continue;
            ++hintRows;
            for (int x = plot.Left; x <= hintEnd; ++x)
                overwritten += (plain.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        }
        EXPECT_GT(hintRows, 0);
        EXPECT_EQ(overwritten, 0);
        checked = true;
    });
    QString name = QStringLiteral("Нет такого");
    double a = 1, b = 2, q = 3;
    int curve = 0, efficiency = 75;
    EditBranchFan(nullptr, mine.Branch, name, a, b, q, curve, efficiency);
    EXPECT_TRUE(checked);
}

TEST(FanEditorWindow, AFailedSaveKeepsSaveForAnotherTry)
{
    TSampleMine mine;
    QTemporaryDir dir;
    const QString folder = CopySampleCatalogue(dir);
    // A folder where the type's file should go: the write fails, also as root.
    const QString typeFile = folder + QStringLiteral("Мой-1.Fan");
    ASSERT_TRUE(QDir().mkdir(typeFile));

    TScriptedPrompt prompt;
    TPromptAnswerer answerer;
    answerer.Names = {QStringLiteral("n=900"), QStringLiteral("Мой-1"), QStringLiteral("n=900"), QStringLiteral("Мой-1")};
    bool saveShownAfterFailure = false, deleteShownAfterFailure = true;
    std::size_t errors = 0;
    bool saveShownAfterRetry = true;
    QString typeAfterRetry;
    QStringList typesAfterFailure, curvesAfterFailure;
    WhenEditorShown([&](TfrmEditFan &form) {
        form.ComboBox4Click(form.ComboBox4->count() - 1);
        AddPointThroughPopup(form, 20, 400);
        AddPointThroughPopup(form, 40, 350);
        AddPointThroughPopup(form, 60, 250);
        ASSERT_FALSE(form.BitBtn1->isHidden());
        form.BitBtn1->click();
        errors = prompt.Asked.size();
        typesAfterFailure = ComboTexts(form.ComboBox4);
        curvesAfterFailure = ComboTexts(form.ComboBox5);
        saveShownAfterFailure = !form.BitBtn1->isHidden() && form.BitBtn1->isEnabled();
        deleteShownAfterFailure = !form.BitBtn9->isHidden();
        ASSERT_TRUE(QDir().rmdir(typeFile));
        form.BitBtn1->click();
        saveShownAfterRetry = !form.BitBtn1->isHidden();
        typeAfterRetry = form.ComboBox4->currentText();
    });
    QString name;
    double a = 1, b = 2, q = 3;
    int curve = 0, efficiency = 75;
    EditBranchFan(nullptr, mine.Branch, name, a, b, q, curve, efficiency);

    ASSERT_EQ(errors, 1u);
    EXPECT_TRUE(prompt.Asked[0].Text.contains(QStringLiteral("Мой-1.Fan"))) << prompt.Asked[0].Text.toStdString();
    // The names given to what was not written are not listed.
    EXPECT_EQ(typesAfterFailure.last(), QStringLiteral("BНовый № 4"));
    EXPECT_FALSE(typesAfterFailure.contains(QStringLiteral("Мой-1")));
    EXPECT_EQ(curvesAfterFailure, QStringList{QStringLiteral("ХНовая №1")});
    EXPECT_TRUE(saveShownAfterFailure);
    EXPECT_FALSE(deleteShownAfterFailure);
    EXPECT_FALSE(saveShownAfterRetry);
    EXPECT_EQ(typeAfterRetry, QStringLiteral("Мой-1"));
    EXPECT_EQ(QFileInfo(typeFile).size(), FanTypeRecordSize);
}

TEST(FanEditorWindow, OkOnANewTypeWithoutCharacteristics)
{
    TSampleMine mine;
    TScriptedPrompt prompt;
    prompt.Answer(idOk);
    prompt.Answer(idYes);
    WhenEditorShown([](TfrmEditFan &form) {
        form.ComboBox4Click(form.ComboBox4->count() - 1);
        EXPECT_FALSE(form.BitBtn7->isEnabled());
        form.ComboBox5Click(0);
        EXPECT_TRUE(form.BitBtn7->isEnabled());
        form.BitBtn7->click();
    });
    QString name = MainFan;
    double a = 310, b = 0.03, q = 60;
    int curve = 2, efficiency = 80;
    EXPECT_TRUE(EditBranchFan(nullptr, mine.Branch, name, a, b, q, curve, efficiency));
    ASSERT_EQ(prompt.Asked.size(), 2u);
    EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("Вентилятор не имеет характеристик.\rЕго тип не определен.\r"
                                                   "Поэтому запись в базу - не производится."));
    EXPECT_EQ(name, QStringLiteral("Не определен"));
    EXPECT_EQ(a, 310);
    EXPECT_EQ(b, 0.03);
    EXPECT_EQ(efficiency, 80);
}

TEST(FanEditorWindow, ThePrintShowsEveryCharacteristicAndPrintsOneLandscapePage)
{
    TScriptedPrompt prompt;
    TPlotState plot;
    TFanEditor e(plot);
    e.Catalogue.Folder = SampleFolder;
    e.Open(1, MainFan, 0, 0, 0, 2, 80);
    e.Start();
    TRecordingCanvas canvas;
    e.DrawFanPlot(canvas, 760, 500);
    e.WorkQ = (plot.QminWork + plot.QmaxWork) / 2;
    e.WorkH = 200;
    e.N = FanPower(e.WorkH, e.WorkQ, 80);
    const QRect place(0, 0, 760, 500);
    {
        TfrmPrintFan form(nullptr, e, MainFan, place);
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Печать графика характеристики вентилятора"));
        ASSERT_EQ(static_cast<int>(form.CurveSeries.size()), e.Catalogue.LastCurve + 1);
        for (int k = 0; k <= e.Catalogue.LastCurve; ++k) {
            EXPECT_EQ(form.CurveSeries[static_cast<std::size_t>(k)]->pen().width(), k == 2 ? 2 : 1) << k;
            EXPECT_GT(form.CurveSeries[static_cast<std::size_t>(k)]->count(), 10);
        }
        EXPECT_EQ(form.Series1->count(), 3);
        EXPECT_EQ(form.Series1->at(1), QPointF(e.WorkQ, e.WorkH));
        EXPECT_EQ(form.Chart->title(), FanChartTitle(plot.A, plot.b, e.WorkQ, e.WorkH, e.N));

        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("fan.pdf"));
        TPdfPrinter printer;
        printer.AnswerFile(pdf);
        form.show();
        QTest::mouseClick(form.Button1, Qt::LeftButton);
        EXPECT_EQ(printer.Captions, QStringList{QStringLiteral("Печать в файл PDF")});
        QFile file(pdf);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(PdfPages(bytes), 1);
        const QRegularExpressionMatch box =
            QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]")).match(QString::fromLatin1(bytes));
        ASSERT_TRUE(box.hasMatch());
        EXPECT_GT(box.captured(1).toDouble(), box.captured(2).toDouble());
        EXPECT_TRUE(form.CurveSeries.empty());
    }
    // Outside the working range there are no guides.
    e.WorkQ = plot.QmaxWork + 1;
    TfrmPrintFan outside(nullptr, e, MainFan, place);
    EXPECT_EQ(outside.Series1->count(), 0);
    EXPECT_TRUE(prompt.Asked.empty());
}

// From the editor's "Печать": a PDF file that cannot be written is named
// with the reason, and a file choice left empty prints nothing.
TEST(FanEditorWindow, APrintThatCannotBeWrittenTellsWhy)
{
    TSampleMine mine;
    TScriptedPrompt prompt;
    TPdfPrinter printer;
    const QString unwritable = QStringLiteral("/proc/fan-chart.pdf");
    QString chosen;
    InstalledQtPrinter()->ChoosePdfFile = [&](const QString &) { return chosen; };
    bool chartShown = false;
    const auto printFromEditor = [&](TfrmEditFan &form, const QString &file) {
        chosen = file;
        QTimer::singleShot(0, [&] {
            auto *chart = qobject_cast<TfrmPrintFan *>(QApplication::activeModalWidget());
            ASSERT_NE(chart, nullptr);
            chartShown = true;
            QTest::mouseClick(chart->Button1, Qt::LeftButton);
        });
        QTest::mouseClick(form.Button1, Qt::LeftButton);
    };
    std::size_t askedAfterFailure = 0;
    WhenEditorShown([&](TfrmEditFan &form) {
        printFromEditor(form, unwritable);
        askedAfterFailure = prompt.Asked.size();
        printFromEditor(form, QString());
    });
    QString name = mine.Fan.FanName;
    double a = 0, b = 0, q = 0;
    int curve = mine.Fan.CurveIndex, efficiency = mine.Fan.Efficiency;
    EditBranchFan(nullptr, mine.Branch, name, a, b, q, curve, efficiency);

    EXPECT_TRUE(chartShown);
    ASSERT_GE(askedAfterFailure, 1u);
    const QString told = prompt.Asked[askedAfterFailure - 1].Text;
    EXPECT_TRUE(told.startsWith(QStringLiteral("Ошибка печати: файл \"") + unwritable + u'"')) << told.toStdString();
    EXPECT_TRUE(told.endsWith(u')')) << told.toStdString();
    EXPECT_FALSE(QFileInfo::exists(unwritable));
    // The empty file choice told nothing.
    for (std::size_t k = askedAfterFailure; k < prompt.Asked.size(); ++k)
        EXPECT_FALSE(prompt.Asked[k].Text.startsWith(QStringLiteral("Ошибка печати"))) << k;
}

TEST(FanEditorWindow, TheBranchDialogsFanButtonOpensTheEditor)
{
    TSampleMine mine;
    BranchDialogHost.Tables = mine.Tables.get();
    BranchDialogHost.Doc = &mine.Doc;
    BranchDialogHooks = {};
    BranchDialogHooks.Fan = [](TfrmBranch &dialog) { EditBranchFanCommand(dialog, SampleFolder); };
    {
        TScriptedPrompt prompt;
        prompt.Answer(idYes);
        TPromptAnswerer answerer;
        TfrmBranch dialog;
        dialog.Fill(QStringLiteral("Ветвь"), mine.Branch, false);
        ASSERT_TRUE(dialog.bbtnAuxDepr->isEnabled());
        WhenEditorShown([](TfrmEditFan &form) { form.BitBtn7->click(); });
        dialog.bbtnAuxDepr->click();

        const double a = FanEditor.Plot.A, b = FanEditor.Plot.b, q = FanEditor.WorkQ;
        EXPECT_EQ(dialog.edAuxDepr->text(), FormatFixedPD(a, 9, 4));
        EXPECT_EQ(dialog.edRes->text(), FormatFixedPD(b, 12, 8));
        EXPECT_EQ(dialog.edAirDebt->text(), FormatFixedPD(q, 7, 2));
        EXPECT_EQ(dialog.xqeDepr->text(), FormatFixedPD(std::fabs(std::fabs(a) - b * q * q), 9, 4));
        EXPECT_TRUE(dialog.Form().Modified);
        ASSERT_TRUE(mine.Doc.InstalledFans.FindBranch(mine.Branch));
        EXPECT_EQ(mine.Doc.InstalledFans.GetFanName(), MainFan);
        EXPECT_EQ(mine.Doc.InstalledFans.GetCurveIndex(), 2);
    }
    BranchDialogHost = {};
    BranchDialogHooks = {};
}

// A new characteristic of a stored type that cannot be written leaves no
// name behind; deleting a characteristic whose type file cannot be written
// leaves the editor showing what the file holds, and nothing counts as
// changed; once the file can be written, both go through.
TEST(FanEditorWindow, FailedWritesOfAStoredTypeChangeNothing)
{
    TSampleMine mine;
    QTemporaryDir dir, aside;
    const QString folder = CopySampleCatalogue(dir);
    const QString typeFile = folder + MainFan + QStringLiteral(".Fan");
    ASSERT_TRUE(QFileInfo(typeFile).isFile());
    const QByteArray stored = ReadAll(typeFile);

    THookedPrompt prompt;
    TPromptAnswerer answerer;
    answerer.Names = {QStringLiteral("Моя"), QStringLiteral("Моя")};
    bool checked = false;
    WhenEditorShown([&](TfrmEditFan &form) {
        const QStringList curves = ComboTexts(form.ComboBox5);
        ASSERT_GE(curves.size(), 2);
        form.ComboBox5Click(form.ComboBox5->count() - 1);
        const TPlotState &plot = form.Editor.Plot;
        AddPointThroughPopup(form, plot.QFull * 0.3, plot.HFull * 0.7);
        AddPointThroughPopup(form, plot.QFull * 0.5, plot.HFull * 0.5);
        AddPointThroughPopup(form, plot.QFull * 0.7, plot.HFull * 0.3);
        ASSERT_FALSE(form.BitBtn1->isHidden());
        {
            const TUnwritableTypeFile unwritable(typeFile, aside.filePath(QStringLiteral("saved.Fan")), prompt);
            form.BitBtn1->click();
        }
        ASSERT_EQ(prompt.Asked.size(), 1u);
        EXPECT_TRUE(prompt.Asked[0].Text.contains(MainFan + QStringLiteral(".Fan"))) << prompt.Asked[0].Text.toStdString();
        EXPECT_EQ(ComboTexts(form.ComboBox5), curves);
        EXPECT_FALSE(form.BitBtn1->isHidden());
        EXPECT_EQ(ReadAll(typeFile), stored);

        form.BitBtn1->click();
        ASSERT_EQ(prompt.Asked.size(), 1u);
        const QStringList withNew = ComboTexts(form.ComboBox5);
        ASSERT_EQ(withNew.size(), curves.size() + 1);
        EXPECT_EQ(form.ComboBox5->currentText(), QStringLiteral("Моя"));
        const QByteArray withNewBytes = ReadAll(typeFile);
        EXPECT_NE(withNewBytes, stored);

        // The editor's own choices so far count as changes; the delete must not.
        form.Editor.Changed = false;
        ASSERT_FALSE(form.BitBtn9->isHidden());
        {
            const TUnwritableTypeFile unwritable(typeFile, aside.filePath(QStringLiteral("saved.Fan")), prompt);
            form.BitBtn9->click();
        }
        ASSERT_EQ(prompt.Asked.size(), 2u);
        EXPECT_TRUE(prompt.Asked[1].Text.contains(MainFan + QStringLiteral(".Fan"))) << prompt.Asked[1].Text.toStdString();
        EXPECT_EQ(ComboTexts(form.ComboBox5), withNew);
        EXPECT_EQ(form.ComboBox5->currentText(), QStringLiteral("Моя"));
        EXPECT_TRUE(form.BitBtn1->isHidden());
        EXPECT_FALSE(form.BitBtn9->isHidden());
        EXPECT_FALSE(form.Editor.Changed);
        EXPECT_EQ(ReadAll(typeFile), withNewBytes);

        form.BitBtn9->click();
        EXPECT_EQ(prompt.Asked.size(), 2u);
        EXPECT_EQ(ComboTexts(form.ComboBox5), curves);
        EXPECT_TRUE(form.Editor.Changed);
        EXPECT_EQ(ReadAll(typeFile).size(), FanTypeRecordSize);
        checked = true;
    });
    QString name = MainFan;
    double a = 0, b = 0, q = 0;
    int curve = mine.Fan.CurveIndex, efficiency = mine.Fan.Efficiency;
    EditBranchFan(nullptr, mine.Branch, name, a, b, q, curve, efficiency);
    EXPECT_TRUE(checked);
}
