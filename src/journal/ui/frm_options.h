#pragma once
// The journal window's settings dialog. The program has a settings window
// of the same name; this one lives in the plug-in's namespace.
#include "journal/vj_options.h"

#include <QtWidgets/QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QToolButton;
class TxqEdit;

namespace kerstal {

class TfrmOptions : public QDialog
{
    Q_OBJECT

public:
    TfrmOptions(TVJOptionSet &options, QWidget *parent = nullptr);

    TxqEdit *edLinesPerPage;
    QToolButton *btnLinesUp, *btnLinesDown;
    QCheckBox *cbDeleteFile;
    QCheckBox *cbOpenLast;
    QLineEdit *edTypeVJ;
    QPushButton *btnTypeVJ;

private:
    void OkClick();
    void StepLinesPerPage(int step);
    void BrowseTemplate();

    TVJOptionSet &m_options;
};

// Shows the dialog; true when OK wrote the settings.
bool EditOptions(TVJOptionSet &options, QWidget *parent);

} // namespace kerstal
