#include "journal/ui/frm_kerstal.h"

#include "journal/form2_text.h"
#include "journal/journal_file.h"
#include "journal/journal_find.h"
#include "journal/ui/frm_find.h"
#include "journal/ui/frm_options.h"
#include "journal/ui/frm_property.h"
#include "journal/ui/frm_rubric_property.h"
#include "journal/ui/frm_text_preview.h"
#include "journal/ui/frm_vj_record_input.h"
#include "journal/ui/journal_icons.h"
#include "journal/ui/journal_reports.h"
#include "platform/exceptions.h"
#include "platform/guard.h"
#include "platform/paths.h"
#include "platform/prompt.h"
#include "report/engine.h"

#include <QtCore/QDir>
#include <QtCore/QEventLoop>
#include <QtCore/QScopedValueRollback>
#include <QtCore/QFileInfo>
#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtGui/QGuiApplication>
#include <QtGui/QKeyEvent>
#include <QtGui/QScreen>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QSplitter>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QStyle>
#include <QtWidgets/QToolBar>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QTreeWidget>
#include <QtWidgets/QVBoxLayout>

namespace {

constexpr int RoleKind = Qt::UserRole;
constexpr int RoleObject = Qt::UserRole + 1;
enum TNodeKind { nkJournal = 1, nkRubric = 2 };

const QString Caption = QStringLiteral("Вентиляционный журнал (Форма 2) - Kerstal.DLL v1.0.3");
const QString JournalFilter = QStringLiteral("Файлы вентжурналов (*.WVJ)");
const QStringList SaveFilters = {QStringLiteral("Файл вентжурнала (*.WVJ)"),
                                 QStringLiteral("Текстовый файл MS DOS (*.TXT)"),
                                 QStringLiteral("Текстовый файл MS Windows (*.TXT)")};

const QStringList RecordColumns = {
    QStringLiteral("№"), QStringLiteral("S, кв. м"), QStringLiteral("V, м/с"), QStringLiteral("Q, м3/мин"),
    QStringLiteral("T, гр. C"), QStringLiteral("Влажн., %"), QStringLiteral("№"), QStringLiteral("S, кв. м"),
    QStringLiteral("V, м/с"), QStringLiteral("Q, м3/мин"), QStringLiteral("CH4/H2, %"), QStringLiteral("CO2, %"),
    QStringLiteral("O2, %"), QStringLiteral("CO, %"), QStringLiteral("T, гр. C"), QStringLiteral("Влажн., %")};

const QString CannotSave = QStringLiteral(
    "Не удается сохранить файл вентжурнала.\r\rВозможные причины этого:\r\r"
    "   o   Вы делаете попытку записи на защищенное от записи устройство (диск).\r\r"
    "   o   Файл, в который вы пытаетесь сохранить вентжурнал, имеет атрибут \"Только для чтения\".\r\r"
    "   o   На диске который вы выбрали для сохранения нет свободного места.\r\r"
    "Для решения этой проблемы попытайтесь сохранить файл на другом диске или под другим именем");

QString NodeText(const TKerstal &journal) { return RemoveFileExt(journal.FileName, JournalExt); }

} // namespace

