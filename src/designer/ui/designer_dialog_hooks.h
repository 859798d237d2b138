#pragma once
// Links the designer's dialogs to the designer window: fills its hook table
// (menu items and buttons by name), the wizard and the inspector's text editor.
#include <QtCore/QString>

class TfrDesignerForm;
class TfrView;

// Where "&Создать..." lists templates and "save as template" writes; empty
// means the folder the program started in.
extern QString DesignerTemplateFolder;

// Call before the designer form is made: the inspector takes its text
// editor when the form is built.
void InstallDesignerDialogHooks();
void RemoveDesignerDialogHooks();

// Opens the dialog that edits an object of the page being designed (text,
// picture, data band, group header, cross band) and then does what the
// designer owes the change: modified mark and a redraw. False when the
// object has no dialog or the dialog was cancelled.
bool EditDesignerObject(TfrDesignerForm &form, TfrView &view);
