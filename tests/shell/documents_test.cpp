#include "platform/exceptions.h"
#include "platform/prompt.h"
#include "shell/documents.h"

#include <gtest/gtest.h>

#include <QtCore/QSet>

#include <functional>
#include <memory>

namespace {

// A scheme file in memory: Read loads a network of the given size, Write
// records the names written or fails as told.
class TFakeStorage : public TSchemeStorage
{
public:
    TNetworkTables *Tables = nullptr;
    QString Name;
    bool HasView = false;
    TViewport Stored;
    bool WriteSucceeds = true;
    bool ReadThrows = false;
    bool ReadNothing = false;  // a failing read that found no network
    bool Pictures = false;
    QStringList Written;
    QStringList ReadFiles;
    int Resets = 0;

    void ResetDocumentState() override
    {
        ++Resets;
        Name.clear();
    }
    void Read(const QString &fileName) override
    {
        ReadFiles << fileName;
        if (!ReadNothing)
            CreateNode(*Tables, 1);
        if (ReadThrows)
            throw Exception(QStringLiteral("Файл \"%1\" поврежден").arg(fileName));
    }
    bool Write(const QString &fileName) override
    {
        if (!WriteSucceeds)
            return false;
        Written << fileName;
        return true;
    }
    QString MineName() const override { return Name; }
    bool StoredView(TViewport &view) const override
    {
        if (HasView)
            view = Stored;
        return HasView;
    }
    bool TakePictureSymbols() override { return std::exchange(Pictures, false); }
};

class TFakeWindow : public TDocumentWindow
{
public:
    QString Caption;
    bool SaveEnabled = false;
    int Cleared = 0;
    int Fits = 0;
    QString Mines = QStringLiteral("/mines");
    std::function<bool()> SaveAs;
    int SaveAsAsked = 0;

    void DocumentCleared() override { ++Cleared; }
    void CaptionChanged(const QString &caption) override { Caption = caption; }
    void ModifiedChanged(bool modified) override { SaveEnabled = modified; }
    void FitWholeScheme() override { ++Fits; }
    QString MinesFolder() const override { return Mines; }
    void SetMinesFolder(const QString &folder) override { Mines = folder; }
    bool AskSaveAs() override
    {
        ++SaveAsAsked;
        return SaveAs && SaveAs();
    }
};

class DocumentTest : public ::testing::Test
{
protected:
    DocumentTest()
    {
        Storage.Tables = Tables.get();
        Doc.SetFileName(QStringLiteral("/mines/a.mine"));
    }

    std::unique_ptr<TNetworkTables> Tables = std::make_unique<TNetworkTables>();
    TFakeStorage Storage;
    TFakeWindow Window;
    TMineDocument Doc{*Tables, Storage, Window};
    TScriptedPrompt Prompt;
};

std::function<bool(const QString &)> ExistsIn(const QStringList &files)
{
    return [set = QSet<QString>(files.begin(), files.end())](const QString &f) { return set.contains(f); };
}

} // namespace

