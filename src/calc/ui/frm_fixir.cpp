#include "calc/ui/frm_fixir.h"

#include "platform/help.h"
#include "platform/prompt.h"
#include "shell/main_commands.h"

#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QStyledItemDelegate>
#include <QtWidgets/QVBoxLayout>

namespace {

constexpr int HelpTopic = 70;
constexpr int FixedColumns = 3;
const int ColumnWidths[FixirColumnCount] = {56, 56, 56, 96, 80, 110, 84, 84, 104};

QString Caption()
{
    return LookupText(QStringLiteral("Предупреждение"));
}

void Warn(const QString &text)
{
    ShowMessageBox(LookupText(text), Caption(), mb::Ok | mb::IconWarning);
}

bool Editable(int column)
{
    return column >= fcR && column <= fcHf;
}

} // namespace

namespace {

// Tells the grid which editor it opened.
class TFixirDelegate : public QStyledItemDelegate
{
public:
    TFixirDelegate(QObject *parent, QPointer<QWidget> &editor) : QStyledItemDelegate(parent), m_editor(editor) {}
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        m_editor = editor;
        return editor;
    }

private:
    QPointer<QWidget> &m_editor;
};

} // namespace

TFixirGrid::TFixirGrid(QWidget *parent) : QTableWidget(parent)
{
    setItemDelegate(new TFixirDelegate(this, m_editor));
}

void TFixirGrid::CommitEdit()
{
    // An editor already closed waits hidden for its deletion.
    if (state() != QAbstractItemView::EditingState || !m_editor || m_editor->isHidden())
        return;
    QWidget *editor = m_editor;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
}

TfrmFixir::TfrmFixir(QWidget *owner, TNetworkTables &t)
    : QDialog(owner), m_study(std::make_unique<TFixirStudy>(t)), m_t(t)
{
    setObjectName(QStringLiteral("frmFixir"));
    setWindowTitle(LookupText(QStringLiteral("Расчет сопротивлений по фиксированным значениям расхода и депресии")));

    mnuMain = new QMenuBar(this);
    mnuTables = mnuMain->addMenu(LookupText(QStringLiteral("Таблицы")));
    mnuTables->setObjectName(QStringLiteral("mnuTables"));
    const char *items[] = {nullptr,
                           "Все ветви сети",
                           "Ветви с фиксированным расходом",
                           "Ветви с фиксированной депрессией",
                           "Ветви  с отсутствующей информацией",
                           "Ветви с полной информацией для расчетов",
                           "Ветви с отрицательными R или Q",
                           "Ветви с различием H или Q более 10% "};
    for (int list = flAll; list <= flDiscrepant; ++list) {
        mnuList[list] = mnuTables->addAction(LookupText(QString::fromUtf8(items[list])));
        mnuList[list]->setObjectName(QStringLiteral("mnuList%1").arg(list));
        connect(mnuList[list], &QAction::triggered, this, [this, list] {
            // After a rejected cell only the full list is offered.
            if (list == flAll || m_valid)
                PrintTabl(list);
        });
    }
    // Opening the menu ends the edit in progress.
    connect(mnuTables, &QMenu::aboutToShow, this, &TfrmFixir::ValidateCurrentCell);
    mnuCancel = mnuMain->addAction(LookupText(QStringLiteral("Отменить")));
    mnuCancel->setObjectName(QStringLiteral("mnuCancel"));
    mnuClose = mnuMain->addAction(LookupText(QStringLiteral("Закрыть")));
    mnuClose->setObjectName(QStringLiteral("mnuClose"));
    mnuStart = mnuMain->addAction(LookupText(QStringLiteral("Расчет")));
    mnuStart->setObjectName(QStringLiteral("mnuStart"));
    mnuHelp = mnuMain->addAction(LookupText(QStringLiteral("Справка")));
    mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
    connect(mnuCancel, &QAction::triggered, this, &QDialog::reject);
    connect(mnuClose, &QAction::triggered, this, &TfrmFixir::mnuCloseClick);
    connect(mnuStart, &QAction::triggered, this, &TfrmFixir::Start);
    connect(mnuHelp, &QAction::triggered, this, [] { ShowHelpTopic(HelpTopic); });

    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    QFont bold = lblMessage->font();
    bold.setBold(true);
    lblMessage->setFont(bold);

    SGTabFixir = new TFixirGrid(this);
    SGTabFixir->setObjectName(QStringLiteral("SGTabFixir"));
    SGTabFixir->setColumnCount(FixirColumnCount);
    SGTabFixir->setHorizontalHeaderLabels(TFixirStudy::Headers());
    SGTabFixir->setToolTip(LookupText(QStringLiteral("Расчет производится только в случае равенства 0 Rфакт")));
    SGTabFixir->verticalHeader()->hide();
    SGTabFixir->verticalHeader()->setDefaultSectionSize(20);
    SGTabFixir->setSelectionMode(QAbstractItemView::SingleSelection);
    SGTabFixir->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                | QAbstractItemView::AnyKeyPressed);
    for (int c = 0; c < FixirColumnCount; ++c)
        SGTabFixir->setColumnWidth(c, std::max(ColumnWidths[c], SGTabFixir->horizontalHeader()->sectionSizeHint(c)));
    connect(SGTabFixir, &QTableWidget::itemChanged, this, &TfrmFixir::ItemChanged);
    connect(SGTabFixir, &QTableWidget::cellClicked, this, &TfrmFixir::CellClicked);

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(mnuMain);
    layout->addWidget(lblMessage);
    layout->addWidget(SGTabFixir, 1);
    int width = 40;
    for (int c = 0; c < FixirColumnCount; ++c)
        width += SGTabFixir->columnWidth(c);
    resize(width, 520);

    mnuList[flNegative]->setEnabled(false);
    mnuList[flDiscrepant]->setEnabled(false);
}

