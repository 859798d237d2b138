#pragma once
// The branch and node table editors, as the route and stability studies
// open them to complete the data they lack. The scheme's windows fill these
// when the program starts; while unset, a study goes on with the data as
// they stand.
#include <QtCore/QString>

#include <functional>

struct TTableEditorHooks
{
    // The branch table with a filter (1 incomplete; −1 the numbers of range,
    // "3, 7, 12"): 1 when closed with OK, 2 when cancelled.
    std::function<int(int filter, const QString &range)> EditBranchTable;
    // The node table with a filter (1 incomplete): 1 OK, 2 cancelled.
    std::function<int(int filter)> EditNodTab;
};
extern TTableEditorHooks TableEditorHooks;
