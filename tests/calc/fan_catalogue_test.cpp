// The fan catalogue: the 8300-byte record of a "*.Fan" file, the type and
// characteristic lists, the axis ranges, and damaged or missing files.
#include "calc/fan_catalogue.h"
#include "platform/prompt.h"

#include "file_bytes.h"

#include <QtCore/QDir>
#include <QtCore/QTemporaryDir>
#include <QtCore/QtEndian>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TFanCurve Points(int count, double qScale, std::uint8_t flag = 1)
{
    TFanCurve c;
    c.Flag = flag;
    c.LastIndex = count - 1;
    for (int i = 0; i < count; ++i) {
        c.Q[i] = qScale * (i + 1);
        c.H[i] = 100 - 3 * i * i;
    }
    return c;
}

std::int32_t Int32At(const QByteArray &bytes, int offset) { return qFromLittleEndian<std::int32_t>(bytes.constData() + offset); }
double DoubleAt(const QByteArray &bytes, int offset) { return qFromLittleEndian<double>(bytes.constData() + offset); }

class FanCatalogue : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        catalogue.Folder = dir.path() + u'/';
    }

    QString Path(const QString &name) const { return dir.filePath(name); }

    // A type file with characteristics of the given point counts.
    void WriteType(const QString &name, std::initializer_list<int> counts, double qAxis = 0)
    {
        std::array<TFanCurve, MaxFanCurves> curves{};
        QStringList names;
        int k = 0;
        for (const int count : counts) {
            curves[k] = Points(count, 1.5 + k);
            names << QStringLiteral("Кр %1").arg(k);
            ++k;
        }
        TFanTypeRecord record;
        PackFanCurves(record, name, curves, names, qAxis, 0);
        WriteFanTypeFile(Path(name + QStringLiteral(".Fan")), record);
    }

    QTemporaryDir dir;
    TPlotState plot;
    TFanCatalogue catalogue{plot};
    TScriptedPrompt prompt;
};

} // namespace

TEST_F(FanCatalogue, RecordLayoutAndRoundTrip)
{
    std::array<TFanCurve, MaxFanCurves> curves{};
    curves[0] = Points(3, 2);
    curves[1] = Points(4, 10, 0);
    const QStringList names{QStringLiteral("Пятнадцать букв"), QStringLiteral("Вторая")};
    TFanTypeRecord record;
    ASSERT_TRUE(PackFanCurves(record, QStringLiteral("Очень длинное имя типа вентилятора"), curves, names, 55, 165));
    const QByteArray bytes = EncodeFanTypeRecord(record);
    ASSERT_EQ(bytes.size(), 8300);

    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 23);
    EXPECT_EQ(Int32At(bytes, 24), 1);
    EXPECT_EQ(bytes[28], 1);
    EXPECT_EQ(bytes[29], 0);
    EXPECT_EQ(bytes.mid(44, 11), QByteArray("\x0A\xCF\xFF\xF2\xED\xE0\xE4\xF6\xE0\xF2\xFC", 11)); // "Пятнадцать"
    EXPECT_EQ(Int32At(bytes, 220), 2);
    EXPECT_EQ(Int32At(bytes, 224), 3);
    EXPECT_EQ(Int32At(bytes, 228), 0);
    const double flows[] = {2, 4, 6, 10, 20, 30, 40, 0};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(DoubleAt(bytes, 284 + 8 * i), flows[i]) << i;
    EXPECT_EQ(DoubleAt(bytes, 4292 + 8 * 4), 97);
    EXPECT_EQ(DoubleAt(bytes, 4284), 55);
    EXPECT_EQ(DoubleAt(bytes, 8292), 165);

    // Read back through the catalogue and packed again: the same bytes.
    const QString name = QStringLiteral("ВОД-21");
    WriteFile(Path(name + QStringLiteral(".Fan")), bytes);
    catalogue.TypeName = name;
    ASSERT_EQ(catalogue.ScanFanTypes(), TFanCatalogue::lrLoaded);
    EXPECT_EQ(catalogue.CurveList, (QStringList{"Пятнадцать", "Вторая", "ХНовая № 3"}));
    EXPECT_EQ(catalogue.Curves[1], curves[1]);
    catalogue.TypeList[catalogue.TypeIndex] = QStringLiteral("Очень длинное имя типа вентилятора");
    ASSERT_EQ(catalogue.PackFanType(), 0);
    EXPECT_EQ(EncodeFanTypeRecord(catalogue.Record), bytes);
}

