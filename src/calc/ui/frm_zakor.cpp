#include "calc/ui/frm_zakor.h"

#include "calc/ui/frm_reports1.h"
#include "platform/guard.h"
#include "platform/help.h"
#include "platform/prompt.h"
#include "shell/ui/frm_main.h"

#include <QtCore/QCoreApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTabWidget>
#include <QtWidgets/QTableWidget>
#include <QtWidgets/QVBoxLayout>

TfrmZakor *frmZakor = nullptr;

namespace {

constexpr int HelpTopic = 30;

const char *const TabCaptions[sctCount] = {"Двери", "Вся сеть", "Лавы", "Всас ВМП", "Подсвежение", "Связи"};

// Header rows: the name and the unit of each column.
QStringList HeaderLines(TShortCircuitTab tab, bool afterRun)
{
    QStringList h{QStringLiteral("\nВЕТВЬ"), QStringLiteral("\nНАЗВАНИЕ")};
    const QString qn = QStringLiteral("Qнор,\nм3/с"), qz = QStringLiteral("Qзак,\nм3/с");
    const QString grade = QStringLiteral("Степень\nуст."), cause = QStringLiteral("№Ветви\nзакор.");
    switch (tab) {
    case sctDoors:
        h << QStringLiteral("Rнорм,\nкмюрг") << QStringLiteral("Qнорм\nм3/с");
        if (afterRun)
            h << QStringLiteral("Rзакор.\nкмюрг") << QStringLiteral("Qзакор\nм3/с") << QStringLiteral("Измене-\nние Q,%");
        break;
    case sctNetwork:
        h << qn << qz << QStringLiteral("ИзмQ,\n%") << QStringLiteral("Hнор,\nдаПа") << QStringLiteral("Hзак,\nдаПа")
          << grade << cause;
        break;
    case sctConnections:
        h << QStringLiteral("Hнор,\nдаПа") << QStringLiteral("Hзак,\nдаПа") << QStringLiteral("ИзмH,\n%") << grade
          << cause;
        break;
    default:
        h << qn << qz << QStringLiteral("ИзмQ,\n%") << grade
          << (tab == sctFreshening ? QStringLiteral("Ветвь\nзакор.") : cause);
        break;
    }
    return h;
}

void Warn(const QString &text)
{
    ShowMessageBox(LookupText(text), QString(), mb::Ok | mb::IconWarning);
}

} // namespace

