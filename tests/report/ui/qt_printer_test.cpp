#include "../build_fixture.h"
#include "modal.h"

#include "report/ui/frm_print.h"
#include "report/ui/qt_printer.h"

#include <QtCore/QFile>
#include <QtCore/QRegularExpression>
#include <QtCore/QScopeGuard>
#include <QtCore/QTemporaryDir>
#include <QtTest/QTest>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QToolButton>

namespace {

// Jobs on the PDF entry of a printer without system printers; each job
// writes the next file of the folder.
class PdfPrinting : public ReportBuild
{
protected:
    void SetUp() override
    {
        ReportBuild::SetUp();
        Printer.ChoosePdfFile = [this](const QString &title) {
            Titles << title;
            return Dir.filePath(QStringLiteral("job%1.pdf").arg(Titles.size()));
        };
        SetReportPrinter(&Printer);
        PrinterSettings->AttachPrinter(&Printer);
    }
    void TearDown() override
    {
        CloseOpenModals();
        SetReportPrinter(nullptr);
        PrinterSettings->AttachPrinter(nullptr);
        ReportBuild::TearDown();
    }

    QByteArray Job(int n) const
    {
        QFile file(Dir.filePath(QStringLiteral("job%1.pdf").arg(n)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The sizes of the job's pages in points, in page order.
    static QStringList MediaBoxes(const QByteArray &pdf)
    {
        QStringList boxes;
        static const QRegularExpression box(QStringLiteral("/MediaBox \\[0 0 ([0-9]+)[0-9.]* ([0-9]+)[0-9.]*\\]"));
        for (const auto &m : box.globalMatch(QString::fromLatin1(pdf)))
            boxes << m.captured(1) + u'x' + m.captured(2);
        return boxes;
    }

    QTemporaryDir Dir;
    TQtPrinter Printer{false};
    QStringList Titles;
};

} // namespace

TEST_F(PdfPrinting, TheListEndsWithThePdfWriterThenThePrinterlessEntry)
{
    EXPECT_EQ(PrinterSettings->Printers, QStringList({TQtPrinter::PdfPrinterName, QStringLiteral("Принтер по умолчанию")}));
    EXPECT_EQ(PrinterSettings->PrinterIndex, 0);
    EXPECT_EQ(PrinterSettings->PaperCode, 9);
    // A landscape A3 sheet comes back from the device as asked.
    PrinterSettings->SetPaper(8, 2970, 4200, 1);
    EXPECT_EQ(PrinterSettings->PaperCode, 8);
    EXPECT_EQ(PrinterSettings->Orientation, 0 + 1);
    TPrinterInfo info;
    PrinterSettings->FillPrinterInfo(info);
    EXPECT_EQ(info.PageWidth, TenthMmToDesignX(4200));
    EXPECT_EQ(info.PageHeight, TenthMmToDesignY(2970));
}

TEST_F(PdfPrinting, PapersChangeWithinOneFileEachPageOnItsOwn)
{
    Band(Page(0), btReportTitle, 0, 40);
    Memo(Page(0), 0, 0, 100, 17, QStringLiteral("A4"));
    const std::pair<int, int> papers[] = {{8, 0}, {9, 1}, {9, 0}}; // A3, A4 landscape, A4
    for (std::size_t i = 0; i < std::size(papers); ++i) {
        TfrPage &page = Page(static_cast<int>(i) + 1);
        page.ChangePaper(papers[i].first, 0, 0, papers[i].second);
        Band(page, btReportTitle, 0, 40);
        Memo(page, 0, 0, 100, 17, QStringLiteral("лист"));
    }
    Report.Title = QStringLiteral("Депрессии");
    Report.PrepareReport();
    ASSERT_EQ(Report.PreparedPages.Count(), 4);
    Report.PrintPreparedReport(QString(), 1);
    EXPECT_EQ(Titles, QStringList({"Kvadrep: Депрессии"}));
    EXPECT_EQ(MediaBoxes(Job(1)), QStringList({"595x842", "842x1191", "842x595", "595x842"}));

    // A page list that skips the first page starts the file on the paper of the first one printed.
    Report.PrintPreparedReport(QStringLiteral("2-3"), 1);
    EXPECT_EQ(MediaBoxes(Job(2)), QStringList({"842x1191", "842x595"}));
}

TEST_F(PdfPrinting, PdfPagesKeepAnOfficePrintersBorder)
{
    // A template that prints from the printer's offsets starts about 5 mm
    // from the sheet's edges, in the preview as in the file.
    for (const int orientation : {0, 1}) {
        PrinterSettings->SetPaper(9, 0, 0, orientation);
        TPrinterInfo info;
        PrinterSettings->FillPrinterInfo(info);
        for (const int offset : {info.OffsetX, info.OffsetY, info.PageWidth - info.OffsetX - info.PrintableWidth,
                                 info.PageHeight - info.OffsetY - info.PrintableHeight}) {
            EXPECT_GE(offset, TenthMmToDesignX(40)) << orientation;
            EXPECT_LE(offset, TenthMmToDesignX(60)) << orientation;
        }
    }
    TfrPage &page = Page();
    page.ChangePaper(9, 0, 0, 0);
    Band(page, btReportTitle, 0, 40);
    Memo(page, 0, 0, 100, 17, QStringLiteral("Заголовок"));
    Report.PrepareReport();
    const auto sheet = DumpSheet(Report.PreparedPages, 0);
    ASSERT_EQ(sheet.size(), 1u);
    EXPECT_GE(sheet[0].Top, TenthMmToDesignY(40));
}

TEST_F(PdfPrinting, PageListAndCopiesAndCancel)
{
    Band(Page(), btMasterData, 0, 40, QStringLiteral("9"), 2);
    Memo(Page(), 0, 0, 100, 17, QStringLiteral("[LINE#]"));
    Report.PrepareReport();
    ASSERT_EQ(Report.PreparedPages.Count(), 9);
    std::vector<int> printed;
    Report.OnProgress = [&](int page) { printed.push_back(page); };
    Report.PrintPreparedReport(QStringLiteral("1,3,5-7"), 2);
    EXPECT_EQ(MediaBoxes(Job(1)).size(), 10);
    EXPECT_EQ(printed, std::vector<int>({1, 1, 3, 3, 5, 5, 6, 6, 7, 7}));

    // Cancel after the second page aborts the job: nothing more is written.
    printed.clear();
    Report.OnProgress = [&](int page) {
        printed.push_back(page);
        if (page == 2)
            Report.Cancelled = true;
    };
    Report.PrintPreparedReport(QString(), 1);
    EXPECT_EQ(printed, std::vector<int>({1, 2}));
    EXPECT_FALSE(Printer.Printing());
    EXPECT_LT(MediaBoxes(Job(2)).size(), 3);
}

TEST_F(PdfPrinting, PrintDialogCaptionsCopiesPagesAndCancel)
{
    PrinterSettings->SelectPrinter(0);
    TfrPrintForm form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Печать"));
    QStringList captions;
    for (const QAbstractButton *b : form.findChildren<QAbstractButton *>())
        if (!b->text().isEmpty())
            captions << b->text();
    captions.sort();
    EXPECT_EQ(captions, QStringList({"&Все", "&Номера:", "&Текущая", "ОК", "Отмена", "Свойства..."}));
    EXPECT_EQ(form.Label1->text(), QStringLiteral("&Копии:"));
    EXPECT_EQ(form.Label2->text(),
              QStringLiteral("Введите номера и/или диапазоны страниц, разделенные запятыми. Например, 1,3,5-12"));
    EXPECT_EQ(form.CB1->count(), 1);
    EXPECT_EQ(form.E1->text(), QStringLiteral("1"));
    EXPECT_TRUE(form.RB1->isChecked());
    EXPECT_EQ(form.PageList(2), QString());

    form.DownButton->click();
    EXPECT_EQ(form.E1->text(), QStringLiteral("1"));
    form.UpButton->click();
    form.UpButton->click();
    form.DownButton->click();
    EXPECT_EQ(form.E1->text(), QStringLiteral("2"));
    form.RB2->setChecked(true);
    EXPECT_EQ(form.PageList(2), QStringLiteral("2"));

    form.show();
    QTest::mouseClick(form.E2, Qt::LeftButton);
    EXPECT_TRUE(form.RB3->isChecked());
    form.E2->setText(QStringLiteral("1,x"));
    EXPECT_EQ(form.PageList(2), QStringLiteral("1,x"));

    // Leaving without OK takes the printer of the opening back.
    PrinterSettings->SelectPrinter(PrinterSettings->VirtualPrinterIndex);
    form.reject();
    EXPECT_EQ(PrinterSettings->PrinterIndex, 0);
}
