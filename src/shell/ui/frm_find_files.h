#pragma once
// "Поиск файлов": searches the checked drives for files whose names match a
// mask and lets the user pick one. The search runs on the window's thread and
// pumps the event queue after every entry, so that "Стоп", "Закрыть" and the
// result list answer while it runs.
#include "shell/file_search.h"

#include <QtWidgets/QDialog>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TfrmFindFiles : public QDialog
{
    Q_OBJECT

public:
    // drives: the rows of the drive list (the mounted file systems by default).
    explicit TfrmFindFiles(QWidget *parent = nullptr, const std::vector<TDrive> &drives = ListDrives());
    ~TfrmFindFiles() override;

    // The picked file's full name; empty until the user picks one.
    QString FileName() const { return m_fileName; }
    bool Searching() const { return m_search.Running; }

    QTreeWidget *lvDrives = nullptr;
    QLineEdit *edMask = nullptr;
    QTreeWidget *lvFiles = nullptr;
    QPushButton *btnFind = nullptr;
    QPushButton *btnReset = nullptr;
    QPushButton *btnClose = nullptr;
    QProgressBar *aniSearch = nullptr;
    QLabel *lblFolders = nullptr;
    QLabel *lblEntries = nullptr;
    QLabel *lblFound = nullptr;
    QLabel *lblFolder = nullptr;
    QAction *mnuOpen = nullptr;
    QAction *mnuList = nullptr;
    QAction *mnuTable = nullptr;

    void btnFindClick();
    void btnResetClick();
    // Sorts by the column, the direction inverted at each click.
    void SortByColumn(int column);
    // Picks the selected row and closes.
    void OpenSelected();

protected:
    void reject() override;

private:
    void UpdateFindButton();
    void UpdateStatus(const QString &folder);
    void SetListStyle(bool table);
    void Pick(QTreeWidgetItem *item);

    TFileSearch m_search;
    QString m_fileName;
    QString m_currentFolder;
    int m_sortDirection = -1;
    QMenu *m_popup = nullptr;
};

// The one window of this kind while it is open.
extern TfrmFindFiles *frmFindFiles;

// Shows the search window with the mask and gives the file picked, empty
// when the window was closed without a pick.
QString FindFileWithMask(QWidget *parent, const QString &mask);
