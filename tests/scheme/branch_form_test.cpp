#include "scheme/branch_form.h"

#include "model/speed_limits.h"
#include "platform/numbers.h"
#include "platform/prompt.h"
#include "scheme_test_network.h"
#include "../model/scheme_test_support.h"

#include <QtCore/QTemporaryDir>
#include <QtCore/QtEndian>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

// The tables and document after a save and a reload of the file.
void SaveAndReload(TNetworkTables &t, TSchemeDocument &doc)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("saved.mine"));
    ASSERT_TRUE(WriteMineFile(file, t, doc, TSchemeView()));
    auto reloaded = NewDocumentTables();
    TSchemeDocument reloadedDoc;
    ReadMineFile(file, *reloaded, reloadedDoc);
    t = *reloaded;
    doc = std::move(reloadedDoc); // the telephones keep their addresses
}

TLink SymbolLink(int branch, int distance) { return TLink(branch, distance, QStringLiteral("Dver")); }

// Nodes 1, 2, 3; branch 7 from 1 to 2 with a bend point and values in every
// column the dialog does not show; branch 12 from 2 to 3; branch 5 as a
// bystander. The document has a seam, a symbol link, a telephone link and an
// installed fan on branch 7.
struct TBranchFormTest : ::testing::Test
{
    std::unique_ptr<TNetworkTables> Tables = NewDocumentTables();
    TNetworkTables &t = *Tables;
    TSchemeDocument Doc;
    std::unique_ptr<TBranchColors> Colors = std::make_unique<TBranchColors>();
    std::vector<std::pair<int, TChangeKind>> Handed;
    int ModifiedCalls = 0;
    int Redraws = 0;
    bool PLAShown = false;
    TScriptedPrompt Prompt;

    void SetUp() override
    {
        AddTestNode(t, 1, 0, 0);
        AddTestNode(t, 2, 100, 0);
        AddTestNode(t, 3, 200, 50);
        AddTestBranch(t, 7, 1, 2);
        t.BranchTurns[7]->insert(t.BranchTurns[7]->begin() + 1, TTurn(7, 50, 20));
        t.BranchName[7] = QStringLiteral("Штрек");
        t.BranchLength[7] = 120;
        t.BranchR[7] = 0.05;
        t.BranchQ[7] = 12.5;
        t.BranchArea[7] = 10;
        t.BranchType[7] = 0;
        t.BranchLabelFlags[7] = lfNumber | lfQ;
        t.BranchFlags[7] = bfConveyor | bfElectricCables;
        t.BranchStartTemp[7] = TempNotGiven;
        t.BranchEndTemp[7] = -45;
        t.BranchFixedDepression[7] = 33;
        t.BranchShortCircuitR[7] = 0.7;
        t.BranchMeasuredDepression[7] = 21;
        t.BranchMeasuredFlow[7] = 11;
        t.BranchNormativeFlow[7] = 9;
        t.BranchMinSpeed[7] = 0.25;
        t.BranchMaxSpeed[7] = 6;
        t.BranchCableCells[7] = QStringLiteral("3");
        t.BranchBeltType[7] = 1;
        t.BranchBeltWidth[7] = 4;
        AddTestBranch(t, 12, 2, 3);
        AddTestBranch(t, 5, 1, 3);
        t.BranchLabelFlags[5] = lfR;

        Doc.Layers.push_back({QStringLiteral("Пласт 1"), 0x00FF00});
        Doc.SymbolLinks.push_back(SymbolLink(7, 40));
        Doc.SymbolLinks.push_back(SymbolLink(5, 20));
        t.BranchPhone[7] = Doc.PhoneList.Add(TTelephone(10, QStringLiteral("77"), 20));
        Doc.InstalledFans.Add(7, QStringLiteral("ВМЦ-6"), 2, 70);
    }

    TBranchFormHost Host()
    {
        TBranchFormHost host;
        host.ObjectChanged = [this](std::unique_ptr<TMineObject> s, TChangeKind kind) {
            Handed.emplace_back(s->Number, kind);
        };
        host.SetModified = [this](bool) { ++ModifiedCalls; };
        host.Redraw = [this] { ++Redraws; };
        host.CanDeleteObject = [](int) { return true; };
        host.PLAColorsShown = [this] { return PLAShown; };
        host.Colors = Colors.get();
        return host;
    }

    std::unique_ptr<TBranchForm> Open(int n)
    {
        auto form = std::make_unique<TBranchForm>(t, Doc, Host());
        form->Load(n);
        return form;
    }
};

