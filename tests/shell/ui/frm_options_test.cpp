#include "platform/prompt.h"
#include "shell/options_apply.h"
#include "shell/ui/frm_options.h"
#include "shell/ui/xq_edit.h"

#include <QtTest/QTest>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QSpinBox>

#include <gtest/gtest.h>

#include <memory>

namespace {

constexpr TColor StudyColor = 0x0000FF;

// A network of two nodes 5000 by 3000 units apart, joined by two branches;
// branch 1 in the branch colour, branch 2 coloured by a study.
struct TOptionsFixture : ::testing::Test
{
    std::unique_ptr<TNetworkTables> Tables = std::make_unique<TNetworkTables>();
    std::unique_ptr<TTable<TColor>> Colors = std::make_unique<TTable<TColor>>();
    TOptionsSet Options;
    std::int32_t SheetWidth = 6000;
    std::int32_t SheetHeight = 4000;
    int AppliedCount = 0;
    QStringList FolderPrompts;
    TScriptedPrompt Prompt;
    std::unique_ptr<TfrmOptions> Window;

    void SetUp() override
    {
        TNetworkTables &t = *Tables;
        CreateNode(t, 1);
        CreateNode(t, 2);
        t.NodeX[2] = 5000;
        t.NodeY[2] = 3000;
        for (int b : {1, 2}) {
            CreateBranch(t, b);
            t.BranchStartNode[b] = std::int16_t(b);
            t.BranchEndNode[b] = std::int16_t(3 - b);
        }
        Colors->fill(Options.Colors[sciBranch]);
        (*Colors)[2] = StudyColor;
        Options.Password = QStringLiteral("секрет");
        Open();
    }

    void Open()
    {
        TOptionsHost host;
        host.Options = &Options;
        host.SheetWidth = &SheetWidth;
        host.SheetHeight = &SheetHeight;
        host.Tables = Tables.get();
        host.BranchColors = Colors.get();
        host.ChooseColor = [](TColor &c) {
            c = 0x123456;
            return true;
        };
        host.ChooseFolder = [this](const QString &prompt, const QString &) {
            FolderPrompts << prompt;
            return QStringLiteral("/выбрано");
        };
        host.Applied = [this] { ++AppliedCount; };
        Window = std::make_unique<TfrmOptions>(host);
        Window->show();
    }

    template <typename W>
    W *Find(const char *name)
    {
        W *w = Window->findChild<W *>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    void Click(const char *name) { QTest::mouseClick(Find<QPushButton>(name), Qt::LeftButton); }
};

} // namespace

TEST_F(TOptionsFixture, OpensWithTheSettingsAndNothingChanged)
{
    EXPECT_EQ(frmOptions, Window.get());
    EXPECT_EQ(Window->windowTitle(), QStringLiteral("Настройки"));
    EXPECT_EQ(Find<QSpinBox>("speGridStep")->value(), 10);
    EXPECT_EQ(Find<QSpinBox>("speFireTime")->value(), 90);
    EXPECT_TRUE(Find<QCheckBox>("cbxLoadPlugins")->isChecked());
    EXPECT_EQ(Find<QLineEdit>("edMines")->text(), Options.MinesLocation);
    EXPECT_EQ(Find<QLineEdit>("edConfirmation")->text(), QStringLiteral("секрет"));
    EXPECT_EQ(Find<TxqEdit>("edSheetX")->text(), QStringLiteral("6000"));
    auto *colors = Find<QListWidget>("lbxColors");
    ASSERT_EQ(colors->count(), 20);
    EXPECT_EQ(colors->item(19)->text(), QStringLiteral("Дегазационный трубопровод"));
    EXPECT_EQ(colors->currentRow(), 0);
    EXPECT_EQ(Find<QPushButton>("shpColor")->property("color").toInt(), 0xC0C0C0);
    EXPECT_FALSE(Find<QPushButton>("bbtnApply")->isEnabled());
    EXPECT_EQ(Find<QListWidget>("lbxSymbols")->count(), 0);
    Window.reset();
    EXPECT_EQ(frmOptions, nullptr);
}

TEST_F(TOptionsFixture, PasswordMismatchStaysOnThePasswordPageAndAppliesNothing)
{
    Find<QSpinBox>("speGridStep")->setValue(20);
    Find<QLineEdit>("edConfirmation")->setText(QStringLiteral("секрет2"));
    Click("bbtnOK");
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Caption, QStringLiteral("Ошибка при вводе пароля"));
    EXPECT_EQ(Prompt.Asked[0].Text, QStringLiteral("Пароль задан неверно\rПодтвердите пароль"));
    EXPECT_EQ(Prompt.Asked[0].Flags & mb::IconMask, mb::IconError);
    EXPECT_TRUE(Window->isVisible());
    EXPECT_EQ(Window->ActivePage(), TfrmOptions::pgPassword);
    EXPECT_EQ(Window->focusWidget(), Find<QLineEdit>("edConfirmation"));
    EXPECT_EQ(Options.GridStep, 10);
    EXPECT_EQ(AppliedCount, 0);
    // "Применить" stops at the same check.
    Click("bbtnApply");
    EXPECT_TRUE(Find<QPushButton>("bbtnApply")->isEnabled());
    EXPECT_EQ(Options.GridStep, 10);
}

