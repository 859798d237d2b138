#include "build_fixture.h"
#include "metafile_builder.h"

#include "platform/codepage.h"
#include "platform/exceptions.h"
#include "platform/prompt.h"
#include "report/export_filters.h"

#include <QtCore/QBuffer>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

namespace {

// A filter on a memory buffer, fed texts as a page replay would.
class ExportFilters : public ::testing::Test
{
protected:
    void SetUp() override { Buffer.open(QIODevice::WriteOnly); }
    void Reset()
    {
        Buffer.close();
        Buffer.setData({});
        Buffer.open(QIODevice::WriteOnly);
    }

    TfrMemoView &Text(int size = 10, int style = 0, TColor color = clBlack)
    {
        auto memo = std::make_unique<TfrMemoView>();
        memo->FontSize = size;
        memo->FontStyle = static_cast<std::uint16_t>(style);
        memo->FontColor = color;
        Memos.push_back(std::move(memo));
        return *Memos.back();
    }

    // Each page is a list of (x, y, text) given in that order.
    struct TLine
    {
        int X, Y;
        QString Text;
    };
    QByteArray Run(TfrExportFilterClass filterClass, const std::vector<std::vector<TLine>> &pages, TfrView *view = nullptr)
    {
        std::unique_ptr<TfrExportFilter> filter = filterClass(Buffer);
        filter->BeginDocument();
        for (const auto &page : pages) {
            filter->BeginPage();
            for (const TLine &line : page)
                filter->AddText(line.X, line.Y, view ? view : &Text(), line.Text);
            filter->EndPage();
        }
        filter->EndDocument();
        filter->Finish();
        filter.reset();
        return Buffer.data();
    }

    TfrEngineScope Scope;
    QBuffer Buffer;
    std::vector<std::unique_ptr<TfrMemoView>> Memos;
};

} // namespace

TEST_F(ExportFilters, RowsAndColumnsOfTheTextGrid)
{
    // y 8 and 24 round half to even into rows 0 and 2; x 65 is column 10.
    const std::vector<std::vector<TLine>> page{{{65, 8, "b"}, {0, 8, "a"}, {0, 24, "c"}}};
    EXPECT_EQ(Run(&MakeExportFilter<TfrTextExportFilter>, page), QByteArray("a         b\r\n\r\nc\r\n\f\r\n"));
    Reset();
    EXPECT_EQ(Run(&MakeExportFilter<TfrCSVExportFilter>, page), QByteArray("a;b\r\n\r\nc\r\n"));
}

// A text left of the sheet's edge is moved to the row's start; the texts
// after it that stood apart from it on the sheet stay apart, one pad at
// least, while texts that overlap on the sheet run together as always.
TEST_F(ExportFilters, TextsLeftOfTheEdgeKeepAPadToTheNextText)
{
    struct TCase
    {
        const char *Name;
        TfrExportFilterClass Filter;
        std::vector<TLine> Row;
        QByteArray Expected;
    };
    const auto text = &MakeExportFilter<TfrTextExportFilter>;
    const auto csv = &MakeExportFilter<TfrCSVExportFilter>;
    const TCase cases[] = {
        {"the first line of a wrapped text, then one near", text, {{-30, 0, "Чуть"}, {20, 0, "Рядом 1"}}, "Чуть Рядом 1"},
        {"a text far left", text, {{-19000, 0, "далеко"}, {20, 0, "Рядом"}}, "далеко Рядом"},
        {"two left of the edge", text, {{-30, 0, "a"}, {-10, 0, "b"}, {20, 0, "c"}}, "a b c"},
        // y stands in its own column 31.
        {"a chain pushed along", text, {{-30, 0, "Чуть"}, {20, 0, "Рядом 1"}, {60, 0, "x"}, {200, 0, "y"}},
         "Чуть Рядом 1 x                 y"},
        {"a near text beyond the moved one", text, {{-30, 0, "ab"}, {65, 0, "c"}}, "ab        c"},
        {"texts overlapping on the sheet", text, {{0, 0, "abcdef"}, {13, 0, "g"}}, "abcdefg"},
        {"fields of CSV", csv, {{-100, 0, "far"}, {20, 0, "near"}, {70, 0, "next"}, {300, 0, "last"}},
         "far;near;next;;last"},
        {"one field of CSV", csv, {{0, 0, "a"}, {20, 0, "b"}}, "ab"},
    };
    for (const TCase &c : cases) {
        Reset();
        std::vector<TLine> row = c.Row;
        // Handed over from right to left, as a replay may.
        std::reverse(row.begin(), row.end());
        QByteArray expected = EncodeCp1251(QString::fromUtf8(c.Expected)) + "\r\n";
        if (c.Filter == text)
            expected += "\f\r\n";
        EXPECT_EQ(Run(c.Filter, {row}), expected) << c.Name;
    }
}

