#include "../build_fixture.h"
#include "../fake_printer.h"
#include "file_dialog_choice.h"
#include "modal.h"

#include "platform/codepage.h"
#include "platform/prompt.h"
#include "platform/ui/file_dialogs.h"
#include "report/ui/frm_preview.h"
#include "report/ui/frm_preview_search.h"
#include "report/ui/frm_print.h"
#include "report/ui/qt_printer.h"
#include "report/ui/speed_button.h"

#include <QtCore/QFileInfo>
#include <QtCore/QPointer>
#include <QtCore/QScopeGuard>
#include <QtCore/QTemporaryDir>
#include <QtTest/QTest>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QScrollBar>

namespace {

// A designer that only has to be there for the page-editing commands.
class TStandInDesigner : public TfrReportDesigner
{
public:
    void AddToolItem(const QString &, const QVariant &, const std::function<void()> &) override {}
    void AddObjectButton(const QVariant &, const QString &, int) override {}
    void RecordUndoModify() override {}
    void RedrawSelection() override {}
    void ShowModal() override { ++Shown; }
    QString ComponentName() const override { return QStringLiteral("frDesigner"); }
    void SetComponentName(const QString &) override {}
    std::unique_ptr<TfrReportDesigner> CreateAnother() const override { return std::make_unique<TStandInDesigner>(); }
    int Shown = 0;
};

// Three A4 sheets with two texts each: "ABC" twice on the first, once on the third.
class Preview : public ReportBuild
{
protected:
    void SetUp() override
    {
        ReportBuild::SetUp();
        InstallPreviewForm();
        // The export filters' height prompt takes its default.
        Engine().InputBox = [](const QString &, const QString &, const QString &defaultText) { return defaultText; };
        Report.ModalPreview = false;
        TfrPage &page = Page();
        Band(page, btMasterData, 0, 100, QStringLiteral("3"), 2);
        Memo(page, 20, 20, 100, 17, QStringLiteral("[LINE#]"));
        Memo(page, 20, 60, 100, 17, QStringLiteral("[LINE#]"));
        Report.PrepareReport();
        ASSERT_EQ(Report.PreparedPages.Count(), 3);
        const QStringList texts[] = {{"xABCx", "abc"}, {"nothing", "here"}, {"none", "ABC"}};
        for (int i = 0; i < 3; ++i) {
            TfrEMFPages &pages = Report.PreparedPages;
            pages.BuildPageModel(i);
            int k = 0;
            for (auto &view : pages[i].PageModel->TemplateObjects)
                if (view->ReportObjectType == gtMemo)
                    view->Lines = QStringList{texts[i].value(k++)};
            pages.StorePageModel(i);
            pages[i].PageModel.reset();
        }
    }
    void TearDown() override
    {
        CloseOpenModals();
        QList<QPointer<QWidget>> previews;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (dynamic_cast<TfrPreviewForm *>(w))
                previews << w;
        qDeleteAll(previews);
        LastPreviewScale = 1.0;
        LastPreviewZoomMode = 0;
        Engine().ReportDesignerInstance = nullptr;
        SetPreviewOpener(nullptr);
        ReportBuild::TearDown();
    }

    TfrPreviewForm *Open()
    {
        Report.ShowPreparedReport();
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *form = dynamic_cast<TfrPreviewForm *>(w); form && form->isVisible())
                return form;
        return nullptr;
    }

    // Lets a closed preview go (it frees itself from the event loop).
    static void Settle() { QTest::qWait(1); }

    static QAction *ZoomItem(TfrPreviewForm &form, const QString &text)
    {
        for (QAction *item : form.ZoomItems)
            if (item->text() == text)
                return item;
        return nullptr;
    }
};

} // namespace

