#include "designer/dialog_rules.h"
#include "designer/variables_model.h"
#include "designer/wizard_layout.h"
#include "designer_fixture.h"
#include "report/report_page.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

TEST(FormatModel, OpensAndEditsTheWord)
{
    TfrFormatModel m;
    m.Format = 0x0102022C;
    EXPECT_EQ(TfrFormatModel::Categories()[m.Category()], "Число");
    EXPECT_EQ(TfrFormatModel::Kinds(m.Category())[m.Kind()], "1 234,5");
    EXPECT_EQ(m.Decimals(), 2);
    EXPECT_EQ(m.Separator(), u',');
    EXPECT_TRUE(m.NumberVisible());
    m.SetSeparatorText(QStringLiteral("."));
    EXPECT_EQ(m.Format, 0x0102022E);
    m.SetSeparatorText({});
    EXPECT_EQ(m.Format, 0x0102022C);
    // Decimals beyond a byte would corrupt the kind: refused, word kept.
    EXPECT_FALSE(m.SetDecimalsText(QStringLiteral("256")));
    EXPECT_FALSE(m.SetDecimalsText(QStringLiteral("2x")));
    EXPECT_FALSE(m.SetDecimalsText(QStringLiteral("-1")));
    EXPECT_EQ(m.Format, 0x0102022C);
    EXPECT_TRUE(m.SetDecimalsText(QStringLiteral("255")));
    EXPECT_EQ(m.Format, 0x0102FF2C);
    m.SetKind(4);
    EXPECT_TRUE(m.PatternVisible());
    EXPECT_FALSE(m.NumberVisible());
    m.SetCategory(FormatCode::fcDate);
    EXPECT_EQ(m.Kind(), 0);
    EXPECT_EQ(m.Format & 0xFFFF, 0xFF2C);
    EXPECT_EQ(TfrFormatModel::Kinds(FormatCode::fcText), QStringList{"[Нет]"});
}

TEST(FieldReferences, DataSetFieldsAndSpecialKeywords)
{
    TDesignerFixture f;
    EXPECT_EQ(DataSetNames(QStringLiteral("Form1")), QStringList{"Orders"});
    EXPECT_EQ(SourceItems(QStringLiteral("Orders"), false), (QStringList{"[Нет]", "Num", "Client", "Sum"}));
    EXPECT_EQ(SourceItems(QStringLiteral("Missing"), false), QStringList{"[Нет]"});
    const QStringList specials = SourceItems(OtherVariablesName, false);
    ASSERT_EQ(specials.size(), 9);
    EXPECT_FALSE(specials.contains("Выражение"));
    EXPECT_EQ(SourceItems(OtherVariablesName, true).size(), 10);
    EXPECT_EQ(FieldReference(OtherVariablesName, 8, specials[8]), "TOTALPAGES");
    EXPECT_EQ(FieldReference(OtherVariablesName, 1, specials[1]), "PAGE#");
    EXPECT_EQ(FieldReference(OtherVariablesName, 2, specials[2]), "DATE");
    EXPECT_EQ(FieldReference(QStringLiteral("Orders"), 2, "Client"), "Orders.\"Client\"");
    EXPECT_EQ(FieldReference(QStringLiteral("Orders"), 0, "[Нет]"), "");
}

