// The "*.WVJ" file: reading, writing, saving by name and opening a folder.
#include "file_bytes.h"
#include "journal/journal_file.h"
#include "journal_fixture.h"
#include "model/robust_stream.h"
#include "tiny_disk.h"

#include <QtCore/QDir>
#include <QtCore/QTemporaryDir>
#include <QtCore/QtEndian>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QByteArray Saved(TKerstal &j, const QString &path)
{
    SaveJournal(j, path);
    return ReadAll(path);
}

QString LoadError(const QString &folder, const QString &name)
{
    TKerstal j(name);
    try {
        LoadJournal(j, folder);
    } catch (const Exception &e) {
        return e.Message();
    }
    return QString();
}

// The header, the journal's texts (empty), VGPCount, both dates and then a count.
QByteArray EmptyJournalWithCount(std::int32_t count)
{
    QByteArray bytes("xqWVJ\x01\x00\x09\x00", 9);
    bytes += QByteArray(4 + 4 + 2 + 8 + 8, '\0');
    char le[4];
    qToLittleEndian(count, le);
    return bytes + QByteArray(le, 4);
}

} // namespace

TEST(JournalFile, WritesAndReadsBackByteForByte)
{
    QTemporaryDir dir;
    auto j = CyrillicJournal();
    j->Modified = true;
    const QByteArray bytes = Saved(*j, dir.filePath(QStringLiteral("Журнал.WVJ")));
    EXPECT_FALSE(j->Modified);
    EXPECT_EQ(bytes.left(9), QByteArray("\x78\x71\x57\x56\x4A\x01\x00\x09\x00", 9));
    // Texts are 1251: "Шахта" follows the length of the mine name.
    EXPECT_EQ(bytes.mid(13, 5), QByteArray("\xD8\xE0\xF5\xF2\xE0"));

    TKerstal read(QStringLiteral("Журнал.WVJ"));
    read.Modified = true;
    LoadJournal(read, dir.path());
    EXPECT_FALSE(read.Modified);
    EXPECT_EQ(read.MineName, j->MineName);
    EXPECT_EQ(read.VJBegins, j->VJBegins);
    ASSERT_EQ(read.Count(), 2);
    EXPECT_EQ(read.Items(1)->Count(), 0);
    EXPECT_EQ(read.Items(1)->OwnerJournal, &read);
    const TRubricRecord &rec = *read.Items(0)->Items(0);
    EXPECT_EQ(rec.Rubric, read.Items(0));
    EXPECT_EQ(rec.InBranch.Name, QStringLiteral("Штрек"));
    EXPECT_EQ(rec.OutBranch.Number, -7);
    EXPECT_EQ(rec.OutBranch.CO2, QString());
    EXPECT_EQ(rec.OutBranch.O2, QStringLiteral("20,1"));
    EXPECT_EQ(Saved(read, dir.filePath(QStringLiteral("again.WVJ"))), bytes);

    TKerstal empty(QStringLiteral("e.WVJ"));
    const QByteArray emptyBytes = Saved(empty, dir.filePath(QStringLiteral("e.WVJ")));
    EXPECT_EQ(emptyBytes.size(), 9 + 4 + 4 + 2 + 8 + 8 + 4);
    LoadJournal(empty, dir.path());
    EXPECT_EQ(Saved(empty, dir.filePath(QStringLiteral("e.WVJ"))), emptyBytes);
}

TEST(JournalFile, OlderVersionAndAnyHeaderLengthAreRead)
{
    QTemporaryDir dir;
    auto j = CyrillicJournal();
    const QByteArray bytes = Saved(*j, dir.filePath(QStringLiteral("a.WVJ")));
    for (const QByteArray &tail : {QByteArray("\x00\x00\x09\x00", 4), QByteArray("\x01\x00\x00\x00", 4),
                                   QByteArray("\x01\x00\xFF\xFF", 4)}) {
        WriteFile(dir.filePath(QStringLiteral("b.WVJ")), bytes.left(5) + tail + bytes.mid(9));
        TKerstal read(QStringLiteral("b.WVJ"));
        LoadJournal(read, dir.path());
        EXPECT_EQ(read.TotalRecords(), 1);
        EXPECT_EQ(read.Items(0)->Items(0)->OutBranch.Sec, 9.25);
    }
}