TEST_F(FanCatalogue, PackingDropsCharacteristicsOfOnePoint)
{
    catalogue.Curves[0] = Points(3, 1);
    catalogue.Curves[1] = Points(1, 2, 1);
    catalogue.Curves[2] = Points(2, 3, 0);
    catalogue.CurveList = {QStringLiteral("Первая"), QStringLiteral("Одна точка"), QStringLiteral("Третья")};
    catalogue.TypeList = {NoFanTypeEntry, QStringLiteral("ВМП")};
    catalogue.TypeIndex = 1;
    ASSERT_EQ(catalogue.PackFanType(), 0);
    const TFanTypeRecord &r = catalogue.Record;
    EXPECT_EQ(r.LastCurve, 1);
    EXPECT_EQ(r.CurveNames[1], QStringLiteral("Третья"));
    EXPECT_EQ(r.CurveFlags[1], 0);
    EXPECT_EQ(r.LastPoint[1], 1);
    EXPECT_EQ(r.PointQ[3], 3);
    EXPECT_EQ(r.PointQ[5], 0);

    for (TFanCurve &c : catalogue.Curves)
        c.LastIndex = 0;
    EXPECT_EQ(catalogue.PackFanType(), 1);
    EXPECT_EQ(catalogue.Record.LastCurve, -1);
}

TEST_F(FanCatalogue, CharacteristicListAndAxisRanges)
{
    struct Case
    {
        std::initializer_list<int> Counts;
        double QAxis;
        QStringList Entries;
        double QFull;
    };
    const Case cases[] = {
        {{}, 0, {"ХНовая № 1"}, 5.5},
        {{3, 4}, 0, {"Кр 0", "Кр 1", "ХНовая № 3"}, (10 + 5) * 1.1}, // largest Q 2.5 × 4 = 10
        {{3, 4}, 40, {"Кр 0", "Кр 1", "ХНовая № 3"}, 40},
        {{2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2}, 0, {}, 0},
    };
    for (const Case &c : cases) {
        WriteType(QStringLiteral("Тип"), c.Counts, c.QAxis);
        catalogue.TypeName = QStringLiteral("Тип");
        ASSERT_EQ(catalogue.ScanFanTypes(), TFanCatalogue::lrLoaded);
        EXPECT_EQ(catalogue.LastCurve, static_cast<int>(c.Counts.size()) - 1);
        if (c.Counts.size() == 16) {
            EXPECT_EQ(catalogue.CurveList.size(), 16);
            continue;
        }
        EXPECT_EQ(catalogue.CurveList, c.Entries);
        EXPECT_DOUBLE_EQ(plot.QFull, c.QFull);
        EXPECT_DOUBLE_EQ(plot.QEnd, c.QFull);
        EXPECT_DOUBLE_EQ(plot.QPanStep, c.QFull / 10);
    }
    // The new entry begins with a Cyrillic Х, the new type's with a Latin B.
    EXPECT_EQ(NewFanCurveEntry(1).at(0), QChar(0x0425));
    EXPECT_EQ(NewFanTypeEntry(3).at(0), QChar(u'B'));

    const std::pair<double, double> ranges[] = {{23.4, 27.5}, {25, 33}, {0, 5.5}};
    for (const auto &[largest, range] : ranges)
        EXPECT_DOUBLE_EQ(FanAxisRange(largest), range) << largest;
}

