#include "shell/ui/frm_find_files.h"

#include "platform/prompt.h"
#include "shell/main_commands.h"

#include <QtCore/QDir>
#include <QtCore/QPointer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QBoxLayout>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QProgressBar>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QTreeWidget>

#include <algorithm>

TfrmFindFiles *frmFindFiles = nullptr;

TfrmFindFiles::TfrmFindFiles(QWidget *parent, const std::vector<TDrive> &drives) : QDialog(parent)
{
    frmFindFiles = this;
    setWindowTitle(LookupText(QStringLiteral("Поиск файлов")));
    resize(640, 480);

    lvDrives = new QTreeWidget(this);
    lvDrives->setHeaderLabels({LookupText(QStringLiteral("Искать на дисках")), LookupText(QStringLiteral("Тип диска"))});
    lvDrives->setRootIsDecorated(false);
    lvDrives->setMaximumHeight(130);
    for (const TDrive &drive : drives) {
        auto *row = new QTreeWidgetItem(lvDrives, {QDir::toNativeSeparators(drive.Root), DriveTypeName(drive.Type)});
        row->setData(0, Qt::UserRole, drive.Root);
        row->setData(1, Qt::UserRole, drive.Type);
        row->setCheckState(0, Qt::Unchecked);
    }
    lvDrives->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    connect(lvDrives, &QTreeWidget::itemChanged, this, [this] { UpdateFindButton(); });
    connect(lvDrives, &QTreeWidget::itemDoubleClicked, this, [](QTreeWidgetItem *row) {
        row->setCheckState(0, row->checkState(0) == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    });

    edMask = new QLineEdit(QStringLiteral("*.*"), this);
    auto *note = new QLabel(LookupText(QStringLiteral("Задайте имя файла, который необходимо найти. В имени файла также "
                                                      "можно использовать символы '*' и '?'")),
                            this);
    note->setWordWrap(true);

    aniSearch = new QProgressBar(this);
    aniSearch->setRange(0, 0);
    aniSearch->setTextVisible(false);
    aniSearch->setMaximumHeight(12);
    aniSearch->setVisible(false);

    lvFiles = new QTreeWidget(this);
    lvFiles->setHeaderLabels({LookupText(QStringLiteral("Файл")), LookupText(QStringLiteral("Размещение"))});
    lvFiles->setRootIsDecorated(false);
    lvFiles->setToolTip(LookupText(QStringLiteral("Список найденных файлов")));
    lvFiles->header()->setSectionsClickable(true);
    lvFiles->setColumnWidth(0, 200);
    connect(lvFiles->header(), &QHeaderView::sectionClicked, this, [this](int column) { SortByColumn(column); });
    connect(lvFiles, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) { Pick(item); });

    m_popup = new QMenu(this);
    mnuOpen = m_popup->addAction(LookupText(QStringLiteral("Открыть")), this, [this] { OpenSelected(); });
    m_popup->setDefaultAction(mnuOpen);
    m_popup->addSeparator();
    mnuList = m_popup->addAction(LookupText(QStringLiteral("Список")), this, [this] { SetListStyle(false); });
    mnuTable = m_popup->addAction(LookupText(QStringLiteral("Таблица")), this, [this] { SetListStyle(true); });
    for (QAction *style : {mnuList, mnuTable})
        style->setCheckable(true);
    mnuTable->setChecked(true);
    lvFiles->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lvFiles, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        mnuOpen->setEnabled(lvFiles->currentItem() && lvFiles->currentItem()->isSelected());
        m_popup->popup(lvFiles->viewport()->mapToGlobal(at));
    });

    btnFind = new QPushButton(LookupText(QStringLiteral("Найти")), this);
    btnFind->setDefault(true);
    btnReset = new QPushButton(LookupText(QStringLiteral("Сброс")), this);
    btnClose = new QPushButton(LookupText(QStringLiteral("Закрыть")), this);
    connect(btnFind, &QPushButton::clicked, this, [this] { btnFindClick(); });
    connect(btnReset, &QPushButton::clicked, this, [this] { btnResetClick(); });
    connect(btnClose, &QPushButton::clicked, this, [this] { reject(); });

    auto *status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    lblFolders = new QLabel(this);
    lblEntries = new QLabel(this);
    lblFound = new QLabel(this);
    lblFolder = new QLabel(this);
    status->addWidget(lblFolders);
    status->addWidget(lblEntries);
    status->addWidget(lblFound);
    // A long folder is cut, not a reason for the window to grow.
    lblFolder->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    status->addWidget(lblFolder, 1);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(btnFind);
    buttons->addWidget(btnReset);
    buttons->addWidget(btnClose);
    buttons->addStretch();
    auto *top = new QHBoxLayout;
    auto *fields = new QVBoxLayout;
    fields->addWidget(lvDrives);
    fields->addWidget(edMask);
    fields->addWidget(note);
    fields->addWidget(aniSearch);
    top->addLayout(fields, 1);
    top->addLayout(buttons);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(new QLabel(LookupText(QStringLiteral("Список найденных файлов")), this));
    layout->addWidget(lvFiles, 1);
    layout->addWidget(status);

    m_search.FolderEntered = [this](const QString &folder) { UpdateStatus(folder); };
    m_search.Found = [this](const QString &name, const QString &folder) {
        new QTreeWidgetItem(lvFiles, {name, QDir::toNativeSeparators(folder)});
    };
    m_search.Pump = [] { QCoreApplication::processEvents(); };
    UpdateStatus(QString());
    UpdateFindButton();
}

