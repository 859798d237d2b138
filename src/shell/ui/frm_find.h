#pragma once
// "Найти объект": a node by number, a branch by number or name, a point of
// the scheme or the first branch of a PLA position, centred on the scheme
// and marked; also the picker of a branch or a node for other windows.
#include <QtWidgets/QDialog>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class TfrmMain;
class TxqEdit;

// The modes of the search.
enum TFindMode { fmNode = 0, fmBranch = 1, fmPoint = 2, fmPLA = 3 };

// A branch as the list shows it: its name (or the text of a nameless branch)
// made 50 characters long, then its number.
QString FindListEntry(const QString &name, int branch);

class TfrmFind : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmFind(TfrmMain &mainWindow, QWidget *parent = nullptr);

    // The window as a picker: the number chosen, or -1.
    int PickBranch();
    int PickNode();

    QGroupBox *rgrpFind;
    QButtonGroup *m_modes;
    QRadioButton *rbNode, *rbBranch, *rbPoint, *rbPLA;
    QLineEdit *edNode, *edBranch, *edX, *edY, *edFirstLetters;
    TxqEdit *xqePLAPos;
    QListWidget *lbBranches;
    QLabel *Label2;
    QPushButton *OKBtn, *CancelBtn, *bbtnProperty;

    int Mode() const;
    void SetMode(TFindMode mode);

    void edBranchChange();
    void edFirstLettersChange();
    void lbBranchesClick();
    void edNodeChange();
    void xqePLAPosChange();
    void rgrpFindClick();
    void OKBtnClick();
    void bbtnPropertyClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The branch control that the user is in drives the others.
    enum TDriver { drNone, drBranchEdit, drName, drList };
    void FillBranchList();
    // The window as a picker of the mode's field, the other number field and
    // the point disabled.
    int Pick(TFindMode mode, QLineEdit *picked, QLineEdit *other);
    void EnableButtons(bool enabled);
    bool FindPoint(int branch, int node, int &x, int &y);

    TfrmMain &m_main;
    TDriver m_driver = drNone;
};

void ShowFindObject(TfrmMain &mainWindow);
// The pickers that other windows open; text: what the branch field holds.
int PickBranch(QWidget *owner, QString &text);
int PickNode(QWidget *owner);

// Centres the main window's view on a scheme point, redraws and marks the
// point with a small red dot until the next redraw.
void MarkSchemePoint(TfrmMain &mainWindow, int x, int y);
