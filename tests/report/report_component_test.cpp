#include "build_fixture.h"
#include "fake_printer.h"

#include "platform/exceptions.h"
#include "platform/help.h"
#include "platform/prompt.h"

#include <QtCore/QTemporaryDir>

namespace {

// Records what the preview opener was asked.
struct TPreviewLog
{
    int Opened = 0;
    QString Caption;
    bool Modal = false;
    int Pages = 0;
    TPreviewLog()
    {
        SetPreviewOpener([this](TfrReport &report, const QString &caption, bool modal) {
            ++Opened;
            Caption = caption;
            Modal = modal;
            Pages = report.PreparedPages.Count();
        });
    }
    ~TPreviewLog() { SetPreviewOpener(nullptr); }
};

} // namespace

TEST_F(ReportBuild, UnansweredValueShowsTheErrorAndNoPreview)
{
    TScriptedPrompt prompt;
    TPreviewLog preview;
    TfrPage &page = Page();
    Band(page, btMasterData, 40, 20, QStringLiteral("3"));
    Memo(page, 10, 40, 100, 17, QStringLiteral("Значение\n[Foo]"));
    Report.ShowReport();
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Caption, QStringLiteral("Ошибка"));
    EXPECT_EQ(prompt.Asked[0].Flags, mb::Ok | mb::IconError);
    EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("Возникла ошибка при обработке выражения\rЗначение\r[Foo]"
                                                   "\rДокумент: frReport1\rСекция: Master data"));
    EXPECT_EQ(preview.Opened, 0);
    EXPECT_EQ(Report.PreparedPages.Count(), 0);

    // Answered, the same template previews.
    Report.OnGetValue = [](const QString &name, Variant &value) { value = Variant(QStringLiteral("x")); };
    Report.Title = QStringLiteral("Расход");
    Report.ShowReport();
    EXPECT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(preview.Opened, 1);
    EXPECT_EQ(preview.Caption, QStringLiteral("Предварительный просмотр - Расход"));
    EXPECT_TRUE(preview.Modal);
    EXPECT_EQ(preview.Pages, 1);
}

TEST_F(ReportBuild, ProgressShowsPassesAndCancelKeepsThePagesMadeSoFar)
{
    Report.ShowProgress = true;
    Report.Title = QStringLiteral("Депрессия");
    TfrPage &page = Page();
    Band(page, btMasterData, 40, 20, QStringLiteral("3"), 2);
    Memo(page, 10, 40, 100, 17, QStringLiteral("[LINE#]"));

    Report.TwoPassBuild = true;
    EXPECT_TRUE(Report.PrepareReport());
    EXPECT_EQ(Progress.Captions, QStringList({"Подготовка отчета - Депрессия"}));
    EXPECT_EQ(Progress.Texts.first(), QStringLiteral("Выполняется 1-й проход:  1"));
    EXPECT_TRUE(Progress.Texts.contains(QStringLiteral("Формируется страница:  2 из 3")));
    EXPECT_FALSE(Progress.Texts.filter(QStringLiteral("1-й проход")).filter(QStringLiteral(" из ")).size());

    // Cancel in a one-pass build: the pages formed so far are previewed.
    TPreviewLog preview;
    Report.TwoPassBuild = false;
    Progress.Texts.clear();
    Progress.OnPump = [](TfrReport &report) {
        if (report.PreparedPages.Count() == 2)
            report.Cancelled = true;
    };
    Report.ShowReport();
    EXPECT_EQ(preview.Opened, 1);
    EXPECT_EQ(preview.Pages, 2);
    EXPECT_FALSE(Report.Cancelled);
    EXPECT_FALSE(Report.PrepareReport());

    // Cancel in the first pass: the second still runs, without the total.
    Report.TwoPassBuild = true;
    bool firstPass = true;
    Progress.Texts.clear();
    Progress.OnPump = [&](TfrReport &report) {
        if (FirstPassRunning && firstPass && report.PreparedPages.Count() == 2) {
            firstPass = false;
            report.Cancelled = true;
        }
    };
    EXPECT_TRUE(Report.PrepareReport());
    EXPECT_EQ(Report.PreparedPages.Count(), 3);
    EXPECT_TRUE(Progress.Texts.contains(QStringLiteral("Формируется страница:  2")));
    EXPECT_TRUE(Progress.Texts.filter(QStringLiteral(" из ")).isEmpty());
    EXPECT_TRUE(Report.TwoPassBuild);
}