TEST_F(ExportFilters, EmptyPages)
{
    struct TCase
    {
        TfrExportFilterClass Filter;
        QByteArray Expected;
    };
    const TCase cases[] = {
        {&MakeExportFilter<TfrTextExportFilter>, "\f\r\n"},
        {&MakeExportFilter<TfrCSVExportFilter>, ""},
        {&MakeExportFilter<TfrHTMExportFilter>, "<HTML>\r\n<Body bgColor=\"#FFFFFF\">\r\n<Table>\r\n</Table>\r\n</Body>\r\n</HTML>\r\n"},
    };
    for (const TCase &c : cases) {
        Reset();
        EXPECT_EQ(Run(c.Filter, {{}}), c.Expected);
    }
}

TEST_F(ExportFilters, HtmlCellsCarryColourSizeAndStyle)
{
    TfrMemoView &plain = Text();
    TfrMemoView &red = Text(8, 2, clRed);
    std::unique_ptr<TfrExportFilter> filter = MakeExportFilter<TfrHTMExportFilter>(Buffer);
    filter->BeginPage();
    filter->AddText(0, 0, &plain, QStringLiteral("a<b&c"));
    filter->AddText(100, 0, &red, QStringLiteral("text"));
    filter->AddText(0, 16, &Text(36, 5, clWhite), QStringLiteral("big"));
    filter->EndPage();
    filter->Finish();
    EXPECT_EQ(Buffer.data(), QByteArray("<HTML>\r\n<Body bgColor=\"#FFFFFF\">\r\n<Table>\r\n"
                                        "<tr><td>a&lt;b&amp;c</td><td><Font Color=\"#FF0000\" Size=2><b>text</td></tr>\r\n"
                                        "<tr><td><Font  Size=7><i><u>big</td></tr>\r\n"
                                        "</Table>\r\n</Body>\r\n</HTML>\r\n"));
}

TEST_F(ExportFilters, RtfTablesRowsAndPages)
{
    TfrMemoView &a = Text(10, 0, clBlack);
    TfrMemoView &b = Text(10, 4, clRed);
    std::unique_ptr<TfrExportFilter> filter = MakeExportFilter<TfrRTFExportFilter>(Buffer);
    for (int page = 0; page < 3; ++page) {
        filter->BeginPage();
        filter->AddText(13, 0, &a, QStringLiteral("x{\\}"));
        filter->AddText(26, 0, &a, QStringLiteral("y"));
        filter->AddText(39, 0, &b, QStringLiteral("Я"));
        filter->EndPage();
    }
    filter->Finish();
    filter.reset();
    const QByteArray row = "\\pard\\tx200\\tx400\\tx600{\\tab\\f0\\fs20\\cf1 x\\{\\\\\\}\\tab y\\tab\\ul\\cf2 \xDF\\par}\r\n";
    EXPECT_EQ(Buffer.data(), "{\\rtf1\\ansi\r\n{\\fonttbl{\\f0 Arial}}\r\n{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}\r\n"
                                 + row + "\\page\r\n" + row + "\\page\r\n" + row + "\\par}");
}