TEST(StartDocument, ChoiceOrder)
{
    const QString demo = QStringLiteral("/mines/Демо.mine");
    struct Case
    {
        QStringList Args, Recent, Existing;
        QString Expected;
    };
    const Case cases[] = {
        {{"/x/arg.mine"}, {"/x/r.mine"}, {"/x/r.mine", demo}, "/x/arg.mine"},
        {{}, {"/x/gone.mine", "/x/r.mine"}, {"/x/r.mine", demo}, "/x/r.mine"},
        {{}, {"/x/gone.mine"}, {demo}, demo},
        {{}, {}, {}, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(ChooseStartDocument(c.Args, c.Recent, QStringLiteral("/mines"), ExistsIn(c.Existing)),
                  c.Expected)
            << c.Expected.toStdString();
}

TEST(RecentFiles, HeadWithoutDuplicatesAndAtMostTen)
{
    TRecentFiles recent;
    for (int i = 1; i <= 10; ++i)
        recent.Add(QStringLiteral("/m/%1.mine").arg(i));
    recent.Add(QStringLiteral("/m/3.mine"));
    ASSERT_EQ(recent.Items().size(), 10);
    EXPECT_EQ(recent.Items().first(), "/m/3.mine");
    EXPECT_EQ(recent.Items().count("/m/3.mine"), 1);

    recent.Add(QStringLiteral("/m/11.mine"));
    EXPECT_EQ(recent.Items().size(), 10);
    EXPECT_FALSE(recent.Items().contains("/m/1.mine")); // the oldest went
}

TEST(RecentFiles, MenuNumbersByPlaceAndShortensTheCurrentFolder)
{
    TRecentFiles recent;
    recent.SetItems({"/start/a.mine", "/gone/b.mine", "/other/c.mine"});
    const auto entries = recent.MenuEntries(QStringLiteral("/start"),
                                            ExistsIn({"/start/a.mine", "/other/c.mine"}));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Caption, "&1 a.mine");
    EXPECT_EQ(entries[0].Index, 0);
    EXPECT_EQ(entries[1].Caption, "&3 /other/c.mine");
    EXPECT_EQ(entries[1].Index, 2);
}

TEST(FileFilters, TextsAreThoseOfTheDialogs)
{
    QStringList open, save;
    for (const TFileFilter &f : OpenDialogFilters())
        open << f.Text;
    for (const TFileFilter &f : SaveDialogFilters())
        save << f.Text;
    EXPECT_EQ(open, (QStringList{"Файлы \"Zyr Вентиляция 6.xx\" (*.mine; *.min)", "Файлы \"Кладон 5.5\" (*.nf?)",
                                 "Файлы программы РЕВОД (*.dat)", "Файлы программы VENT (*.sp?)"}));
    EXPECT_EQ(OpenDialogFilters()[0].Patterns, (QStringList{"*.mine", "*.min"}));
    EXPECT_EQ(save, (QStringList{"Файл Zyr Вентиляция (*.MINE)", "Файл VENT (*.sp?)"}));
    EXPECT_EQ(SaveDialogFilters()[0].Patterns, (QStringList{"*.MINE", "*.MIN"}));
}

TEST(SaveAsNames, MineNaming)
{
    EXPECT_EQ(MineSaveAsName("/d/plan"), "/d/plan.MINE");
    EXPECT_EQ(MineSaveAsName("/d/plan.min"), "/d/plan.min");
    EXPECT_EQ(MineSaveAsName("/d/plan.Mine"), "/d/plan.Mine");
}

TEST_F(DocumentTest, CaptionAndTitle)
{
    EXPECT_EQ(Doc.FormatCaption(), "Zyr \"Ворбаль\": - [/mines/a.mine]");
    EXPECT_EQ(Doc.GetMineTitle(), "a.mine");
    Storage.Name = QStringLiteral("Шахта 1");
    EXPECT_EQ(Doc.GetMineTitle(), "Шахта 1");
}

TEST_F(DocumentTest, UnsavedChangesQuestion)
{
    EXPECT_TRUE(Doc.ConfirmSaveChanges());
    EXPECT_TRUE(Prompt.Asked.empty());

    Doc.SetModified(true);
    Prompt.Answer(idCancel);
    EXPECT_FALSE(Doc.ConfirmSaveChanges());
    EXPECT_TRUE(Doc.Modified());
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Caption, "Сохранение файла");
    EXPECT_EQ(Prompt.Asked[0].Text, "Файл \"/mines/a.mine\" не был сохранен.\nСохранить?");
    EXPECT_EQ(Prompt.Asked[0].Flags, mb::YesNoCancel | mb::IconWarning);

    Prompt.Answer(idNo);
    EXPECT_TRUE(Doc.ConfirmSaveChanges());
    EXPECT_FALSE(Doc.Modified());
    EXPECT_TRUE(Storage.Written.isEmpty());

    Doc.SetModified(true);
    Prompt.Answer(idYes);
    EXPECT_TRUE(Doc.ConfirmSaveChanges());
    EXPECT_EQ(Storage.Written, QStringList{"/mines/a.mine"});
    EXPECT_FALSE(Doc.Modified());
    EXPECT_FALSE(Window.SaveEnabled);
}