TfrmKerstal::TfrmKerstal(const TJournalNetwork &net, QWidget *parent) : QDialog(parent), m_net(net)
{
    setObjectName(QStringLiteral("frmKerstal"));
    setWindowTitle(Caption);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setMinimumSize(593, 430);

    QIcon journalIcon = JournalIcon(imgJournal);
    journalIcon.addPixmap(JournalIcon(imgJournalOpen).pixmap(16), QIcon::Selected);
    m_journalIcon = journalIcon;
    m_rubricIcon = JournalIcon(imgRubric);
    m_recordIcon = JournalIcon(imgRecord);
    m_blankIcon = JournalIcon(imgBlankSheet);

    tvKerstal = new QTreeWidget(this);
    tvKerstal->setObjectName(QStringLiteral("tvKerstal"));
    tvKerstal->setHeaderHidden(true);
    tvKerstal->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvKerstal->setExpandsOnDoubleClick(false);
    tvKerstal->setContextMenuPolicy(Qt::ActionsContextMenu);

    lvRecords = new QTreeWidget(this);
    lvRecords->setObjectName(QStringLiteral("lvRecords"));
    lvRecords->setRootIsDecorated(false);
    lvRecords->setUniformRowHeights(true);
    lvRecords->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvRecords->setSelectionMode(QAbstractItemView::SingleSelection);
    lvRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvRecords->setColumnCount(static_cast<int>(RecordColumns.size()));
    lvRecords->setHeaderLabels(RecordColumns);
    lvRecords->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lvRecords->header()->setStretchLastSection(false);
    lvRecords->installEventFilter(this);

    auto *sumBar = new QWidget(this);
    auto *sumLayout = new QHBoxLayout(sumBar);
    sumLayout->setContentsMargins(2, 1, 2, 1);
    for (int i = 0; i < 2; ++i) {
        stsBarSum[i] = new QLabel(sumBar);
        stsBarSum[i]->setObjectName(QStringLiteral("stsBarSum%1").arg(i + 1));
        stsBarSum[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        sumLayout->addWidget(stsBarSum[i], 1);
    }
    auto *right = new QWidget(this);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(1);
    rightLayout->addWidget(sumBar);
    rightLayout->addWidget(lvRecords, 1);

    auto *splitter = new QSplitter(this);
    splitter->addWidget(tvKerstal);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({260, 760});

    auto *status = new QStatusBar(this);
    status->setObjectName(QStringLiteral("stsbMain"));
    status->setSizeGripEnabled(true);
    for (int i = 0; i < 3; ++i) {
        stsbMain[i] = new QLabel(status);
        stsbMain[i]->setObjectName(QStringLiteral("stsbMain%1").arg(i + 1));
        stsbMain[i]->setMinimumWidth(i == 2 ? 200 : 120);
        status->addPermanentWidget(stsbMain[i], i == 2 ? 1 : 0);
    }
    ResetFlowBar();

    CreateActions();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    CreateMenus();
    layout->addWidget(findChild<QToolBar *>(QStringLiteral("tbMain")));
    layout->addWidget(splitter, 1);
    layout->addWidget(status);

    connect(tvKerstal, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { Run([&] { NodeSelected(current); }); });
    connect(tvKerstal, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem *node) {
        if (!m_filling)
            Run([&] { NodeEdited(node); });
    });
    connect(tvKerstal, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (ViewProperty->isEnabled())
            ViewProperty->trigger();
    });
    connect(lvRecords, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *current) { RecordFocused(current); });
    connect(lvRecords, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { Run([&] { EditRecordItem(item); }); });

    ChooseOpenFile = [this] {
        return QFileDialog::getOpenFileName(this, QString(), JournalsDir,
                                            JournalFilter + QStringLiteral(";;Все файлы (*)"));
    };
    ChooseReportFile = [this](const QString &title) {
        QFileDialog dialog(this, title);
        dialog.setFileMode(QFileDialog::ExistingFile);
        dialog.setNameFilters({QStringLiteral("Файлы отчетов (*.frf)"), QStringLiteral("Все файлы (*)")});
        dialog.setDefaultSuffix(QStringLiteral("frf"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        return dialog.selectedFiles().first();
    };
    frMain.Name = QStringLiteral("frMain");
    frMain.OwnerName = objectName();
    frMain.Dataset = &Print.frStringsDataset;
    frMain.OnGetValue = [this](const QString &name, Variant &value) { frMainGetValue(name, value); };
    ChooseSaveFile = [this](const QString &folder, const QString &name, int &filter) {
        QFileDialog dialog(this, FileSaveAs->text().remove(u'&'), QDir(folder).filePath(name));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilters(SaveFilters);
        dialog.selectNameFilter(SaveFilters.value(filter - 1, SaveFilters.first()));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return QString();
        filter = static_cast<int>(SaveFilters.indexOf(dialog.selectedNameFilter())) + 1;
        return dialog.selectedFiles().first();
    };

    // What the window shows at opening.
    BranchInfo = m_net.GetBranchInfoBlock();
    JournalsDir = StartFolder();
    if (Options.OpenLast) {
        // A remembered folder that is gone leaves the start folder.
        if (!Options.CurDir.isEmpty() && QDir(Options.CurDir).exists())
            JournalsDir = Options.CurDir;
        Run([this] { OpenJournals(JournalsDir); });
    }
    UpdateActions();
    UpdateStatus();
    resize(1020, 620);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TfrmKerstal::~TfrmKerstal()
{
    WriteOptions();
    m_filling = true;
    lvRecords->clear();
    tvKerstal->clear();
}

void TfrmKerstal::Run(const std::function<void()> &command)
{
    GuardedCall(command);
}

void TfrmKerstal::WriteOptions()
{
    try {
        Options.Write();
    } catch (const Exception &e) {
        ShowMessageBox(e.Message(), Caption, mb::Ok | mb::IconError);
    }
}

// ---- Actions and menus -------------------------------------------------------------

void TfrmKerstal::CreateActions()
{
    const auto action = [this](const QString &name, const QString &caption, const QKeySequence &key,
                               void (TfrmKerstal::*command)()) {
        auto *a = new QAction(caption, this);
        a->setObjectName(name);
        if (!key.isEmpty())
            a->setShortcut(key);
        a->setShortcutContext(Qt::WindowShortcut);
        if (command)
            connect(a, &QAction::triggered, this, [this, command] { Run([&] { (this->*command)(); }); });
        addAction(a);
        return a;
    };
    NewKerstal = action(QStringLiteral("NewKerstal"), QStringLiteral("Создать вентжурнал"), QKeySequence(QStringLiteral("Ctrl+N")),
                        &TfrmKerstal::NewKerstalExecute);
    NewRubric = action(QStringLiteral("NewRubric"), QStringLiteral("Создать рубрику"), QKeySequence(QStringLiteral("Ctrl+R")),
                       &TfrmKerstal::NewRubricExecute);
    NewRecord = action(QStringLiteral("NewRecord"), QStringLiteral("Новая запись"), QKeySequence(Qt::Key_Insert),
                       &TfrmKerstal::NewRecordExecute);
    ViewProperty = action(QStringLiteral("ViewProperty"), QStringLiteral("Свойства..."),
                          QKeySequence(Qt::ALT | Qt::Key_Return), &TfrmKerstal::ViewPropertyExecute);
    FileExit = action(QStringLiteral("FileExit"), QStringLiteral("Выход"), QKeySequence(QStringLiteral("Alt+X")),
                      &TfrmKerstal::FileExitExecute);
    FilePreview = action(QStringLiteral("FilePreview"), QStringLiteral("Предварительный просмотр..."),
                         QKeySequence(QStringLiteral("Ctrl+V")), &TfrmKerstal::FilePreviewExecute);
    FilePrint = action(QStringLiteral("FilePrint"), QStringLiteral("Печать..."), QKeySequence(QStringLiteral("Ctrl+P")),
                       &TfrmKerstal::FilePrintExecute);
    ReportDesigner = action(QStringLiteral("ReportDesigner"), QStringLiteral("Дизайнер отчетов"), QKeySequence(),
                            &TfrmKerstal::ReportDesignerExecute);
    Delete = action(QStringLiteral("Delete"), QStringLiteral("Удалить..."), QKeySequence(Qt::CTRL | Qt::Key_Delete),
                    &TfrmKerstal::DeleteExecute);
    FileOpen = action(QStringLiteral("FileOpen"), QStringLiteral("&Открыть..."), QKeySequence(QStringLiteral("Ctrl+O")),
                      &TfrmKerstal::FileOpenExecute);
    FileSaveAs = new QAction(QStringLiteral("Сохранить как..."), this);
    FileSaveAs->setObjectName(QStringLiteral("FileSaveAs"));
    FileSaveAs->setShortcut(QKeySequence(QStringLiteral("Ctrl+Alt+S")));
    connect(FileSaveAs, &QAction::triggered, this, [this] { Run([this] { FileSaveAsExecute(1); }); });
    addAction(FileSaveAs);
    UpdateRecords = action(QStringLiteral("UpdateRecords"), QStringLiteral("Обновить венжурнал"),
                           QKeySequence(QStringLiteral("Ctrl+U")), &TfrmKerstal::UpdateRecordsExecute);
    FindBranch = action(QStringLiteral("FindBranch"), QStringLiteral("Найти ветвь..."), QKeySequence(QStringLiteral("Ctrl+F")),
                        &TfrmKerstal::FindBranchExecute);
    Rename = action(QStringLiteral("Rename"), QStringLiteral("Переименовать"), QKeySequence(Qt::Key_F2), &TfrmKerstal::RenameExecute);
    FileSave = action(QStringLiteral("FileSave"), QStringLiteral("Сохранить"), QKeySequence(QStringLiteral("Ctrl+S")),
                      &TfrmKerstal::FileSaveExecute);
    EditOptions = action(QStringLiteral("EditOptions"), QStringLiteral("Параметры..."), QKeySequence(),
                         &TfrmKerstal::EditOptionsExecute);
}

void TfrmKerstal::CreateMenus()
{
    auto *menuBar = new QMenuBar(this);
    layout()->setMenuBar(menuBar);
    QMenu *file = menuBar->addMenu(QStringLiteral("&Файл"));
    file->addActions({NewKerstal, FileOpen, FileSave, FileSaveAs});
    file->addSeparator();
    file->addActions({FilePreview, FilePrint});
    file->addSeparator();
    file->addAction(EditOptions);
    file->addSeparator();
    file->addAction(FileExit);
    QMenu *edit = menuBar->addMenu(QStringLiteral("&Правка"));
    edit->addActions({NewRubric, NewRecord, Rename, Delete});
    edit->addSeparator();
    edit->addActions({FindBranch, UpdateRecords});
    edit->addSeparator();
    edit->addAction(ViewProperty);

    const auto treeCommand = [this](const QString &caption, std::function<void()> command) {
        auto *a = new QAction(caption, this);
        connect(a, &QAction::triggered, this, std::move(command));
        return a;
    };
    QAction *expand = treeCommand(QStringLiteral("Развернуть"), [this] {
        if (QTreeWidgetItem *node = tvKerstal->currentItem())
            tvKerstal->expandRecursively(tvKerstal->indexFromItem(node));
    });
    QAction *expandAll = treeCommand(QStringLiteral("Развернуть всё"), [this] { tvKerstal->expandAll(); });
    QAction *collapse = treeCommand(QStringLiteral("Свернуть"), [this] {
        QTreeWidgetItem *node = tvKerstal->currentItem();
        for (int i = 0; node && i < node->childCount(); ++i)
            node->child(i)->setExpanded(false);
        if (node)
            node->setExpanded(false);
    });
    QAction *collapseAll = treeCommand(QStringLiteral("Свернуть всё"), [this] { tvKerstal->collapseAll(); });
    QMenu *view = menuBar->addMenu(QStringLiteral("&Вид"));
    view->addActions({expand, expandAll, collapse, collapseAll});

    QMenu *help = menuBar->addMenu(QStringLiteral("&?"));
    QAction *helpItem = help->addAction(QStringLiteral("&Справка..."), this, [this] { HelpExecute(); });
    helpItem->setShortcut(QKeySequence(Qt::Key_F1));
    QAction *about = help->addAction(QStringLiteral("&О программе..."), this, [this] { AboutExecute(); });
    about->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F1));
    addAction(helpItem);
    addAction(about);

    // The tree's popup menu.
    const auto separator = [this] {
        auto *s = new QAction(this);
        s->setSeparator(true);
        return s;
    };
    tvKerstal->addActions({NewKerstal, NewRubric, separator(), Rename, Delete, separator(), ViewProperty,
                           separator(), expand, collapse});

    const auto icon = [this](QAction *a, QStyle::StandardPixmap pixmap) { a->setIcon(style()->standardIcon(pixmap)); };
    icon(FileOpen, QStyle::SP_DialogOpenButton);
    icon(FileSave, QStyle::SP_DialogSaveButton);
    icon(FilePreview, QStyle::SP_FileDialogContentsView);
    icon(FindBranch, QStyle::SP_FileDialogDetailedView);
    icon(UpdateRecords, QStyle::SP_BrowserReload);
    icon(Delete, QStyle::SP_TrashIcon);
    icon(ViewProperty, QStyle::SP_FileDialogInfoView);
    FilePrint->setIcon(JournalIcon(imgRecord));
    ReportDesigner->setIcon(m_rubricIcon);

    auto *toolbar = new QToolBar(this);
    toolbar->setObjectName(QStringLiteral("tbMain"));
    toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    auto *create = new QToolButton(toolbar);
    create->setObjectName(QStringLiteral("tbtnCreate"));
    create->setText(QStringLiteral("Создать"));
    create->setIcon(style()->standardIcon(QStyle::SP_FileIcon));
    create->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto *createMenu = new QMenu(create);
    createMenu->addActions({NewKerstal, NewRubric});
    create->setMenu(createMenu);
    create->setPopupMode(QToolButton::MenuButtonPopup);
    connect(create, &QToolButton::clicked, NewKerstal, &QAction::trigger);
    toolbar->addWidget(create);
    toolbar->addActions({FileOpen, FileSave});
    toolbar->addSeparator();
    toolbar->addActions({FilePreview, FilePrint, ReportDesigner});
    toolbar->addSeparator();
    toolbar->addActions({FindBranch, UpdateRecords});
    toolbar->addSeparator();
    toolbar->addActions({Delete, ViewProperty});
}