TEST_F(TBranchFormTest, OpensWithTheStoredValuesAndUnsetTemperaturesEmpty)
{
    auto f = Open(7);
    EXPECT_EQ(f->Text(TBranchField::No), QStringLiteral("7"));
    EXPECT_EQ(f->Text(TBranchField::Q), QStringLiteral("12,50"));
    EXPECT_EQ(f->Text(TBranchField::StartTemp), QString());
    EXPECT_EQ(f->Text(TBranchField::EndTemp), QString());
    EXPECT_EQ(f->DirectionText(), QStringLiteral("Из узла 1 к узлу 2"));
    EXPECT_EQ(f->SpeedText(), QStringLiteral("Скорость воздуха: 1,25 м/с"));
    EXPECT_EQ(f->Layer, 0);
    EXPECT_EQ(f->BeltType, 1);
    EXPECT_EQ(f->AccessoryBits, bfConveyor | bfElectricCables);
    EXPECT_FALSE(f->Modified);

    // Changed elsewhere, the temperatures stay unset.
    f->Modified = true;
    f->Text(TBranchField::R) = QStringLiteral("0,06");
    ASSERT_TRUE(f->Apply());
    EXPECT_EQ(t.BranchStartTemp[7], TempNotGiven);
    EXPECT_EQ(t.BranchEndTemp[7], -45);
    EXPECT_EQ(t.BranchR[7], 0.06);
}

TEST_F(TBranchFormTest, OkWithoutChangesStoresOnlyTheLabelWordAndAccessoryBits)
{
    const double r = t.BranchR[7];
    auto f = Open(7);
    // What the window's boxes hold without the change handler having run.
    f->LabelWord = lfName;
    f->AccessoryBits = bfDegassingPipe;
    f->Text(TBranchField::R) = QStringLiteral("no number");
    ASSERT_TRUE(f->Apply());
    EXPECT_EQ(t.BranchLabelFlags[7], lfName);
    EXPECT_EQ(t.BranchFlags[7], bfDegassingPipe);
    EXPECT_EQ(t.BranchR[7], r);
    EXPECT_TRUE(Handed.empty());
    EXPECT_EQ(ModifiedCalls, 0);
    EXPECT_TRUE(Prompt.Asked.empty());
}

