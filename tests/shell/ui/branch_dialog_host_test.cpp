#include "model/scheme_file.h"
#include "platform/prompt.h"
#include "scheme/ui/frm_branch.h"
#include "shell/scheme_storage.h"
#include "shell/ui/branch_dialog_host.h"
#include "shell/ui/frm_main.h"

#include <gtest/gtest.h>

#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>

// The branch dialog over the main window's open scheme: a confirmed edit marks
// the document modified and is saved with it.
TEST(BranchDialogHost, EditsTheOpenSchemeOfTheMainWindow)
{
    QTemporaryDir config, folder;
    qputenv("TUNVEX_CONFIG_DIR", config.path().toUtf8());
    TScriptedPrompt prompt;
    ClearAllItems(Net);
    for (int b = 1; b <= 3; ++b) {
        CreateNode(Net, b);
        CreateNode(Net, b + 1);
        CreateBranch(Net, b);
        Net.BranchStartNode[b] = static_cast<std::int16_t>(b);
        Net.BranchEndNode[b] = static_cast<std::int16_t>(b + 1);
    }
    RebuildAllEdgeTurns(Net);
    TSchemeDocument saved;
    saved.SymbolLinks.push_back({QByteArray("\x02\0\0\0\x14\0\0\0\x03" "ABC", 12)});
    const QString file = folder.filePath(QStringLiteral("chain.mine"));
    ASSERT_TRUE(WriteMineFile(file, Net, saved, TSchemeView{}));
    ClearAllItems(Net);

    {
        TfrmMain w({file}, folder.path());
        w.FormActivate();
        InstallBranchDialogHost(w);
        ASSERT_FALSE(w.Document().Modified());
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<TfrmBranch *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->edNo->setText(QStringLiteral("9"));
            dialog->edName->setText(QStringLiteral("Квершлаг"));
            dialog->bbtnOK->click();
        });
        EXPECT_TRUE(EditBranchDialog(&w, QStringLiteral("Ветвь 2"), 2, w.CanDeleteObject(2)));
        EXPECT_TRUE(w.Document().Modified());
        ASSERT_TRUE(w.Document().Save());
    }
    BranchDialogHost = {};

    auto t = std::make_unique<TNetworkTables>();
    TSchemeDocument doc;
    ReadMineFile(file, *t, doc);
    EXPECT_FALSE(BranchPresent(*t, 2));
    ASSERT_TRUE(BranchExist(*t, 9));
    EXPECT_EQ(t->BranchName[9], QStringLiteral("Квершлаг"));
    EXPECT_EQ(t->BranchStartNode[9], 2);
    ASSERT_EQ(doc.SymbolLinks.size(), 1u);
    EXPECT_EQ(doc.SymbolLinks[0].Branch(), 9);
    ClearAllItems(Net);
}