// ---- Tree and list -----------------------------------------------------------------

QTreeWidgetItem *TfrmKerstal::JournalNode(int index) const
{
    return tvKerstal->topLevelItem(index);
}

QTreeWidgetItem *TfrmKerstal::RubricNode(const TRubric *rubric) const
{
    for (int i = 0; i < tvKerstal->topLevelItemCount(); ++i) {
        QTreeWidgetItem *node = tvKerstal->topLevelItem(i);
        for (int j = 0; j < node->childCount(); ++j)
            if (node->child(j)->data(0, RoleObject).value<quintptr>() == reinterpret_cast<quintptr>(rubric))
                return node->child(j);
    }
    return nullptr;
}

TKerstal *TfrmKerstal::SelectedJournal() const
{
    const QTreeWidgetItem *node = tvKerstal->currentItem();
    if (!node || node->data(0, RoleKind).toInt() != nkJournal)
        return nullptr;
    return reinterpret_cast<TKerstal *>(node->data(0, RoleObject).value<quintptr>());
}

TRubric *TfrmKerstal::SelectedRubric() const
{
    const QTreeWidgetItem *node = tvKerstal->currentItem();
    if (!node || node->data(0, RoleKind).toInt() != nkRubric)
        return nullptr;
    return reinterpret_cast<TRubric *>(node->data(0, RoleObject).value<quintptr>());
}

