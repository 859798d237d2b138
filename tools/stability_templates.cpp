#include "stability_templates.h"

#include "report/engine.h"
#include "report/report_page.h"
#include "report/text_object.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>

namespace {

struct TColumn
{
    const char *Caption;
    const char *Value;
    int Width;
};

constexpr int PageLeft = 20;
constexpr int RowHeight = 18;

TfrBandView &AddBand(TfrPage &page, int kind, int top, int height, const QString &source = {})
{
    auto band = std::make_unique<TfrBandView>();
    band->SetBandType(kind);
    band->Top = top;
    band->Height = height;
    band->Width = 720;
    band->FormatText = source;
    band->Name = QStringLiteral("Band%1").arg(page.TemplateObjects.size() + 1);
    TfrBandView &added = *band;
    page.TemplateObjects.push_back(std::move(band));
    return added;
}

TfrMemoView &AddMemo(TfrPage &page, int left, int top, int width, int height, const QString &text, bool framed)
{
    auto memo = std::make_unique<TfrMemoView>();
    memo->Left = left;
    memo->Top = top;
    memo->Width = width;
    memo->Height = height;
    memo->Lines = QStringList{text};
    memo->FontName = QStringLiteral("Arial");
    memo->FontSize = 8;
    if (framed)
        memo->FrameTyp = 15;
    memo->Name = QStringLiteral("Memo%1").arg(page.TemplateObjects.size() + 1);
    TfrMemoView &added = *memo;
    page.TemplateObjects.push_back(std::move(memo));
    return added;
}

// A title, the column captions and the data row over source. The stability
// windows know no mine name; the report manager does.
void MakeTable(TfrReport &report, const QString &title, const QString &source, const std::vector<TColumn> &columns,
               bool mineName = false)
{
    report.TemplatePages.Clear();
    report.TemplatePages.Add();
    TfrPage &page = report.TemplatePages.GetPage(0);
    AddBand(page, btReportTitle, 20, 44);
    if (mineName)
        AddMemo(page, PageLeft, 20, 700, RowHeight, QStringLiteral("[НазвШахты]"), false).FontStyle = 2;
    AddMemo(page, PageLeft, 40, 700, RowHeight, title, false).FontStyle = 2;
    AddBand(page, btMasterHeader, 80, 2 * RowHeight);
    AddBand(page, btMasterData, 130, RowHeight, source);
    int left = PageLeft;
    for (const TColumn &c : columns) {
        AddMemo(page, left, 80, c.Width, 2 * RowHeight, QString::fromUtf8(c.Caption), true).FontStyle = 2;
        AddMemo(page, left, 130, c.Width, RowHeight, QString::fromUtf8(c.Value), true);
        left += c.Width;
    }
}

// "Страница N из M" at the foot of every page.
void AddPageNumbers(TfrPage &page)
{
    AddBand(page, btPageFooter, 1000, RowHeight + 4);
    AddMemo(page, PageLeft, 1002, 700, RowHeight, QStringLiteral("Страница [PAGE#] из [TOTALPAGES]"), false);
}

void Write(TfrReport &report, const QString &file)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    report.SaveToFile(file);
}

} // namespace

void MakeDescendingStabilityTemplate(TfrReport &report)
{
    MakeTable(report, QStringLiteral("Устойчивость проветривания наклонных выработок"), QStringLiteral("udStability"),
              {{"N", "[Нпп]", 24},
               {"Выработка", "[НазвВетви] ([НомерВетви])", 150},
               {"Участок", "[НачУзел] - [КонУзел]", 52},
               {"Длина, м", "[ДлинВетви]", 44},
               {"Угол, град.", "[УгНакл]", 44},
               {"Скор., м/с", "[СкорВозд]", 44},
               {"Темп. в парал., C", "[ТемпПарал]", 50},
               {"Макс. тепл. депр., Па", "[МаксТДепр #N10,2]", 56},
               {"Крит. депр. без повыш., Па", "[КритДепрБМер #N10,2]", 62},
               {"Крит. депр. с повыш., Па", "[КритДепрСМер #N10,2]", 62},
               {"Заключение", "[Закл]", 72}});
}