// OK stores what the user changed and nothing else: a value whose text is
// rounded, or that no field would accept (a PLA position of 1500), stays bit
// for bit while another field changes; "Развернуть" negates the stored flow.
TEST_F(TBranchFormTest, OnlyTheFieldsTheUserChangedAreStored)
{
    t.BranchR[7] = 0.0123456789;
    t.BranchQ[7] = 14.712345678;
    t.BranchAuxDepression[7] = -25.123456789;
    t.BranchArea[7] = 10.123456;
    t.BranchHeight[7] = 2.345678;
    t.BranchAngle[7] = 12.345678;
    t.BranchAlpha[7] = 0.00123456789;
    t.BranchRequiredFlow[7] = 3.14159265;
    t.BranchEndTemp[7] = 17.777777;
    t.BranchPLAPosition[7] = 1500;
    t.BranchMinSpeed[7] = 0.3;
    const auto stored = std::make_unique<TNetworkTables>(t);
    const struct
    {
        const char *Name;
        std::function<void(TBranchForm &)> Edit;      // in the dialog
        std::function<void(TNetworkTables &)> Stores;  // what it stores
    } cases[] = {
        {"length", [](TBranchForm &f) { f.Text(TBranchField::Length) = QStringLiteral("121"); },
         [](TNetworkTables &t) { t.BranchLength[7] = 121; }},
        {"name", [](TBranchForm &f) { f.Name = QStringLiteral("Другое"); },
         [](TNetworkTables &t) { t.BranchName[7] = QStringLiteral("Другое"); }},
        {"fresh", [](TBranchForm &f) { f.Fresh = true; }, [](TNetworkTables &t) { t.BranchIsFresh[7] = 1; }},
        {"extra depression", [](TBranchForm &f) { f.Text(TBranchField::AuxDepression) = QStringLiteral("-3"); },
         [](TNetworkTables &t) { t.BranchAuxDepression[7] = -3; }},
        {"kind", [](TBranchForm &f) { f.Type = 7; f.ShowSpeedLimits(7); },
         [](TNetworkTables &t) { t.BranchType[7] = 7; }},
        {"typed over with the same text", [](TBranchForm &f) { f.Text(TBranchField::R) = FormatBranchR(f.Tables(), 7); },
         [](TNetworkTables &) {}},
        {"reversed",
         [](TBranchForm &f) { ASSERT_TRUE(f.Reverse()); },
         [](TNetworkTables &t) {
             std::swap(t.BranchStartNode[7], t.BranchEndNode[7]);
             std::reverse(t.BranchTurns[7]->begin(), t.BranchTurns[7]->end());
             t.BranchQ[7] = -t.BranchQ[7];
         }},
        {"reversed twice", [](TBranchForm &f) { f.Reverse(); f.Reverse(); }, [](TNetworkTables &) {}},
        {"reversed, flow typed",
         [](TBranchForm &f) {
             f.Reverse();
             f.Text(TBranchField::Q) = QStringLiteral("-2");
         },
         [](TNetworkTables &t) {
             std::swap(t.BranchStartNode[7], t.BranchEndNode[7]);
             std::reverse(t.BranchTurns[7]->begin(), t.BranchTurns[7]->end());
             t.BranchQ[7] = -2;
         }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        t = *stored;
        auto expected = std::make_unique<TNetworkTables>(t);
        c.Stores(*expected);
        auto f = Open(7);
        f->Modified = true;
        c.Edit(*f);
        ASSERT_TRUE(f->Apply());
        EXPECT_EQ(TablesDiffer(t, *expected), "");
    }
}

TEST_F(TBranchFormTest, RenumberingCarriesTheWholeBranch)
{
    DestroyBranch(t, 12);
    Doc.SymbolLinks.push_back(SymbolLink(12, 30)); // left behind by an earlier branch 12
    auto f = Open(7);
    f->Modified = true;
    f->Text(TBranchField::No) = QStringLiteral("12");
    ASSERT_TRUE(f->Apply());

    const auto check = [](const TNetworkTables &t, const TSchemeDocument &doc) {
        EXPECT_FALSE(BranchPresent(t, 7));
        ASSERT_TRUE(BranchExist(t, 12));
        EXPECT_EQ(t.BranchName[12], QStringLiteral("Штрек"));
        EXPECT_EQ(t.BranchLabelFlags[12], lfNumber | lfQ);
        EXPECT_EQ(t.BranchFlags[12] & AccessoryMask, bfConveyor | bfElectricCables);
        EXPECT_EQ(t.BranchFixedDepression[12], 33);
        EXPECT_EQ(t.BranchShortCircuitR[12], 0.7);
        EXPECT_EQ(t.BranchMeasuredDepression[12], 21);
        EXPECT_EQ(t.BranchMeasuredFlow[12], 11);
        EXPECT_EQ(t.BranchCableCells[12], QStringLiteral("3"));
        ASSERT_TRUE(t.BranchTurns[12]);
        ASSERT_EQ(t.BranchTurns[12]->size(), 3u);
        EXPECT_EQ((*t.BranchTurns[12])[1].X, 50);
        ASSERT_EQ(doc.SymbolLinks.size(), 2u);
        EXPECT_EQ(doc.SymbolLinks[1].Branch, 12);
        EXPECT_EQ(doc.SymbolLinks[1].Distance, 40);
        EXPECT_EQ(t.BranchPhone[7], nullptr);
        ASSERT_EQ(doc.PhoneList.Count(), 1);
        EXPECT_EQ(t.BranchPhone[12], &doc.PhoneList[0]);
        ASSERT_EQ(doc.InstalledFans.Count(), 1);
        EXPECT_EQ(doc.InstalledFans.Item(0).Branch, 12);
    };
    check(t, Doc);
    EXPECT_FALSE(t.BranchTurns[7]);
    EXPECT_EQ(f->Branch, 12);
    const std::vector<std::pair<int, TChangeKind>> handed{{7, ckDeleted}, {12, ckCreated}, {12, ckChanged}};
    EXPECT_EQ(Handed, handed);
    EXPECT_EQ(ModifiedCalls, 1);

    SaveAndReload(t, Doc);
    check(t, Doc);
}

TEST_F(TBranchFormTest, ADuplicateNumberStoresNothingNotEvenTheLabels)
{
    const auto before = std::make_unique<TNetworkTables>(t);
    const TSchemeDocument docBefore = Doc;
    auto f = Open(7);
    f->Modified = true;
    f->LabelWord = lfArea;
    f->Text(TBranchField::R) = QStringLiteral("0,5");
    f->Text(TBranchField::No) = QStringLiteral("12");
    EXPECT_FALSE(f->Apply());
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Caption, QStringLiteral("Ошибка: Дублирование номера ветви"));
    EXPECT_EQ(Prompt.Asked[0].Text, QStringLiteral("Эта ветвь не может иметь номер 12. Ветвь №12 уже была определена."));
    EXPECT_EQ(f->FocusField, TBranchField::No);
    // "Отмена" now: every table as it was.
    EXPECT_EQ(TablesDiffer(t, *before), "");
    EXPECT_TRUE(Doc == docBefore);
    EXPECT_TRUE(Handed.empty());
    EXPECT_EQ(ModifiedCalls, 0);
}

