#pragma once
// The open document: one mine network with its scheme. The controller keeps
// the file name, the modified flag, the view state and the recent-files list,
// and runs New, Open, Save, Save As, the question about unsaved changes, the
// reset before and the completion after a load. The main window is a thin
// layer over it: it asks for file names with dialogs and shows what the
// controller tells it through TDocumentWindow.
#include "platform/file_filter.h"
#include "shell/main_commands.h"
#include "shell/recent_files.h"
#include "scheme/viewport.h"

#include <QtCore/QString>
#include <QtCore/QStringList>

#include <cstdint>
#include <functional>
#include <vector>

// What the document needs of the window over it. Every method has a neutral
// default so that tests override only what they watch.
class TDocumentWindow
{
public:
    virtual ~TDocumentWindow() = default;
    // The document was reset: free the emergency windows and every result
    // computed on the old network.
    virtual void DocumentCleared() {}
    virtual void CaptionChanged(const QString &caption) {}
    virtual void ModifiedChanged(bool modified) {}
    virtual void Redraw() {}
    // Fit the whole scheme into the window.
    virtual void FitWholeScheme() {}
    virtual void UpdateZoomButtons() {}
    // The standard colouring item is checked; Check… checks it and runs it.
    virtual bool StandardColoringChecked() const { return true; }
    virtual void CheckStandardColoring() {}
    // The folder of scheme files (setting MinesLocation).
    virtual QString MinesFolder() const { return {}; }
    virtual void SetMinesFolder(const QString &folder) {}
    // The settings' ShowSheet, set by New.
    virtual void ShowSheet() {}
    // Save As with the document's name proposed; true when a scheme file was
    // written.
    virtual bool AskSaveAs() { return false; }
};

// The scheme file and the document state it carries besides the tables
// (scheme properties, layers, installed fans, overlay lists).
class TSchemeStorage
{
public:
    virtual ~TSchemeStorage() = default;
    // Empties the scheme properties, layers, installed fans and overlay lists.
    virtual void ResetDocumentState() = 0;
    // Reads the file into the tables and lists, which were reset; throws
    // when the file cannot be used.
    virtual void Read(const QString &fileName) = 0;
    // Writes the document; throws or returns false when the file could not
    // be written (the previous file is then untouched).
    virtual bool Write(const QString &fileName) = 0;
    // Runs write with the network's own values in the tables: a window that
    // holds computed values there (a fire model's emergency flows) puts them
    // aside meanwhile. Every file written from the network goes through it.
    virtual void WithNetworkValues(const std::function<void()> &write) { write(); }
    // The mine name of the scheme properties.
    virtual QString MineName() const = 0;
    // The view stored in the scheme properties of the file just read, when
    // the file held a network or a zoom step other than 1.
    virtual bool StoredView(TViewport &view) const = 0;
    // The colours of the layers (seams), in list order.
    virtual std::vector<std::int32_t> LayerColors() const { return {}; }
    // Empties the picture symbols taken in while reading; true when there
    // were any (the document then changed on load).
    virtual bool TakePictureSymbols() { return false; }
    // Default minimum and maximum air speed of a branch type; false while
    // the speed limits are not known.
    virtual bool DefaultSpeeds(int branchType, double &minSpeed, double &maxSpeed) const { return false; }
};

// Filters of the open dialog, in the dialog's order.
enum TOpenFilter { ofMine = 1, ofKladon = 2, ofRevod = 3, ofVent = 4 };
// Filters of the Save As dialog.
enum TSaveFilter { sfMine = 1, sfDxf = 2, sfVent = 3, sfBmp = 4 };

// The filters of the open dialog, in the order of TOpenFilter, and of the
// Save As dialog: the scheme file, then the VENT export.
TFileFilters OpenDialogFilters();
TFileFilters SaveDialogFilters();
// The scheme file name for a name chosen in Save As: ".MINE" appended unless
// the name, upper-cased, contains ".MIN".
QString MineSaveAsName(const QString &chosen);
// The VENT file pair for a chosen name: ".sp" appended unless the name ends
// in ".sp" or ".sp" and one character (any case); the names file is the same
// name with "bn" in place of "sp", in the same case.
QString VentSaveAsName(const QString &chosen);
QString VentNamesFileName(const QString &chosen);

// The start document: the first command-line argument, else the newest
// recent file that still exists, else "Демо.mine" in the mines folder when it
// exists; empty for a new scheme.
QString ChooseStartDocument(const QStringList &arguments, const QStringList &recent,
                            const QString &minesFolder,
                            const std::function<bool(const QString &)> &exists);

class TMineDocument
{
public:
    TMineDocument(TNetworkTables &tables, TSchemeStorage &storage, TDocumentWindow &window);

    QString FileName() const { return m_fileName; }
    void SetFileName(const QString &name) { m_fileName = name; }
    bool Modified() const { return m_modified; }
    void SetModified(bool flag);

    TViewport View;
    TBranchColors BranchColors{};
    TRecentFiles Recent;

    // The mine name of the scheme properties, else the file name without folder.
    QString GetMineTitle() const;
    QString FormatCaption() const;
    // The name of a new scheme in the mines folder.
    QString NewDocumentName() const;

    // False when the user cancelled. A save that fails keeps the document
    // modified and cancels the command.
    bool ConfirmSaveChanges();

    void ClearDocument();
    void AfterLoad(const QString &fileName);

    // New: asks about unsaved changes first; false when cancelled.
    bool NewDocument();
    // Makes a new scheme without asking (after the question was answered).
    void MakeNewDocument();
    // Reset, read, complete. When the read fails the exception passes on and
    // the document keeps what was read, so that the network can be salvaged:
    // it keeps the file's name, counts as changed, and its first save goes
    // through Save As, so that the damaged file is never overwritten unasked.
    // A file of which nothing could be read leaves a new document.
    void OpenFile(const QString &fileName);
    // Opens the start document chosen at the first activation.
    void OpenStartDocument(const QStringList &arguments,
                           const std::function<bool(const QString &)> &exists);
    // Open with the file chosen in the open dialog under the given filter;
    // the mines folder follows the chosen file. An import that fails leaves
    // the document as a failed read does.
    void OpenChosen(const QString &fileName, TOpenFilter filter);

    // Saves under the document's name; true when written. A salvaged
    // document asks for a name first.
    bool Save();
    // The next save asks for a name (a damaged file was salvaged).
    bool SaveAsksForName() const { return m_saveAsksForName; }
    // Save As with the name and filter chosen in the dialog; true when a
    // scheme file was written.
    bool SaveAs(const QString &chosen, TSaveFilter filter);

    // Readers and writers of the other programs' files, set once they exist.
    // An import fills the reset tables, with their bend points complete; the
    // document gets a new name in the chosen file's folder, which an import
    // may change (SetFileName).
    std::function<void(TOpenFilter filter, const QString &fileName)> Import;
    std::function<void(const QString &spName, const QString &bnName)> ExportVent;

private:
    void ApplyCaption();
    bool Write();
    // After a read or an import that failed part-way: what was read is kept
    // to be salvaged under a name Save asks for; nothing read leaves a new
    // document.
    void ReadFailed();

    TNetworkTables &m_tables;
    TSchemeStorage &m_storage;
    TDocumentWindow &m_window;
    QString m_fileName;
    bool m_modified = false;
    bool m_saveAsksForName = false;
};