TEST_F(DocumentTest, FailedSaveKeepsTheDocumentModified)
{
    Doc.SetModified(true);
    Storage.WriteSucceeds = false;
    EXPECT_FALSE(Doc.Save());
    EXPECT_TRUE(Doc.Modified());
    EXPECT_TRUE(Window.SaveEnabled);
    // Answering Yes to the question then cancels the command.
    Prompt.Answer(idYes);
    EXPECT_FALSE(Doc.ConfirmSaveChanges());
    EXPECT_TRUE(Doc.Modified());
}

TEST_F(DocumentTest, NewDocumentInTheMinesFolder)
{
    CreateNode(*Tables, 5);
    Doc.SetModified(true);
    Prompt.Answer(idCancel);
    EXPECT_FALSE(Doc.NewDocument());
    EXPECT_TRUE(NodeExist(*Tables, 5));

    Prompt.Answer(idNo);
    EXPECT_TRUE(Doc.NewDocument());
    EXPECT_FALSE(NodeExist(*Tables, 5));
    EXPECT_EQ(Doc.FileName(), "/mines/Новая шахта.MINE");
    EXPECT_EQ(Window.Caption, "Zyr \"Ворбаль\": - [/mines/Новая шахта.MINE]");
    EXPECT_FALSE(Doc.Modified());
    EXPECT_EQ(Doc.View.ZoomStep, LastZoomStep);
}

TEST_F(DocumentTest, OpenResetsReadsAndCompletes)
{
    Tables->BranchMinSpeed[9] = 3;
    Doc.OpenFile(QStringLiteral("/x/b.mine"));
    EXPECT_EQ(Storage.ReadFiles, QStringList{"/x/b.mine"});
    EXPECT_EQ(Storage.Resets, 1);
    EXPECT_EQ(Window.Cleared, 1);
    EXPECT_EQ(Tables->BranchMinSpeed[9], SpeedTypeDefault);
    EXPECT_EQ(Doc.Recent.Items().first(), "/x/b.mine");
    EXPECT_EQ(Window.Caption, "Zyr \"Ворбаль\": - [/x/b.mine]");
    EXPECT_EQ(Window.Fits, 1);  // no stored view: the whole scheme is fitted
    EXPECT_FALSE(Doc.Modified());
}

TEST_F(DocumentTest, StoredViewIsAppliedWithinTheZoomTable)
{
    Storage.HasView = true;
    Storage.Stored.Zoom = 3.5;
    Storage.Stored.ScrollX = 10;
    Storage.Stored.ScrollY = 20;
    Storage.Stored.ZoomStep = 4;
    Doc.OpenFile(QStringLiteral("/x/b.mine"));
    EXPECT_EQ(Doc.View.Zoom, 3.5);
    EXPECT_EQ(Doc.View.ScrollX, 10);
    EXPECT_EQ(Doc.View.ZoomStep, 4);
    EXPECT_EQ(Window.Fits, 0);

    Storage.Stored.Zoom = -1;  // a damaged properties record
    Storage.Stored.ZoomStep = 200;
    Storage.Stored.ScrollY = -40;  // stored offsets go through the setters: never negative
    Doc.OpenFile(QStringLiteral("/x/b.mine"));
    EXPECT_EQ(Doc.View.ZoomStep, LastZoomStep);
    EXPECT_EQ(Doc.View.Zoom, ZoomFactors[LastZoomStep]);
    EXPECT_EQ(Doc.View.ScrollY, 0);
}

TEST_F(DocumentTest, PictureSymbolsLeftOnLoadMarkTheDocumentModified)
{
    Storage.Pictures = true;
    Doc.OpenFile(QStringLiteral("/x/b.mine"));
    EXPECT_TRUE(Doc.Modified());
}

