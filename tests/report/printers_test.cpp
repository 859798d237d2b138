#include "report/printers.h"

#include "fake_printer.h"
#include "platform/exceptions.h"

#include <gtest/gtest.h>

TEST(PrinterSettings, VirtualPrinterLaysOutA4WithFiveMillimetreMargins)
{
    // As the engine starts without a printer: A4 portrait, the paper table loaded.
    TPrinterSettings settings;
    ASSERT_EQ(settings.Printers, QStringList{QStringLiteral("Принтер по умолчанию")});
    EXPECT_TRUE(settings.IsVirtual());
    EXPECT_EQ(settings.FindPaperIndex(9), 8);
    TPrinterInfo info;
    settings.FillPrinterInfo(info);
    EXPECT_EQ(info.PageWidth, 752);
    EXPECT_EQ(info.PageHeight, 1071);
    EXPECT_EQ(info.OffsetX, 18);
    EXPECT_EQ(info.OffsetY, 18);
    EXPECT_EQ(info.PrintableWidth, 716);
    EXPECT_EQ(info.PrintableHeight, 1035);
    EXPECT_EQ(settings.PaperCodeCount, 67);
    EXPECT_EQ(settings.PaperNames[8], QStringLiteral("A4 210 x 297 мм"));
    EXPECT_EQ(settings.FindPaperIndex(256), 66);
    EXPECT_EQ(settings.FindPaperIndex(49), 66);

    settings.SetPaper(9, 0, 0, 1);
    EXPECT_EQ(settings.PaperWidth, 2970);
    EXPECT_EQ(settings.PaperHeight, 2100);
    settings.FillPrinterInfo(info);
    // The two directions have their own scales, so the pixels do not just swap.
    EXPECT_EQ(info.PageWidth, 1064);
    EXPECT_EQ(info.PageHeight, 758);

    // A custom size keeps the size it was given.
    settings.SetPaper(256, 1000, 500, 0);
    EXPECT_EQ(settings.PaperWidth, 1000);
    EXPECT_EQ(settings.PaperHeight, 500);

    // A printing system that lists no printer leaves the same table.
    TFakePrinter none;
    none.Names.clear();
    TPrinterSettings fresh;
    fresh.AttachPrinter(&none);
    EXPECT_TRUE(fresh.IsVirtual());
    EXPECT_EQ(fresh.PaperCodeCount, 67);
    EXPECT_EQ(fresh.FindPaperIndex(9), 8);
}

TEST(PrinterSettings, CustomSizeIsComparedBySizeOthersByCodeAndOrientation)
{
    TPrinterSettings settings;
    settings.SetPaper(9, 0, 0, 0);
    EXPECT_TRUE(settings.SameSettings(9, 123, 456, 0));
    EXPECT_FALSE(settings.SameSettings(9, 2100, 2970, 1));
    settings.SetPaper(256, 1000, 500, 0);
    EXPECT_TRUE(settings.SameSettings(256, 1000, 500, 0));
    EXPECT_FALSE(settings.SameSettings(256, 1000, 501, 0));
}

TEST(PrinterSettings, RealPrinterAnswersWithWhatItHas)
{
    TFakePrinter printer;
    TPrinterSettings settings;
    settings.AttachPrinter(&printer);
    EXPECT_EQ(settings.Printers.size(), 3);
    EXPECT_EQ(settings.VirtualPrinterIndex, 2);
    EXPECT_EQ(settings.PrinterIndex, 0);
    EXPECT_EQ(settings.DriverName, QStringLiteral("fake.drv"));
    EXPECT_EQ(settings.PaperCodeCount, 3);
    EXPECT_EQ(settings.PaperWidth, 2100);
    EXPECT_EQ(settings.PaperHeight, 2970);

    settings.SetPaper(8, 0, 0, 1);
    EXPECT_EQ(printer.Mode.PaperSize, 8);
    EXPECT_EQ(printer.Mode.Orientation, 2);
    TPrinterInfo info;
    settings.FillPrinterInfo(info);
    EXPECT_EQ(info.DevicePageWidth, 9921);
    EXPECT_EQ(info.DeviceOffsetX, 100);
    EXPECT_EQ(info.PageWidth, DotsToDesignX(9921, 600));
    EXPECT_EQ(info.OffsetY, DotsToDesignY(120, 600));
    EXPECT_EQ(info.PrintableHeight, DotsToDesignY(7016 - 240, 600));

    printer.Refused = {11};
    settings.SetPaper(11, 0, 0, 0);
    EXPECT_EQ(settings.PaperCode, 9);

    settings.SelectPrinter(2);
    EXPECT_TRUE(settings.IsVirtual());
    settings.SelectPrinter(1);
    EXPECT_EQ(printer.Index, 1);
    EXPECT_EQ(settings.CurrentPrinterName(), QStringLiteral("Плоттер"));
}

TEST(PageList, TextsGiveThePagesToPrint)
{
    struct Case
    {
        const char *text;
        std::vector<int> in;
        std::vector<int> out;
    };
    const Case cases[] = {
        {"1,3,5-7", {1, 3, 5, 6, 7}, {2, 4, 8, 9}},
        {" 2 - 4 ", {2, 3, 4}, {1, 5}},
        {"5-3", {}, {1, 3, 4, 5, 9}},
        {"", {1, 2, 9, 1000}, {}},
        {"1-2000000000", {1, 1999999999}, {0}},
    };
    for (const Case &c : cases) {
        const TPageList pages = ParsePageList(QString::fromUtf8(c.text));
        for (int n : c.in)
            EXPECT_TRUE(pages.Contains(n)) << c.text << " " << n;
        for (int n : c.out)
            EXPECT_FALSE(pages.Contains(n)) << c.text << " " << n;
    }
    for (const char *bad : {"1,x", "1,,2", "-3", "1-"})
        EXPECT_THROW(ParsePageList(QString::fromUtf8(bad)), EConvertError) << bad;
}

// Another part of the program turned the shared printer (a chart prints
// landscape): the settings read what the device holds, and a page asking for
// the paper set before gets it back.
TEST(PrinterSettings, APrinterTurnedBehindTheSettingsIsTurnedBack)
{
    for (const bool reattached : {false, true}) {
        SCOPED_TRACE(reattached ? "attached again" : "kept attached");
        TFakePrinter printer;
        TPrinterSettings settings;
        settings.AttachPrinter(&printer);
        settings.SetPaper(9, 0, 0, 0);
        printer.Mode.Orientation = 2;
        printer.Mode.PaperSize = 8;
        if (reattached) {
            settings.AttachPrinter(&printer);
            EXPECT_EQ(settings.Orientation, 1);
            EXPECT_EQ(settings.PaperCode, 8);
        }
        settings.SetPaper(9, 0, 0, 0);
        EXPECT_EQ(printer.Mode.Orientation, 1);
        EXPECT_EQ(printer.Mode.PaperSize, 9);
        TPrinterInfo info;
        settings.FillPrinterInfo(info);
        EXPECT_LT(info.PageWidth, info.PageHeight);
    }
}
