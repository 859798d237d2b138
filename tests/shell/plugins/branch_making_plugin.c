/* A plug-in in C that makes branch 69 from node 8 to node 9 with a
   resistance of 0.004 kilomurgue and a cross-section of 1 m2; all else is as
   a new branch has it. */
#include "model/plugin_api.h"

TUNVEX_PLUGIN_EXPORT const char *GetPlugName(void)
{
    return "Branch maker";
}

TUNVEX_PLUGIN_EXPORT void RunPlugIn(void)
{
    BranchInfoBlock block;
    GetBranchInfoBlock(&block);
    CreateBranch(69);
    block.BranchStartNode[68] = 8;
    block.BranchEndNode[68] = 9;
    block.BranchR[68] = 0.004;
    block.BranchArea[68] = 1;
    InsertBranchEdgeTurns(69);
    TouchBranch(69);
}