void MakeAscendingStabilityTemplate(TfrReport &report)
{
    MakeTable(report,
              QStringLiteral("Устойчивость при пожаре в выработках с восходящим проветриванием ([ВремяРасч] мин)"),
              QStringLiteral("udStability"),
              {{"N", "[Нпп]", 24},
               {"Выработка", "[НазвВетви] ([НомерВетви])", 160},
               {"Участок", "[НачУзел] - [КонУзел]", 52},
               {"Угол, град.", "[УгНакл]", 44},
               {"Макс. тепл. депр.", "[МаксТДепр #N10,2]", 56},
               {"Места опрокидывания", "[МестаОпрНомВет]", 200},
               {"Заключение", "[Закл]", 80}});
}

void MakeFireDetectionTemplate(TfrReport &report)
{
    MakeTable(report, QStringLiteral("Время обнаружения пожара"), QStringLiteral("udAllBrnFire"),
              {{"Ветвь", "[НомерВетви]", 40},
               {"Выработка", "[НазвВетви]", 170},
               {"Участок", "[КодВетви]", 60},
               {"Ветвь обнаружения", "[НомВетвДым]", 60},
               {"Выработка обнаружения", "[НазвВетвДым]", 170},
               {"Время в начале, с", "[ВрНВетвДым]", 60},
               {"Время в конце, с", "[ВрКВетвДым]", 60}},
              true);
}

void MakeStandardReportTemplate(TfrReport &report)
{
    MakeTable(report, QStringLiteral("Воздухораспределение"), QStringLiteral("udBranchSource"),
              {{"Ветвь", "[НомерВетви]", 44},
               {"Выработка", "[НазвВетви]", 220},
               {"Участок", "[КодВетви]", 70},
               {"Расход, м3/с", "[РасхВозд #N10,2]", 70},
               {"Сопротивление, кмюрг", "[СопрВетви #N10,5]", 90},
               {"Депрессия, даПа", "[Депр #N10,2]", 70},
               {"Доп. депрессия, даПа", "[ДопДепр #N10,2]", 70},
               {"Скорость, м/с", "[СкорВозд]", 66}},
              true);
    report.TwoPassBuild = true;
    AddPageNumbers(report.TemplatePages.GetPage(0));
}

void MakeNodeCrossTableTemplate(TfrReport &report)
{
    report.TemplatePages.Clear();
    report.TemplatePages.Add();
    TfrPage &page = report.TemplatePages.GetPage(0);
    AddBand(page, btReportTitle, 20, 60);
    AddMemo(page, PageLeft, 20, 700, RowHeight, QStringLiteral("[НазвШахты]"), false).FontStyle = 2;
    AddMemo(page, PageLeft, 40, 700, RowHeight,
            QStringLiteral("Давление (даПа) и высотная отметка (м) в узлах"), false).FontStyle = 2;
    AddMemo(page, PageLeft, 60, 700, RowHeight, QStringLiteral("Узел с номером N стоит в строке N div 10, столбце N mod 10"),
            false);
    // Each row of ten nodes: the row's base number, then one cell per node
    // with its pressure above its altitude.
    constexpr int CellWidth = 66, CellHeight = 2 * RowHeight, Header = 40;
    AddBand(page, btMasterData, 100, CellHeight, QStringLiteral("udNodeCrossTabRows"));
    auto &column = AddBand(page, btCrossData, 0, 0, QStringLiteral("udNodeCrossTabColumns"));
    column.Left = PageLeft + Header;
    column.Width = CellWidth;
    AddMemo(page, PageLeft, 100, Header, CellHeight, QStringLiteral("[НомерУзла]"), true).FontStyle = 2;
    AddMemo(page, PageLeft + Header, 100, CellWidth, RowHeight, QStringLiteral("[ДавленУзл #N10,1]"), true);
    AddMemo(page, PageLeft + Header, 100 + RowHeight, CellWidth, RowHeight, QStringLiteral("[ВысОтметка #N10,1]"), true);
    report.TwoPassBuild = true;
    AddPageNumbers(page);
}

void WriteNetworkTemplates(const QString &reportsFolder)
{
    const QDir folder(reportsFolder);
    TfrReport report;
    MakeStandardReportTemplate(report);
    Write(report, folder.filePath(StandardReportFile));
    MakeNodeCrossTableTemplate(report);
    Write(report, folder.filePath(NodeCrossTableFile));
}

void WriteStabilityTemplates(const QString &reportsFolder)
{
    const QDir folder(reportsFolder);
    TfrReport report;
    MakeDescendingStabilityTemplate(report);
    Write(report, folder.filePath(DescendingTemplateFile));
    MakeAscendingStabilityTemplate(report);
    Write(report, folder.filePath(AscendingTemplateFile));
    MakeFireDetectionTemplate(report);
    Write(report, folder.filePath(FireDetectionTemplateFile));
}