TEST_F(TBranchFormTest, ABadFieldShowsTheConverterMessageAndStoresNothing)
{
    struct TCase
    {
        TBranchField Field;
        QString Text;
        QString Message;
    };
    const TCase cases[] = {
        {TBranchField::No, QStringLiteral("0"), QStringLiteral("Целое число должно быть в пределах 1...5000")},
        {TBranchField::No, QStringLiteral("7a"), QStringLiteral("\"7a\" - неверно заданное целое число!")},
        {TBranchField::Length, QStringLiteral("12,5"), QStringLiteral("\"12,5\" - неверно заданное целое число!")},
        {TBranchField::Length, QStringLiteral("40000"), QStringLiteral("Целое число должно быть в пределах 0...10000")},
        {TBranchField::PLAPosition, QStringLiteral("1001"), QStringLiteral("Целое число должно быть в пределах 0...1000")},
        {TBranchField::R, QStringLiteral("0.0.1"), QStringLiteral("\"0.0.1\" - неверно заданное число!")},
        {TBranchField::StartTemp, QStringLiteral(" "), QStringLiteral("\" \" - неверно заданное число!")},
        {TBranchField::Angle, QStringLiteral("inf"), QStringLiteral("\"inf\" - неверно заданное число!")},
        {TBranchField::People, QStringLiteral("40000"), QStringLiteral("Целое число должно быть в пределах -32768...32767")},
        {TBranchField::DGSMark, QStringLiteral("-32769"), QStringLiteral("Целое число должно быть в пределах -32768...32767")},
        {TBranchField::RequiredFlow, QStringLiteral(""), QStringLiteral("\"\" - неверно заданное число!")},
    };
    const auto before = std::make_unique<TNetworkTables>(t);
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Text.toStdString());
        Prompt.Asked.clear();
        auto f = Open(7);
        f->Modified = true;
        f->LabelWord = lfArea;
        f->Name = QStringLiteral("Другое");
        f->Text(TBranchField::R) = QStringLiteral("0,9");
        f->Text(c.Field) = c.Text;
        EXPECT_FALSE(f->Apply());
        ASSERT_EQ(Prompt.Asked.size(), 1u);
        EXPECT_EQ(Prompt.Asked[0].Text, c.Message);
        EXPECT_EQ(f->FocusField, c.Field);
        EXPECT_EQ(TablesDiffer(t, *before), "");
    }
    EXPECT_TRUE(Handed.empty());
}

TEST_F(TBranchFormTest, ReverseSwapsEndsNegatesFlowAndReversesBendPoints)
{
    const TTurnList turns = *t.BranchTurns[7];
    auto f = Open(7);
    ASSERT_TRUE(f->Reverse());
    EXPECT_EQ(f->DirectionText(), QStringLiteral("Из узла 2 к узлу 1"));
    EXPECT_EQ(f->Text(TBranchField::Q), QStringLiteral("-12,5"));
    ASSERT_TRUE(f->Apply());
    EXPECT_EQ(t.BranchStartNode[7], 2);
    EXPECT_EQ(t.BranchEndNode[7], 1);
    EXPECT_EQ(t.BranchQ[7], -12.5);
    ASSERT_EQ(t.BranchTurns[7]->size(), turns.size());
    EXPECT_EQ(t.BranchTurns[7]->front().X, turns.back().X);
    EXPECT_EQ(t.BranchTurns[7]->back().X, turns.front().X);

    auto twice = Open(7);
    twice->Reverse();
    twice->Reverse();
    ASSERT_TRUE(twice->Apply());
    EXPECT_EQ(t.BranchStartNode[7], 2);
    EXPECT_EQ(t.BranchQ[7], -12.5);
    EXPECT_EQ(t.BranchTurns[7]->front().X, turns.back().X);
}

