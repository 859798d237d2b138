#pragma once
// The properties of a journal: counts, number of main fans, mine name,
// remarks and the journal's dates.
#include "journal/journal.h"

#include <QtWidgets/QDialog>

class QDateEdit;
class QLineEdit;
class QPlainTextEdit;
class TxqEdit;

class TfrmProperty : public QDialog
{
    Q_OBJECT

public:
    TfrmProperty(TKerstal &journal, const QString &folder, QWidget *parent = nullptr);

    TxqEdit *edVGPCount;
    QLineEdit *edMineName;
    QPlainTextEdit *memRemarks;
    QDateEdit *dtpBegins, *dtpEnds;

    bool Changed = false;

private:
    void OkClick();

    TKerstal &m_journal;
};

// Shows the dialog; true when OK wrote a change. folder is shown as "Папка:".
bool EditJournalProperties(TKerstal &journal, const QString &folder, QWidget *parent);

// Journal dates are days since 1899-12-30; a picked date keeps the time of day.
QDate DaysToDate(double days);
double WithDate(double days, const QDate &date);