TEST_F(DocumentTest, AFailedReadWithNothingReadDoesNotKeepTheFileName)
{
    Storage.ReadThrows = true;
    Storage.ReadNothing = true;
    EXPECT_THROW(Doc.OpenFile(QStringLiteral("/x/bad.mine")), Exception);
    EXPECT_EQ(Doc.FileName(), "/mines/Новая шахта.MINE");
    EXPECT_EQ(Window.Caption, "Zyr \"Ворбаль\": - [/mines/Новая шахта.MINE]");
    EXPECT_FALSE(Doc.Recent.Items().contains("/x/bad.mine"));
    EXPECT_FALSE(Doc.Modified());
    EXPECT_FALSE(Doc.SaveAsksForName());
}

TEST_F(DocumentTest, ASalvagedNetworkIsSavedOnlyUnderAChosenName)
{
    Storage.ReadThrows = true;
    EXPECT_THROW(Doc.OpenFile(QStringLiteral("/x/bad.mine")), Exception);
    EXPECT_TRUE(NodeExist(*Tables, 1));
    EXPECT_EQ(Doc.FileName(), "/x/bad.mine");  // the name Save As proposes
    EXPECT_TRUE(Doc.Modified());
    EXPECT_EQ(Window.Fits, 1);
    EXPECT_FALSE(Doc.Recent.Items().contains("/x/bad.mine"));

    // Save, and Yes to the question about unsaved changes, ask for a name;
    // the dialog cancelled, nothing is written and the document stays changed.
    EXPECT_FALSE(Doc.Save());
    Prompt.Answer(idYes);
    EXPECT_FALSE(Doc.ConfirmSaveChanges());
    EXPECT_EQ(Window.SaveAsAsked, 2);
    EXPECT_TRUE(Storage.Written.isEmpty());
    EXPECT_TRUE(Doc.Modified());

    // A name chosen: written there, and later saves go there without asking.
    Window.SaveAs = [this] { return Doc.SaveAs(QStringLiteral("/x/kept"), sfMine); };
    EXPECT_TRUE(Doc.Save());
    Doc.SetModified(true);
    EXPECT_TRUE(Doc.Save());
    EXPECT_EQ(Window.SaveAsAsked, 3);
    EXPECT_EQ(Storage.Written, (QStringList{"/x/kept.MINE", "/x/kept.MINE"}));
    EXPECT_FALSE(Doc.Modified());

    // A later good load asks no more.
    Storage.ReadThrows = true;
    EXPECT_THROW(Doc.OpenFile(QStringLiteral("/x/bad.mine")), Exception);
    Storage.ReadThrows = false;
    Doc.OpenFile(QStringLiteral("/x/good.mine"));
    EXPECT_FALSE(Doc.SaveAsksForName());
}

TEST_F(DocumentTest, OpenChosenFollowsTheFolderAndImportsGetANewName)
{
    Doc.OpenChosen(QStringLiteral("/y/c.mine"), ofMine);
    EXPECT_EQ(Window.Mines, "/y");
    EXPECT_EQ(Doc.FileName(), "/y/c.mine");

    // No reader of the format yet: the open document stays as it was.
    CreateNode(*Tables, 4);
    EXPECT_THROW(Doc.OpenChosen(QStringLiteral("/z/d.dat"), ofRevod), Exception);
    EXPECT_TRUE(NodeExist(*Tables, 4));
    EXPECT_EQ(Doc.FileName(), "/y/c.mine");

    QString imported;
    Doc.Import = [&](TOpenFilter, const QString &file) {
        imported = file;
        CreateNode(*Tables, 2);
    };
    Doc.OpenChosen(QStringLiteral("/z/d.dat"), ofRevod);
    EXPECT_EQ(imported, "/z/d.dat");
    EXPECT_TRUE(NodeExist(*Tables, 2));
    EXPECT_EQ(Doc.FileName(), "/z/Новая шахта.MINE");
}

