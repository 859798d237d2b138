#include "stability_templates.h"
#include "designer/designer_core.h"
#include "template_parts.h"

#include "calc/natural_draught.h"
#include "emergency/fire_zone_report.h"
#include "emergency/route_report.h"
#include "report/engine.h"
#include "report/report_page.h"
#include "report/text_object.h"

#include <QtCore/QDir>
#include <QtCore/QFileInfo>

namespace {

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

// Title lines (an empty one leaves its place free), the column captions and
// the data row over source; the top of the row below the data row.
int MakeTitledTable(TfrReport &report, const QStringList &titleLines, const QString &source,
                    const std::vector<TTemplateColumn> &columns, int headerRows = 2)
{
    report.TemplatePages.Clear();
    report.TemplatePages.Add();
    TfrPage &page = report.TemplatePages.GetPage(0);
    // Laid out on the whole sheet, inside the printer's unprintable border.
    page.HonourMargins = 0;
    constexpr int LinePitch = RowHeight + 2;
    const int titleHeight = static_cast<int>(titleLines.size()) * LinePitch;
    AddBand(page, btReportTitle, 20, titleHeight + 4);
    for (int i = 0; i < titleLines.size(); ++i)
        if (!titleLines[i].isEmpty())
            AddMemo(page, PageLeft, 20 + i * LinePitch, 700, RowHeight, titleLines[i], false).FontStyle = 2;
    const int headerTop = 40 + titleHeight;
    const int headerHeight = headerRows * RowHeight;
    const int dataTop = headerTop + headerHeight + 14;
    // The column captions head every sheet of a long list.
    AddBand(page, btMasterHeader, headerTop, headerHeight).Flags |= flags::RepeatOnPages;
    AddBand(page, btMasterData, dataTop, RowHeight, source);
    int left = PageLeft;
    for (const TTemplateColumn &c : columns) {
        AddMemo(page, left, headerTop, c.Width, headerHeight, QString::fromUtf8(c.Caption), true).FontStyle = 2;
        AddMemo(page, left, dataTop, c.Width, RowHeight, QString::fromUtf8(c.Value), true);
        left += c.Width;
    }
    return dataTop + RowHeight + 12;
}

} // namespace

void MakeTable(TfrReport &report, const QString &title, const QString &source, const std::vector<TTemplateColumn> &columns,
               bool mineName, int headerRows)
{
    MakeTitledTable(report, {mineName ? QStringLiteral("[НазвШахты]") : QString(), title}, source, columns, headerRows);
}

void AddPageNumbers(TfrPage &page)
{
    AddBand(page, btPageFooter, 1000, RowHeight + 4);
    AddMemo(page, PageLeft, 1002, 700, RowHeight, QStringLiteral("Страница [PAGE#] из [TOTALPAGES]"), false);
}

void WriteTemplate(TfrReport &report, const QString &file)
{
    // Written as the designer shows a page (bands first, each as wide as the
    // sheet, or as high for cross bands), so that a shipped template opened
    // in the designer and saved unchanged keeps its bytes.
    for (int p = 0; p < report.TemplatePages.Count(); ++p) {
        TfrPage &page = report.TemplatePages.GetPage(p);
        OrderBands(page);
        for (auto &view : page.TemplateObjects) {
            auto *band = dynamic_cast<TfrBandView *>(view.get());
            if (!band || band->ReportObjectType != gtBand)
                continue;
            const int kind = band->GetBandType();
            if (kind >= btCrossHeader && kind <= btCrossFooter) {
                band->Top = 0;
                band->Height = page.PrinterInfo.PageHeight;
            } else {
                band->Left = 0;
                band->Width = page.PrinterInfo.PageWidth;
            }
            band->FrameWidth = 1;
        }
    }
    QDir().mkpath(QFileInfo(file).absolutePath());
    report.SaveToFile(file);
}