TKerstal *TfrmKerstal::CurrentJournal() const
{
    if (TKerstal *journal = SelectedJournal())
        return journal;
    if (TRubric *rubric = SelectedRubric())
        return rubric->OwnerJournal;
    return nullptr;
}

TRubricRecord *TfrmKerstal::ItemRecord(const QTreeWidgetItem *item) const
{
    return item ? reinterpret_cast<TRubricRecord *>(item->data(0, RoleObject).value<quintptr>()) : nullptr;
}

QTreeWidgetItem *TfrmKerstal::MakeRubricNode(TRubric *rubric)
{
    auto *node = new QTreeWidgetItem(QStringList{rubric->Name});
    node->setIcon(0, m_rubricIcon);
    node->setData(0, RoleKind, nkRubric);
    node->setData(0, RoleObject, QVariant::fromValue(reinterpret_cast<quintptr>(rubric)));
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    return node;
}

QTreeWidgetItem *TfrmKerstal::AddToTree(TKerstal *journal)
{
    const QScopedValueRollback filling(m_filling, true);
    auto *node = new QTreeWidgetItem(QStringList{NodeText(*journal)});
    node->setIcon(0, m_journalIcon);
    node->setData(0, RoleKind, nkJournal);
    node->setData(0, RoleObject, QVariant::fromValue(reinterpret_cast<quintptr>(journal)));
    node->setFlags(node->flags() | Qt::ItemIsEditable);
    for (int i = 0; i < journal->Count(); ++i)
        node->addChild(MakeRubricNode(journal->Items(i)));
    tvKerstal->addTopLevelItem(node);
    return node;
}

QIcon TfrmKerstal::RecordImage(const TRubricRecord &record) const
{
    const bool known = BranchInNetwork(m_net, BranchInfo, record.InBranch.Number) &&
                       BranchInNetwork(m_net, BranchInfo, record.OutBranch.Number);
    return known ? m_recordIcon : m_blankIcon;
}

void TfrmKerstal::FillRecordItem(QTreeWidgetItem *item, const TRubricRecord &r)
{
    const TBranchRecord &in = r.InBranch;
    const TExtendedBranchRecord &out = r.OutBranch;
    const QString texts[] = {FormatNumber(in),  FormatSec(in),         FormatSpeed(in),      FormatOut(in),
                             FormatTemperature(in), FormatWaternity(in), FormatNumber(out), FormatSec(out),
                             FormatSpeed(out), FormatOut(out),         out.CH4,              out.CO2,
                             out.O2,           out.CO,                 FormatTemperature(out), FormatWaternity(out)};
    for (int c = 0; c < 16; ++c) {
        item->setText(c, texts[c]);
        if (c > 0)
            item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    }
    item->setIcon(0, RecordImage(r));
    item->setData(0, RoleObject, QVariant::fromValue(reinterpret_cast<quintptr>(&r)));
}

void TfrmKerstal::FillRecordList()
{
    lvRecords->clear();
    QList<QTreeWidgetItem *> items;
    const auto addRubric = [&](const TRubric &rubric) {
        for (int i = 0; i < rubric.Count(); ++i) {
            auto *item = new QTreeWidgetItem;
            FillRecordItem(item, *rubric.Items(i));
            items.append(item);
        }
    };
    if (const TRubric *rubric = SelectedRubric())
        addRubric(*rubric);
    else if (const TKerstal *journal = SelectedJournal())
        for (int i = 0; i < journal->Count(); ++i)
            addRubric(*journal->Items(i));
    lvRecords->addTopLevelItems(items);
    UpdateStatus();
}

void TfrmKerstal::NodeSelected(QTreeWidgetItem *current)
{
    JournalIndex = -1;
    if (current) {
        QTreeWidgetItem *top = current->parent() ? current->parent() : current;
        JournalIndex = tvKerstal->indexOfTopLevelItem(top);
        current->setExpanded(true);
    }
    FillRecordList();
    UpdateActions();
}

void TfrmKerstal::RecordFocused(QTreeWidgetItem *current)
{
    if (const TRubricRecord *record = ItemRecord(current); record && record->Rubric)
        stsbMain[2]->setText(record->Rubric->Name);
}

void TfrmKerstal::UpdateActions()
{
    const bool selected = tvKerstal->currentItem() != nullptr;
    for (QAction *a : {Delete, ViewProperty, FilePreview, FilePrint, FileSaveAs, UpdateRecords, Rename, NewRubric})
        a->setEnabled(selected);
    // The designer comes with the designer's own library.
    ReportDesigner->setEnabled(selected && bool(JournalDesignerHooks.Install));
    const TKerstal *journal = CurrentJournal();
    FileSave->setEnabled(journal && journal->Modified);
    NewRecord->setEnabled(SelectedRubric() != nullptr);
    if (SelectedRubric())
        NewRubric->setText(QStringLiteral("Вставить рубрику"));
    else if (SelectedJournal())
        NewRubric->setText(QStringLiteral("Добавить рубрику"));
}

void TfrmKerstal::UpdateStatus()
{
    const TKerstal *journal = CurrentJournal();
    // Without a current journal there is nothing to count.
    if (!journal) {
        for (QLabel *panel : stsbMain)
            panel->clear();
        ResetFlowBar();
        return;
    }
    const TRubric *rubric = SelectedRubric();
    stsbMain[0]->setText(QStringLiteral("Рубрик: %1").arg(journal->Count()));
    stsbMain[1]->setText(QStringLiteral("Записей: %1 из %2")
                             .arg(rubric ? rubric->Count() : journal->TotalRecords())
                             .arg(journal->TotalRecords()));
    if (rubric) {
        stsbMain[2]->setText(rubric->Name);
        stsBarSum[0]->clear();
        stsBarSum[1]->clear();
        if (rubric->RubricType != rtNoTotals) {
            stsBarSum[0]->setText(QStringLiteral("Поступающая струя: %1 м3/мин").arg(rubric->InTotal()));
            stsBarSum[1]->setText(QStringLiteral("Исходящая струя: %1 м3/мин").arg(rubric->OutTotal()));
        }
        return;
    }
    // A whole journal has no one rubric's totals: the totals and the name of
    // the rubric selected before would no longer be true.
    ResetFlowBar();
    const TRubricRecord *record = ItemRecord(lvRecords->currentItem());
    stsbMain[2]->setText(record && record->Rubric ? record->Rubric->Name : QString());
}

