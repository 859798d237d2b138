#define TUNVEX_API_QUALIFIED
#include "journal/ui/program_network.h"

#include "model/plugin_api.h"
#include "platform/codepage.h"

#include <QtCore/QByteArray>

TJournalNetwork ProgramNetwork()
{
    TJournalNetwork net;
    net.ValidItemIndex = [](int n) { return tunvex_api::ValidItemIndex(n) != 0; };
    net.GetBranchInfoBlock = [] {
        tunvex_api::BranchInfoBlock block{};
        tunvex_api::GetBranchInfoBlock(&block);
        return TJournalBranchTables{block.BranchNo, block.BranchQ, block.BranchStartTemp, block.BranchArea};
    };
    // The program's text is copied at once: it lives only until the name changes.
    net.GetBranchName = [](int n) { return DecodeCp1251(QByteArray(tunvex_api::GetBranchName(n))); };
    return net;
}
