#include "calc/ui/frm_het.h"

#include "calc/solver.h"
#include "platform/help.h"
#include "platform/numbers.h"
#include "platform/prompt.h"
#include "platform/ui/qt_canvas.h"
#include "shell/ui/frm_main.h"

#include <QtCore/QFileInfo>
#include <QtCore/QTimer>
#include <QtGui/QCloseEvent>
#include <QtGui/QFontMetrics>
#include <QtGui/QKeyEvent>
#include <QtGui/QPainter>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QTableView>
#include <QtWidgets/QVBoxLayout>

#include <algorithm>

THetWindowHooks HetWindowHooks;
TfrmHet *frmHet = nullptr;

namespace {

constexpr int HelpTopic = 40;
constexpr int HeaderHeight = 60;
constexpr int RowHeight = 20;
constexpr int MarkSize = 8;
const int NodeWidths[HetNodeColumnCount] = {30, 60, 82, 60};
const int BranchWidths[HetBranchColumnCount] = {40, 40, 40, 70, 60, 60, 60, 60};
// Top lines that a column's heading shares with the next column: "Топология"
// over the first three, "Узлы" over the two node columns, "Расход" and
// "Температура" over their pairs.
const std::vector<int> BranchMerged{1, 2, 0, 0, 1, 0, 1, 0};

enum TMark { mkNone, mkSurface, mkReversed, mkWrongTemp };

void Warn(const QString &text)
{
    ShowMessageBox(LookupText(text), QString(), mb::Ok | mb::IconWarning);
}

// The small marks of the number cells, drawn once.
QIcon MarkIcon(TMark mark)
{
    QImage image(MarkSize, MarkSize, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TQtCanvas canvas(&image);
        switch (mark) {
        case mkSurface:
            canvas.Pen.Color = RGBColor(0, 0, 255);
            canvas.Brush.Color = RGBColor(0, 0, 255);
            canvas.Ellipse(0, 0, 8, 8);
            break;
        case mkReversed:
            canvas.Pen.Color = RGBColor(255, 0, 0);
            canvas.Pen.Width = 2;
            canvas.MoveTo(0, 4);
            canvas.LineTo(8, 4);
            break;
        case mkWrongTemp:
            canvas.Pen.Color = RGBColor(255, 0, 0);
            canvas.Pen.Width = 2;
            canvas.MoveTo(1, 4);
            canvas.LineTo(3, 7);
            canvas.LineTo(7, 1);
            break;
        case mkNone:
            break;
        }
    }
    return QIcon(QPixmap::fromImage(image));
}

void ConfigureGrid(THetGrid *grid, int columns, const int *widths, const std::vector<QStringList> &headers,
                   const std::vector<int> &merged)
{
    grid->setColumnCount(columns);
    auto *header = new THetHeader(headers, merged, grid);
    grid->setHorizontalHeader(header);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(RowHeight);
    grid->verticalHeader()->setMinimumSectionSize(RowHeight);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                          | QAbstractItemView::AnyKeyPressed);
    grid->setIconSize(QSize(MarkSize, MarkSize));
    grid->setTextElideMode(Qt::ElideNone);
    QFont font = grid->font();
    font.setPointSize(8);
    grid->setFont(font);
    font.setPointSize(7);
    header->setFont(font);
    // The widths suit the captions; a larger font widens a column to its
    // caption, and the number column makes room for its mark.
    const QFontMetrics metrics(font);
    for (int c = 0; c < columns; ++c) {
        int width = widths[c] + (c == 0 ? MarkSize + 2 : 0);
        for (int line = c < static_cast<int>(merged.size()) ? merged[c] : 0; line < 3; ++line)
            if (c == 0 || c - 1 >= static_cast<int>(merged.size()) || line >= merged[c - 1])
                width = std::max(width, metrics.horizontalAdvance(headers[c][line]) + 6);
        grid->setColumnWidth(c, width);
    }
}

