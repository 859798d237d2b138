#pragma once
// The node properties dialog: number (with renumbering), position, altitude,
// the surface and exit flags, the air pressure, a cut-out of the scheme
// around the node and the branches entering and leaving it, each opening its
// own branch dialog. The window shows a TNodeForm and hands the input back.
#include "scheme/node_form.h"

#include <QtCore/QPoint>
#include <QtGui/QImage>
#include <QtWidgets/QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class QTreeWidget;

// What the dialog needs of the main window.
struct TNodeDialogHost
{
    TNetworkTables *Tables = nullptr;
    TNodeFormHost Form;
    // The scheme as drawn in the main window's paint box, and where a
    // scheme point lies on it; the cut-out stays as designed without them.
    std::function<const QImage *()> SchemeImage;
    std::function<QPoint(int x, int y)> ScreenPoint;
};
extern TNodeDialogHost NodeDialogHost;
// The tables the node dialogs work on: the host's, else the program's.
TNetworkTables &NodeDialogTables();

class TfrmNewNode : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmNewNode(QWidget *parent = nullptr);

    // Fills the dialog for an existing node and shows it modally; true when
    // closed by OK or "Удалить". node becomes the final number.
    bool EditNode(const QString &caption, int &node, bool deletable);
    // Fills the dialog without showing it (EditNode's first half).
    void Fill(const QString &caption, int node, bool deletable);

    TNodeForm &Form() { return m_form; }

    QLineEdit *edNodeNo, *edX, *edY, *edAltitude;
    QToolButton *spbtnPickNodeNo;
    QCheckBox *chkbxIsSurface, *chkbxIsExit;
    QLabel *lblNodePress, *ImgNode, *lblInBranches, *lblOutBranches;
    QTreeWidget *lvInBranches, *lvOutBranches;
    QPushButton *bbtnOK, *bbtnCancel, *bbtnDelete;

    void bbtnOKClick();
    void bbtnDeleteClick();
    void chkbxIsSurfaceClick();
    void spbtnPickNodeNoClick();
    // A double click on a row of either list opens that branch's dialog.
    void OpenBranchOfRow(QTreeWidget *list, int row);
    void FillNodeBranchLists();

private:
    void DrawCutOut();
    void TakeInput();

    TNodeForm m_form;
    QImage m_picture;
    bool m_filling = false;
};

// Creates the dialog, opens it for the node and frees it; true when
// confirmed, node then holds the final number. The entry point for every
// window that edits a node.
bool EditNodeDialog(QWidget *owner, const QString &caption, int &node, bool deletable);
