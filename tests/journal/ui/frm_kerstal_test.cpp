// The journal window, driven as the user drives it: commands on the tree and
// the list, their questions and messages, and what they leave on disk.
#include "journal/ui/frm_find.h"
#include "journal/ui/frm_kerstal.h"
#include "journal/ui/journal_icons.h"
#include "kerstal_fixture.h"
#include "platform/codepage.h"

#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtGui/QAction>
#include <QtTest/QTest>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPlainTextEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QTreeWidget>

namespace {

class FrmKerstalTest : public KerstalTest
{
protected:
    std::unique_ptr<TfrmKerstal> Window()
    {
        auto w = std::make_unique<TfrmKerstal>(ProgramNetwork());
        w->FindDelay = 0;
        return w;
    }

    static void Select(TfrmKerstal &w, int journal, int rubric = -1)
    {
        QTreeWidgetItem *node = w.JournalNode(journal);
        w.tvKerstal->setCurrentItem(rubric < 0 ? node : node->child(rubric));
    }

    static QStringList TreeTexts(const TfrmKerstal &w)
    {
        QStringList texts;
        for (int i = 0; i < w.tvKerstal->topLevelItemCount(); ++i) {
            QTreeWidgetItem *node = w.tvKerstal->topLevelItem(i);
            texts << node->text(0);
            for (int j = 0; j < node->childCount(); ++j)
                texts << u' ' + node->child(j)->text(0);
        }
        return texts;
    }

    // A shown window with the journals A and B, both modified.
    std::unique_ptr<TfrmKerstal> TwoModifiedJournals()
    {
        WriteJournal(QStringLiteral("A"), {});
        WriteJournal(QStringLiteral("B"), {});
        OpenFolderAtStart();
        auto w = Window();
        w->show();
        w->Journal(0)->Modified = true;
        w->Journal(1)->Modified = true;
        return w;
    }

    // Shown and active, as the focus questions of the window need.
    static bool Activate(TfrmKerstal &w)
    {
        w.show();
        w.activateWindow();
        return QTest::qWaitForWindowActive(&w);
    }

    static QImage Picture(const QIcon &icon) { return icon.pixmap(16).toImage(); }
};

} // namespace

TEST_F(FrmKerstalTest, NewJournalsAreNumberedByTheNodesOfTheTree)
{
    auto w = Window();
    ASSERT_EQ(w->JournalCount(), 0);  // the start folder holds no journal
    w->NewKerstal->trigger();
    w->NewKerstal->trigger();
    EXPECT_EQ(TreeTexts(*w), (QStringList{QStringLiteral("Новый Вентжурнал 0"), QStringLiteral("Новый Вентжурнал 1")}));
    EXPECT_EQ(w->tvKerstal->currentItem(), nullptr);
    EXPECT_FALSE(w->Journal(0)->Modified);

    WriteJournal(QStringLiteral("Шахта"), {{{1, 2}}, {}});
    OpenFolderAtStart();
    auto beside = Window();
    beside->NewKerstal->trigger();
    EXPECT_EQ(TreeTexts(*beside), (QStringList{QStringLiteral("Шахта"), QStringLiteral(" Рубрика 0"),
                                               QStringLiteral(" Рубрика 1"), QStringLiteral("Новый Вентжурнал 3")}));
    EXPECT_TRUE(Prompt.Asked.empty());
}

TEST_F(FrmKerstalTest, ANewJournalNamedLikeAJournalFileOfTheFolderIsRefused)
{
    // One journal without rubrics: the next new journal would be number 1.
    WriteJournal(QStringLiteral("новый вентжурнал 1"), {});
    OpenFolderAtStart();
    auto w = Window();
    w->NewKerstal->trigger();
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_TRUE(Prompt.Asked[0].Text.contains(QStringLiteral("\"Новый Вентжурнал 1\" уже есть")));
    EXPECT_EQ(w->JournalCount(), 1);
}

