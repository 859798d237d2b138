#include "designer/wizard_layout.h"

#include "platform/paths.h"
#include "report/dataset.h"
#include "report/report_document.h"
#include "report/report_page.h"
#include "report/template_list.h"

#include <QtCore/QFileInfo>

std::vector<TInsertedField> InsertedFields(const QString &dataSetName, const TDataSet *dataSet,
                                           const QStringList &fieldNames)
{
    std::vector<TInsertedField> fields;
    for (const QString &name : fieldNames) {
        TInsertedField f;
        const TField *field = dataSet ? dataSet->FindField(name) : nullptr;
        f.Caption = field ? field->DisplayLabel() : name;
        f.Width = field ? field->DisplayWidth() : 0;
        if (f.Width <= 0 || f.Width > 255)
            f.Width = 10;
        f.DataText = u'[' + dataSetName + QStringLiteral(".\"") + name + QStringLiteral("\"]");
        fields.push_back(f);
    }
    return fields;
}

std::vector<TPlacedText> LayOutInsertedFields(const std::vector<TInsertedField> &fields,
                                              const TWizardOptions &options,
                                              const std::function<int(const QString &, bool bold)> &textWidth)
{
    const int grid = options.Grid > 0 ? options.Grid : 1;
    const auto toGrid = [grid](int w) { return w / grid * grid; };
    std::vector<TPlacedText> placed;
    int x = 0, y = 0;
    for (const TInsertedField &field : fields) {
        const int dataWidth = toGrid(field.Width * textWidth(QStringLiteral("="), false));
        TPlacedText first{options.Headers ? field.Caption : field.DataText, x, y, 0, options.ObjectHeight,
                          options.Headers};
        first.Width = options.Headers ? toGrid(textWidth(field.Caption + QStringLiteral("   "), true)) : dataWidth;
        placed.push_back(first);
        if (options.Headers) {
            TPlacedText data{field.DataText, x, y, dataWidth, options.ObjectHeight, false};
            if (options.Vertical)
                data.Left = x + first.Width + 2 * grid;
            else
                data.Top = y + 2 * grid + first.Height;
            placed.push_back(data);
        }
        const TPlacedText &last = placed.back();
        if (options.Vertical)
            y += last.Height + grid;
        else
            x += last.Width + grid;
        if (x > options.SurfaceWidth) {
            x = 0;
            y += 72;
        }
        if (y > options.SurfaceHeight) {
            y = 0;
            x += 144;
        }
    }
    return placed;
}

namespace {
bool NameTaken(const TfrPage &page, const QString &name)
{
    const TfrReportDocument *report = CurrentDocument();
    if (report && report->FindObject(name))
        return true;
    for (const auto &view : page.TemplateObjects)
        if (view->Name.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}
} // namespace

std::vector<TfrMemoView *> AppendPlacedTexts(TfrPage &page, const std::vector<TPlacedText> &texts,
                                             const QString &fontName, int fontSize)
{
    std::vector<TfrMemoView *> made;
    for (const TPlacedText &text : texts) {
        auto memo = std::make_unique<TfrMemoView>();
        // Unique in the current report and on this page, which need not be
        // one of the report's (a prepared page being edited).
        memo->CreateUniqueName();
        for (int n = 1; NameTaken(page, memo->Name); ++n)
            memo->Name = memo->BaseName + QString::number(n);
        memo->Left = text.Left;
        memo->Top = text.Top;
        memo->Width = text.Width;
        memo->Height = text.Height;
        memo->FontName = fontName;
        memo->FontSize = fontSize;
        memo->FontStyle = text.Bold ? 2 : 0;
        memo->Lines = QStringList{text.Text};
        memo->Selected = true;
        made.push_back(memo.get());
        page.TemplateObjects.push_back(std::move(memo));
    }
    return made;
}

QStringList TemplateNames(const QString &folder)
{
    std::vector<TTemplateRow> rows;
    FindReportTemplates(folder.isEmpty() ? StartFolder() : folder, QStringLiteral("*.frt"), rows);
    QStringList names;
    for (const TTemplateRow &row : rows)
        names << QFileInfo(row.File).completeBaseName();
    return names;
}

QString TemplatePath(const QString &folder, const QString &name)
{
    return (folder.isEmpty() ? StartFolder() : folder) + u'/' + name + QStringLiteral(".frt");
}

QString TemplateSavePath(const QString &templateFolder, const QString &chosenFile)
{
    return TemplatePath(templateFolder, QFileInfo(chosenFile).completeBaseName());
}
