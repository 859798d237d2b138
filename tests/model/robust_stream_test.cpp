#include "file_bytes.h"
#include "model/robust_stream.h"
#include "tiny_disk.h"

#include <QtCore/QTemporaryDir>

#include <gtest/gtest.h>

TEST(RobustFileStream, StringsAreLengthPrefixed1251)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.bin"));
    {
        TRobustFileStream s(path, TRobustFileStream::fmCreate);
        s.WriteString(QStringLiteral("Лав"));
        s.WriteString(QString());
        s.WriteValue<std::int16_t>(-2);
        s.Write(nullptr, 0); // zero bytes: no error
        s.Commit();
    }
    EXPECT_EQ(ReadAll(path), QByteArray("\x03\x00\x00\x00\xCB\xE0\xE2\x00\x00\x00\x00\xFE\xFF", 13));

    TRobustFileStream s(path, TRobustFileStream::fmOpenRead);
    EXPECT_EQ(s.ReadString(), QStringLiteral("Лав"));
    EXPECT_EQ(s.ReadString(), QString());
    EXPECT_EQ(s.Position(), 11);
    EXPECT_EQ(s.ReadValue<std::int16_t>(), -2);
    EXPECT_EQ(s.Read(nullptr, 0), 0);
}

TEST(RobustFileStream, ShortReadsAndDamagedCountsAreUnexpectedEOF)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("d.bin"));
    WriteFile(path, QByteArray(6, 'x'));
    {
        TRobustFileStream s(path, TRobustFileStream::fmOpenRead);
        char header[10];
        try {
            s.Read(header, sizeof header);
            FAIL() << "no exception";
        } catch (const EUnexpectedEOF &e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Неожиданный конец файла. Возможно файл поврежден"));
        }
    }
    // Counts that do not fit the bytes left fail before any allocation.
    for (const QByteArray &bytes : {QByteArray("\xFF\xFF\xFF\x7F", 4), QByteArray("\xFF\xFF\xFF\xFF", 4),
                                    QByteArray("\x05\x00\x00\x00" "abc", 7)}) {
        WriteFile(path, bytes);
        TRobustFileStream s(path, TRobustFileStream::fmOpenRead);
        EXPECT_THROW(s.ReadString(), EUnexpectedEOF);
    }
}

TEST(RobustFileStream, OpenErrorsNameTheFile)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("нет.mine"));
    try {
        TRobustFileStream s(missing, TRobustFileStream::fmOpenRead);
        FAIL() << "no exception";
    } catch (const EFOpenError &e) {
        EXPECT_TRUE(e.Message().contains(missing));
    }
    EXPECT_THROW(TRobustFileStream(dir.filePath(QStringLiteral("no/such/folder/x")), TRobustFileStream::fmCreate),
                 EFCreateError);
}

TEST(RobustFileStream, AnUncommittedWriteLeavesThePreviousFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("keep.bin"));
    WriteFile(path, "old");
    {
        TRobustFileStream s(path, TRobustFileStream::fmCreate);
        s.WriteString(QStringLiteral("new"));
    }
    EXPECT_EQ(ReadAll(path), QByteArray("old"));
}

TEST(RobustFileStream, AFullDiskIsOutOfDiskSpaceAndKeepsThePreviousFile)
{
    TinyDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << "cannot mount a small file system here";
    const QString path = disk.Path(QStringLiteral("full.bin"));
    WriteFile(path, "old");
    const QByteArray big(64 * 1024, 'x');
    try {
        TRobustFileStream s(path, TRobustFileStream::fmCreate);
        s.WriteBytes(big);
        s.Commit();
        FAIL() << "no exception";
    } catch (const EOutOfDiskSpace &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Похоже, что на диске нет свободного места"));
    }
    EXPECT_EQ(ReadAll(path), QByteArray("old"));
}
