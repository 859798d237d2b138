#pragma once
// What a report template reads of a journal while it is built: the rubric
// record source frStringsDataset, the record source frUserDatasetRec over
// the current rubric's records, and the values that the journal window's
// value event answers. The state lives here so that a build can be driven
// without the window.
#include "journal/journal.h"
#include "report/dataset.h"
#include "report/variant.h"

#include <QtCore/QStringList>

class TJournalPrint
{
public:
    TJournalPrint();
    TJournalPrint(const TJournalPrint &) = delete;
    TJournalPrint &operator=(const TJournalPrint &) = delete;

    TfrUserDataset frStringsDataset; // one record per rubric of PrintJournal
    TfrUserDataset frUserDatasetRec; // one record per record of PrintRubric

    const TKerstal *PrintJournal = nullptr;
    const TRubric *PrintRubric = nullptr;
    const TRubricRecord *PrintRecord = nullptr;
    int RubricPos = 0;
    int RecordPos = 0;
    double MineInTotal = 0; // intake total of the last mine-intake rubric reached
    double VGPSupply = 0;   // main-fan supply of the last outer-leakage rubric stepped
    bool FirstOfRubric = false;
    QStringList Form2Lines;

    // A print of the journal begins, or the designer opens on it (its
    // preview builds the same report): its form-2 lines are made afresh and
    // nothing of an earlier print stays current.
    void StartPrint(const TKerstal &journal, int linesPerPage);
    // A journal is going away: it stops being the one printed.
    void Forget(const TKerstal *journal);

    // The window's value event. Names compare exactly after their leading
    // blanks; a name not known leaves the value alone. Without a current
    // rubric or record their values are an empty text or 0.
    void GetValue(const QString &name, Variant &value) const;

    // The rubric's totals line (empty without a rubric).
    QString TotalString() const;
    double Totperc() const;
    double VPGperc() const;

private:
    void Reset();
    int RubricCount() const { return PrintJournal ? PrintJournal->Count() : 0; }
    int RecordCount() const { return PrintRubric ? PrintRubric->Count() : 0; }
};