TEST_F(ReportBuild, OnProgressReplacesTheProgressWindow)
{
    Report.ShowProgress = true;
    std::vector<int> pages;
    Report.OnProgress = [&](int n) { pages.push_back(n); };
    TfrPage &page = Page();
    Band(page, btMasterData, 40, 20, QStringLiteral("2"), 2);
    Memo(page, 10, 40, 100, 17, QStringLiteral("[LINE#]"));
    EXPECT_TRUE(Report.PrepareReport());
    EXPECT_TRUE(Progress.Captions.isEmpty());
    EXPECT_EQ(pages.front(), 1);
    EXPECT_EQ(pages.back(), 2);
}

TEST_F(ReportBuild, HostsLoadTemplatesAndPrintWithoutPreview)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("отчет.frf"));
    TfrPage &page = Page();
    Band(page, btMasterData, 40, 20, QStringLiteral("3"), 2);
    Memo(page, 10, 40, 100, 17, QStringLiteral("[LINE#]"));
    Report.SaveToFile(file);

    TfrReport host;
    host.Name = QStringLiteral("frReport1");
    host.LoadFromFile(file);
    // A template that is not there raises, and the previous one stays.
    EXPECT_THROW(host.LoadFromFile(dir.filePath(QStringLiteral("нет.frf"))), EFOpenError);
    ASSERT_EQ(host.TemplatePages.Count(), 1);
    EXPECT_EQ(host.TemplatePages.GetPage(0).TemplateObjects.size(), 2u);

    TFakePrinter printer;
    SetReportPrinter(&printer);
    const auto detach = qScopeGuard([] {
        SetReportPrinter(nullptr);
        PrinterSettings->AttachPrinter(nullptr);
    });
    host.PrepareReport();
    ASSERT_EQ(host.PreparedPages.Count(), 3);
    host.UseDefaultPrinter = true;
    Progress.Texts.clear();
    host.PrintPreparedReport(QString(), 1);
    EXPECT_EQ(printer.Log, QStringList({"begin Kvadrep: Untitled paper 9/1", "new page", "new page", "end"}));
    EXPECT_EQ(printer.Paper.Texts(), QStringList({"1", "2", "3"}));
    EXPECT_EQ(Progress.Texts, QStringList({"Печатается страница:", "Печатается страница:  1", "Печатается страница:  2",
                                           "Печатается страница:  3"}));
    EXPECT_FALSE(host.Cancelled);
    // The pages stay for another print.
    EXPECT_EQ(host.PreparedPages.Count(), 3);
}

TEST_F(ReportBuild, DataSourceOfAnotherClassIsAnErrorNamingIt)
{
    TfrReport other;
    other.Name = QStringLiteral("frOther");
    Engine().Components.Register(QStringLiteral("frmHost"), &other);
    TfrPage &page = Page();
    Band(page, btMasterData, 40, 20, QStringLiteral("frOther"));
    Memo(page, 10, 40, 100, 17, QStringLiteral("x"));
    try {
        Report.PrepareReport();
        FAIL() << "no error";
    } catch (const Exception &e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("frOther"))) << e.Message().toStdString();
    }
    // The run-time model went away with the error; the next build works.
    EXPECT_FALSE(page.RunModelBuilt);
    Engine().Components.Unregister(&other);
    Report.PrepareReport();
    EXPECT_EQ(Report.PreparedPages.Count(), 1);
}

