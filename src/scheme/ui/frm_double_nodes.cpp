#include "scheme/ui/frm_double_nodes.h"

#include "scheme/ui/frm_new_node.h"

#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QVBoxLayout>

TfrmDoubleNodes::TfrmDoubleNodes(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDoubleNodes"));
    setWindowTitle(QStringLiteral("Выберите один узел поверхности"));
    auto *layout = new QVBoxLayout(this);
    auto *error = new QLabel(
        QStringLiteral("Ошибка. Эта ветвь имеет два узла поверхности. Выберите один, который будет узлом поверхности"), this);
    error->setWordWrap(true);
    error->setStyleSheet(QStringLiteral("color: #800000;"));
    layout->addWidget(error);
    lblBranch = new QLabel(this);
    lblBranch->setObjectName(QStringLiteral("lblBranch"));
    layout->addWidget(lblBranch);

    auto *group = new QGroupBox(QStringLiteral("Узлы ветви"), this);
    auto *grid = new QGridLayout(group);
    rbtnStartNode = new QRadioButton(QStringLiteral("Начальный узел"), group);
    rbtnStartNode->setObjectName(QStringLiteral("rbtnStartNode"));
    rbtnStartNode->setChecked(true);
    rbtnEndNode = new QRadioButton(QStringLiteral("Конечный узел"), group);
    rbtnEndNode->setObjectName(QStringLiteral("rbtnEndNode"));
    bbtnStartNode = new QPushButton(QStringLiteral("Свойства..."), group);
    bbtnStartNode->setObjectName(QStringLiteral("bbtnStartNode"));
    bbtnEndNode = new QPushButton(QStringLiteral("Свойства..."), group);
    bbtnEndNode->setObjectName(QStringLiteral("bbtnEndNode"));
    for (QPushButton *b : {bbtnStartNode, bbtnEndNode})
        b->setAutoDefault(false);
    grid->addWidget(rbtnStartNode, 0, 0);
    grid->addWidget(bbtnStartNode, 0, 1);
    grid->addWidget(rbtnEndNode, 1, 0);
    grid->addWidget(bbtnEndNode, 1, 1);
    layout->addWidget(group);

    bbtnOK = new QPushButton(QStringLiteral("OK"), this);
    bbtnOK->setObjectName(QStringLiteral("bbtnOK"));
    bbtnOK->setDefault(true);
    layout->addWidget(bbtnOK, 0, Qt::AlignRight);
    connect(bbtnOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(bbtnStartNode, &QPushButton::clicked, this, [this] { bbtnStartNodeClick(true); });
    connect(bbtnEndNode, &QPushButton::clicked, this, [this] { bbtnStartNodeClick(false); });
    resize(380, 220);
}

void TfrmDoubleNodes::ChooseSurfaceNode(int branch)
{
    m_choiceBranch = branch;
    TNetworkTables &t = NodeDialogTables();
    lblBranch->setText(QStringLiteral("Ветвь №%1, (%2)").arg(branch).arg(GetBranchName(t, branch)));
    if (exec() == QDialog::Accepted)
        KeepSurfaceNode(t, branch, rbtnStartNode->isChecked(), NodeDialogHost.Form);
}

void TfrmDoubleNodes::bbtnStartNodeClick(bool start)
{
    const TNetworkTables &t = NodeDialogTables();
    int node = start ? t.BranchStartNode[m_choiceBranch] : t.BranchEndNode[m_choiceBranch];
    if (EditNodeDialog(this, QStringLiteral("Узел №%1").arg(node), node, IsFreeNode(t, node)))
        done(QDialog::Rejected);
}

void ChooseSurfaceNode(QWidget *owner, int branch)
{
    TfrmDoubleNodes dialog(owner);
    dialog.ChooseSurfaceNode(branch);
}