TEST_F(FrmKerstalTest, NewRubricIsInsertedOrAppendedAndShowsItsEmptyRecord)
{
    auto w = Window();
    EXPECT_FALSE(w->NewRubric->isEnabled());
    w->NewKerstal->trigger();
    Select(*w, 0);
    EXPECT_EQ(w->NewRubric->text(), QStringLiteral("Добавить рубрику"));
    w->NewRubric->trigger();
    EXPECT_EQ(w->tvKerstal->currentItem()->text(0), QStringLiteral("Новая Рубрика 0"));
    EXPECT_EQ(w->NewRubric->text(), QStringLiteral("Вставить рубрику"));
    ASSERT_EQ(w->lvRecords->topLevelItemCount(), 1);
    EXPECT_EQ(Picture(w->lvRecords->topLevelItem(0)->icon(0)), Picture(JournalIcon(imgBlankSheet)));
    EXPECT_TRUE(w->Journal(0)->Modified);
    EXPECT_TRUE(w->FileSave->isEnabled());

    // With the rubric selected the next one goes before it.
    w->NewRubric->trigger();
    EXPECT_EQ(TreeTexts(*w), (QStringList{QStringLiteral("Новый Вентжурнал 0"), QStringLiteral(" Новая Рубрика 1"),
                                          QStringLiteral(" Новая Рубрика 0")}));
    EXPECT_EQ(w->Journal(0)->Items(0)->Name, QStringLiteral("Новая Рубрика 1"));
}

TEST_F(FrmKerstalTest, ActionsFollowTheSelection)
{
    WriteJournal(QStringLiteral("A"), {{{1, 2}}});
    OpenFolderAtStart();
    auto w = Window();
    QAction *const bySelection[] = {w->Delete, w->ViewProperty, w->FilePreview, w->FilePrint, w->FileSaveAs,
                                    w->UpdateRecords, w->Rename, w->NewRubric};
    const auto enabled = [&] {
        QString flags;
        for (QAction *a : bySelection)
            flags += a->isEnabled() ? u'1' : u'0';
        return flags + u' ' + (w->FileSave->isEnabled() ? u'1' : u'0') + (w->NewRecord->isEnabled() ? u'1' : u'0');
    };
    // Opening the folder made its first journal current.
    EXPECT_EQ(w->tvKerstal->currentItem(), w->JournalNode(0));
    EXPECT_EQ(enabled(), QStringLiteral("11111111 00"));
    w->tvKerstal->setCurrentItem(nullptr);
    EXPECT_EQ(enabled(), QStringLiteral("00000000 00"));
    Select(*w, 0);
    EXPECT_EQ(enabled(), QStringLiteral("11111111 00"));
    Select(*w, 0, 0);
    EXPECT_EQ(enabled(), QStringLiteral("11111111 01"));
    w->Journal(0)->Modified = true;
    w->UpdateActions();
    EXPECT_EQ(enabled(), QStringLiteral("11111111 11"));
    // The report designer is not linked.
    EXPECT_FALSE(w->ReportDesigner->isEnabled());
}

TEST_F(FrmKerstalTest, OpeningAFolderMakesItsFirstJournalCurrent)
{
    WriteJournal(QStringLiteral("A"), {{{1, 2}}});
    WriteJournal(QStringLiteral("B"), {});
    OpenFolderAtStart();
    auto w = Window();
    ASSERT_EQ(w->JournalCount(), 2);
    EXPECT_EQ(w->tvKerstal->currentItem(), w->JournalNode(0));
    EXPECT_EQ(w->lvRecords->topLevelItemCount(), 1);

    // Opened again while the list has the focus and no journal is current.
    ASSERT_TRUE(Activate(*w));
    w->tvKerstal->setCurrentItem(nullptr);
    w->lvRecords->setFocus();
    w->ChooseOpenFile = [&] { return Folder.filePath(QStringLiteral("B.WVJ")); };
    w->FileOpen->trigger();
    EXPECT_EQ(w->tvKerstal->currentItem(), w->JournalNode(0));
    EXPECT_TRUE(w->FilePrint->isEnabled());
    EXPECT_EQ(w->stsbMain[0]->text(), QStringLiteral("Рубрик: 1"));
}

