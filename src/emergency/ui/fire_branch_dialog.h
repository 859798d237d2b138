#pragma once
// The branch dialog as the fire windows open it. Kept in a unit of its own:
// the dialog's belt-width names and the fire load's belt widths share a name.
#include <QtCore/QString>

class QWidget;

// True once the main window has given the dialog its tables.
bool FireBranchDialogReady();
// "Ветвь n" for branch n, modal, without "Удалить".
void EditFireBranch(QWidget *owner, const QString &caption, int branch);