void TfrmKerstal::ResetFlowBar()
{
    stsBarSum[0]->setText(QStringLiteral("Поступающая струя"));
    stsBarSum[1]->setText(QStringLiteral("Исходящая струя"));
}

// ---- Commands ----------------------------------------------------------------------

bool TfrmKerstal::JournalNameTaken(const QString &fileName, const TKerstal *except) const
{
    const QString wanted = AddFileExt(fileName, JournalExt);
    const QString own = except ? AddFileExt(except->FileName, JournalExt) : QString();
    for (const auto &journal : m_journals)
        if (journal.get() != except && AddFileExt(journal->FileName, JournalExt).compare(wanted, Qt::CaseInsensitive) == 0)
            return true;
    // The folder's journals are all opened whatever the letter case of their names.
    const QStringList files = QDir(JournalsDir).entryList({QStringLiteral("*.WVJ")}, QDir::Files | QDir::Hidden);
    for (const QString &file : files)
        if (file.compare(wanted, Qt::CaseInsensitive) == 0 && file != own)
            return true;
    return false;
}

namespace {

void RefuseName(const QString &name)
{
    ShowMessageBox(QStringLiteral("Вентжурнал с именем \"%1\" уже есть.\r\rЗадайте другое имя: при записи "
                                  "файл другого вентжурнала был бы заменен.")
                       .arg(RemoveFileExt(name, JournalExt)),
                   QStringLiteral("Вентжурнал"), mb::Ok | mb::IconWarning);
}

} // namespace

void TfrmKerstal::NewKerstalExecute()
{
    int nodes = 0;
    for (int i = 0; i < tvKerstal->topLevelItemCount(); ++i)
        nodes += 1 + tvKerstal->topLevelItem(i)->childCount();
    const QString name = QStringLiteral("Новый Вентжурнал %1").arg(nodes);
    if (JournalNameTaken(name, nullptr)) {
        RefuseName(name);
        return;
    }
    m_journals.push_back(std::make_unique<TKerstal>(name));
    AddToTree(m_journals.back().get());
    UpdateActions();
}

void TfrmKerstal::NewRubricExecute()
{
    QTreeWidgetItem *selected = tvKerstal->currentItem();
    TKerstal *journal = CurrentJournal();
    if (!selected || !journal)
        return;
    auto made = std::make_unique<TRubric>(journal);
    made->Name = QStringLiteral("Новая Рубрика %1").arg(journal->Count());
    made->Remarks.clear();
    QTreeWidgetItem *node = nullptr;
    {
        const QScopedValueRollback filling(m_filling, true);
        if (const TRubric *before = SelectedRubric()) {
            TRubric *rubric = journal->Insert(journal->IndexOf(before), std::move(made));
            node = MakeRubricNode(rubric);
            QTreeWidgetItem *parent = selected->parent();
            parent->insertChild(parent->indexOfChild(selected), node);
        } else {
            TRubric *rubric = journal->Add(std::move(made));
            node = MakeRubricNode(rubric);
            selected->addChild(node);
        }
    }
    journal->Modified = true;
    tvKerstal->setCurrentItem(node);
    FillRecordList();
    UpdateActions();
}

void TfrmKerstal::InsertRecord(TRubric *rubric, int position)
{
    position = std::clamp(position, 0, rubric->Count());
    auto *item = new QTreeWidgetItem(QStringList{QStringLiteral("Новая запись")});
    lvRecords->insertTopLevelItem(position, item);
    auto record = std::make_unique<TRubricRecord>(rubric);
    item->setIcon(0, RecordImage(*record));
    lvRecords->setCurrentItem(item);
    if (EditRecord(*record, m_net, this)) {
        TRubricRecord *inserted = rubric->Insert(position, std::move(record));
        FillRecordItem(item, *inserted);
    } else {
        delete item;
    }
}

void TfrmKerstal::NewRecordExecute()
{
    TRubric *rubric = SelectedRubric();
    if (!rubric)
        return;
    QTreeWidgetItem *current = lvRecords->currentItem();
    const int position = current && current->isSelected() ? lvRecords->indexOfTopLevelItem(current) : 0;
    InsertRecord(rubric, position);
    UpdateActions();
    UpdateStatus();
}

void TfrmKerstal::EditRecordItem(QTreeWidgetItem *item)
{
    TRubricRecord *record = ItemRecord(item);
    if (!record)
        return;
    if (EditRecord(*record, m_net, this)) {
        FillRecordItem(item, *record);
        UpdateActions();
        UpdateStatus();
    }
}

void TfrmKerstal::ViewPropertyExecute()
{
    QTreeWidgetItem *node = tvKerstal->currentItem();
    const QScopedValueRollback filling(m_filling, true);
    if (TKerstal *journal = SelectedJournal()) {
        if (EditJournalProperties(*journal, JournalsDir, this))
            node->setText(0, NodeText(*journal));
    } else if (TRubric *rubric = SelectedRubric()) {
        if (EditRubricProperties(*rubric, this))
            node->setText(0, rubric->Name);
    }
    // The journal may now be modified, which Save offers.
    UpdateActions();
    UpdateStatus();
}

void TfrmKerstal::RenameExecute()
{
    if (QTreeWidgetItem *node = tvKerstal->currentItem())
        tvKerstal->editItem(node);
}

void TfrmKerstal::NodeEdited(QTreeWidgetItem *node)
{
    RenameNode(node, node->text(0));
}