TfrmFindFiles::~TfrmFindFiles()
{
    m_search.Running = false;
    if (frmFindFiles == this)
        frmFindFiles = nullptr;
}

void TfrmFindFiles::UpdateFindButton()
{
    bool any = false;
    for (int i = 0; i < lvDrives->topLevelItemCount(); ++i)
        any = any || lvDrives->topLevelItem(i)->checkState(0) == Qt::Checked;
    btnFind->setEnabled(any);
}

void TfrmFindFiles::UpdateStatus(const QString &folder)
{
    m_currentFolder = folder;
    lblFolders->setText(LookupText(QStringLiteral("Папок: ")) + QString::number(m_search.Folders));
    lblEntries->setText(LookupText(QStringLiteral("Файлов: ")) + QString::number(m_search.Entries));
    lblFound->setText(LookupText(QStringLiteral("Найдено: ")) + QString::number(m_search.FoundCount));
    lblFolder->setText(QDir::toNativeSeparators(folder));
}

void TfrmFindFiles::btnFindClick()
{
    // A click while a search runs only stops it: the running walk sees the
    // flag and returns.
    if (m_search.Running) {
        m_search.Running = false;
        return;
    }
    m_search.Reset();
    const QString mask = edMask->text();
    m_search.Running = true;
    aniSearch->setVisible(true);
    btnFind->setText(LookupText(QStringLiteral("Стоп")));
    btnReset->setEnabled(false);

    QPointer<TfrmFindFiles> alive(this);
    for (int i = 0; i < lvDrives->topLevelItemCount() && m_search.Running; ++i) {
        QTreeWidgetItem *row = lvDrives->topLevelItem(i);
        if (row->checkState(0) == Qt::Checked)
            m_search.SearchDrive(row->data(0, Qt::UserRole).toString(), mask);
        if (!alive)
            return;
    }
    m_search.Running = false;
    UpdateStatus(m_currentFolder);
    aniSearch->setVisible(false);
    btnReset->setEnabled(true);
    btnFind->setText(LookupText(QStringLiteral("Найти")));
    if (m_search.LimitExceeded())
        ShowMessageBox(LookupText(QStringLiteral("Заданному Вами шаблону имени файла соответствует более %1 файлов."))
                               .arg(TFileSearch::FileLimit)
                           + u'\r' + LookupText(QStringLiteral("Уточните, пожалуйста, условия поиска")),
                       LookupText(QStringLiteral("Превышен установленный предел количества файлов")),
                       mb::Ok | mb::IconInformation);
}

void TfrmFindFiles::btnResetClick()
{
    lvFiles->clear();
}

void TfrmFindFiles::SortByColumn(int column)
{
    m_sortDirection = -m_sortDirection;
    std::vector<QTreeWidgetItem *> rows;
    while (lvFiles->topLevelItemCount() > 0)
        rows.push_back(lvFiles->takeTopLevelItem(0));
    const int direction = m_sortDirection;
    std::stable_sort(rows.begin(), rows.end(), [column, direction](QTreeWidgetItem *a, QTreeWidgetItem *b) {
        return QString::compare(a->text(column), b->text(column), Qt::CaseInsensitive) * direction < 0;
    });
    for (QTreeWidgetItem *row : rows)
        lvFiles->addTopLevelItem(row);
}

void TfrmFindFiles::SetListStyle(bool table)
{
    mnuTable->setChecked(table);
    mnuList->setChecked(!table);
    lvFiles->setHeaderHidden(!table);
    lvFiles->setColumnHidden(1, !table);
}

void TfrmFindFiles::OpenSelected()
{
    QTreeWidgetItem *item = lvFiles->currentItem();
    if (item && item->isSelected())
        Pick(item);
}

void TfrmFindFiles::Pick(QTreeWidgetItem *item)
{
    m_search.Running = false;
    m_fileName = QDir(QDir::fromNativeSeparators(item->text(1))).filePath(item->text(0));
    accept();
}

void TfrmFindFiles::reject()
{
    m_search.Running = false;
    QDialog::reject();
}

QString FindFileWithMask(QWidget *parent, const QString &mask)
{
    TfrmFindFiles form(parent);
    form.edMask->setText(mask);
    form.exec();
    return form.FileName();
}
