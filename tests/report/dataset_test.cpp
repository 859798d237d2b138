#include "report/dataset.h"
#include "report_test_support.h"

#include <gtest/gtest.h>

namespace {

// Walks a record source in the engine's calling order; stops after `limit`.
int CountRecords(TfrDataset &ds, int limit = 100)
{
    int records = 0;
    ds.Init();
    ds.First();
    while (!ds.Eof() && records < limit) {
        ++records;
        ds.Next();
    }
    ds.Exit();
    return records;
}

} // namespace

TEST(DataSets, CountingSourcesGiveExactlyTheirRecords)
{
    for (int count : {3, 1, 0}) {
        TfrUserDataset ds;
        ds.RangeEnd = reCount;
        ds.RangeEndCount = count;
        EXPECT_EQ(CountRecords(ds), count);
    }
}

TEST(DataSets, TheHostDecidesWhereTheEndIs)
{
    // reLast without OnCheckEOF never ends: the host must say so.
    TfrUserDataset endless;
    EXPECT_EQ(CountRecords(endless, 50), 50);

    // A host cursor over its own items.
    const QStringList items = {QStringLiteral("a"), QStringLiteral("b")};
    int cursor = -1;
    QStringList seen;
    TfrUserDataset host;
    host.OnFirst = [&](TfrComponent *) { cursor = 0; };
    host.OnNext = [&](TfrComponent *) { ++cursor; };
    host.OnCheckEOF = [&](TfrComponent *, bool &eof) { eof = cursor >= items.size(); };
    host.First();
    while (!host.Eof()) {
        seen << items[cursor];
        host.Next();
    }
    EXPECT_EQ(seen, items);
    EXPECT_EQ(host.RecordNo, 2);

    // OnCheckEOF may end a counted range early or extend it.
    TfrUserDataset shorter;
    shorter.RangeEnd = reCount;
    shorter.RangeEndCount = 5;
    shorter.OnCheckEOF = [&](TfrComponent *, bool &eof) { eof = eof || shorter.RecordNo >= 2; };
    EXPECT_EQ(CountRecords(shorter), 2);
    TfrUserDataset longer;
    longer.RangeEnd = reCount;
    longer.RangeEndCount = 1;
    longer.OnCheckEOF = [&](TfrComponent *, bool &eof) { eof = longer.RecordNo >= 4; };
    EXPECT_EQ(CountRecords(longer), 4);
}

TEST(DataSets, DatabaseSourcesWalkTheirDataSet)
{
    TMemoryDataSet table(QStringLiteral("Table1"), {QStringLiteral("N")}, {{Variant(1)}, {Variant(2)}, {Variant(3)}});
    TDataSource source;
    source.DataSet = &table;
    TfrDBDataSet ds;
    ds.DataSource = &source;
    QStringList events;
    ds.OnOpen = [&](TfrComponent *) { events << QStringLiteral("open"); };
    ds.OnClose = [&](TfrComponent *) { events << QStringLiteral("close"); };

    EXPECT_EQ(CountRecords(ds), 3);
    EXPECT_TRUE(table.IsOpen); // opened by Init, left open by Exit
    EXPECT_EQ(events, (QStringList{QStringLiteral("open"), QStringLiteral("close")}));

    ds.CloseDataSource = true;
    EXPECT_EQ(CountRecords(ds), 3);
    EXPECT_FALSE(table.IsOpen);

    // From the current record to the current record: exactly that record,
    // and the data set is left on it.
    ds.RangeBegin = rbCurrent;
    ds.RangeEnd = reCurrent;
    table.Row = 1;
    int records = 0;
    ds.Init();
    ds.First();
    while (!ds.Eof()) {
        EXPECT_EQ(table.FindField(QStringLiteral("N"))->Value(), Variant(2));
        ++records;
        ds.Next();
    }
    ds.Exit();
    EXPECT_EQ(records, 1);
    EXPECT_EQ(table.Row, 1);

    // From the first record to the current one: the range reaches its end.
    ds.RangeBegin = rbFirst;
    table.Row = 2;
    EXPECT_EQ(CountRecords(ds, 10), 3);
    EXPECT_EQ(table.Row, 2);
}

TEST(DataSets, ADatabaseSourceWithoutDataSetRaises)
{
    TfrDBDataSet ds;
    EXPECT_THROW(ds.Init(), EDSError);
    EXPECT_THROW(ds.First(), EDSError);
    TDataSource source;
    ds.DataSource = &source;
    EXPECT_THROW(ds.Eof(), EDSError);
    try {
        ds.GetDataSet();
    } catch (const EDSError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Unable to open Dataset"));
    }

    // Removing the data source from the directory makes the source forget it.
    TfrEngineScope scope;
    Engine().Components.Register(QStringLiteral("frm"), &source);
    Engine().Components.Register(QStringLiteral("frm"), &ds);
    Engine().Components.Unregister(&source);
    EXPECT_EQ(ds.DataSource, nullptr);
}