TEST_F(DocumentTest, SaveAsNamesAndFolder)
{
    Doc.SetModified(true);
    EXPECT_TRUE(Doc.SaveAs(QStringLiteral("/w/plan"), sfMine));
    EXPECT_EQ(Storage.Written, QStringList{"/w/plan.MINE"});
    EXPECT_EQ(Doc.FileName(), "/w/plan.MINE");
    EXPECT_EQ(Window.Mines, "/w");
    EXPECT_FALSE(Doc.Modified());

    QString sp, bn;
    Doc.ExportVent = [&](const QString &a, const QString &b) { sp = a, bn = b; };
    Doc.SetModified(true);
    EXPECT_FALSE(Doc.SaveAs(QStringLiteral("/w/x.sp1"), sfVent));
    EXPECT_EQ(sp, "/w/x.sp1");
    EXPECT_EQ(bn, "/w/x.bn1");
    EXPECT_EQ(Doc.FileName(), "/w/plan.MINE");  // an export keeps the document's name
    EXPECT_TRUE(Doc.Modified());
}

// The pair is named so that opening the branch file finds its names.
TEST(SaveAsNames, TheVentPairKeepsTheChosenExtension)
{
    const std::pair<const char *, std::pair<const char *, const char *>> cases[] = {
        {"/w/x", {"/w/x.sp", "/w/x.bn"}},
        {"/w/x.sp", {"/w/x.sp", "/w/x.bn"}},
        {"/w/mine.SP2", {"/w/mine.SP2", "/w/mine.BN2"}},
        {"/w/mine.Sp2", {"/w/mine.Sp2", "/w/mine.Bn2"}},
        {"/w.sp1/plan", {"/w.sp1/plan.sp", "/w.sp1/plan.bn"}},
        {"/w/x.spool", {"/w/x.spool.sp", "/w/x.spool.bn"}},
    };
    for (const auto &[chosen, pair] : cases) {
        EXPECT_EQ(VentSaveAsName(QString::fromUtf8(chosen)), QString::fromUtf8(pair.first)) << chosen;
        EXPECT_EQ(VentNamesFileName(QString::fromUtf8(chosen)), QString::fromUtf8(pair.second)) << chosen;
    }
}

TEST_F(DocumentTest, AFailedImportLeavesWhatWasReadToBeSalvaged)
{
    Doc.OpenChosen(QStringLiteral("/y/c.mine"), ofMine);
    Doc.Import = [&](TOpenFilter, const QString &file) {
        CreateNode(*Tables, 3);
        throw Exception(QStringLiteral("Ошибка чтения файла \"%1\", строка 2").arg(file));
    };
    EXPECT_THROW(Doc.OpenChosen(QStringLiteral("/z/d.sp1"), ofVent), Exception);
    EXPECT_TRUE(NodeExist(*Tables, 3));
    EXPECT_EQ(Doc.FileName(), "/z/Новая шахта.MINE");
    EXPECT_TRUE(Doc.Modified());
    EXPECT_TRUE(Doc.SaveAsksForName());

    // Nothing read: a new document, unmodified.
    Doc.Import = [](TOpenFilter, const QString &) { throw Exception(QStringLiteral("нет")); };
    Doc.SetModified(false);
    EXPECT_THROW(Doc.OpenChosen(QStringLiteral("/z/e.sp1"), ofVent), Exception);
    EXPECT_EQ(NodeCount(*Tables), 0);
    EXPECT_FALSE(Doc.Modified());
}

TEST_F(DocumentTest, StartDocumentFallsBackToANewScheme)
{
    Doc.OpenStartDocument({}, ExistsIn({}));
    EXPECT_EQ(Doc.FileName(), "/mines/Новая шахта.MINE");
    EXPECT_TRUE(Storage.ReadFiles.isEmpty());
    EXPECT_FALSE(Doc.Modified());

    Doc.Recent.SetItems({"/gone.mine", "/r.mine"});
    Doc.OpenStartDocument({}, ExistsIn({"/r.mine"}));
    EXPECT_EQ(Storage.ReadFiles, QStringList{"/r.mine"});
}
