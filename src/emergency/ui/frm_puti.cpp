#include "emergency/ui/frm_puti.h"

#include "emergency/table_hooks.h"
#include "emergency/ui/frm_bd_branch.h"
#include "emergency/ui/frm_fr_stab.h"
#include "emergency/ui/frm_pojar.h"
#include "platform/prompt.h"
#include "report/template_preview.h"
#include "shell/scheme_storage.h"
#include "shell/ui/frm_find.h"
#include "shell/ui/frm_main.h"

#include <QtCore/QDir>
#include <QtGui/QClipboard>
#include <QtGui/QGuiApplication>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QGroupBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QStackedWidget>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QVBoxLayout>

TRouteWindowHooks RouteWindowHooks;
TfrmPuti *frmPuti = nullptr;

namespace {

QTableWidget *MakeGrid(QWidget *parent, const QStringList &header)
{
    auto *grid = new QTableWidget(0, int(header.size()), parent);
    grid->setHorizontalHeaderLabels(header);
    grid->verticalHeader()->setVisible(false);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->horizontalHeader()->setStretchLastSection(true);
    return grid;
}

void FillRows(QTableWidget *grid, const std::vector<QStringList> &rows)
{
    grid->clearContents();
    grid->setRowCount(int(rows.size()));
    for (int r = 0; r < int(rows.size()); ++r)
        for (int c = 0; c < rows[std::size_t(r)].size(); ++c)
            grid->setItem(r, c, new QTableWidgetItem(rows[std::size_t(r)][c]));
}

QLabel *Line(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setWordWrap(true);
    return label;
}

// The fire's zones over the standard colours, as the fire window shows them.
void ShowFireZones(TfrmMain &mainWindow)
{
    mainWindow.SetStandardColors();
    if (frmPojar)
        frmPojar->Model().ShowZones(mainWindow.Document().BranchColors, mainWindow.Options().Colors,
                                    frmPojar->ActivePage());
}

bool HasFireModel() { return frmPojar && !frmPojar->Zone1().empty(); }

// Makes sure a fire model with zones exists: a missing one is made and shown
// with its scheme button reading "Маршрут"; a window without zones (a tool
// click whose computation failed) is shown again. False ends the command.
bool EnsureFireModel(TfrmMain &mainWindow)
{
    if (HasFireModel())
        return true;
    if (!frmPojar && !CreateFireWindow(&mainWindow)) {
        mainWindow.Redraw();
        return false;
    }
    if (!frmPojar->isVisible())
        frmPojar->SetActivePage(fpFireBranch);
    frmPojar->bbtSchem->setText(QStringLiteral("Маршрут"));
    const bool accepted = frmPojar->exec() == QDialog::Accepted;
    if (!accepted || !HasFireModel()) {
        FreeFireWindow();
        mainWindow.Redraw();
        return false;
    }
    return true;
}

// A route window closed with Cancel after a reopening is given up.
void GiveUpRoutes(TfrmMain &mainWindow, bool zone1Only)
{
    mainWindow.SetRoutesExist(false);
    mainWindow.SetCaptionSuffix(QString());
    FreeRouteWindow();
    if (zone1Only) {
        mainWindow.SetStandardColors();
        if (frmPojar)
            ShowZoneOnScheme(mainWindow.Document().BranchColors, mainWindow.Options().Colors, frmPojar->Zone1(),
                             frmPojar->FireBranch());
    } else {
        ShowFireZones(mainWindow);
    }
    mainWindow.Redraw();
}

} // namespace

