// The name and efficiency prompt: what a name may hold, typed or pasted, and
// where the efficiency starts and what OK hands back.
#include "calc/ui/frm_splein.h"
#include "platform/prompt.h"
#include "modal.h"

#include <QtGui/QKeyEvent>
#include <QtTest/QTest>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QSpinBox>

#include <gtest/gtest.h>

#include <functional>

namespace {

const QString TooLong = QStringLiteral("Для названия отведено 15 символов !");

QString Refused(const QString &c) { return QStringLiteral("Символ ") + c + QStringLiteral(" использовать не следует !"); }

QStringList Texts(const TScriptedPrompt &prompt)
{
    QStringList texts;
    for (const auto &asked : prompt.Asked)
        texts << asked.Text;
    return texts;
}

// Types the text key by key (any letters, as a keyboard layout gives them).
void Type(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// Runs `drive` inside the prompt once it is shown.
void WhenShown(std::function<void(TfrmSplein &)> drive)
{
    WhenModal([drive] {
        auto *form = qobject_cast<TfrmSplein *>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        drive(*form);
    });
}

} // namespace

TEST(NamePrompt, TypedCharacters)
{
    struct Case
    {
        QString Typed;
        QString Left;
        QStringList Messages;
    };
    const Case cases[] = {
        {QStringLiteral("ВМ.6"), QStringLiteral("ВМ6"), {Refused(".")}},
        {QStringLiteral("a/b"), QStringLiteral("ab"), {Refused("/")}},
        {QStringLiteral("-<>|№ ВЦ"), QStringLiteral("-<>|№ ВЦ"), {}},
        {QStringLiteral("Вентилятор ВОД-21"), QStringLiteral("Вентилятор ВОД-"), {TooLong, TooLong}},
    };
    for (const Case &c : cases) {
        TScriptedPrompt prompt;
        TfrmSplein form(nullptr);
        Type(form.Edit1, c.Typed);
        EXPECT_EQ(form.Edit1->text(), c.Left) << c.Typed.toStdString();
        EXPECT_EQ(Texts(prompt), c.Messages) << c.Typed.toStdString();
        EXPECT_EQ(prompt.Beeps, c.Messages.size());
        for (const auto &asked : prompt.Asked)
            EXPECT_EQ(asked.Flags, mb::Ok | mb::IconError);
    }
}

TEST(NamePrompt, PastedTextIsCheckedWhole)
{
    TScriptedPrompt prompt;
    TfrmSplein form(nullptr);
    form.Edit1->setText(QStringLiteral("ВМ"));
    form.Edit1->insert(QStringLiteral("-6\\Ц:1\t"));
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("ВМ-6Ц1"));
    EXPECT_EQ(Texts(prompt), QStringList{Refused("\\")});

    // A long paste comes down to 15 characters one at a time.
    prompt.Asked.clear();
    form.Edit1->insert(QStringLiteral("0123456789АБВГ"));
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("ВМ-6Ц1012345678"));
    EXPECT_EQ(Texts(prompt), QStringList(5, TooLong));

    // Characters code page 1251 cannot store never reach a file name.
    prompt.Asked.clear();
    form.Edit1->setText(QStringLiteral("ВМ") + QChar(0x4E2D));
    EXPECT_EQ(form.Edit1->text(), QStringLiteral("ВМ"));
    EXPECT_EQ(prompt.Asked.size(), 1u);
}

TEST(NamePrompt, AskNameEndsOnlyWithOk)
{
    TScriptedPrompt prompt;
    bool stayedOpen = false;
    WhenShown([&](TfrmSplein &form) {
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Сохранить тип вентилятора как..."));
        EXPECT_EQ(form.Edit1->text(), QStringLiteral("BНовый № 4"));
        EXPECT_FALSE(form.SpinEdit1->isVisible());
        QTest::keyClick(&form, Qt::Key_Escape);
        stayedOpen = form.isVisible();
        form.Edit1->setText(QStringLiteral("ВОД-30"));
        QTest::mouseClick(form.btnOk, Qt::LeftButton);
    });
    QString name = QStringLiteral("BНовый № 4");
    EXPECT_TRUE(AskName(nullptr, name, QStringLiteral("Сохранить тип вентилятора как...")));
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(name, QStringLiteral("ВОД-30"));
}

TEST(EfficiencyPrompt, StartsInsideItsRangeAndHandsBackTheValue)
{
    const std::pair<int, int> starts[] = {{0, 57}, {96, 57}, {20, 20}, {95, 95}, {75, 75}};
    for (const auto &[given, shown] : starts) {
        int seen = -1;
        WhenShown([&](TfrmSplein &form) {
            seen = form.SpinEdit1->value();
            EXPECT_FALSE(form.Edit1->isVisible());
            EXPECT_EQ(form.windowTitle(), QStringLiteral("Укажите КПД вентилятора"));
            form.SpinEdit1->setValue(80);
            QTest::mouseClick(form.btnOk, Qt::LeftButton);
        });
        int efficiency = given;
        EXPECT_TRUE(AskFanEfficiency(nullptr, efficiency));
        EXPECT_EQ(seen, shown) << given;
        EXPECT_EQ(efficiency, 80);
    }
}
