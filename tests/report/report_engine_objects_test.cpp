// Report objects on the real evaluator: values from the host, highlight
// conditions and object scripts.
#include "report/report_document.h"

#include <gtest/gtest.h>

namespace {

class ObjectsOnTheEngine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Measure.CharWidth = 6;
        SetWorkCanvas(&Measure);
        Report.OnGetValue = [](const QString &name, Variant &value) {
            if (name.compare(QStringLiteral("Q"), Qt::CaseInsensitive) == 0)
                value = Variant(-2.5);
        };
        Report.AttachParser();
        SetCurrentDocument(&Report);
    }
    void TearDown() override { SetWorkCanvas(nullptr); }

    // The object as the prepared page gets it.
    static std::unique_ptr<TfrMemoView> Printed(TfrMemoView &memo)
    {
        TfrStream stream;
        memo.PreparedMode = true;
        memo.PrintToStream(stream);
        stream.Seek(1);
        auto back = std::make_unique<TfrMemoView>();
        back->PreparedMode = true;
        back->LoadFromStream(stream);
        return back;
    }

    TfrEngineScope Engine;
    TRecordingCanvas Measure;
    TfrReportDocument Report;
};

} // namespace

TEST_F(ObjectsOnTheEngine, ValuesHighlightAndScripts)
{
    TfrMemoView memo;
    memo.Width = 200;
    memo.Height = 20;
    // Prepared pages hold 1251 text, so the unit is written with a plain 3.
    memo.Lines = {QStringLiteral("Q = [Q] м3/с"), QStringLiteral("[Q #N10,1]")};
    memo.HighlightCondition = QStringLiteral("Q < 0");
    memo.HighlightAttrs = {2, clRed, clWhite};
    memo.ScriptLines = {QStringLiteral("FontSize := 14")};
    auto printed = Printed(memo);
    EXPECT_EQ(printed->Lines, (QStringList{QStringLiteral("Q = -2,5 м3/с"), QStringLiteral("-2,5")}));
    EXPECT_EQ(printed->FontColor, clRed);
    EXPECT_EQ(printed->FontStyle, 2);
    EXPECT_EQ(printed->FontSize, 14);
    EXPECT_EQ(memo.FontColor, clBlack);

    memo.HighlightCondition = QStringLiteral("Q > 0");
    EXPECT_EQ(Printed(memo)->FontColor, clBlack);
}

TEST_F(ObjectsOnTheEngine, LargeObjectFieldsFillTheTextUnexpanded)
{
    class TMemoField : public TField
    {
    public:
        QString FieldName() const override { return QStringLiteral("Note"); }
        int DataType() const override { return ftMemo; }
        Variant Value() const override { return Variant(QStringLiteral("первая [Q]\r\nвторая")); }
    } field;
    TfrMemoView memo;
    memo.Width = 200;
    memo.Height = 40;
    memo.Lines = {QStringLiteral("[Note]")};
    memo.DataField = &field;
    EXPECT_EQ(Printed(memo)->Lines, (QStringList{QStringLiteral("первая [Q]"), QStringLiteral("вторая")}));
}

TEST_F(ObjectsOnTheEngine, ScriptRunsTheLinesCompiledBeforeAnError)
{
    TfrMemoView memo;
    memo.Width = 200;
    memo.Height = 20;
    memo.Lines = {QStringLiteral("Скрыть")};
    memo.ScriptLines = {QStringLiteral("begin Visible := 0;"), QStringLiteral("x := (1 end")};
    TfrStream stream;
    memo.PrintToStream(stream);
    EXPECT_EQ(stream.Data().size(), 0);  // hidden: nothing reaches the page
    // The error goes where the build keeps compile errors.
    ASSERT_EQ(::Engine().ScratchLines.size(), 1);
    EXPECT_TRUE(::Engine().ScratchLines[0].startsWith(QStringLiteral("Строка 2/")));

    // An IF whose statement the error cut short ends the script when its
    // condition fails, rather than start it over without end.
    int stopChecks = 0;
    ::Engine().StopRequested = [&] { return ++stopChecks > 3; };
    memo.Visible = -1;
    memo.ScriptLines = {QStringLiteral("begin FontSize := 14; if 0 then x := (1 end")};
    EXPECT_EQ(Printed(memo)->FontSize, 14);
    EXPECT_EQ(stopChecks, 0);
    ::Engine().StopRequested = nullptr;
}