void PutRow(TFixirGrid *grid, int row, const QStringList &cells, int editable, int fixed, const QIcon &mark,
            int leftAligned = -1)
{
    const QColor fixedColour = grid->palette().color(QPalette::Button);
    for (int c = 0; c < cells.size(); ++c) {
        QTableWidgetItem *item = grid->item(row, c);
        if (!item) {
            item = new QTableWidgetItem;
            item->setTextAlignment((c == leftAligned ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            if (c == editable)
                flags |= Qt::ItemIsEditable;
            item->setFlags(flags);
            if (c < fixed)
                item->setBackground(fixedColour);
            grid->setItem(row, c, item);
        }
        item->setText(cells[c]);
        if (c == 0)
            item->setIcon(mark);
    }
}

} // namespace

THetHeader::THetHeader(const std::vector<QStringList> &texts, std::vector<int> mergedLines, QWidget *parent)
    : QHeaderView(Qt::Horizontal, parent), m_texts(texts), m_merged(std::move(mergedLines))
{
    m_merged.resize(m_texts.size(), 0);
    setSectionsClickable(false);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Fixed);
    setMinimumHeight(HeaderHeight);
}

QSize THetHeader::sizeHint() const
{
    return {QHeaderView::sizeHint().width(), HeaderHeight};
}

int THetHeader::MergedRight(int column) const
{
    return column >= 0 && column < static_cast<int>(m_merged.size()) ? m_merged[column] : 0;
}

int THetHeader::MergedLeft(int column) const
{
    return MergedRight(column - 1);
}

void THetHeader::paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const
{
    if (logicalIndex < 0 || logicalIndex >= static_cast<int>(m_texts.size()))
        return;
    painter->save();
    painter->fillRect(rect, palette().color(QPalette::Button));
    const int lineHeight = rect.height() / 3;
    const int left = MergedLeft(logicalIndex);
    const int right = MergedRight(logicalIndex);
    painter->setPen(palette().color(QPalette::Dark));
    painter->drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
    painter->drawLine(rect.right(), rect.top() + right * lineHeight, rect.right(), rect.bottom());
    for (int k = 1; k <= std::max(left, right); ++k)
        painter->drawLine(rect.left(), rect.top() + k * lineHeight, rect.right(), rect.top() + k * lineHeight);
    painter->setPen(palette().color(QPalette::ButtonText));
    painter->setFont(font());
    const QStringList &lines = m_texts[logicalIndex];
    for (int i = 0; i < 3 && i < lines.size(); ++i) {
        const QRect line(rect.left(), rect.top() + i * lineHeight, rect.width(), lineHeight);
        QString text = lines[i];
        // A shared heading is split between the columns: the first part
        // ends at the separator, the rest goes on from it.
        if (i < left) {
            // A new word after the separator keeps a gap; a word's second half does not.
            text = text.trimmed();
            const int gap = !text.isEmpty() && text.front().isUpper() ? 4 : -1;
            painter->drawText(line.adjusted(gap, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
        } else if (i < right) {
            painter->drawText(line.adjusted(0, 0, 2, 0), Qt::AlignRight | Qt::AlignVCenter, text.trimmed());
        } else {
            painter->drawText(line.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text);
        }
    }
    painter->restore();
}

THetGrid::THetGrid(QWidget *parent) : TFixirGrid(parent) {}

void THetGrid::Freeze(int columns, const std::vector<QStringList> &headers, const std::vector<int> &merged)
{
    m_columns = columns;
    m_frozen = new QTableView(this);
    m_frozen->setModel(model());
    m_frozen->setSelectionModel(selectionModel());
    m_frozen->setHorizontalHeader(new THetHeader(headers, merged, m_frozen));
    m_frozen->horizontalHeader()->setFont(horizontalHeader()->font());
    m_frozen->setFont(font());
    m_frozen->setIconSize(iconSize());
    m_frozen->setTextElideMode(textElideMode());
    m_frozen->setFocusPolicy(Qt::NoFocus);
    m_frozen->verticalHeader()->hide();
    m_frozen->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    m_frozen->verticalHeader()->setMinimumSectionSize(verticalHeader()->minimumSectionSize());
    m_frozen->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_frozen->setFrameShape(QFrame::NoFrame);
    m_frozen->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_frozen->setSelectionMode(selectionMode());
    for (int c = 0; c < columnCount(); ++c) {
        m_frozen->setColumnHidden(c, c >= columns);
        m_frozen->setColumnWidth(c, columnWidth(c));
    }
    viewport()->stackUnder(m_frozen);
    connect(m_frozen->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, m_frozen->verticalScrollBar(),
            &QAbstractSlider::setValue);
    m_frozen->show();
    UpdateFrozenGeometry();
}

int THetGrid::FrozenWidth() const
{
    int width = 0;
    for (int c = 0; c < m_columns; ++c)
        width += columnWidth(c);
    return width;
}

void THetGrid::UpdateFrozenGeometry()
{
    if (m_frozen)
        m_frozen->setGeometry(frameWidth(), frameWidth(), FrozenWidth(),
                              viewport()->height() + horizontalHeader()->height());
}

void THetGrid::resizeEvent(QResizeEvent *event)
{
    TFixirGrid::resizeEvent(event);
    UpdateFrozenGeometry();
}

QModelIndex THetGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    // A cell moved to under the frozen columns scrolls out from beneath them.
    const QModelIndex current = TFixirGrid::moveCursor(cursorAction, modifiers);
    if (m_frozen && cursorAction == MoveLeft && current.column() >= m_columns
        && visualRect(current).topLeft().x() < FrozenWidth()) {
        const int value = horizontalScrollBar()->value() + visualRect(current).topLeft().x() - FrozenWidth();
        horizontalScrollBar()->setValue(value);
    }
    return current;
}

void THetGrid::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    if (index.column() >= m_columns)
        TFixirGrid::scrollTo(index, hint);
}

