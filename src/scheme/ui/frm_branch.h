#pragma once
// The branch properties dialog: one airway edited on six pages ("Свойства",
// "Скорость воздуха", "Вид", "ПЛА", "Аксессуары", "Символы") with the buttons
// "Удалить", "Текст ПЛА", "Усилить проветр.", "Помощь", "Отмена" and OK. The
// window shows a TBranchForm and hands its controls' input back to it; the
// form checks and stores. Commands whose windows come with other parts of the
// program go through TBranchDialogHooks and stay disabled until filled.
#include "scheme/branch_form.h"

#include <QtWidgets/QDialog>

#include <array>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class TfrmBranch;

// What the dialog needs of the main window: the tables, the document and the
// services of TBranchFormHost.
struct TBranchDialogHost
{
    TNetworkTables *Tables = nullptr;
    TSchemeDocument *Doc = nullptr;
    TBranchFormHost Form;
    // A table editor closed, whatever its result and whoever opened it: the
    // items may have come and gone, so the menus that follow them are brought
    // up to date and the scheme is redrawn.
    std::function<void()> TableClosed;
};
extern TBranchDialogHost BranchDialogHost;

// Commands of the dialog that other windows serve; a control whose hook is
// not set is disabled.
struct TBranchDialogHooks
{
    std::function<void(TfrmBranch &)> CalcResistance;    // "Расчет" beside the resistance
    std::function<void(TfrmBranch &)> WindowResistance;  // "Rокна, кмюрг..."
    std::function<void(TfrmBranch &)> Fan;               // "Расчет" beside the additional depression
    std::function<void(TfrmBranch &)> PLADocuments;      // "Текст ПЛА"
    std::function<void(TfrmBranch &)> Boost;             // "Усилить проветр."
    // "Также для ветвей...": true when branches were chosen in the flags.
    std::function<bool(TfrmBranch &, std::vector<bool> &flags)> SelectBranches;
    // The telephone of the branch: its number at opening, stored on OK.
    std::function<QString(int branch)> PhoneNumber;
    std::function<void(int branch, const QString &number)> StorePhone;
    // A branch between two surface nodes cannot be closed; this asks which
    // end loses its flag.
    std::function<void(TfrmBranch &, int branch)> ChooseSurfaceNode;
};
extern TBranchDialogHooks BranchDialogHooks;

class TfrmBranch : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmBranch(QWidget *parent = nullptr);

    // Fills the dialog for an existing branch, shows it modally; true when
    // closed with OK. "Удалить" is enabled when deletable.
    bool EditBranch(const QString &caption, int branch, bool deletable);
    // Fills the dialog without showing it (EditBranch's first half).
    void Fill(const QString &caption, int branch, bool deletable);

    TBranchForm &Form() { return m_form; }

    // Page 0, "Свойства".
    QLineEdit *xqePosDGS, *edName, *edNo, *edRes, *edAuxDepr, *xqeQtr, *edAirDebt, *xqeDepr;
    QLineEdit *edStTemp, *edEndTemp, *edLen, *edSquare, *xqeAlpha, *edAngle, *edAltitude, *edPeople;
    QCheckBox *cbFresh, *cbxZonaRevers;
    QComboBox *cbxType;
    QLabel *lblDirection;
    QPushButton *btnDirection, *btnResist, *Button3, *bbtnAuxDepr, *btnCalcAngle;
    // Page 1, "Скорость воздуха".
    QLabel *lblBrSpeed, *lblNoSpeed, *lblMinRule, *lblMaxRule;
    QGroupBox *gbSpeed;
    QComboBox *cmbMinS, *cmbMaxS;
    QCheckBox *cbxCtrlGasLayer;
    // Page 2, "Вид".
    std::array<QCheckBox *, 16> LabelChecks{};
    QCheckBox *cbxBrNo = nullptr;
    QPushButton *btnRevers, *btnSameBranches;
    // Page 3, "ПЛА".
    QLineEdit *edPLA;
    QFrame *shBranchColor;
    QPushButton *bbtnPLAColor;
    // Page 4, "Аксессуары", in the order of AccessoryBoxes.
    QCheckBox *cbxFirePipe, *cbxConveyer, *cbxPowerCords, *cbxPressedAirPipe, *cbxDegasationPipe;
    QPushButton *bFireWater, *bCoveyor, *bCable, *bDeGaze;
    QComboBox *cbxBrLayer;
    QLineEdit *edPhone;
    // Page 5, "Символы".
    QTreeWidget *lvSymb;
    QComboBox *cbSymbolType;
    QPushButton *btnAddSymbol, *btnDeleteSymbol;
    // Beside the pages.
    QTabWidget *pcBranch;
    QPushButton *bbtnDelete, *btnFile, *btnQAccelerate, *bbtnHelp, *bbtnCancel, *bbtnOK;

    // The shared change handler of every edit, box and combo.
    void edNameChange(QObject *sender);
    void bbtnOKClick();
    void bbtnDeleteClick();
    void btnDirectionClick();
    void btnReversClick();
    void btnSameBranchesClick();
    void bCoveyorClick();
    void bFireWaterClick();
    void bDeGazeClick();
    void bCableClick();
    // Shows the PLA colour in its square.
    void ShowPLAColor();
    void btnCalcAngleClick();
    void bbtnPLAColorClick();
    // The page "Символы".
    void FillSymbolList();
    void btnAddSymbolClick();
    void btnDeleteSymbolClick();
    void lvSymbDblClick();
    void pcBranchChange(int page);

protected:
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreatePageProperties();
    void CreatePageSpeed();
    void CreatePageView();
    void CreatePagePLA();
    void CreatePageAccessories();
    void CreatePageSymbols();
    void WireChanges();
    void ShowForm();
    void TakeInput();
    void ShowSpeedLimits(int type);
    void UpdateAccessoryButtons();
    QLineEdit *FieldEdit(TBranchField field) const;
    void FocusField(TBranchField field);

    TBranchForm m_form;
    bool m_filling = false;
};

// Creates the dialog, opens it for the branch on page 0 and frees it; true
// when confirmed. The entry point for every window that edits a branch.
bool EditBranchDialog(QWidget *owner, const QString &caption, int branch, bool deletable);