// RTF holds a bitmap file in a metafile wrapper and a metafile as it is (a
// WMF without its placeable header, an EMF whole). A PNG kept under the
// bitmap kind is left out rather than written as a broken picture.
TEST_F(ExportFilters, RtfPicturesAreBitmapFilesAndMetafiles)
{
    QByteArray bmp("BM", 2);
    for (std::int32_t v : {14 + 40 + 4, 0, 14 + 40, 40, 1, 1})
        bmp += QByteArray(reinterpret_cast<const char *>(&v), 4);
    bmp += QByteArray::fromHex("01001800000000000000000000000000000000000000000000000000") + QByteArray::fromHex("0000ff00");
    TWmfBuilder wmf;
    wmf.Window(0, 0, 10, 10);
    TEmfBuilder emf;
    emf.Rectangle(0, 0, 10, 10);
    const QByteArray emfBytes = emf.Bytes(QRect(0, 0, 10, 10), QRect(0, 0, 265, 265));
    const QByteArray head = "{\\pict\\wmetafile8\\picw1059\\pich794";
    const struct
    {
        const char *Name;
        TfrPicture Picture;
        QByteArray Written; // empty: no picture
    } cases[] = {
        {"bitmap", {TfrPicture::gkBitmap, bmp}, head + " \\picbmp\\picbpp4\r\n0100090000"},
        {"PNG", {TfrPicture::gkBitmap, QByteArray::fromHex("89504e470d0a1a0a0000000d49484452000000280000001e")}, {}},
        {"placeable WMF", {TfrPicture::gkMetafile, wmf.Placeable(QRect(0, 0, 10, 10), 96, 0)},
         head + "\\picwgoal800\\pichgoal600\r\n" + wmf.Plain(0).toHex().toUpper() + "\r\n}"},
        {"EMF", {TfrPicture::gkMetafile, emfBytes},
         "{\\pict\\emfblip\\picw1059\\pich794\\picwgoal800\\pichgoal600\r\n" + emfBytes.left(64).toHex().toUpper() + "\r\n"},
        {"damaged metafile", {TfrPicture::gkMetafile, QByteArray("not a metafile")}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        TfrPictureView picture;
        picture.Width = 40;
        picture.Height = 30;
        picture.Picture = c.Picture;
        Reset();
        std::unique_ptr<TfrExportFilter> filter = MakeExportFilter<TfrRTFExportFilter>(Buffer);
        filter->BeginPage();
        filter->AddObject(0, 0, &picture);
        filter->EndPage();
        filter->Finish();
        filter.reset();
        if (c.Written.isEmpty())
            EXPECT_FALSE(Buffer.data().contains("\\pict"));
        else
            EXPECT_TRUE(Buffer.data().contains(c.Written)) << Buffer.data().toStdString();
    }
}

TEST_F(ExportFilters, TextsPastTheGridAndLongTextsStayWhole)
{
    // Row 250 lies past the 201 rows a page starts with.
    const QString longText(300, u'x');
    const QByteArray out = Run(&MakeExportFilter<TfrCSVExportFilter>, {{{0, 250 * 16, "last"}, {0, 0, longText}}});
    const QList<QByteArray> lines = out.split('\n');
    ASSERT_EQ(lines.size(), 252);
    EXPECT_EQ(lines[0], QByteArray(255, 'x') + '\r');
    EXPECT_EQ(lines[250], "last\r");
}

TEST_F(ExportFilters, FontHeightIsAskedUntilItIsAPositiveInteger)
{
    QStringList answers{QStringLiteral("0"), QStringLiteral("abc"), QStringLiteral("-3"), QStringLiteral("20")};
    int asked = 0;
    Engine().InputBox = [&](const QString &caption, const QString &prompt, const QString &defaultText) {
        EXPECT_EQ(caption, QStringLiteral("Параметры фильтра"));
        EXPECT_EQ(prompt, QStringLiteral("Средняя высота шрифта:"));
        EXPECT_EQ(defaultText, QStringLiteral("16"));
        return answers.value(asked++);
    };
    // Row 1 at height 20 (it would be row 2 at 16).
    EXPECT_EQ(Run(&MakeExportFilter<TfrCSVExportFilter>, {{{0, 24, "a"}}}), QByteArray("\r\na\r\n"));
    EXPECT_EQ(asked, 4);
    SetExportFontHeight(16);
}

TEST(ExportFilterRegistry, ListsTheFourFiltersInOrder)
{
    QStringList entries;
    for (const TfrExportFilterInfo &info : ExportFilterRegistry())
        entries << info.Description + u'|' + info.Mask;
    EXPECT_EQ(entries.mid(0, 4), QStringList({"Текстовый файл (*.txt)|*.txt", "Файл Rich Text (*.rtf)|*.rtf",
                                              "Файл CSV (*.csv)|*.csv", "Файл HTML (*.htm)|*.htm"}));
}

// ---------------------------------------------------------------- ExportTo

TEST_F(ReportBuild, ExportWritesEveryPageThroughTheFilter)
{
    TfrPage &page = Page();
    page.HonourMargins = 0; // each row at the sheet's top: no empty line above it
    Band(page, btMasterData, 0, 40, QStringLiteral("3"), 2);
    Memo(page, 0, 0, 100, 17, QStringLiteral("[LINE#]"));
    Report.PrepareReport();
    ASSERT_EQ(Report.PreparedPages.Count(), 3);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("отчет.csv"));
    Progress.Captions.clear();
    Progress.Texts.clear();
    Report.ExportTo(&MakeExportFilter<TfrCSVExportFilter>, file);
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("1\r\n2\r\n3\r\n"));
    EXPECT_EQ(Progress.Captions, QStringList{"Подготовка отчета"});
    EXPECT_EQ(Progress.Texts,
              QStringList({"Формируется страница:  1 из 3", "Формируется страница:  2 из 3", "Формируется страница:  3 из 3"}));
    EXPECT_EQ(Report.ActiveExportFilter, nullptr);

    // A folder that is not there: raised before the progress window shows.
    Progress.Captions.clear();
    EXPECT_THROW(Report.ExportTo(&MakeExportFilter<TfrCSVExportFilter>, dir.filePath(QStringLiteral("нет/отчет.csv"))),
                 EFCreateError);
    EXPECT_TRUE(Progress.Captions.isEmpty());
}