TfrmPuti::TfrmPuti(QWidget *owner, TNetworkTables &t) : QDialog(owner), m_t(t), m_search(t)
{
    frmPuti = this;
    setWindowTitle(QStringLiteral("Маршруты"));
    resize(900, 560);
    Pages = new QStackedWidget(this);

    // Page 0: the fire, and where the route starts.
    auto *page0 = new QWidget;
    gbFire = new QGroupBox(QStringLiteral("Пожар в ветви "), page0);
    lbFire = new QLabel(gbFire);
    btnChangeFire = new QPushButton(QStringLiteral("Изменить..."), gbFire);
    auto *fireLayout = new QHBoxLayout(gbFire);
    fireLayout->addWidget(lbFire, 1);
    fireLayout->addWidget(btnChangeFire);
    btnBdBranches = new QPushButton(QStringLiteral("Непроходимые выработки..."), page0);
    pnlNodes = new QWidget(page0);
    lbStart = new QLabel(QStringLiteral("Начальный узел пути "), pnlNodes);
    lbEnd = new QLabel(QStringLiteral("Конечный узел пути "), pnlNodes);
    edStart = new QLineEdit(pnlNodes);
    edEnd = new QLineEdit(pnlNodes);
    for (QLineEdit *edit : {edStart, edEnd})
        edit->setMaximumWidth(100);
    btnPickStart = new QToolButton(pnlNodes);
    btnPickEnd = new QToolButton(pnlNodes);
    for (QToolButton *button : {btnPickStart, btnPickEnd}) {
        button->setText(QStringLiteral("..."));
        button->setToolTip(QStringLiteral("Выбрать узел"));
    }
    auto *nodeLayout = new QGridLayout(pnlNodes);
    nodeLayout->addWidget(lbStart, 0, 0);
    nodeLayout->addWidget(edStart, 0, 1);
    nodeLayout->addWidget(btnPickStart, 0, 2);
    nodeLayout->addWidget(lbEnd, 1, 0);
    nodeLayout->addWidget(edEnd, 1, 1);
    nodeLayout->addWidget(btnPickEnd, 1, 2);
    nodeLayout->setColumnStretch(3, 1);
    pnlPeople = new QWidget(page0);
    lbPeople = new QLabel(QStringLiteral("            Места возможного нахождения горнорабочих в шахте"), pnlPeople);
    grdPeople = MakeGrid(pnlPeople, PeopleGridHeader());
    for (int c = 0; c < 5; ++c)
        grdPeople->setColumnWidth(c, c == 3 ? 380 : 70);
    auto *peopleLayout = new QVBoxLayout(pnlPeople);
    peopleLayout->setContentsMargins(0, 0, 0, 0);
    peopleLayout->addWidget(lbPeople);
    peopleLayout->addWidget(grdPeople, 1);
    auto *layout0 = new QVBoxLayout(page0);
    layout0->addWidget(gbFire);
    auto *bdRow = new QHBoxLayout;
    bdRow->addWidget(btnBdBranches);
    bdRow->addStretch();
    layout0->addLayout(bdRow);
    layout0->addWidget(pnlNodes);
    layout0->addWidget(pnlPeople, 1);
    layout0->addStretch();
    pnlNodes->hide();
    pnlPeople->hide();

    // Page 1: the evacuation routes to choose from.
    auto *page1 = new QWidget;
    lbEvacFire = Line(page1);
    lbEvacWorking = Line(page1);
    lbBuilt = new QLabel(QStringLiteral("Построены маршруты до"), page1);
    grdEvacuation = MakeGrid(page1, {QString()});
    grdEvacuation->horizontalHeader()->setVisible(false);
    auto *layout1 = new QVBoxLayout(page1);
    layout1->addWidget(lbEvacFire);
    layout1->addWidget(lbEvacWorking);
    layout1->addWidget(lbBuilt);
    layout1->addWidget(grdEvacuation, 1);

    // Page 2: the route table.
    auto *page2 = new QWidget;
    lbRouteFire = Line(page2);
    lbFresh = Line(page2);
    lbExit = Line(page2);
    lbRoute = Line(page2);
    lbTime = Line(page2);
    grdRoute = MakeGrid(page2, RouteGridHeader());
    grdRoute->setColumnWidth(0, 60);
    grdRoute->setColumnWidth(1, 60);
    grdRoute->setColumnWidth(2, 60);
    grdRoute->setColumnWidth(3, 330);
    grdRoute->setColumnWidth(4, 130);
    btnPrint = new QPushButton(QStringLiteral("Печать..."), page2);
    auto *layout2 = new QVBoxLayout(page2);
    for (QLabel *label : {lbRouteFire, lbFresh, lbExit, lbRoute, lbTime})
        layout2->addWidget(label);
    layout2->addWidget(grdRoute, 1);
    auto *printRow = new QHBoxLayout;
    printRow->addWidget(btnPrint);
    printRow->addStretch();
    layout2->addLayout(printRow);

    Pages->addWidget(page0);
    Pages->addWidget(page1);
    Pages->addWidget(page2);

    btnBack = new QPushButton(QStringLiteral("Назад"), this);
    btnNext = new QPushButton(QStringLiteral("Маршрут"), this);
    btnDone = new QPushButton(QStringLiteral("Готово"), this);
    btnCancel = new QPushButton(QStringLiteral("Отменить"), this);
    btnCopy = new QPushButton(QStringLiteral("Копировать"), this);
    btnCopy->setToolTip(QStringLiteral("Копировать в буфер обмена "));
    btnCopy->hide();
    // Enter always means the wizard's default button, wherever the focus went
    // when a page hid the button that had it.
    for (QPushButton *button : {btnBack, btnCancel, btnCopy, btnPrint, btnChangeFire, btnBdBranches})
        button->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnCopy);
    buttons->addStretch();
    buttons->addWidget(btnBack);
    buttons->addWidget(btnNext);
    buttons->addWidget(btnDone);
    buttons->addWidget(btnCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Pages, 1);
    layout->addLayout(buttons);

    connect(btnNext, &QPushButton::clicked, this, &TfrmPuti::NextClick);
    connect(btnBack, &QPushButton::clicked, this, &TfrmPuti::BackClick);
    connect(btnDone, &QPushButton::clicked, this, &TfrmPuti::DoneClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnCopy, &QPushButton::clicked, this, &TfrmPuti::CopyClick);
    connect(btnChangeFire, &QPushButton::clicked, this, &TfrmPuti::ChangeFireClick);
    connect(btnBdBranches, &QPushButton::clicked, this, &TfrmPuti::BdBranchesClick);
    connect(btnPickStart, &QToolButton::clicked, this, [this] { PickClick(edStart); });
    connect(btnPickEnd, &QToolButton::clicked, this, [this] { PickClick(edEnd); });
    connect(btnPrint, &QPushButton::clicked, this, [this] {
        if (RouteWindowHooks.PrintRoute)
            RouteWindowHooks.PrintRoute(*this);
    });
    connect(grdPeople, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (m_fillingPeople || row < 0)
            return;
        const QTableWidgetItem *item = grdPeople->item(row, 0);
        if (item && !item->text().isEmpty())
            m_people = item->text().toInt();
    });
    connect(grdEvacuation, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0 && row < int(m_slots.size()))
            m_selected = row;
    });
}