TEST_F(FanCatalogue, TypeListFromTheFolder)
{
    for (const char *name : {"ВОД-11", "ВЦ-25", "ВМ-4"})
        WriteType(QString::fromUtf8(name), {3});
    // Another letter case still lists; hidden files and other files do not.
    QFile::rename(Path(QStringLiteral("ВМ-4.Fan")), Path(QStringLiteral("ВМ-4.FAN")));
    WriteFile(Path(QStringLiteral(".скрытый.Fan")), QByteArray(8300, '\0'));
    WriteFile(Path(QStringLiteral("FireLoad.dat")), QByteArray(72, '\0'));

    catalogue.TypeName = QStringLiteral("ВЦ-25");
    EXPECT_EQ(catalogue.ScanFanTypes(), TFanCatalogue::lrLoaded);
    EXPECT_EQ(catalogue.TypeList, (QStringList{"Не определен", "ВМ-4", "ВОД-11", "ВЦ-25", "BНовый № 4"}));
    EXPECT_EQ(catalogue.TypeIndex, 3);
    EXPECT_TRUE(prompt.Asked.empty());

    catalogue.TypeName = QStringLiteral("вц-25");
    EXPECT_EQ(catalogue.ScanFanTypes(), TFanCatalogue::lrNoType);
    EXPECT_EQ(catalogue.TypeIndex, 0);

    for (int i = 4; i <= 50; ++i)
        WriteType(QStringLiteral("Т%1").arg(i), {2});
    catalogue.ScanFanTypes();
    EXPECT_EQ(catalogue.TypeList.size(), 51);
    EXPECT_FALSE(catalogue.TypeList.last().startsWith(u'B'));
}

TEST_F(FanCatalogue, EmptyFolderIsReported)
{
    catalogue.TypeName = QStringLiteral("ВОД-11");
    EXPECT_EQ(catalogue.ScanFanTypes(), TFanCatalogue::lrNoType);
    EXPECT_EQ(catalogue.TypeList, QStringList{"Не определен"});
    EXPECT_EQ(catalogue.TypeIndex, 0);
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("В базе нет ветиляторов !\rПуть ") + catalogue.Folder
                                        + QStringLiteral("\rНе приводит к цели !"));
    EXPECT_EQ(prompt.Asked[0].Flags, mb::Ok | mb::IconInformation);
}

TEST_F(FanCatalogue, DamagedAndMissingFilesChangeNothing)
{
    WriteType(QStringLiteral("Исправный"), {3, 4});
    WriteType(QStringLiteral("Образец"), {3, 4});
    const QByteArray sound = ReadAll(Path(QStringLiteral("Образец.Fan")));
    const auto damaged = [&](auto change) {
        QByteArray bytes = sound;
        change(bytes);
        return bytes;
    };
    const auto putInt = [](QByteArray &b, int offset, std::int32_t v) { qToLittleEndian(v, b.data() + offset); };
    const std::pair<const char *, QByteArray> cases[] = {
        {"short", sound.left(8299)},
        {"LastCurve 16", damaged([&](QByteArray &b) { putInt(b, 24, 16); })},
        {"LastCurve -2", damaged([&](QByteArray &b) { putInt(b, 24, -2); })},
        {"LastPoint 102", damaged([&](QByteArray &b) { putInt(b, 224, 102); })},
        {"501 points", damaged([&](QByteArray &b) {
             putInt(b, 24, 4);
             for (int k = 0; k < 5; ++k)
                 putInt(b, 220 + 4 * k, 99);
             putInt(b, 236, 100);
         })},
        {"NaN", damaged([](QByteArray &b) {
             qToLittleEndian(std::numeric_limits<double>::quiet_NaN(), b.data() + 4292 + 8);
         })},
    };
    for (const auto &[what, bytes] : cases) {
        const QString name = QStringLiteral("Повреждён");
        WriteFile(Path(name + QStringLiteral(".Fan")), bytes);
        catalogue.TypeName = QStringLiteral("Исправный");
        ASSERT_EQ(catalogue.ScanFanTypes(), TFanCatalogue::lrLoaded) << what;
        const TFanTypeRecord record = catalogue.Record;
        const auto curves = catalogue.Curves;
        const QStringList curveList = catalogue.CurveList;
        const double qFull = plot.QFull;

        prompt.Asked.clear();
        catalogue.TypeIndex = static_cast<int>(catalogue.TypeList.indexOf(name));
        EXPECT_EQ(catalogue.LoadFanType(), TFanCatalogue::lrFailed) << what;
        ASSERT_EQ(prompt.Asked.size(), 1u) << what;
        EXPECT_TRUE(prompt.Asked[0].Text.contains(name + QStringLiteral(".Fan"))) << what;
        EXPECT_EQ(prompt.Asked[0].Flags, mb::Ok | mb::IconError);
        EXPECT_EQ(catalogue.Record, record) << what;
        EXPECT_EQ(catalogue.Curves, curves) << what;
        EXPECT_EQ(catalogue.CurveList, curveList) << what;
        EXPECT_EQ(plot.QFull, qFull) << what;

        // Chosen when the folder is listed, it leaves no type chosen.
        catalogue.TypeName = name;
        EXPECT_EQ(catalogue.ScanFanTypes(), TFanCatalogue::lrFailed) << what;
        EXPECT_EQ(catalogue.TypeIndex, 0) << what;
    }

    // A file gone since the folder was listed.
    catalogue.TypeName = QStringLiteral("Исправный");
    catalogue.ScanFanTypes();
    QFile::remove(Path(QStringLiteral("Образец.Fan")));
    prompt.Asked.clear();
    catalogue.TypeIndex = static_cast<int>(catalogue.TypeList.indexOf(QStringLiteral("Образец")));
    EXPECT_EQ(catalogue.LoadFanType(), TFanCatalogue::lrFailed);
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_TRUE(prompt.Asked[0].Text.contains(QStringLiteral("Образец.Fan")));
}

