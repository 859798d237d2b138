#pragma once
// A report-style list of branches: the columns chosen by a column set and
// one row for every branch that a filter accepts.
#include "shell/branch_list.h"

#include <functional>

class QTreeWidget;

// Replaces the view's columns by those of the set, in bit order.
void SetupBranchColumns(QTreeWidget *view, TBranchColumns columns);
// Lists, in ascending number, every present branch that filter accepts;
// the number of rows listed. An empty set lists nothing. A column whose
// texts need more than its 80 pixels widens to them.
int FillBranchList(QTreeWidget *view, const std::function<bool(int branch)> &filter, TBranchColumns columns,
                   const TNetworkTables &t = Net);