TEST_F(TBranchFormTest, SpeedLimitsOfTheKinds)
{
    auto f = Open(7);
    const TSpeedLimitTexts longwall = f->ShowSpeedLimits(BranchTypeByName(QStringLiteral("Лава")));
    EXPECT_TRUE(longwall.Controlled);
    EXPECT_EQ(longwall.MinRule, QStringLiteral("(по ПБ: 0,25 м/с)"));
    EXPECT_EQ(longwall.MaxRule, QStringLiteral("(по ПБ: 4,00 м/с)"));
    // The combos show the branch's own limits, not the kind's.
    EXPECT_EQ(TBranchForm::MinSpeedItems().value(f->MinSpeedItem), QStringLiteral("0,25"));
    EXPECT_EQ(TBranchForm::MaxSpeedItems().value(f->MaxSpeedItem), QStringLiteral("6"));

    EXPECT_EQ(f->ShowSpeedLimits(BranchTypeByName(QStringLiteral("Камера"))).MinRule,
              QStringLiteral("(по ПБ: не регламентируется)"));
    const TSpeedLimitTexts fan = f->ShowSpeedLimits(BranchTypeByName(QStringLiteral("ВМП")));
    EXPECT_FALSE(fan.Controlled);
    EXPECT_EQ(fan.NoSpeedText, QStringLiteral("В выработке типа ВМП\n скорость воздуха не контролируется"));
    // Not a marker value dressed as a speed.
    t.BranchType[7] = static_cast<std::uint8_t>(BranchTypeByName(QStringLiteral("ВМП")));
    EXPECT_EQ(Open(7)->SpeedText(), QStringLiteral("Скорость воздуха: 1,25 м/с"));
    t.BranchArea[7] = 0;
    EXPECT_EQ(Open(7)->SpeedText(), QString());
    t.BranchType[7] = 0;
    t.BranchArea[7] = 10;

    t.BranchMinSpeed[7] = 0.3;
    t.BranchMaxSpeed[7] = MaxSpeedUnlimited;
    auto g = Open(7);
    EXPECT_EQ(g->MinSpeedItem, -1);
    EXPECT_EQ(g->MaxSpeedItem, 0);
    // A limit that no item shows stays while another field changes; the
    // user's pick replaces it.
    g->Modified = true;
    g->Name = QStringLiteral("Другое");
    ASSERT_TRUE(g->Apply());
    EXPECT_EQ(t.BranchMinSpeed[7], 0.3);
    EXPECT_EQ(t.BranchMaxSpeed[7], MaxSpeedUnlimited);
    auto picked = Open(7);
    picked->Modified = true;
    picked->MinSpeedItem = 0;
    ASSERT_TRUE(picked->Apply());
    EXPECT_EQ(t.BranchMinSpeed[7], MinSpeedNotRegulated);

    // A branch without limits of its own (a new one) is shown and stored
    // with those of the kind chosen, not as unregulated.
    t.BranchMinSpeed[7] = t.BranchMaxSpeed[7] = SpeedTypeDefault;
    auto h = Open(7);
    EXPECT_EQ(TBranchForm::MinSpeedItems().value(h->MinSpeedItem), QStringLiteral("0,15"));
    EXPECT_EQ(TBranchForm::MaxSpeedItems().value(h->MaxSpeedItem), QStringLiteral("6"));
    h->Type = BranchTypeByName(QStringLiteral("Лава"));
    h->ShowSpeedLimits(h->Type);
    h->Modified = true;
    ASSERT_TRUE(h->Apply());
    EXPECT_EQ(t.BranchMinSpeed[7], 0.25);
    EXPECT_EQ(t.BranchMaxSpeed[7], 4);
}

TEST_F(TBranchFormTest, AccessoryValuesAreStoredOnlyWithTheConfirmedBranch)
{
    auto f = Open(7);
    f->Modified = true;
    f->BeltType = -1;
    f->BeltWidth = -1;
    f->CableCells = QStringLiteral("12,14");
    ASSERT_TRUE(f->Apply());
    EXPECT_EQ(t.BranchBeltType[7], 255);
    EXPECT_EQ(t.BranchBeltWidth[7], -1);
    EXPECT_EQ(BeltWidthMillimetres(t.BranchBeltWidth[7]), 0);
    EXPECT_EQ(BeltWidthMillimetres(12), 1500);

    SaveAndReload(t, Doc);
    EXPECT_EQ(t.BranchCableCells[7], QStringLiteral("12,14"));
    EXPECT_EQ(Open(7)->BeltType, -1);
}

TEST_F(TBranchFormTest, LabelsForOtherBranchesMarkTheDocumentModified)
{
    auto f = Open(7);
    f->SameLabels[5] = true;
    f->SameLabels[12] = true;
    ASSERT_TRUE(f->Apply());
    EXPECT_EQ(t.BranchLabelFlags[5], lfNumber | lfQ);
    EXPECT_EQ(t.BranchLabelFlags[12], lfNumber | lfQ);
    EXPECT_EQ(ModifiedCalls, 1);
    EXPECT_TRUE(Handed.empty());
}

TEST_F(TBranchFormTest, APLAColourSpreadsOverItsPosition)
{
    t.BranchPLAPosition[7] = 3;
    t.BranchPLAPosition[5] = 3;
    PLAShown = true;
    auto host = Host();
    TColor offered = -1;
    host.ChooseColor = [&](TColor &color) {
        offered = color;
        color = 0x0000FF;
        return true;
    };
    t.BranchPLAColor[7] = 0x00FF00;
    TBranchForm f(t, Doc, host);
    f.Load(7);
    ASSERT_TRUE(f.ChoosePLAColor());
    EXPECT_EQ(offered, 0x00FF00);
    ASSERT_TRUE(f.Apply());
    EXPECT_EQ(t.BranchPLAColor[5], 0x0000FF);
    EXPECT_EQ(t.BranchPLAColor[12], 0);
    EXPECT_EQ((*Colors)[5], 0x0000FF);
    // A colour choice hands no "changed" snapshot.
    EXPECT_TRUE(Handed.empty());
    EXPECT_EQ(Redraws, 1);
}

