#include "platform/prompt.h"
#include "shell/ui/xq_edit.h"

#include <QtTest/QTest>
#include <QtWidgets/QDialog>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// A shown dialog with a decoy edit that holds the focus at first.
struct TDialog
{
    QDialog Dialog;
    QLineEdit *Other = new QLineEdit(&Dialog);
    TxqEdit *Edit = new TxqEdit(&Dialog);
    TDialog()
    {
        auto *layout = new QVBoxLayout(&Dialog);
        layout->addWidget(Other);
        layout->addWidget(Edit);
        Dialog.show();
        Other->setFocus();
        Dialog.setResult(QDialog::Accepted);
    }
    // The focus went to the edit and the dialog's result was cleared.
    bool FailureMarked() const { return Dialog.focusWidget() == Edit && Dialog.result() == 0; }
};

template <typename E, typename F>
QString MessageOf(F read)
{
    try {
        read();
    } catch (const E &e) {
        return e.Message();
    }
    return QStringLiteral("(no exception)");
}

} // namespace

TEST(XqEdit, ConversionErrorsQuoteTheTextForBothKinds)
{
    const QString texts[] = {QStringLiteral("12,5"), QStringLiteral("12.5"), QString(), QStringLiteral("abc")};
    for (const QString &text : texts) {
        TDialog d;
        d.Edit->setText(text);
        EXPECT_EQ(MessageOf<EConvertError>([&] { d.Edit->GetIntValue(); }),
                  u'"' + text + QStringLiteral("\" - неверно заданное целое число!"));
        EXPECT_TRUE(d.FailureMarked()) << text.toStdString();
        EXPECT_EQ(d.Edit->text(), text);
    }
    for (const QString &text : {QString(), QStringLiteral("1,2,3"), QStringLiteral("inf")}) {
        TDialog d;
        d.Edit->setText(text);
        EXPECT_EQ(MessageOf<EConvertError>([&] { d.Edit->GetFloatValue(); }),
                  u'"' + text + QStringLiteral("\" - неверно заданное число!"));
        EXPECT_TRUE(d.FailureMarked());
    }
}

TEST(XqEdit, IntegerRanges)
{
    struct TCase
    {
        bool Check;
        int Min, Max;
        QString Text;
        bool Accepted;
    };
    const TCase cases[] = {
        {false, 0, 10, QStringLiteral("-5"), true},
        {true, 0, 10000, QStringLiteral("10000"), true},
        {true, 0, 10000, QStringLiteral("0"), true},
        {true, 0, 10000, QStringLiteral("10001"), false},
        {true, 0, 10000, QStringLiteral("-1"), false},
        {true, 0, 0, QStringLiteral("0"), true},
        {true, 0, 0, QStringLiteral("1"), false},
    };
    for (const TCase &c : cases) {
        TDialog d;
        d.Edit->IntMin = c.Min;
        d.Edit->IntMax = c.Max;
        d.Edit->CheckDiap = c.Check;
        d.Edit->setText(c.Text);
        if (c.Accepted) {
            EXPECT_EQ(d.Edit->GetIntValue(), c.Text.toInt());
            EXPECT_EQ(d.Dialog.result(), QDialog::Accepted);
        } else {
            EXPECT_EQ(MessageOf<EInvalidIntDiap>([&] { d.Edit->GetIntValue(); }),
                      QStringLiteral("Целое число должно быть в пределах %1...%2").arg(c.Min).arg(c.Max));
            EXPECT_TRUE(d.FailureMarked());
        }
    }
}

TEST(XqEdit, RealRangesAndFormats)
{
    TDialog d;
    d.Edit->SetFloatRange(-1.5, 100);
    d.Edit->setText(QStringLiteral("100,0"));
    EXPECT_EQ(d.Edit->GetFloatValue(), 100.0);
    d.Edit->setText(QStringLiteral("-1.5"));
    EXPECT_EQ(d.Edit->GetFloatValue(), -1.5);
    d.Edit->setText(QStringLiteral("100,001"));
    EXPECT_EQ(MessageOf<EInvalidFloatDiap>([&] { d.Edit->GetFloatValue(); }),
              QStringLiteral("Число с плавающей точкой должно быть в пределах -1,50...100,00"));
    EXPECT_TRUE(d.FailureMarked());

    TxqEdit edit;
    edit.SetFloatValue(2.0 / 3);
    EXPECT_EQ(edit.text(), QStringLiteral("0,66666667"));
    EXPECT_TRUE(edit.isModified());
    // A new format rewrites the text in it at once.
    edit.SetFloatFormat(ffFixed);
    EXPECT_EQ(edit.text(), QStringLiteral("0,67"));
    edit.SetFloatPrecision(3);
    EXPECT_EQ(edit.text(), QStringLiteral("0,670"));
    edit.setText(QStringLiteral("x"));
    EXPECT_THROW(edit.SetFloatFormat(ffExponent), EConvertError);
    edit.SetIntValue(-42);
    EXPECT_EQ(edit.text(), QStringLiteral("-42"));
}

TEST(XqEdit, IsValidIntAndPlainEdits)
{
    TDialog d;
    d.Edit->setText(QStringLiteral("1 2"));
    EXPECT_FALSE(d.Edit->IsValidInt());
    EXPECT_TRUE(d.FailureMarked());
    d.Edit->setText(QStringLiteral("12"));
    EXPECT_TRUE(d.Edit->IsValidInt());

    // Plain edits: no range, and the focus moves even to a hidden edit.
    d.Other->setText(QStringLiteral("-7"));
    EXPECT_EQ(EditToInt(d.Other), -7);
    d.Other->setText(QStringLiteral("2,5"));
    EXPECT_EQ(EditToFloat(d.Other), 2.5);
    d.Other->hide();
    d.Dialog.setResult(QDialog::Accepted);
    EXPECT_EQ(MessageOf<EConvertError>([&] { EditToInt(d.Other); }), QStringLiteral("\"2,5\" - неверно заданное целое число!"));
    EXPECT_EQ(d.Dialog.result(), 0);
}

TEST(XqEdit, OkWithABadValueShowsTheMessageAndKeepsTheDialogOpen)
{
    TScriptedPrompt prompt;
    QDialog dialog;
    auto *first = new TxqEdit(&dialog);
    auto *second = new TxqEdit(&dialog);
    auto *ok = new QPushButton(QStringLiteral("OK"), &dialog);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(first);
    layout->addWidget(second);
    layout->addWidget(ok);
    first->SetIntRange(1, 1000);
    second->SetFloatRange(0, 10);
    QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
        if (ValidateEdits({{first, TEditKind::Int}, {second, TEditKind::Float}}))
            dialog.accept();
    });
    dialog.open();
    first->setText(QStringLiteral("5"));
    second->setText(QStringLiteral("11"));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), second);
    ASSERT_EQ(prompt.Asked.size(), 1u);
    EXPECT_EQ(prompt.Asked[0].Text, QStringLiteral("Число с плавающей точкой должно быть в пределах 0,00...10,00"));
    EXPECT_EQ(prompt.Asked[0].Flags & mb::IconMask, mb::IconError);
    EXPECT_EQ(prompt.Asked[0].Caption, QStringLiteral("Zyr \"Ворбаль\""));

    second->setText(QStringLiteral("9,5"));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}
