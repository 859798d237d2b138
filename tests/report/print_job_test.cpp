#include "report/print_job.h"

#include "fake_printer.h"
#include "platform/prompt.h"
#include "report/report_document.h"

#include <gtest/gtest.h>

namespace {

class Printing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previous = PrinterSettings;
        PrinterSettings = &Settings;
        Settings.AttachPrinter(&Printer);
        SetCurrentDocument(&Report);
    }
    void TearDown() override { PrinterSettings = m_previous; }

    // A prepared page holding one text naming it.
    void AddPage(const QString &text, int paperCode = 9)
    {
        TfrPage &page = Report.TemplatePages.Add();
        page.ChangePaper(paperCode, 0, 0, 0);
        page.HonourMargins = 0;
        TfrPreparedPage &prepared = Report.PreparedPages.Add(page);
        TfrMemoView memo;
        memo.PreparedMode = true;
        memo.Width = 300;
        memo.Height = 30;
        memo.Lines = {text};
        memo.PrintToStream(prepared.Stream);
    }

    QStringList PrintedTexts() const { return Printer.Paper.Texts(); }

    TfrEngineScope Engine;
    TFakePrinter Printer;
    TPrinterSettings Settings;
    TfrReportDocument Report;

private:
    TPrinterSettings *m_previous = nullptr;
};

} // namespace

TEST_F(Printing, CopiesFollowEachPageAndThePageListSelects)
{
    for (const char *name : {"1", "2", "3"})
        AddPage(QString::fromUtf8(name));
    PrintPreparedPages(Report.PreparedPages, Printer, {QStringLiteral("Отчет"), QStringLiteral("1,3"), 3, nullptr, {}});
    EXPECT_EQ(PrintedTexts(), (QStringList{"1", "1", "1", "3", "3", "3"}));
    EXPECT_EQ(Printer.Log, (QStringList{QStringLiteral("begin Kvadrep: Отчет paper 9/1"), "new page", "new page", "new page",
                                        "new page", "new page", "end"}));

    Printer.Log.clear();
    Printer.Paper.Clear();
    PrintPreparedPages(Report.PreparedPages, Printer, {{}, {}, 0, nullptr, {}});
    EXPECT_EQ(PrintedTexts(), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(Printer.Log.first(), QStringLiteral("begin Kvadrep: Untitled paper 9/1"));

    EXPECT_THROW(PrintPreparedPages(Report.PreparedPages, Printer, {{}, QStringLiteral("1;2"), 1, nullptr, {}}), EConvertError);
}

TEST_F(Printing, EachRunOfOnePaperIsAJobOfItsOwn)
{
    AddPage(QStringLiteral("A4 первая"));
    AddPage(QStringLiteral("A4 вторая"));
    AddPage(QStringLiteral("A3"), 8);
    std::vector<int> progress;
    PrintPreparedPages(Report.PreparedPages, Printer, {{}, {}, 1, nullptr, [&](int n) { progress.push_back(n); }});
    EXPECT_EQ(Printer.Log, (QStringList{QStringLiteral("begin Kvadrep: Untitled paper 9/1"), "new page", "end",
                                        QStringLiteral("begin Kvadrep: Untitled paper 8/1"), "end"}));
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3}));
    // The page is drawn into the printable area (4760 dots for 752 design
    // pixels): the inset grows with the scale, the font is in points.
    const auto *text = Printer.Paper.FindText(QStringLiteral("A4 первая"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->At.X, 3 + 2);
    EXPECT_EQ(text->Font.Height, 0);
    EXPECT_EQ(text->Font.Size, 10);
}

TEST_F(Printing, CancelAbortsTheJob)
{
    AddPage(QStringLiteral("1"));
    AddPage(QStringLiteral("2"));
    bool cancelled = false;
    PrintPreparedPages(Report.PreparedPages, Printer, {{}, {}, 1, &cancelled, [&](int) { cancelled = true; }});
    EXPECT_EQ(PrintedTexts(), QStringList{"1"});
    EXPECT_EQ(Printer.Log.last(), QStringLiteral("abort"));
}

TEST_F(Printing, ChangePrinterReappliesEveryPagesPaper)
{
    TfrPage &page = Report.TemplatePages.Add();
    page.ChangePaper(8, 0, 0, 1);
    EXPECT_TRUE(Report.ChangePrinter(0, 1));
    EXPECT_EQ(Printer.Index, 1);
    EXPECT_EQ(Printer.Mode.PaperSize, 8);
    EXPECT_EQ(Printer.Mode.Orientation, 2);
    EXPECT_EQ(page.PrinterInfo.DevicePageWidth, 9921);

    // To the printer-less entry: the built-in table gives the size.
    EXPECT_TRUE(Report.ChangePrinter(1, Settings.VirtualPrinterIndex));
    EXPECT_EQ(page.PaperWidth, 4200);
    EXPECT_EQ(page.PrinterInfo.PageWidth, TenthMmToDesignX(4200));
}
