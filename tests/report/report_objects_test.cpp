#include "report/library.h"
#include "report/report_objects.h"

#include "report_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

namespace {

std::vector<TRecordingCanvas::TOpKind> Kinds(const TRecordingCanvas &canvas)
{
    std::vector<TRecordingCanvas::TOpKind> kinds;
    for (const auto &op : canvas.Ops)
        kinds.push_back(op.Kind);
    return kinds;
}

} // namespace

TEST(ReportObjectFactory, CodesClassesCounterAndAddIns)
{
    const std::uint32_t first = ObjectCounter;
    const char *names[] = {"Memo", "Picture", "Band", "SubReport", "Line"};
    for (std::uint8_t code = 0; code <= 4; ++code) {
        auto view = CreateReportObject(code);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(view->ReportObjectType, code);
        EXPECT_EQ(view->BaseName, QString::fromUtf8(names[code]));
        EXPECT_EQ(view->ObjectID, first + code);
    }
    for (std::uint8_t code = 5; code <= 9; ++code)
        EXPECT_EQ(CreateReportObject(code), nullptr);
    try {
        CreateReportObject(gtAddIn, QStringLiteral("TfrChartView"));
        FAIL();
    } catch (const EClassNotFound &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Не найден класс TfrChartView"));
    }
    auto memo = CreateReportObject(gtMemo);
    auto *m = static_cast<TfrMemoView *>(memo.get());
    EXPECT_EQ(m->Flags, flags::WordWrap);
    EXPECT_EQ(m->FontName, QStringLiteral("Arial"));
    EXPECT_EQ(m->FillColor, clNone);
    EXPECT_EQ(m->Visible, -1);
    // Text, two decimals, the decimal comma; a band keeps no format.
    EXPECT_EQ(m->DisplayFormat, 0x22C);
    EXPECT_EQ(CreateReportObject(gtPicture)->DisplayFormat, 0x22C);
    EXPECT_EQ(CreateReportObject(gtBand)->DisplayFormat, 0);
    EXPECT_EQ(CreateReportObject(gtPicture)->Flags, 5);
    EXPECT_EQ(CreateReportObject(gtBand)->Flags, 0x30);
    EXPECT_EQ(CreateReportObject(gtLine)->FrameTyp, frame::Left);
}

TEST(ReportObjects_Scale, ScaledCoordinatesInsetsAndDrawRect)
{
    TfrMemoView memo;
    memo.Left = 10;
    memo.Top = 20;
    memo.Width = 100;
    memo.Height = 50;
    memo.FrameWidth = 3;
    memo.FrameTyp = frame::All;
    memo.ScaleX = 2;
    memo.ScaleY = 1.5;
    memo.OffsetX = 5;
    memo.OffsetY = 7;
    memo.ScaleToCanvas();
    EXPECT_EQ(memo.Left, 25);
    EXPECT_EQ(memo.Top, 37);
    EXPECT_EQ(memo.Width, 200);
    EXPECT_EQ(memo.Height, 75);
    EXPECT_EQ(memo.FrameWidth, 6);
    // bx0 = round(2.5) = 2, bx1 = 3, by0 = round(1.75) = 2, by1 = round(2.25) = 2.
    EXPECT_EQ(memo.TextInsetX, 5);
    EXPECT_EQ(memo.TextInsetY, 2);
    EXPECT_EQ(memo.DrawRect, (TRect{27, 39, 225 - 3 + 1, 112 - 2 + 1}));
    memo.RestoreCoords();
    EXPECT_EQ(memo.Left, 10);
    EXPECT_EQ(memo.FrameWidth, 3);
}

TEST(ReportObjects_Draw, FillAndFrameFollowTheEngineMode)
{
    TfrMemoView memo;
    memo.Width = 50;
    memo.Height = 20;
    TRecordingCanvas canvas;
    EngineMode = 0;
    memo.Draw(canvas);
    // The designer fills a transparent object white and marks its corners.
    ASSERT_FALSE(canvas.Ops.empty());
    EXPECT_EQ(canvas.Ops[0].Kind, TRecordingCanvas::TOpKind::FillRect);
    EXPECT_EQ(canvas.Ops[0].Brush.Color, clWhite);
    const auto kinds = Kinds(canvas);
    EXPECT_EQ(std::count(kinds.begin(), kinds.end(), TRecordingCanvas::TOpKind::LineTo), 8);

    EngineMode = 1;
    canvas.Clear();
    memo.Draw(canvas);
    EXPECT_TRUE(canvas.Ops.empty());

    memo.FrameTyp = frame::All;
    memo.FillColor = clRed;
    canvas.Clear();
    memo.Draw(canvas);
    EXPECT_EQ(Kinds(canvas), (std::vector{TRecordingCanvas::TOpKind::FillRect, TRecordingCanvas::TOpKind::Rectangle}));
    EXPECT_EQ(canvas.Ops[0].Brush.Color, clRed);
    EXPECT_EQ(canvas.Ops[1].Rect, (TRect{0, 0, 51, 21}));

    memo.FrameTyp = frame::Left | frame::Top | frame::Bottom;
    canvas.Clear();
    memo.Draw(canvas);
    EXPECT_EQ(Kinds(canvas), (std::vector{TRecordingCanvas::TOpKind::FillRect, TRecordingCanvas::TOpKind::LineTo,
                                          TRecordingCanvas::TOpKind::LineTo, TRecordingCanvas::TOpKind::LineTo}));
    EngineMode = 0;
}

