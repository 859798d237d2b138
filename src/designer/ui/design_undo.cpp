#include "designer/ui/frm_designer.h"

// Filled by the undo lists.
void TfrDesignerForm::RecordUndo(int) {}
void TfrDesignerForm::ClearUndo() {}
void TfrDesignerForm::ClearRedo() {}
void TfrDesignerForm::UndoBClick() {}
void TfrDesignerForm::RedoBClick() {}
