#include "shell/documents.h"

#include "model/helpers.h"
#include "platform/exceptions.h"
#include "platform/prompt.h"

#include <QtCore/QFileInfo>

#include <algorithm>
#include <cmath>

namespace {

const QString NewMineName = QStringLiteral("Новая шахта.MINE");

QString FileNameOnly(const QString &path)
{
    return path.mid(ExtractFolder(path).size());
}

} // namespace

TFileFilters OpenDialogFilters()
{
    return {{LookupText(QStringLiteral("Файлы \"Zyr Вентиляция 6.xx\" (*.mine; *.min)")), {"*.mine", "*.min"}},
            {LookupText(QStringLiteral("Файлы \"Кладон 5.5\" (*.nf?)")), {"*.nf?"}},
            {LookupText(QStringLiteral("Файлы программы РЕВОД (*.dat)")), {"*.dat"}},
            {LookupText(QStringLiteral("Файлы программы VENT (*.sp?)")), {"*.sp?"}}};
}

TFileFilters SaveDialogFilters()
{
    // The drawing and picture formats of the save dialog would write nothing,
    // so only the formats that are written are offered.
    return {{LookupText(QStringLiteral("Файл Zyr Вентиляция (*.MINE)")), {"*.MINE", "*.MIN"}},
            {LookupText(QStringLiteral("Файл VENT (*.sp?)")), {"*.sp?"}}};
}

QString MineSaveAsName(const QString &chosen)
{
    return UpperCaseAscii(chosen).contains(QStringLiteral(".MIN")) ? chosen
                                                                    : chosen + QStringLiteral(".MINE");
}

namespace {

// The extension ".sp" or ".sp" and one character, in any letter case.
bool HasVentExtension(const QString &name)
{
    const QString suffix = QFileInfo(name).suffix();
    return (suffix.size() == 2 || suffix.size() == 3) && suffix.startsWith(QStringLiteral("sp"), Qt::CaseInsensitive);
}

} // namespace

QString VentSaveAsName(const QString &chosen)
{
    return HasVentExtension(chosen) ? chosen : chosen + QStringLiteral(".sp");
}

QString VentNamesFileName(const QString &chosen)
{
    // The names go beside the branch file as its import looks for them:
    // "mine.SP2" keeps its names in "mine.BN2".
    QString name = VentSaveAsName(chosen);
    const qsizetype at = name.size() - QFileInfo(name).suffix().size();
    name[at] = name[at] == u'S' ? u'B' : u'b';
    name[at + 1] = name[at + 1] == u'P' ? u'N' : u'n';
    return name;
}

QString ChooseStartDocument(const QStringList &arguments, const QStringList &recent,
                            const QString &minesFolder,
                            const std::function<bool(const QString &)> &exists)
{
    if (!arguments.isEmpty() && !arguments.first().isEmpty())
        return arguments.first();
    // An entry whose file has gone would only end in an error box at start.
    for (const QString &file : recent)
        if (exists(file))
            return file;
    const QString demo = AddTrailingSlash(minesFolder) + QStringLiteral("Демо.mine");
    return exists(demo) ? demo : QString();
}

TMineDocument::TMineDocument(TNetworkTables &tables, TSchemeStorage &storage, TDocumentWindow &window)
    : m_tables(tables), m_storage(storage), m_window(window), m_fileName(LookupText(NewMineName))
{
}

void TMineDocument::SetModified(bool flag)
{
    m_modified = flag;
    m_window.ModifiedChanged(flag);
}

QString TMineDocument::GetMineTitle() const
{
    const QString name = m_storage.MineName();
    return name.isEmpty() ? FileNameOnly(m_fileName) : name;
}

QString TMineDocument::FormatCaption() const
{
    return LookupText(QStringLiteral("Zyr \"Ворбаль\": - [%1]")).arg(m_fileName);
}

QString TMineDocument::NewDocumentName() const
{
    return AddTrailingSlash(m_window.MinesFolder()) + LookupText(NewMineName);
}

void TMineDocument::ApplyCaption()
{
    m_window.CaptionChanged(FormatCaption());
}

bool TMineDocument::ConfirmSaveChanges()
{
    if (!m_modified)
        return true;
    const QString text = LookupText(QStringLiteral("Файл \"%1\" не был сохранен.")).arg(m_fileName)
                         + u'\n' + LookupText(QStringLiteral("Сохранить?"));
    switch (ShowMessageBox(text, LookupText(QStringLiteral("Сохранение файла")),
                           mb::YesNoCancel | mb::IconWarning)) {
    case idYes:
        // Changes that could not be written are not given up silently.
        return Save();
    case idNo:
        SetModified(false);
        return true;
    default:
        return false;
    }
}

void TMineDocument::ClearDocument()
{
    m_window.DocumentCleared();
    m_storage.ResetDocumentState();
    // Every place, used or not: the speed limits then take those of the
    // branch kinds at the load, and no value of the previous network stays
    // for the next one to save as its own.
    ClearAllPlaces(m_tables);
    View.Reset();
    if (m_window.StandardColoringChecked())
        m_window.CheckStandardColoring();
}