TEST_F(Preview, ZoomLaysOutTwoPagesOrOneCentredAndIsKeptForTheNextPreview)
{
    TfrPreviewForm *form = Open();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Label1->text(), QStringLiteral("Стр. 1/3"));
    EXPECT_EQ(form->ProcBtn->Caption(), QStringLiteral("100%"));
    TfrEMFPages &pages = Report.PreparedPages;
    const int W = form->PageBox->width();

    ZoomItem(*form, QStringLiteral("Две страницы"))->trigger();
    EXPECT_EQ(pages[0].PageRect.Top, pages[1].PageRect.Top);
    EXPECT_EQ(pages[0].PageRect.Left, 10);
    EXPECT_EQ(pages[1].PageRect.Left, pages[0].PageRect.Right + 10);
    EXPECT_GT(pages[2].PageRect.Top, pages[0].PageRect.Bottom);
    EXPECT_EQ(pages[2].PageRect.Left, 10);

    ZoomItem(*form, QStringLiteral("Страница целиком"))->trigger();
    EXPECT_EQ(pages[0].PageRect.Height(), form->PageBox->height() - 20);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(pages[i].PageRect.Left, (W - pages[i].PageRect.Width()) / 2);
    EXPECT_GT(pages[1].PageRect.Top, pages[0].PageRect.Bottom);

    ZoomItem(*form, QStringLiteral("50%"))->trigger();
    EXPECT_EQ(form->ProcBtn->Caption(), QStringLiteral("50%"));
    form->close();
    Settle();
    // Closing discards the prepared pages.
    EXPECT_EQ(pages.Count(), 0);

    Report.PrepareReport();
    TfrPreviewForm *next = Open();
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->Scale, 0.5);
    EXPECT_TRUE(ZoomItem(*next, QStringLiteral("50%"))->isChecked());
}

TEST_F(Preview, KeysPageThroughTheReport)
{
    TfrPreviewForm *form = Open();
    ASSERT_NE(form, nullptr);
    QTest::keyClick(form->PageBox, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(form->Label1->text(), QStringLiteral("Стр. 3/3"));
    EXPECT_EQ(form->VScrollBar->value(), Report.PreparedPages[2].PageRect.Top - 10);
    QTest::keyClick(form->PageBox, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(form->CurrentPage, 2);
    QTest::keyClick(form->PageBox, Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(form->VScrollBar->value(), 0);
    EXPECT_EQ(form->CurrentPage, 1);
    QTest::keyClick(form->PageBox, Qt::Key_Down);
    EXPECT_EQ(form->VScrollBar->value(), 10);
    QTest::keyClick(form->PageBox, Qt::Key_PageDown);
    EXPECT_EQ(form->VScrollBar->value(), 210);
    QTest::keyClick(form->PageBox, Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(form->CurrentPage, 1);
    // Page buttons stop at the ends.
    form->PgUp->Click();
    EXPECT_EQ(form->CurrentPage, 1);
    form->PgDown->Click();
    form->PgDown->Click();
    form->PgDown->Click();
    EXPECT_EQ(form->CurrentPage, 3);
    // Without a designer the page commands do nothing and are not offered.
    TScriptedPrompt prompt;
    QTest::keyClick(form->PageBox, Qt::Key_Delete);
    EXPECT_TRUE(prompt.Asked.empty());
    EXPECT_EQ(Report.PreparedPages.Count(), 3);
    EXPECT_FALSE(form->DeletePageItem->isVisible());
    // Space opens the zoom menu, whose own keys stay its own.
    QTest::keyClick(form->PageBox, Qt::Key_Space);
    ASSERT_TRUE(form->ProcMenu->isVisible());
    QTest::keyClick(form->ProcMenu, Qt::Key_Escape);
    EXPECT_FALSE(form->ProcMenu->isVisible());
    EXPECT_TRUE(form->isVisible());
    QTest::keyClick(form->PageBox, Qt::Key_Escape);
    Settle();
    EXPECT_EQ(Report.PreparedPages.Count(), 0);
}

TEST_F(Preview, FindsEachPlaceInTurnThenNothing)
{
    TfrPreviewForm *form = Open();
    ASSERT_NE(form, nullptr);
    WhenModal([] {
        auto *search = dynamic_cast<TfrPreviewSearchForm *>(QApplication::activeModalWidget());
        ASSERT_NE(search, nullptr);
        EXPECT_EQ(search->windowTitle(), QStringLiteral("Поиск"));
        search->Edit1->setText(QStringLiteral("abc"));
        search->Button1->click();
    });
    form->FindClick();
    std::vector<std::pair<int, int>> found; // page, hit top
    found.emplace_back(form->SearchHit ? form->CurrentPage : 0, form->HitRect.Top);
    for (int i = 0; i < 3; ++i) {
        QTest::keyClick(form->PageBox, Qt::Key_F3);
        found.emplace_back(form->SearchHit ? form->CurrentPage : 0, form->HitRect.Top);
    }
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].first, 1);
    EXPECT_EQ(found[1].first, 1);
    EXPECT_GT(found[1].second, found[0].second);
    EXPECT_EQ(found[2].first, 3);
    EXPECT_EQ(found[3].first, 0);
    EXPECT_EQ(form->CurrentPage, 3);

    // Case-sensitive, the lower-case text is found only once.
    WhenModal([] {
        auto *search = dynamic_cast<TfrPreviewSearchForm *>(QApplication::activeModalWidget());
        ASSERT_NE(search, nullptr);
        search->Edit1->setText(QStringLiteral("abc"));
        search->CB1->setChecked(true);
        search->Button1->click();
    });
    form->FindClick();
    EXPECT_TRUE(form->SearchHit);
    EXPECT_EQ(form->CurrentPage, 1);
    QTest::keyClick(form->PageBox, Qt::Key_F3);
    EXPECT_FALSE(form->SearchHit);
}

TEST_F(Preview, PageEditingWithADesignerLinked)
{
    TStandInDesigner designer;
    Engine().ReportDesignerInstance = &designer;
    TfrPreviewForm *form = Open();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->PageEditing());
    TScriptedPrompt prompt;
    prompt.Answer(idNo);
    prompt.Answer(idYes);
    QTest::keyClick(form->PageBox, Qt::Key_Delete);
    EXPECT_EQ(Report.PreparedPages.Count(), 3);
    QTest::keyClick(form->PageBox, Qt::Key_Delete);
    EXPECT_EQ(Report.PreparedPages.Count(), 2);
    ASSERT_EQ(prompt.Asked.size(), 2u);
    EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("Удалить страницу?"));
    EXPECT_EQ(prompt.Asked[0].Caption, QStringLiteral("Подтверждение"));
    EXPECT_EQ(prompt.Asked[0].Flags, mb::YesNo | mb::IconQuestion);
    prompt.Answer(idYes);
    QTest::keyClick(form->PageBox, Qt::Key_Delete);
    ASSERT_EQ(Report.PreparedPages.Count(), 1);
    // The last page is never deleted, and not asked about.
    QTest::keyClick(form->PageBox, Qt::Key_Delete);
    EXPECT_EQ(Report.PreparedPages.Count(), 1);
    EXPECT_EQ(prompt.Asked.size(), 3u);
    QTest::keyClick(form->PageBox, Qt::Key_Insert);
    EXPECT_EQ(Report.PreparedPages.Count(), 2);
    EXPECT_EQ(form->Label1->text(), QStringLiteral("Стр. 1/2"));
}

