#pragma once
// Schemes written for the main-window tests, and the window shown on them.
#include "model/scheme_file.h"
#include "scheme/ui/scheme_paint_box.h"
#include "shell/ui/frm_main.h"

#include <QtWidgets/QApplication>

#include <memory>
#include <vector>

struct TTestBranch
{
    int From, To;
    std::vector<TPoint> Inner = {};  // bend points between the ends
    QString Name = {};
};

// Nodes 1.. at the points and branches 1.. as given, written to the file;
// the program's tables are left empty.
inline bool WriteTestScheme(const QString &file, const std::vector<TPoint> &nodes,
                            const std::vector<TTestBranch> &branches)
{
    ClearAllItems(Net);
    for (int n = 1; n <= int(nodes.size()); ++n) {
        CreateNode(Net, n);
        Net.NodeX[n] = static_cast<std::int16_t>(nodes[n - 1].X);
        Net.NodeY[n] = static_cast<std::int16_t>(nodes[n - 1].Y);
    }
    for (int b = 1; b <= int(branches.size()); ++b) {
        const TTestBranch &branch = branches[b - 1];
        CreateBranch(Net, b);
        Net.BranchStartNode[b] = static_cast<std::int16_t>(branch.From);
        Net.BranchEndNode[b] = static_cast<std::int16_t>(branch.To);
        if (!branch.Name.isEmpty())
            SetBranchName(Net, b, branch.Name);
    }
    RebuildAllEdgeTurns(Net);
    for (int b = 1; b <= int(branches.size()); ++b)
        for (const TPoint &p : branches[b - 1].Inner)
            Net.BranchTurns[b]->insert(Net.BranchTurns[b]->end() - 1, TTurn(b, p.X, p.Y));
    TSchemeDocument doc;
    const bool written = WriteMineFile(file, Net, doc, TSchemeView{});
    ClearAllItems(Net);
    return written;
}

// A shown main window on the file with a paint box of 800 × 600.
inline std::unique_ptr<TfrmMain> OpenShownMainWindow(const QString &file, const QString &startFolder)
{
    auto w = std::make_unique<TfrmMain>(QStringList{file}, startFolder);
    w->setGeometry(0, 0, 1000, 800);
    w->show();
    w->FormActivate();
    w->PaintBox()->setFixedSize(800, 600);
    QApplication::processEvents();
    return w;
}
