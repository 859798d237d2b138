// The record, journal, rubric and settings dialogs on journals of the test's
// own, with the network read through the program's exports.
#include "journal/ui/frm_kerstal.h"
#include "journal/ui/frm_options.h"
#include "journal/ui/frm_property.h"
#include "journal/ui/frm_rubric_property.h"
#include "journal/ui/frm_vj_record_input.h"
#include "kerstal_fixture.h"
#include "platform/paths.h"
#include "shell/ui/xq_edit.h"

#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QButtonGroup>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QDateEdit>
#include "report/formats.h"
#include <QtWidgets/QLineEdit>

namespace {

class JournalDialogsTest : public KerstalTest
{
protected:
    void SetUp() override
    {
        KerstalTest::SetUp();
        Rubric = Journal.Add(std::make_unique<TRubric>(&Journal));
        Rubric->Name = QStringLiteral("Лава");
        Record = Rubric->Items(0);
        Record->InBranch = {1, QStringLiteral("старое"), 11, 500, 0.5, 10, 80};
        Record->OutBranch.Number = 7;  // not in the network
        Record->OutBranch.Sec = 3.5;
        Record->OutBranch.CH4 = QStringLiteral("0,5");
    }

    static QStringList Values(const TfrmVJRecordInput::TGroup &g)
    {
        return {g.Sec->text(), g.Out->text(), g.Speed->text(), g.Temperature->text(), g.Name->text()};
    }

    TKerstal Journal{QStringLiteral("Ж")};
    TRubric *Rubric = nullptr;
    TRubricRecord *Record = nullptr;
};

} // namespace

TEST_F(JournalDialogsTest, RecordDialogFillsFromTheNetworkAsANumberIsTyped)
{
    TfrmVJRecordInput d(*Record, ProgramNetwork());
    EXPECT_EQ(d.windowTitle(), QStringLiteral("Лава"));
    // The record's own values over the network's; the name is the network's.
    EXPECT_EQ(Values(d.In), (QStringList{QStringLiteral("11"), QStringLiteral("500"), QStringLiteral("0,5"),
                                         QStringLiteral("10"), QStringLiteral("Штрек")}));
    EXPECT_EQ(d.Ex.Name->text(), QString());
    EXPECT_EQ(d.edCH4->text(), QStringLiteral("0,5"));
    EXPECT_FALSE(d.Changed);

    d.Ex.Number->setText(QStringLiteral("1"));
    EXPECT_EQ(Values(d.Ex), (QStringList{QStringLiteral("12"), QStringLiteral("600"), QStringLiteral("0,83333333"),
                                         QStringLiteral("15"), QStringLiteral("Штрек")}));
    d.Ex.Number->setText(QStringLiteral("3"));
    EXPECT_EQ(Values(d.Ex), QStringList(5, QString()));
    // A number beyond 16 bits names no branch (70000 would wrap to 4464).
    Branch(4464, 1, 1, 1, QStringLiteral("Чужая"));
    d.Ex.Number->setText(QStringLiteral("70000"));
    EXPECT_EQ(d.Ex.Name->text(), QString());
    EXPECT_TRUE(d.Changed);
    EXPECT_TRUE(Prompt.Asked.empty());
    // A text that is no number says so.
    d.Ex.Number->clear();
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Text, QStringLiteral("\"\" - неверно заданное целое число!"));
}

TEST_F(JournalDialogsTest, RecordDialogWritesOnlyAWholeChange)
{
    // OK without a change: false, and Modified stays as it was.
    WhenDialog([](QDialog *d) { d->findChild<QAbstractButton *>(QStringLiteral("btnOk"))->click(); });
    EXPECT_FALSE(EditRecord(*Record, ProgramNetwork(), nullptr));
    EXPECT_FALSE(Journal.Modified);

    // A bad field keeps the dialog open with nothing written; Cancel then writes nothing.
    struct TCase
    {
        const char *Field;
        const char *Text;
    };
    for (const TCase &c : {TCase{"edExNumber", "70000"}, TCase{"edExWaternity", "сухо"}, TCase{"edExOut", ""}}) {
        bool stayedOpen = false;
        WhenDialog([&](QDialog *d) {
            d->findChild<QLineEdit *>(QStringLiteral("edInNumber"))->setText(QStringLiteral("2"));
            d->findChild<QLineEdit *>(QString::fromLatin1(c.Field))->setText(QString::fromUtf8(c.Text));
            d->findChild<QAbstractButton *>(QStringLiteral("btnOk"))->click();
            stayedOpen = d->isVisible();
            d->reject();
        });
        EXPECT_FALSE(EditRecord(*Record, ProgramNetwork(), nullptr)) << c.Field;
        EXPECT_TRUE(stayedOpen) << c.Field;
        EXPECT_EQ(Record->InBranch.Number, 1) << c.Field;
        EXPECT_EQ(Record->InBranch.Name, QStringLiteral("старое")) << c.Field;
        EXPECT_FALSE(Journal.Modified) << c.Field;
    }

    // A good change takes both measurements; the missing branch's name is empty.
    WhenDialog([](QDialog *d) {
        d->findChild<QLineEdit *>(QStringLiteral("edInNumber"))->setText(QStringLiteral("2"));
        d->findChild<QLineEdit *>(QStringLiteral("edCO"))->setText(QStringLiteral("0,01"));
        d->findChild<QAbstractButton *>(QStringLiteral("btnOk"))->click();
    });
    EXPECT_TRUE(EditRecord(*Record, ProgramNetwork(), nullptr));
    EXPECT_TRUE(Journal.Modified);
    EXPECT_EQ(Record->InBranch.Number, 2);
    EXPECT_EQ(Record->InBranch.Out, 120);
    EXPECT_DOUBLE_EQ(Record->InBranch.Sec, 4);
    EXPECT_EQ(Record->OutBranch.Number, 7);
    EXPECT_EQ(Record->OutBranch.Name, QString());
    EXPECT_EQ(Record->OutBranch.CO, QStringLiteral("0,01"));
}

