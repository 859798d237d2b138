#include "../../report/build_fixture.h"

#include "designer/ui/dock.h"
#include "designer/ui/frm_designer.h"
#include "platform/prompt.h"
#include "report/ui/frm_preview.h"
#include "report/ui/speed_button.h"

#include <QtCore/QTimer>
#include <QtTest/QTest>

namespace {

class TAsked : public TPrompt
{
public:
    QStringList Asked;
    int MessageBox(const QString &text, const QString &, int) override
    {
        Asked << text;
        return idNo;
    }
};

class PageEditing : public ReportBuild
{
protected:
    void SetUp() override
    {
        ReportBuild::SetUp();
        previous = SetPrompt(&prompt);
        InstallReportDesigner();
        first = CurrentDesignerForm;
        TfrPage &page = Page();
        Band(page, btMasterData, 0, 100, QStringLiteral("2"), 2);
        Memo(page, 20, 20, 100, 17, QStringLiteral("[LINE#]"));
        Report.PrepareReport();
        ASSERT_EQ(Report.PreparedPages.Count(), 2);
        Report.ModalPreview = false;
        preview = std::make_unique<TfrPreviewForm>();
        preview->ShowReport(Report);
    }
    void TearDown() override
    {
        preview.reset();
        RemoveReportDesigner();
        SetPrompt(previous);
        ReportBuild::TearDown();
    }
    // Ctrl+E in the preview, with `inside` run in the second designer.
    void EditFromPreview(const std::function<void(TfrDesignerForm &)> &inside)
    {
        QTimer wait;
        QObject::connect(&wait, &QTimer::timeout, [&] {
            TfrDesignerForm *second = CurrentDesignerForm;
            if (second == first || !second->isVisible())
                return;
            wait.stop();
            inside(*second);
            second->accept();
        });
        wait.start(10);
        QTest::keyClick(preview->PageBox, Qt::Key_E, Qt::ControlModifier);
        wait.stop();
    }

    TAsked prompt;
    TPrompt *previous = nullptr;
    TfrDesignerForm *first = nullptr;
    std::unique_ptr<TfrPreviewForm> preview;
};

} // namespace

TEST_F(PageEditing, SecondDesignerAsksOnlyAfterAChange)
{
    bool opened = false;
    EditFromPreview([&](TfrDesignerForm &second) {
        opened = true;
        EXPECT_NE(&second, first);
        EXPECT_FALSE(second.FirstInstance);
        EXPECT_EQ(second.windowTitle(), QStringLiteral("Дизайнер"));
        EXPECT_FALSE(second.Button(QStringLiteral("PgB1"))->isEnabled());
        EXPECT_FALSE(second.Button(QStringLiteral("PgB2"))->isEnabled());
        EXPECT_FALSE(second.Button(QStringLiteral("FileBtn4"))->isEnabled());
        EXPECT_TRUE(second.Panel6->isHidden());
    });
    EXPECT_TRUE(opened);
    EXPECT_TRUE(prompt.Asked.isEmpty());
    EXPECT_EQ(CurrentDesignerForm, first);

    EditFromPreview([](TfrDesignerForm &second) { second.RemovePage(0); });
    EXPECT_EQ(prompt.Asked, QStringList{QStringLiteral("Сохранить изменения?")});
    EXPECT_EQ(CurrentDesignerForm, first);
}
