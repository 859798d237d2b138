#pragma once
// The journal window: the journals of a folder with their rubrics in a tree,
// the records of the selected rubric (or of the whole selected journal) in a
// list, and the commands that create, edit, rename, delete, find, refresh,
// save, export and preview them. It is shown modally while the program waits.
#include "journal/journal.h"
#include "journal/journal_print.h"
#include "journal/refresh.h"
#include "journal/ui/frm_text_preview.h"
#include "journal/vj_options.h"
#include "report/report.h"

#include <QtCore/QPointer>
#include <QtGui/QIcon>
#include <QtWidgets/QDialog>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class TfrmFind;

class TfrmKerstal : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmKerstal(const TJournalNetwork &net, QWidget *parent = nullptr);
    ~TfrmKerstal() override;

    TVJOptionSet Options;
    TJournalBranchTables BranchInfo;
    QString JournalsDir;   // the folder the journals were read from, and are saved to
    int FoundRubric = -1;  // 1-based positions of the last find hit; -1 none
    int FoundRecord = -1;
    int JournalIndex = -1; // position of the selected node's journal among the journal nodes
    int FindDelay = 300;   // ms the found rubric shows before the hit is selected

    QTreeWidget *tvKerstal;
    QTreeWidget *lvRecords;
    QLabel *stsbMain[3];
    QLabel *stsBarSum[2];

    QAction *NewKerstal, *NewRubric, *NewRecord, *ViewProperty, *FileExit, *FilePreview, *FilePrint, *Delete,
        *FileOpen, *FileSaveAs, *UpdateRecords, *FindBranch, *Rename, *FileSave, *EditOptions, *ReportDesigner;

    // The file dialogs, replaceable by tests: the open dialog answers the
    // chosen file (empty when cancelled); the save dialog the name and the
    // chosen filter (1 journal, 2 DOS text, 3 Windows text).
    std::function<QString()> ChooseOpenFile;
    std::function<QString(const QString &folder, const QString &name, int &filter)> ChooseSaveFile;
    // The template for one print when the one of the settings is missing:
    // the chosen file, empty when cancelled.
    std::function<QString(const QString &title)> ChooseReportFile;

    // The journal's report: the template, the record sources and the values
    // of the journal being printed.
    TfrReport frMain;
    TJournalPrint Print;
    void frMainGetValue(const QString &name, Variant &value) const { Print.GetValue(name, value); }

    // The journals in tree order.
    int JournalCount() const { return static_cast<int>(m_journals.size()); }
    TKerstal *Journal(int index) const { return m_journals[static_cast<std::size_t>(index)].get(); }
    QTreeWidgetItem *JournalNode(int index) const;
    QTreeWidgetItem *RubricNode(const TRubric *rubric) const;

    TKerstal *SelectedJournal() const;
    TRubric *SelectedRubric() const;
    TKerstal *CurrentJournal() const;
    TRubricRecord *ItemRecord(const QTreeWidgetItem *item) const;
    TfrmFind *FindDialog() const { return m_find; }
    TfrmTextPreview *RefreshLog() const { return m_refreshLog; }

    void UpdateActions();
    void UpdateStatus();
    void FillRecordList();

    // Commands, each run so that an error ends in a message box.
    void NewKerstalExecute();
    void NewRubricExecute();
    void NewRecordExecute();
    void ViewPropertyExecute();
    void FileExitExecute();
    void FilePreviewExecute();
    void FilePrintExecute();
    void ReportDesignerExecute();
    void DeleteExecute();
    void FileOpenExecute();
    void FileSaveExecute();
    // filter preselects the dialog's filter.
    void FileSaveAsExecute(int filter = 1);
    void UpdateRecordsExecute();
    void FindBranchExecute();
    void RenameExecute();
    void EditOptionsExecute();
    void HelpExecute();
    void AboutExecute();

    // The steps behind the dialogs.
    void OpenJournals(const QString &folder);
    void SaveAsChosen(const QString &fileName, int filter);
    void FindNext(const QString &text);
    void RenameNode(QTreeWidgetItem *node, const QString &text);
    void InsertRecord(TRubric *rubric, int position);
    void EditRecordItem(QTreeWidgetItem *item);
    // The closing question for every modified journal; false keeps the window.
    bool CloseQuery();

    static QString HelpText();

public slots:
    // Closing by any way (Esc, the title bar, Exit) asks about unsaved journals.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CreateActions();
    void CreateMenus();
    QTreeWidgetItem *AddToTree(TKerstal *journal);
    QTreeWidgetItem *MakeRubricNode(TRubric *rubric);
    void FillRecordItem(QTreeWidgetItem *item, const TRubricRecord &record);
    QIcon RecordImage(const TRubricRecord &record) const;
    void NodeSelected(QTreeWidgetItem *current);
    void RecordFocused(QTreeWidgetItem *current);
    void NodeEdited(QTreeWidgetItem *node);
    void ClearJournals();
    // The flow bar's captions as the window opens with them.
    void ResetFlowBar();
    void ForgetFind();
    // A journal file name already used by another journal of the window or
    // by a journal file of the folder; except is the journal being renamed.
    bool JournalNameTaken(const QString &fileName, const TKerstal *except) const;
    // Saves to the path; a file that cannot be created is reported with the
    // window's own message. False when it failed.
    bool SaveChecked(TKerstal &journal, const QString &path);
    void WriteOptions();
    void Run(const std::function<void()> &command);
    // Starts the plug-in's report engine and puts the report and its record
    // sources where templates find them.
    void PrepareReports();

    TJournalNetwork m_net;
    std::vector<std::unique_ptr<TKerstal>> m_journals;
    QIcon m_journalIcon, m_rubricIcon, m_recordIcon, m_blankIcon;
    TfrmFind *m_find = nullptr;
    QPointer<TfrmTextPreview> m_refreshLog;
    bool m_filling = false;
};