TEST_F(TBranchFormTest, DeleteDestroysTheBranchAndItsSymbolLinks)
{
    auto f = Open(7);
    ASSERT_TRUE(f->Delete());
    EXPECT_FALSE(BranchPresent(t, 7));
    ASSERT_EQ(Doc.SymbolLinks.size(), 1u);
    EXPECT_EQ(Doc.SymbolLinks[0].Branch, 5);
    const std::vector<std::pair<int, TChangeKind>> handed{{7, ckDeleted}};
    EXPECT_EQ(Handed, handed);
    EXPECT_EQ(Redraws, 1);
}

TEST(SlopeAngle, FromAltitudesAndLength)
{
    EXPECT_EQ(SlopeAngle(100, 160, 0), 0.0);
    EXPECT_FALSE(SlopeAngle(100, 160, 50).has_value());
    EXPECT_NEAR(*SlopeAngle(160, 100, 120), 30.0, 1e-9);
    EXPECT_NEAR(*SlopeAngle(0, 10, 10), 90.0, 1e-9);
}

TEST_F(TBranchFormTest, SlopeAngleCommandAsksBeforeReplacingADifferentAngle)
{
    const QString question =
        QStringLiteral(" Рассчитанная по высотным отметкам и длине ветви\r  величина угла наклона (11,5) отличается от "
                       "значения, \r введенного в базу данных (361,0). \rЗаменить указанный в базе данных угол наклона?");
    // Altitudes 0 and 20 on a length of 100 give 11,5 degrees.
    t.NodeAltitude[1] = 0;
    t.NodeAltitude[2] = 20;
    t.BranchLength[7] = 100;
    struct TCase
    {
        double Stored;
        int Answer;
        bool Asked;
        const char *Angle;
    } cases[] = {
        {AngleNotGiven, idNo, true, nullptr},
        {AngleNotGiven, idYes, true, "11,5"},
        {10.0, idNo, false, "11,5"},
        {8.5, idYes, true, "11,5"},
        {14.6, idNo, true, nullptr},
    };
    for (const TCase &c : cases) {
        SCOPED_TRACE(c.Stored);
        t.BranchAngle[7] = c.Stored;
        auto f = Open(7);
        const QString before = f->Text(TBranchField::Angle);
        TScriptedPrompt prompt;
        prompt.Answer(c.Answer);
        ASSERT_TRUE(f->CalcSlopeAngle());
        ASSERT_EQ(prompt.Asked.size(), c.Asked ? 1u : 0u);
        if (c.Asked) {
            EXPECT_EQ(prompt.Asked[0].Caption, QStringLiteral("ВНИМАНИЕ"));
            EXPECT_EQ(prompt.Asked[0].Flags & mb::ButtonsMask, mb::YesNo);
            if (c.Stored == AngleNotGiven)
                EXPECT_EQ(prompt.Asked[0].Text, question);
        }
        EXPECT_EQ(f->Text(TBranchField::Angle), c.Angle ? QString::fromUtf8(c.Angle) : before);
        EXPECT_EQ(f->Modified, c.Angle != nullptr);
    }
}

TEST_F(TBranchFormTest, SlopeAngleFromTheLengthFieldAndItsFaults)
{
    t.NodeAltitude[1] = 100;
    t.NodeAltitude[2] = 160;
    t.BranchAngle[7] = 0;
    auto f = Open(7);
    f->Text(TBranchField::Length) = QStringLiteral("0");
    ASSERT_TRUE(f->CalcSlopeAngle());
    EXPECT_EQ(f->Text(TBranchField::Angle), QStringLiteral("0,0"));
    EXPECT_TRUE(Prompt.Asked.empty());

    f->Text(TBranchField::Length) = QStringLiteral("50");
    EXPECT_FALSE(f->CalcSlopeAngle());
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Caption, QStringLiteral("Невозможно рассчитать угол наклона"));
    EXPECT_EQ(Prompt.Asked[0].Text, QStringLiteral("Разность высотных отметок (60,0м) превышает длину выработки (50м)."));
    EXPECT_EQ(f->FocusField, TBranchField::Length);

    f->Text(TBranchField::Length) = QStringLiteral("сто");
    EXPECT_FALSE(f->CalcSlopeAngle());
    EXPECT_EQ(Prompt.Asked.back().Text, InvalidNumberMessage(QStringLiteral("сто"), true));
    EXPECT_EQ(f->Text(TBranchField::Angle), QStringLiteral("0,0"));
}

// The symbols page on branch 7 (120 m), with one known kind of symbol.
struct TBranchSymbolsTest : TBranchFormTest
{
    std::unique_ptr<TBranchForm> OpenWithSymbols(int n)
    {
        auto host = Host();
        host.BranchSymbols = [] {
            return std::vector<TSymbolType>{{QStringLiteral("Dver"), QStringLiteral("Дверь вентиляционная")},
                                            {QStringLiteral("DatchikCH4long"), QStringLiteral("Датчик метана")}};
        };
        auto form = std::make_unique<TBranchForm>(t, Doc, host);
        form->Load(n);
        return form;
    }
};