TEST(JournalFile, DamagedFilesFailNamingTheFileAndLeaveTheJournal)
{
    QTemporaryDir dir;
    auto j = CyrillicJournal();
    const QByteArray good = Saved(*j, dir.filePath(QStringLiteral("good.WVJ")));
    const QString eof = QStringLiteral("Неожиданный конец файла. Возможно файл поврежден\r\"x.WVJ\"");
    struct Case { const char *what; QByteArray bytes; QString message; };
    const Case cases[] = {
        {"wrong magic", "xqWVK" + good.mid(5),
         QStringLiteral("Похоже, что файл \"x.WVJ\" не является корректным файлом венжурнала")},
        {"newer version", good.left(5) + QByteArray("\x02\x00\x09\x00", 4) + good.mid(9),
         QStringLiteral("Невозможно прочитать файл вентжурнала.\rФайл \"x.WVJ\" был сохранен в новом, неизвестном "
                        "формате.\r(Формат файла имеет более позднюю версию).\rОбратитесь к разработчикам за "
                        "новой версией вентжурнала.")},
        {"short header", good.left(7), eof},
        {"cut in a record", good.left(good.size() - 30), eof},
        {"huge string", good.left(9) + QByteArray("\xFF\xFF\xFF\x7F", 4) + good.mid(13), eof},
        {"huge rubric count", EmptyJournalWithCount(0x7FFFFFFF), eof},
        {"huge record count", EmptyJournalWithCount(1) + QByteArray(9, '\0') + QByteArray("\xFF\xFF\xFF\x7F", 4), eof},
    };
    for (const Case &c : cases) {
        WriteFile(dir.filePath(QStringLiteral("x.WVJ")), c.bytes);
        TKerstal keep(QStringLiteral("x.WVJ"));
        keep.MineName = QStringLiteral("до чтения");
        keep.Modified = true;
        try {
            LoadJournal(keep, dir.path());
            ADD_FAILURE() << c.what << ": read";
        } catch (const Exception &e) {
            EXPECT_EQ(e.Message(), c.message) << c.what;
        }
        EXPECT_EQ(keep.MineName, QStringLiteral("до чтения")) << c.what;
        EXPECT_EQ(keep.Count(), 0) << c.what;
        EXPECT_TRUE(keep.Modified) << c.what;
    }
    // Negative counts mean none.
    WriteFile(dir.filePath(QStringLiteral("x.WVJ")), EmptyJournalWithCount(-5));
    TKerstal negative(QStringLiteral("x.WVJ"));
    LoadJournal(negative, dir.path());
    EXPECT_EQ(negative.Count(), 0);
    EXPECT_THROW(LoadJournal(negative, dir.filePath(QStringLiteral("нет"))), EFOpenError);
}

TEST(JournalFile, SaveIfModifiedKeepsTheOpenedNameAndAddsTheExtensionToNewOnes)
{
    QTemporaryDir dir;
    TKerstal fresh(QStringLiteral("abc"));
    SaveIfModified(fresh, dir.path());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("abc.WVJ")))) << "an unchanged new journal";
    fresh.Modified = true;
    SaveIfModified(fresh, dir.path());
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("abc.WVJ"))));
    EXPECT_EQ(fresh.FileName, QStringLiteral("abc"));
    EXPECT_FALSE(fresh.Modified);

    for (const QString &name : {QStringLiteral("x.wvj"), QStringLiteral("y.Wvj")}) {
        SaveJournal(*CyrillicJournal(), dir.filePath(name));
        TKerstal opened(name);
        LoadJournal(opened, dir.path());
        opened.MineName = QStringLiteral("изменено");
        opened.Modified = true;
        SaveIfModified(opened, dir.path());
        TKerstal again(name);
        LoadJournal(again, dir.path());
        EXPECT_EQ(again.MineName, QStringLiteral("изменено"));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("abc.WVJ"), QStringLiteral("x.wvj"), QStringLiteral("y.Wvj")}));
}

TEST(JournalFile, AFailedSaveKeepsThePreviousFile)
{
    TinyDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << "no tmpfs";
    const QString path = disk.Path(QStringLiteral("j.WVJ"));
    auto small = CyrillicJournal();
    const QByteArray before = Saved(*small, path);
    TKerstal big(QStringLiteral("j"));
    TRubric &r = AddRubric(big, QStringLiteral("много"), rtOrdinary);
    for (int i = 0; i < 400; ++i)
        r.Add(std::make_unique<TRubricRecord>(&r))->InBranch.Name = QString(40, u'ж');
    big.Modified = true;
    EXPECT_THROW(SaveJournal(big, path), EOutOfDiskSpace);
    EXPECT_TRUE(big.Modified);
    EXPECT_EQ(ReadAll(path), before);
}

TEST(JournalFile, OpenAllJournalsStopsAtTheFirstBadFile)
{
    QTemporaryDir dir;
    auto j = CyrillicJournal();
    for (const QString &name : {QStringLiteral("b.WVJ"), QStringLiteral("a.wvj"), QStringLiteral(".скрытый.WVJ"),
                                QStringLiteral("d.Wvj"), QStringLiteral("f.WVJ")})
        SaveJournal(*j, dir.filePath(name));
    WriteFile(dir.filePath(QStringLiteral("c.txt")), "text");
    QDir(dir.path()).mkdir(QStringLiteral("c.WVJ"));
    // Reading a pipe would wait for a writer that never comes.
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("c2.WVJ"))).constData(), 0600), 0);
    WriteFile(dir.filePath(QStringLiteral("e.WVJ")), "not a journal");

    const TOpenedJournals opened = OpenAllJournals(dir.path());
    QStringList names;
    for (const auto &journal : opened.Journals) {
        names << journal->FileName;
        EXPECT_EQ(journal->TotalRecords(), 1);
    }
    EXPECT_EQ(names, (QStringList{QStringLiteral(".скрытый.WVJ"), QStringLiteral("a.wvj"), QStringLiteral("b.WVJ"),
                                  QStringLiteral("d.Wvj")}));
    EXPECT_EQ(opened.Error, LoadError(dir.path(), QStringLiteral("e.WVJ")));
    EXPECT_TRUE(opened.Error.contains(QStringLiteral("\"e.WVJ\"")));

    QDir(dir.path()).remove(QStringLiteral("e.WVJ"));
    const TOpenedJournals all = OpenAllJournals(dir.path());
    EXPECT_EQ(all.Journals.size(), 5u);
    EXPECT_EQ(all.Error, QString());
}