TfrmPuti::~TfrmPuti()
{
    if (frmMain)
        frmMain->SetRoutesExist(false);
    if (frmPuti == this)
        frmPuti = nullptr;
}

int TfrmPuti::Page() const
{
    return Pages->currentIndex();
}

bool TfrmPuti::EvacuationWithPeople() const
{
    return m_search.Task == rtEvacuation && m_people != 0;
}

const TRouteList *TfrmPuti::ChosenRoute() const
{
    if (m_slots.empty())
        return nullptr;
    if (EvacuationWithPeople() && m_selected >= 0 && m_selected < int(m_slots.size()))
        return &m_slots[std::size_t(m_selected)];
    return &m_slots.back();
}

TRouteReportLines TfrmPuti::ReportLines() const
{
    const QString mine = frmMain ? frmMain->Storage().MineName() : QString();
    return {mine, lbRouteFire->text(), lbFresh->text(), lbExit->text(), lbRoute->text(), lbTime->text()};
}

void TfrmPuti::TakeFire()
{
    if (!frmPojar)
        return;
    m_fireBranch = frmPojar->FireBranch();
    m_search.SmokeZone = frmPojar->SmokeZone();
}

QString TfrmPuti::FireText() const
{
    return GetBranchName(m_t, m_fireBranch) + QStringLiteral("   (номер ") + QString::number(m_fireBranch) + u')';
}

