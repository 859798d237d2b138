#include "calc/ui/frm_altitude.h"

#include "calc/node_pressures.h"
#include "calc/ui/frm_pres.h"
#include "calc/ui/frm_reports1.h"
#include "platform/guard.h"
#include "platform/ui/column_fit.h"

#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QVBoxLayout>

TfrmAltitude::TfrmAltitude(QWidget *owner, const TNetworkTables &t) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmAltitude"));
    setWindowTitle(QStringLiteral("Высотные отметки"));
    SGAltitude = new QTableWidget(this);
    SGAltitude->setObjectName(QStringLiteral("SGAltitude"));
    SGAltitude->horizontalHeader()->hide();
    SGAltitude->verticalHeader()->hide();
    SGAltitude->verticalHeader()->setDefaultSectionSize(18);
    SGAltitude->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A width set on a column the grid does not have yet is lost.
    SGAltitude->setColumnCount(11);
    for (int c = 0; c < 11; ++c)
        SGAltitude->setColumnWidth(c, 45);
    FillNodeCrossGrid(*SGAltitude, AltitudeCellTexts(t), MaxNodeNo(t));
    BitBtn2 = new QPushButton(QStringLiteral("Печать..."), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn1 = new QPushButton(QStringLiteral("Закрыть"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn2, &QPushButton::clicked, this,
            [this] { GuardedCall([this] { PreviewNetworkTemplate(this, NodeCrossTableTemplate); }); });

    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(BitBtn2);
    bottom->addWidget(BitBtn1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(SGAltitude, 1);
    layout->addLayout(bottom);
    // Every column stays in sight of the fixed window, however wide its
    // values made it.
    const QMargins margins = layout->contentsMargins();
    setFixedSize(WidthOfAllColumns(*SGAltitude) + margins.left() + margins.right(), 480);
}
