#include "../designer_fixture.h"
#include "designer/design_state.h"
#include "designer/ui/designer_dialog_hooks.h"
#include "designer/ui/frm_designer.h"
#include "platform/prompt.h"
#include "report/report_page.h"
#include "report/ui/speed_button.h"

#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListWidget>
#include <QtWidgets/QMenu>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QTabBar>

#include <gtest/gtest.h>

namespace {

// Runs `drive` in the next modal dialog, then closes it unless it closed.
void OnModal(std::function<void(QDialog &)> drive)
{
    QTimer::singleShot(0, [drive = std::move(drive)] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        drive(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

template <class T> T *Child(QDialog &dialog, const char *name)
{
    T *w = dialog.findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

class DesignerDialogs : public ::testing::Test, protected TDesignerFixture
{
protected:
    void SetUp() override
    {
        InstallDesignerDialogHooks();
        InstallReportDesigner();
        form = CurrentDesignerForm;
        Report.TemplatePages.Add();
    }
    void TearDown() override
    {
        RemoveReportDesigner();
        RemoveDesignerDialogHooks();
    }
    // Shows the designer as the engine does and runs `inside` while it is up.
    void Design(const std::function<void()> &inside)
    {
        QTimer::singleShot(0, form, [this, inside] {
            inside();
            form->accept();
        });
        Report.DesignReport();
    }
    TfrMemoView &AddMemo(bool selected)
    {
        auto memo = std::make_unique<TfrMemoView>();
        memo->Selected = selected;
        TfrMemoView &m = *memo;
        form->Page->TemplateObjects.push_back(std::move(memo));
        return m;
    }

    TfrDesignerForm *form = nullptr;
};

} // namespace

TEST_F(DesignerDialogs, DialogCommandsAreEnabledOthersStayOff)
{
    Design([this] {
        for (const char *name : {"N23", "N42", "N8", "N25", "N14", "N34", "N29"})
            EXPECT_TRUE(form->Item(QLatin1String(name))->isEnabled()) << name;
        for (const char *name : {"PgB1", "PgB3"})
            EXPECT_TRUE(form->Button(QLatin1String(name))->isEnabled()) << name;
        EXPECT_TRUE(form->Item(QStringLiteral("N17"))->isEnabled());
    });
}

TEST_F(DesignerDialogs, PageOptionsMarkModifiedOnlyWhenConfirmed)
{
    Design([this] {
        OnModal([](QDialog &) {});
        form->Item(QStringLiteral("N25"))->trigger();
        EXPECT_FALSE(form->FileModified);

        OnModal([](QDialog &d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("Параметры страницы"));
            Child<QLineEdit>(d, "E3")->setText(QStringLiteral("10"));
            d.accept();
        });
        form->Button(QStringLiteral("PgB3"))->OnClick();
        EXPECT_EQ(form->Page->MarginLeft, 36);
        EXPECT_TRUE(form->Modified);
        EXPECT_TRUE(form->FileModified);
    });
}

TEST_F(DesignerDialogs, AddedPageStaysOnlyWithConfirmedOptions)
{
    Design([this] {
        OnModal([](QDialog &) {});
        form->Button(QStringLiteral("PgB1"))->OnClick();
        EXPECT_EQ(Report.TemplatePages.Count(), 1);
        EXPECT_EQ(form->Page, &Report.TemplatePages.GetPage(0));
        EXPECT_FALSE(form->FileModified);

        OnModal([](QDialog &d) { d.accept(); });
        form->Item(QStringLiteral("N29"))->trigger();
        ASSERT_EQ(Report.TemplatePages.Count(), 2);
        EXPECT_EQ(form->CurPage, 1);
        EXPECT_EQ(form->Tab1->tabText(1), QStringLiteral("Стр.2"));
        EXPECT_TRUE(form->FileModified);
    });
}

TEST_F(DesignerDialogs, DesignerOptionsGoThroughTheSetters)
{
    Design([this] {
        OnModal([](QDialog &d) {
            Child<QRadioButton>(d, "Grid8RB")->setChecked(true);
            Child<QRadioButton>(d, "MmRB")->setChecked(true);
            d.accept();
        });
        form->Item(QStringLiteral("N14"))->trigger();
        EXPECT_EQ(form->Options.GridSize, 8);
        EXPECT_EQ(form->StatusUnits->text(), QStringLiteral("Миллиметры"));
        // Options are not the template: nothing to save.
        EXPECT_FALSE(form->FileModified);
        // Closing stores the options; the next designer starts from the defaults.
        form->SetGridSize(4);
        form->SetUnits(0);
    });
}

TEST_F(DesignerDialogs, WizardSelectsOnlyTheInsertedFields)
{
    Design([this] {
        TfrMemoView &old = AddMemo(true);
        auto band = std::make_unique<TfrBandView>();
        band->SetBandType(btMasterData);
        form->Page->TemplateObjects.push_back(std::move(band));
        OnModal([](QDialog &d) {
            Child<QListWidget>(d, "FieldsL")->item(0)->setSelected(true);
            d.accept();
        });
        form->MastMenu->actions().front()->trigger();
        auto &objects = form->Page->TemplateObjects;
        ASSERT_EQ(objects.size(), 4u);
        EXPECT_EQ(objects[0]->ReportObjectType, gtBand);
        EXPECT_FALSE(old.Selected);
        EXPECT_TRUE(objects[2]->Selected);
        EXPECT_TRUE(objects[3]->Selected);
        EXPECT_EQ(SelectedCount, 2);
        EXPECT_TRUE(form->FileModified);

        // Cancelled: the selection is as it was.
        OnModal([](QDialog &) {});
        form->MastMenu->actions().front()->trigger();
        EXPECT_EQ(objects.size(), 4u);
        EXPECT_TRUE(objects[3]->Selected);

        // One undo takes the whole insertion back.
        form->UndoBClick();
        EXPECT_EQ(objects.size(), 2u);
    });
}