TEST_F(FanCatalogue, WritingAndDeleting)
{
    WriteType(QStringLiteral("вм-6"), {3});
    QFile::rename(Path(QStringLiteral("вм-6.Fan")), Path(QStringLiteral("вм-6.fan")));
    catalogue.TypeName = QStringLiteral("вм-6");
    ASSERT_EQ(catalogue.ScanFanTypes(), TFanCatalogue::lrLoaded);

    // A new type saved under an existing name replaces that file, whatever
    // the letter case of its extension.
    catalogue.Curves[1] = Points(5, 1);
    catalogue.CurveList[1] = QStringLiteral("Новая");
    catalogue.TypeIndex = 2;
    catalogue.TypeList[2] = QStringLiteral("вм-6");
    ASSERT_EQ(catalogue.PackFanType(), 0);
    ASSERT_TRUE(catalogue.WriteFanType());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"вм-6.fan"});
    EXPECT_EQ(catalogue.TypeIndex, 1);
    EXPECT_EQ(catalogue.LastCurve, 1);

    prompt.Answer(idNo);
    EXPECT_FALSE(catalogue.DeleteFanType());
    EXPECT_EQ(prompt.Asked.back().Text, QStringLiteral("Удалить Вентилятор вм-6 ?"));
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("вм-6.fan"))));
    EXPECT_EQ(prompt.Beeps, 0);

    prompt.Answer(idYes);
    EXPECT_TRUE(catalogue.DeleteFanType());
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("вм-6.fan"))));
    EXPECT_EQ(prompt.Beeps, 1);
    EXPECT_EQ(catalogue.TypeIndex, 0);
    EXPECT_EQ(catalogue.TypeName, QStringLiteral("Не определен"));

    // A folder that is not there: the write is reported naming the file.
    catalogue.Folder = dir.filePath(QStringLiteral("нет/"));
    catalogue.TypeList = {NoFanTypeEntry, QStringLiteral("ВМ-8")};
    catalogue.TypeIndex = 1;
    prompt.Asked.clear();
    EXPECT_FALSE(catalogue.WriteFanType());
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_TRUE(prompt.Asked[0].Text.contains(QStringLiteral("ВМ-8.Fan")));
}

TEST(FanNames, RefusedCharacters)
{
    for (const QChar c : QStringLiteral("!\"*./:?[]\\^`{}\t\x7F") + QChar(0x4E2D))
        EXPECT_TRUE(IsRefusedNameChar(c)) << int(c.unicode());
    for (const QChar c : QStringLiteral("-<>|№ ,АяЁё€09Az()"))
        EXPECT_FALSE(IsRefusedNameChar(c)) << int(c.unicode());
}
