#pragma once
// The report component of the study windows: loads the template of what is
// shown, previews it over the window's record source or opens it in the
// designer, and writes back only a template that it loaded itself, so that
// saving never puts an empty template over a file.
#include "report/report.h"

#include <functional>
#include <vector>

class TStudyReport
{
public:
    using TGetValue = std::function<bool(const QString &name, Variant &value)>;
    // owner: the window's name, under which the templates find the record sources.
    TStudyReport(const QString &owner, std::vector<TfrDataset *> datasets, TGetValue getValue);

    TfrReport frMain;

    // Whether a preview can be shown at all (the preview window is installed).
    static bool CanShow();
    // Whether the designer is there to open a template in.
    static bool CanDesign();
    // Loads file and previews the report. A missing file is named in a
    // warning, a file that cannot be read raises with its name; in both cases
    // no template is left to save.
    void Show(const QString &file);
    // Loads file as Show does and opens the designer on it.
    void Design(const QString &file);
    // The file that the component's template came from, or empty.
    const QString &LoadedFile() const { return m_loaded; }
    // Writes the template back when it was loaded from file; false otherwise.
    bool Save(const QString &file);

private:
    void Register();
    bool Load(const QString &file);
    QString m_owner;
    std::vector<TfrDataset *> m_datasets;
    QString m_loaded;
};