TEST_F(JournalDialogsTest, RubricTypeFollowsTheChosenButton)
{
    for (int type = 0; type < 5; ++type) {
        WhenDialog([type](QDialog *d) {
            auto *dialog = static_cast<TfrmRubricProperty *>(d);
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Свойства рубрики \"Лава\""));
            dialog->rgType->button(type)->click();
            dialog->findChild<QAbstractButton *>(QStringLiteral("btnOk"))->click();
        });
        Rubric->RubricType = type == 0 ? 4 : 0;
        EXPECT_TRUE(EditRubricProperties(*Rubric, nullptr)) << type;
        EXPECT_EQ(Rubric->RubricType, type);
    }
    EXPECT_EQ(RubricTypeCaptions().value(3), QStringLiteral("Внешние утечки"));
}

TEST_F(JournalDialogsTest, JournalPropertiesRefuseAMainFanCountBeyond16Bits)
{
    Journal.VGPCount = 2;
    WhenDialog([](QDialog *d) {
        auto *dialog = static_cast<TfrmProperty *>(d);
        dialog->edVGPCount->setText(QStringLiteral("70000"));
        dialog->findChild<QAbstractButton *>(QStringLiteral("btnOk"))->click();
        EXPECT_TRUE(dialog->isVisible());
        dialog->edVGPCount->setText(QStringLiteral("3"));
        dialog->edMineName->setText(QStringLiteral("Северная"));
        dialog->dtpEnds->setDate(QDate(2025, 3, 1));
        dialog->findChild<QAbstractButton *>(QStringLiteral("btnOk"))->click();
    });
    const double begins = Journal.VJBegins;
    Journal.VJEnds = EncodeDate(2024, 1, 1) + 0.5;
    EXPECT_TRUE(EditJournalProperties(Journal, Folder.path(), nullptr));
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    EXPECT_EQ(Prompt.Asked[0].Text, QStringLiteral("Целое число должно быть в пределах 0...65535"));
    EXPECT_EQ(Journal.VGPCount, 3);
    EXPECT_EQ(Journal.MineName, QStringLiteral("Северная"));
    EXPECT_DOUBLE_EQ(Journal.VJEnds, EncodeDate(2025, 3, 1) + 0.5);  // the time of day stays
    EXPECT_DOUBLE_EQ(Journal.VJBegins, begins);
    EXPECT_TRUE(Journal.Modified);
}

TEST_F(JournalDialogsTest, SettingsStartAsDefaultsAndKeepWhatOkWrote)
{
    {
        TfrmKerstal w(ProgramNetwork());
        EXPECT_EQ(w.Options.LinesPerPage, 50);
        EXPECT_TRUE(w.Options.OpenLast);
        EXPECT_EQ(w.Options.TypeVJ, QStringLiteral("Украина"));
        EXPECT_EQ(w.Options.CurDir, QString());
        // The start folder's journals are opened.
        EXPECT_EQ(w.JournalsDir, StartFolder());
    }
    TVJOptionSet options;
    const auto setLines = [&](const QString &text) {
        WhenDialog([text](QDialog *d) {
            auto *dialog = static_cast<kerstal::TfrmOptions *>(d);
            EXPECT_TRUE(dialog->cbDeleteFile->isChecked() && !dialog->cbDeleteFile->isEnabled());
            dialog->edLinesPerPage->setText(text);
            dialog->findChild<QAbstractButton *>(QStringLiteral("btnOk"))->click();
            if (dialog->isVisible())
                dialog->reject();
        });
        return kerstal::EditOptions(options, nullptr);
    };
    EXPECT_TRUE(setLines(QStringLiteral("30")));
    EXPECT_EQ(TVJOptionSet().LinesPerPage, 30);
    TSettingsStore store(TSettingsScope::Machine);
    ASSERT_TRUE(store.OpenKeyReadOnly(VJOptionsReadKey));
    EXPECT_EQ(store.ReadInteger(QStringLiteral("LinesPerPage")), 30);
    // Reopened, it shows 30; a page of one line is refused.
    WhenDialog([](QDialog *d) {
        EXPECT_EQ(static_cast<kerstal::TfrmOptions *>(d)->edLinesPerPage->text(), QStringLiteral("30"));
        d->reject();
    });
    EXPECT_FALSE(kerstal::EditOptions(options, nullptr));
    EXPECT_FALSE(setLines(QStringLiteral("1")));
    EXPECT_EQ(options.LinesPerPage, 30);
    ASSERT_EQ(Prompt.Asked.size(), 1u);
    // Values outside the arrows' range are taken.
    EXPECT_TRUE(setLines(QStringLiteral("150")));
    EXPECT_EQ(TVJOptionSet().LinesPerPage, 150);
}
