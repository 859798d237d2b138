// Printing a journal from its window: the template of the settings, the
// template chosen for one print when that one is missing, the preview, and
// the designer on the same template.
#include "designer/design_state.h"
#include "designer/ui/frm_designer.h"
#include "journal/ui/frm_kerstal.h"
#include "journal/ui/journal_reports.h"
#include "kerstal_fixture.h"
#include "prepared_texts.h"
#include "report/engine.h"
#include "report/report_page.h"

#include <QtGui/QAction>
#include <QtTest/QTest>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QTreeWidget>

namespace {

const QString ShippedTemplate = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты/Вентжурнал.frf");

class JournalPrintWindowTest : public KerstalTest
{
protected:
    void SetUp() override
    {
        KerstalTest::SetUp();
        StartJournalReports();
        SetPreviewOpener([this](TfrReport &report, const QString &caption, bool) {
            Previews << caption;
            PreviewPages = report.PreparedPages.Count();
        });
        WriteJournal(QStringLiteral("A"), {{{1, 2}}});
        OpenFolderAtStart();
        Window = std::make_unique<TfrmKerstal>(ProgramNetwork());
        Window->show();
        Window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
        Window->tvKerstal->setCurrentItem(Window->JournalNode(0));
    }
    void TearDown() override
    {
        Window.reset();
        StopJournalReports();
        KerstalTest::TearDown();
    }

    // Ctrl+P with the file dialog answered by choose (empty: Cancel); the
    // dialog's title, empty when none was shown.
    QString PrintChoosing(const QString &choose)
    {
        QString title;
        QStringList filters;
        WhenDialog([&](QDialog *d) {
            title = d->windowTitle();
            auto *files = qobject_cast<QFileDialog *>(d);
            ASSERT_NE(files, nullptr);
            filters = files->nameFilters();
            if (choose.isEmpty()) {
                d->reject();
                return;
            }
            files->selectFile(choose);
            d->accept();
        });
        Window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(Window.get()));
        QTest::keyClick(Window->tvKerstal, Qt::Key_P, Qt::ControlModifier);
        if (!title.isEmpty()) {
            EXPECT_EQ(filters, QStringList({QStringLiteral("Файлы отчетов (*.frf)"), QStringLiteral("Все файлы (*)")}));
        }
        return title;
    }

    QStringList Previews;
    int PreviewPages = 0;
    std::unique_ptr<TfrmKerstal> Window;
};

} // namespace

TEST_F(JournalPrintWindowTest, AMissingTemplateIsChosenForEachPrint)
{
    ASSERT_TRUE(Window->FilePrint->isEnabled());
    // The designer is not linked: its button stays disabled.
    EXPECT_FALSE(Window->ReportDesigner->isEnabled());
    Window->Options.TypeVJ = Folder.filePath(QStringLiteral("нет.frf"));
    const QString title = QStringLiteral("Отчет ") + Window->Options.TypeVJ + QStringLiteral(" не найден. Укажите другой");

    EXPECT_EQ(PrintChoosing(QString()), title);
    EXPECT_TRUE(Previews.isEmpty());

    EXPECT_EQ(PrintChoosing(ShippedTemplate), title);
    ASSERT_EQ(Previews.size(), 1);
    EXPECT_EQ(Previews.first(), QStringLiteral("Предварительный просмотр"));
    EXPECT_GT(PreviewPages, 0);
    EXPECT_EQ(Window->Print.PrintJournal, Window->Journal(0));
    EXPECT_EQ(Window->Options.TypeVJ, Folder.filePath(QStringLiteral("нет.frf")));

    // The next print asks again.
    EXPECT_EQ(PrintChoosing(QString()), title);
    EXPECT_EQ(Previews.size(), 1);
}

