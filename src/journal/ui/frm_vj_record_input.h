#pragma once
// The record dialog: the intake and the exhaust measurement of one journal
// record. Typing a branch number fills the values that come from the
// network; OK checks every field before it writes any.
#include "journal/journal.h"
#include "journal/refresh.h"

#include <QtWidgets/QDialog>

class QLineEdit;
class TxqEdit;

class TfrmVJRecordInput : public QDialog
{
    Q_OBJECT

public:
    TfrmVJRecordInput(TRubricRecord &record, const TJournalNetwork &net, QWidget *parent = nullptr);

    // The fields of one measurement.
    struct TGroup
    {
        TxqEdit *Number, *Sec, *Speed, *Out, *Temperature, *Waternity;
        QLineEdit *Name;
    };
    TGroup In{}, Ex{};
    QLineEdit *edCH4, *edCO2, *edO2, *edCO;

    bool Changed = false;

private:
    void Fill();
    void FillGroup(TGroup &g, const TBranchRecord &m);
    void BranchLookup(TGroup &g);
    void OkClick();

    TRubricRecord &m_record;
    TJournalNetwork m_net;
    TJournalBranchTables m_branchInfo;
};

// Shows the dialog on the record; true when OK wrote a change.
bool EditRecord(TRubricRecord &record, const TJournalNetwork &net, QWidget *parent);