TEST_F(FrmKerstalTest, StatusAndFlowBarsShowTheCurrentJournalAndRubric)
{
    WriteJournal(QStringLiteral("A"), {{{1, 2}, {2, 1}}, {{1, 1}}});
    OpenFolderAtStart();
    auto w = Window();
    const auto panels = [&] {
        return QStringList{w->stsbMain[0]->text(), w->stsbMain[1]->text(), w->stsbMain[2]->text(),
                           w->stsBarSum[0]->text(), w->stsBarSum[1]->text()};
    };
    const QStringList bare{QStringLiteral("Поступающая струя"), QStringLiteral("Исходящая струя")};
    // Without a current journal there is nothing to count.
    w->tvKerstal->setCurrentItem(nullptr);
    EXPECT_EQ(panels(), QStringList({QString(), QString(), QString()}) + bare);
    Select(*w, 0, 0);
    EXPECT_EQ(panels(), (QStringList{QStringLiteral("Рубрик: 2"), QStringLiteral("Записей: 2 из 3"),
                                     QStringLiteral("Рубрика 0"), QStringLiteral("Поступающая струя: 300 м3/мин"),
                                     QStringLiteral("Исходящая струя: 30 м3/мин")}));
    // The whole journal: no rubric's name or totals stay behind.
    Select(*w, 0);
    EXPECT_EQ(panels(), QStringList({QStringLiteral("Рубрик: 2"), QStringLiteral("Записей: 3 из 3"), QString()}) + bare);
    EXPECT_EQ(w->lvRecords->topLevelItemCount(), 3);
    // A rubric without totals empties the flow bar.
    w->Journal(0)->Items(1)->RubricType = rtNoTotals;
    Select(*w, 0, 1);
    EXPECT_EQ(panels().mid(3), (QStringList{QString(), QString()}));
    // The focused record names its rubric.
    Select(*w, 0);
    w->lvRecords->setCurrentItem(w->lvRecords->topLevelItem(0));
    EXPECT_EQ(w->stsbMain[2]->text(), QStringLiteral("Рубрика 0"));
}

TEST_F(FrmKerstalTest, RenamingAJournalRenamesItsFileWithACleanName)
{
    WriteJournal(QStringLiteral("Старый"), {{{1, 2}}});
    WriteJournal(QStringLiteral("Другой"), {});
    OpenFolderAtStart();
    auto w = Window();
    ASSERT_EQ(w->Journal(1)->FileName, QStringLiteral("Старый.WVJ"));
    QTreeWidgetItem *node = w->JournalNode(1);
    // What the in-place editor commits when it closes.
    node->setText(0, QStringLiteral("Новый*журнал"));
    EXPECT_EQ(node->text(0), QStringLiteral("Новый_журнал"));
    EXPECT_EQ(w->Journal(1)->FileName, QStringLiteral("Новый_журнал.WVJ"));
    EXPECT_TRUE(QFileInfo::exists(Folder.filePath(QStringLiteral("Новый_журнал.WVJ"))));
    EXPECT_FALSE(QFileInfo::exists(Folder.filePath(QStringLiteral("Старый.WVJ"))));

    // The name of another journal would have its file replaced at the next save.
    w->RenameNode(node, QStringLiteral("другой"));
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(node->text(0), QStringLiteral("Новый_журнал"));
    EXPECT_TRUE(QFileInfo::exists(Folder.filePath(QStringLiteral("Новый_журнал.WVJ"))));

    // A rubric takes the text as it is and makes its journal modified.
    w->RenameNode(node->child(0), QStringLiteral("Лава *1"));
    EXPECT_EQ(w->Journal(1)->Items(0)->Name, QStringLiteral("Лава *1"));
    EXPECT_TRUE(w->Journal(1)->Modified);
}