TfrmFixir::~TfrmFixir() = default;

void TfrmFixir::UpdateListItems()
{
    for (int list = flAll; list <= flToCompute; ++list)
        mnuList[list]->setEnabled(m_study->ListEnabled(list));
}

void TfrmFixir::PrintRow(int row, int b)
{
    // Items are changed in place: a row is also reprinted from the change
    // signal of one of its own items.
    const QStringList cells = m_study->Row(b);
    const QColor fixedColour = palette().color(QPalette::Button);
    for (int c = 0; c < FixirColumnCount; ++c) {
        QTableWidgetItem *item = SGTabFixir->item(row, c);
        if (!item) {
            item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            if (Editable(c))
                flags |= Qt::ItemIsEditable;
            item->setFlags(flags);
            SGTabFixir->setItem(row, c, item);
        }
        item->setText(cells[c]);
        if (c < FixedColumns) {
            item->setBackground(fixedColour);
            continue;
        }
        QColor back = Qt::white, text = Qt::black;
        switch (m_study->CellColour(b, c)) {
        case ccGreen: back = Qt::green; break;
        case ccRed: back = Qt::red; text = Qt::yellow; break;
        case ccBlue: back = Qt::blue; text = Qt::white; break;
        case ccWhite: break;
        }
        item->setBackground(back);
        item->setForeground(text);
    }
}

void TfrmFixir::PrintTabl(int list)
{
    if (list != 0)
        m_list = list;
    lblMessage->setText(LookupText(TFixirStudy::ListName(m_list)));
    const int lastRow = std::max(0, SGTabFixir->currentRow());
    m_rows = m_study->Rows(m_list);
    m_filling = true;
    SGTabFixir->clearContents();
    SGTabFixir->setRowCount(static_cast<int>(m_rows.size()));
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        PrintRow(static_cast<int>(i), m_rows[i]);
    m_filling = false;
    if (!m_rows.empty()) {
        const int row = std::min(lastRow, static_cast<int>(m_rows.size()) - 1);
        SGTabFixir->setCurrentCell(row, fcR);
        SGTabFixir->scrollToItem(SGTabFixir->item(row, fcR));
    }
    UpdateListItems();
}

void TfrmFixir::ItemChanged(QTableWidgetItem *item)
{
    if (m_filling || !Editable(item->column()))
        return;
    const int row = item->row();
    const int b = m_rows[row];
    const TFixirCell cell = CheckFixirCell(item->column(), item->text());
    if (cell.Check != fcValid) {
        m_valid = false;
        Warn(cell.Message);
        m_filling = true;
        item->setText(m_study->Row(b)[item->column()]);
        m_filling = false;
        RefuseSelection(row, item->column());
        return;
    }
    m_valid = true;
    m_study->SetCell(b, item->column(), cell.Value);
    m_filling = true;
    PrintRow(row, b);
    m_filling = false;
    UpdateListItems();
}

void TfrmFixir::RefuseSelection(int row, int column)
{
    // The click that left the cell moves the current cell after this; it goes back.
    QTimer::singleShot(0, this, [this, row, column] {
        if (row < SGTabFixir->rowCount())
            SGTabFixir->setCurrentCell(row, column);
    });
}

bool TfrmFixir::ValidateCurrentCell()
{
    m_valid = true;
    SGTabFixir->CommitEdit();
    return m_valid;
}

void TfrmFixir::CellClicked(int row, int column)
{
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return;
    const int b = m_rows[row];
    lblMessage->setText(LookupText(QStringLiteral("Ветвь")) + u' ' + QString::number(b) + u' ' + m_t.BranchName[b]);
}

void TfrmFixir::Start()
{
    if (!ValidateCurrentCell())
        return;
    const TFixirOutcome outcome = m_study->Start();
    if (!outcome.Warning.isEmpty())
        Warn(outcome.Warning);
    PrintTabl(outcome.List);
}

void TfrmFixir::mnuCloseClick()
{
    if (!ValidateCurrentCell())
        return;
    const int answer = ShowMessageBox(LookupText(QStringLiteral("Сохранить результаты редактирования?")),
                                      LookupText(QStringLiteral("Подтверждение")), mb::YesNo | mb::IconQuestion);
    if (answer == idYes)
        accept();
    else
        reject();
}

bool RunFixedQHResistance(QWidget *Owner, TTable<double> &r, TTable<double> &qf, TTable<double> &hf,
                          TNetworkTables &t)
{
    TfrmFixir form(Owner, t);
    TFixirStudy &study = form.Study();
    study.Open(r, qf, hf);
    if (!study.ContrInform()) {
        Warn(FixirTopologyWarning());
        return false;
    }
    study.FixirCount();
    form.PrintTabl(flAll);
    if (form.exec() != QDialog::Accepted)
        return false;
    study.WriteBack(r, qf, hf);
    return true;
}
