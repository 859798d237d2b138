#include "report/ui/report_chooser.h"

#include "platform/guard.h"
#include "report/engine.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QTreeWidget>
#include <QtWidgets/QVBoxLayout>

TReportChooserHooks ReportChooserHooks;

void InstallReportChooserOutput()
{
    if (!ReportChooserHooks.Preview)
        ReportChooserHooks.Preview = [](TfrReport &report) { report.ShowReport(); };
    if (!ReportChooserHooks.Print)
        ReportChooserHooks.Print = [](TfrReport &report) {
            // A build that failed is told as "Просмотр..." tells it; one the
            // user cancelled prints nothing.
            const bool built = report.PrepareReport();
            if (report.ShowBuildError() || !built)
                return;
            report.UseDefaultPrinter = true;
            report.PrintPreparedReport(QString(), 1);
        };
}

TReportChooser::TReportChooser(QWidget *owner, const QString &name, const QString &caption) : QDialog(owner)
{
    setObjectName(name);
    setWindowTitle(caption);
    frMain.Name = QStringLiteral("frMain");
    frMain.OwnerName = name;

    Label1 = new QLabel(this);
    lvFindedFiles = new QTreeWidget(this);
    lvFindedFiles->setColumnCount(2);
    lvFindedFiles->setHeaderLabels({QStringLiteral("Файл"), QStringLiteral("Размещение")});
    lvFindedFiles->setRootIsDecorated(false);
    lvFindedFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    lvFindedFiles->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvFindedFiles->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvFindedFiles->header()->resizeSection(0, 220);

    btnFind = new QPushButton(QStringLiteral("Найти..."), this);
    btnPreview = new QPushButton(QStringLiteral("Просмотр..."), this);
    btnDesign = new QPushButton(QStringLiteral("Изменить..."), this);
    btnPrint = new QPushButton(QStringLiteral("Печать..."), this);
    btnClose = new QPushButton(QStringLiteral("Закрыть"), this);
    btnFind->setEnabled(bool(ReportChooserHooks.FindFile));
    UpdateButtons();

    auto *buttons = new QVBoxLayout;
    for (QPushButton *b : {btnPreview, btnDesign, btnPrint, btnFind})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(btnClose);
    auto *list = new QVBoxLayout;
    list->addWidget(Label1);
    list->addWidget(lvFindedFiles);
    auto *layout = new QHBoxLayout(this);
    layout->addLayout(list, 1);
    layout->addLayout(buttons);
    resize(560, 320);

    connect(btnPreview, &QPushButton::clicked, this, [this] { GuardedCall([this] { btnPreviewClick(); }); });
    connect(btnDesign, &QPushButton::clicked, this, [this] { GuardedCall([this] { btnDesignClick(); }); });
    connect(btnPrint, &QPushButton::clicked, this, [this] { GuardedCall([this] { btnPrintClick(); }); });
    connect(btnFind, &QPushButton::clicked, this, [this] { GuardedCall([this] { btnFindClick(); }); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(lvFindedFiles, &QTreeWidget::itemSelectionChanged, this, &TReportChooser::UpdateButtons);
}

// The report and the data sets leave the engine's directory as they go.
TReportChooser::~TReportChooser() = default;

void TReportChooser::RegisterDatasets(const std::vector<TfrDataset *> &datasets)
{
    if (!Engine().Components.HasForm(objectName()))
        Engine().Components.Register(objectName(), &frMain);
    for (TfrDataset *ds : datasets)
        Engine().Components.Register(objectName(), ds);
}

void TReportChooser::AddTemplates(const QString &folder, const QString &mask)
{
    const std::size_t before = m_rows.size();
    if (!FindReportTemplates(folder, mask, m_rows)) {
        ShowMessageBox(MissingTemplateFolderMessage(folder), LookupText(QStringLiteral("ОШИБКА")),
                       mb::Ok | mb::IconError);
        return;
    }
    for (std::size_t i = before; i < m_rows.size(); ++i)
        new QTreeWidgetItem(lvFindedFiles,
                            {m_rows[i].File, QDir::toNativeSeparators(m_rows[i].Folder)});
    // With one template there is nothing to choose: it is the chosen one.
    if (lvFindedFiles->topLevelItemCount() == 1 && lvFindedFiles->selectedItems().isEmpty()) {
        lvFindedFiles->setCurrentItem(lvFindedFiles->topLevelItem(0));
        lvFindedFiles->topLevelItem(0)->setSelected(true);
    }
    UpdateButtons();
}

void TReportChooser::UpdateButtons()
{
    // A button that needs a template waits for one to be chosen rather
    // than do nothing when pressed.
    const bool chosen = !lvFindedFiles->selectedItems().isEmpty();
    btnPreview->setEnabled(chosen && bool(ReportChooserHooks.Preview));
    btnDesign->setEnabled(chosen && bool(ReportChooserHooks.Design));
    btnPrint->setEnabled(chosen && bool(ReportChooserHooks.Print));
}

bool TReportChooser::SelectTemplate(const QString &file)
{
    for (int i = 0; i < lvFindedFiles->topLevelItemCount(); ++i)
        if (lvFindedFiles->topLevelItem(i)->text(0) == file) {
            lvFindedFiles->setCurrentItem(lvFindedFiles->topLevelItem(i));
            return true;
        }
    return false;
}

bool TReportChooser::LoadSelected(QString *file)
{
    // The list takes a current row with the focus, unselected; only a row
    // the user chose counts.
    const QList<QTreeWidgetItem *> chosen = lvFindedFiles->selectedItems();
    const int row = chosen.isEmpty() ? -1 : lvFindedFiles->indexOfTopLevelItem(chosen.first());
    if (row < 0 || row >= static_cast<int>(m_rows.size()))
        return false;
    const QString path = m_rows[static_cast<std::size_t>(row)].Path();
    frMain.LoadFromFile(path);
    if (file)
        *file = path;
    return true;
}

void TReportChooser::btnPreviewClick()
{
    if (!ReportChooserHooks.Preview || !LoadSelected())
        return;
    BeforeBuild();
    ReportChooserHooks.Preview(frMain);
}

void TReportChooser::btnDesignClick()
{
    QString file;
    if (ReportChooserHooks.Design && LoadSelected(&file))
        ReportChooserHooks.Design(frMain, file);
}

void TReportChooser::btnPrintClick()
{
    if (!ReportChooserHooks.Print || !LoadSelected())
        return;
    BeforeBuild();
    ReportChooserHooks.Print(frMain);
}

void TReportChooser::btnFindClick()
{
    if (!ReportChooserHooks.FindFile)
        return;
    const QString file = ReportChooserHooks.FindFile(this, QStringLiteral("*.FRF"));
    if (!file.isEmpty())
        FolderFound(QFileInfo(file).absolutePath());
}
