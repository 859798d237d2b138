#include "designer/ui/frm_designer.h"

#include "designer/ui/designer_dialog_hooks.h"
#include "designer/ui/dock.h"
#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "report/engine.h"
#include "report/ui/speed_button.h"

#include <QtCore/QTimer>
#include <QtWidgets/QLabel>
#include <QtGui/QAction>
#include <QtWidgets/QMenu>
#include <QtWidgets/QTabBar>

#include <gtest/gtest.h>

namespace {

class TAnswer : public TPrompt
{
public:
    int Answer = idYes;
    QStringList Asked;
    int MessageBox(const QString &text, const QString &, int) override
    {
        Asked << text;
        return Answer;
    }
};

class DesignerForm : public ::testing::Test
{
protected:
    void SetUp() override
    {
        previous = SetPrompt(&prompt);
        InstallDesignerDialogHooks();
        InstallReportDesigner();
        form = CurrentDesignerForm;
    }
    void TearDown() override
    {
        RemoveReportDesigner();
        RemoveDesignerDialogHooks();
        SetPrompt(previous);
    }
    // Shows the designer as DesignReport does and runs `inside` while it is up.
    void Design(const std::function<void()> &inside)
    {
        QTimer::singleShot(0, form, [this, inside] {
            inside();
            form->accept();
        });
        report.DesignReport();
    }

    TfrEngineScope engine;
    TAnswer prompt;
    TPrompt *previous = nullptr;
    TfrReport report;
    TfrDesignerForm *form = nullptr;
};

} // namespace

TEST_F(DesignerForm, OpensOnTheFirstPageWithItsFileName)
{
    report.TemplatePages.Add();
    report.TemplatePages.Add();
    form->SetFileName(QStringLiteral("/data/air.frf"));
    Design([this] {
        EXPECT_EQ(form->windowTitle(), QStringLiteral("Дизайнер - air.frf"));
        EXPECT_EQ(form->Tab1->count(), 2);
        EXPECT_EQ(form->Tab1->currentIndex(), 0);
        EXPECT_EQ(form->Tab1->tabText(0), QStringLiteral("Стр.1"));
        EXPECT_TRUE(form->Button(QStringLiteral("OB1"))->Down());
        EXPECT_FALSE(form->Button(QStringLiteral("UndoB"))->isEnabled());
        EXPECT_FALSE(form->Button(QStringLiteral("RedoB"))->isEnabled());
        // The dialogs are reached; the commands of later work stay disabled.
        EXPECT_TRUE(form->Item(QStringLiteral("N14"))->isEnabled());
        EXPECT_TRUE(form->Button(QStringLiteral("PgB3"))->isEnabled());
        EXPECT_FALSE(form->Item(QStringLiteral("N46"))->isEnabled());
        EXPECT_TRUE(form->Item(QStringLiteral("N20"))->isEnabled());
        EXPECT_EQ(form->StatusUnits->text(), QStringLiteral("Пикселы"));
        form->SetUnits(1);
        EXPECT_EQ(form->StatusUnits->text(), QStringLiteral("Миллиметры"));
        form->SetUnits(0);
        EXPECT_EQ(form->Panel2->ParentDock(), form->frDock1);
        EXPECT_EQ(form->frDock1->height(), 53);
    });
}

