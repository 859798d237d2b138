#include "report/report_document.h"

#include "platform/codepage.h"

#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>

namespace {

// A 2 x 1 24-bit bitmap file.
QByteArray TinyBitmap()
{
    QByteArray bmp;
    TfrStream s;
    s.WriteBytes("BM");
    s.WriteValue<std::int32_t>(14 + 40 + 8);
    s.WriteValue<std::int32_t>(0);
    s.WriteValue<std::int32_t>(14 + 40);
    s.WriteValue<std::int32_t>(40);
    s.WriteValue<std::int32_t>(2);
    s.WriteValue<std::int32_t>(1);
    s.WriteValue<std::int16_t>(1);
    s.WriteValue<std::int16_t>(24);
    for (int i = 0; i < 6; ++i)
        s.WriteValue<std::int32_t>(0);
    s.WriteBytes(QByteArray("\x00\x00\xFF\xFF\xFF\xFF\x00\x00", 8));
    return s.Data();
}

class ReportFiles : public ::testing::Test
{
protected:
    QString Path(const char *name) const { return Dir.filePath(QString::fromUtf8(name)); }

    // Two pages with every kind of object, bindings of each kind and two
    // variable categories.
    void BuildFullTemplate(TfrReportDocument &report)
    {
        report.UseDefaultPrinter = true;
        report.TwoPassBuild = true;
        TfrPage &first = report.TemplatePages.Add();
        first.MarginLeft = 36;
        first.HonourMargins = -1;
        TfrPage &second = report.TemplatePages.Add();
        second.ChangePaper(8, 0, 0, 1);
        second.ColumnCount = 2;

        auto band = std::make_unique<TfrBandView>();
        band->Name = QStringLiteral("Band1");
        band->SetBandType(5);
        band->FormatText = QStringLiteral("Данные");
        band->Top = 100;
        band->Height = 20;
        auto memo = std::make_unique<TfrMemoView>();
        memo->Name = QStringLiteral("Memo1");
        memo->Lines = {QStringLiteral("Ветвь [Номер]"), QString(), QStringLiteral("Q = [Q #N10,2]")};
        memo->ScriptLines = {QStringLiteral("if [Q] > 10 then FontStyle := 2;")};
        memo->FontName = QStringLiteral("Times New Roman");
        memo->FontSize = 12;
        memo->Adjust = adjust::Centre | adjust::VCentre;
        memo->FrameTyp = frame::All;
        memo->FillColor = 0x00E0FFFF;
        memo->HighlightCondition = QStringLiteral("[Q] < 0");
        memo->DisplayFormat = 0x01020200 | ',';
        auto picture = std::make_unique<TfrPictureView>();
        picture->Name = QStringLiteral("Picture1");
        picture->Picture = {TfrPicture::gkBitmap, TinyBitmap()};
        auto line = std::make_unique<TfrLineView>();
        line->Name = QStringLiteral("Line1");
        line->Height = 50;
        auto sub = std::make_unique<TfrSubReportView>();
        sub->Name = QStringLiteral("SubReport1");
        sub->PageIndex = 1;
        sub->Visible = 0;
        first.TemplateObjects.push_back(std::move(band));
        first.TemplateObjects.push_back(std::move(memo));
        first.TemplateObjects.push_back(std::move(sub));
        second.TemplateObjects.push_back(std::move(picture));
        second.TemplateObjects.push_back(std::move(line));

        report.ValueBindings.AddValue(QStringLiteral("Пусто"));
        TfrValue *field = report.ValueBindings.AddValue(QStringLiteral("Номер"));
        field->Kind = TfrValue::kindField;
        field->DataSetName = QStringLiteral("frmAir.Branches");
        field->FieldText = QStringLiteral("No");
        TfrValue *special = report.ValueBindings.AddValue(QStringLiteral("Страница"));
        special->Kind = TfrValue::kindSpecial;
        special->SpecialIndex = 0;
        report.VariableLines = {QStringLiteral(" Ветви"), QStringLiteral("Номер"), QStringLiteral(" Прочее"),
                                QStringLiteral("Страница"), QStringLiteral("Пусто")};
    }

    static QByteArray Saved(TfrReportDocument &report)
    {
        TfrStream stream;
        report.SaveToStream(stream);
        return stream.Data();
    }