TfrmHet::TfrmHet(QWidget *owner, TNetworkTables &t, HetStudyTables &s) : QDialog(owner), m_calc(t, s)
{
    frmHet = this;
    setObjectName(QStringLiteral("frmHet"));
    m_marks = {QIcon(), MarkIcon(mkSurface), MarkIcon(mkReversed), MarkIcon(mkWrongTemp)};
    setWindowTitle(LookupText(QStringLiteral("Расчёт воздухораспределения с учётом естественной тяги")));
    // No close box: closing goes through "Закрыть" and its question.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    lblTsurf = new QLabel(LookupText(QStringLiteral("Температура на поверхности")), this);
    EdTsurf = new QLineEdit(this);
    EdTsurf->setObjectName(QStringLiteral("EdTsurf"));
    EdTsurf->setMaximumWidth(60);
    lblTsurf->setBuddy(EdTsurf);
    ChkStartTemp = new QCheckBox(LookupText(QStringLiteral("Расчёт температуры в начале выработки")), this);
    ChkStartTemp->setObjectName(QStringLiteral("ChkStartTemp"));

    lblNode = new QLabel(LookupText(QStringLiteral("Показать узлы: ")), this);
    CmbNode = new QComboBox(this);
    CmbNode->setObjectName(QStringLiteral("CmbNode"));
    lblVet = new QLabel(LookupText(QStringLiteral("Показать ветви: ")), this);
    CmbVet = new QComboBox(this);
    CmbVet->setObjectName(QStringLiteral("CmbVet"));

    TablN = new THetGrid(this);
    TablN->setObjectName(QStringLiteral("TablN"));
    ConfigureGrid(TablN, HetNodeColumnCount, NodeWidths, THetCalc::NodeHeaders(), {});
    // The status text of a surface node fits its column.
    TablN->setColumnWidth(hnStatus, std::max(TablN->columnWidth(hnStatus),
                                             TablN->fontMetrics().horizontalAdvance(QStringLiteral("  Поверхность")) + 8));
    int nodeWidth = 4;
    for (int c = 0; c < HetNodeColumnCount; ++c)
        nodeWidth += TablN->columnWidth(c);
    TablN->setFixedWidth(nodeWidth + TablN->verticalScrollBar()->sizeHint().width());
    TablT = new THetGrid(this);
    TablT->setObjectName(QStringLiteral("TablT"));
    ConfigureGrid(TablT, HetBranchColumnCount, BranchWidths, THetCalc::BranchHeaders(), BranchMerged);
    TablT->Freeze(HetBranchFixedColumns, THetCalc::BranchHeaders(), BranchMerged);

    lblSurfLegend = new QLabel(this);
    lblSurfLegend->setObjectName(QStringLiteral("lblSurfLegend"));
    lblSurfLegend->setText(LookupText(QStringLiteral("- узлы поверхности")));
    lblTurnLegend = new QLabel(this);
    lblTurnLegend->setObjectName(QStringLiteral("lblTurnLegend"));
    lblTurnLegend->setText(LookupText(QStringLiteral("- опрокидывание струи")));
    auto *surfMark = new QLabel(this);
    surfMark->setPixmap(MarkIcon(mkSurface).pixmap(MarkSize, MarkSize));
    auto *turnMark = new QLabel(this);
    turnMark->setPixmap(MarkIcon(mkReversed).pixmap(MarkSize, MarkSize));

    BtbStart = new QPushButton(LookupText(QStringLiteral("Расчёт")), this);
    BtbStart->setObjectName(QStringLiteral("BtbStart"));
    BtbPrint = new QPushButton(LookupText(QStringLiteral("Печать")), this);
    BtbPrint->setObjectName(QStringLiteral("BtbPrint"));
    BtbPrint->setEnabled(bool(HetWindowHooks.ShowReport));
    BtbHelp = new QPushButton(LookupText(QStringLiteral("Справка")), this);
    BtbHelp->setObjectName(QStringLiteral("BtbHelp"));
    BtbExit = new QPushButton(LookupText(QStringLiteral("Закрыть")), this);
    BtbExit->setObjectName(QStringLiteral("BtbExit"));
    // Return in the temperature box takes the number, not a button.
    for (QPushButton *b : {BtbStart, BtbPrint, BtbHelp, BtbExit})
        b->setAutoDefault(false);

    connect(BtbStart, &QPushButton::clicked, this, &TfrmHet::BtbStartClick);
    connect(BtbExit, &QPushButton::clicked, this, &TfrmHet::BtbExitClick);
    connect(BtbPrint, &QPushButton::clicked, this, &TfrmHet::BtbPrintClick);
    connect(BtbHelp, &QPushButton::clicked, this, [] { ShowHelpTopic(HelpTopic); });
    connect(EdTsurf, &QLineEdit::editingFinished, this, &TfrmHet::EdTsurfExit);
    connect(ChkStartTemp, &QCheckBox::toggled, this, [this](bool on) {
        m_calc.NodeTemperatures = on;
        PrintTablN();
        PrintTablT();
    });
    connect(CmbNode, &QComboBox::activated, this, [this](int index) {
        if (!ValidateCells())
            return;
        m_calc.NodeFilter = index;
        PrintTablN();
    });
    connect(CmbVet, &QComboBox::activated, this, [this](int index) {
        if (!ValidateCells())
            return;
        m_calc.BranchFilter = index;
        PrintTablT();
    });
    connect(TablN, &QTableWidget::itemChanged, this, &TfrmHet::TablNChanged);
    connect(TablT, &QTableWidget::itemChanged, this, &TfrmHet::TablTChanged);

    auto *top = new QHBoxLayout;
    top->addWidget(lblTsurf);
    top->addWidget(EdTsurf);
    top->addSpacing(12);
    top->addWidget(ChkStartTemp);
    top->addStretch(1);

    auto *grids = new QGridLayout;
    auto *nodeFilter = new QHBoxLayout;
    nodeFilter->addWidget(lblNode);
    nodeFilter->addWidget(CmbNode, 1);
    auto *branchFilter = new QHBoxLayout;
    branchFilter->addWidget(lblVet);
    branchFilter->addWidget(CmbVet, 1);
    auto *surfLegend = new QHBoxLayout;
    surfLegend->addWidget(surfMark);
    surfLegend->addWidget(lblSurfLegend, 1);
    auto *turnLegend = new QHBoxLayout;
    turnLegend->addWidget(turnMark);
    turnLegend->addWidget(lblTurnLegend, 1);
    grids->addLayout(nodeFilter, 0, 0);
    grids->addLayout(branchFilter, 0, 1);
    grids->addWidget(TablN, 1, 0);
    grids->addWidget(TablT, 1, 1);
    grids->addLayout(surfLegend, 2, 0);
    grids->addLayout(turnLegend, 2, 1);
    grids->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton *b : {BtbStart, BtbPrint, BtbHelp, BtbExit})
        buttons->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addLayout(grids, 1);
    layout->addLayout(buttons);

    setMinimumSize(550, 320);
    setMaximumSize(600, 350);
    resize(600, 350);

    m_surfMark = surfMark;
    m_turnMark = turnMark;
}