TEST_F(FrmKerstalTest, DeletingAsksAndRemovesJournalRubricOrRecord)
{
    WriteJournal(QStringLiteral("A"), {{{1, 2}, {2, 1}}, {}});
    WriteJournal(QStringLiteral("B"), {});
    OpenFolderAtStart();
    auto w = Window();
    ASSERT_TRUE(Activate(*w));

    // A record, from the list.
    Select(*w, 0, 0);
    w->lvRecords->setFocus();
    w->lvRecords->setCurrentItem(w->lvRecords->topLevelItem(0));
    Prompt.Answer(idYes);
    w->Delete->trigger();
    // The rubric, from the tree; No keeps it.
    w->tvKerstal->setFocus();
    Prompt.Answer(idNo);
    w->Delete->trigger();
    Prompt.Answer(idYes);
    w->Delete->trigger();
    // The journal, with its file.
    Select(*w, 1);
    Prompt.Answer(idYes);
    w->Delete->trigger();

    ASSERT_EQ(Prompt.Asked.size(), 4u);
    const QString two = QStringLiteral("\r\r");
    EXPECT_EQ(Prompt.Asked[0].Text, QStringLiteral("Вы удаляете запись из рубрики \"Рубрика 0\".") + two + QStringLiteral("Удалить запись?"));
    EXPECT_EQ(Prompt.Asked[0].Caption, QStringLiteral("Удаление записи"));
    EXPECT_EQ(Prompt.Asked[0].Flags, mb::YesNoCancel | mb::IconInformation);
    EXPECT_EQ(Prompt.Asked[1].Text, QStringLiteral("Вы удаляете рубрику \"Рубрика 0\".") + two + QStringLiteral("Удалить?"));
    EXPECT_EQ(Prompt.Asked[1].Caption, QStringLiteral("Удаление рубрики"));
    EXPECT_EQ(Prompt.Asked[1].Flags, mb::YesNoCancel | mb::IconWarning | mb::DefaultButton2);
    EXPECT_EQ(Prompt.Asked[3].Text, QStringLiteral("Вы полностью уничтожаете вентжурнал \"B\".") + two +
                                        QStringLiteral("ФАЙЛ вентжурнала будет также уничтожен.") + two +
                                        QStringLiteral("Удалить вентжурнал?"));
    EXPECT_EQ(Prompt.Asked[3].Caption, QStringLiteral("Удаление вентжурнала"));
    EXPECT_EQ(Prompt.Asked[3].Flags, mb::YesNoCancel | mb::IconError | mb::DefaultButton2);

    EXPECT_EQ(TreeTexts(*w), (QStringList{QStringLiteral("A"), QStringLiteral(" Рубрика 1")}));
    EXPECT_TRUE(w->Journal(0)->Modified);
    EXPECT_FALSE(QFileInfo::exists(Folder.filePath(QStringLiteral("B.WVJ"))));
    EXPECT_TRUE(QFileInfo::exists(Folder.filePath(QStringLiteral("A.WVJ"))));
}

TEST_F(FrmKerstalTest, AJournalWhoseFileCannotBeDeletedStays)
{
    OpenFolderAtStart();
    auto w = Window();
    ASSERT_TRUE(Activate(*w));
    w->NewKerstal->trigger();
    // Something in the journal's place that no file deletion removes.
    ASSERT_TRUE(QDir(Folder.path()).mkpath(QStringLiteral("Новый Вентжурнал 0.WVJ/x")));
    Select(*w, 0);
    w->tvKerstal->setFocus();
    Prompt.Answer(idYes);
    w->Delete->trigger();
    ASSERT_EQ(Prompt.Asked.size(), 2u);
    EXPECT_TRUE(Prompt.Asked[1].Text.startsWith(QStringLiteral("Не удается удалить файл вентжурнала")));
    EXPECT_EQ(w->JournalCount(), 1);
}

