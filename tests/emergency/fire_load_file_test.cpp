#include "emergency/fire_load.h"
#include "file_bytes.h"
#include "platform/exceptions.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString Folder(const QTemporaryDir &dir) { return dir.path() + u'/'; }

} // namespace

TEST(FireLoadFile, MissingFileGivesTheDefaults)
{
    QTemporaryDir dir;
    TFireLoadRec rec;
    rec.Variant = 3;
    LoadFireLoad(Folder(dir), rec);
    EXPECT_EQ(rec.Variant, flBeltAndLagging);
    EXPECT_EQ(rec.BeltType, 0);
    EXPECT_EQ(BeltWidths[rec.WidthIndex], 1300);
    EXPECT_EQ(rec.FrameSpacing, 1);
    EXPECT_EQ(rec.Ladders, 1);
    EXPECT_EQ(rec.Coal, 1);
    EXPECT_EQ(rec.Cables, 0);
    EXPECT_EQ(rec.Bars, 0);
    EXPECT_EQ(rec.CableCounts, (std::array<std::int32_t, 5>{5, 2, 0, 1, 3}));
}

TEST(FireLoadFile, RecordLayoutAndRoundTrip)
{
    QTemporaryDir dir;
    TFireLoadRec rec;
    SetFireLoadDefaults(rec);
    rec.Variant = flSupport;
    rec.Cables = 1;
    rec.CableCounts = {1, 2, 3, 4, 5};
    rec.BurnTime = 0x01020304;
    rec.FrontSpeed = -2.5;
    SaveFireLoad(Folder(dir), rec);

    const QByteArray bytes = ReadAll(dir.filePath(FireLoadFileName));
    ASSERT_EQ(bytes.size(), FireLoadRecSize);
    EXPECT_EQ(bytes.mid(0, 4), QByteArray("\x03\0\0\0", 4));
    EXPECT_EQ(bytes.mid(16, 4), QByteArray("\x01\x01\x00\x01", 4)); // cables, ladders, bars, coal
    EXPECT_EQ(bytes.mid(36, 4), QByteArray("\x05\0\0\0", 4));
    EXPECT_EQ(bytes.mid(40, 8), QByteArray("\x04\x03\x02\x01\0\0\0\0", 8)); // burn time, padding
    EXPECT_EQ(bytes.mid(56, 8), QByteArray("\0\0\0\0\0\0\x04\xC0", 8));     // -2.5

    TFireLoadRec back;
    LoadFireLoad(Folder(dir), back);
    EXPECT_EQ(back, rec);
}

TEST(FireLoadFile, ShippedFileHoldsTheDefaults)
{
    TFireLoadRec shipped, defaults;
    LoadFireLoad(QStringLiteral(TUNVEX_SOURCE_DIR "/data/Вентиляторы/"), shipped);
    SetFireLoadDefaults(defaults);
    EXPECT_EQ(shipped, defaults);
    EXPECT_EQ(QFile(QStringLiteral(TUNVEX_SOURCE_DIR "/data/Вентиляторы/FireLoad.dat")).size(), FireLoadRecSize);
}

TEST(FireLoadFile, ShortOrUnreadableFileIsReportedWithItsName)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(FireLoadFileName);
    TFireLoadRec rec;
    SetFireLoadDefaults(rec);
    rec.Variant = flLagging;
    const TFireLoadRec before = rec;

    WriteFile(name, QByteArray(71, '\0'));
    try {
        LoadFireLoad(Folder(dir), rec);
        FAIL() << "a short file was taken";
    } catch (const Exception &e) {
        EXPECT_TRUE(e.Message().contains(QDir::toNativeSeparators(name))) << e.what();
    }
    EXPECT_EQ(rec, before);

    QFile::remove(name);
    QDir(dir.path()).mkdir(FireLoadFileName); // a folder where the file should be
    EXPECT_THROW(LoadFireLoad(Folder(dir), rec), Exception);
    EXPECT_EQ(rec, before);
}

TEST(FireLoadFile, FailedWriteIsReported)
{
    QTemporaryDir dir;
    TFireLoadRec rec;
    SetFireLoadDefaults(rec);
    const QString missing = dir.filePath(QStringLiteral("нет/"));
    try {
        SaveFireLoad(missing, rec);
        FAIL() << "the write into a missing folder succeeded";
    } catch (const Exception &e) {
        EXPECT_TRUE(e.Message().contains(FireLoadFileName)) << e.what();
    }
}
