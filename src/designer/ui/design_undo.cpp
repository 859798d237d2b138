#include "designer/design_state.h"
#include "designer/ui/design_page.h"
#include "designer/ui/frm_designer.h"
#include "report/report_page.h"
#include "report/ui/speed_button.h"

#include <QtGui/QAction>

namespace {

// The undo (or redo) item and button follow their list's count.
void EnableUndoControls(TfrDesignerForm &form)
{
    const bool undo = form.UndoList.Count() > 0;
    const bool redo = form.RedoList.Count() > 0;
    form.Button(QStringLiteral("UndoB"))->setEnabled(undo);
    form.Item(QStringLiteral("N46"))->setEnabled(undo);
    form.Button(QStringLiteral("RedoB"))->setEnabled(redo);
    form.Item(QStringLiteral("N48"))->setEnabled(redo);
}

} // namespace

void TfrDesignerForm::RecordUndo(int kind)
{
    if (!Page)
        return;
    ClearRedo();
    UndoList.Add(kind, UndoPairs(*Page, kind));
    Modified = FileModified = true;
    EnableUndoControls(*this);
}

void TfrDesignerForm::ClearUndo()
{
    UndoList.Clear();
    EnableUndoControls(*this);
}

void TfrDesignerForm::ClearRedo()
{
    RedoList.Clear();
    EnableUndoControls(*this);
}

namespace {

void ApplyStep(TfrDesignerForm &form, TUndoList &from, TUndoList &to)
{
    if (!form.Page || from.Count() == 0)
        return;
    form.PageView->DrawSelection(1);
    ApplyUndoEntry(*form.Page, from, to);
    form.Modified = form.FileModified = true;
    form.ResetSelection();
    form.EnableCommands();
    form.RefreshInfo();
    form.RedrawPage();
    EnableUndoControls(form);
}

} // namespace

void TfrDesignerForm::UndoBClick() { ApplyStep(*this, UndoList, RedoList); }

void TfrDesignerForm::RedoBClick() { ApplyStep(*this, RedoList, UndoList); }

void TfrDesignerForm::ConnectSurfaceCommands()
{
    Button(QStringLiteral("UndoB"))->OnClick = [this] { UndoBClick(); };
    Button(QStringLiteral("RedoB"))->OnClick = [this] { RedoBClick(); };
    connect(Item(QStringLiteral("N46")), &QAction::triggered, this, [this] { UndoBClick(); });
    connect(Item(QStringLiteral("N48")), &QAction::triggered, this, [this] { RedoBClick(); });
    PageView->ConnectObjectButtons();
    EnableUndoControls(*this);
}
