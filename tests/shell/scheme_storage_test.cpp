// The document's scheme file as Open and New use it: the reset before a
// read and the picture symbols taken away after it.
#include "shell/scheme_storage.h"

#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtCore/QtEndian>

#include <gtest/gtest.h>

TEST(SchemeFileStorage, PictureSymbolsAreTakenOnceAndTheResetUnlinksTelephones)
{
    QTemporaryDir dir;
    auto t = std::make_unique<TNetworkTables>();
    ClearAllItems(*t);
    TSchemeFileStorage storage(*t);
    CreateNode(*t, 1);
    CreateNode(*t, 2);
    CreateBranch(*t, 1);
    t->BranchStartNode[1] = 1;
    t->BranchEndNode[1] = 2;
    InsertBranchEdgeTurns(*t, 1);
    t->BranchPhone[1] = storage.Doc.PhoneList.Add(TTelephone(1, QStringLiteral("5"), 2));
    const QString plain = dir.filePath(QStringLiteral("plain.mine"));
    ASSERT_TRUE(storage.Write(plain));

    // One tag-42 record of one placement appended to the file.
    QByteArray record(10 + 4 + 1 + 12, '\0');
    qToLittleEndian<std::int16_t>(tagPictureSymbols, record.data());
    qToLittleEndian<std::int32_t>(17, record.data() + 2);
    qToLittleEndian<std::int32_t>(1, record.data() + 6);
    qToLittleEndian<std::int32_t>(1, record.data() + 10);
    record[14] = 'p';
    QFile::copy(plain, dir.filePath(QStringLiteral("pictures.mine")));
    QFile file(dir.filePath(QStringLiteral("pictures.mine")));
    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write(record);
    file.close();

    storage.ResetDocumentState();
    EXPECT_EQ(t->BranchPhone[1], nullptr);
    storage.Read(file.fileName());
    ASSERT_EQ(storage.Doc.PhoneList.Count(), 1);
    EXPECT_EQ(t->BranchPhone[1], &storage.Doc.PhoneList[0]);
    EXPECT_TRUE(storage.TakePictureSymbols());
    EXPECT_FALSE(storage.TakePictureSymbols());

    storage.ResetDocumentState();
    ClearAllItems(*t);
    storage.Read(plain);
    EXPECT_FALSE(storage.TakePictureSymbols());
}