TfrmZakor::TfrmZakor(QWidget *owner, const TNetworkTables &t)
    : QDialog(owner), Study(std::make_unique<TShortCircuitStudy>(t)), ReportData(*Study),
      Report(QStringLiteral("frmZakor"), {&ReportData.udZakor},
             [this](const QString &name, Variant &value) { return ReportData.GetValue(name, value); })
{
    frmZakor = this;
    setObjectName(QStringLiteral("frmZakor"));
    setWindowTitle(QStringLiteral("Закорачивание"));
    setMinimumSize(600, 450);
    resize(820, 560);
    auto *layout = new QVBoxLayout(this);

    PanelTop = new QWidget(this);
    auto *top = new QHBoxLayout(PanelTop);
    LabelHint = new QLabel(QStringLiteral("Для проведения закорачивания - нажать 'Закоротить' "), PanelTop);
    btnStart = new QPushButton(QStringLiteral("Закоротить"), PanelTop);
    btnStart->setToolTip(QStringLiteral("Начать поочередное открытие дверей"));
    btnHelp = new QPushButton(QStringLiteral("Справка"), PanelTop);
    btnClose = new QPushButton(QStringLiteral("Закрыть"), PanelTop);
    top->addWidget(LabelHint, 1);
    top->addWidget(btnStart);
    top->addWidget(btnHelp);
    top->addWidget(btnClose);
    layout->addWidget(PanelTop);

    Pages = new QTabWidget(this);
    for (int k = 0; k < sctCount; ++k) {
        Tabs[k] = new QWidget(Pages);
        auto *page = new QVBoxLayout(Tabs[k]);
        if (k == sctNetwork) {
            LabelReversed = new QLabel(
                QStringLiteral("Список всех ветвей сети, в которых произошло опрокидывание струи "), Tabs[k]);
            ReversedList = new QComboBox(Tabs[k]);
            LabelNetwork = new QLabel(QStringLiteral("Таблица всех ветвей шахтной сети "), Tabs[k]);
            page->addWidget(LabelReversed);
            page->addWidget(ReversedList);
            page->addWidget(LabelNetwork);
        }
        Grids[k] = new QTableWidget(Tabs[k]);
        Grids[k]->setEditTriggers(QAbstractItemView::NoEditTriggers);
        Grids[k]->verticalHeader()->hide();
        page->addWidget(Grids[k]);
        Pages->addTab(Tabs[k], QString::fromUtf8(TabCaptions[k]));
        SetHeaders(static_cast<TShortCircuitTab>(k), false);
    }
    layout->addWidget(Pages, 1);

    PanelProgress = new QWidget(this);
    auto *progress = new QVBoxLayout(PanelProgress);
    LabelProgress = new QLabel(PanelProgress);
    ProgressBar = new QProgressBar(PanelProgress);
    progress->addWidget(LabelProgress);
    progress->addWidget(ProgressBar);
    layout->addWidget(PanelProgress);
    PanelProgress->hide();

    PanelReport = new QWidget(this);
    auto *report = new QHBoxLayout(PanelReport);
    report->addWidget(new QLabel(QStringLiteral("Подготовка, оформление  и печать отчета:"), PanelReport), 1);
    btnDesign = new QPushButton(QStringLiteral("Оформление"), PanelReport);
    btnPrint = new QPushButton(QStringLiteral("Печать"), PanelReport);
    btnSave = new QPushButton(QStringLiteral("Сохранение"), PanelReport);
    for (QPushButton *b : {btnDesign, btnPrint, btnSave})
        report->addWidget(b);
    // Saving waits for a loaded template.
    btnDesign->setEnabled(TStudyReport::CanDesign());
    btnPrint->setEnabled(TStudyReport::CanShow());
    btnSave->setEnabled(false);
    layout->addWidget(PanelReport);

    connect(btnStart, &QPushButton::clicked, this, [this] { btnStartClick(); });
    connect(btnHelp, &QPushButton::clicked, this, [] { ShowHelpTopic(HelpTopic); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnDesign, &QPushButton::clicked, this, [this] { GuardedCall([this] { btnDesignClick(); }); });
    connect(btnPrint, &QPushButton::clicked, this, [this] { GuardedCall([this] { btnPrintClick(); }); });
    connect(btnSave, &QPushButton::clicked, this, [this] { GuardedCall([this] { btnSaveClick(); }); });
    connect(Pages, &QTabWidget::currentChanged, this, [this] { EnableSave(); });
}

TfrmZakor::~TfrmZakor()
{
    if (frmZakor == this)
        frmZakor = nullptr;
}

void TfrmZakor::SetHeaders(TShortCircuitTab tab, bool afterRun)
{
    const QStringList h = HeaderLines(tab, afterRun);
    Grids[tab]->setColumnCount(static_cast<int>(h.size()));
    Grids[tab]->setHorizontalHeaderLabels(h);
}

void TfrmZakor::FillGrid(TShortCircuitTab tab)
{
    QTableWidget *grid = Grids[tab];
    const auto &rows = Study->Rows[tab];
    grid->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < grid->rowCount(); ++r)
        for (int c = 0; c < grid->columnCount(); ++c) {
            const QStringList &cells = rows[static_cast<std::size_t>(r)];
            auto *item = new QTableWidgetItem(c < cells.size() ? cells[c] : QString());
            if (c != 1)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->setItem(r, c, item);
        }
    grid->resizeColumnsToContents();
}

void TfrmZakor::SetTabShown(TShortCircuitTab tab, bool shown)
{
    Pages->setTabVisible(tab, shown);
}

void TfrmZakor::ShowOpenedState()
{
    Pages->show();
    PanelTop->show();
    PanelReport->hide();
    PanelProgress->hide();
    for (int k = 0; k < sctCount; ++k)
        SetTabShown(static_cast<TShortCircuitTab>(k), k == sctDoors);
    Pages->setCurrentIndex(sctDoors);
}