void TfrmPuti::StartTask(int task)
{
    m_search.Task = task;
    Pages->setCurrentIndex(pgNodes);
    m_people = 0;
    m_slots.clear();
    m_selected = 0;
    TakeFire();
    m_search.Impassable = GetBdBranches(m_t, m_search.SmokeZone);
}

bool TfrmPuti::RunWizard(int task)
{
    if (!HasFireModel())
        return false;
    StartTask(task);
    if (CheckData())
        return false;
    return exec() == QDialog::Accepted;
}

bool TfrmPuti::ShowRouteTable()
{
    SetPage(pgRoute);
    return exec() == QDialog::Accepted;
}

bool TfrmPuti::CheckData()
{
    for (;;) {
        const TRouteDataCheck check = CheckRouteData(m_t, m_search.Impassable);
        if (check.Message.isEmpty())
            return false;
        if (ShowMessageBox(check.Message, QString(), mb::OkCancel | mb::IconError) != idOk)
            return true;
        // Without the table editors the user goes on with the data as they stand.
        if ((check.MissingBranchData && !TableEditorHooks.EditBranchTable)
            || (check.MissingAltitudes && !TableEditorHooks.EditNodTab))
            return false;
        constexpr int TableOk = 1;
        int last = TableOk;
        if (check.MissingBranchData)
            last = TableEditorHooks.EditBranchTable(1, QString());
        if (check.MissingAltitudes)
            last = TableEditorHooks.EditNodTab(1);
        if (last != TableOk)
            return true;
    }
}

void TfrmPuti::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (Page() == pgNodes) {
        btnBack->hide();
        if (m_search.Task == rtEvacuation)
            FillPeopleGrid();
        if (m_search.Task != rtEvacuation || pnlPeople->isHidden())
            PrepareNodeEntry();
    }
    UpdateButtons();
    CheckData();
    lbFire->setText(FireText());
    setWindowTitle(RouteTaskTitle(m_search.Task));
}

void TfrmPuti::UpdateButtons()
{
    const int page = Page();
    btnNext->setVisible(page != pgRoute);
    btnDone->setVisible(page == pgRoute);
    btnBack->setVisible(page != pgNodes);
    QPushButton *next = page == pgRoute ? btnDone : btnNext;
    next->setDefault(true);
    if (!focusWidget() || !focusWidget()->isVisible())
        next->setFocus();
    if (page != pgRoute)
        btnCopy->hide();
    btnPrint->setEnabled(bool(RouteWindowHooks.PrintRoute));
}

void TfrmPuti::PrepareNodeEntry()
{
    pnlNodes->show();
    edStart->clear();
    edStart->setFocus();
    if (m_search.Task == rtLiquidation && ValidItemIndex(m_fireBranch))
        edEnd->setText(QString::number(m_t.BranchQ[m_fireBranch] > 0 ? m_t.BranchStartNode[m_fireBranch]
                                                                      : m_t.BranchEndNode[m_fireBranch]));
    else
        edEnd->clear();
    btnPickStart->setEnabled(bool(RouteWindowHooks.PickNode));
    btnPickEnd->setEnabled(bool(RouteWindowHooks.PickNode));
}

void TfrmPuti::FillPeopleGrid()
{
    const std::vector<TPeopleRow> rows = PeopleRows(m_search);
    m_fillingPeople = true;
    std::vector<QStringList> cells;
    for (const TPeopleRow &row : rows)
        cells.push_back(row.Cells);
    FillRows(grdPeople, cells);
    m_fillingPeople = false;
    if (rows.empty()) {
        pnlPeople->hide();
        m_people = 0;
        return;
    }
    pnlPeople->show();
    pnlNodes->hide();
    int row = 0;
    if (m_people == 0)
        m_people = rows.front().Branch;
    else
        for (int r = 0; r < int(rows.size()); ++r)
            if (rows[std::size_t(r)].Branch == m_people)
                row = r;
    m_fillingPeople = true;
    grdPeople->setCurrentCell(row, 0);
    m_fillingPeople = false;
}

