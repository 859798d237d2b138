#pragma once
// "Моделирование пожара": the user picks the fire branch, sees its data and
// ventilation type, and gets the emergency air distribution, the zones
// contaminated at the start of the fire and at its maximum thermal
// depression, and the places where the air reverses; "На схему" colours the
// zones. One window at most, kept alive hidden after OK so that the scheme
// and the routes keep its results; while it lives its TFireModel owns the
// tables' flows and additional depressions.
#include "emergency/fire_model.h"

#include <QtWidgets/QDialog>

#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTabWidget;
class QToolButton;
class TfrmMain;
class TfrmPojar;
class TxqEdit;

// Windows of other parts that this one opens; a control whose hook is unset
// stays disabled.
struct TFireWindowHooks
{
    // The object search as a branch picker: the branch chosen (-1 for none).
    std::function<int(QWidget *owner, QString &text)> PickBranch;
    // Prints the list of the page shown through the fire zone report.
    std::function<void(TfrmPojar &)> PrintZoneReport;
    // The zones were computed anew or the window is going: what was built
    // on the old zones (the routes) goes too.
    std::function<void()> ResultsGone;
};
extern TFireWindowHooks FireWindowHooks;

class TfrmPojar : public QDialog
{
    Q_OBJECT

public:
    // Use CreateFireWindow: the window exists only over a solved network.
    TfrmPojar(QWidget *owner, TNetworkTables &t);
    ~TfrmPojar() override;

    TFireModel &Model() { return *m_model; }
    int FireBranch() const { return m_model->FireBranch; }
    const TGasZoneList &Zone1() const { return m_model->Zone1; }
    const TGasZoneList &Zone2() const { return m_model->Zone2; }
    TRect ZoneRect() const { return m_model->ZoneRect; }
    TGasZoneList SmokeZone() const;
    int ActivePage() const;
    void SetActivePage(int page);

    // "На схему": computes on the first page, colours the zones and keeps
    // their rectangle; false when the computation failed (the window then
    // stays open).
    bool bbtSchemClick();
    // The checks and the computation of the branch in EdInr.
    bool Compute();
    // Shows the branch in EdInr with the normal set in the tables.
    void ShowFireBranch();

    QTabWidget *PageControl1;
    std::array<QWidget *, FirePageCount> Pages{};
    TxqEdit *EdInr;
    QToolButton *SpeedButton1;
    QPushButton *BitBtn3;
    QLabel *lbName, *lbPLA, *lbLength, *lbArea, *lbAngle, *lbFlow, *lbTemp, *lbVentType, *lbUpst;
    QGroupBox *rgHt;
    QRadioButton *rbThermalOn, *rbThermalOff;
    QCheckBox *ChkPNagr;
    QPushButton *BtNagruz;
    // Per result page (1..4): the text above the grid and the grid.
    std::array<QLabel *, FirePageCount> PageLabels{};
    std::array<QTableWidget *, FirePageCount> Grids{};
    QPushButton *bbtPrint;
    QPushButton *bbtCancel;
    QPushButton *bbtSchem;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void EdInrChanged(const QString &text);
    void PageChanged(int index);
    void FillPage(int page);
    void FillGrid(QTableWidget *grid);
    void UpdatePrintButton();
    void ShowReversalLabel();
    void rgHtClick();
    void SpeedButton1Click();
    void BitBtn3Click();
    void BtNagruzClick();

    std::unique_ptr<TFireModel> m_model;
    int m_page = fpFireBranch;
    bool m_changingPage = false;
    bool m_filtering = false;
};

// The window while it exists.
extern TfrmPojar *frmPojar;

// Solves the normal distribution (the solver shows its failures) and makes
// the window; nullptr when the solve failed.
TfrmPojar *CreateFireWindow(QWidget *owner);
// Frees the window: the tables get their normal flows and depressions back
// and the scheme its standard colours.
void FreeFireWindow();

// "Моделирование пожара...": shows the window; OK shows the zone on the
// scheme, anything else frees the window.
void mnuFireNewClick(TfrmMain &mainWindow);
// Gives the main window the fire command (F3 and the popup item), the fire
// question of the air distribution, the fire tool's hook, and frees the
// window with the document.
void InstallFireCommands(TfrmMain &mainWindow);