TEST_F(Preview, SaveDialogExportsOrSavesThePreparedReport)
{
    QTemporaryDir dir;
    TfrPreviewForm *form = Open();
    ASSERT_NE(form, nullptr);
    const auto save = [&](int filter, const QString &name) {
        QStringList filters;
        WhenModal([&] {
            QFileDialog *dialog = ShownFileDialog();
            ASSERT_NE(dialog, nullptr);
            filters = dialog->nameFilters();
            ChooseInFileDialog(*dialog, filter, dir.filePath(name));
        });
        form->SaveClick();
        return filters;
    };
    EXPECT_EQ(save(3, QStringLiteral("итог")),
              QStringList({"Файл отчета (*.frp)", "Текстовый файл (*.txt)", "Файл Rich Text (*.rtf)", "Файл CSV (*.csv)",
                           "Файл HTML (*.htm)"}));
    QFile csv(dir.filePath(QStringLiteral("итог.csv")));
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    EXPECT_TRUE(csv.readAll().contains("xABCx"));

    save(0, QStringLiteral("итог.frp"));
    ASSERT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("итог.frp"))));
    Report.PreparedPages.Clear();
    form->OpenPreparedFile(dir.filePath(QStringLiteral("итог.frp")));
    EXPECT_EQ(Report.PreparedPages.Count(), 3);
    EXPECT_EQ(form->Label1->text(), QStringLiteral("Стр. 1/3"));
}

