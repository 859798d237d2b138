#pragma once
// "Выберите один узел поверхности": a branch joins two surface nodes, which
// would short-circuit the whole mine; the user keeps one of them, and may
// open either node's dialog first.
#include "scheme/node_form.h"

#include <QtWidgets/QDialog>

class QLabel;
class QPushButton;
class QRadioButton;

class TfrmDoubleNodes : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmDoubleNodes(QWidget *parent = nullptr);

    // Asks for branch b; on OK the chosen end stays the surface node. When a
    // node's dialog was confirmed the choice closes without applying, and
    // the branch dialog asks again when it is closed next.
    void ChooseSurfaceNode(int branch);

    QLabel *lblBranch;
    QRadioButton *rbtnStartNode, *rbtnEndNode;
    QPushButton *bbtnStartNode, *bbtnEndNode, *bbtnOK;

    void bbtnStartNodeClick(bool start);

private:
    int m_choiceBranch = 0;
};

// The closing check of the branch dialog: the choice on a fresh dialog.
void ChooseSurfaceNode(QWidget *owner, int branch);