TEST_F(TOptionsFixture, ASheetSmallerThanTheSchemeWidensToTheMinimumWithAWarning)
{
    Find<TxqEdit>("edSheetX")->setText(QStringLiteral("100"));
    Find<TxqEdit>("edSheetY")->setText(QStringLiteral("100"));
    Click("bbtnOK");
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Caption, QStringLiteral("Размер листа меньше размера шахты"));
    EXPECT_EQ(Prompt.Asked[0].Text, QStringLiteral("Установленный размер листа (0, 0)-(100, 100) меньше минимального "
                                                   "размера схемы шахты.Будет принят минимальный размер шахты."));
    EXPECT_EQ(Prompt.Asked[0].Flags & mb::IconMask, mb::IconWarning);
    // Bounds -1..5001 × -1..3001, widened by 50 and 30.
    EXPECT_EQ(SheetWidth, 5051);
    EXPECT_EQ(SheetHeight, 3031);
    EXPECT_EQ(Find<TxqEdit>("edSheetX")->text(), QStringLiteral("5051"));
    EXPECT_EQ(Window->result(), QDialog::Accepted);
    EXPECT_EQ(AppliedCount, 1);
}

TEST_F(TOptionsFixture, ABadSheetNumberKeepsTheWindowOpenAndAppliesNothing)
{
    Find<QSpinBox>("speGridStep")->setValue(20);
    Find<TxqEdit>("edSheetY")->setText(QStringLiteral("10001"));
    Window->SetActivePage(TfrmOptions::pgColors);
    Click("bbtnOK");
    EXPECT_EQ(Window->ActivePage(), TfrmOptions::pgGeneral);
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Text, QStringLiteral("Целое число должно быть в пределах 0...10000"));
    EXPECT_TRUE(Window->isVisible());
    EXPECT_EQ(Window->focusWidget(), Find<TxqEdit>("edSheetY"));
    EXPECT_EQ(Options.GridStep, 10);
    EXPECT_EQ(SheetHeight, 4000);
}

TEST_F(TOptionsFixture, BlackAndWhitePaletteRecoloursDefaultColouredBranchesOnly)
{
    Window->SetActivePage(TfrmOptions::pgColors);
    auto *palettes = Find<QComboBox>("cbxPalettes");
    palettes->setCurrentIndex(spBlackAndWhite);
    emit palettes->activated(spBlackAndWhite);
    EXPECT_TRUE(Find<QPushButton>("bbtnApply")->isEnabled());
    EXPECT_EQ(Find<QPushButton>("shpColor")->property("color").toInt(), 0xFFFFFF);
    Click("bbtnOK");
    EXPECT_EQ(Options.Colors, DefaultSchemeColors[spBlackAndWhite]);
    EXPECT_EQ((*Colors)[1], 0x000000);
    EXPECT_EQ((*Colors)[2], StudyColor);
    // Places without a branch keep what they had.
    EXPECT_EQ((*Colors)[3], 0xFF0000);
    EXPECT_FALSE(Window->isVisible());
}