TEST_F(FrmKerstalTest, FindWalksDownThenEndsThenStartsAgain)
{
    // Branch 2 in rubric 0 record 1 and rubric 1 record 0; a record named
    // with 12 but numbered otherwise.
    WriteJournal(QStringLiteral("A"), {{{1, 1}, {2, 1}}, {{1, 2}, {1, 1}}});
    OpenFolderAtStart();
    auto w = Window();
    w->Journal(0)->Items(1)->Items(1)->InBranch.Name = QStringLiteral("Штрек 12");
    Select(*w, 0);
    const auto hit = [&] {
        QTreeWidgetItem *item = w->lvRecords->currentItem();
        return QStringLiteral("%1 %2 %3").arg(w->FoundRubric).arg(w->FoundRecord).arg(
            item && item->isSelected() ? w->tvKerstal->currentItem()->text(0) : QString());
    };
    w->FindNext(QStringLiteral("2"));
    EXPECT_EQ(hit(), QStringLiteral("1 2 Рубрика 0"));
    EXPECT_EQ(w->lvRecords->currentItem(), w->lvRecords->topLevelItem(1));
    w->FindNext(QStringLiteral("2"));
    EXPECT_EQ(hit(), QStringLiteral("2 1 Рубрика 1"));
    EXPECT_TRUE(Prompt.Asked.empty());
    w->FindNext(QStringLiteral("2"));
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Text, QStringLiteral("Поиск завершен"));
    EXPECT_EQ(Prompt.Asked[0].Caption, QStringLiteral("Поиск завершен"));
    EXPECT_EQ(w->FoundRubric, -1);
    w->FindNext(QStringLiteral("2"));
    EXPECT_EQ(hit(), QStringLiteral("1 2 Рубрика 0"));

    // "12" is a number: the name that holds it is not a hit; a name text is.
    w->FindNext(QStringLiteral("12"));
    EXPECT_EQ(Prompt.Asked.size(), 2u);
    w->FindNext(QStringLiteral("к 12"));
    EXPECT_EQ(hit(), QStringLiteral("2 2 Рубрика 1"));

    // A hit's rubric deleted meanwhile: the next search starts from the top.
    w->tvKerstal->setFocus();
    w->Journal(0)->Delete(1);
    delete w->JournalNode(0)->child(1);
    w->lvRecords->setCurrentItem(w->lvRecords->topLevelItem(0));
    w->FindNext(QStringLiteral("2"));
    EXPECT_EQ(hit(), QStringLiteral("1 2 Рубрика 0"));
}

TEST_F(FrmKerstalTest, TheFindDialogFindsOnlyWhenItHasAText)
{
    WriteJournal(QStringLiteral("A"), {{{1, 1}, {2, 1}}});
    OpenFolderAtStart();
    auto w = Window();
    w->FindBranch->trigger();
    TfrmFind *find = w->FindDialog();
    ASSERT_NE(find, nullptr);
    EXPECT_FALSE(find->btnFind->isEnabled());
    QTest::keyClicks(find->edText, QStringLiteral("2"));
    ASSERT_TRUE(find->btnFind->isEnabled());
    QTest::mouseClick(find->btnFind, Qt::LeftButton);
    EXPECT_EQ(w->FoundRecord, 2);
    find->edText->clear();
    EXPECT_FALSE(find->btnFind->isEnabled());
}

TEST_F(FrmKerstalTest, ClosingAsksAboutEachModifiedJournalUntilCancel)
{
    auto w = TwoModifiedJournals();
    Prompt.Answer(idCancel);
    w->close();
    EXPECT_TRUE(w->isVisible());
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Text, QStringLiteral("Файл венжурнала \"A.WVJ\" не был сохранен.\r\rСохранить?"));
    EXPECT_EQ(Prompt.Asked[0].Caption, QStringLiteral("Вентжурнал - Сохранение файла"));
    EXPECT_EQ(Prompt.Asked[0].Flags, mb::YesNoCancel | mb::IconQuestion);

    // Yes saves the first, No leaves the second.
    w->Journal(0)->MineName = QStringLiteral("Северная");
    Prompt.Answer(idYes);
    Prompt.Answer(idNo);
    w->close();
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(Prompt.Asked.size(), 3u);
    TKerstal saved(QStringLiteral("A.WVJ"));
    LoadJournal(saved, Folder.path());
    EXPECT_EQ(saved.MineName, QStringLiteral("Северная"));
}

