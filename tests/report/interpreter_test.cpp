#include "report/interpreter.h"
#include "report_test_support.h"

#include <gtest/gtest.h>

namespace {

// Compiles and runs a script with the engine's runner; returns the errors.
QStringList RunScript(const QStringList &source, QStringList *codedOut = nullptr)
{
    QStringList coded, errors;
    TInterpretator &runner = *Engine().ReportInterpreter;
    runner.Compile(source, coded, errors);
    if (codedOut)
        *codedOut = coded;
    if (errors.isEmpty())
        runner.Run(coded);
    return errors;
}

QStringList Lines(const char *text)
{
    return QString::fromUtf8(text).split(u'\n');
}

Variant Var(const char *name)
{
    return Engine().ScriptVariables.GetValue(QString::fromUtf8(name));
}

QString Jump(int code, int target)
{
    return QString(QChar(code)) + QChar(target & 0xFF) + QChar(target >> 8);
}

} // namespace

TEST(Script, StatementsRunAsTheLanguageSays)
{
    TEngineFixture f;
    struct Case
    {
        const char *script;
        const char *variable;
        Variant expected;
    };
    const Case cases[] = {
        {"begin a := 1; b := a + 1 end", "B", Variant(2.0)},
        {"c := 1; c := 2", "c", Variant(1.0)}, // without begin/end only the first runs
        {"begin i := 0; repeat i := i + 1 until i > 3 end", "i", Variant(4.0)},
        {"begin j := 0; while j < 3 do j := j + 1 end", "j", Variant(3.0)},
        {"begin k := 0; 10: k := k + 1; if k < 5 then goto 10 end.", "k", Variant(5.0)},
        {"begin x := 2; if x > 1 then y := 'big' else y := 'small' end", "y", Variant(QStringLiteral("big"))},
        {"begin x := 0; if x > 1 then z := 1 else z := 2 end", "z", Variant(2.0)},
        {"begin begin p := 1 end; q := p + 1 end;", "q", Variant(2.0)},
        {"begin s := 'a'; repeat s := s + 'b'; n := 1 until Copy(s, 3, 1) = 'b' end", "s", Variant(QStringLiteral("abb"))},
        {"begin m := 0;\n// m := 5\nm := m + 1 { m := 9 }\nend", "m", Variant(1.0)},
        {"begin\tt := 1;\t\tu := t * 3 end", "u", Variant(3.0)},
        {"v := FormatFloat('0.0', 2)", "v", Variant(QStringLiteral("2,0"))},
    };
    for (const auto &c : cases) {
        const QStringList errors = RunScript(Lines(c.script));
        EXPECT_TRUE(errors.isEmpty()) << c.script << ": " << errors.join(u'|').toStdString();
        EXPECT_EQ(Var(c.variable), c.expected) << c.script;
    }
}

TEST(Script, CodedLinesOfIfAndWhile)
{
    TEngineFixture f;
    QStringList coded, errors;
    Engine().ReportInterpreter->Compile({QStringLiteral("if a > 1 then b := 1 else b := 2")}, coded, errors);
    EXPECT_EQ(coded, (QStringList{Jump(1, 3) + QStringLiteral("a > 1"), QStringLiteral("b 1"), Jump(2, 4),
                                  QStringLiteral("b 2")}));
    Engine().ReportInterpreter->Compile({QStringLiteral("while i < 3 do i := i + 1")}, coded, errors);
    EXPECT_EQ(coded, (QStringList{Jump(1, 3) + QStringLiteral("i < 3"), QStringLiteral("i i + 1"), Jump(2, 0)}));
    // Source and coded lines may be one list.
    QStringList same{QStringLiteral("NewPage(0)")};
    Engine().ReportInterpreter->Compile(same, same, errors);
    EXPECT_EQ(same, QStringList{QString(QChar(3)) + QStringLiteral("NewPage(0)")});
}

TEST(Script, CompileErrorsNameLineColumnAndTheExpectedWord)
{
    TEngineFixture f;
    struct Case
    {
        const char *script;
        const char *error;
    };
    const Case cases[] = {
        {"begin\n  a := 1;\n  if a > 0 b := 2\nend", "Строка 3/12: Здесь требуется \"then\""},
        {"begin a := 1 b := 2 end", "Строка 1/14: Здесь требуется \";\" или \"end\""},
        {"begin a := 1", "Строка 1/13: Здесь требуется \";\" или \"end\""},
        {"repeat a := 1 b := 2", "Строка 1/15: Здесь требуется \";\" или \"until\""},
        {"while a < 1 b := 1", "Строка 1/13: Здесь требуется \"do\""},
        {"goto x", "Строка 1/6: Метка в goto должна быть числом"},
        {"NewPage", "Строка 1/8: Здесь требуется \":=\""},
        {"a = 1", "Строка 1/3: Здесь требуется \":=\""},
        {"a := (1 + 2", "Строка 1/12: Здесь требуется \")\""},
        {"a := [abc", "Строка 1/6: Здесь требуется \"]\""},
        {"a := f(1 2)", "Строка 1/10: Здесь требуется \",\" или \")\""},
        {"begin goto 20; a := 1 end", "Строка 1/12: Метка 20 не определена"},
        {"a := NewPage()", "Строка 1/14: Здесь требуется выражение"},
        {"a := 'abc", "Строка 1/6: Здесь требуется выражение"},
    };
    for (const auto &c : cases) {
        QStringList coded, errors;
        Engine().ReportInterpreter->Compile(Lines(c.script), coded, errors);
        ASSERT_EQ(errors.size(), 1) << c.script;
        EXPECT_EQ(errors[0], QString::fromUtf8(c.error)) << c.script;
    }
}

