#include "designer/ui/frm_designer.h"

// Filled by the selection-driven controls, keys, inspector and editors.
void TfrDesignerForm::SyncToolbars() {}
void TfrDesignerForm::EnableCommands() {}
void TfrDesignerForm::RefreshInfo() {}
void TfrDesignerForm::ShowFirstLine() {}
void TfrDesignerForm::UpdateInspectorValues() {}
void TfrDesignerForm::InspectorChanged(int, const QString &) {}
void TfrDesignerForm::DoClick(QObject *) {}
void TfrDesignerForm::EditObject() {}
void TfrDesignerForm::EditText() {}
void TfrDesignerForm::DeleteSelection() {}
void TfrDesignerForm::NudgeSelection(int, int, bool) {}
void TfrDesignerForm::Popup1Popup() {}
bool TfrDesignerForm::FormKeyDown(QKeyEvent *) { return false; }