void TfrmPuti::SetPage(int page)
{
    Pages->setCurrentIndex(page);
    EnterPage(page);
    UpdateButtons();
}

void TfrmPuti::EnterPage(int page)
{
    if (page == pgEvacuation && EvacuationWithPeople()) {
        TEvacuation e = ComputeEvacuation(m_search, m_people);
        m_start = e.Start;
        m_slots = std::move(e.Slots);
        ShowEvacuationChoice();
    } else if (page == pgRoute) {
        if (const TRouteList *route = ChosenRoute())
            ShowRoute(*route);
    }
}

void TfrmPuti::ShowEvacuationChoice()
{
    lbEvacFire->setText(EvacuationFireLine(m_t, m_fireBranch));
    lbEvacWorking->setText(EvacuationWorkingLine(m_t, m_people, m_start));
    std::vector<QStringList> rows;
    for (const QString &row : EvacuationChoiceRows(m_slots))
        rows.push_back({row});
    FillRows(grdEvacuation, rows);
    grdEvacuation->resizeColumnsToContents();
    m_selected = 0;
    if (!rows.empty())
        grdEvacuation->setCurrentCell(0, 0);
}

void TfrmPuti::ShowRoute(const TRouteList &route)
{
    lbRouteFire->setText(RouteFireLine(m_t, m_fireBranch));
    lbRoute->setText(RouteLine(m_search.Task, route));
    lbTime->setText(route.TimeText);
    lbFresh->setText(route.FreshText);
    lbExit->setText(route.ExitText);
    ClipboardText.clear();
    FillRows(grdRoute, {});
    if (route.Steps.empty()) {
        grdRoute->hide();
        btnCopy->hide();
        return;
    }
    FillRows(grdRoute, RouteGridRows(m_search, route));
    grdRoute->show();
    btnCopy->show();
    btnCopy->setEnabled(true);
    ClipboardText = RouteClipboardText(m_t, route);
}

void TfrmPuti::NextClick()
{
    const int page = Page();
    if (page == pgNodes && !EvacuationWithPeople()) {
        const qint64 start = ParseNodeText(edStart->text());
        const qint64 end = ParseNodeText(edEnd->text());
        m_search.BuildAdjacency();
        const TNodeCheck check = CheckRouteNodes(m_search, start, end);
        if (!check.Message.isEmpty()) {
            ShowMessageBox(check.Message, QString(), mb::Ok | mb::IconError);
            if (check.Focus == 1)
                edStart->setFocus();
            else if (check.Focus == 2)
                edEnd->setFocus();
            return;
        }
        m_slots = {m_search.ComputeRoute(int(start), int(end))};
        m_selected = 0;
        SetPage(pgRoute);
        return;
    }
    if (page < pgRoute)
        SetPage(page + 1);
}

void TfrmPuti::BackClick()
{
    int page = Page() - 1;
    if (page == pgEvacuation && !EvacuationWithPeople())
        page = pgNodes;
    if (page < pgNodes)
        return;
    if (page == pgEvacuation) {
        SetPage(page);
        return;
    }
    Pages->setCurrentIndex(pgNodes);
    if (m_search.Task == rtEvacuation)
        FillPeopleGrid();
    if (pnlPeople->isHidden())
        pnlNodes->show();
    UpdateButtons();
}

void TfrmPuti::DoneClick()
{
    if (frmMain) {
        frmMain->SetRoutesExist(true);
        if (const TRouteList *route = ChosenRoute()) {
            ShowFireZones(*frmMain);
            PaintRouteColors(frmMain->Document().BranchColors, frmMain->Options().Colors, *route);
            const TRect zone = frmPojar ? frmPojar->ZoneRect() : TRect{};
            frmMain->FitRect(RouteBounds(m_t, zone, *route));
        }
        frmMain->Redraw();
    }
    accept();
}

void TfrmPuti::CopyClick()
{
    QGuiApplication::clipboard()->setText(ClipboardText);
}