TfrmHet::~TfrmHet()
{
    if (frmHet == this)
        frmHet = nullptr;
}

void TfrmHet::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmHet::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

void TfrmHet::FormShow()
{
    ChkStartTemp->setChecked(true);
    m_calc.NodeTemperatures = true;
    m_calc.CheckData();
    FillFilters();
    EdTsurf->setText(FormatWD(m_calc.Tables().Tsurf, 0, 1));
    PrintTablN();
    PrintTablT();
    ShowLegends();
}

void TfrmHet::FillFilters()
{
    const auto fill = [](QComboBox *box, const std::vector<THetFilter> &filters, int current) {
        box->clear();
        for (const THetFilter &f : filters)
            box->addItem(LookupText(f.Text));
        box->setCurrentIndex(std::clamp(current, 0, std::max(0, box->count() - 1)));
    };
    fill(CmbNode, m_calc.NodeFilters, m_calc.NodeFilter);
    fill(CmbVet, m_calc.BranchFilters, m_calc.BranchFilter);
}

void TfrmHet::ShowLegends()
{
    const bool surface = m_calc.Tables().SurfaceNodes.Count > 0;
    lblSurfLegend->setVisible(surface);
    m_surfMark->setVisible(surface);
    lblTurnLegend->setVisible(m_calc.ReversalLegend);
    m_turnMark->setVisible(m_calc.ReversalLegend);
}

