#pragma once
// What the journal window tests share: their own settings and journals
// folder, a small network in the program's tables read through the
// program's exports, and a way to answer a dialog that a command opens.
#include "journal/journal_file.h"
#include "journal/ui/program_network.h"
#include "model/network.h"
#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "journal/vj_options.h"

#include <gtest/gtest.h>

#include <QtCore/QDir>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDialog>

#include <functional>
#include <memory>

// Runs fn on the next modal dialog (other than the journal window) once it
// is shown; fn closes it.
inline void WhenDialog(std::function<void(QDialog *)> fn)
{
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [fn = std::move(fn), weak = std::weak_ptr(poll)] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible() && dialog->objectName() != QStringLiteral("frmKerstal")) {
            fn(dialog);
            return;
        }
        if (auto self = weak.lock())
            QTimer::singleShot(5, [self] { (*self)(); });
    };
    QTimer::singleShot(0, [poll] { (*poll)(); });
}

class KerstalTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Config.isValid() && Folder.isValid());
        m_oldConfig = qgetenv("TUNVEX_CONFIG_DIR");
        qputenv("TUNVEX_CONFIG_DIR", Config.path().toUtf8());
        ClearAllItems(Net);
        // Branches 1 (12 m², 10 m³/s, 15 °C, "Штрек") and 2 (no name) between nodes 1 and 2.
        CreateNode(Net, 1);
        CreateNode(Net, 2);
        Branch(1, 12, 10, 15, QStringLiteral("Штрек"));
        Branch(2, 4, 2, 18, QString());
    }

    void TearDown() override
    {
        ClearAllItems(Net);
        qputenv("TUNVEX_CONFIG_DIR", m_oldConfig);
    }

    static void Branch(int n, double area, double q, double temp, const QString &name)
    {
        CreateBranch(Net, n);
        Net.BranchStartNode[n] = 1;
        Net.BranchEndNode[n] = 2;
        Net.BranchArea[n] = area;
        Net.BranchQ[n] = q;
        Net.BranchStartTemp[n] = temp;
        SetBranchName(Net, n, name);
    }

    // Settings that open the test's folder when the window opens.
    void OpenFolderAtStart()
    {
        TVJOptionSet o;
        o.CurDir = Folder.path();
        o.Write();
    }

    // A journal file in the folder; rubrics get records with the branch pairs.
    void WriteJournal(const QString &name, std::initializer_list<std::initializer_list<std::pair<int, int>>> rubrics)
    {
        TKerstal j(name);
        int n = 0;
        for (const auto &pairs : rubrics) {
            TRubric *r = j.Add(std::make_unique<TRubric>(&j, false));
            r->Name = QStringLiteral("Рубрика %1").arg(n++);
            for (const auto &[in, out] : pairs) {
                TRubricRecord *rec = r->Add(std::make_unique<TRubricRecord>(r));
                rec->InBranch.Number = static_cast<std::int16_t>(in);
                rec->OutBranch.Number = static_cast<std::int16_t>(out);
                rec->InBranch.Out = 100 * in;
                rec->OutBranch.Out = 10 * out;
            }
        }
        SaveJournal(j, Folder.filePath(name + JournalExt));
    }

    QTemporaryDir Config;
    QTemporaryDir Folder;
    TScriptedPrompt Prompt;

private:
    QByteArray m_oldConfig;
};
