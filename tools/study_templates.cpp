#include "study_templates.h"

#include "calc/depressiogram.h"
#include "calc/short_circuit.h"
#include "template_parts.h"

namespace {

const char *const StudyTitles[sctCount] = {
    "Закорачивание: пути закорачивания (двери, регуляторы)",
    "Закорачивание: все ветви шахтной сети",
    "Закорачивание: устойчивость проветривания лав",
    "Закорачивание: устойчивость проветривания всасов ВМП",
    "Закорачивание: устойчивость подсвежающих струй",
    "Закорачивание: устойчивость связей между участками",
};

// The mine's name, the title, the table and numbered pages.
void StudyTable(TfrReport &report, const QString &title, const QString &source,
                const std::vector<TTemplateColumn> &columns)
{
    MakeTable(report, title, source, columns, true);
    report.TwoPassBuild = true;
    AddPageNumbers(report.TemplatePages.GetPage(0));
}

} // namespace

void MakeShortCircuitTemplate(TfrReport &report, int tab)
{
    const QString title = QString::fromUtf8(StudyTitles[tab]);
    // On "Двери" the flow names carry the resistances and the resistance
    // names the flows; the captions follow the values, not the names.
    if (tab == sctDoors) {
        StudyTable(report, title, ShortCircuitSourceName,
                   {{"Ветвь", "[Номер]", 50},
                    {"Название", "[Название]", 260},
                    {"Rнорм, кмюрг", "[РасходН]", 76},
                    {"Qнорм, м3/с", "[СопротН]", 66},
                    {"Rзакор., кмюрг", "[РасходЗ]", 76},
                    {"Qзакор, м3/с", "[СопротЗ]", 66},
                    {"Изменение Q, %", "[Дельта]", 66}});
    } else if (tab == sctConnections) {
        StudyTable(report, title, ShortCircuitSourceName,
                   {{"Ветвь", "[Номер]", 50},
                    {"Название", "[Название]", 240},
                    {"Hнор, даПа", "[ДепресН]", 60},
                    {"Hзак, даПа", "[ДепресЗ]", 60},
                    {"ИзмH, %", "[Дельта]", 60},
                    {"Степень уст.", "[Степень]", 70},
                    {"Ветви закор.", "[Путь]", 120}});
    } else {
        StudyTable(report, title, ShortCircuitSourceName,
                   {{"Ветвь", "[Номер]", 50},
                    {"Название", "[Название]", 240},
                    {"Qнор, м3/с", "[РасходН]", 60},
                    {"Qзак, м3/с", "[РасходЗ]", 60},
                    {"ИзмQ, %", "[Дельта]", 60},
                    {"Степень уст.", "[Степень]", 70},
                    {"Ветви закор.", "[Путь]", 120}});
    }
}

void MakeDepressiogramTemplate(TfrReport &report)
{
    StudyTable(report, QStringLiteral("Депрессиограмма: маршрут струи через лаву"), DepressiogramSourceName,
               {{"Ветвь", "[Номер]", 50},
                {"Название", "[Название]", 250},
                {"Длина, м", "[Длина]", 56},
                {"Сечение, м2", "[Сечение]", 60},
                {"Сопротивл., кмюрг", "[Сопротив]", 86},
                {"Расход, м3/с", "[Расход]", 70},
                {"Депрессия, даПа", "[Депр]", 70}});
}

void WriteStudyTemplates(const QString &reportsFolder)
{
    TfrReport report;
    for (int tab = 0; tab < sctCount; ++tab) {
        MakeShortCircuitTemplate(report, tab);
        WriteTemplate(report, TShortCircuitStudy::TemplatePath(reportsFolder, static_cast<TShortCircuitTab>(tab)));
    }
    MakeDepressiogramTemplate(report);
    WriteTemplate(report, TDepressiogram::TemplatePath(reportsFolder));
}