TEST_F(TBranchSymbolsTest, LinksAreListedAddedAndStoredUnderTheBranch)
{
    Doc.SymbolLinks.push_back(TLink(7, 60, QStringLiteral("Gone")));
    auto f = OpenWithSymbols(7);
    EXPECT_EQ(f->SymbolTypeItems(), (QStringList{"Дверь вентиляционная", "Датчик метана"}));
    ASSERT_EQ(f->Links.size(), 2u);
    EXPECT_EQ(f->SymbolCaption(f->Links[0]), QStringLiteral("Дверь вентиляционная"));
    EXPECT_EQ(f->SymbolCaption(f->Links[1]), QStringLiteral("СИМВОЛ Gone ОТСУТСВУЕТ"));

    // A text that is no integer is asked again; the name keeps 10 characters.
    Prompt.AnswerText(QStringLiteral("десять"));
    Prompt.AnswerText(QStringLiteral("30"));
    ASSERT_TRUE(f->AddSymbol(1));
    ASSERT_EQ(Prompt.Queried.size(), 2u);
    EXPECT_EQ(Prompt.Queried[1].Caption, QStringLiteral("Добавление символа"));
    EXPECT_EQ(Prompt.Queried[1].Prompt, QStringLiteral("Расстояние (метров) от начала выработки"));
    EXPECT_EQ(Prompt.Queried[1].Start, QString());
    EXPECT_EQ(f->Links.back(), TLink(7, 30, QStringLiteral("DatchikCH4")));
    EXPECT_EQ(ModifiedCalls, 1);
    EXPECT_FALSE(f->AddSymbol(0)); // cancelled
    EXPECT_FALSE(f->AddSymbol(-1));

    // A double click asks until the distance lies within 5..115.
    Prompt.AnswerText(QStringLiteral("116"));
    Prompt.AnswerText(QStringLiteral("115"));
    ASSERT_TRUE(f->EditSymbolDistance(0));
    EXPECT_EQ(Prompt.Queried[3].Start, QStringLiteral("40"));
    EXPECT_EQ(f->Links[0].Distance, 115);

    ASSERT_TRUE(f->DeleteSymbol(1));
    EXPECT_FALSE(f->DeleteSymbol(5));
    // Links of the document change only with OK.
    EXPECT_EQ(Doc.SymbolLinks.size(), 3u);
    ASSERT_TRUE(f->Apply());
    const TLinkList stored{TLink(5, 20, QStringLiteral("Dver")), TLink(7, 115, QStringLiteral("Dver")),
                           TLink(7, 30, QStringLiteral("DatchikCH4"))};
    EXPECT_EQ(Doc.SymbolLinks, stored);
    EXPECT_TRUE(Prompt.Asked.empty());
}

TEST_F(TBranchSymbolsTest, DistancesOutsideTheAirwayAreRemovedWithOneWarningEach)
{
    Doc.SymbolLinks.push_back(TLink(7, 48, QStringLiteral("Dver")));
    Doc.SymbolLinks.push_back(TLink(7, 45, QStringLiteral("Dver")));
    auto f = OpenWithSymbols(7);
    EXPECT_EQ(f->Links.size(), 3u);
    EXPECT_TRUE(Prompt.Asked.empty());

    f->Modified = true;
    f->Text(TBranchField::Length) = QStringLiteral("50");
    ASSERT_TRUE(f->Apply());
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Caption, QStringLiteral("Предупреждение"));
    EXPECT_EQ(Prompt.Asked[0].Text, QStringLiteral("Расстояние от начала выработки выходит за диапазон значений (5-45 м)."));
    const TLinkList stored{TLink(5, 20, QStringLiteral("Dver")), TLink(7, 40, QStringLiteral("Dver")),
                           TLink(7, 45, QStringLiteral("Dver"))};
    EXPECT_EQ(Doc.SymbolLinks, stored);
}

TEST_F(TBranchSymbolsTest, ShortAirwaysHaveNoSymbolsPage)
{
    Doc.SymbolLinks.clear();
    for (int d : {4, 5, 6})
        Doc.SymbolLinks.push_back(TLink(12, d, QStringLiteral("Dver")));
    t.BranchLength[12] = 9;
    EXPECT_FALSE(OpenWithSymbols(12)->SymbolsPageVisible());

    t.BranchLength[12] = 10;
    Prompt.Asked.clear();
    auto f = OpenWithSymbols(12);
    EXPECT_TRUE(f->SymbolsPageVisible());
    // Opening already keeps only the one valid distance.
    ASSERT_EQ(f->Links.size(), 1u);
    EXPECT_EQ(f->Links[0].Distance, 5);
    EXPECT_EQ(Prompt.Asked.size(), 2u);
}