TEST(ReportObjects_Draw, LineTakesItsDirectionFromItsShape)
{
    EngineMode = 1;
    TfrLineView line;
    line.Width = 30;
    line.Height = 30;
    TRecordingCanvas canvas;
    line.Draw(canvas);
    EXPECT_EQ(line.Width, 0);
    EXPECT_EQ(line.FrameTyp, frame::Left);
    ASSERT_EQ(canvas.Ops.size(), 1u);
    EXPECT_EQ(canvas.Ops[0].Points, (std::vector<TPoint>{{0, 0}, {0, 30}}));

    line.Width = 40;
    line.Height = 3;
    line.Draw(canvas);
    EXPECT_EQ(line.Height, 0);
    EXPECT_EQ(line.FrameTyp, frame::Top);
    EXPECT_EQ(line.GetRegion(false)[0], (TRect{0, 0, 41, 1}));
    EngineMode = 0;
}

TEST(ReportObjects_Draw, BandsSubreportsAndEmptyPictures)
{
    TfrEngineScope engine;
    EngineMode = 0;
    DesignerPageSize = {700, 1000};
    TfrBandView band;
    band.SetBandType(0x93);
    EXPECT_EQ(band.FrameTyp, 0x13);
    EXPECT_EQ(band.GetBandType(), 19);
    band.SetBandType(5);
    band.Left = 30;
    band.Top = 100;
    band.Height = 40;
    TRecordingCanvas canvas;
    band.Draw(canvas);
    EXPECT_EQ(band.Left, 0);
    EXPECT_EQ(band.Width, 700);
    const auto *caption = canvas.FindText(QStringLiteral("Master data"));
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->At, (TPoint{4, 83}));
    EXPECT_EQ(canvas.Ops[0].Brush.Style, TBrushStyle::bsChecker);
    EXPECT_EQ(band.GetRegion(false).size(), 2u);

    TfrSubReportView sub;
    sub.Width = 200;
    sub.Height = 50;
    sub.PageIndex = 1;
    canvas.Clear();
    sub.Draw(canvas);
    EXPECT_NE(canvas.FindText(QStringLiteral("SubReport на странице 2")), nullptr);

    TfrPictureView picture;
    picture.Width = 50;
    picture.Height = 50;
    canvas.Clear();
    picture.Draw(canvas);
    EXPECT_NE(canvas.FindText(QStringLiteral("[Рисунок]")), nullptr);
}

