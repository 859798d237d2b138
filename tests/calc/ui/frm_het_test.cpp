// The natural draught window from the main window's menu, on the sample mine.
#include "calc/ui/air_commands.h"
#include "calc/ui/frm_het.h"
#include "platform/prompt.h"
#include "shell/ui/frm_main.h"
#include "modal.h"

#include <QtCore/QFile>
#include <QtCore/QTemporaryDir>
#include <QtGui/QAction>
#include <QtTest/QTest>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

const QString SampleMine = QStringLiteral(TUNVEX_SOURCE_DIR "/data/Шахты/Демо.mine");
const QChar CR = u'\r';

class HetWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        qputenv("TUNVEX_CONFIG_DIR", config.path().toUtf8());
        ClearAllItems(Net);
        w = std::make_unique<TfrmMain>(QStringList{SampleMine}, folder.path());
        InstallAirDistributionCommands(*w);
        w->FormActivate();
        ASSERT_GT(BranchCount(Net), 10);
    }
    void TearDown() override
    {
        w.reset();
        ClearAllItems(Net);
    }
    // Runs the menu command; drive works inside the window, which is then
    // closed with "Закрыть" unless drive closed it.
    bool Run(const std::function<void(TfrmHet &)> &drive)
    {
        bool opened = false;
        WhenModal([&] {
            if (!frmHet)
                return;
            opened = true;
            drive(*frmHet);
            if (frmHet && frmHet->isVisible())
                frmHet->done(QDialog::Rejected);
        });
        w->Action(QStringLiteral("mnuGetHet"))->trigger();
        return opened;
    }
    static QString Cell(QTableWidget *grid, int row, int column)
    {
        const QTableWidgetItem *item = grid->item(row, column);
        return item ? item->text() : QString();
    }
    QStringList Asked() const
    {
        QStringList texts;
        for (const auto &a : prompt.Asked)
            texts << a.Text;
        return texts;
    }

    QTemporaryDir config, folder;
    TScriptedPrompt prompt;
    std::unique_ptr<TfrmMain> w;
};