// A text that starts left of the sheet's edge, saved as text from the
// preview, does not run into the text beside it.
TEST_F(Preview, TheTextExportKeepsATextLeftOfTheEdgeApartFromTheNext)
{
    TfrEMFPages &pages = Report.PreparedPages;
    pages.BuildPageModel(0);
    std::vector<TfrView *> memos;
    for (auto &view : pages[0].PageModel->TemplateObjects)
        if (view->ReportObjectType == gtMemo)
            memos.push_back(view.get());
    ASSERT_EQ(memos.size(), 2u);
    memos[0]->Left = -30;
    memos[0]->Lines = QStringList{QStringLiteral("Чуть"), QStringLiteral("левее 1")};
    memos[1]->Left = 20;
    memos[1]->Top = memos[0]->Top;
    memos[1]->Lines = QStringList{QStringLiteral("Рядом 1")};
    pages.StorePageModel(0);
    pages[0].PageModel.reset();

    QTemporaryDir dir;
    TfrPreviewForm *form = Open();
    ASSERT_NE(form, nullptr);
    WhenModal([&] {
        QFileDialog *dialog = ShownFileDialog();
        ASSERT_NE(dialog, nullptr);
        ChooseInFileDialog(*dialog, 1, dir.filePath(QStringLiteral("край")));
    });
    form->SaveClick();
    QFile text(dir.filePath(QStringLiteral("край.txt")));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = text.readAll().split('\n');
    QStringList decoded;
    for (const QByteArray &line : lines)
        decoded << DecodeCp1251(line).trimmed();
    EXPECT_TRUE(decoded.contains(QStringLiteral("Чуть Рядом 1"))) << qPrintable(decoded.join(u'|'));
    EXPECT_TRUE(decoded.contains(QStringLiteral("левее 1"))) << qPrintable(decoded.join(u'|'));
}

