#include "designer/ui/frm_insp.h"

#include <QtTest/QTest>
#include <QtWidgets/QLineEdit>

#include <gtest/gtest.h>

namespace {

class Inspector : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (int i = 0; i < 3; ++i)
            insp.AddItem(QStringLiteral("Row%1").arg(i), &values[i]);
        insp.OnModify = [this](int row, QString &value) { modified << QStringLiteral("%1=%2").arg(row).arg(value); };
        insp.show();
        insp.ResetRow();
    }
    void ClickRow(int y) { QTest::mouseClick(insp.PaintBox, Qt::LeftButton, {}, QPoint(10, y)); }

    TfrInspForm insp;
    QString values[3] = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    QStringList modified;
};

} // namespace

TEST_F(Inspector, ClickAndKeysPickRows)
{
    ClickRow(insp.RowHeight * 10);
    EXPECT_EQ(insp.ItemIndex, 2);
    EXPECT_EQ(insp.Edit1->text(), QStringLiteral("c"));

    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(insp.Edit1, &down);
    EXPECT_TRUE(down.isAccepted());
    EXPECT_EQ(insp.ItemIndex, 2);

    ClickRow(1);
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(insp.Edit1, &up);
    EXPECT_TRUE(up.isAccepted());
    EXPECT_EQ(insp.ItemIndex, 0);
    // The edit box's own handling would have moved the cursor to the start.
    insp.Edit1->setCursorPosition(1);
    QApplication::sendEvent(insp.Edit1, &up);
    EXPECT_EQ(insp.Edit1->cursorPosition(), 1);
}

TEST_F(Inspector, TypedTextGoesToTheOldRow)
{
    insp.Edit1->setFocus();
    insp.Edit1->selectAll();
    QTest::keyClicks(insp.Edit1, QStringLiteral("new"));
    ClickRow(insp.RowHeight + 2);
    EXPECT_EQ(values[0], QStringLiteral("new"));
    EXPECT_EQ(modified, QStringList{QStringLiteral("0=new")});
    EXPECT_EQ(insp.ItemIndex, 1);
    EXPECT_EQ(insp.Edit1->text(), QStringLiteral("b"));

    insp.Edit1->setText(QString(150, u'x'));
    insp.CommitValue(insp.Edit1->text());
    EXPECT_EQ(values[1].size(), TfrInspForm::MaxValueLength);
}

TEST_F(Inspector, DisabledAndEmpty)
{
    insp.SetItemEnabled(1, false);
    ClickRow(insp.RowHeight + 2);
    EXPECT_EQ(insp.ItemIndex, 0);
    insp.Empty = true;
    insp.Edit1->setText(QStringLiteral("z"));
    insp.CommitValue(QStringLiteral("z"));
    EXPECT_EQ(values[0], QStringLiteral("a"));
    EXPECT_TRUE(modified.isEmpty());
}

TEST_F(Inspector, CaptionDoubleClickRollsUpAndBack)
{
    const QSize full = insp.size();
    QTest::mouseDClick(&insp, Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_EQ(insp.height(), TfrInspForm::CaptionHeight);
    EXPECT_EQ(insp.width(), full.width() / 2);
    EXPECT_TRUE(insp.Panel1->isHidden());
    QTest::mouseDClick(&insp, Qt::LeftButton, {}, QPoint(20, 5));
    EXPECT_EQ(insp.size(), full);
    EXPECT_FALSE(insp.Panel1->isHidden());
}
