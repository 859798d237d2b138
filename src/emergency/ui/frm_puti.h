#pragma once
// "Маршруты": the routes of the rescue squads and of the miners' evacuation
// during the fire of the fire modelling window. A three-page wizard: the
// start and end nodes (or the working with people), the evacuation routes
// to choose from, and the route table. "Готово" paints the route on the
// scheme and keeps the window, hidden, so that the toolbar can reopen the
// table; the window goes with the fire model and with the document.
#include "emergency/route_report.h"

#include <QtWidgets/QDialog>

#include <functional>
#include <vector>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTableWidget;
class QToolButton;
class TfrmMain;
class TfrmPuti;

// Windows of other parts that this one opens; a control whose hook is unset
// stays disabled. (The data check opens the table editors through
// TableEditorHooks.)
struct TRouteWindowHooks
{
    // The object search as a node picker: the node chosen, -1 for none.
    std::function<int(QWidget *owner)> PickNode;
    // Loads the route template and shows the report in the preview.
    std::function<void(TfrmPuti &)> PrintRoute;
};
extern TRouteWindowHooks RouteWindowHooks;

class TfrmPuti : public QDialog
{
    Q_OBJECT

public:
    enum { pgNodes = 0, pgEvacuation = 1, pgRoute = 2 };

    TfrmPuti(QWidget *owner, TNetworkTables &t);
    ~TfrmPuti() override;

    // Starts the task over the fire window's zone; false when there is no
    // fire model, the data check gives up or the window was cancelled.
    bool RunWizard(int task);
    // The route table again; false when closed with Cancel.
    bool ShowRouteTable();
    // True when incomplete data were not completed.
    bool CheckData();

    int Task() const { return m_search.Task; }
    int Page() const;
    int PeopleBranch() const { return m_people; }
    const TRouteSearch &Search() const { return m_search; }
    const std::vector<TRouteList> &RouteSlots() const { return m_slots; }
    // The route of page 2: the chosen evacuation route, else the last one.
    const TRouteList *ChosenRoute() const;
    // The lines of the route table as the report prints them.
    TRouteReportLines ReportLines() const;
    // The window is changing the fire branch: the fire model's new result
    // is the window's own.
    bool ChangingFire() const { return m_changingFire; }
    QString ClipboardText;

    QStackedWidget *Pages;
    // Page 0.
    QGroupBox *gbFire;
    QLabel *lbFire;
    QPushButton *btnChangeFire, *btnBdBranches;
    QWidget *pnlNodes;
    QLabel *lbStart, *lbEnd;
    QLineEdit *edStart, *edEnd;
    QToolButton *btnPickStart, *btnPickEnd;
    QWidget *pnlPeople;
    QLabel *lbPeople;
    QTableWidget *grdPeople;
    // Page 1.
    QLabel *lbEvacFire, *lbEvacWorking, *lbBuilt;
    QTableWidget *grdEvacuation;
    // Page 2.
    QLabel *lbRouteFire, *lbFresh, *lbExit, *lbRoute, *lbTime;
    QTableWidget *grdRoute;
    QPushButton *btnPrint;
    // Always.
    QPushButton *btnBack, *btnNext, *btnDone, *btnCancel, *btnCopy;

public slots:
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void StartTask(int task);
    void SetPage(int page);
    void EnterPage(int page);
    void UpdateButtons();
    bool EvacuationWithPeople() const;
    void PrepareNodeEntry();
    void FillPeopleGrid();
    void ShowEvacuationChoice();
    void ShowRoute(const TRouteList &route);
    void TakeFire();
    QString FireText() const;
    void NextClick();
    void BackClick();
    void DoneClick();
    void CopyClick();
    void ChangeFireClick();
    void BdBranchesClick();
    void PickClick(QLineEdit *edit);

    TNetworkTables &m_t;
    TRouteSearch m_search;
    int m_fireBranch = 0;
    int m_people = 0;
    int m_start = 0;
    std::vector<TRouteList> m_slots;
    int m_selected = 0; // index into m_slots
    bool m_changingFire = false;
    bool m_fillingPeople = false;
};

// The window while it exists.
extern TfrmPuti *frmPuti;

// A route command: reopens the routes of the same task or starts the task
// over the fire model (made and shown first when there is none).
void RunWays(TfrmMain &mainWindow, int task, const QString &suffix);
// "Вернуться к маршрутам".
void spbtnWaysClick(TfrmMain &mainWindow);
// Frees the window; "Вернуться к маршрутам" is disabled.
void FreeRouteWindow();
// Gives the main window the four route commands and "Вернуться к маршрутам",
// and frees the routes with the fire model and the document.
void InstallRouteCommands(TfrmMain &mainWindow);