TEST_F(Preview, DamagedPreparedReportIsRefusedAndNoDrawingErrorLeavesThePreview)
{
    QTemporaryDir dir;
    TfrPreviewForm *form = Open();
    ASSERT_NE(form, nullptr);
    const QString good = dir.filePath(QStringLiteral("good.frp"));
    form->SavePreparedFile(good);
    QFile file(good);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    // The second page's first object gets a type no object has.
    const QByteArray secondPage = Report.PreparedPages[1].Stream.Data();
    const qsizetype at = bytes.indexOf(secondPage);
    ASSERT_GT(at, 0);
    QByteArray damaged = bytes;
    damaged[at + 1] = char(0xEE);
    const QString bad = dir.filePath(QStringLiteral("bad.frp"));
    QFile out(bad);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(damaged);
    out.close();

    // Opened as the user does, the file is refused by name; the three pages stay.
    TScriptedPrompt prompt;
    WhenModal([&] {
        QFileDialog *dialog = ShownFileDialog();
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(bad);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QTest::keyClick(form->PageBox, Qt::Key_O, Qt::ControlModifier);
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_TRUE(prompt.Asked[0].Text.contains(bad)) << prompt.Asked[0].Text.toStdString();
    EXPECT_EQ(Report.PreparedPages.Count(), 3);
    EXPECT_EQ(form->Label1->text(), QStringLiteral("Стр. 1/3"));

    // A page damaged in memory draws blank in the paint event and the
    // search passes it; the pages around it still draw and are found.
    Report.PreparedPages[1].Stream = TfrStream(damaged.mid(at, secondPage.size()));
    Report.PreparedPages[1].PageModel.reset();
    form->SetZoom(3);  // two pages side by side
    const QImage shown = form->PageBox->grab().toImage();
    EXPECT_FALSE(shown.isNull());
    WhenModal([] {
        auto *search = dynamic_cast<TfrPreviewSearchForm *>(QApplication::activeModalWidget());
        ASSERT_NE(search, nullptr);
        search->Edit1->setText(QStringLiteral("none"));
        search->Button1->click();
    });
    form->FindClick();
    EXPECT_TRUE(form->SearchHit);
    EXPECT_EQ(form->CurrentPage, 3);
    EXPECT_EQ(prompt.Asked.size(), 1u);
    EXPECT_TRUE(form->Ready);
}

TEST_F(Preview, PrintsTheChosenPagesAndRebuildsForAnotherPrinter)
{
    TFakePrinter printer;
    SetReportPrinter(&printer);
    PrinterSettings->AttachPrinter(&printer);
    const auto detach = qScopeGuard([] {
        SetReportPrinter(nullptr);
        PrinterSettings->AttachPrinter(nullptr);
    });
    Report.PrepareReport();
    int builds = 0;
    Report.OnBeginDoc = [&] { ++builds; };
    TfrPreviewForm *form = Open();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(form->PrintBtn->isEnabled());

    // A bad copies text is told in the dialog, which stays open; Cancel prints nothing.
    TScriptedPrompt prompt;
    WhenModal([&] {
        auto *dialog = dynamic_cast<TfrPrintForm *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->E1->setText(QStringLiteral("два"));
        dialog->Button1->click();
        EXPECT_TRUE(dialog->isVisible());
        dialog->Button2->click();
    });
    form->PrintClick();
    EXPECT_EQ(prompt.Asked.size(), 1u);
    EXPECT_TRUE(printer.Log.isEmpty());

    WhenModal([&] {
        auto *dialog = dynamic_cast<TfrPrintForm *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->CB1->setCurrentIndex(1);
        emit dialog->CB1->activated(1);
        dialog->RB3->setChecked(true);
        dialog->E2->setText(QStringLiteral("1,3"));
        dialog->E1->setText(QStringLiteral("2"));
        dialog->Button1->click();
    });
    form->PrintClick();
    EXPECT_EQ(builds, 1);
    EXPECT_EQ(printer.Index, 1);
    EXPECT_EQ(printer.Log, QStringList({"begin Kvadrep: Untitled paper 9/1", "new page", "new page", "new page", "end"}));
}

// "Печать в файл PDF" from the preview's button to a file that cannot be
// written: the user is told the file, nothing is printed, and the next job
// to a good file prints.
TEST_F(Preview, APrintToAFileThatCannotBeWrittenNamesTheFile)
{
    TQtPrinter printer(false);
    QTemporaryDir dir;
    QString chosen;
    printer.ChoosePdfFile = [&](const QString &) { return chosen; };
    SetReportPrinter(&printer);
    PrinterSettings->AttachPrinter(&printer);
    const auto detach = qScopeGuard([] {
        SetReportPrinter(nullptr);
        PrinterSettings->AttachPrinter(nullptr);
    });
    TfrPreviewForm *form = Open();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(form->PrintBtn->isEnabled());
    const QString good = dir.filePath(QStringLiteral("отчет.pdf"));
    for (const QString &file : {dir.filePath(QStringLiteral("нет/отчет.pdf")), QStringLiteral("/proc/отчет.pdf"), good}) {
        SCOPED_TRACE(file.toStdString());
        chosen = file;
        TScriptedPrompt prompt;
        std::vector<int> printed;
        Report.OnProgress = [&](int page) { printed.push_back(page); };
        WhenModal([] {
            auto *dialog = dynamic_cast<TfrPrintForm *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->Button1->click();
        });
        QTest::mouseClick(form->PrintBtn, Qt::LeftButton);
        EXPECT_FALSE(printer.Printing());
        if (file == good) {
            EXPECT_TRUE(prompt.Asked.empty());
            EXPECT_EQ(printed, std::vector<int>({1, 2, 3}));
            EXPECT_TRUE(QFileInfo(good).size() > 0);
            continue;
        }
        ASSERT_EQ(prompt.Asked.size(), 1u);
        EXPECT_TRUE(prompt.Asked[0].Text.startsWith(QStringLiteral("Ошибка печати: файл \"%1\"").arg(file)))
            << prompt.Asked[0].Text.toStdString();
        EXPECT_TRUE(printed.empty());
        EXPECT_FALSE(QFileInfo::exists(file));
    }
}

TEST_F(Preview, ModalPreviewReturnsOnEscapeAndDropsThePages)
{
    Report.ModalPreview = true;
    bool shown = false;
    WhenModal([&] {
        auto *form = dynamic_cast<TfrPreviewForm *>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        shown = true;
        QTest::keyClick(form->PageBox, Qt::Key_Escape);
    });
    Report.ShowPreparedReport();
    Settle();
    EXPECT_TRUE(shown);
    EXPECT_EQ(Report.PreparedPages.Count(), 0);
}