void TfrmHet::PrintTablN()
{
    m_nodeRows = m_calc.NodeRows();
    m_filling = true;
    TablN->setRowCount(static_cast<int>(m_nodeRows.size()));
    for (std::size_t i = 0; i < m_nodeRows.size(); ++i) {
        const int n = m_nodeRows[i];
        PutRow(TablN, static_cast<int>(i), m_calc.NodeRow(n), hnAltitude, 1,
               m_marks[m_calc.Tables().Surface[n] != 0 ? mkSurface : mkNone], hnStatus);
    }
    m_filling = false;
}

void TfrmHet::PrintTablT()
{
    m_branchRows = m_calc.BranchRows();
    const HetStudyTables &s = m_calc.Tables();
    m_filling = true;
    TablT->setRowCount(static_cast<int>(m_branchRows.size()));
    for (std::size_t i = 0; i < m_branchRows.size(); ++i) {
        const int b = m_branchRows[i];
        const TMark mark = s.Reversed.Has(b) ? mkReversed : s.TempErrors.Has(b) ? mkWrongTemp : mkNone;
        PutRow(TablT, static_cast<int>(i), m_calc.BranchRow(b), hbEndTemp, HetBranchFixedColumns, m_marks[mark]);
    }
    m_filling = false;
}

namespace {

// A rejected cell keeps the selection: the click that left it is undone.
void RefuseSelection(TFixirGrid *grid, int row, int column)
{
    QTimer::singleShot(0, grid, [grid, row, column] {
        if (row < grid->rowCount())
            grid->setCurrentCell(row, column);
    });
}

} // namespace