void MakeDescendingStabilityTemplate(TfrReport &report)
{
    // Three caption rows and room for the longest airway names and "Не устойчиво".
    MakeTable(report, QStringLiteral("Устойчивость проветривания наклонных выработок"), QStringLiteral("udStability"),
              {{"N", "[Нпп]", 24},
               {"Выработка", "[НазвВетви] ([НомерВетви])", 184},
               {"Участок", "[НачУзел] - [КонУзел]", 52},
               {"Длина, м", "[ДлинВетви]", 46},
               {"Угол, град.", "[УгНакл]", 40},
               {"Скор., м/с", "[СкорВозд]", 40},
               {"Темп. в парал., C", "[ТемпПарал]", 48},
               {"Макс. тепл. депр., Па", "[МаксТДепр #N10,2]", 56},
               {"Крит. депр. без повыш., Па", "[КритДепрБМер #N10,2]", 62},
               {"Крит. депр. с повыш., Па", "[КритДепрСМер #N10,2]", 62},
               {"Заключение", "[Закл]", 84}},
              false, 3);
}

void MakeAscendingStabilityTemplate(TfrReport &report)
{
    MakeTable(report,
              QStringLiteral("Устойчивость при пожаре в выработках с восходящим проветриванием ([ВремяРасч] мин)"),
              QStringLiteral("udStability"),
              {{"N", "[Нпп]", 24},
               {"Выработка", "[НазвВетви] ([НомерВетви])", 184},
               {"Участок", "[НачУзел] - [КонУзел]", 52},
               {"Угол, град.", "[УгНакл]", 44},
               {"Макс. тепл. депр.", "[МаксТДепр #N10,2]", 56},
               {"Места опрокидывания", "[МестаОпрНомВет]", 200},
               {"Заключение", "[Закл]", 84}},
              false, 3);
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

void MakeJournalTemplate(TfrReport &report)
{
    report.TemplatePages.Clear();
    report.TemplatePages.Adopt(std::make_unique<TfrPage>(9, 0, 0, 1));
    TfrPage &page = report.TemplatePages.GetPage(0);
    // Laid out on the whole sheet, inside the printer's unprintable border.
    page.HonourMargins = 0;
    constexpr int Left = 20;
    constexpr int Width = 1012;
    const auto cell = [&page](int left, int top, int width, int height, const QString &text,
                              int align = adjust::Centre) -> TfrMemoView & {
        TfrMemoView &memo = AddMemo(page, left, top, width, height, text, true);
        memo.Adjust = align | adjust::VCentre;
        return memo;
    };

    // The head of the paper journal.
    AddBand(page, btReportTitle, 20, 76).Width = Width + Left;
    TfrMemoView &title = AddMemo(page, Left, 20, Width, 22, QStringLiteral("ВЕНТИЛЯЦИОННЫЙ ЖУРНАЛ"), false);
    title.FontSize = 12;
    title.FontStyle = 2;
    title.Adjust = adjust::Centre;
    TfrMemoView &mine = AddMemo(page, Left, 42, Width, 18, QStringLiteral("Шахта  [MineName]"), false);
    mine.FontSize = 10;
    mine.FontStyle = 2;
    mine.Adjust = adjust::Centre;
    AddMemo(page, Left, 62, 400, 16, QStringLiteral("[bDate] - [eDate]"), false).FontSize = 9;
    TfrMemoView &form = AddMemo(page, Left + Width - 200, 62, 200, 16, QStringLiteral("Форма 2"), false);
    form.FontSize = 9;
    form.Adjust = adjust::Right;

    // Column captions on every sheet: the intake stream, the exhaust stream
    // with its gases, and the chief engineer's remarks.
    struct TTemplateColumn
    {
        const char *Caption;
        const char *Value;
        int Width;
        int Align;
    };
    static const TTemplateColumn intake[] = {{"Ном. вет.", "[lNumber]", 30, adjust::Right},
                                     {"Наименование ветви", "[lName]", 160, adjust::Left},
                                     {"Сечен., кв.м", "[lSec]", 40, adjust::Right},
                                     {"Скор., м/с", "[lSpeed]", 40, adjust::Right},
                                     {"Расход, м3/мин", "[lOut]", 48, adjust::Right},
                                     {"Темп., грд.С", "[lTemperature]", 36, adjust::Right},
                                     {"Влаж., %", "[lWaternity]", 36, adjust::Right}};
    static const TTemplateColumn exhaust[] = {{"Ном. вет.", "[rNumber]", 30, adjust::Right},
                                      {"Наименование ветви", "[rName]", 160, adjust::Left},
                                      {"Сечен., кв.м", "[rSec]", 40, adjust::Right},
                                      {"Скор., м/с", "[rSpeed]", 40, adjust::Right},
                                      {"Расход, м3/мин", "[rOut]", 48, adjust::Right},
                                      {"CH4/H2, %", "[RecordCH4]", 38, adjust::Right},
                                      {"CO2, %", "[RecordCO2]", 38, adjust::Right},
                                      {"O2, %", "[RecordO2]", 38, adjust::Right},
                                      {"CO, %", "[RecordCO]", 38, adjust::Right},
                                      {"Темп., грд.С", "[rTemperature]", 36, adjust::Right},
                                      {"Влаж., %", "[rWaternity]", 36, adjust::Right}};
    // A band takes the objects whose top lies within it, its bottom edge
    // included: the bands keep a gap between them.
    constexpr int HeadTop = 110;
    constexpr int DataTop = 206;
    AddBand(page, btPageHeader, HeadTop, 64).Width = Width + Left;
    TfrBandView &rubrics = AddBand(page, btMasterData, 180, 20, QStringLiteral("frStringsDataset"));
    rubrics.Width = Width + Left;
    // A rubric without records still shows its title.
    rubrics.Flags |= flags::Hyphenation;
    // A long branch name wraps and its row grows with it.
    TfrBandView &records = AddBand(page, btDetailData, DataTop, 16, QStringLiteral("frUserDatasetRec"));
    records.Width = Width + Left;
    records.Flags |= flags::Stretched;
    AddBand(page, btDetailFooter, 232, 20).Width = Width + Left;

    int left = Left;
    const auto stream = [&](const QString &caption, const auto &columns) {
        int width = 0;
        for (const TTemplateColumn &c : columns)
            width += c.Width;
        cell(left, HeadTop, width, 20, caption).FontStyle = 2;
        for (const TTemplateColumn &c : columns) {
            cell(left, HeadTop + 20, c.Width, 44, QString::fromUtf8(c.Caption)).FontSize = 7;
            TfrMemoView &value = cell(left, DataTop, c.Width, 16, QString::fromUtf8(c.Value), c.Align);
            value.FontSize = 7;
            value.Flags |= flags::Stretched;
            left += c.Width;
        }
    };
    stream(QStringLiteral("ПОСТУПАЮЩАЯ СТРУЯ"), intake);
    stream(QStringLiteral("ИСХОДЯЩАЯ СТРУЯ"), exhaust);
    cell(left, HeadTop, Left + Width - left, 64, QStringLiteral("Замечания главного инженера шахты или нач-ка ВТБ"))
        .FontSize = 7;
    TfrMemoView &note = cell(left, DataTop, Left + Width - left, 16, QStringLiteral("[RecordNote]"), adjust::Left);
    note.FontSize = 7;
    note.Flags |= flags::Stretched;

    TfrMemoView &rubric = AddMemo(page, Left, 182, Width, 16, QStringLiteral("[RubricNumber]. [RubricName]"), false);
    rubric.FontSize = 9;
    rubric.FontStyle = 2;
    rubric.Adjust = adjust::VBottom;
    // The totals line keeps its character columns: a fixed-pitch font.
    TfrMemoView &totals = AddMemo(page, Left, 234, Width, 16, QStringLiteral("[TotalString]"), false);
    totals.FontName = QStringLiteral("Courier New");
    totals.FontSize = 7;
    totals.FontStyle = 2;
    totals.Flags = 0;
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
    // Laid out on the whole sheet, inside the printer's unprintable border.
    page.HonourMargins = 0;
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
    WriteTemplate(report, folder.filePath(StandardReportFile));
    MakeNodeCrossTableTemplate(report);
    WriteTemplate(report, folder.filePath(NodeCrossTableFile));
}

void WriteStabilityTemplates(const QString &reportsFolder)
{
    const QDir folder(reportsFolder);
    TfrReport report;
    MakeDescendingStabilityTemplate(report);
    WriteTemplate(report, folder.filePath(DescendingTemplateFile));
    MakeAscendingStabilityTemplate(report);
    WriteTemplate(report, folder.filePath(AscendingTemplateFile));
    MakeFireDetectionTemplate(report);
    WriteTemplate(report, folder.filePath(FireDetectionTemplateFile));
    MakeJournalTemplate(report);
    WriteTemplate(report, folder.filePath(JournalTemplateFile));
}

void MakeNaturalDraughtTemplate(TfrReport &report)
{
    MakeTitledTable(report,
                    {QStringLiteral("[НазвШ]"), QStringLiteral("Воздухораспределение с учётом естественной тяги")},
                    QStringLiteral("frHet"),
                    {{"Ветвь", "[Номер]", 40},
                     {"Нач. узел", "[Начало]", 44},
                     {"Кон. узел", "[Конец]", 44},
                     {"Темп. в конце, C", "[ТемКон]", 58},
                     {"Q без ест. тяги, м3/с", "[Расход]", 70},
                     {"Q с ест. тягой, м3/с", "[РасходТ]", 70},
                     {"Темп. в начале факт., C", "[ТемНач]", 70},
                     {"Темп. в начале расч., C", "[ТемРас]", 70},
                     {"Примечание", "[Примеч]", 140}});
    report.TwoPassBuild = true;
    AddPageNumbers(report.TemplatePages.GetPage(0));
}

void MakeFireZoneTemplate(TfrReport &report)
{
    const int footerTop = MakeTitledTable(report, {QStringLiteral("[НазвШахты]"), QStringLiteral("[Заголовок]")},
                                          QStringLiteral("frBranches"),
                                          {{"Выработка", "[НазвВыработки]", 190},
                                           {"Нач. узел", "[НачУзел]", 44},
                                           {"Кон. узел", "[КонУзел]", 44},
                                           {"Расход, м3/с", "[РасходВСек #N10,2]", 64},
                                           {"Расход, м3/мин", "[РасходВМин #N10,1]", 64},
                                           {"Сопротивление, кмюрг", "[Сопр #N10,5]", 80},
                                           {"Депрессия, даПа", "[Депрессия #N10,2]", 70},
                                           {"Доп. депрессия, даПа", "[ДопДепрессия #N10,2]", 70}});
    // The totals of the rows printed, under the two flow columns.
    TfrPage &page = report.TemplatePages.GetPage(0);
    AddBand(page, btMasterFooter, footerTop, RowHeight);
    AddMemo(page, PageLeft, footerTop, 278, RowHeight, QStringLiteral("Всего"), true).FontStyle = 2;
    AddMemo(page, PageLeft + 278, footerTop, 64, RowHeight, QStringLiteral("[ВСек #N10,2]"), true).FontStyle = 2;
    AddMemo(page, PageLeft + 342, footerTop, 64, RowHeight, QStringLiteral("[ВМин #N10,1]"), true).FontStyle = 2;
    report.TwoPassBuild = true;
    AddPageNumbers(page);
}

void MakeRouteTemplate(TfrReport &report)
{
    // The page's lines in the order the route table shows them; the names
    // are the ones the route report answers for those lines.
    MakeTitledTable(report,
                    {QStringLiteral("[НазваниеШахты]"), QStringLiteral("[ПожВетвь]"), QStringLiteral("[Узел1Узел2]"),
                     QStringLiteral("[ВремяПередвижения]"), QStringLiteral("[Ближайший свежий]"),
                     QStringLiteral("[БлижВыходНаПоверхность]")},
                    RouteStepsSource,
                    {{"Из узла", "[ИзУзла]", 50},
                     {"В узел", "[ВУзел]", 50},
                     {"Ветвь", "[Ветвь]", 44},
                     {"Выработка", "[НазваниеВетви]", 260},
                     {"Направление", "[Направление]", 110},
                     {"Время от начала, мин", "[Время от начала]", 90}});
    report.TwoPassBuild = true;
    AddPageNumbers(report.TemplatePages.GetPage(0));
}

void WriteResultWindowTemplates(const QString &reportsFolder)
{
    const QDir folder(reportsFolder);
    TfrReport report;
    MakeNaturalDraughtTemplate(report);
    WriteTemplate(report, folder.filePath(HetReportTemplate));
    MakeFireZoneTemplate(report);
    WriteTemplate(report, folder.filePath(FireZoneTemplate));
    MakeRouteTemplate(report);
    WriteTemplate(report, folder.filePath(RouteReportTemplate));
}
