// Refreshing measurements from the network, on tables of the test's own.
#include "journal/refresh.h"
#include "journal_fixture.h"

#include <gtest/gtest.h>

#include <array>
#include <map>

namespace {

// Branch tables as the program hands them out (index 0 is item 1), with
// names for the branches the program counts as existing.
struct TFakeNetwork
{
    std::array<std::int16_t, 5000> No{};
    std::array<double, 5000> Q{}, Temp{}, Area{};
    std::map<int, QString> Names;
    int NameCalls = 0;

    void Branch(int n, double q, double area, double temp, const QString &name = QString())
    {
        No[n - 1] = static_cast<std::int16_t>(n);
        Q[n - 1] = q;
        Area[n - 1] = area;
        Temp[n - 1] = temp;
        if (!name.isEmpty())
            Names[n] = name;
    }

    TJournalNetwork View()
    {
        TJournalNetwork net;
        net.ValidItemIndex = [](int n) { return n >= 1 && n <= 5000; };
        net.GetBranchInfoBlock = [this] { return TJournalBranchTables{No.data(), Q.data(), Temp.data(), Area.data()}; };
        net.GetBranchName = [this](int n) {
            ++NameCalls;
            const auto it = Names.find(n);
            return it == Names.end() ? QString() : it->second;
        };
        return net;
    }
};

TRubricRecord &AddRecord(TRubric &r, std::int16_t in, std::int16_t out)
{
    TRubricRecord &rec = *r.Add(std::make_unique<TRubricRecord>(&r));
    rec.InBranch.Number = in;
    rec.OutBranch.Number = out;
    return rec;
}

} // namespace

TEST(Refresh, TakesTheNetworksValuesAndRoundsFlowsHalfToEven)
{
    TFakeNetwork net;
    net.Branch(1, 0.375, 2.5, 14.5, QStringLiteral("Штрек"));
    net.Branch(2, 0.125, 0.5, -3, QStringLiteral("Лава"));
    net.Branch(5000, -0.375, 1, 20);  // no name: its end nodes are missing in the program
    TKerstal j(QStringLiteral("Ж.WVJ"));
    TRubric &r = AddRubric(j, QStringLiteral("Участок"), rtOrdinary);
    TRubricRecord &a = AddRecord(r, 1, 2);
    a.InBranch.Waternity = 85;
    a.OutBranch.Waternity = 97.5;
    a.OutBranch.CH4 = QStringLiteral("0,8");
    a.OutBranch.CO = QStringLiteral("0,0017");
    TRubricRecord &b = AddRecord(r, 5000, 0);
    b.InBranch.Name = QStringLiteral("старое имя");
    TRubricRecord &none = AddRecord(r, 0, 0);
    none.InBranch.Sec = 3;

    const QStringList log = RefreshFromNetwork(j, net.View());
    EXPECT_EQ(log, (QStringList{QStringLiteral("Обновление вентжурнала \"Ж.WVJ\""), QString(33, u'~'),
                                QStringLiteral("Рубрика: \"Участок\" - OK!"), QString(33, u'~'),
                                QStringLiteral("Обновление закончено")}));
    EXPECT_TRUE(j.Modified);
    EXPECT_EQ(a.InBranch.Out, 22);
    EXPECT_EQ(a.InBranch.Sec, 2.5);
    EXPECT_DOUBLE_EQ(a.InBranch.Speed, 0.15);
    EXPECT_EQ(a.InBranch.Temperature, 14.5);
    EXPECT_EQ(a.InBranch.Name, QStringLiteral("Штрек"));
    EXPECT_EQ(a.OutBranch.Out, 8);
    EXPECT_EQ(a.OutBranch.Temperature, -3);
    EXPECT_EQ(a.OutBranch.Name, QStringLiteral("Лава"));
    EXPECT_EQ(a.InBranch.Waternity, 85);
    EXPECT_EQ(a.OutBranch.Waternity, 97.5);
    EXPECT_EQ(a.OutBranch.CH4, QStringLiteral("0,8"));
    EXPECT_EQ(a.OutBranch.CO, QStringLiteral("0,0017"));
    EXPECT_EQ(b.InBranch.Out, -22);
    EXPECT_EQ(b.InBranch.Name, QString());
    EXPECT_EQ(none.InBranch.Sec, 3);
    EXPECT_EQ(net.NameCalls, 3);
}

TEST(Refresh, ReportsMissingBranchesAndZeroSectionsRecordByRecord)
{
    TFakeNetwork net;
    net.Branch(5, 1.5, 0, 10, QStringLiteral("Без сечения"));
    net.Branch(6, 1, 2, 10);
    net.No[8 - 1] = 9; // item 8 holds another number: not in the network
    TKerstal j(QStringLiteral("j"));
    TRubric &r1 = AddRubric(j, QStringLiteral("Первая"), rtOrdinary);
    TRubricRecord &mixed = AddRecord(r1, 7, 5);
    mixed.InBranch.Out = 99;
    AddRecord(r1, 6, 6);
    AddRecord(r1, 0, -3);
    AddRecord(r1, 5, 8);
    TRubric &r2 = AddRubric(j, QStringLiteral("Вторая"), rtOrdinary);
    AddRecord(r2, 5001, 0);

    const QStringList log = RefreshFromNetwork(j, net.View());
    EXPECT_EQ(log.mid(2, log.size() - 4),
              (QStringList{QStringLiteral("Рубрика: \"Первая\" - Ошибки:"),
                           QStringLiteral("Пост.: Ветвь № 7: нет в БД   Исх.: Ветвь № 5: сечение = 0"),
                           QStringLiteral("   Исх.: Ветвь № -3: нет в БД"),
                           QStringLiteral("Поступающая: Ветвь № 5: сечение = 0   Исх.: Ветвь № 8: нет в БД"),
                           QStringLiteral("Рубрика: \"Вторая\" - Ошибки:"),
                           QStringLiteral("Пост.: Ветвь № 5001: нет в БД")}));
    EXPECT_EQ(mixed.InBranch.Out, 99) << "a missing branch keeps its measurement";
    EXPECT_EQ(mixed.OutBranch.Out, 90) << "a zero section still takes the flow";
    EXPECT_EQ(mixed.OutBranch.Speed, 0);
    EXPECT_EQ(mixed.OutBranch.Name, QStringLiteral("Без сечения"));
    EXPECT_TRUE(j.Modified);
}

TEST(Refresh, NothingToRefreshLeavesTheJournalUnmodified)
{
    TFakeNetwork net;
    TKerstal empty(QStringLiteral("пусто"));
    EXPECT_EQ(RefreshFromNetwork(empty, net.View()),
              (QStringList{QStringLiteral("Обновление вентжурнала \"пусто\""), QString(33, u'~'), QString(33, u'~'),
                           QStringLiteral("Обновление закончено")}));
    EXPECT_FALSE(empty.Modified);

    TKerstal missing(QStringLiteral("m"));
    AddRecord(AddRubric(missing, QStringLiteral("р"), rtOrdinary), 0, 12);
    RefreshFromNetwork(missing, net.View());
    EXPECT_FALSE(missing.Modified);
}