TEST_F(TBranchFormTest, SlopeCaptionFallsBackWhenTheAngleCannotBeComputed)
{
    t.NodeAltitude[1] = -100;
    t.NodeAltitude[2] = -40;
    EXPECT_EQ(Open(7)->SlopeCaption(), QStringLiteral("Уг. наклона, гр. (30,0) ?>>>"));
    t.BranchLength[7] = 50;
    EXPECT_EQ(Open(7)->SlopeCaption(), QStringLiteral("Уг. наклона, гр. >>>"));
}

} // namespace

namespace {

const QString SamplePath = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Шахты/Демо.mine");

// Every column of a branch entry that the file keeps, as text, for comparison
// of one branch under two numbers.
QStringList EntryColumns(const TNetworkTables &t, int n)
{
    QStringList c;
    for (double v : {t.BranchR[n], t.BranchQ[n], t.BranchAuxDepression[n], t.BranchAlpha[n], t.BranchStartTemp[n],
                     t.BranchEndTemp[n], t.BranchArea[n], t.BranchHeight[n], t.BranchAngle[n],
                     t.BranchRequiredFlow[n], t.BranchFixedDepression[n], t.BranchMeasuredFlow[n],
                     t.BranchMinSpeed[n], t.BranchMaxSpeed[n]})
        c << QString::number(v, 'g', 17);
    for (int v : {int(t.BranchStartNode[n]), int(t.BranchEndNode[n]), int(t.BranchLength[n]),
                  int(t.BranchPLAPosition[n]), int(t.BranchPeople[n]), int(t.BranchFlags[n]),
                  int(t.BranchLabelFlags[n]), int(t.BranchType[n]), int(t.BranchLayer[n]), int(t.BranchPLAColor[n])})
        c << QString::number(v);
    c << t.BranchName[n];
    if (t.BranchTurns[n])
        for (const TTurn &turn : *t.BranchTurns[n])
            c << QStringLiteral("%1:%2").arg(turn.X).arg(turn.Y);
    return c;
}

} // namespace

TEST(BranchFormOnTheSample, RenumberedBranchesKeepEveryValueThroughSaveAndReload)
{
    auto t = NewDocumentTables();
    TSchemeDocument doc;
    ReadMineFile(SamplePath, *t, doc);
    // The limits a loaded document fills in for its branch kinds.
    for (int n = 1; n <= MaxItems; ++n) {
        if (t->BranchMinSpeed[n] == SpeedTypeDefault)
            t->BranchMinSpeed[n] = DefaultMinSpeed(t->BranchType[n]);
        if (t->BranchMaxSpeed[n] == SpeedTypeDefault)
            t->BranchMaxSpeed[n] = DefaultMaxSpeed(t->BranchType[n]);
    }
    int bent = 0;
    for (int n = 1; n <= MaxBranchNo(*t) && !bent; ++n)
        if (BranchExist(*t, n) && InnerTurnCount(*t, n) > 0)
            bent = n;
    ASSERT_NE(bent, 0);
    // The flow is typed back below as its text, which keeps 15 digits.
    ASSERT_TRUE(TryStrToFloat(FloatToStr(t->BranchQ[bent]), t->BranchQ[bent]));
    const int k = MaxBranchNo(*t) + 7;
    const std::string before = EntryColumns(*t, bent).join(u'|').toStdString();
    const int count = BranchCount(*t);

    int modified = 0;
    TBranchFormHost host;
    host.SetModified = [&](bool) { ++modified; };
    TBranchForm unchanged(*t, doc, host);
    unchanged.Load(bent);
    ASSERT_TRUE(unchanged.Apply());
    EXPECT_EQ(EntryColumns(*t, bent).join(u'|').toStdString(), before);
    EXPECT_EQ(modified, 0);

    TBranchForm f(*t, doc, host);
    f.Load(bent);
    f.Modified = true;
    // The shown texts are rounded; typing the stored values back keeps them.
    f.Text(TBranchField::R) = FloatToStr(t->BranchR[bent]);
    f.Text(TBranchField::Q) = FloatToStr(t->BranchQ[bent]);
    f.Text(TBranchField::AuxDepression) = FloatToStr(t->BranchAuxDepression[bent]);
    f.Text(TBranchField::No) = QString::number(k);
    ASSERT_TRUE(f.Apply());
    EXPECT_EQ(modified, 1);

    SaveAndReload(*t, doc);
    EXPECT_FALSE(BranchPresent(*t, bent));
    EXPECT_EQ(BranchCount(*t), count);
    EXPECT_EQ(EntryColumns(*t, k).join(u'|').toStdString(), before);
}