TEST(Script, ObjectsPropertiesAndColours)
{
    TEngineFixture f;
    TfrEngine &e = Engine();
    TFakeObject memo1(QStringLiteral("Memo1")), memo2(QStringLiteral("Memo2"));
    TFakeObject picture(QStringLiteral("Picture1"), false);
    TFakeObject bandObject(QStringLiteral("MasterData1"), false, true);
    f.Page.Objects = {&memo1, &memo2, &picture, &bandObject};
    f.Page.Free = 120;

    e.CurrentObject = &memo1;
    EXPECT_TRUE(RunScript({QStringLiteral("begin Visible := 0; Memo2.Left := 10; FillColor := clRed;"),
                           QStringLiteral("FontName := 'Times'; Note := Memo2.Left + FREESPACE end")})
                    .isEmpty());
    EXPECT_EQ(memo1.Properties[spVisible], Variant(0.0));
    EXPECT_EQ(memo2.Properties[spLeft], Variant(10.0));
    EXPECT_EQ(memo1.Properties[spFillColor], Variant(0x0000FF));
    EXPECT_EQ(memo1.Properties[spFontName], Variant(QStringLiteral("Times")));
    EXPECT_EQ(Var("Note"), Variant(130.0));

    // A text property of a picture goes to value resolution, where the host answers.
    e.CurrentObject = &picture;
    f.Report.OnGetValue = [](const QString &name, Variant &v) {
        if (name == QLatin1String("FONTSIZE"))
            v = Variant(99);
    };
    EXPECT_TRUE(RunScript({QStringLiteral("begin FontSize := 12; r := FontSize end")}).isEmpty());
    EXPECT_EQ(picture.Properties.count(spFontSize), 0u);
    EXPECT_EQ(Var("r"), Variant(99));

    // A band object reaches its band's position and visibility only.
    e.CurrentObject = &bandObject;
    EXPECT_TRUE(RunScript({QStringLiteral("begin Top := 5; Flags := 3; f := Flags end")}).isEmpty());
    EXPECT_EQ(bandObject.Properties[spTop], Variant(5.0));
    EXPECT_EQ(bandObject.Properties.count(spFlags), 0u);
    EXPECT_EQ(Var("f"), Variant(0));

    // Assignments to a property of a missing object are dropped; other
    // dotted names are script variables under their whole name.
    EXPECT_TRUE(RunScript({QStringLiteral("begin Memo9.Left := 1; Memo9.Note := 2 end")}).isEmpty());
    EXPECT_EQ(Var("Memo9.Note"), Variant(2.0));
    EXPECT_EQ(e.ScriptVariables.IndexOf(QStringLiteral("Memo9.Left")), -1);
}

TEST(Script, NewPageMarksTheBand)
{
    TEngineFixture f;
    TFakeBand band(QStringLiteral("MasterData1"), btMasterData);
    Engine().CurrentBand = &band;
    EXPECT_TRUE(RunScript({QStringLiteral("if 1 > 0 then NewPage(0)")}).isEmpty());
    EXPECT_TRUE(band.NewPageRequested);
}

TEST(Script, RunTimeErrorsRaiseAndEndlessLoopsStopOnRequest)
{
    TEngineFixture f;
    EXPECT_THROW(RunScript({QStringLiteral("a := undefinedName + 1")}), EParserError);

    int asked = 0;
    Engine().StopRequested = [&] { return ++asked >= 3; };
    EXPECT_TRUE(RunScript({QStringLiteral("begin n := 0; 1: n := n + 1; goto 1 end")}).isEmpty());
    EXPECT_EQ(asked, 3);
    EXPECT_GT(Var("n").ToDouble(), 1000);
}

TEST(Script, ScriptVariablesSurviveFromOneRunToTheNext)
{
    TEngineFixture f;
    EXPECT_TRUE(RunScript({QStringLiteral("Counter := 1")}).isEmpty());
    EXPECT_TRUE(RunScript({QStringLiteral("Counter := COUNTER + 1")}).isEmpty());
    EXPECT_EQ(Var("counter"), Variant(2.0));
    EXPECT_EQ(f.Report.GetFormattedValue(QStringLiteral("[Counter]")), QStringLiteral("2"));
}

TEST(Script, PropertyAndColourNames)
{
    EXPECT_EQ(ScriptPropertyNames.size(), 15);
    EXPECT_EQ(ScriptPropertyIndex(QStringLiteral("fontsize")), spFontSize);
    EXPECT_EQ(ScriptPropertyIndex(QStringLiteral("Adjust")), 14);
    EXPECT_EQ(ScriptPropertyIndex(QStringLiteral("Colour")), -1);
    const std::pair<const char *, std::int32_t> colours[] = {
        {"clWhite", 0xFFFFFF}, {"CLMAROON", 0x80},      {"clNavy", 0x800000},
        {"clTeal", 0x808000},  {"clYellow", 0x00FFFF}, {"clTransparent", 0x1FFFFFFF},
    };
    for (auto [name, value] : colours) {
        std::int32_t c = -1;
        EXPECT_TRUE(ScriptColorValue(QString::fromUtf8(name), c)) << name;
        EXPECT_EQ(c, value) << name;
    }
    std::int32_t c = 0;
    EXPECT_FALSE(ScriptColorValue(QStringLiteral("clOrange"), c));
}