TEST_F(ReportBuild, VariablesCategoriesAndObjectsAreFoundByName)
{
    Report.VariableLines = {QStringLiteral("Сеть"), QStringLiteral(" Шахта"), QStringLiteral(" Дата"), QString(),
                            QStringLiteral(" Лишняя"), QStringLiteral("Расчет"), QStringLiteral(" Q")};
    QStringList list{QStringLiteral("старое")};
    Report.GetCategories(list);
    EXPECT_EQ(list, QStringList({"Сеть", "Расчет"}));
    Report.GetCategoryVariables(0, list);
    EXPECT_EQ(list, QStringList({"Шахта", "Дата"}));
    Report.GetCategoryVariables(1, list);
    EXPECT_EQ(list, QStringList({"Q"}));
    Report.GetCategoryVariables(5, list);
    EXPECT_TRUE(list.isEmpty());
    EXPECT_EQ(Report.FindVariable(QStringLiteral("Дата")), 2);
    EXPECT_EQ(Report.FindVariable(QStringLiteral("дата")), -1);
    EXPECT_EQ(Report.FindVariable(QStringLiteral("Сеть")), -1);

    Memo(Page(), 0, 0, 10, 10, QString()).Name = QStringLiteral("Итог");
    EXPECT_NE(Report.FindObject(QStringLiteral("итог")), nullptr);

    // A data set going away leaves the report.
    {
        TfrUserDataset records;
        Report.Dataset = &records;
        Engine().Components.Register(QStringLiteral("frmHost"), &records);
        Engine().Components.Register(QStringLiteral("frmHost"), &Report);
    }
    EXPECT_EQ(Report.Dataset, nullptr);
    Engine().Components.Unregister(&Report);
}

TEST_F(ReportBuild, DesignWithoutDesignerAddsThePageAndSwapsTheHelpFile)
{
    SetHelpFile(QStringLiteral("tunvex"));
    Report.DesignReport();
    EXPECT_EQ(Report.TemplatePages.Count(), 1);
    EXPECT_EQ(Report.TemplatePages.GetPage(0).PaperCode, 9);
    EXPECT_EQ(HelpFile(), QStringLiteral("tunvex"));

    class TDesigner : public TfrReportDesigner
    {
    public:
        QStringList Log;
        void AddToolItem(const QString &, const QVariant &, const std::function<void()> &) override {}
        void AddObjectButton(const QVariant &, const QString &, int) override {}
        void RecordUndoModify() override {}
        void RedrawSelection() override {}
        void ShowModal() override
        {
            Log << HelpFile() + u' ' + QString::number(Page ? Page->TemplateObjects.size() : 0);
            if (Page) {
                Page->TemplateObjects.front()->Lines = QStringList{QStringLiteral("правка")};
                Modified = true;
            }
        }
        QString ComponentName() const override { return m_name; }
        void SetComponentName(const QString &name) override { m_name = name; }
        std::unique_ptr<TfrReportDesigner> CreateAnother() const override
        {
            auto other = std::make_unique<TDesigner>();
            Second = other.get();
            return other;
        }
        mutable TDesigner *Second = nullptr;
        QString m_name = QStringLiteral("frDesigner");
    } designer;
    Engine().ReportDesignerInstance = &designer;
    Report.DesignReport();
    EXPECT_EQ(designer.Log, QStringList({"KRuser.hlp 0"}));

    // A prepared page is edited in a second designer; "No" keeps it as it was.
    Memo(Report.TemplatePages.GetPage(0), 10, 10, 100, 17, QStringLiteral("исходный"));
    Report.PrepareReport();
    TScriptedPrompt prompt;
    prompt.Answer(idNo);
    Report.EditPreparedPage(0);
    EXPECT_EQ(SheetTexts(Report.PreparedPages, 0), QStringList({"исходный"}));
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("Сохранить изменения?"));
    prompt.Answer(idYes);
    Report.EditPreparedPage(0);
    EXPECT_EQ(SheetTexts(Report.PreparedPages, 0), QStringList({"правка"}));
    // The template, the first designer and its name are back.
    EXPECT_EQ(Engine().ReportDesignerInstance, &designer);
    EXPECT_EQ(designer.ComponentName(), QStringLiteral("frDesigner"));
    ASSERT_EQ(Report.TemplatePages.Count(), 1);
    EXPECT_EQ(Report.TemplatePages.GetPage(0).TemplateObjects.front()->Lines, QStringList({"исходный"}));
    Engine().ReportDesignerInstance = nullptr;
}