TEST(PageOptions, MillimetresPaperAndBadInput)
{
    TfrPage page(9, 0, 0, 0);
    page.MarginLeft = page.MarginTop = page.MarginRight = page.MarginBottom = 36;
    page.HonourMargins = -1;
    TPageOptionsInput in = PageOptionsOf(page);
    EXPECT_EQ(in.MarginLeft, "10");
    EXPECT_EQ(in.Width, "");
    in.MarginLeft = "11";
    ASSERT_TRUE(ApplyPageOptions(in, page));
    EXPECT_EQ(page.MarginLeft, 39);
    EXPECT_EQ(page.MarginTop, 36);

    TfrPage custom(256, 2100, 2970, 0);
    in = PageOptionsOf(custom);
    EXPECT_EQ(in.Width, "210");
    EXPECT_EQ(in.Height, "297");
    in.Width = "abc";
    ASSERT_TRUE(ApplyPageOptions(in, custom));
    EXPECT_EQ(custom.PaperCode, 9);

    struct Case
    {
        const char *field;
        QString TPageOptionsInput::*member;
    };
    for (const Case c : {Case{"letters", &TPageOptionsInput::MarginTop}, Case{"negative", &TPageOptionsInput::ColumnGap}}) {
        TfrPage p(9, 0, 0, 0);
        p.MarginLeft = p.MarginTop = p.ColumnGap = 36;
        TPageOptionsInput bad = PageOptionsOf(p);
        bad.*c.member = c.field == std::string("letters") ? "x" : "-1";
        ASSERT_TRUE(ApplyPageOptions(bad, p));
        EXPECT_EQ(p.MarginLeft + p.MarginTop + p.MarginRight + p.MarginBottom + p.ColumnGap, 0) << c.field;
    }

    for (const char *count : {"x", "-1", ""}) {
        TfrPage p(9, 0, 0, 0);
        TPageOptionsInput bad = PageOptionsOf(p);
        bad.ColumnCount = count;
        bad.Landscape = true;
        bad.MarginLeft = "50";
        EXPECT_FALSE(ApplyPageOptions(bad, p)) << count;
        EXPECT_EQ(p.Orientation, 0);
        EXPECT_EQ(p.MarginLeft, 0);
    }
}

TEST(BandTypes, EnablingAndDefault)
{
    TfrPage page(9, 0, 0, 0);
    const auto addBand = [&page](int kind) {
        auto band = std::make_unique<TfrBandView>();
        band->SetBandType(kind);
        page.TemplateObjects.push_back(std::move(band));
    };
    EXPECT_EQ(DefaultBandType(page), btReportTitle);
    addBand(btPageHeader);
    addBand(btMasterData);
    EXPECT_FALSE(BandTypeEnabled(page, btPageHeader));
    EXPECT_TRUE(BandTypeEnabled(page, btMasterData));
    for (int kind = 0; kind < btNone; ++kind)
        if (!((kind >= 4 && kind <= 12) || kind == 16 || kind == 17) && kind != btPageHeader)
            addBand(kind);
    EXPECT_EQ(DefaultBandType(page), btMasterHeader);
    EXPECT_EQ(GridSizeFromChoice(GridChoiceOf(6)), 18);
    EXPECT_EQ(GridChoiceOf(6), -1);
}

TEST(BandSources, CrossTextAndRecordCounts)
{
    const QString text = QStringLiteral("MasterData1=Orders;DetailData1=5;");
    EXPECT_EQ(CrossBandSource(text, "masterdata1"), "Orders");
    EXPECT_EQ(CrossBandSource(text, "DetailData1"), "5");
    EXPECT_EQ(CrossBandSource(text, "Group1"), "0");
    EXPECT_EQ(CrossBandSource("Orders", "Group1"), "Orders");
    EXPECT_EQ(CrossBandText({{"A", "Orders"}, {"B", "0"}}), "A=Orders;B=0;");
    for (const char *good : {"1", "25"})
        EXPECT_TRUE(IsValidRecordCount(good)) << good;
    for (const char *bad : {"0", "12abc", "-3", "", "+4"})
        EXPECT_FALSE(IsValidRecordCount(bad)) << bad;
    EXPECT_TRUE(IsRecordCountText("25"));
    EXPECT_FALSE(IsRecordCountText("0"));
}

