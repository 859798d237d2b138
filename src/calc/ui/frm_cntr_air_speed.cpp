#include "calc/ui/frm_cntr_air_speed.h"

#include "calc/solver.h"
#include "calc/ui/frm_reports1.h"
#include "shell/ui/frm_main.h"
#include "platform/guard.h"
#include "platform/prompt.h"
#include "platform/ui/column_fit.h"

#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QVBoxLayout>

TfrmCntrAirSpeed *frmCntrAirSpeed = nullptr;

namespace {

const int ColumnWidths[] = {299, 53, 51, 74, 70, 92, 83, 88};
constexpr int RowHeight = 17;

} // namespace

TfrmCntrAirSpeed::TfrmCntrAirSpeed(QWidget *owner, const TNetworkTables &t) : QDialog(owner), Table(t)
{
    frmCntrAirSpeed = this;
    setObjectName(QStringLiteral("frmCntrAirSpeed"));
    setWindowTitle(LookupText(QStringLiteral("Контроль скорости воздуха")));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);

    sgAirSpeed = new QTableWidget(this);
    sgAirSpeed->setObjectName(QStringLiteral("sgAirSpeed"));
    sgAirSpeed->setColumnCount(8);
    sgAirSpeed->setHorizontalHeaderLabels(SpeedTableHeaders());
    sgAirSpeed->verticalHeader()->hide();
    sgAirSpeed->verticalHeader()->setDefaultSectionSize(RowHeight);
    sgAirSpeed->verticalHeader()->setMinimumSectionSize(RowHeight);
    sgAirSpeed->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // A selected row would hide its colour.
    sgAirSpeed->setSelectionMode(QAbstractItemView::NoSelection);
    for (int c = 0; c < 8; ++c)
        sgAirSpeed->setColumnWidth(c, ColumnWidths[c]);
    WidenColumnsToContents(*sgAirSpeed);

    lblShow = new QLabel(LookupText(QStringLiteral("Показать ветви")), this);
    QFont bold = lblShow->font();
    bold.setBold(true);
    lblShow->setFont(bold);
    cmbDiap = new QComboBox(this);
    cmbDiap->setObjectName(QStringLiteral("cmbDiap"));
    cmbDiap->setEditable(true);
    cmbDiap->setInsertPolicy(QComboBox::NoInsert);
    cmbDiap->setMaxVisibleItems(16);
    cmbDiap->setMinimumWidth(260);
    cmbDiap->addItems(Table.FilterItems());
    cmbDiap->setCurrentIndex(sfRange);
    lblShow->setBuddy(cmbDiap);

    btPrn = new QPushButton(LookupText(QStringLiteral("Печать...")), this);
    btPrn->setObjectName(QStringLiteral("btPrn"));
    connect(btPrn, &QPushButton::clicked, this, [this] { GuardedCall([this] { btPrnClick(); }); });
    btnClose = new QPushButton(LookupText(QStringLiteral("Закрыть")), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setDefault(true);

    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmbDiap, &QComboBox::activated, this, &TfrmCntrAirSpeed::cmbDiapChange);
    connect(cmbDiap->lineEdit(), &QLineEdit::textEdited, this, &TfrmCntrAirSpeed::cmbDiapTyped);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblShow);
    bottom->addWidget(cmbDiap);
    bottom->addStretch(1);
    bottom->addWidget(btPrn);
    bottom->addWidget(btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(sgAirSpeed, 1);
    layout->addLayout(bottom);

    // Without a window manager to maximise it, the window still fills the screen.
    if (const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size());
    setWindowState(Qt::WindowMaximized);
}

TfrmCntrAirSpeed::~TfrmCntrAirSpeed()
{
    if (frmCntrAirSpeed == this)
        frmCntrAirSpeed = nullptr;
}

void TfrmCntrAirSpeed::btPrnClick()
{
    TfrmReports1 form(this, Net, frmMain ? frmMain->GetMineTitle() : QString());
    form.SetBranches(Table.SpeedRows);
    form.exec();
}

void TfrmCntrAirSpeed::ComputeSpeeds()
{
    Table.ComputeSpeeds();
    FillTable();
}

void TfrmCntrAirSpeed::FillTable()
{
    const int count = Table.SpeedRowCount();
    sgAirSpeed->clearContents();
    sgAirSpeed->setRowCount(count > 0 ? count : 2);
    for (int i = 0; i < count; ++i) {
        const int b = Table.SpeedRows[i];
        const QStringList cells = Table.BranchRow(b);
        const TSpeedState state = Table.State(b);
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (c > 0)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (state != ssNormal) {
                item->setBackground(state == ssBelowMin ? QColor(Qt::red) : QColor(Qt::yellow));
                item->setForeground(QColor(Qt::black));
            }
            sgAirSpeed->setItem(i, c, item);
        }
    }
    // A long name widens its column rather than being cut.
    WidenColumnsToContents(*sgAirSpeed);
}

void TfrmCntrAirSpeed::cmbDiapChange(int index)
{
    Table.ApplyFilter(index, cmbDiap->itemText(index));
    FillTable();
}

void TfrmCntrAirSpeed::cmbDiapTyped(const QString &text)
{
    Table.ApplyFilter(-1, text);
    FillTable();
}

void RunSpeedCheck(QWidget *Owner, TNetworkTables &t)
{
    if (!CalcAir(Owner, t))
        return;
    TfrmCntrAirSpeed form(Owner, t);
    form.ComputeSpeeds();
    form.exec();
}