    TfrEngineScope Engine;
    QTemporaryDir Dir;
};

} // namespace

TEST_F(ReportFiles, EmptyOnePageTemplateIsFiftyEightBytesAndThePrinterName)
{
    TfrReportDocument report;
    report.TemplatePages.Add();
    const QByteArray bytes = Saved(report);
    const QByteArray printer = EncodeCp1251(PrinterSettings->CurrentPrinterName());
    EXPECT_EQ(bytes.size(), 58 + printer.size());
    EXPECT_EQ(static_cast<quint8>(bytes[0]), 23);
    EXPECT_EQ(bytes.mid(1, 4), QByteArray("\xFF\xFF\x00\x00", 4));
    EXPECT_EQ(bytes.mid(7, printer.size()), printer);
    EXPECT_EQ(static_cast<quint8>(bytes[8 + printer.size()]), TemplateRecordTag);
    EXPECT_EQ(bytes.right(8), QByteArray("\xFE\x00\x00\x00\x00\x00\x00\x00", 8));
}

TEST_F(ReportFiles, FullTemplateSavesLoadsAndSavesAgainByteForByte)
{
    TfrReportDocument report;
    BuildFullTemplate(report);
    const QByteArray first = Saved(report);
    report.SaveToFile(Path("full.frf"));

    TfrReportDocument loaded;
    loaded.LoadFromFile(Path("full.frf"));
    EXPECT_EQ(Saved(loaded), first);

    ASSERT_EQ(loaded.TemplatePages.Count(), 2);
    EXPECT_TRUE(loaded.TwoPassBuild);
    const TfrPage &second = loaded.TemplatePages.GetPage(1);
    EXPECT_EQ(second.PaperCode, 8);
    EXPECT_EQ(second.PaperWidth, 4200);
    ASSERT_EQ(loaded.TemplatePages.GetPage(0).TemplateObjects.size(), 3u);
    const auto *memo = dynamic_cast<const TfrMemoView *>(loaded.TemplatePages.GetPage(0).TemplateObjects[1].get());
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->Lines.size(), 3);
    EXPECT_EQ(memo->FontName, QStringLiteral("Times New Roman"));
    EXPECT_EQ(memo->HighlightCondition, QStringLiteral("[Q] < 0"));
    const auto *picture = dynamic_cast<const TfrPictureView *>(loaded.TemplatePages.GetPage(1).TemplateObjects[0].get());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Picture.Data, TinyBitmap());
    EXPECT_EQ(picture->Picture.Size(), (TSize{2, 1}));
    EXPECT_EQ(loaded.ValueBindings.Count(), 3);
    EXPECT_EQ(loaded.ValueBindings.FindVariable(QStringLiteral("номер"))->DataSetName, QStringLiteral("frmAir.Branches"));
    EXPECT_EQ(loaded.VariableLines.size(), 5);
    EXPECT_EQ(loaded.FindObject(QStringLiteral("line1")), loaded.TemplatePages.GetPage(1).TemplateObjects[1].get());
}

TEST_F(ReportFiles, BindingsOfTheSameNameAllSurviveReadAndSave)
{
    TfrReportDocument report;
    report.TemplatePages.Add();
    report.ValueBindings.AppendValue(QStringLiteral("Расход"))->FieldText = QStringLiteral("1");
    report.ValueBindings.AppendValue(QStringLiteral("РАСХОД"))->FieldText = QStringLiteral("2");
    const QByteArray first = Saved(report);

    TfrReportDocument loaded;
    TfrStream stream;
    stream.WriteBytes(first);
    stream.Seek(0);
    loaded.LoadFromStream(stream);
    ASSERT_EQ(loaded.ValueBindings.Count(), 2);
    EXPECT_EQ(loaded.ValueBindings.Item(1)->Name, QStringLiteral("РАСХОД"));
    EXPECT_EQ(loaded.ValueBindings.Item(1)->FieldText, QStringLiteral("2"));
    // The name finds the first, as before the save.
    EXPECT_EQ(loaded.ValueBindings.FindVariable(QStringLiteral("расход"))->FieldText, QStringLiteral("1"));
    EXPECT_EQ(Saved(loaded), first);
}

