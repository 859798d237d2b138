// Reads the open network through the program's exports, raises the flow of
// its first branch through the branch block, marks the document modified
// and shows what it read.
#include "model/plugin_api.h"
#include "platform/codepage.h"

#include <QtWidgets/QMessageBox>
#include <QtWidgets/QWidget>

namespace {
const QString Title = QStringLiteral("Проверка расширений");
const QByteArray Caption = EncodeCp1251(Title);
} // namespace

extern "C" TUNVEX_PLUGIN_EXPORT const char *GetPlugName(void)
{
    return Caption.constData();
}

extern "C" TUNVEX_PLUGIN_EXPORT void RunPlugIn(void)
{
    BranchInfoBlock block;
    GetBranchInfoBlock(&block);
    int first = 0;
    for (int n = 1; n <= GetMaxItemsCount() && !first; ++n)
        if (BranchExist(n))
            first = n;
    QString text = QStringLiteral("Узлов: %1, ветвей: %2.").arg(NodeCount()).arg(BranchCount());
    if (first) {
        const QString name = DecodeCp1251(QByteArray(GetBranchName(first)));
        const double q = block.BranchQ[first - 1];
        block.BranchQ[first - 1] = q + 1;
        TouchBranch(first);
        text += QStringLiteral("\nВетвь %1 «%2»: расход %3 стал %4.").arg(first).arg(name).arg(q).arg(q + 1);
    }
    QMessageBox::information(static_cast<QWidget *>(GetMainFormPtr()), Title, text);
}
