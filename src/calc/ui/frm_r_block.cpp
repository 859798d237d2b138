#include "calc/ui/frm_r_block.h"

#include "platform/ui/qt_canvas.h"
#include "shell/main_commands.h"

#include <QtGui/QKeyEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QVBoxLayout>

TfrmRBlock *frmRBlock = nullptr;

namespace {

constexpr std::array<int, RBlockColumnCount> ColumnWidths{41, 41, 41, 56, 54, 54, 41, 41, 56, 41, 41, 81};
constexpr int RowHeight = 16;

} // namespace

TfrmRBlock::TfrmRBlock(QWidget *owner, TRBlock &block) : QDialog(owner), m_block(block)
{
    frmRBlock = this;
    setWindowTitle(LookupText(QStringLiteral("R-Блок")));
    setMinimumSize(636, 460);
    setSizeGripEnabled(true);

    StringGrid1 = new QTableWidget(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setColumnCount(RBlockColumnCount);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setMinimumSectionSize(RowHeight);
    StringGrid1->verticalHeader()->setDefaultSectionSize(RowHeight);
    StringGrid1->horizontalHeader()->setMinimumSectionSize(10);
    for (int c = 0; c < RBlockColumnCount; ++c)
        StringGrid1->setColumnWidth(c, ColumnWidths[static_cast<std::size_t>(c)]);
    StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
    StringGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                 | QAbstractItemView::AnyKeyPressed);
    // The column widths were set for a narrow 8-point face; texts that do not
    // fit are cut, never replaced by an ellipsis.
    QFont small(QStringLiteral("Arial"));
    small.setPixelSize(11);
    StringGrid1->setFont(small);
    StringGrid1->setTextElideMode(Qt::ElideNone);
    StringGrid1->setWordWrap(false);
    StringGrid1->installEventFilter(this);

    Label1 = new QLabel(LookupText(QStringLiteral("Ветви с неполной информацией")), this);
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setMinimumWidth(260);
    Button2 = new QPushButton(LookupText(QStringLiteral("Отменить")), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button1 = new QPushButton(QStringLiteral("Ok"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Button2->setAutoDefault(false);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(Label1);
    bottom->addWidget(ComboBox1, 1);
    bottom->addSpacing(20);
    bottom->addWidget(Button2);
    bottom->addWidget(Button1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(StringGrid1, 1);
    layout->addLayout(bottom);

    connect(StringGrid1, &QTableWidget::cellChanged, this, &TfrmRBlock::CellEdited);
    connect(qApp, &QApplication::focusChanged, this, &TfrmRBlock::FocusChanged);
    connect(Button1, &QPushButton::clicked, this, &TfrmRBlock::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    FillGrid();
    StringGrid1->setCurrentCell(RBlockHeaderRows, rcActualR);
}

TfrmRBlock::~TfrmRBlock()
{
    // The children go after this object: their focus changes must not reach it.
    disconnect(qApp, nullptr, this, nullptr);
    if (frmRBlock == this)
        frmRBlock = nullptr;
}

void TfrmRBlock::FillGrid()
{
    m_filling = true;
    const int rows = m_block.RowCount();
    StringGrid1->setRowCount(RBlockHeaderRows + rows);
    const QColor silver = TColorToQColor(clSilver);
    const QColor white = TColorToQColor(clWhite);
    const auto put = [&](int row, int column, const QString &text, bool editable, const QColor &back) {
        QTableWidgetItem *item = StringGrid1->item(row, column);
        if (!item) {
            item = new QTableWidgetItem;
            StringGrid1->setItem(row, column, item);
        }
        item->setText(text);
        item->setFlags(editable ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                                : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setBackground(back);
        item->setForeground(Qt::black);
    };
    for (int h = 0; h < RBlockHeaderRows; ++h)
        for (int c = 0; c < RBlockColumnCount; ++c)
            put(h, c, TRBlock::HeaderText(c, h), false, silver);
    for (int r = 0; r < rows; ++r) {
        const bool grey = m_block.IsIncompleteRow(r);
        for (int c = 0; c < RBlockColumnCount; ++c) {
            const bool fixed = c < RBlockFixedColumns;
            put(RBlockHeaderRows + r, c, m_block.CellText(c, r), TRBlock::IsEditableColumn(c),
                fixed || grey ? silver : white);
        }
    }
    ComboBox1->clear();
    ComboBox1->addItems(m_block.IncompleteList);
    ComboBox1->setCurrentIndex(0);
    m_filling = false;
}

void TfrmRBlock::CellEdited(int row, int column)
{
    if (m_filling || row < RBlockHeaderRows || !TRBlock::IsEditableColumn(column))
        return;
    m_block.Edited = true;
    const QString text = StringGrid1->item(row, column)->text();
    // The resistances wait until the grid is left: one input of a pair
    // (H without its Q) must not be judged on its own.
    if (m_block.SetCellText(column, row - RBlockHeaderRows, text))
        m_uncomputed = true;
    FillGrid();
}

void TfrmRBlock::StringGrid1Exit()
{
    if (!m_uncomputed)
        return;
    m_uncomputed = false;
    m_block.ComputeResistances();
    FillGrid();
}

void TfrmRBlock::Button1Click()
{
    // Every typed value is computed before the block closes, however the
    // grid was left; values computed on leaving it are not computed (nor
    // warned about) twice.
    StringGrid1Exit();
    m_block.ApplyOk();
    accept();
}

bool TfrmRBlock::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == StringGrid1 && event->type() == QEvent::KeyPress
        && !static_cast<QKeyEvent *>(event)->text().isEmpty())
        m_block.Edited = true;
    return QDialog::eventFilter(watched, event);
}

void TfrmRBlock::FocusChanged(QWidget *old, QWidget *now)
{
    // The grid is left when the focus goes from it or its cell editor (whose
    // text is committed by then) to another control of this window; a
    // message box or another window does not leave it.
    if (InGrid(old) && now && !InGrid(now) && now->window() == this)
        StringGrid1Exit();
}

bool TfrmRBlock::InGrid(const QWidget *w) const
{
    return w && (w == StringGrid1 || StringGrid1->isAncestorOf(w));
}

bool RunRBlock(QWidget *owner, const TRBlockArrays &arrays, bool *changed)
{
    TRBlock block(arrays);
    if (changed)
        *changed = false;
    if (!block.CheckTopology())
        return false;
    block.ComputeResistances();
    bool ok = false;
    {
        TfrmRBlock form(owner, block);
        ok = form.exec() == QDialog::Accepted;
    }
    if (!ok)
        block.RestoreOpening();
    const bool written = block.WriteBack();
    if (changed)
        *changed = written;
    return ok;
}