void TfrmHet::CellChanged(THetGrid *grid, QTableWidgetItem *item, int row, THetNumber number, double &value,
                          const std::function<QString()> &shown)
{
    if (number.Valid)
        value = number.Value;
    m_filling = true;
    item->setText(shown());
    m_filling = false;
    if (!number.Valid) {
        m_valid = false;
        Warn(number.Message);
        RefuseSelection(grid, row, item->column());
    }
}

void TfrmHet::TablNChanged(QTableWidgetItem *item)
{
    if (m_filling || item->column() != hnAltitude)
        return;
    const int n = m_nodeRows[item->row()];
    CellChanged(TablN, item, item->row(), CheckAltitudeText(item->text()), m_calc.Tables().Altitude[n],
                [this, n] { return m_calc.NodeRow(n)[hnAltitude]; });
}

void TfrmHet::TablTChanged(QTableWidgetItem *item)
{
    if (m_filling || item->column() != hbEndTemp)
        return;
    const int b = m_branchRows[item->row()];
    CellChanged(TablT, item, item->row(), CheckEndTempText(item->text()), m_calc.Tables().EndTemp[b],
                [this, b] { return m_calc.BranchRow(b)[hbEndTemp]; });
}

bool TfrmHet::ValidateCells()
{
    m_valid = true;
    TablN->CommitEdit();
    if (m_valid)
        TablT->CommitEdit();
    return m_valid;
}

void TfrmHet::BtbStartClick()
{
    if (!ValidateCells())
        return;
    m_calc.Calculate();
    FillFilters();
    PrintTablN();
    PrintTablT();
    ShowLegends();
}

void TfrmHet::BtbExitClick()
{
    if (!ValidateCells())
        return;
    m_calc.Close();
    accept();
}

void TfrmHet::BtbPrintClick()
{
    if (!HetWindowHooks.ShowReport || !ValidateCells())
        return;
    const QString file = HetReportFile(ReportsLocation);
    if (!QFileInfo::exists(file)) {
        Warn(QStringLiteral("Не найден шаблон отчёта") + u'\r' + file);
        return;
    }
    THetReport report(m_calc, MineTitle);
    HetWindowHooks.ShowReport(this, file, report);
}

void TfrmHet::EdTsurfExit()
{
    const QString text = EdTsurf->text();
    const THetNumber number = CheckTsurfText(text);
    if (number.Valid)
        m_calc.SetTsurf(number.Value);
    EdTsurf->setText(FormatWD(m_calc.Tables().Tsurf, 0, 1));
    if (!number.Valid) {
        Warn(number.Message);
        return;
    }
    PrintTablN();
}

bool RunHet(TfrmMain &mainWindow, bool &WrittenBack)
{
    WrittenBack = false;
    TfrmHet form(&mainWindow);
    form.ReportsLocation = mainWindow.Options().ReportsLocation;
    form.MineTitle = mainWindow.GetMineTitle();
    if (form.Calc().Open() != crSolved) {
        Warn(QStringLiteral("Не подготовлена информация для расчёта") + u'\r'
             + QStringLiteral("ВОЗДУХОРАСПРЕДЕЛЕНИЯ, Задание ОТМЕНЯЕТСЯ!..."));
        return false;
    }
    form.FormShow();
    if (form.exec() != QDialog::Accepted)
        return false;
    WrittenBack = form.Calc().Tables().WrittenBack;
    return true;
}