TEST_F(FrmKerstalTest, AJournalThatCannotBeSavedKeepsTheWindowOpen)
{
    auto w = TwoModifiedJournals();
    // The journals folder has gone.
    w->JournalsDir = Folder.filePath(QStringLiteral("нет такой папки"));
    Prompt.Answer(idYes);
    Prompt.Answer(idOk);
    Prompt.Answer(idNo);
    w->close();
    EXPECT_TRUE(w->isVisible());
    // The second journal is still asked about.
    ASSERT_EQ(Prompt.Asked.size(), 3u);
    EXPECT_EQ(Prompt.Asked[1].Caption, QStringLiteral("Ошибка при записи файла"));
    EXPECT_EQ(Prompt.Asked[1].Flags, mb::Ok | mb::IconError);
    EXPECT_TRUE(Prompt.Asked[1].Text.startsWith(QStringLiteral("Не удается сохранить файл вентжурнала.\r\r")));
    EXPECT_TRUE(Prompt.Asked[2].Text.contains(QStringLiteral("\"B.WVJ\"")));
    w->Journal(0)->Modified = false;
    w->Journal(1)->Modified = false;
}

TEST_F(FrmKerstalTest, SaveAsWritesTextOrACopyOfTheJournal)
{
    WriteJournal(QStringLiteral("A"), {{{1, 2}}});
    OpenFolderAtStart();
    auto w = Window();
    Select(*w, 0);
    w->Journal(0)->Modified = true;
    int offered = 0;
    w->ChooseSaveFile = [&](const QString &folder, const QString &name, int &filter) {
        EXPECT_EQ(folder, Folder.path());
        EXPECT_EQ(name, QStringLiteral("A"));
        offered = filter;
        filter = 2;
        return Folder.filePath(QStringLiteral("Отчет"));
    };
    w->FileSaveAs->trigger();
    EXPECT_EQ(offered, 1);
    const QString text = Folder.filePath(QStringLiteral("Отчет.TXT"));
    ASSERT_TRUE(QFileInfo::exists(text));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains(EncodeCp866(QStringLiteral("ВЕНТИЛЯЦИОННЫЙ ЖУРНАЛ"))));

    w->SaveAsChosen(Folder.filePath(QStringLiteral("b.txt")), 3);
    EXPECT_TRUE(QFileInfo::exists(Folder.filePath(QStringLiteral("b.txt"))));
    // A copy elsewhere leaves the journal's own file to be saved.
    w->SaveAsChosen(Folder.filePath(QStringLiteral("Копия")), 1);
    EXPECT_TRUE(QFileInfo::exists(Folder.filePath(QStringLiteral("Копия.WVJ"))));
    EXPECT_TRUE(w->Journal(0)->Modified);
    EXPECT_EQ(w->Journal(0)->FileName, QStringLiteral("A.WVJ"));
    w->FileSave->trigger();
    EXPECT_FALSE(w->Journal(0)->Modified);
}

TEST_F(FrmKerstalTest, RefreshTakesTheNetworkAndShowsItsLog)
{
    // Record 0 pairs two branches of the network, record 1 names branch 9.
    WriteJournal(QStringLiteral("A"), {{{1, 2}, {1, 9}}});
    OpenFolderAtStart();
    auto w = Window();
    ASSERT_TRUE(Activate(*w));
    Select(*w, 0, 0);
    QTest::keyClick(w->tvKerstal, Qt::Key_U, Qt::ControlModifier);
    ASSERT_NE(w->RefreshLog(), nullptr);
    EXPECT_EQ(w->RefreshLog()->windowTitle(), QStringLiteral("Результаты обновления"));
    EXPECT_FALSE(w->RefreshLog()->isModal());
    EXPECT_TRUE(w->RefreshLog()->btnSave->isHidden());
    EXPECT_TRUE(w->RefreshLog()->memText->toPlainText().contains(QStringLiteral("Исх.: Ветвь № 9: нет в БД")));
    QTreeWidgetItem *first = w->lvRecords->topLevelItem(0);
    EXPECT_EQ(first->text(3), QStringLiteral("600"));   // 10 m³/s
    EXPECT_EQ(first->text(1), QStringLiteral("12,0"));
    EXPECT_EQ(Picture(first->icon(0)), Picture(JournalIcon(imgRecord)));
    EXPECT_EQ(Picture(w->lvRecords->topLevelItem(1)->icon(0)), Picture(JournalIcon(imgBlankSheet)));
    EXPECT_TRUE(w->FileSave->isEnabled());
}