TEST_F(TOptionsFixture, ApplyThenOkOnlyClosesUntilTheNextChange)
{
    auto *colors = Find<QListWidget>("lbxColors");
    colors->setCurrentRow(sciBranch);
    Click("btnChangeColor");
    EXPECT_EQ(Window->WorkingColors()[sciBranch], 0x123456);
    Find<QCheckBox>("cbxSnapToGrid")->setChecked(true);
    Click("bbtnApply");
    EXPECT_EQ(Options.Colors[sciBranch], 0x123456);
    EXPECT_TRUE(Options.SnapToGrid);
    EXPECT_EQ((*Colors)[1], 0x123456);
    EXPECT_FALSE(Find<QPushButton>("bbtnApply")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>("bbtnCancel")->isEnabled());
    EXPECT_EQ(AppliedCount, 1);

    // Any later change makes OK apply again, so no edit is lost.
    Find<QLineEdit>("edFans")->setText(QStringLiteral("/f"));
    EXPECT_TRUE(Find<QPushButton>("bbtnApply")->isEnabled());
    Click("bbtnOK");
    EXPECT_EQ(Options.FanLocations, QStringLiteral("/f"));
    EXPECT_EQ(Window->result(), QDialog::Accepted);
    EXPECT_EQ(AppliedCount, 2);
}

TEST_F(TOptionsFixture, OkAfterApplyWithoutChangesClosesAsCancel)
{
    Click("bbtnApply");  // disabled until something changes
    EXPECT_EQ(AppliedCount, 0);
    Find<QCheckBox>("cbxShowSheet")->setChecked(true);
    Click("bbtnApply");
    EXPECT_EQ(AppliedCount, 1);
    Click("bbtnOK");
    EXPECT_EQ(Window->result(), QDialog::Rejected);
    EXPECT_EQ(AppliedCount, 1);
}

TEST_F(TOptionsFixture, ControlsMapOntoTheSettings)
{
    Find<QRadioButton>("rbMaxPlusOne")->setChecked(true);
    Find<QRadioButton>("rbByBranches")->setChecked(true);
    Find<QRadioButton>("rbRussianSpeeds")->setChecked(true);
    Find<QCheckBox>("cbxAskPassword")->setChecked(true);
    Click("edReportsBrowse");
    Click("edSymbolsBrowse");
    EXPECT_EQ(FolderPrompts, QStringList({QStringLiteral("Укажите папку с файлами отчетов"),
                                          QStringLiteral("Укажите папку со значками")}));
    TOptionsSet taken;
    Window->TakeSettings(taken);
    EXPECT_FALSE(taken.NewObjectsIsFirstFree);
    EXPECT_EQ(taken.ReportStyle, 0);
    EXPECT_TRUE(taken.UseRussianSpeeds);
    EXPECT_TRUE(taken.AskPasswordAtStartup);
    EXPECT_EQ(taken.ReportsLocation, QStringLiteral("/выбрано"));
    EXPECT_EQ(taken.SymbolsLocation, QStringLiteral("/выбрано"));
    EXPECT_EQ(taken.Password, QStringLiteral("секрет"));
    // Untouched fields keep their values.
    EXPECT_EQ(taken.RealTimeActive, Options.RealTimeActive);
}

TEST_F(TOptionsFixture, SymbolPreviewDrawsTheSelectedSymbolAndSurvivesAFailingOne)
{
    Window.reset();
    TOptionsHost host;
    host.Options = &Options;
    host.SymbolNames = {QStringLiteral("Вентилятор"), QStringLiteral("Сломанный")};
    QStringList drawn;
    host.DrawSymbol = [&](int index, QImage &image, const QRect &box) {
        drawn << host.SymbolNames[index];
        EXPECT_EQ(image.size(), QSize(160, 120));
        EXPECT_EQ(box, QRect(QPoint(64, 48), QPoint(96, 72)));
        if (index == 1)
            throw std::runtime_error("broken");
    };
    TfrmOptions window(host);
    auto *list = window.findChild<QListWidget *>(QStringLiteral("lbxSymbols"));
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentRow(), 0);
    list->setCurrentRow(1);
    EXPECT_EQ(drawn, QStringList({QStringLiteral("Вентилятор"), QStringLiteral("Сломанный")}));
    const QImage preview = window.findChild<QLabel *>(QStringLiteral("imgPreview"))->pixmap().toImage();
    EXPECT_EQ(preview.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(preview.pixelColor(5, 5), QColor(0xC0, 0xC0, 0xC0));
}