void TfrmZakor::ShowPaths()
{
    ShowOpenedState();
    FillGrid(sctDoors);
    setWindowTitle(QStringLiteral("Список путей закорачивания (%1 дверей)").arg(Study->Selection.Paths.size()));
}

TShortCircuitTab TfrmZakor::ActiveTab() const
{
    return static_cast<TShortCircuitTab>(Pages->currentIndex());
}

QString TfrmZakor::SelectShortCircuitTemplate()
{
    ReportData.Tab = ActiveTab();
    ReportData.MineTitle = frmMain ? frmMain->GetMineTitle() : QString();
    return TShortCircuitStudy::TemplatePath(NetworkReportsFolder(), ReportData.Tab);
}

void TfrmZakor::btnPrintClick()
{
    const QString file = SelectShortCircuitTemplate();
    // A template that fails to load is no longer there to be saved.
    btnSave->setEnabled(false);
    Report.Show(file);
    EnableSave();
}

void TfrmZakor::btnDesignClick()
{
    btnSave->setEnabled(false);
    Report.Design(SelectShortCircuitTemplate());
    EnableSave();
}

void TfrmZakor::btnSaveClick() { Report.Save(SelectShortCircuitTemplate()); }

void TfrmZakor::EnableSave()
{
    btnSave->setEnabled(!Report.LoadedFile().isEmpty()
                        && Report.LoadedFile() == TShortCircuitStudy::TemplatePath(NetworkReportsFolder(), ActiveTab()));
}

void TfrmZakor::btnStartClick()
{
    const int missing = Study->CheckPathGeometry();
    if (missing > 0
        && ShowMessageBox(LookupText(TShortCircuitStudy::GeometryQuestion(missing)), QString(),
                          mb::YesNo | mb::IconQuestion)
               != idYes)
        return;
    const int a = static_cast<int>(Study->Selection.Paths.size());
    PanelProgress->show();
    Pages->hide();
    PanelTop->hide();
    PanelReport->hide();
    ProgressBar->setRange(0, a);
    ProgressBar->setValue(0);
    const QString previousCaption = windowTitle();
    setWindowTitle(QStringLiteral("ВНИМАНИЕ! Начат процесс закорачивания..."));
    const int failed = Study->ShortCircuitAll([this](int done) {
        LabelProgress->setText(QStringLiteral("Поочередно произведено закорачивание %1 ПУТЕЙ !!!").arg(done));
        ProgressBar->setValue(done);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    if (failed != 0) {
        Warn(TShortCircuitStudy::FailureMessage(failed));
        // The paths stay as they were, so the user can close or try again.
        ShowOpenedState();
        setWindowTitle(previousCaption);
        return;
    }
    setWindowTitle(QStringLiteral("Результаты проведения закорачивания"));
    SetHeaders(sctDoors, true);
    FillGrid(sctDoors);
    Study->FillResults();
    Pages->show();
    PanelReport->show();
    PanelTop->show();
    PanelProgress->hide();
    SetTabShown(sctDoors, true);
    SetTabShown(sctNetwork, true);
    for (int g = 0; g < 4; ++g) {
        const auto tab = static_cast<TShortCircuitTab>(sctLongwalls + g);
        const bool any = !Study->Groups[g].empty();
        SetTabShown(tab, any);
        if (any)
            FillGrid(tab);
        else
            Warn(TShortCircuitStudy::EmptyGroupMessage(g));
    }
    FillGrid(sctNetwork);
    ReversedList->clear();
    ReversedList->addItems(Study->ReversedItems());
    ReversedList->setCurrentIndex(0);
}

bool RunShortCircuiting(QWidget *mainWindow, TNetworkTables &t)
{
    if (!CalcAir(mainWindow, t))
        return false;
    TfrmZakor form(mainWindow, t);
    form.Study->SelectShortCircuitPaths();
    bool information = true, opens = false;
    const QString text = form.Study->StartMessage(information, opens);
    ShowMessageBox(LookupText(text), QString(), mb::Ok | (information ? mb::IconInformation : mb::IconWarning));
    if (!opens)
        return false;
    form.ShowPaths();
    return form.exec() == QDialog::Accepted;
}