TEST(VariablesModel, BindingsListRestoreAndClipboard)
{
    TDesignerFixture f;
    TfrReport &r = f.Report;
    r.VariableLines = {"Cat", " A", " B"};
    r.ValueBindings.AddValue("A");
    r.ValueBindings.AddValue("B")->Kind = TfrValue::kindSpecial;
    {
        TfrVariablesEditModel m(r);
        m.StoreBinding("A", "Orders", "Sum", {});
        EXPECT_EQ(r.ValueBindings.FindVariable("A")->Kind, TfrValue::kindField);
        EXPECT_EQ(r.ValueBindings.FindVariable("A")->DataSetName, "Orders");
        m.StoreBinding("B", OtherVariablesName, "Выражение", "1+2");
        EXPECT_EQ(r.ValueBindings.FindVariable("B")->SpecialIndex, svExpression);
        EXPECT_EQ(r.ValueBindings.FindVariable("B")->FieldText, "1+2");
        m.ApplyVariableList({"Cat", " A", " C"});
        EXPECT_EQ(r.ValueBindings.FindVariable("B"), nullptr);
        ASSERT_NE(r.ValueBindings.FindVariable("C"), nullptr);
        EXPECT_EQ(r.ValueBindings.FindVariable("C")->Kind, TfrValue::kindNone);
        m.Copy();
        m.Restore();
    }
    EXPECT_EQ(r.VariableLines, (QStringList{"Cat", " A", " B"}));
    ASSERT_EQ(r.ValueBindings.Count(), 2);
    EXPECT_EQ(r.ValueBindings.FindVariable("A")->Kind, TfrValue::kindNone);
    EXPECT_EQ(r.ValueBindings.FindVariable("B")->Kind, TfrValue::kindSpecial);

    TfrReport other;
    TfrVariablesEditModel m2(other);
    ASSERT_TRUE(TfrVariablesEditModel::ClipboardHasData());
    m2.Paste();
    EXPECT_EQ(other.VariableLines, (QStringList{"Cat", " A", " C"}));
    EXPECT_EQ(other.ValueBindings.FindVariable("A")->FieldText, "Sum");
}

TEST(FieldWizard, VerticalLayoutWithHeaders)
{
    TDesignerFixture f;
    const auto fields = InsertedFields("Orders", &f.Orders, {"Num", "Client", "Sum"});
    EXPECT_EQ(fields[0].Width, 5);
    EXPECT_EQ(fields[1].Width, 10);
    EXPECT_EQ(fields[2].Width, 10);
    EXPECT_EQ(fields[0].DataText, "[Orders.\"Num\"]");
    TWizardOptions o;
    o.Grid = 4;
    o.Vertical = true;
    const auto width = [](const QString &s, bool) { return 7 * static_cast<int>(s.size()); };
    const auto placed = LayOutInsertedFields(fields, o, width);
    ASSERT_EQ(placed.size(), 6u);
    EXPECT_EQ(placed[0].Left, 0);
    EXPECT_EQ(placed[0].Top, 0);
    EXPECT_TRUE(placed[0].Bold);
    EXPECT_EQ(placed[0].Width, 42 / 4 * 4); // "Num   "
    EXPECT_EQ(placed[1].Left, placed[0].Width + 8);
    EXPECT_EQ(placed[1].Top, 0);
    EXPECT_EQ(placed[1].Width, 35 / 4 * 4);
    EXPECT_EQ(placed[2].Top, 16 + 4);
    EXPECT_EQ(placed[2].Left, 0);

    o.Vertical = false;
    o.Headers = false;
    const auto flat = LayOutInsertedFields(fields, o, width);
    ASSERT_EQ(flat.size(), 3u);
    EXPECT_EQ(flat[1].Left, flat[0].Width + 4);
    EXPECT_EQ(flat[1].Text, "[Orders.\"Client\"]");
}

TEST(Templates, ListsFilesOnlyAndSavesIntoTheFolder)
{
    QTemporaryDir dir;
    QFile file(dir.filePath("one.frt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    ASSERT_TRUE(QDir(dir.path()).mkdir("x.frt"));
    EXPECT_EQ(TemplateNames(dir.path()), QStringList{"one"});
    EXPECT_EQ(TemplateSavePath(dir.path(), "/elsewhere/new.frf"), dir.path() + "/new.frt");
}
