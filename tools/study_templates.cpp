#include "study_templates.h"

#include "calc/depressiogram.h"
#include "calc/short_circuit.h"
#include "report/report_page.h"
#include "report/text_object.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>

#include <vector>

namespace {

// A column: its caption (name and unit on two lines) and the text of its cell.
struct TStudyColumn
{
    const char *Caption;
    const char *Cell;
    int Width;
};

constexpr int Left = 20;
constexpr int Line = 18;
constexpr int PageWidth = 720;

void AddView(TfrPage &page, std::unique_ptr<TfrView> view)
{
    view->Name = (view->IsBandObject() ? QStringLiteral("Band%1") : QStringLiteral("Memo%1"))
                     .arg(page.TemplateObjects.size() + 1);
    page.TemplateObjects.push_back(std::move(view));
}

void Band(TfrPage &page, int kind, int top, int height, const QString &source = {})
{
    auto band = std::make_unique<TfrBandView>();
    band->SetBandType(kind);
    band->Top = top;
    band->Height = height;
    band->Width = PageWidth;
    band->FormatText = source;
    AddView(page, std::move(band));
}

void Text(TfrPage &page, int left, int top, int width, int height, const QString &text, bool cell, bool bold)
{
    auto memo = std::make_unique<TfrMemoView>();
    memo->Left = left;
    memo->Top = top;
    memo->Width = width;
    memo->Height = height;
    memo->Lines = text.split(u'\n');
    memo->FontName = QStringLiteral("Arial");
    memo->FontSize = 8;
    if (bold)
        memo->FontStyle = 2;
    if (cell)
        memo->FrameTyp = 15;
    AddView(page, std::move(memo));
}

// The mine's name and the title above the column captions, the row of each
// record, numbered pages.
void MakeStudyTable(TfrReport &report, const QString &title, const QString &source,
                    const std::vector<TStudyColumn> &columns)
{
    report.TemplatePages.Clear();
    report.TemplatePages.Add();
    TfrPage &page = report.TemplatePages.GetPage(0);
    Band(page, btReportTitle, 20, 44);
    Text(page, Left, 20, 700, Line, QStringLiteral("[НазвШахты]"), false, true);
    Text(page, Left, 40, 700, Line, title, false, true);
    Band(page, btMasterHeader, 80, 2 * Line);
    Band(page, btMasterData, 130, Line, source);
    int left = Left;
    for (const TStudyColumn &c : columns) {
        Text(page, left, 80, c.Width, 2 * Line, QString::fromUtf8(c.Caption), true, true);
        Text(page, left, 130, c.Width, Line, QString::fromUtf8(c.Cell), true, false);
        left += c.Width;
    }
    Band(page, btPageFooter, 1000, Line + 4);
    Text(page, Left, 1002, 700, Line, QStringLiteral("Страница [PAGE#] из [TOTALPAGES]"), false, false);
    report.TwoPassBuild = true;
}

void Write(TfrReport &report, const QString &file)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    report.SaveToFile(file);
}

const char *const StudyTitles[sctCount] = {
    "Закорачивание: пути закорачивания (двери, регуляторы)",
    "Закорачивание: все ветви шахтной сети",
    "Закорачивание: устойчивость проветривания лав",
    "Закорачивание: устойчивость проветривания всасов ВМП",
    "Закорачивание: устойчивость подсвежающих струй",
    "Закорачивание: устойчивость связей между участками",
};

} // namespace

void MakeShortCircuitTemplate(TfrReport &report, int tab)
{
    const QString title = QString::fromUtf8(StudyTitles[tab]);
    // On "Двери" the flow names carry the resistances and the resistance
    // names the flows; the captions follow the values, not the names.
    if (tab == sctDoors) {
        MakeStudyTable(report, title, ShortCircuitSourceName,
                       {{"Ветвь", "[Номер]", 50},
                        {"Название", "[Название]", 260},
                        {"Rнорм,\nкмюрг", "[РасходН]", 76},
                        {"Qнорм,\nм3/с", "[СопротН]", 66},
                        {"Rзакор.,\nкмюрг", "[РасходЗ]", 76},
                        {"Qзакор,\nм3/с", "[СопротЗ]", 66},
                        {"Изменение\nQ, %", "[Дельта]", 66}});
    } else if (tab == sctConnections) {
        MakeStudyTable(report, title, ShortCircuitSourceName,
                       {{"Ветвь", "[Номер]", 50},
                        {"Название", "[Название]", 240},
                        {"Hнор,\nдаПа", "[ДепресН]", 60},
                        {"Hзак,\nдаПа", "[ДепресЗ]", 60},
                        {"ИзмH,\n%", "[Дельта]", 60},
                        {"Степень\nуст.", "[Степень]", 70},
                        {"Ветви\nзакор.", "[Путь]", 120}});
    } else {
        MakeStudyTable(report, title, ShortCircuitSourceName,
                       {{"Ветвь", "[Номер]", 50},
                        {"Название", "[Название]", 240},
                        {"Qнор,\nм3/с", "[РасходН]", 60},
                        {"Qзак,\nм3/с", "[РасходЗ]", 60},
                        {"ИзмQ,\n%", "[Дельта]", 60},
                        {"Степень\nуст.", "[Степень]", 70},
                        {"Ветви\nзакор.", "[Путь]", 120}});
    }
}

void MakeDepressiogramTemplate(TfrReport &report)
{
    MakeStudyTable(report, QStringLiteral("Депрессиограмма: маршрут струи через лаву"), DepressiogramSourceName,
                   {{"Ветвь", "[Номер]", 50},
                    {"Название", "[Название]", 250},
                    {"Длина,\nм", "[Длина]", 56},
                    {"Сечение,\nм2", "[Сечение]", 60},
                    {"Сопротивл.,\nкмюрг", "[Сопротив]", 86},
                    {"Расход,\nм3/с", "[Расход]", 70},
                    {"Депрессия,\nдаПа", "[Депр]", 70}});
}

void WriteStudyTemplates(const QString &reportsFolder)
{
    TfrReport report;
    for (int tab = 0; tab < sctCount; ++tab) {
        MakeShortCircuitTemplate(report, tab);
        Write(report, TShortCircuitStudy::TemplatePath(reportsFolder, static_cast<TShortCircuitTab>(tab)));
    }
    MakeDepressiogramTemplate(report);
    Write(report, TDepressiogram::TemplatePath(reportsFolder));
}