TEST_F(JournalPrintWindowTest, TheTemplateOfTheSettingsPrintsWithoutAsking)
{
    Window->Options.TypeVJ = ShippedTemplate;
    QTest::keyClick(Window->tvKerstal, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(Previews.size(), 1);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// A template this journal cannot build (the network reports' own) is not
// dropped without a word: the build's error is shown, and no preview opens.
TEST_F(JournalPrintWindowTest, ATemplateThatCannotBeBuiltIsToldAndNotPreviewed)
{
    Window->Options.TypeVJ = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Отчеты/Стандартный отчет без сетки.frf");
    QTest::keyClick(Window->tvKerstal, Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(Previews.isEmpty());
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_TRUE(Prompt.Asked[0].Text.startsWith(QStringLiteral("Возникла ошибка при обработке выражения")))
        << qPrintable(Prompt.Asked[0].Text);
    EXPECT_EQ(Prompt.Asked[0].Caption, QStringLiteral("Ошибка"));
}

namespace {

// The window with the plug-in's designer linked, as the plug-in's entry links it.
class JournalDesignWindowTest : public JournalPrintWindowTest
{
protected:
    void SetUp() override
    {
        LinkJournalDesigner();
        JournalPrintWindowTest::SetUp();
    }
    void TearDown() override
    {
        JournalPrintWindowTest::TearDown();
        JournalDesignerHooks = {};
    }

    // "Дизайнер отчетов" with inside run while the designer is shown.
    void Design(const std::function<void(TfrDesignerForm &)> &inside)
    {
        bool shown = false;
        WhenDialog([&](QDialog *d) {
            shown = true;
            EXPECT_EQ(d, CurrentDesignerForm);
            if (CurrentDesignerForm)
                inside(*CurrentDesignerForm);
            d->reject();
        });
        ASSERT_TRUE(Window->ReportDesigner->isEnabled());
        Window->ReportDesigner->trigger();
        EXPECT_TRUE(shown);
    }
};

} // namespace

TEST_F(JournalDesignWindowTest, TheDesignerOpensOnTheTemplateOfTheSettingsAndBuildsThisJournal)
{
    Window->Options.TypeVJ = ShippedTemplate;
    Window->Journal(0)->MineName = QStringLiteral("Первая");
    QTest::keyClick(Window->tvKerstal, Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(Previews.size(), 1);

    // The journal changed after that print: the designer's build shows it as it is now.
    Window->Journal(0)->MineName = QStringLiteral("Вторая");
    Design([this](TfrDesignerForm &form) {
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Дизайнер - Вентжурнал.frf"));
        // What Save writes to.
        EXPECT_EQ(form.FileName, ShippedTemplate);
        ASSERT_EQ(Window->frMain.TemplatePages.Count(), 1);
        EXPECT_GT(Window->frMain.TemplatePages.GetPage(0).TemplateObjects.size(), 10u);
        // The record sources are where the template names them, so the
        // designer's preview builds the journal.
        ASSERT_TRUE(Window->frMain.PrepareReport());
        const QStringList texts = PreparedTexts(Window->frMain);
        EXPECT_TRUE(texts.contains(QStringLiteral("Шахта  Вторая"))) << qPrintable(texts.join(u'\n'));
        EXPECT_TRUE(texts.contains(QStringLiteral("1. Рубрика 0")));
        // The form-2 head that VJStr gives is made afresh too.
        ASSERT_GT(Window->Print.Form2Lines.size(), 2);
        EXPECT_TRUE(Window->Print.Form2Lines[2].contains(QStringLiteral("Вторая"))) << qPrintable(Window->Print.Form2Lines[2]);
    });
    EXPECT_EQ(Window->Print.PrintJournal, Window->Journal(0));
    EXPECT_EQ(Previews.size(), 1);
}

TEST_F(JournalDesignWindowTest, AMissingTemplateIsDesignedUnderItsPathWithoutAsking)
{
    Window->Options.TypeVJ = Folder.filePath(QStringLiteral("новый.frf"));
    Design([this](TfrDesignerForm &form) {
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Дизайнер - новый.frf"));
        EXPECT_EQ(form.FileName, Window->Options.TypeVJ);
        ASSERT_EQ(Window->frMain.TemplatePages.Count(), 1);
        EXPECT_TRUE(Window->frMain.TemplatePages.GetPage(0).TemplateObjects.empty());
        // Save writes the template of the settings.
        form.FileBtn3Click();
        EXPECT_TRUE(DialogConfirmed);
    });
    EXPECT_EQ(Window->Options.TypeVJ, Folder.filePath(QStringLiteral("новый.frf")));
    TfrReport saved;
    saved.LoadFromFile(Window->Options.TypeVJ);
    EXPECT_EQ(saved.TemplatePages.Count(), 1);
}
