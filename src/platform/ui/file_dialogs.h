#pragma once
// The open and save dialogs. Each filter shows its own text word for word
// (texts such as "(*.mine; *.min)" are not Qt's pattern syntax) and matches
// file names by its own patterns, whatever their letter case.
#include "platform/file_filter.h"

class QFileDialog;
class QWidget;

// The chosen file, empty when cancelled; filterIndex gives the chosen
// filter, counted from 0.
QString GetOpenFileName(QWidget *parent, const QString &caption, const QString &folder,
                        const TFileFilters &filters, int *filterIndex);
// Proposes `proposed` (folder and name); asks before overwriting a file.
QString GetSaveFileName(QWidget *parent, const QString &caption, const QString &proposed,
                        const TFileFilters &filters, int *filterIndex);

// The dialog on show while one of the two runs, else null (for tests).
QFileDialog *ShownFileDialog();
