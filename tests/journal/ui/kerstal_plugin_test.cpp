// Kerstal.so loaded as the program loads it, into this test program, which
// exports the program's plug-in API over the program's tables.
#include "kerstal_fixture.h"
#include "platform/codepage.h"

#include <QtCore/QFile>
#include <QtCore/QLibrary>
#include <QtWidgets/QMessageBox>

TEST_F(KerstalTest, PluginRunsItsWindowAndKeepsItsErrorsToItself)
{
    QLibrary library(QStringLiteral(KERSTAL_PLUGIN));
    library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
    ASSERT_TRUE(library.load()) << qPrintable(library.errorString());
    using TGetPlugName = const char *(*)();
    using TRunPlugIn = void (*)();
    const auto getName = reinterpret_cast<TGetPlugName>(library.resolve("GetPlugName"));
    const auto run = reinterpret_cast<TRunPlugIn>(library.resolve("RunPlugIn"));
    ASSERT_TRUE(getName && run);
    EXPECT_EQ(DecodeCp1251(QByteArray(getName())), QStringLiteral("Вентжурнал..."));

    // The last folder holds a journal that ends early: the window says so in
    // a message box of its own, opens, and closes; nothing reaches here.
    QFile damaged(Folder.filePath(QStringLiteral("Обрыв.WVJ")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("xqWVJ\x01\x00\x09\x00\x10", 10);
    damaged.close();
    OpenFolderAtStart();

    QStringList seen;
    std::function<void()> step = [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            seen << QStringLiteral("box: ") + box->text();
            box->accept();
        } else if (modal && modal->objectName() == QStringLiteral("frmKerstal")) {
            seen << QStringLiteral("window: ") + modal->windowTitle();
            modal->close();
            return;
        }
        QTimer::singleShot(5, step);
    };
    QTimer::singleShot(0, step);
    run();
    ASSERT_EQ(seen.size(), 2) << qPrintable(seen.join(u'\n'));
    EXPECT_TRUE(seen[0].contains(QStringLiteral("Обрыв.WVJ"))) << qPrintable(seen[0]);
    EXPECT_EQ(seen[1], QStringLiteral("window: Вентиляционный журнал (Форма 2) - Kerstal.DLL v1.0.3"));
    // The window wrote its settings on its way out.
    EXPECT_EQ(TVJOptionSet().CurDir, Folder.path());
    // Loaded plug-ins stay loaded for the run.
}