// A PNG, JPEG or GIF that a template holds under the bitmap kind, as the
// picture editor once kept it, is sized from its own header and drawn; what
// no header sizes keeps the placeholder.
TEST(ReportObjects_Draw, RasterPicturesUnderTheBitmapKindAreSizedFromTheirHeaders)
{
    const QByteArray jpeg = QByteArray::fromHex("ffd8ffe000104a46494600010100000100010000") // JFIF segment
                            + QByteArray::fromHex("ffc2001108001e002803012200021101031101");  // progressive frame
    const struct
    {
        const char *Name;
        QByteArray Data;
        TSize Size;
    } cases[] = {
        {"PNG", QByteArray::fromHex("89504e470d0a1a0a0000000d49484452000000280000001e"), {40, 30}},
        {"JPEG", jpeg, {40, 30}},
        {"JPEG cut in its first segment", jpeg.left(12), {0, 0}},
        {"GIF", QByteArray("GIF89a\x28\x00\x1E\x00", 10), {40, 30}},
        {"PNG of an absurd width", QByteArray::fromHex("89504e470d0a1a0a0000000d49484452ffffffff0000001e"), {INT_MAX, 30}},
        {"neither", QByteArray("not a picture"), {0, 0}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        TfrPictureView picture;
        picture.Picture = {TfrPicture::gkBitmap, c.Data};
        EXPECT_EQ(picture.Picture.Size().cx, c.Size.cx);
        EXPECT_EQ(picture.Picture.Size().cy, c.Size.cy);
        // Not stretched: drawn at its own size, which stays within the int range.
        picture.Left = 100;
        picture.Width = picture.Height = 100;
        picture.Flags = 0;
        TRecordingCanvas canvas;
        picture.Draw(canvas);
        if (c.Size.cx == 0) {
            EXPECT_NE(canvas.FindText(QStringLiteral("[Рисунок]")), nullptr);
            continue;
        }
        const auto kinds = Kinds(canvas);
        ASSERT_EQ(std::count(kinds.begin(), kinds.end(), TRecordingCanvas::TOpKind::StretchDraw), 1);
        for (const auto &op : canvas.Ops)
            if (op.Kind == TRecordingCanvas::TOpKind::StretchDraw) {
                EXPECT_EQ(op.Rect.Left, 100);
                EXPECT_EQ(op.Rect.Right, c.Size.cx == INT_MAX ? INT_MAX : 140);
                EXPECT_EQ(op.Rect.Height(), 30);
                EXPECT_EQ(op.ImageData, c.Data);
            }
    }
}

TEST_F(ReportObjects, GeneratedNamesTakeTheFirstFreeNumber)
{
    TfrMemoView a, b, c;
    a.Name = QStringLiteral("memo1");
    b.Name = QStringLiteral("Memo3");
    Report.Objects = {&a, &b, &c};
    c.CreateUniqueName();
    EXPECT_EQ(c.Name, QStringLiteral("Memo2"));

    // All 10000 taken: the name stays empty.
    std::vector<std::unique_ptr<TfrMemoView>> many;
    Report.Objects.clear();
    for (int i = 1; i <= 10000; ++i) {
        many.push_back(std::make_unique<TfrMemoView>());
        many.back()->Name = QStringLiteral("Memo") + QString::number(i);
        Report.Objects.push_back(many.back().get());
    }
    c.CreateUniqueName();
    EXPECT_TRUE(c.Name.isEmpty());
}

TEST(ReportObjects_Record, PictureKeepsItsBytesAndSkipsToTheStoredEnd)
{
    TemplateVersion = 23;
    TfrPictureView picture;
    picture.Name = QStringLiteral("Picture1");
    picture.Picture = {TfrPicture::gkMetafile, QByteArray("\x01\x00\x00\x00 emf bytes", 14)};
    TfrStream stream;
    picture.SaveToStream(stream);
    stream.WriteValue<std::uint8_t>(0x77); // whatever follows the record
    stream.Seek(0);
    TfrPictureView back;
    back.LoadFromStream(stream);
    EXPECT_EQ(back.Picture, picture.Picture);
    EXPECT_EQ(stream.ReadValue<std::uint8_t>(), 0x77);

    // A graphic kind without a reader comes back empty and is written as kind 0.
    QByteArray bytes = stream.Data();
    const qsizetype kindAt = bytes.size() - 1 - 14 - 4 - 1;
    bytes[kindAt] = 7;
    TfrStream odd(bytes);
    TfrPictureView empty;
    empty.LoadFromStream(odd);
    EXPECT_TRUE(empty.Picture.Empty());
    TfrStream again;
    empty.SaveToStream(again);
    EXPECT_EQ(static_cast<quint8>(again.Data()[kindAt]), 0);

    // An end position outside the stream is damage, not a seek into nowhere.
    QByteArray broken = stream.Data();
    broken[kindAt + 1] = 0x7F;
    TfrStream bad(broken);
    TfrPictureView lost;
    EXPECT_THROW(lost.LoadFromStream(bad), EReadError);
}

TEST(ReportObjects_Record, PopupItemsFollowTheObjectsBits)
{
    TfrMemoView memo;
    memo.Flags = 0;
    auto items = memo.PopupItems();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[2].Caption, QStringLiteral("Растягиваемый"));
    EXPECT_FALSE(items[4].Enabled); // hyphenation needs word wrap
    TfrMemoView other;
    other.Flags = 0;
    memo.ApplyPopupItem(items[3], true, {&memo, &other});
    EXPECT_EQ(other.Flags, flags::WordWrap);

    TfrBandView footer;
    footer.SetBandType(3);
    items = footer.PopupItems();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[1].Caption, QStringLiteral("На последней странице"));
    EXPECT_FALSE(items[1].AllSelected);
    TfrBandView another;
    another.Flags = 0;
    footer.ApplyPopupItem(items[1], false, {&footer, &another});
    EXPECT_EQ(footer.Flags, 0x10);
    EXPECT_EQ(another.Flags, 0);
}