void TMineDocument::AfterLoad(const QString &fileName)
{
    m_window.CheckStandardColoring();
    TViewport stored;
    if (m_storage.StoredView(stored)) {
        // A damaged file may hold any step or zoom; the view keeps to its table.
        const int step = std::clamp(stored.ZoomStep, 0, LastZoomStep);
        View.SetScrollX(std::isfinite(stored.ScrollX) ? stored.ScrollX : 0);
        View.SetScrollY(std::isfinite(stored.ScrollY) ? stored.ScrollY : 0);
        View.ZoomStep = step;
        View.Zoom = std::isfinite(stored.Zoom) && stored.Zoom > 0 ? stored.Zoom : ZoomFactors[step];
        m_window.Redraw();
    } else {
        View.Reset();
        m_window.FitWholeScheme();
    }
    m_window.UpdateZoomButtons();
    Recent.Add(fileName);
    ApplyCaption();
    for (int n = 1; n <= MaxItems; ++n) {
        if (m_tables.BranchMinSpeed[n] != SpeedTypeDefault && m_tables.BranchMaxSpeed[n] != SpeedTypeDefault)
            continue;
        double minSpeed = 0, maxSpeed = 0;
        if (!m_storage.DefaultSpeeds(m_tables.BranchType[n], minSpeed, maxSpeed))
            continue;
        if (m_tables.BranchMinSpeed[n] == SpeedTypeDefault)
            m_tables.BranchMinSpeed[n] = minSpeed;
        if (m_tables.BranchMaxSpeed[n] == SpeedTypeDefault)
            m_tables.BranchMaxSpeed[n] = maxSpeed;
    }
    SetModified(false);
    m_saveAsksForName = false;
    if (m_storage.TakePictureSymbols())
        SetModified(true);
}

bool TMineDocument::NewDocument()
{
    if (!ConfirmSaveChanges())
        return false;
    MakeNewDocument();
    return true;
}

void TMineDocument::MakeNewDocument()
{
    ClearAllPlaces(m_tables);
    View.ScrollX = 0;
    View.ScrollY = 0;
    m_fileName = NewDocumentName();
    ApplyCaption();
    ClearDocument();
    m_window.UpdateZoomButtons();
    m_window.ShowSheet();
    AfterLoad(GetMineTitle());
    SetModified(false);
}

void TMineDocument::OpenFile(const QString &fileName)
{
    m_fileName = fileName;
    ClearDocument();
    try {
        m_storage.Read(fileName);
    } catch (...) {
        ReadFailed();
        throw;
    }
    AfterLoad(m_fileName);
}

void TMineDocument::ReadFailed()
{
    if (NodeCount(m_tables) == 0 && BranchCount(m_tables) == 0) {
        // Nothing to salvage: under the file's name, Save would overwrite it.
        m_fileName = NewDocumentName();
    } else {
        m_saveAsksForName = true;
        m_window.FitWholeScheme();
        SetModified(true);
    }
    ApplyCaption();
}

void TMineDocument::OpenStartDocument(const QStringList &arguments,
                                      const std::function<bool(const QString &)> &exists)
{
    const QString file = ChooseStartDocument(arguments, Recent.Items(), m_window.MinesFolder(), exists);
    if (file.isEmpty())
        NewDocument();
    else
        OpenFile(file);
}

void TMineDocument::OpenChosen(const QString &fileName, TOpenFilter filter)
{
    if (filter != ofMine && !Import)
        throw Exception(LookupText(QStringLiteral("Чтение файлов этого формата пока не поддерживается.")));
    m_window.SetMinesFolder(QFileInfo(fileName).path());
    if (filter == ofMine) {
        OpenFile(fileName);
        return;
    }
    ClearDocument();
    // An imported network has no scheme file yet: under the name of the
    // previous document, Save would overwrite that file with it.
    m_fileName = NewDocumentName();
    ApplyCaption();
    try {
        Import(filter, fileName);
    } catch (...) {
        ReadFailed();
        throw;
    }
    m_window.Redraw();
    AfterLoad(m_fileName);
}

bool TMineDocument::Save()
{
    if (m_saveAsksForName)
        return m_window.AskSaveAs();
    return Write();
}

bool TMineDocument::Write()
{
    if (!m_storage.Write(m_fileName))
        return false;
    SetModified(false);
    m_saveAsksForName = false;
    ApplyCaption();
    return true;
}

bool TMineDocument::SaveAs(const QString &chosen, TSaveFilter filter)
{
    switch (filter) {
    case sfMine:
        m_fileName = MineSaveAsName(chosen);
        m_window.SetMinesFolder(QFileInfo(chosen).path());
        return Write();
    case sfVent:
        if (!ExportVent)
            throw Exception(LookupText(QStringLiteral("Запись файлов этого формата пока не поддерживается.")));
        m_storage.WithNetworkValues([&] { ExportVent(VentSaveAsName(chosen), VentNamesFileName(chosen)); });
        return false;
    default:
        return false;
    }
}
