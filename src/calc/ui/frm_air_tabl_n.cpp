#include "calc/ui/frm_air_tabl_n.h"

#include "calc/ui/frm_reports1.h"
#include "platform/guard.h"
#include "platform/prompt.h"

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

#include <algorithm>

TfrmAirTablN *frmAirTablN = nullptr;

namespace {

const int ColumnWidths[] = {372, 68, 69, 88, 95, 88, 79, 122};
constexpr int RowHeight = 17;

} // namespace

TfrmAirTablN::TfrmAirTablN(QWidget *owner, const TNetworkTables &t, int reportStyle) : QDialog(owner), Table(t)
{
    frmAirTablN = this;
    setObjectName(QStringLiteral("frmAirTablN"));
    Table.ReportStyle = reportStyle;
    setWindowTitle(LookupText(QStringLiteral("ВОЗДУХОРАСПРЕДЕЛЕНИЕ")));
    setMinimumSize(716, 430);
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);

    sgAirDebt = new QTableWidget(this);
    sgAirDebt->setObjectName(QStringLiteral("sgAirDebt"));
    sgAirDebt->setColumnCount(8);
    sgAirDebt->setHorizontalHeaderLabels(AirTableHeaders());
    sgAirDebt->verticalHeader()->hide();
    sgAirDebt->verticalHeader()->setDefaultSectionSize(RowHeight);
    sgAirDebt->verticalHeader()->setMinimumSectionSize(RowHeight);
    sgAirDebt->setEditTriggers(QAbstractItemView::NoEditTriggers);
    sgAirDebt->setSelectionBehavior(QAbstractItemView::SelectRows);
    // The widths suit the captions; a larger font widens a column to its caption.
    for (int c = 0; c < 8; ++c)
        sgAirDebt->setColumnWidth(c, std::max(ColumnWidths[c], sgAirDebt->horizontalHeader()->sectionSizeHint(c)));

    lblDiap = new QLabel(LookupText(QStringLiteral("Диапазон")), this);
    cbxDiap = new QComboBox(this);
    cbxDiap->setObjectName(QStringLiteral("cbxDiap"));
    cbxDiap->setEditable(true);
    cbxDiap->setInsertPolicy(QComboBox::NoInsert);
    cbxDiap->setMaxVisibleItems(16);
    cbxDiap->setMinimumWidth(260);
    for (const QString &item : AirCategoryNames)
        cbxDiap->addItem(LookupText(item));
    lblDiap->setBuddy(cbxDiap);
    // Offered only when an opener asks for it.
    lblDiap->hide();
    cbxDiap->hide();
    cbxDiap->setEnabled(false);

    SpeedButton1 = new QPushButton(LookupText(QStringLiteral("Печать...")), this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    connect(SpeedButton1, &QPushButton::clicked, this, [this] {
        GuardedCall([this] { PreviewNetworkTemplate(this, StandardReportTemplate, &Table.SelectedBranches); });
    });
    btnCancel = new QPushButton(LookupText(QStringLiteral("Отмена")), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);

    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(cbxDiap, &QComboBox::activated, this, &TfrmAirTablN::cbxDiapChange);
    connect(cbxDiap->lineEdit(), &QLineEdit::textEdited, this, &TfrmAirTablN::cbxDiapTyped);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblDiap);
    bottom->addWidget(cbxDiap);
    bottom->addStretch(1);
    bottom->addWidget(SpeedButton1);
    bottom->addWidget(btnCancel);
    bottom->addWidget(btnOk);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(sgAirDebt, 1);
    layout->addLayout(bottom);

    // Without a window manager to maximise it, the window still fills the screen.
    if (const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
        resize(screen->availableGeometry().size());
    setWindowState(Qt::WindowMaximized);
}

TfrmAirTablN::~TfrmAirTablN()
{
    if (frmAirTablN == this)
        frmAirTablN = nullptr;
}

void TfrmAirTablN::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TfrmAirTablN::FormShow()
{
    if (ShowRangeChoice || Table.FixedDepressionMode) {
        lblDiap->show();
        cbxDiap->show();
        cbxDiap->setEnabled(true);
        cbxDiap->setCurrentIndex(acAllBranches);
        setWindowTitle(Table.MakeTitle(acAllBranches));
    }
    Table.SelectCategory(acAllBranches);
    FillTable();
}

void TfrmAirTablN::FillRow(int row, const QStringList &cells)
{
    for (int c = 0; c < cells.size(); ++c) {
        auto *item = new QTableWidgetItem(cells[c]);
        if (c > 0)
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        sgAirDebt->setItem(row, c, item);
    }
}

void TfrmAirTablN::FillBranchRow(int row, int b)
{
    FillRow(row, Table.BranchRow(b));
}

void TfrmAirTablN::FillTable()
{
    const int count = Table.SelectedCount();
    const bool totals = Table.HasTotals();
    sgAirDebt->clearContents();
    // An empty list still shows two empty rows; a category's totals get a row of their own.
    sgAirDebt->setRowCount(count > 0 ? count + (totals ? 1 : 0) : 2);
    for (int i = 0; i < count; ++i)
        FillBranchRow(i, Table.SelectedBranches[i]);
    if (totals)
        FillRow(count, Table.TotalsRow());
}

void TfrmAirTablN::cbxDiapChange(int index)
{
    if (index == acAllObjects)
        return;
    if (index < 0) {
        cbxDiapTyped(cbxDiap->currentText());
        return;
    }
    Table.SelectCategory(index);
    setWindowTitle(Table.MakeTitle(index));
    FillTable();
}

void TfrmAirTablN::cbxDiapTyped(const QString &text)
{
    Table.SelectRangeText(text);
    setWindowTitle(Table.MakeTitle(acAllBranches));
    FillTable();
}