void TfrmKerstal::RenameNode(QTreeWidgetItem *node, const QString &text)
{
    const QScopedValueRollback filling(m_filling, true);
    const QVariant object = node->data(0, RoleObject);
    if (node->data(0, RoleKind).toInt() == nkRubric) {
        auto *rubric = reinterpret_cast<TRubric *>(object.value<quintptr>());
        node->setText(0, text);
        if (rubric->Name != text) {
            rubric->Name = text;
            rubric->OwnerJournal->Modified = true;
        }
        UpdateStatus();
        UpdateActions();
        return;
    }
    auto *journal = reinterpret_cast<TKerstal *>(object.value<quintptr>());
    const QString cleaned = CleanFileName(text);
    const QString newName = AddFileExt(cleaned, JournalExt);
    node->setText(0, NodeText(*journal));
    if (cleaned.trimmed().isEmpty() || newName == AddFileExt(journal->FileName, JournalExt))
        return;
    if (JournalNameTaken(newName, journal)) {
        RefuseName(newName);
        return;
    }
    // A journal that was never saved has no file yet.
    const QString oldPath = JournalPath(JournalsDir, AddFileExt(journal->FileName, JournalExt));
    const QString newPath = JournalPath(JournalsDir, newName);
    if (QFileInfo::exists(oldPath) && !QFile::rename(oldPath, newPath)) {
        ShowMessageBox(QStringLiteral("Не удается переименовать файл вентжурнала \"%1\".").arg(oldPath),
                       QStringLiteral("Вентжурнал"), mb::Ok | mb::IconError);
        return;
    }
    journal->FileName = newName;
    node->setText(0, NodeText(*journal));
}

void TfrmKerstal::ForgetFind()
{
    FoundRubric = -1;
    FoundRecord = -1;
}

void TfrmKerstal::DeleteExecute()
{
    QTreeWidgetItem *node = tvKerstal->currentItem();
    const QString two = QStringLiteral("\r\r");
    if (tvKerstal->hasFocus()) {
        if (!node) {
            UpdateActions();
            return;
        }
        if (TKerstal *journal = SelectedJournal()) {
            const QString question = QStringLiteral("Вы полностью уничтожаете вентжурнал \"") + node->text(0) +
                                     QStringLiteral("\".") + two + QStringLiteral("ФАЙЛ вентжурнала будет также уничтожен.") +
                                     two + QStringLiteral("Удалить вентжурнал?");
            if (ShowMessageBox(question, QStringLiteral("Удаление вентжурнала"),
                               mb::YesNoCancel | mb::IconError | mb::DefaultButton2) != idYes) {
                UpdateActions();
                return;
            }
            // A file left behind would bring the journal back at the next opening.
            QFile file(JournalPath(JournalsDir, AddFileExt(journal->FileName, JournalExt)));
            if (file.exists() && !file.remove()) {
                ShowMessageBox(QStringLiteral("Не удается удалить файл вентжурнала \"%1\".\r\r%2")
                                   .arg(QDir::toNativeSeparators(file.fileName()), file.errorString()),
                               QStringLiteral("Удаление вентжурнала"), mb::Ok | mb::IconError);
                UpdateActions();
                return;
            }
            delete node;
            Print.Forget(journal);
            std::erase_if(m_journals, [&](const auto &j) { return j.get() == journal; });
        } else if (TRubric *rubric = SelectedRubric()) {
            const QString question = QStringLiteral("Вы удаляете рубрику \"") + rubric->Name + QStringLiteral("\".") + two +
                                     QStringLiteral("Удалить?");
            if (ShowMessageBox(question, QStringLiteral("Удаление рубрики"),
                               mb::YesNoCancel | mb::IconWarning | mb::DefaultButton2) != idYes) {
                UpdateActions();
                return;
            }
            TKerstal *journal = rubric->OwnerJournal;
            delete node;
            journal->Delete(journal->IndexOf(rubric));
            journal->Modified = true;
        }
        ForgetFind();
        if (tvKerstal->topLevelItemCount() == 0)
            lvRecords->clear();
        FillRecordList();
    } else if (QTreeWidgetItem *item = lvRecords->currentItem(); item && item->isSelected()) {
        TRubricRecord *record = ItemRecord(item);
        if (!record) {
            UpdateActions();
            return;
        }
        TRubric *rubric = record->Rubric;
        const QString question = QStringLiteral("Вы удаляете запись из рубрики \"") + rubric->Name +
                                 QStringLiteral("\".") + two + QStringLiteral("Удалить запись?");
        if (ShowMessageBox(question, QStringLiteral("Удаление записи"), mb::YesNoCancel | mb::IconInformation) == idYes) {
            delete item;
            rubric->Delete(rubric->IndexOf(record));
            rubric->OwnerJournal->Modified = true;
            ForgetFind();
            if (QTreeWidgetItem *focused = lvRecords->currentItem())
                focused->setSelected(true);
            UpdateStatus();
        }
    }
    UpdateActions();
}

void TfrmKerstal::ClearJournals()
{
    {
        const QScopedValueRollback filling(m_filling, true);
        tvKerstal->clear();
        lvRecords->clear();
    }
    Print.Forget(Print.PrintJournal);
    m_journals.clear();
    ForgetFind();
    UpdateStatus();
}

void TfrmKerstal::OpenJournals(const QString &folder)
{
    ClearJournals();
    JournalsDir = folder;
    TOpenedJournals opened = OpenAllJournals(folder);
    for (auto &journal : opened.Journals) {
        m_journals.push_back(std::move(journal));
        AddToTree(m_journals.back().get());
    }
    // The first journal is current whichever widget has the focus, so that
    // its records show and its commands work at once.
    if (QTreeWidgetItem *first = tvKerstal->topLevelItem(0))
        tvKerstal->setCurrentItem(first);
    UpdateActions();
    if (!opened.Error.isEmpty())
        throw Exception(opened.Error);
}

void TfrmKerstal::FileOpenExecute()
{
    if (!CloseQuery())
        return;
    const QString file = ChooseOpenFile ? ChooseOpenFile() : QString();
    if (!file.isEmpty()) {
        const QString folder = QFileInfo(file).absolutePath();
        Options.CurDir = QDir::toNativeSeparators(folder);
        OpenJournals(folder);
    }
    raise();
    activateWindow();
}

bool TfrmKerstal::SaveChecked(TKerstal &journal, const QString &path)
{
    try {
        SaveJournal(journal, path);
    } catch (const EFCreateError &) {
        ShowMessageBox(CannotSave, QStringLiteral("Ошибка при записи файла"), mb::Ok | mb::IconError);
        return false;
    }
    return true;
}

void TfrmKerstal::FileSaveExecute()
{
    if (TKerstal *journal = CurrentJournal(); journal && journal->Modified)
        SaveChecked(*journal, JournalPath(JournalsDir, AddFileExt(journal->FileName, JournalExt)));
    UpdateActions();
}

