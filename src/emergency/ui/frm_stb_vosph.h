#pragma once
// The ascending study's window: it computes the places where the air
// reverses when a fire burns in each ascending working, and is itself the
// chooser of the templates in the reports folder's "Уст. при восх".
#include "emergency/stability_report.h"
#include "report/ui/report_chooser.h"

class TfrmMain;

class TfrmStbVosph : public TReportChooser
{
    Q_OBJECT

public:
    TfrmStbVosph(QWidget *owner, TNetworkTables &t, int fireTime);
    ~TfrmStbVosph() override;

    TAscendingStability Study;
    TStabilityReport Report;

    void ListTemplates(const QString &folder);
    // Selection and reversal places with a progress window.
    void Compute();

protected:
    void FolderFound(const QString &folder) override;

private:
    TNetworkTables &m_t;
    int m_fireTime;
};

extern TfrmStbVosph *frmStbVosph;

// "Восходящее проветривание..." (Shift+F5).
void RunAscendingStability(TfrmMain &mainWindow);
