#pragma once
// The properties of a rubric: its name, its type and its remarks.
#include "journal/journal.h"

#include <QtWidgets/QDialog>

class QButtonGroup;
class QLineEdit;
class QPlainTextEdit;

// The captions of the rubric types, indexed by type code.
QStringList RubricTypeCaptions();

class TfrmRubricProperty : public QDialog
{
    Q_OBJECT

public:
    TfrmRubricProperty(TRubric &rubric, QWidget *parent = nullptr);

    QLineEdit *edName;
    QButtonGroup *rgType;
    QPlainTextEdit *memRemarks;

    bool Changed = false;

private:
    void OkClick();

    TRubric &m_rubric;
};

// Shows the dialog; true when OK wrote a change.
bool EditRubricProperties(TRubric &rubric, QWidget *parent);
