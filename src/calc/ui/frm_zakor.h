#pragma once
// "Закорачивание": the doors and regulators of the network, opened one after
// another, and the stability of the monitored branches that follows.
#include "calc/short_circuit.h"
#include "calc/ui/study_report.h"

#include <QtWidgets/QDialog>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QWidget;

class TfrmZakor : public QDialog
{
    Q_OBJECT

public:
    TfrmZakor(QWidget *owner, const TNetworkTables &t);
    ~TfrmZakor() override;

    std::unique_ptr<TShortCircuitStudy> Study;
    TShortCircuitReport ReportData;
    TStudyReport Report;

    QWidget *PanelTop, *PanelProgress, *PanelReport;
    QLabel *LabelHint, *LabelProgress, *LabelReversed, *LabelNetwork;
    QPushButton *btnStart, *btnHelp, *btnClose, *btnDesign, *btnPrint, *btnSave;
    QProgressBar *ProgressBar;
    QTabWidget *Pages;
    QWidget *Tabs[sctCount];
    QTableWidget *Grids[sctCount];
    QComboBox *ReversedList;

    // Puts the paths on "Двери" and the window in its opened state.
    void ShowPaths();
    // "Закоротить".
    void btnStartClick();
    // The tab whose rows a report would print.
    TShortCircuitTab ActiveTab() const;
    // The active tab's template; its rows become the report's records.
    QString SelectShortCircuitTemplate();
    // "Печать": previews the active tab's template over its rows.
    void btnPrintClick();
    // "Оформление": opens the designer on the active tab's template.
    void btnDesignClick();
    // "Сохранение": writes the template back to the active tab's file,
    // only when that template was loaded by this window.
    void btnSaveClick();

private:
    void ShowOpenedState();
    void SetHeaders(TShortCircuitTab tab, bool afterRun);
    void FillGrid(TShortCircuitTab tab);
    void SetTabShown(TShortCircuitTab tab, bool shown);
    void EnableSave();
};

extern TfrmZakor *frmZakor;

// The command "Закорачивание...": solves the tables, then opens the window on
// a copy of them. True only when the window was closed with "Закрыть".
bool RunShortCircuiting(QWidget *mainWindow, TNetworkTables &t = Net);
