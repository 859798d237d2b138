#include "platform/prompt.h"
#include "shell/main_commands.h"

#include <gtest/gtest.h>

#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>

#include <memory>

namespace {

std::unique_ptr<TNetworkTables> NewTables() { return std::make_unique<TNetworkTables>(); }

void Link(TNetworkTables &t, int b, int from, int to)
{
    CreateNode(t, from);
    CreateNode(t, to);
    CreateBranch(t, b);
    t.BranchStartNode[b] = static_cast<std::int16_t>(from);
    t.BranchEndNode[b] = static_cast<std::int16_t>(to);
}

void Select(TNetworkTables &t, int b) { t.BranchFlags[b] |= bfSelected; }

} // namespace

TEST(LabelToggles, SetAndClearABitInEveryExistingBranch)
{
    auto t = NewTables();
    Link(*t, 1, 1, 2);
    Link(*t, 2, 2, 3);
    t->BranchLabelFlags[2] = lfQ | lfName;  // chosen for this branch alone
    CreateBranch(*t, 3);                    // end nodes missing: not an existing branch
    t->BranchStartNode[3] = 40;

    SetBranchLabelBits(*t, lfQ, true);
    EXPECT_EQ(t->BranchLabelFlags[1], lfQ);
    EXPECT_EQ(t->BranchLabelFlags[2], lfQ | lfName);
    EXPECT_EQ(t->BranchLabelFlags[3], 0);
    EXPECT_TRUE(AnyBranchHasLabelBits(*t, lfQ));

    SetBranchLabelBits(*t, lfQ, false);
    EXPECT_EQ(t->BranchLabelFlags[1], 0);
    EXPECT_EQ(t->BranchLabelFlags[2], lfName);
    EXPECT_FALSE(AnyBranchHasLabelBits(*t, lfQ));

    SetBranchLabelBits(*t, lfPLAPosition, true);  // the sign bit of the 16-bit word
    EXPECT_TRUE(AnyBranchHasLabelBits(*t, lfPLAPosition));
    EXPECT_FALSE(AnyBranchHasLabelBits(*t, lfPLAPosition | lfArrow));
}

TEST(PathLength, MessageWithAndWithoutSelection)
{
    auto t = NewTables();
    Link(*t, 1, 1, 2);
    Link(*t, 2, 2, 3);
    Link(*t, 3, 3, 4);
    t->BranchLength[1] = 10;
    t->BranchLength[2] = 25;
    t->BranchLength[3] = 1000;

    TMessage none = PathLengthMessage(*t);
    EXPECT_EQ(none.Caption, "Не выбрано ни одной ветви");
    EXPECT_EQ(none.Flags, mb::Ok | mb::IconWarning);
    EXPECT_TRUE(none.Text.contains("интересующие вас  ветви и после"));

    Select(*t, 1);
    Select(*t, 2);
    EXPECT_EQ(SelectedBranchesLength(*t), 35);
    const TMessage some = PathLengthMessage(*t);
    EXPECT_EQ(some.Caption, "Длина пути");
    EXPECT_EQ(some.Text, "Сумма длин 2 выбранных ветвей 35 м.");
    EXPECT_EQ(some.Flags, mb::Ok | mb::IconInformation);
}

TEST(QHRBaseline, EachSnapshotReplacesTheLast)
{
    auto t = NewTables();
    Link(*t, 1, 1, 2);
    t->BranchR[1] = 0.5;
    t->BranchQ[1] = 2;
    t->BranchAuxDepression[1] = -10;
    TakeQHRBaseline(*t);
    EXPECT_EQ(t->BranchQBaseline[1], 2);
    EXPECT_EQ(t->BranchRBaseline[1], 0.5);
    EXPECT_EQ(t->BranchHBaseline[1], 8);  // | |-10| - 0.5 × 2² |

    t->BranchQ[1] = 4;
    TakeQHRBaseline(*t);
    EXPECT_EQ(t->BranchQBaseline[1], 4);
    EXPECT_EQ(t->BranchHBaseline[1], 2);
}

TEST(Colouring, StandardPLAAndLayerColours)
{
    auto t = NewTables();
    Link(*t, 1, 1, 2);
    Link(*t, 2, 2, 3);
    Link(*t, 3, 3, 4);
    Select(*t, 1);
    t->BranchLayer[2] = 1;
    t->BranchLayer[3] = 7;  // past the list: layer 0
    t->BranchPLAColor[4999] = 0x123456;

    auto colors = std::make_unique<TBranchColors>();
    SetStandardColors(*t, *colors, 0xFF0000);
    EXPECT_EQ((*colors)[1], SelectionColor);
    EXPECT_EQ((*colors)[2], 0xFF0000);

    FillLayerColors(*t, {0x111111, 0x222222}, *colors);
    EXPECT_EQ((*colors)[1], SelectionColor);
    EXPECT_EQ((*colors)[2], 0x222222);
    EXPECT_EQ((*colors)[3], 0x111111);

    FillPLAColors(*t, *colors);  // every place, existing branch or not
    EXPECT_EQ((*colors)[4999], 0x123456);
    EXPECT_EQ((*colors)[1], 0);
}

TEST(Colouring, ReversalZoneCountsExistingBranchesOnly)
{
    auto t = NewTables();
    EXPECT_EQ(ReversalZoneCount(*t), 0);
    Link(*t, 1, 1, 2);
    t->BranchFlags[1] |= bfReversalZone;
    CreateBranch(*t, 2);
    t->BranchStartNode[2] = 30;
    t->BranchFlags[2] |= bfReversalZone;
    EXPECT_EQ(ReversalZoneCount(*t), 1);
}

TEST(PLADocuments, PositionInThreeDigitsInTheMineFolder)
{
    EXPECT_EQ(PLADocumentMask(7), "007*.*");
    EXPECT_EQ(PLADocumentMask(0), "000*.*");
    EXPECT_EQ(PLADocumentMask(123), "123*.*");

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir(dir.path()).mkpath("Шахта"));
    for (const char *name : {"007 план.doc", "007.txt", "0071.rtf", "017.doc", "x007.doc"}) {
        QFile f(dir.filePath(QStringLiteral("Шахта/") + QString::fromUtf8(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(FindPLADocuments(dir.path(), "Шахта", 7),
              (QStringList{"007 план.doc", "007.txt", "0071.rtf"}));
    EXPECT_TRUE(FindPLADocuments(dir.path(), "Другая", 7).isEmpty());

    const TMessage m = NoPLADocumentsMessage("/pla", 7);
    EXPECT_EQ(m.Caption, "Не найдено файлов ПЛА");
    EXPECT_EQ(m.Text, "В папке \"/pla\", указанной как папка с файлами текста ПЛА (см."
                      "меню \"Настройки/Расположение/Папки/ПЛА\") не найдено ни одного файла для позиции 7.\n\n"
                      "Возможные причины этого:\r\r"
                      "1. Неверно указан путь к папке с файлами ПЛА.\n"
                      "(см. меню \"Настройки/Расположение.../Папки/ПЛА\")\n\n"
                      "2. Название файла для этой позиции не соответствует заданному шаблону.\n"
                      "(см. меню \"Настройки/Поддержка ПЛА...\")\n\n"
                      "3. Для позиции 7 не создано ни одного файла.\n"
                      "(создайте файл с соответствующим названием)");
}
