#include "shell/file_search.h"

#include "file_bytes.h"

#include <gtest/gtest.h>

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QSet>
#include <QtCore/QTemporaryDir>

namespace {

TEST(FileMask, WildcardsIgnoreCase)
{
    struct Case { const char *mask, *name; bool matches; };
    const Case cases[] = {
        {"*.MINE", "a.MINE", true},  {"*.MINE", "b.mine", true},   {"*.MINE", "c.mine.bak", false},
        {"*.*", "README", true},     {"?.frf", "A.FRF", true},     {"?.frf", "ab.frf", false},
        {"plan*", "Plan 2.mine", true},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TFileMask(QString::fromUtf8(c.mask)).Matches(QString::fromUtf8(c.name)), c.matches)
            << c.mask << " " << c.name;
}

TEST(DriveTypes, ByFileSystemKind)
{
    EXPECT_EQ(DriveTypeName(DriveTypeOfFileSystem("ext4")), QStringLiteral("Жесткий диск"));
    EXPECT_EQ(DriveTypeName(DriveTypeOfFileSystem("nfs4")), QStringLiteral("Сетевой диск"));
    EXPECT_EQ(DriveTypeName(DriveTypeOfFileSystem("iso9660")), QStringLiteral("CD ROM диск"));
    EXPECT_EQ(DriveTypeName(DriveTypeOfFileSystem("tmpfs")), QStringLiteral("RAM Disk"));
    EXPECT_EQ(DriveTypeName(DriveTypeOfFileSystem("vfat")), QStringLiteral("Съёмный диск"));
    EXPECT_EQ(DriveTypeName(DriveTypeOfFileSystem("whatever")), QStringLiteral("Тип неизвестен"));
    EXPECT_EQ(DriveTypeName(dtNoRoot), QStringLiteral("Отсутствует корневой каталог"));
}

class FileSearchTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(Root.isValid()); }
    void Touch(const QString &relative)
    {
        QDir(Root.path()).mkpath(QFileInfo(relative).path());
        WriteFile(Root.filePath(relative), "x");
    }
    QSet<QString> Run(const QString &mask)
    {
        QSet<QString> found;
        Search.Found = [&](const QString &name, const QString &folder) { found << QDir(folder).filePath(name); };
        Search.Reset();
        Search.Running = true;
        Search.SearchDrive(Root.path(), mask);
        Search.Running = false;
        return found;
    }

    QTemporaryDir Root;
    TFileSearch Search;
};

TEST_F(FileSearchTest, WalksTheTreePassingOverWhatItCannotEnter)
{
    Touch("a.MINE");
    Touch("sub/b.mine");
    Touch("sub/deeper/c.txt");
    Touch("locked/d.mine");
    Touch(".hidden/e.mine");
    Touch("z/f.mine");
    QFile::setPermissions(Root.filePath("locked"), QFileDevice::Permissions());
    // A link back to the root would walk for ever if it were followed.
    ASSERT_TRUE(QFile::link(Root.path(), Root.filePath("sub/loop")));
    const QString before = QDir::currentPath();

    const QSet<QString> found = Run(QStringLiteral("*.MINE"));
    QFile::setPermissions(Root.filePath("locked"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // The folder after the unreadable one is still searched (a root user
    // reads the locked one too).
    EXPECT_TRUE(found.contains(Root.filePath("a.MINE")));
    EXPECT_TRUE(found.contains(Root.filePath("sub/b.mine")));
    EXPECT_TRUE(found.contains(Root.filePath("z/f.mine")));
    EXPECT_FALSE(found.contains(Root.filePath(".hidden/e.mine")));
    for (const QString &file : found)
        EXPECT_FALSE(file.contains(QStringLiteral("/loop/"))) << file.toStdString();
    EXPECT_EQ(QDir::currentPath(), before);
    EXPECT_FALSE(Search.LimitExceeded());

    EXPECT_TRUE(Run(QStringLiteral("*.frf")).isEmpty());
    EXPECT_EQ(Search.FoundCount, 0);
}

TEST_F(FileSearchTest, StopsAfterMoreThanTheLimit)
{
    for (int i = 0; i < 1005; ++i)
        Touch(QStringLiteral("f%1.mine").arg(i));
    Touch("zz/late.mine");
    const QSet<QString> found = Run(QStringLiteral("*.mine"));
    EXPECT_TRUE(Search.LimitExceeded());
    EXPECT_EQ(found.size(), TFileSearch::FileLimit + 1);
    EXPECT_FALSE(found.contains(Root.filePath("zz/late.mine")));
}

TEST_F(FileSearchTest, ClearingRunningStopsTheWalk)
{
    Touch("a/1.mine");
    Touch("b/2.mine");
    // "Стоп" clicked while the first match was pumped.
    Search.Pump = [this] { Search.Running = false; };
    EXPECT_EQ(Run(QStringLiteral("*.mine")), QSet<QString>{Root.filePath("a/1.mine")});
}

} // namespace
