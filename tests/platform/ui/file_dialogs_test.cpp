#include "platform/ui/file_dialogs.h"
#include "platform/ui/translations.h"
#include "modal.h"

#include <QtCore/QElapsedTimer>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QTemporaryDir>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QLineEdit>
#include <QtGui/QFileSystemModel>

#include <gtest/gtest.h>

namespace {

const TFileFilters Filters = {{QStringLiteral("Схемы (*.mine; *.min)"), {"*.mine", "*.min"}},
                              {QStringLiteral("Тексты (*.txt)"), {"*.txt"}},
                              {QStringLiteral("Выгрузка (*.sp?)"), {"*.sp?"}}};

// The file names the dialog lists in its folder, once it has read them.
QStringList Listed(QFileDialog &dialog, int expected)
{
    auto *model = dialog.findChild<QFileSystemModel *>();
    if (!model)
        return {};
    const QModelIndex root = model->index(dialog.directory().absolutePath());
    QElapsedTimer waited;
    waited.start();
    while (model->rowCount(root) != expected && waited.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QStringList names;
    for (int r = 0; r < model->rowCount(root); ++r)
        names << model->index(r, 0, root).data().toString();
    names.sort();
    return names;
}

} // namespace

TEST(FileDialogs, FilterTextsStayWordForWordAndMatchAnyLetterCase)
{
    QTemporaryDir dir;
    for (const char *name : {"a.MINE", "b.mine", "c.Min", "d.txt", "e.dat"}) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QStringList texts, schemes, others;
    int index = -1;
    WhenModal([&] {
        QFileDialog *dialog = ShownFileDialog();
        ASSERT_NE(dialog, nullptr);
        texts = dialog->nameFilters();
        schemes = Listed(*dialog, 3);
        auto *combo = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(combo, nullptr);
        combo->setCurrentIndex(1);
        emit combo->activated(1);
        emit combo->textActivated(combo->itemText(1));
        others = Listed(*dialog, 1);
        dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("d.txt"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    const QString chosen = GetOpenFileName(nullptr, QStringLiteral("Открыть"), dir.path(), Filters, &index);
    EXPECT_EQ(texts, (QStringList{"Схемы (*.mine; *.min)", "Тексты (*.txt)", "Выгрузка (*.sp?)"}));
    EXPECT_EQ(schemes, (QStringList{"a.MINE", "b.mine", "c.Min"}));
    EXPECT_EQ(others, (QStringList{"d.txt"}));
    EXPECT_EQ(chosen, dir.filePath(QStringLiteral("d.txt")));
    EXPECT_EQ(index, 1);
}

TEST(FileDialogs, SaveProposesTheNameAndCancelGivesNothing)
{
    QTemporaryDir dir;
    QString proposed, switched, wildcard, back;
    WhenModal([&] {
        QFileDialog *dialog = ShownFileDialog();
        ASSERT_NE(dialog, nullptr);
        proposed = dialog->selectedFiles().value(0);
        // Other filters give the name their own extension, none for a wildcard.
        auto *combo = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(combo, nullptr);
        const auto choose = [&](int index) {
            combo->setCurrentIndex(index);
            emit combo->activated(index);
            emit combo->textActivated(combo->itemText(index));
            return QFileInfo(dialog->selectedFiles().value(0)).fileName();
        };
        switched = choose(1);
        wildcard = choose(2);
        dialog->selectFile(dir.filePath(QStringLiteral("plan.txt")));
        back = choose(0);
    });
    int index = 0;
    EXPECT_EQ(GetSaveFileName(nullptr, QStringLiteral("Сохранить как"), dir.filePath(QStringLiteral("plan.mine")),
                              Filters, &index),
              QString());
    EXPECT_EQ(proposed, dir.filePath(QStringLiteral("plan.mine")));
    EXPECT_EQ(switched, "plan.txt");
    EXPECT_EQ(wildcard, "plan");
    EXPECT_EQ(back, "plan.mine");  // not the "mine;" of the text
    EXPECT_EQ(ShownFileDialog(), nullptr);
}

TEST(Translations, QtSpeaksRussian)
{
    const QLocale before;
    ASSERT_TRUE(InstallQtTranslations());
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Отмена"));
    EXPECT_EQ(QLocale().toString(QDate(2026, 12, 10), QStringLiteral("MMM")), QStringLiteral("дек."));
    QLocale::setDefault(before);
}
