#include "report/engine.h"
#include "report/interpreter.h"
#include "report/library.h"
#include "report_test_support.h"

#include <gtest/gtest.h>

TEST(Engine, StartUpMakesTheSharedObjectsAndTables)
{
    EXPECT_FALSE(EngineRunning());
    EXPECT_THROW(Engine(), Exception);
    {
        TfrEngineScope scope;
        TfrEngine &e = Engine();
        ASSERT_EQ(e.FunctionLibraryRegistry.size(), 1u);
        EXPECT_NE(dynamic_cast<TfrStdFunctionLibrary *>(e.FunctionLibraryRegistry[0].get()), nullptr);
        EXPECT_EQ(e.ScriptVariables.Count(), 0);
        ASSERT_NE(e.ReportInterpreter, nullptr);
        EXPECT_EQ(e.DefaultCharset, 1);
        EXPECT_EQ(e.BandTypeNames.size(), 22);
        EXPECT_EQ(e.BandTypeNames[btNone], QStringLiteral("Нет"));
        EXPECT_EQ(e.BandTypeNames[btMasterData], QStringLiteral("Master data"));
        EXPECT_EQ(e.SpecialValueNames,
                  (QStringList{QStringLiteral("Страница"), QStringLiteral("Выражение"), QStringLiteral("Дата"),
                               QStringLiteral("Время"), QStringLiteral("Line#"), QStringLiteral("Line through#"),
                               QStringLiteral("Column#"), QStringLiteral("Current line#"),
                               QStringLiteral("Всего страниц")}));
        EXPECT_EQ(e.BooleanFormats[1], QStringLiteral("Нет;Да"));
        EXPECT_EQ(e.DateFormats[3], QStringLiteral("d mmmm yyyy"));
        EXPECT_EQ(e.TimeFormats[2], QStringLiteral("hh:nn"));
        e.ScriptVariables.SetValue(QStringLiteral("x"), Variant(1));
    }
    EXPECT_FALSE(EngineRunning());
    // A second start (the journal plug-in's own engine, or the next test) is fresh.
    TfrEngineScope again;
    EXPECT_EQ(Engine().ScriptVariables.Count(), 0);
    EXPECT_EQ(Engine().FunctionLibraryRegistry.size(), 1u);
}

TEST(Engine, ShutdownFreesTheOutputLayersStateFirst)
{
    static std::vector<std::string> order;
    order.clear();
    struct Extension : TfrEngineExtension
    {
        ~Extension() override
        {
            order.push_back(EngineRunning() && Engine().ReportInterpreter ? "extension, interpreter alive" : "late");
        }
    };
    EngineStartup();
    Engine().Extension = std::make_unique<Extension>();
    EngineShutdown();
    EXPECT_EQ(order, std::vector<std::string>{"extension, interpreter alive"});
}

TEST(Engine, AReportGoingAwayDetachesTheEvaluator)
{
    TfrEngineScope scope;
    {
        TTestReport report;
        report.AttachParser();
        EXPECT_EQ(Engine().CurrentReport, &report);
    }
    EXPECT_EQ(Engine().CurrentReport, nullptr);
    EXPECT_TRUE(Engine().ReportParser.Evaluate(QStringLiteral("x")).IsEmpty());
}