namespace {

// A template as versions 21 (no version byte) and 22 wrote it: no object
// names, no scripts, texts ending with a byte 0, six more bytes per page.
QByteArray OldTemplate(int version)
{
    TfrStream s;
    if (version == 22)
        s.WriteValue<std::uint8_t>(22);
    s.WriteValue<std::int16_t>(0);
    s.WriteValue<std::int16_t>(0);
    s.WriteBytes(QByteArray("\0", 1)); // printer name
    s.WriteValue<std::uint8_t>(TemplateRecordTag);
    for (int v : {9, 2100, 2970, 10, 10, 10, 10})
        s.WriteValue<std::int32_t>(v);
    s.WriteValue<std::uint8_t>(0);
    s.WriteBytes(QByteArray(6, '\x55'));
    s.WriteValue<std::int16_t>(0);
    s.WriteValue<std::int16_t>(0);
    s.WriteValue<std::int32_t>(1);
    s.WriteValue<std::int32_t>(0);
    for (int i = 0; i < 2; ++i) {
        s.WriteValue<std::uint8_t>(gtMemo);
        s.WriteValue<std::uint8_t>(0); // page
        for (int v : {10, 20 + 30 * i, 100, 20})
            s.WriteValue<std::int32_t>(v);
        s.WriteValue<std::uint16_t>(0); // flags: no word wrap stored
        s.WriteValue<std::uint16_t>(0);
        s.WriteValue<std::int32_t>(1);
        s.WriteValue<std::int32_t>(0);
        s.WriteValue<std::uint16_t>(0);
        s.WriteValue<std::int32_t>(clNone);
        s.WriteValue<std::int32_t>(0);
        s.WriteBytes(QByteArray("\0", 1));                    // format text
        s.WriteBytes(EncodeCp1251(QStringLiteral("Строка 1\rСтрока 2")) + QByteArray("\0", 1));
        s.WriteBytes(QByteArray("Arial\0", 6));
        s.WriteValue<std::int32_t>(10);
        s.WriteValue<std::uint16_t>(0);
        s.WriteValue<std::int32_t>(0);
        s.WriteValue<std::int32_t>(0);
        s.WriteValue<std::int16_t>(204);
        s.WriteValue<std::uint16_t>(2);
        s.WriteValue<std::int32_t>(0);
        s.WriteValue<std::int32_t>(clWhite);
        s.WriteBytes(QByteArray("\0", 1)); // highlight condition
    }
    s.WriteValue<std::uint8_t>(ValuesRecordTag);
    s.WriteValue<std::int32_t>(0);
    s.WriteBytes(QByteArray("\0", 1));
    return s.Data();
}

} // namespace

TEST_F(ReportFiles, OldStreamsGetGeneratedNamesAndVersion21WordWrap)
{
    for (int version : {21, 22}) {
        TfrStream s(OldTemplate(version));
        TfrReportDocument report;
        report.LoadFromStream(s);
        EXPECT_EQ(TemplateVersion, version);
        ASSERT_EQ(report.TemplatePages.Count(), 1);
        const auto &objects = report.TemplatePages.GetPage(0).TemplateObjects;
        ASSERT_EQ(objects.size(), 2u);
        EXPECT_EQ(objects[0]->Name, QStringLiteral("Memo1"));
        EXPECT_EQ(objects[1]->Name, QStringLiteral("Memo2"));
        EXPECT_EQ(objects[1]->Top, 50);
        EXPECT_EQ(objects[0]->Lines, (QStringList{QStringLiteral("Строка 1"), QStringLiteral("Строка 2")}));
        EXPECT_TRUE(objects[0]->ScriptLines.isEmpty());
        const auto *memo = static_cast<const TfrMemoView *>(objects[0].get());
        EXPECT_EQ((memo->Flags & flags::WordWrap) != 0, version == 21);
        EXPECT_EQ(memo->FontCharset, 1);
    }
}