TEST_F(FrmKerstalTest, NewRecordGoesBeforeTheSelectedOneWhenItsDialogIsConfirmed)
{
    WriteJournal(QStringLiteral("A"), {{{1, 1}, {2, 2}}});
    OpenFolderAtStart();
    auto w = Window();
    Select(*w, 0, 0);
    w->lvRecords->setCurrentItem(w->lvRecords->topLevelItem(1));
    WhenDialog([](QDialog *d) {
        d->findChild<QLineEdit *>(QStringLiteral("edInNumber"))->setText(QStringLiteral("2"));
        d->findChild<QLineEdit *>(QStringLiteral("edExNumber"))->setText(QStringLiteral("1"));
        d->findChild<QAbstractButton *>(QStringLiteral("btnOk"))->click();
    });
    w->NewRecord->trigger();
    TRubric &r = *w->Journal(0)->Items(0);
    ASSERT_EQ(r.Count(), 3);
    EXPECT_EQ(r.Items(1)->InBranch.Name, QStringLiteral(""));  // branch 2 has no name
    EXPECT_EQ(r.Items(1)->OutBranch.Name, QStringLiteral("Штрек"));
    EXPECT_EQ(w->lvRecords->topLevelItem(1)->text(0), QStringLiteral("2"));
    EXPECT_EQ(w->stsbMain[1]->text(), QStringLiteral("Записей: 3 из 3"));

    // Cancelled, the new item goes again.
    WhenDialog([](QDialog *d) { d->reject(); });
    w->InsertRecord(&r, 0);
    EXPECT_EQ(r.Count(), 3);
    EXPECT_EQ(w->lvRecords->topLevelItemCount(), 3);
}

TEST_F(FrmKerstalTest, ArrowsPastTheEndsOfTheListAddRecords)
{
    WriteJournal(QStringLiteral("A"), {{{1, 1}, {2, 2}}});
    OpenFolderAtStart();
    auto w = Window();
    ASSERT_TRUE(Activate(*w));
    Select(*w, 0, 0);
    w->lvRecords->setFocus();
    TRubric &r = *w->Journal(0)->Items(0);
    const auto typeNumber = [](const char *number) {
        WhenDialog([number](QDialog *d) {
            d->findChild<QLineEdit *>(QStringLiteral("edInNumber"))->setText(QString::fromLatin1(number));
            d->findChild<QAbstractButton *>(QStringLiteral("btnOk"))->click();
        });
    };
    w->lvRecords->setCurrentItem(w->lvRecords->topLevelItem(1));
    typeNumber("2");
    QTest::keyClick(w->lvRecords, Qt::Key_Down);
    w->lvRecords->setCurrentItem(w->lvRecords->topLevelItem(0));
    typeNumber("1");
    QTest::keyClick(w->lvRecords, Qt::Key_Up);
    ASSERT_EQ(r.Count(), 4);
    EXPECT_EQ(r.Items(0)->InBranch.Name, QStringLiteral("Штрек"));  // branch 1
    EXPECT_EQ(r.Items(3)->InBranch.Out, 120);                       // branch 2
    // Inside the list the arrows only move.
    w->lvRecords->setCurrentItem(w->lvRecords->topLevelItem(1));
    QTest::keyClick(w->lvRecords, Qt::Key_Down);
    EXPECT_EQ(r.Count(), 4);
    EXPECT_EQ(w->lvRecords->currentItem(), w->lvRecords->topLevelItem(2));
}

TEST_F(FrmKerstalTest, TheHelpTextIsTheSystemsOwn)
{
    const QString help = TfrmKerstal::HelpText();
    EXPECT_TRUE(help.startsWith(QStringLiteral("о   В левой части окна - список вентжурналов и их рубрик.\r\r")));
    EXPECT_TRUE(help.contains(QStringLiteral("имеет тип \"Обычная\"(с подсчетом итогов)\r\r")));
    EXPECT_TRUE(help.contains(QStringLiteral("<, >, \"). Такие символы")));
    EXPECT_TRUE(help.contains(QStringLiteral("в начало\r\r") + QString(53, u'~') +
                              QStringLiteral("\r<Ctrl> + <N> - создать новый вентжурнал.")));
    EXPECT_TRUE(help.endsWith(QStringLiteral("\r<Alt> + <X> - выход")));
}