void TfrmKerstal::FileSaveAsExecute(int filter)
{
    TKerstal *journal = CurrentJournal();
    if (!journal || !ChooseSaveFile)
        return;
    const QString name = ChooseSaveFile(JournalsDir, RemoveFileExt(journal->FileName, JournalExt), filter);
    if (!name.isEmpty())
        SaveAsChosen(name, filter);
}

void TfrmKerstal::SaveAsChosen(const QString &fileName, int filter)
{
    TKerstal *journal = CurrentJournal();
    if (!journal)
        return;
    if (filter == 2 || filter == 3) {
        ExportForm2Text(*journal, AddFileExt(fileName, QStringLiteral(".TXT")), filter == 2, Options.LinesPerPage);
        return;
    }
    const QString path = AddFileExt(fileName, JournalExt);
    // A copy elsewhere leaves the journal's own file as old as it was.
    const bool ownFile = QFileInfo(path) == QFileInfo(JournalPath(JournalsDir, AddFileExt(journal->FileName, JournalExt)));
    const bool modified = journal->Modified;
    if (SaveChecked(*journal, path) && !ownFile)
        journal->Modified = modified;
    UpdateActions();
}

void TfrmKerstal::FilePreviewExecute()
{
    const TKerstal *journal = CurrentJournal();
    if (!journal)
        return;
    TfrmTextPreview preview(QStringLiteral("Предварительный просмотр"), BuildForm2Text(*journal, Options.LinesPerPage),
                            this, [this] { Run([this] { FileSaveAsExecute(2); }); });
    preview.exec();
}

void TfrmKerstal::PrepareReports()
{
    StartJournalReports();
    if (!Engine().Components.HasForm(objectName())) {
        Engine().Components.Register(objectName(), &frMain);
        Engine().Components.Register(objectName(), &Print.frStringsDataset);
        Engine().Components.Register(objectName(), &Print.frUserDatasetRec);
    }
}

void TfrmKerstal::FilePrintExecute()
{
    const TKerstal *journal = CurrentJournal();
    if (!journal)
        return;
    PrepareReports();
    Print.StartPrint(*journal, Options.LinesPerPage);
    QString path = Options.TypeVJ;
    // The chosen file serves this print only: the next one asks again.
    if (!QFileInfo(path).isFile()) {
        path = ChooseReportFile ? ChooseReportFile(QStringLiteral("Отчет ") + Options.TypeVJ
                                                   + QStringLiteral(" не найден. Укажите другой"))
                                : QString();
        if (path.isEmpty())
            return;
    }
    frMain.LoadFromFile(path);
    // A template that fails to build is told, not dropped without a word.
    const bool built = frMain.PrepareReport();
    if (!frMain.ShowBuildError() && built)
        frMain.ShowPreparedReport();
    raise();
    activateWindow();
}

void TfrmKerstal::ReportDesignerExecute()
{
    const TKerstal *journal = CurrentJournal();
    if (!journal || !JournalDesignerHooks.Install)
        return;
    PrepareReports();
    // The designer's preview builds this journal: its form-2 lines, not
    // those of an earlier print, head the pages.
    Print.StartPrint(*journal, Options.LinesPerPage);
    if (QFileInfo(Options.TypeVJ).isFile())
        frMain.LoadFromFile(Options.TypeVJ);
    if (JournalDesignerHooks.SetFileName)
        JournalDesignerHooks.SetFileName(Options.TypeVJ);
    frMain.DesignReport();
    raise();
    activateWindow();
}

void TfrmKerstal::UpdateRecordsExecute()
{
    TKerstal *journal = CurrentJournal();
    if (!journal)
        return;
    const QStringList log = RefreshFromNetwork(*journal, m_net);
    delete m_refreshLog;
    m_refreshLog = new TfrmTextPreview(QStringLiteral("Результаты обновления"), log.join(u'\n'), this);
    m_refreshLog->setAttribute(Qt::WA_DeleteOnClose);
    m_refreshLog->setModal(false);
    // Beside the window where the screen has room, so that the records stay in sight.
    m_refreshLog->adjustSize();
    if (const QScreen *screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        const QRect frame = frameGeometry();
        const int x = frame.right() + 1 + m_refreshLog->width() <= room.right() ? frame.right() + 1
                                                                                 : room.right() - m_refreshLog->width();
        m_refreshLog->move(std::max(x, room.left()), frame.top());
    }
    m_refreshLog->show();
    for (int i = 0; i < lvRecords->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = lvRecords->topLevelItem(i);
        if (const TRubricRecord *record = ItemRecord(item))
            FillRecordItem(item, *record);
    }
    UpdateStatus();
    UpdateActions();
}

void TfrmKerstal::FindBranchExecute()
{
    if (!CurrentJournal())
        return;
    if (!m_find)
        m_find = new TfrmFind([this](const QString &text) { Run([&] { FindNext(text); }); }, this);
    m_find->show();
    m_find->raise();
    m_find->activateWindow();
}

void TfrmKerstal::FindNext(const QString &text)
{
    TKerstal *journal = CurrentJournal();
    if (!journal)
        return;
    QTreeWidgetItem *selected = lvRecords->currentItem();
    if (!selected || !selected->isSelected())
        ForgetFind();
    int startRubric = 0;
    int startRecord = 0;
    if (FoundRubric != -1) {
        // From the record after the selected one; a record of another journal,
        // or one deleted meanwhile, starts the search from the top.
        const TRubricRecord *record = ItemRecord(selected);
        const int rubric = record ? journal->IndexOf(record->Rubric) : -1;
        if (rubric >= 0) {
            startRubric = rubric;
            startRecord = record->Rubric->IndexOf(record) + 1;
            FoundRecord = startRecord;
        }
    }
    const std::optional<TJournalHit> hit = FindRecord(*journal, text, startRubric, startRecord);
    if (!hit) {
        ForgetFind();
        ShowMessageBox(QStringLiteral("Поиск завершен"), QStringLiteral("Поиск завершен"), mb::Ok | mb::IconInformation);
        return;
    }
    FoundRubric = hit->Rubric + 1;
    FoundRecord = hit->Record + 1;
    QTreeWidgetItem *rubricNode = RubricNode(journal->Items(hit->Rubric));
    if (!rubricNode)
        return;
    tvKerstal->setCurrentItem(rubricNode);
    tvKerstal->setFocus();
    // The rubric shows for a moment before the record is picked out in it.
    QPointer<TfrmKerstal> alive(this);
    QEventLoop wait;
    QTimer::singleShot(FindDelay, &wait, &QEventLoop::quit);
    wait.exec();
    if (!alive)
        return;
    QTreeWidgetItem *item = lvRecords->topLevelItem(hit->Record);
    if (!item)
        return;
    lvRecords->setCurrentItem(item);
    item->setSelected(true);
    lvRecords->setFocus();
    lvRecords->scrollToItem(item);
    if (m_find) {
        const int top = lvRecords->visualItemRect(item).top() + y() + lvRecords->mapTo(this, QPoint(0, 0)).y() + 100;
        m_find->move(m_find->x(), std::max(top, 0));
    }
}