void TfrmPuti::ChangeFireClick()
{
    if (frmPojar) {
        m_changingFire = true;
        frmPojar->bbtSchem->setText(QStringLiteral("Маршрут"));
        frmPojar->SetActivePage(fpFireBranch);
        frmPojar->exec();
        m_changingFire = false;
        if (frmPojar && !frmPojar->Zone1().empty())
            TakeFire();
    }
    m_search.Impassable = GetBdBranches(m_t, m_search.SmokeZone);
    lbFire->setText(QStringLiteral("%1 (номер %2)").arg(GetBranchName(m_t, m_fireBranch)).arg(m_fireBranch));
    if (m_search.Task == rtEvacuation) {
        FillPeopleGrid();
        if (pnlPeople->isHidden())
            PrepareNodeEntry();
    }
}

void TfrmPuti::BdBranchesClick()
{
    TfrmBdBranch form(this, m_t, m_search.Impassable);
    form.exec();
}

void TfrmPuti::PickClick(QLineEdit *edit)
{
    if (!RouteWindowHooks.PickNode)
        return;
    const int node = RouteWindowHooks.PickNode(this);
    if (node != -1)
        edit->setText(QString::number(node));
}

void TfrmPuti::done(int result)
{
    pnlPeople->hide();
    pnlNodes->hide();
    QDialog::done(result);
}

void FreeRouteWindow()
{
    delete frmPuti;
}

void RunWays(TfrmMain &mainWindow, int task, const QString &suffix)
{
    if (frmPuti) {
        if (frmPuti->Task() == task) {
            if (!frmPuti->ShowRouteTable())
                GiveUpRoutes(mainWindow, false);
            return;
        }
        FreeRouteWindow();
    }
    if (!EnsureFireModel(mainWindow))
        return;
    new TfrmPuti(&mainWindow, Net);
    if (frmPuti->RunWizard(task)) {
        mainWindow.SetCaptionSuffix(suffix);
        return;
    }
    FreeRouteWindow();
    ShowFireZones(mainWindow);
    mainWindow.Redraw();
}

void spbtnWaysClick(TfrmMain &mainWindow)
{
    if (frmPuti && !frmPuti->ShowRouteTable())
        GiveUpRoutes(mainWindow, true);
}

void InstallRouteCommands(TfrmMain &mainWindow)
{
    TfrmMain *w = &mainWindow;
    const auto command = [w](const char *action, int task, const char *suffix) {
        const QString title = QString::fromUtf8(suffix);
        w->SetCommandHandler(QString::fromLatin1(action), [w, task, title] { RunWays(*w, task, title); });
    };
    command("TaskWorkersEvacuate", rtEvacuation, "Маршрут вывода горнорабочих");
    command("mnuRazv", rtReconnaissance, "Маршрут движения ГВГСС при разведке");
    command("mnuLikvAvar", rtLiquidation, "Маршрут движения ГВГСС для ликвидации аварии");
    command("mnuTransp", rtTransport, "Маршрут транспортировки пострадавшего");
    w->SetCommandHandler(QStringLiteral("spbtnWays"), [w] { spbtnWaysClick(*w); });
    RouteWindowHooks.PickNode = [](QWidget *owner) { return PickNode(owner); };
    RouteWindowHooks.PrintRoute = [](TfrmPuti &window) {
        const TRouteList *route = window.ChosenRoute();
        if (!route)
            return;
        TRouteReport data(window.Search(), *route, window.ReportLines());
        PreviewTemplateFile(QStringLiteral("frmPuti"), QDir(ReportsFolder()).filePath(RouteReportTemplate),
                            {&data.frRouteSteps},
                            [&data](const QString &name, Variant &value) { data.GetValue(name, value); });
    };
    // A new result of the fire model, or its end, ends the routes over the old one.
    FireWindowHooks.ResultsGone = [] {
        if (frmPuti && !frmPuti->ChangingFire())
            FreeRouteWindow();
    };
    QObject::connect(&mainWindow, &TfrmMain::documentCleared, &mainWindow, [w] {
        FreeRouteWindow();
        w->SetRoutesExist(false);
    });
}
