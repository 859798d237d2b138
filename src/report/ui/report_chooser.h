#pragma once
// The report chooser that result windows open: a list of templates ("Файл",
// "Размещение") and the buttons that preview, edit and print the chosen one
// with the window's report component. The window that derives from it fills
// the list and answers the report's values and data.
#include "report/report.h"
#include "report/template_list.h"

#include <QtWidgets/QDialog>

#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;

// The preview, the printing, the designer and the file search come with
// other parts of the program; their buttons stay disabled until these are set
// (and, but for the search, while no template is chosen).
struct TReportChooserHooks
{
    // Builds the loaded report and previews it.
    std::function<void(TfrReport &report)> Preview;
    // Builds the loaded report and prints every page once on the default printer.
    std::function<void(TfrReport &report)> Print;
    // Opens the designer on the loaded report, which was read from file.
    std::function<void(TfrReport &report, const QString &file)> Design;
    // The file search with a mask ("*.FRF"): the file chosen, or empty.
    std::function<QString(QWidget *owner, const QString &mask)> FindFile;
};
extern TReportChooserHooks ReportChooserHooks;
// Fills the preview and the printing of ReportChooserHooks, when unset, with
// the engine's own: the preview window, and every page once on the current printer.
void InstallReportChooserOutput();

class TReportChooser : public QDialog
{
    Q_OBJECT

public:
    // name: the window's name, under which its data sets are registered with the engine.
    TReportChooser(QWidget *owner, const QString &name, const QString &caption);
    ~TReportChooser() override;

    TfrReport frMain;
    QLabel *Label1;
    QTreeWidget *lvFindedFiles;
    QPushButton *btnFind, *btnPreview, *btnDesign, *btnPrint, *btnClose;

    const std::vector<TTemplateRow> &Rows() const { return m_rows; }
    // Appends the templates of folder matching mask; a missing folder is
    // named in a message and adds nothing.
    void AddTemplates(const QString &folder, const QString &mask);
    // Selects the row of a file name; false when it is not listed.
    bool SelectTemplate(const QString &file);

    void btnPreviewClick();
    void btnDesignClick();
    void btnPrintClick();
    void btnFindClick();

protected:
    // Makes the data sets known to the engine's templates by their names.
    void RegisterDatasets(const std::vector<TfrDataset *> &datasets);
    // "Найти...": the folder of a file found; the window lists its templates
    // (and may keep it as the reports folder).
    virtual void FolderFound(const QString &folder) = 0;
    // Before a preview or a print builds the chosen template.
    virtual void BeforeBuild() {}

private:
    // Loads the selected template; false without a selection or when loading failed.
    bool LoadSelected(QString *file = nullptr);
    // "Просмотр...", "Изменить..." and "Печать..." are enabled while a
    // template is chosen and the part of the program they need is there.
    void UpdateButtons();

    std::vector<TTemplateRow> m_rows;
};