void TfrmKerstal::EditOptionsExecute()
{
    kerstal::EditOptions(Options, this);
}

bool TfrmKerstal::CloseQuery()
{
    // A journal that cannot be saved keeps the window open; the others are still asked about.
    bool allSaved = true;
    for (int i = 0; i < JournalCount(); ++i) {
        TKerstal &journal = *Journal(i);
        if (!journal.Modified)
            continue;
        const int answer =
            ShowMessageBox(QStringLiteral("Файл венжурнала \"%1\" не был сохранен.\r\rСохранить?").arg(journal.FileName),
                           QStringLiteral("Вентжурнал - Сохранение файла"), mb::YesNoCancel | mb::IconQuestion);
        if (answer == idCancel) {
            allSaved = false;
            break;
        }
        if (answer != idYes)
            continue;
        bool saved = false;
        GuardedCall([&] {
            saved = SaveChecked(journal, JournalPath(JournalsDir, AddFileExt(journal.FileName, JournalExt)));
        });
        allSaved = allSaved && saved;
    }
    if (!allSaved)
        raise();
    return allSaved;
}

void TfrmKerstal::reject()
{
    if (CloseQuery())
        QDialog::reject();
}

void TfrmKerstal::FileExitExecute()
{
    WriteOptions();
    reject();
}

QString TfrmKerstal::HelpText()
{
    const QString b = QStringLiteral("о   ");
    const QString two = QStringLiteral("\r\r");
    QString text;
    for (const QString &p : {
             QStringLiteral("В левой части окна - список вентжурналов и их рубрик."),
             QStringLiteral("В правой части окна - список записей выбранной рубрики или всего вентжурнала, если выделен вентжурнал."),
             QStringLiteral("Символ чистого листка в списке записей означает отсутствие номера входящей или выходящей ветви в "
                            "базе данных программы (соответствующая часть такой записи не может быть обновлена автоматически)."),
             QStringLiteral("По умолчанию каждая рубрика имеет тип \"Обычная\"(с подсчетом итогов)"),
             QStringLiteral("Для подсчета процентов или отказа от подсчета итогов не забудьте указать тип рубрики в свойствах "
                            "рубрики (<Alt> + <Enter> или <Двойной щелчок> на рубрике)"),
             QStringLiteral("Файлы вентжурналов имеют расширение *.WVJ "),
             QStringLiteral("При открытии какого либо вентжурнала - открываются также ВСЕ вентжурналы в указанной вами папке, "
                            "расширение имени файла отбрасывается, при записи вентжурнала - расширение .WVJ дописывается к "
                            "имени файла."),
             QStringLiteral("Название вентжурнала в левой части окна используется для имени файла вентжурнала и поэтому не "
                            "может включать специальные символы, запрещенные для имен файлов (это символы :, \\, ?, *, /, |, "
                            "<, >, \"). Такие символы будет заменены символом подчеркивания."),
             QStringLiteral("Вставить запись в рубрику (перед выделенной записью) можно клавишей <Ins>, <Стрелка вниз> на "
                            "последней или <Стрелка вверх> на первой записи также добавляет, соответственно, запись в конец "
                            "или в начало")})
        text += b + p + two;
    text += QString(53, u'~');
    for (const QString &line : {QStringLiteral("<Ctrl> + <N> - создать новый вентжурнал."),
                                QStringLiteral("<Ctrl> + <R> - создать новую рубрику."),
                                QStringLiteral("<Ins> - создать новую запись (выберите рубрику!)"),
                                QStringLiteral("<Ctrl> + <U> - обновление вентжурнала"),
                                QStringLiteral("<Ctrl> + <Del> - удалить выделенную запись/рубрику/вентжурнал"),
                                QStringLiteral("<F2> - переименовать рубрику/вентжурнал"),
                                QStringLiteral("<Alt> + <Enter> или <Двойной щелчок> - свойства выделенной записи/рубрики/вентжурнала"),
                                QStringLiteral("<Alt> + <X> - выход")})
        text += u'\r' + line;
    return text;
}

void TfrmKerstal::HelpExecute()
{
    ShowMessageBox(HelpText(), QStringLiteral("Справка"), mb::Ok | mb::IconInformation);
}

void TfrmKerstal::AboutExecute()
{
    ShowMessageBox(QStringLiteral("Kerstal v1.0.3\r\rВентиляционный журнал (форма 2): замеры поступающей и исходящей "
                                  "струи по ветвям вентиляционной сети, сгруппированные в рубрики, с обновлением из "
                                  "открытой схемы, итогами и печатью."),
                   QStringLiteral("О программе"), mb::Ok | mb::IconInformation);
}

bool TfrmKerstal::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != lvRecords || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    QTreeWidgetItem *current = lvRecords->currentItem();
    const bool itemSelected = current && current->isSelected();
    TRubric *rubric = SelectedRubric();
    const int row = current ? lvRecords->indexOfTopLevelItem(current) : -1;
    if (key->modifiers() == Qt::NoModifier && rubric && itemSelected) {
        if (key->key() == Qt::Key_Up && row == 0) {
            Run([&] { InsertRecord(rubric, 0); });
            UpdateStatus();
            return true;
        }
        if (key->key() == Qt::Key_Down && row == lvRecords->topLevelItemCount() - 1) {
            Run([&] { InsertRecord(rubric, rubric->Count()); });
            UpdateStatus();
            return true;
        }
    }
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) && key->modifiers() == Qt::NoModifier) {
        if (current)
            Run([&] { EditRecordItem(current); });
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