TEST_F(ReportFiles, DamagedTemplatesAreErrorsNamingTheFileAndChangeNothing)
{
    TfrReportDocument source;
    BuildFullTemplate(source);
    const QByteArray good = Saved(source);

    struct Case
    {
        const char *name;
        QByteArray bytes;
    };
    QByteArray unknownType = good;
    // The first object record's type byte follows the two page records.
    const int firstObject = 1 + 4 + 2 + 20 + 1 + 2 * 42;
    ASSERT_EQ(static_cast<quint8>(unknownType[firstObject]), gtBand);
    unknownType[firstObject] = 7;
    QByteArray badPage = good;
    badPage[firstObject + 1] = 5;
    const Case cases[] = {
        {"truncated", good.left(good.size() - 30)},
        {"cut in a page record", good.left(40)},
        {"type without a reader", unknownType},
        {"missing page", badPage},
    };
    for (const Case &c : cases) {
        QFile file(Path("bad.frf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(c.bytes);
        file.close();
        TfrReportDocument report;
        report.TemplatePages.Add();
        report.VariableLines = {QStringLiteral("прежняя")};
        report.TwoPassBuild = false;
        try {
            report.LoadFromFile(Path("bad.frf"));
            ADD_FAILURE() << c.name;
        } catch (const EReportFileError &e) {
            EXPECT_TRUE(e.Message().contains(Path("bad.frf"))) << c.name;
        }
        EXPECT_EQ(report.TemplatePages.Count(), 1) << c.name;
        EXPECT_EQ(report.TemplatePages.GetPage(0).TemplateObjects.size(), 0u) << c.name;
        EXPECT_EQ(report.VariableLines, QStringList{QStringLiteral("прежняя")}) << c.name;
        EXPECT_FALSE(report.TwoPassBuild) << c.name;
    }
    EXPECT_THROW(TfrReportDocument().LoadFromFile(Path("absent.frf")), EFOpenError);

    // An unknown tag ends the template quietly, keeping what came before it.
    QByteArray tagged = good.left(firstObject);
    tagged.append('\x64');
    TfrStream stream(tagged);
    TfrReportDocument report;
    report.LoadFromStream(stream);
    EXPECT_EQ(report.TemplatePages.Count(), 2);
}

TEST_F(ReportFiles, LimitsOfTheFormatAreKeptOrRefused)
{
    TfrReportDocument report;
    report.TemplatePages.Add();
    const QString exact(255, u'я');
    report.ValueBindings.AddValue(exact)->FieldText = QString(300, u'ж');
    auto memo = std::make_unique<TfrMemoView>();
    memo->Lines = {QString(70000, u'x')};
    report.TemplatePages.GetPage(0).TemplateObjects.push_back(std::move(memo));
    TfrStream stream;
    report.SaveToStream(stream);
    stream.Seek(0);
    TfrReportDocument back;
    back.LoadFromStream(stream);
    ASSERT_EQ(back.ValueBindings.Count(), 1);
    EXPECT_EQ(back.ValueBindings.Item(0)->Name, exact);
    EXPECT_EQ(back.ValueBindings.Item(0)->FieldText, QString(255, u'ж'));
    EXPECT_EQ(back.TemplatePages.GetPage(0).TemplateObjects[0]->Lines[0].size(), 65535);

    // Objects of a 257th page could not say their page: the save is refused.
    TfrReportDocument big;
    for (int i = 0; i < 257; ++i)
        big.TemplatePages.Add();
    TfrStream refused;
    EXPECT_THROW(big.SaveToStream(refused), Exception);
}

TEST_F(ReportFiles, FramedMemoRecordsBecomeTextObjects)
{
    TfrReportDocument report;
    report.TemplatePages.Add();
    TfrStream s;
    report.SaveToStream(s);
    QByteArray bytes = s.Data();
    bytes.chop(8); // the values record goes after the object
    TfrStream tail;
    tail.WriteValue<std::uint8_t>(gtAddIn);
    tail.WriteCountedString(QStringLiteral("TfrFramedMemoView"));
    tail.WriteValue<std::uint8_t>(0);
    TfrMemoView memo;
    memo.Name = QStringLiteral("Рамка");
    memo.SaveToStream(tail);
    tail.WriteBytes(QByteArray(8, '\x11'));
    tail.WriteBytes(QByteArray("\xFE\x00\x00\x00\x00\x00\x00\x00", 8));
    TfrStream all(bytes + tail.Data());
    TfrReportDocument back;
    back.LoadFromStream(all);
    const auto &objects = back.TemplatePages.GetPage(0).TemplateObjects;
    ASSERT_EQ(objects.size(), 1u);
    EXPECT_EQ(objects[0]->ReportObjectType, gtMemo);
    EXPECT_EQ(objects[0]->Name, QStringLiteral("Рамка"));
}

TEST_F(ReportFiles, TemplateWithDescriptionInListAndFullModes)
{
    TfrReportDocument report;
    BuildFullTemplate(report);
    const QStringList description{QStringLiteral("Распределение воздуха"), QStringLiteral("по ветвям")};
    report.SaveTemplateFile(Path("t.frt"), description, TinyBitmap());

    TfrReportDocument other;
    other.TemplatePages.Add();
    QStringList text;
    QByteArray picture("old");
    other.LoadTemplateFile(Path("t.frt"), text, false, picture);
    EXPECT_EQ(text, description);
    EXPECT_EQ(picture, TinyBitmap());
    EXPECT_EQ(other.TemplatePages.Count(), 1);

    QStringList ignored;
    QByteArray none;
    other.LoadTemplateFile(Path("t.frt"), ignored, true, none);
    EXPECT_TRUE(ignored.isEmpty());
    EXPECT_EQ(Saved(other), Saved(report));

    report.SaveTemplateFile(Path("plain.frt"), {}, {});
    other.LoadTemplateFile(Path("plain.frt"), text, false, picture);
    EXPECT_TRUE(text.isEmpty());
    EXPECT_TRUE(picture.isEmpty());
}

TEST_F(ReportFiles, PreparedReportsRoundTrip)
{
    TfrReportDocument report;
    TfrPage &page = report.TemplatePages.Add();
    SetCurrentDocument(&report);
    for (int n = 0; n < 2; ++n) {
        TfrPreparedPage &prepared = report.PreparedPages.Add(page);
        TfrMemoView memo;
        memo.PreparedMode = true;
        memo.Left = 10;
        memo.Width = 200;
        memo.Height = 20;
        memo.Lines = {QStringLiteral("Лист %1").arg(n + 1)};
        memo.PrintToStream(prepared.Stream);
        TfrLineView line;
        line.PreparedMode = true;
        line.Width = 100;
        line.PrintToStream(prepared.Stream);
    }
    report.SavePreparedReport(Path("r.frp"));

    TfrReportDocument loaded;
    loaded.LoadPreparedReport(Path("r.frp"));
    EXPECT_FALSE(loaded.Rebuildable);
    ASSERT_EQ(loaded.PreparedPages.Count(), 2);
    EXPECT_EQ(loaded.PreparedPages[1].PrinterInfo.PageWidth, 752);
    loaded.PreparedPages.BuildPageModel(1);
    const auto &objects = loaded.PreparedPages[1].PageModel->TemplateObjects;
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(objects[0]->Lines, QStringList{QStringLiteral("Лист 2")});
    EXPECT_EQ(objects[1]->ReportObjectType, gtLine);
    loaded.SavePreparedReport(Path("again.frp"));
    QFile a(Path("r.frp")), b(Path("again.frp"));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll());

    // Drawing the page at twice its size scales its objects; a page out of
    // view draws nothing and drops its objects.
    TRecordingCanvas canvas;
    canvas.CharWidth = 6;
    loaded.PreparedPages.BuildPageModel(0);
    loaded.PreparedPages.Draw(0, canvas, {0, 0, 2 * 752, 2 * 1071});
    EXPECT_TRUE(canvas.Ops.empty());
    EXPECT_EQ(loaded.PreparedPages[0].PageModel, nullptr);
    loaded.PreparedPages[0].Visible = true;
    loaded.PreparedPages.Draw(0, canvas, {0, 0, 2 * 752, 2 * 1071});
    const auto *text = canvas.FindText(QStringLiteral("Лист 1"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->At.X, 2 * 10 + 3);
    // On screen, objects away from the clip (widened by 10) are skipped.
    canvas.Clear();
    canvas.SetClipRect({0, 80, 1500, 200});
    loaded.PreparedPages.Draw(0, canvas, {0, 0, 2 * 752, 2 * 1071});
    EXPECT_TRUE(canvas.Texts().isEmpty());
    canvas.SetClipRect({0, 30, 1500, 200});
    loaded.PreparedPages.Draw(0, canvas, {0, 0, 2 * 752, 2 * 1071});
    EXPECT_EQ(canvas.Texts(), QStringList{QStringLiteral("Лист 1")});

    // No pages: the flag, the printer name and a count of 0.
    TfrReportDocument empty;
    empty.SavePreparedReport(Path("empty.frp"));
    QFile e(Path("empty.frp"));
    ASSERT_TRUE(e.open(QIODevice::ReadOnly));
    EXPECT_EQ(e.size(), 1 + 3 + EncodeCp1251(PrinterSettings->CurrentPrinterName()).size() + 4);
    e.close();
    loaded.LoadPreparedReport(Path("empty.frp"));
    EXPECT_EQ(loaded.PreparedPages.Count(), 0);

    // A compressed file: the hook gives nothing, the pages show nothing.
    QFile r(Path("r.frp"));
    ASSERT_TRUE(r.open(QIODevice::ReadOnly));
    QByteArray bytes = r.readAll();
    r.close();
    bytes[0] = 1;
    QFile c(Path("c.frp"));
    ASSERT_TRUE(c.open(QIODevice::WriteOnly));
    c.write(bytes);
    c.close();
    loaded.LoadPreparedReport(Path("c.frp"));
    ASSERT_EQ(loaded.PreparedPages.Count(), 2);
    loaded.PreparedPages.BuildPageModel(0);
    EXPECT_TRUE(loaded.PreparedPages[0].PageModel->TemplateObjects.empty());
}

TEST_F(ReportFiles, ObjectsFarOffTheSheetDrawWithoutOverflow)
{
    // A damaged prepared report: objects at the ends of the integer range,
    // framed and filled, drawn on screen and on a printer.
    TfrReportDocument report;
    TfrPage &page = report.TemplatePages.Add();
    SetCurrentDocument(&report);
    TfrPreparedPage &prepared = report.PreparedPages.Add(page);
    const struct
    {
        int Left, Top, Width, Height;
    } far[] = {{INT_MAX - 5, 10, 1000, 20}, {10, INT_MAX - 5, 200, 1000}, {INT_MIN + 5, 10, -1000, 20},
               {-2000000000, -2000000000, INT_MAX, INT_MAX}};
    for (const auto &f : far) {
        TfrMemoView memo;
        memo.PreparedMode = true;
        memo.Left = f.Left;
        memo.Top = f.Top;
        memo.Width = f.Width;
        memo.Height = f.Height;
        memo.FrameTyp = frame::All;
        memo.FillColor = clWhite;
        memo.Lines = {QStringLiteral("далеко")};
        memo.PrintToStream(prepared.Stream);
    }
    TRecordingCanvas canvas;
    canvas.CharWidth = 6;
    canvas.SetClipRect({0, 0, 1500, 2200});
    report.PreparedPages.Draw(0, canvas, {0, 0, 2 * 752, 2 * 1071});
    EXPECT_TRUE(canvas.Texts().isEmpty());
    report.PreparedPages.BuildPageModel(0);
    for (const auto &view : report.PreparedPages[0].PageModel->TemplateObjects) {
        view->ScaleX = view->ScaleY = 2;
        view->ToPrinter = true;
        view->Draw(canvas);
    }
    // The drawn rectangle saturates at the range's ends.
    const TRect &first = report.PreparedPages[0].PageModel->TemplateObjects[0]->DrawRect;
    EXPECT_EQ(first.Left, INT_MAX);
    EXPECT_EQ(first.Right, INT_MAX);
    EXPECT_EQ((TRect{-2000000000, 0, 2000000000, 0}).Width(), INT_MAX);
    EXPECT_EQ((TRect{0, 2000000000, 0, -2000000000}).Height(), INT_MIN);
}

TEST_F(ReportFiles, ReportFormPropertyCarriesTheTemplateOnlyWhenAsked)
{
    TfrReportDocument report;
    BuildFullTemplate(report);
    TfrStream plain;
    report.WriteReportForm(plain);
    EXPECT_EQ(plain.Data(), QByteArray("\x17\x00\x00\x00", 4));

    report.StoreInDFM = true;
    TfrStream stored;
    report.WriteReportForm(stored);
    stored.Seek(0);
    TfrReportDocument back;
    back.StoreInDFM = true;
    back.ReadReportForm(stored);
    EXPECT_TRUE(stored.AtEnd());
    EXPECT_EQ(Saved(back), Saved(report));
}