TEST_F(ReportBuild, TextsBeyondTheSheetAreLeftOutOfEveryExportAndCounted)
{
    TfrPage &page = Page();
    Band(page, btMasterData, 0, 100, QStringLiteral("1"), 2);
    Memo(page, 20, 20, 100, 17, QStringLiteral("near"));
    Memo(page, 300, 60, 100, 17, QStringLiteral("side"));
    Memo(page, 20, 60, 100, 17, QStringLiteral("far"));
    Report.PrepareReport();
    ASSERT_EQ(Report.PreparedPages.Count(), 1);
    QTemporaryDir dir;
    // The last memo moved two milliard units off the sheet on one side, as a
    // prepared report read from a file may have it; off to the left it still
    // shares its row with another text.
    for (const auto &[down, shift] : {std::pair{true, 2000000000}, std::pair{false, 2000000000},
                                      std::pair{true, -2000000000}, std::pair{false, -2000000000}}) {
        TfrReport moved;
        {
            TfrEMFPages &pages = Report.PreparedPages;
            pages.BuildPageModel(0);
            TfrView &far = *pages[0].PageModel->TemplateObjects.back();
            ASSERT_EQ(far.Lines, QStringList{QStringLiteral("far")});
            (down ? far.Top : far.Left) = shift;
            pages.StorePageModel(0);
            pages[0].PageModel.reset();
            const QString frp = dir.filePath(QStringLiteral("far.frp"));
            Report.SavePreparedReport(frp);
            moved.LoadPreparedReport(frp);
            Report.PrepareReport();
        }
        for (const TfrExportFilterInfo &filter : ExportFilterRegistry()) {
            TScriptedPrompt prompt;
            const QString file = dir.filePath(QStringLiteral("out") + filter.Mask.mid(1));
            moved.ExportTo(filter.FilterClass, file);
            QFile written(file);
            ASSERT_TRUE(written.open(QIODevice::ReadOnly));
            const QByteArray bytes = written.readAll();
            SCOPED_TRACE(filter.Mask.toStdString() + (down ? " down " : " across ") + std::to_string(shift));
            EXPECT_LT(bytes.size(), 10000);
            EXPECT_TRUE(bytes.contains("near") && bytes.contains("side"));
            EXPECT_FALSE(bytes.contains("far")) << filter.Mask.toStdString();
            ASSERT_EQ(prompt.Asked.size(), 1u) << filter.Mask.toStdString();
            EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("Текстов за пределами листа: 1. В файл они не записаны."));
        }
    }
}
