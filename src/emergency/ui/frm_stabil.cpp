#include "emergency/ui/frm_stabil.h"

#include "emergency/ui/frm_fr_stab.h"
#include "emergency/ui/frm_pojar.h"
#include "emergency/ui/frm_prg_b.h"
#include "platform/guard.h"
#include "platform/prompt.h"
#include "shell/ui/frm_main.h"

#include <QtCore/QTimer>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QVBoxLayout>

TfrmStabil *frmStabil = nullptr;

namespace {

// The fire load counts when the fire window exists with its check box on.
TFireOptions StabilityFireOptions()
{
    TFireOptions options;
    if (frmMain)
        options.FireTime = frmMain->GetFireTime();
    if (frmPojar && frmPojar->ChkPNagr->isChecked()) {
        if (frmMain)
            FireLoadFolder = frmMain->GetFansFolder();
        LoadFireLoad(FireLoadFolder, FireLoadRec);
        options.Load = &FireLoadRec;
    }
    return options;
}

bool DataCell(int row) { return row >= StabilityHeaderRows; }

} // namespace

TfrmStabil::TfrmStabil(QWidget *owner, TNetworkTables &t) : QDialog(owner), m_t(t)
{
    frmStabil = this;
    setWindowTitle(QStringLiteral("Устойчивость проветривания наклонных выработок"));
    Grid = new QTableWidget(this);
    Grid->setColumnCount(StabilityColumns);
    Grid->horizontalHeader()->hide();
    Grid->verticalHeader()->hide();
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    Grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                          | QAbstractItemView::AnyKeyPressed);
    Grid->installEventFilter(this);
    const int widths[StabilityColumns] = {32, 210, 80, 70, 60, 60, 60, 70, 70, 120, 120, 110};
    for (int c = 0; c < StabilityColumns; ++c)
        Grid->setColumnWidth(c, widths[c]);

    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    btnPrint = new QPushButton(QStringLiteral("Печать..."), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *b : {btnPrint, btnOk, btnCancel})
        buttons->addWidget(b);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Grid);
    layout->addLayout(buttons);
    resize(1100, 420);

    connect(btnOk, &QPushButton::clicked, this, &TfrmStabil::accept);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmStabil::reject);
    connect(btnPrint, &QPushButton::clicked, this, [this] { GuardedCall([this] { btnPrintClick(); }); });
    connect(Grid, &QTableWidget::currentCellChanged, this, &TfrmStabil::CurrentCellChanged);
}

TfrmStabil::~TfrmStabil()
{
    if (frmStabil == this)
        frmStabil = nullptr;
}

void TfrmStabil::Compute()
{
    TfrmPrgB progress(parentWidget(), QStringLiteral("Расчет устойчивости проветривания наклонных выработок"));
    progress.show();
    const CalcResult result =
        ComputeDescendingStability(m_t, Study, StabilityFireOptions(), progress, EditLackingBranches);
    progress.hide();
    if (result != crSolved)
        ShowCalcError(parentWidget(), result, m_t);
}

void TfrmStabil::FillTable()
{
    const QSignalBlocker block(Grid);
    Grid->clearContents();
    const int count = Study.Count();
    Grid->setRowCount(count > 0 ? count + StabilityHeaderRows : StabilityHeaderRows + 1);
    const QBrush headerBrush = palette().button();
    for (int row = 0; row < Grid->rowCount(); ++row)
        for (int c = 0; c < StabilityColumns; ++c) {
            auto *item = new QTableWidgetItem;
            if (!DataCell(row)) {
                item->setText(StabilityHeaderText(c, row));
                item->setBackground(headerBrush);
                item->setTextAlignment(Qt::AlignCenter);
                item->setFlags(Qt::ItemIsEnabled);
            } else {
                const int k = row - StabilityHeaderRows + 1;
                item->setText(StabilityCellText(m_t, Study, k, c));
                item->setForeground(Qt::black);
                Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
                if (StabilityColumnEditable(c) && k <= count)
                    flags |= Qt::ItemIsEditable;
                item->setFlags(flags);
                if (c < 3)
                    item->setBackground(headerBrush);
            }
            Grid->setItem(row, c, item);
        }
}

bool TfrmStabil::LeaveCell(int row, int column)
{
    if (!DataCell(row) || !StabilityColumnEditable(column))
        return true;
    const QTableWidgetItem *item = Grid->item(row, column);
    const QTableWidgetItem *number = Grid->item(row, 0);
    if (!item || !number)
        return true;
    const int k = number->text().toInt();
    if (k < 1 || k > Study.Count())
        return true;
    // Passing through a cell is no edit: an unchanged text keeps the stored
    // value whole (the cell shows it rounded) and the table is recomputed next time.
    if (item->text() == StabilityCellText(m_t, Study, k, column))
        return true;
    return StoreStabilityCell(Study, k, column, item->text());
}

void TfrmStabil::CurrentCellChanged(int row, int column, int previousRow, int previousColumn)
{
    if (m_returning || previousRow < 0)
        return;
    if (LeaveCell(previousRow, previousColumn))
        return;
    // The selection stays on the cell with the bad text.
    m_returning = true;
    Grid->setCurrentCell(previousRow, previousColumn);
    m_returning = false;
}

void TfrmStabil::DeleteRow(int row)
{
    const int k = row - StabilityHeaderRows + 1;
    if (!DataCell(row) || k > Study.Count())
        return;
    const int b = Study.Items[static_cast<std::size_t>(k - 1)];
    if (ShowMessageBox(DeleteStabilityQuestion(b), QString(), mb::YesNo | mb::IconWarning) != idYes)
        return;
    const int column = std::max(Grid->currentColumn(), 0);
    DeleteStabilityItem(Study, k);
    FillTable();
    Grid->setCurrentCell(std::max(row - 1, StabilityHeaderRows), column);
}

bool TfrmStabil::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Grid && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Delete && !StabilityColumnEditable(Grid->currentColumn())) {
            const int row = Grid->currentRow();
            GuardedCall([this, row] { DeleteRow(row); });
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmStabil::showEvent(QShowEvent *event)
{
    if (Study.Count() > 0)
        FillTable();
    QDialog::showEvent(event);
}

void TfrmStabil::accept()
{
    // Leaving the grid (its editor committed as the focus left it) stores
    // its cell, or keeps the window on a bad one.
    if (!LeaveCell(Grid->currentRow(), Grid->currentColumn()))
        return;
    QDialog::accept();
}

void TfrmStabil::btnPrintClick()
{
    TfrmFrStab chooser(this, m_t, Study);
    chooser.exec();
}

void FreeStabilityWindow()
{
    delete frmStabil;
}

void RunDescendingStability(TfrmMain &mainWindow)
{
    if (!frmStabil)
        new TfrmStabil(&mainWindow, Net);
    TfrmStabil *form = frmStabil;
    if (!form->StabilityEdited())
        form->Compute();
    if (form->Study.Count() <= 0) {
        FreeStabilityWindow();
        return;
    }
    if (form->exec() != QDialog::Accepted)
        FreeStabilityWindow();
}