TEST_F(HetWindow, OpensOnTheSampleAndCalculates)
{
    ASSERT_TRUE(w->Action(QStringLiteral("mnuGetHet"))->isEnabled());
    const bool opened = Run([&](TfrmHet &f) {
        EXPECT_TRUE(prompt.Asked.empty()) << Asked().join(u'|').toStdString();
        EXPECT_EQ(f.windowTitle(), QStringLiteral("Расчёт воздухораспределения с учётом естественной тяги"));
        EXPECT_FALSE(f.windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_GE(f.width(), 550);
        EXPECT_LE(f.width(), 600);
        EXPECT_GE(f.height(), 320);
        EXPECT_LE(f.height(), 350);
        EXPECT_TRUE(f.ChkStartTemp->isChecked());
        EXPECT_FALSE(f.BtbPrint->isEnabled());
        EXPECT_EQ(f.EdTsurf->text(), QStringLiteral("19,0"));
        EXPECT_TRUE(f.lblSurfLegend->isVisibleTo(&f));
        EXPECT_FALSE(f.lblTurnLegend->isVisibleTo(&f));

        // The four surface nodes.
        const int surfaceItem = f.CmbNode->findText(QStringLiteral("Поверхности"));
        ASSERT_GT(surfaceItem, 0);
        emit f.CmbNode->activated(surfaceItem);
        EXPECT_EQ(f.TablN->rowCount(), 4);
        for (int row = 0; row < f.TablN->rowCount(); ++row)
            EXPECT_EQ(Cell(f.TablN, row, hnStatus), QStringLiteral("  Поверхность"));

        EXPECT_EQ(Cell(f.TablT, 0, hbQe), QString());
        EXPECT_EQ(Cell(f.TablT, 0, hbStartTemp), QStringLiteral("отсутств"));
        prompt.Asked.clear();
        QTest::mouseClick(f.BtbStart, Qt::LeftButton);
        EXPECT_TRUE(f.Calc().Tables().Results);
        ASSERT_GT(f.TablT->rowCount(), 10);
        EXPECT_FALSE(Cell(f.TablT, 0, hbQe).trimmed().isEmpty());
        EXPECT_NE(Cell(f.TablT, 0, hbStartTemp), QStringLiteral("отсутств"));
        bool differs = false;
        for (int row = 0; row < f.TablT->rowCount(); ++row)
            differs |= Cell(f.TablT, row, hbQe) != Cell(f.TablT, row, hbQn);
        EXPECT_TRUE(differs);

        // A surface temperature out of range is refused.
        prompt.Asked.clear();
        f.EdTsurf->setText(QStringLiteral("46"));
        f.EdTsurfExit();
        EXPECT_EQ(Asked(), QStringList{QStringLiteral("Число вне допустимого диапазона: ") + CR
                                       + QStringLiteral("-30.0 ...  45.0 !")});
        EXPECT_EQ(f.EdTsurf->text(), QStringLiteral("19,0"));
        f.EdTsurf->setText(QStringLiteral("25,5"));
        f.EdTsurfExit();
        EXPECT_EQ(f.Calc().Tables().Tsurf, 25.5);

        // Escape does not close the window; "Закрыть" without edits asks nothing.
        prompt.Asked.clear();
        QTest::keyClick(&f, Qt::Key_Escape);
        EXPECT_TRUE(f.isVisible());
        QTest::mouseClick(f.BtbExit, Qt::LeftButton);
        EXPECT_FALSE(f.isVisible());
        EXPECT_TRUE(prompt.Asked.empty());
    });
    EXPECT_TRUE(opened);
    EXPECT_FALSE(w->Document().Modified());
}

TEST_F(HetWindow, EditedAltitudesGoBackOnlyWhenSaved)
{
    const auto altitudes = Net.NodeAltitude;
    const auto endTemps = Net.BranchEndTemp;
    for (const int answer : {idNo, idYes}) {
        const bool opened = Run([&](TfrmHet &f) {
            QTableWidgetItem *altitude = f.TablN->item(0, hnAltitude);
            QTableWidgetItem *temp = f.TablT->item(0, hbEndTemp);
            ASSERT_TRUE(altitude && temp);
            ASSERT_TRUE(altitude->flags() & Qt::ItemIsEditable);
            EXPECT_FALSE(f.TablN->item(0, hnNumber)->flags() & Qt::ItemIsEditable);
            EXPECT_FALSE(f.TablT->item(0, hbQn)->flags() & Qt::ItemIsEditable);

            prompt.Asked.clear();
            const QString before = altitude->text();
            altitude->setText(QStringLiteral("12x"));
            EXPECT_EQ(Asked(), QStringList{QStringLiteral("Число==> 12x набрано с ошибками !") + CR});
            EXPECT_EQ(altitude->text(), before);
            temp->setText(QStringLiteral("51"));
            EXPECT_EQ(Asked().last(), QStringLiteral("Число вне допустимого диапазона: ") + CR
                                          + QStringLiteral("    -30.0 ...  50.0 !"));

            altitude->setText(QStringLiteral("123,4"));
            EXPECT_EQ(altitude->text(), QStringLiteral("   123,4"));
            temp->setText(QStringLiteral("17.5"));
            prompt.Asked.clear();
            prompt.Answer(answer);
            QTest::mouseClick(f.BtbExit, Qt::LeftButton);
            EXPECT_EQ(Asked(), QStringList{QStringLiteral("Сохранить результаты редактирования?")});
        });
        ASSERT_TRUE(opened);
        const int node = [] {
            for (int n = 1; n <= MaxItems; ++n)
                if (Net.NodeNo[n] != 0)
                    return n;
            return 0;
        }();
        if (answer == idNo) {
            EXPECT_EQ(Net.NodeAltitude, altitudes);
            EXPECT_EQ(Net.BranchEndTemp, endTemps);
            EXPECT_FALSE(w->Document().Modified());
        } else {
            EXPECT_EQ(Net.NodeAltitude[node], 123.4);
            EXPECT_EQ(Net.BranchEndTemp[1], 17.5);
            EXPECT_TRUE(w->Document().Modified());
        }
    }
}

TEST_F(HetWindow, PrintingNamesAMissingTemplateAndHandsOverTheFilteredRows)
{
    QString printed;
    int records = -1;
    HetWindowHooks.ShowReport = [&](QWidget *, const QString &file, THetReport &report) {
        printed = file;
        records = report.RecordCount();
    };
    w->Options().ReportsLocation = folder.path();
    const QString file = folder.path() + QStringLiteral("/Естественная.frf");
    const bool opened = Run([&](TfrmHet &f) {
        ASSERT_TRUE(f.BtbPrint->isEnabled());
        QTest::mouseClick(f.BtbPrint, Qt::LeftButton);
        EXPECT_EQ(Asked(), QStringList{QStringLiteral("Не найден шаблон отчёта") + CR + file});
        EXPECT_TRUE(printed.isEmpty());

        QFile(file).open(QIODevice::WriteOnly);
        const int inclined = f.CmbVet->findText(QStringLiteral("Наклонные"));
        ASSERT_GT(inclined, 0);
        emit f.CmbVet->activated(inclined);
        QTest::mouseClick(f.BtbPrint, Qt::LeftButton);
        EXPECT_EQ(printed, file);
        EXPECT_EQ(records, f.TablT->rowCount());
        EXPECT_LT(records, BranchCount(Net));
    });
    HetWindowHooks = {};
    EXPECT_TRUE(opened);
}

} // namespace