TEST_F(DesignerForm, HidingStoresOptionsAndPlacements)
{
    report.TemplatePages.Add();
    Design([] {});
    TSettingsStore store(TSettingsScope::User);
    ASSERT_TRUE(store.OpenKeyReadOnly(LibraryRegistryRoot() + QStringLiteral("\\ToolBar\\Panel1")));
    EXPECT_EQ(store.ReadString(QStringLiteral("isFloat")), QStringLiteral("0"));
    EXPECT_EQ(store.ReadString(QStringLiteral("isVisible")), QStringLiteral("1"));
    EXPECT_EQ(store.ReadString(QStringLiteral("DockName")), QStringLiteral("frDock1"));
    ASSERT_TRUE(store.OpenKeyReadOnly(LibraryRegistryRoot() + QStringLiteral("\\Form\\frDesignerForm")));
    EXPECT_EQ(store.ReadString(QStringLiteral("GridSize")), QStringLiteral("4"));
    EXPECT_EQ(store.ReadString(QStringLiteral("GridAlign")), QStringLiteral("1"));
    EXPECT_EQ(store.ReadString(QStringLiteral("Units")), QStringLiteral("0"));

    // A toolbar left floating comes back floating where it was.
    Design([this] { form->Panel3->FloatAtPos(300, 200); });
    Design([this] {
        EXPECT_TRUE(form->Panel3->Floating);
        ASSERT_TRUE(form->Panel3->FloatForm);
        EXPECT_EQ(form->Panel3->FloatForm->pos(), QPoint(300, 200));
        EXPECT_EQ(form->Panel3->FloatForm->width(), form->Panel3->width() - 11);
        form->Panel3->PlaceInDock(form->frDock3, 0, 0);
    });
    Design([this] { EXPECT_EQ(form->Panel3->ParentDock(), form->frDock3); });
}

TEST_F(DesignerForm, RemovingAPageFixesSubreports)
{
    TfrPage &first = report.TemplatePages.Add();
    report.TemplatePages.Add();
    report.TemplatePages.Add();
    for (int shows : {1, 2}) {
        auto sub = std::make_unique<TfrSubReportView>();
        sub->PageIndex = shows;
        first.TemplateObjects.push_back(std::move(sub));
    }
    Design([this, &first] {
        form->SetPage(1);
        form->Button(QStringLiteral("PgB2"))->Click();
        EXPECT_EQ(prompt.Asked, QStringList{QStringLiteral("Удалить страницу?")});
        EXPECT_EQ(report.TemplatePages.Count(), 2);
        ASSERT_EQ(first.TemplateObjects.size(), 1u);
        EXPECT_EQ(static_cast<TfrSubReportView &>(*first.TemplateObjects[0]).PageIndex, 1);
        EXPECT_EQ(form->Tab1->count(), 2);
        EXPECT_EQ(form->Tab1->tabText(1), QStringLiteral("Стр.2"));
        EXPECT_TRUE(form->Modified);
    });
    TfrReport single;
    single.TemplatePages.Add().TemplateObjects.push_back(std::make_unique<TfrMemoView>());
    QTimer::singleShot(0, form, [this, &single] {
        form->RemovePage(0);
        EXPECT_EQ(single.TemplatePages.Count(), 1);
        EXPECT_TRUE(single.TemplatePages.GetPage(0).TemplateObjects.empty());
        form->accept();
    });
    single.DesignReport();
}

TEST_F(DesignerForm, WizardsBelongToTheFirstDesignerOnly)
{
    EXPECT_TRUE(form->FirstInstance);
    EXPECT_TRUE(form->MastMenu->isEnabled());
    ASSERT_GE(form->Panel6->Controls().size(), 2u);
    EXPECT_EQ(form->Panel6->Controls()[1]->property("tag").toInt(), 36);

    TfrAddInObjectInfo addIn;
    addIn.ClassName = QStringLiteral("TTestAddInView");
    addIn.ButtonHint = QStringLiteral("Проба");
    ASSERT_TRUE(RegisterAddInClass(addIn));
    std::unique_ptr<TfrReportDesigner> second = form->CreateAnother();
    auto &other = static_cast<TfrDesignerForm &>(*second);
    EXPECT_FALSE(other.FirstInstance);
    EXPECT_EQ(CurrentDesignerForm, &other);
    EXPECT_FALSE(other.MastMenu->isEnabled());
    EXPECT_EQ(other.Panel4->Controls().back()->property("tag").toInt(), 10 + AddInClassCount - 1);
    EXPECT_EQ(other.Panel4->Controls().back()->toolTip(), QStringLiteral("Проба"));
    EXPECT_FALSE(other.Button(QStringLiteral("PgB1"))->isEnabled());
    other.SetFileName(QStringLiteral("/data/air.frf"));
    EXPECT_EQ(other.windowTitle(), QStringLiteral("Дизайнер"));
    second.reset();
    EXPECT_EQ(CurrentDesignerForm, form);
}
