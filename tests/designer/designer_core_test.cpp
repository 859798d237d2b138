#include "designer/designer_core.h"

#include "platform/settings_store.h"
#include "report/engine.h"
#include "report/report.h"

#include <gtest/gtest.h>

TEST(DesignerUnits, ConvertBothWays)
{
    EXPECT_DOUBLE_EQ(PixelsToUnits(18, 1), 5.0);
    EXPECT_DOUBLE_EQ(PixelsToUnits(72, 1), 20.0);
    EXPECT_NEAR(PixelsToUnits(72, 2), 0.787, 0.001);
    EXPECT_DOUBLE_EQ(PixelsToUnits(72, 0), 72.0);
    EXPECT_EQ(UnitsToPixels(10, 1), 36);
    EXPECT_EQ(UnitsToPixels(1, 2), 91);
    EXPECT_EQ(UnitsToPixels(12.5, 0), 12);
    EXPECT_EQ(UnitsName(1), QStringLiteral("Миллиметры"));
}

TEST(DesignerPage, DefaultMemoSize)
{
    using S = std::pair<int, int>;
    EXPECT_EQ(DefaultMemoSize(4, 10), S(96, 16));
    EXPECT_EQ(DefaultMemoSize(18, 10), S(108, 18));
    EXPECT_EQ(DefaultMemoSize(4, 12), S(96, 20));
    EXPECT_EQ(DefaultMemoSize(18, 16), S(108, 24));
    EXPECT_EQ(DefaultMemoSize(18, 18), S(108, 18));
}

class DesignerPages : public ::testing::Test
{
protected:
    TfrEngineScope engine;
    TfrReport report;

    TfrSubReportView *AddSub(TfrPage &page, int shows)
    {
        auto sub = std::make_unique<TfrSubReportView>();
        sub->PageIndex = shows;
        page.TemplateObjects.push_back(std::move(sub));
        return static_cast<TfrSubReportView *>(page.TemplateObjects.back().get());
    }
    void AddBand(TfrPage &page, int type)
    {
        auto band = std::make_unique<TfrBandView>();
        band->SetBandType(type);
        band->Name = QStringLiteral("B%1").arg(type);
        page.TemplateObjects.push_back(std::move(band));
    }
};

TEST_F(DesignerPages, RemovedPageTakesItsSubreports)
{
    TfrPage &first = report.TemplatePages.Add();
    report.TemplatePages.Add();
    report.TemplatePages.Add();
    AddSub(first, 1);
    TfrSubReportView *later = AddSub(first, 2);
    report.TemplatePages.Delete(1);
    FixSubReportPages(report.TemplatePages, 1);
    ASSERT_EQ(first.TemplateObjects.size(), 1u);
    EXPECT_EQ(first.TemplateObjects[0].get(), later);
    EXPECT_EQ(later->PageIndex, 1);
}

TEST_F(DesignerPages, BandOrderAndFreeType)
{
    TfrPage &page = report.TemplatePages.Add();
    page.TemplateObjects.push_back(std::make_unique<TfrMemoView>());
    for (int t : {18, 5, 13, 0, 19})
        AddBand(page, t);
    OrderBands(page);
    QStringList names;
    for (auto &v : page.TemplateObjects)
        names << v->Name;
    EXPECT_EQ(names.join(u','), QStringLiteral("B13,B5,B0,B18,B19,"));

    TfrPage &full = report.TemplatePages.Add();
    for (int t = 0; t <= 4; ++t)
        AddBand(full, t);
    EXPECT_EQ(FreeBandType(full), 5);
    for (int t = 5; t <= 19; ++t)
        AddBand(full, t);
    EXPECT_EQ(FreeBandType(full), 20);
    AddBand(full, 20);
    EXPECT_EQ(FreeBandType(full), 5);
}

TEST(DesignerStore, OptionsAndPlacementsAreTexts)
{
    TSettingsStore store(TSettingsScope::User);
    const QString form = LibraryRegistryRoot() + QStringLiteral("\\Form\\frTestForm");
    store.OpenKey(form, true);
    store.WriteString(QStringLiteral("GridSize"), QStringLiteral("abc"));
    store.WriteString(QStringLiteral("Units"), QStringLiteral("2"));
    store.WriteString(QStringLiteral("GridShow"), QStringLiteral("0"));
    store.CloseKey();
    TDesignerOptions o = ReadDesignerOptions(store, QStringLiteral("frTestForm"));
    EXPECT_EQ(o.GridSize, 4);
    EXPECT_EQ(o.Units, 2);
    EXPECT_FALSE(o.GridShow);
    EXPECT_TRUE(o.GridAlign);
    WriteDesignerOptions(store, QStringLiteral("frTestForm"), o);
    store.OpenKey(form, true);
    EXPECT_EQ(store.ReadString(QStringLiteral("GridSize")), QStringLiteral("4"));
    EXPECT_EQ(store.GetValueKind(QStringLiteral("GridAlign")), TSettingsStore::TValueKind::String);

    TToolBarState s{false, true, 10, 0, 200, 26, QStringLiteral("frDock1")};
    WriteToolBarState(store, QStringLiteral("PanelT"), s);
    s.Floating = true;
    s.DockName = QStringLiteral("frDock2");
    WriteToolBarState(store, QStringLiteral("PanelT"), s);
    TToolBarState back;
    EXPECT_TRUE(ReadToolBarState(store, QStringLiteral("PanelT"), back));
    EXPECT_TRUE(back.Floating);
    EXPECT_EQ(back.DockName, QStringLiteral("frDock1"));
    EXPECT_EQ(back.Width, 200);

    TToolBarState none{false, true, 5, 26, 77, 26, QStringLiteral("frDock4")};
    EXPECT_FALSE(ReadToolBarState(store, QStringLiteral("PanelNone"), none));
    EXPECT_EQ(none.DockName, QStringLiteral("frDock4"));
    EXPECT_EQ(none.X, 5);
    EXPECT_EQ(none.Width, 77);
}
