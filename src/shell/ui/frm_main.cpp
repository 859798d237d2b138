#include "shell/ui/frm_main.h"

#include "model/geometry_queries.h"
#include "model/helpers.h"
#include "platform/guard.h"
#include "platform/help.h"
#include "platform/numbers.h"
#include "platform/paths.h"
#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "platform/ui/file_dialogs.h"
#include "platform/ui/qt_canvas.h"
#include "scheme/overview_map.h"
#include "scheme/ui/frm_map.h"
#include "scheme/ui/scheme_paint_box.h"
#include "shell/custom_colors.h"
#include "shell/options_apply.h"
#include "shell/scheme_ini.h"
#include "shell/scheme_storage.h"
#include "shell/ui/frm_about.h"
#include "shell/ui/frm_options.h"
#include "shell/ui/scheme_tools.h"
#include "shell/ui/toolbar_layout.h"
#include "shell/view_settings.h"

#include <QtCore/QDateTime>
#include <QtCore/QFileInfo>
#include <QtGui/QActionGroup>
#include <QtGui/QCloseEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QMouseEvent>
#include <QtGui/QGuiApplication>
#include <QtGui/QScreen>
#include <QtWidgets/QColorDialog>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QLabel>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QStatusBar>
#include <QtWidgets/QToolBar>
#include <QtWidgets/QToolButton>

#include <array>
#include <tuple>

TfrmMain *frmMain = nullptr;

namespace {

// The maker's page; the address is a placeholder until the program has one.
const QString HomePageAddress = QStringLiteral("https://tunvex.example.org/");

TColor FromQColor(const QColor &c) { return RGBColor(c.red(), c.green(), c.blue()); }

// A tool button's icon, from the program's own drawings.
QIcon ToolIcon(const char *name)
{
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QLatin1String(name)));
}

// Every action whose command comes with another part of the program: present
// and disabled until that part gives it a handler.
const char *const LaterCommands[] = {
    "FileFind", "FilePrint", "FileProperty", "mnuImport", "mnuRevodImport", "mnuVentImport",
    "sbtnNode", "sbtnBranch", "mnuEditNodes", "mnuMuchBranches", "mnuNodeAlt", "mnuReTurn",
    "mnuMineLayers", "spbtnFind", "mnuCutMap", "mnuNoNodes", "TaskAirDistribution", "TaskFixDepr",
    "TaskFreshRecalc", "mnuSpeedCheck", "TaskNodePress", "TaskDepressiogram", "TaskShorting",
    "TaskCalcResist", "TaskRBlock", "menuQHFixir", "mnuGetHet", "TaskFire", "pmnuFire",
    "TaskWorkersEvacuate", "mnuRazv", "mnuLikvAvar", "mnuTransp", "TaskAscendVentl",
    "TaskDescendingVentl", "mnuFireDetectionTime", "mnuFastRep", "sbtnArrow", "spbSelection",
    "EditPlacePLALabel", "tbtnPlaceTelephone", "tbtnText", "tbtnMove", "tbtnFireModelling",
    "tbtnFindFire", "tbtnQAccelerate", "spbZoomIn", "spbZoomOut", "spbCenterView", "spbFullScheme",
    "sbtnMoveSymb", "sbtnMap", "spbtnWays", "mnuCancel"};

// Task commands that the scheme's popup also offers; they follow the Tasks
// menu. The popup's items of the commands with a shortcut are items of their
// own ("p" + the action's name), so that the shortcut still runs the command
// where the item is disabled (F2 on an empty scheme gives the solver's reason).
const char *const PopupTasks[] = {"pTaskAirDistribution", "pmnuFire", "pTaskWorkersEvacuate", "mnuRazv",
                                  "mnuLikvAvar", "mnuTransp", "pTaskNodePress", "mnuReTurn"};
const char *const PopupKeyedTasks[] = {"TaskAirDistribution", "TaskWorkersEvacuate", "TaskNodePress"};

} // namespace

TfrmMain::TfrmMain(const QStringList &arguments, const QString &startFolder, QWidget *parent)
    : QMainWindow(parent), m_arguments(arguments), m_startFolder(startFolder)
{
    frmMain = this;
    m_storage = std::make_unique<TSchemeFileStorage>(Net);
    m_document = std::make_unique<TMineDocument>(Net, *m_storage, *this);
    m_storage->View = &m_document->View;

    ReadSchemeIni(m_startFolder);
    m_programKey = BuildProgramKey(ProgramFileName());
    SetHelpFolder(ProgramFolder() + QStringLiteral("ZyrHelp"));

    CreateActions();
    CreateMenus();
    CreateToolBars();
    CreateStatusBar();
    m_img = new TSchemePaintBox(this);
    m_img->Resized = [this] { Redraw(); };
    setCentralWidget(m_img);
    m_schemeTools = new TSchemeTools(*this);
    SetCommandHandler(QStringLiteral("spbFullScheme"), [this] { spbFullSchemeClick(); });
    SetCommandHandler(QStringLiteral("sbtnMoveSymb"), [this] { FitSheet(); });
    SetCommandHandler(QStringLiteral("sbtnMap"), [this] { sbtnMapClick(); });

    m_options.Load(m_programKey);
    // The window covers the desktop; tool bars are placed against that size.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    Action("mnuPhones")->setChecked(SchemeIniSettings.Phones);
    ApplyViewSettings();

    m_document->Recent.Load(m_programKey);
    UpdateZoomButtons();
    if (Action("mnuStandart")->isChecked())
        SetStandardColors();
    else
        FillPLAColors(Net, m_document->BranchColors);
    m_document->SetFileName(LookupText(QStringLiteral("Новая шахта.MINE")));
    SetModified(false);
    m_document->ClearDocument();

    m_clock.setInterval(110);
    connect(&m_clock, &QTimer::timeout, this, &TfrmMain::ClockTick);
    RefreshCommandStates();
    setWindowTitle(FormatCaption());
}

TfrmMain::~TfrmMain()
{
    delete frmMap;
    // Nothing that fails while the window goes may keep the program from ending.
    try {
        ClearAllItems(Net);
    } catch (...) {
    }
    m_options.SaveAtClose(m_programKey);
    m_document->Recent.Save(m_programKey);
    if (frmMain == this)
        frmMain = nullptr;
}

QAction *TfrmMain::Action(const QString &name) const
{
    return m_actions.value(name);
}

QToolBar *TfrmMain::ToolBar(const QString &name) const
{
    return m_toolBars.value(name);
}

void TfrmMain::RunCommand(const std::function<void()> &command)
{
    GuardedCall(command);
}

QAction *TfrmMain::MakeAction(const QString &name, const QString &caption, std::function<void()> handler)
{
    auto *action = new QAction(LookupText(caption), this);
    action->setObjectName(name);
    m_actions.insert(name, action);
    if (handler) {
        connect(action, &QAction::triggered, this, [this, handler = std::move(handler)] { RunCommand(handler); });
    }
    // Shortcuts work wherever the action's menu item is, hidden or not.
    addAction(action);
    return action;
}

QAction *TfrmMain::MakeLaterAction(const QString &name, const QString &caption)
{
    QAction *action = MakeAction(name, caption);
    connect(action, &QAction::triggered, this, [this, name] {
        if (const auto handler = m_handlers.value(name))
            RunCommand(handler);
    });
    return action;
}

QAction *TfrmMain::MakeCheck(const QString &name, const QString &caption, bool checked,
                             std::function<void()> handler)
{
    QAction *action = MakeAction(name, caption, std::move(handler));
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

void TfrmMain::SetCommandHandler(const QString &actionName, std::function<void()> handler)
{
    m_handlers.insert(actionName, std::move(handler));
    RefreshCommandStates();
}

void TfrmMain::SetNormalAirCommandHandler(const QString &actionName, std::function<void()> handler)
{
    SetCommandHandler(actionName, [this, handler = std::move(handler)] {
        if (ReleaseFireModel && !ReleaseFireModel())
            return;
        handler();
    });
}

void TfrmMain::CreateActions()
{
    for (const char *name : LaterCommands)
        MakeLaterAction(QString::fromLatin1(name), QString());

    auto later = [this](const char *name, const QString &caption, const QString &hint = QString()) {
        QAction *a = Action(QString::fromLatin1(name));
        a->setText(LookupText(caption));
        a->setToolTip(LookupText(hint.isEmpty() ? QString(caption).remove(u'&').remove(QStringLiteral("...")) : hint));
        return a;
    };
    auto key = [](QAction *a, const QKeySequence &k) { a->setShortcut(k); };

    // File.
    key(MakeAction("FileNew", "Новая схема...", [this] { mnuNewMineClick(); }), QKeySequence(Qt::CTRL | Qt::Key_N));
    Action("FileNew")->setToolTip(LookupText("Создать новую шахту"));
    Action("FileNew")->setIcon(ToolIcon("file_new"));
    key(MakeAction("FileOpen", "&Открыть схему...", [this] { bbtnLoadClick(); }), QKeySequence(Qt::CTRL | Qt::Key_O));
    Action("FileOpen")->setToolTip(LookupText("Открыть файл шахты"));
    Action("FileOpen")->setIcon(ToolIcon("file_open"));
    key(later("FileFind", "&Найти схему...", "Поиск файлов Zyr Вентиляции"), QKeySequence(Qt::CTRL | Qt::Key_F));
    Action("FileFind")->setIcon(ToolIcon("file_find"));
    key(MakeAction("FileSave", "&Сохранить", [this] { bbtnSaveClick(); }), QKeySequence(Qt::CTRL | Qt::Key_S));
    // The Save tool button is enabled exactly while the document is modified.
    MakeAction("bbtnSave", "&Сохранить", [this] { bbtnSaveClick(); });
    Action("bbtnSave")->setToolTip(LookupText("Сохранить"));
    Action("bbtnSave")->setIcon(ToolIcon("file_save"));
    key(MakeAction("FileSaveAs", "Сохранить как...", [this] { mnuSaveAsClick(); }),
        QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_S));
    key(later("FilePrint", "&Печать схемы...", "Распечатать схему шахты"), QKeySequence(Qt::CTRL | Qt::Key_P));
    Action("FilePrint")->setIcon(ToolIcon("file_print"));
    later("FileProperty", "Сво&йства схемы...");
    key(MakeAction("FileExit", "В&ыход", [this] { mnuQuitClick(); }), QKeySequence(Qt::ALT | Qt::Key_X));
    Action("FileExit")->setToolTip(LookupText("Выход из программы"));
    Action("FileExit")->setIcon(ToolIcon("file_exit"));
    later("mnuImport", "Кладон 5.5 (файл *.nf?)...");
    later("mnuRevodImport", "РЕВОД (файл *.dat)...");
    later("mnuVentImport", "VENT (файл *.sp?)...");

    // Edit.
    later("sbtnNode", "Поставить узел...", "Поставить узел")->setIcon(ToolIcon("tool_node"));
    later("sbtnBranch", "Начертить ветвь...", "Начертить ветвь")->setIcon(ToolIcon("tool_branch"));
    later("mnuEditNodes", "Таблица узлов...");
    later("mnuMuchBranches", "Таблица ветвей...", "Корректировка параметров ветвей")->setIcon(ToolIcon("branch_table"));
    later("mnuNodeAlt", "Высотные отметки...");
    later("mnuReTurn", "Развернуть все опрокиды...")->setVisible(false);
    later("mnuMineLayers", "Пласты...", "Список пластов")->setIcon(ToolIcon("layers"));
    later("spbtnFind", "Найти объект...", "Перейти на объект")->setIcon(ToolIcon("goto_object"));

    // View: colouring modes, one at a time.
    m_coloring = new QActionGroup(this);
    m_coloring->setExclusive(true);
    const struct
    {
        const char *Name, *Caption, *Hint, *Icon;
        void (TfrmMain::*Handler)();
    } colorings[] = {
        {"mnuStandart", "Стандарт", "Стандартная раскраска схемы", "color_standard", &TfrmMain::mnuStandartClick},
        {"mnuPLA", "Цвета ПЛА", "Раскраска схемы по цветам ПЛА", "color_pla", &TfrmMain::mnuPLAClick},
        {"mnuColorByLayers", "По пластам", "Раскраска схемы по пластам", "color_layers",
         &TfrmMain::mnuColorByLayersClick},
        {"mnuColorByReveres", "Зона реверсирования", "Раскраска схемы по зоне реверсирования.", "color_reversal",
         &TfrmMain::mnuColorByReveresClick},
    };
    for (const auto &c : colorings) {
        QAction *a = MakeCheck(c.Name, c.Caption, false, [this, h = c.Handler] { (this->*h)(); });
        a->setToolTip(LookupText(c.Hint));
        a->setIcon(ToolIcon(c.Icon));
        a->setIconVisibleInMenu(false);
        m_coloring->addAction(a);
    }
    Action("mnuStandart")->setChecked(true);

    // View: node and branch labels. The branch items carry their label bit.
    for (const auto &[name, caption, checked] :
         {std::tuple{"mnuNodeNo", "Номера (&N)", false}, {"mnuNodeAltitude", "Высотные отметки (&H)", false},
          {"mnuNodeP", "Давления (&P)", false}}) {
        QAction *a = MakeCheck(name, caption, checked, {});
        a->setData(0);
        connect(a, &QAction::triggered, this, [this, a] { RunCommand([this, a] { mnuNodeNoClick(a); }); });
    }
    MakeCheck("mnuNodeShow", "Показывать", true, [this] { Redraw(); });
    const struct
    {
        const char *Name, *Caption, *Hint, *Icon;
        std::int32_t Bit;
    } labels[] = {
        {"mnuN", "Номера (&N)", "Показывать номер ветви", "label_number", lfNumber},
        {"mnuR", "Сопротивления (&R)", "Показывать сопротивление ветви", "label_resistance", lfR},
        {"mnuH", "Депрессия (&D)", "Показывать депрессию ветви", "label_depression", lfDepression},
        {"mnuAH", "Доп. депрессия (&Ad)", "Показывать доп. депрессию", "label_aux_depression", lfAuxDepression},
        {"mnuQ", "Расходы воздуха (&Q)", "Показывать расход воздуха в ветви", "label_flow", lfQ},
        {"mnuArrows", "Стрелки", "Показывать стрелки", "label_arrows", lfArrow},
        {"mnuThickBr", "Толстые ветви", "Толстые ветви", "label_thick", 0},
    };
    for (const auto &l : labels) {
        QAction *a = MakeCheck(l.Name, l.Caption, false, {});
        a->setData(l.Bit);
        a->setToolTip(LookupText(l.Hint));
        a->setIcon(ToolIcon(l.Icon));
        a->setIconVisibleInMenu(false);
        connect(a, &QAction::triggered, this, [this, a] { RunCommand([this, a] { mnuNodeNoClick(a); }); });
    }
    MakeCheck("mnuSymbols", "Показывать символы ветви", true, [this] { Redraw(); });
    MakeCheck("mnuPhones", "Показывать телефоны", false, [this] { mnuPhonesClick(); });
    MakeCheck("mnuTexts", "Показывать надписи", false, [this] { mnuTextsClick(); });
    for (const auto &[name, caption] :
         {std::pair{"mnuLSFireWaterShow", "Пожарно-оросительный трубопровод"}, {"mnuLSConveierShow", "Конвейер"},
          {"mnuLSElectricShow", "Электрические кабели"}, {"mnuLSAirTrubShow", "Трубопровод со сжатым воздухом"},
          {"mnuLSDeGaseShow", "Дегазационный трубопровод"}})
        MakeCheck(name, caption, false, [this] { Redraw(); });
    MakeAction("N53", "Сбросить всё", [this] { SetAllLinearSymbols(false); });
    MakeAction("N54", "Установить всё", [this] { SetAllLinearSymbols(true); });
    later("mnuCutMap", "Сдвинуть схему");

    // Tasks.
    later("mnuNoNodes", "Ошибки топологии...");
    MakeAction("mnuWaysLen", "Длина пути...", [this] { mnuWaysLenClick(); });
    key(later("TaskAirDistribution", "Воздухораспределение...", "Расчет нормального воздухораспределения "),
        QKeySequence(Qt::Key_F2));
    key(later("TaskFixDepr", "Воздух (фикс. депр.)..."), QKeySequence(Qt::SHIFT | Qt::Key_F2));
    later("TaskFreshRecalc", "Пересчитать свежая/исходящая...");
    later("mnuSpeedCheck", "Контроль скорости воздуха...");
    key(later("TaskNodePress", "Давление в узлах..."), QKeySequence(Qt::Key_F11));
    key(later("TaskDepressiogram", "Депрессиограмма..."), QKeySequence(Qt::CTRL | Qt::Key_F11));
    later("TaskShorting", "Закорачивание...");
    key(later("TaskCalcResist", "Расчет сопротивления...",
              "Расчет сопротивления ветви по графику или коэффициенту сопротивления"),
        QKeySequence(Qt::Key_F12));
    key(later("TaskRBlock", "R-блок...", "Пересчет сопротивлений всех ветвей по ряду заданных параметрам"),
        QKeySequence(Qt::CTRL | Qt::Key_F12));
    later("menuQHFixir", "Расчет сопротивления по фиксированным  Q и H");
    later("mnuGetHet", "Воздухораспределение с учётом естественной тяги");
    key(later("TaskFire", "Моделирование пожара..."), QKeySequence(Qt::Key_F3));
    // The scheme's popup has a fire item of its own; F3 is the action's.
    later("pmnuFire", "Моделирование пожара...");
    key(later("TaskWorkersEvacuate", "Маршруты вывода горнорабочих..."), QKeySequence(Qt::Key_F4));
    later("mnuRazv", "Разведка...");
    later("mnuLikvAvar", "Ликвидация аварий...");
    later("mnuTransp", "Транспортировка пострадавшего...");
    key(later("TaskAscendVentl", "Восходящее проветривание..."), QKeySequence(Qt::SHIFT | Qt::Key_F5));
    key(later("TaskDescendingVentl", "Нисходящее проветривание..."), QKeySequence(Qt::Key_F5));
    later("mnuFireDetectionTime", "Время обнаружения пожара...");
    later("mnuFastRep", "Отчеты...");
    MakeCheck("mnuFixQHR", "Исследовать Q, H, R", false, [this] { mnuFixQHRClick(); });

    // Plug-ins: nine actions whose shortcuts run the plug-ins of the menu.
    for (int i = 1; i <= 9; ++i) {
        QAction *a = MakeLaterAction(QStringLiteral("Plugins%1").arg(i), QStringLiteral("Plugins%1").arg(i));
        a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + i)));
    }

    // Settings pages.
    const std::pair<const char *, const char *> pages[] = {{"mnuGeneralOpt", "Общие..."},
                                                           {"mnuColorsOpt", "Цвета..."},
                                                           {"mnuLocationOpt", "Расположение..."},
                                                           {"mnuPasswordOpt", "Пароль..."},
                                                           {"mnuSymbolsView", "Символы ветви..."}};
    for (int page = 0; page < 5; ++page)
        MakeAction(pages[page].first, pages[page].second, [this, page] { ShowOptionsPage(page); })->setData(page);

    // Help.
    MakeAction("mnuHelpContents", "Содержание...", [this] { mnuHelpContentsClick(); });
    MakeAction("mnuAbout", "&О программе...", [this] { mnuAboutClick(); });
    MakeAction("mnuWWWHome", "Страница программы в Интернете...", [this] { mnuWWWHomeClick(); });

    // Tool buttons of the drawing bar.
    later("sbtnArrow", "Поиск")->setIcon(ToolIcon("tool_pointer"));
    later("spbSelection", "Выделить ветви")->setIcon(ToolIcon("tool_select_branches"));
    later("EditPlacePLALabel", "Метка ПЛА", "Поставить метку ПЛА")->setIcon(ToolIcon("tool_pla_label"));
    later("tbtnPlaceTelephone", "Поставить телефон")->setIcon(ToolIcon("tool_telephone"));
    later("tbtnText", "Поставить надпись")->setIcon(ToolIcon("tool_text"));
    later("tbtnMove", "Переместить объект")->setIcon(ToolIcon("tool_move"));
    later("tbtnFireModelling", "Моделирование пожара")->setIcon(ToolIcon("tool_fire"));
    later("tbtnFindFire", "Поиск возможного места пожара")->setIcon(ToolIcon("tool_find_fire"));
    later("tbtnQAccelerate", "Усиление проветривания: Щелкните на схеме по ветви")->setIcon(ToolIcon("tool_boost"));
    later("spbZoomIn", "Приблизить")->setIcon(ToolIcon("zoom_in"));
    later("spbZoomOut", "Отдалить")->setIcon(ToolIcon("zoom_out"));
    later("spbCenterView", "Центровка схемы")->setIcon(ToolIcon("view_center"));
    later("spbFullScheme", "Вся схема на экран")->setIcon(ToolIcon("view_fit_screen"));
    later("sbtnMoveSymb", "Вся схема на лист")->setIcon(ToolIcon("view_fit_sheet"));
    later("sbtnMap", "Карта")->setIcon(ToolIcon("view_map"));
    Action("sbtnMap")->setCheckable(true);
    // The view tools and the default tool are one group: one is down at a time.
    m_tools = new QActionGroup(this);
    for (const char *name : {"sbtnArrow", "spbSelection", "sbtnNode", "sbtnBranch", "EditPlacePLALabel",
                             "tbtnPlaceTelephone", "tbtnText", "tbtnMove", "tbtnFireModelling", "tbtnFindFire",
                             "tbtnQAccelerate", "spbZoomIn", "spbZoomOut", "spbCenterView"}) {
        QAction *tool = Action(QString::fromLatin1(name));
        tool->setCheckable(true);
        m_tools->addAction(tool);
    }
    Action("sbtnArrow")->setChecked(true);
    QAction *grid = MakeCheck("spbGrid", "Сетка", true, [this] { spbGridClick(); });
    grid->setIcon(ToolIcon("view_grid"));
    later("spbtnWays", "Вернуться к маршрутам")->setIcon(ToolIcon("routes_back"));
    later("mnuCancel", "Отменить");
}

void TfrmMain::CreateMenus()
{
    auto add = [this](QMenu *menu, std::initializer_list<const char *> names) {
        for (const char *name : names) {
            if (!*name)
                menu->addSeparator();
            else
                menu->addAction(Action(QString::fromLatin1(name)));
        }
    };
    auto hiddenItem = [](QMenu *menu, const QString &caption) {
        QAction *a = menu->addAction(LookupText(caption));
        a->setEnabled(false);
        a->setVisible(false);
    };

    QMenu *file = menuBar()->addMenu(LookupText("&Файл"));
    add(file, {"FileNew", "FileOpen", "FileFind", "", "FileSave", "FileSaveAs", ""});
    QMenu *import = file->addMenu(LookupText("Импортировать из"));
    add(import, {"mnuImport", "mnuRevodImport", "mnuVentImport"});
    import->menuAction()->setVisible(false);
    QMenu *exportMenu = file->addMenu(LookupText("Экспортировать в"));
    exportMenu->menuAction()->setEnabled(false);
    exportMenu->menuAction()->setVisible(false);
    add(file, {"FilePrint", "FileProperty", "", "FileExit"});

    QMenu *edit = menuBar()->addMenu(LookupText("&Правка"));
    add(edit, {"sbtnNode", "sbtnBranch", "", "mnuEditNodes", "mnuMuchBranches", "mnuNodeAlt", "mnuReTurn", "",
               "mnuMineLayers", "spbtnFind"});

    QMenu *view = menuBar()->addMenu(LookupText("&Вид"));
    add(view->addMenu(LookupText("Раскраска")), {"mnuStandart", "mnuPLA", "mnuColorByLayers", "mnuColorByReveres"});
    add(view->addMenu(LookupText("Узлы")), {"mnuNodeNo", "mnuNodeAltitude", "mnuNodeP", "", "mnuNodeShow"});
    add(view->addMenu(LookupText("Ветви")),
        {"mnuN", "mnuR", "mnuH", "mnuAH", "mnuQ", "mnuArrows", "", "mnuThickBr"});
    add(view, {"mnuSymbols", "mnuPhones", "mnuTexts"});
    add(view->addMenu(LookupText("Линейные символы")),
        {"mnuLSFireWaterShow", "mnuLSConveierShow", "mnuLSElectricShow", "mnuLSAirTrubShow", "mnuLSDeGaseShow", "",
         "N53", "N54"});
    add(view, {"", "mnuCutMap"});

    m_mnuTasks = menuBar()->addMenu(LookupText("&Задачи"));
    add(m_mnuTasks, {"mnuNoNodes", "mnuWaysLen", ""});
    QMenu *normal = m_mnuTasks->addMenu(LookupText("Нормальные условия"));
    add(normal, {"TaskAirDistribution"});
    // The fixed-depression item is hidden; its action's key still runs it.
    QAction *fixDepr = normal->addAction(Action("TaskFixDepr")->text());
    fixDepr->setObjectName(QStringLiteral("mnuFixDepr"));
    fixDepr->setVisible(false);
    connect(fixDepr, &QAction::triggered, Action("TaskFixDepr"), &QAction::trigger);
    add(normal, {"TaskFreshRecalc", "mnuSpeedCheck", "TaskNodePress",
                 "TaskDepressiogram", "TaskShorting", "", "TaskCalcResist", "TaskRBlock", "menuQHFixir",
                 "mnuGetHet"});
    hiddenItem(normal, "Метан...");
    hiddenItem(normal, "Подготовительные выработки...");
    QMenu *emergency = m_mnuTasks->addMenu(LookupText("Аварийные условия"));
    add(emergency, {"TaskFire", "TaskWorkersEvacuate"});
    add(emergency->addMenu(LookupText("Маршруты движения ГВГСС")), {"mnuRazv", "mnuLikvAvar", "mnuTransp"});
    add(emergency->addMenu(LookupText("Оценка устойчивости")), {"TaskAscendVentl", "TaskDescendingVentl"});
    add(emergency, {"mnuFireDetectionTime"});
    hiddenItem(emergency, "Зона высоких температур...");
    hiddenItem(emergency, "Параметры очага пожара...");
    hiddenItem(emergency, "Оценка угрозы взрыва...");
    QMenu *modes = emergency->addMenu(LookupText("Аварийные вентиляционные режимы"));
    for (const char *caption : {"Реверс...", "Устойчивость в диагоналях...", "Повышение устойчивости...",
                                "Изоляция...", "Рециркуляция..."})
        modes->addAction(LookupText(caption))->setEnabled(false);
    modes->menuAction()->setEnabled(false);
    modes->menuAction()->setVisible(false);
    add(m_mnuTasks, {"", "mnuFastRep", "mnuFixQHR"});

    m_mnuPlugins = menuBar()->addMenu(LookupText("Расширения"));
    m_mnuPlugins->setObjectName(QStringLiteral("mnuPlugins"));

    QMenu *settings = menuBar()->addMenu(LookupText("&Настройки"));
    add(settings, {"mnuGeneralOpt", "mnuColorsOpt", "mnuLocationOpt", "mnuPasswordOpt", "", "mnuSymbolsView"});

    QMenu *help = menuBar()->addMenu(LookupText("&Справка"));
    add(help, {"mnuHelpContents", "", "mnuWWWHome", "mnuAbout"});

    // The scheme's right-click popup, opened by the mouse tools.
    for (const char *name : PopupKeyedTasks) {
        QAction *command = Action(QString::fromLatin1(name));
        auto *item = new QAction(command->text(), this);
        item->setObjectName(QStringLiteral("p") + command->objectName());
        item->setToolTip(command->toolTip());
        connect(item, &QAction::triggered, command, &QAction::trigger);
        m_actions.insert(item->objectName(), item);
    }
    m_pmnuScheme = new QMenu(this);
    m_pmnuScheme->setObjectName(QStringLiteral("pmnuScheme"));
    add(m_pmnuScheme, {"mnuCancel", "", "mnuMuchBranches", "spbtnFind", "", "pTaskAirDistribution",
                       "TaskFreshRecalc", "pTaskNodePress", "TaskDepressiogram", "", "pmnuFire",
                       "pTaskWorkersEvacuate"});
    add(m_pmnuScheme->addMenu(LookupText("Маршруты движения ГВГСС")), {"mnuRazv", "mnuLikvAvar", "mnuTransp"});
    add(m_pmnuScheme, {"TaskAscendVentl", "TaskDescendingVentl"});

    m_pmnuRecentFiles = new QMenu(this);
    m_pmnuRecentFiles->setObjectName(QStringLiteral("pmnuRecentFiles"));
    connect(m_pmnuRecentFiles, &QMenu::aboutToShow, this, [this] { RunCommand([this] { pmnuRecentFilesPopup(); }); });
}

void TfrmMain::CreateToolBars()
{
    auto bar = [this](int index) {
        auto *toolBar = new QToolBar(ToolbarCaption(index), this);
        toolBar->setObjectName(ToolbarPrefix(index));
        toolBar->setIconSize(QSize(24, 24));
        addToolBar(Qt::TopToolBarArea, toolBar);
        m_toolBars.insert(ToolbarPrefix(index), toolBar);
        return toolBar;
    };
    auto add = [this](QToolBar *toolBar, std::initializer_list<const char *> names) {
        for (const char *name : names) {
            if (!*name)
                toolBar->addSeparator();
            else
                toolBar->addAction(Action(QString::fromLatin1(name)));
        }
    };

    QToolBar *file = bar(tbFile);
    add(file, {"FileNew", "FileOpen", "bbtnSave", "FileFind", "", "FilePrint", "", "FileExit"});
    if (auto *open = qobject_cast<QToolButton *>(file->widgetForAction(Action("FileOpen")))) {
        open->setMenu(m_pmnuRecentFiles);
        open->setPopupMode(QToolButton::MenuButtonPopup);
    }
    add(bar(tbTable), {"mnuMineLayers", "mnuMuchBranches"});
    QToolBar *draw = bar(tbDraw);
    add(draw, {"sbtnArrow", "spbSelection", "sbtnNode", "sbtnBranch", "EditPlacePLALabel", "tbtnPlaceTelephone",
               "tbtnText", "tbtnMove", "", "tbtnFireModelling", "tbtnFindFire", "tbtnQAccelerate", "",
               "spbZoomIn", "spbZoomOut", "spbCenterView", "spbFullScheme", "sbtnMoveSymb"});
    // Holds the zoom step; never shown.
    m_cbxScale = new QComboBox(draw);
    m_cbxScale->setObjectName(QStringLiteral("cbxScale"));
    for (const QString &item : ZoomStepNames)
        m_cbxScale->addItem(item);
    m_cbxScale->setToolTip(LookupText("Масштаб"));
    // Only a choice in the list changes the zoom; the view sets the item quietly.
    connect(m_cbxScale, &QComboBox::activated, this, [this](int step) { RunCommand([this, step] { cbxScaleChange(step); }); });
    draw->addWidget(m_cbxScale)->setVisible(false);
    add(draw, {"", "sbtnMap", "spbGrid", "spbtnFind", "", "spbtnWays"});
    // The additional depression has no button shown; its menu item serves.
    add(bar(tbBranch), {"mnuN", "mnuR", "mnuH", "mnuQ", "mnuArrows", "mnuThickBr"});
    add(bar(tbPaint), {"mnuStandart", "mnuPLA", "mnuColorByLayers", "mnuColorByReveres"});
}

void TfrmMain::CreateStatusBar()
{
    auto label = [this](const char *name, int width) {
        auto *l = new QLabel(this);
        l->setObjectName(QString::fromLatin1(name));
        l->setMinimumWidth(width);
        statusBar()->addWidget(l);
        return l;
    };
    m_lblX = label("lblX", 70);
    m_lblY = label("lblY", 70);
    m_lblNode = label("lblNode", 90);
    m_lblBranch = label("lblBranch", 260);
    m_lblDateTime = new QLabel(this);
    m_lblDateTime->setObjectName(QStringLiteral("lblDateTime"));
    statusBar()->addPermanentWidget(m_lblDateTime);
}

void TfrmMain::RefreshCommandStates()
{
    for (const char *name : LaterCommands) {
        const QString n = QString::fromLatin1(name);
        Action(n)->setEnabled(m_handlers.contains(n));
    }
    for (int i = 1; i <= 9; ++i)
        Action(QStringLiteral("Plugins%1").arg(i))->setEnabled(true);
    auto tool = [this](const char *name, bool allowed) {
        QAction *a = Action(QString::fromLatin1(name));
        a->setEnabled(a->isEnabled() && allowed);
    };
    tool("EditPlacePLALabel", m_plaToolAllowed);
    tool("tbtnPlaceTelephone", Action("mnuPhones")->isChecked());
    tool("tbtnText", Action("mnuTexts")->isChecked());
    tool("spbZoomIn", m_document->View.ZoomStep < LastZoomStep);
    tool("spbZoomOut", m_document->View.ZoomStep > 0);
    tool("spbtnWays", m_routesExist);
    // Node pressures are labelled once their calculation is there.
    Action("mnuNodeP")->setEnabled(bool(m_overlays.NodePressures));
    for (const char *name : PopupKeyedTasks)
        Action(QStringLiteral("p") + QString::fromLatin1(name))->setEnabled(Action(QString::fromLatin1(name))->isEnabled());
    const bool tasks = BranchCount(Net) > 1;
    for (const char *name : PopupTasks)
        tool(name, tasks);
}

// ---- Services -------------------------------------------------------------

void TfrmMain::SetRoutesExist(bool exist)
{
    m_routesExist = exist;
    RefreshCommandStates();
}

void TfrmMain::ObjectChanged(std::unique_ptr<TMineObject> snapshot, TChangeKind kind)
{
    SetModified(true);
    // A network drawn by hand gets its second branch here, so "Задачи" must follow.
    UpdateMenus();
}

QString TfrmMain::GetFansFolder() const
{
    return AddTrailingSlash(m_options.FanLocations);
}

TColor TfrmMain::GetSchemeColor(int index) const
{
    return index >= 0 && index < SchemeColorCount ? m_options.Colors[index] : 0;
}

void TfrmMain::SetStandardColors()
{
    ::SetStandardColors(Net, m_document->BranchColors, GetSchemeColor(sciBranch));
}

void TfrmMain::UpdateMenus()
{
    const bool tasks = BranchCount(Net) > 1;
    m_mnuTasks->menuAction()->setEnabled(tasks);
    for (const char *name : {"mnuN", "mnuR", "mnuH", "mnuAH", "mnuQ", "mnuArrows"}) {
        QAction *a = Action(QString::fromLatin1(name));
        a->setChecked(AnyBranchHasLabelBits(Net, a->data().toInt()));
    }
    RefreshCommandStates();
}

void TfrmMain::ShowOptionsPage(int page)
{
    TOptionsHost host;
    host.Options = &m_options;
    host.SheetWidth = &m_storage->Doc.MineProperties.SheetWidth;
    host.SheetHeight = &m_storage->Doc.MineProperties.SheetHeight;
    host.Tables = &Net;
    host.BranchColors = &m_document->BranchColors;
    host.ChooseColor = [this](TColor &color) { return ChooseColor(color); };
    host.Applied = [this] {
        UpdateZoomButtons();
        Redraw();
    };
    if (OptionsSymbols)
        OptionsSymbols(host);
    ShowOptionsWindow(host, page, this);
}

void TfrmMain::ShowPLADocuments(int position, QPoint screenPoint)
{
    delete m_plaPopup;
    m_plaPopup = new QMenu(this);
    m_plaPopup->setObjectName(QStringLiteral("pmnuPLADocuments"));
    const QString mineName = m_storage->Doc.MineProperties.MineName;
    const QString folder = PLADocumentFolder(m_options.PLALocationFolder, mineName);
    const QStringList files = FindPLADocuments(m_options.PLALocationFolder, mineName, position);
    for (const QString &file : files) {
        QAction *item = m_plaPopup->addAction(QString(file).replace(u'&', QStringLiteral("&&")));
        item->setData(0x30000);
        const QString path = folder + file;
        connect(item, &QAction::triggered, this, [path] { OpenDocument(path); });
    }
    if (!files.isEmpty()) {
        m_plaPopup->popup(screenPoint);
        return;
    }
    const TMessage m = NoPLADocumentsMessage(m_options.PLALocationFolder, position);
    ShowMessageBox(m.Text, m.Caption, m.Flags);
}

bool TfrmMain::ChooseColor(TColor &color)
{
    const QString file = CustomColorsFileName(m_startFolder);
    const TCustomColors custom = LoadCustomColors(file);
    if (QFileInfo::exists(file))
        for (int i = 0; i < CustomColorCount; ++i)
            QColorDialog::setCustomColor(i, TColorToQColor(custom[i]));
    QColorDialog dialog(TColorToQColor(color), this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    TCustomColors chosen;
    for (int i = 0; i < CustomColorCount; ++i)
        chosen[i] = FromQColor(QColorDialog::customColor(i));
    SaveCustomColors(file, chosen);
    color = FromQColor(dialog.selectedColor());
    return true;
}

TSchemeDrawSettings TfrmMain::DrawSettings() const
{
    static_assert(SchemeColorCount == SchemeColorSlots);
    TSchemeDrawSettings s;
    s.Colors = m_options.Colors;
    const TSchemeIniSettings &ini = SchemeIniSettings;
    s.Switches = ini;
    const auto checked = [this](const char *name) { return Action(QString::fromLatin1(name))->isChecked(); };
    TViewChecks &c = s.Checks;
    c.Texts = checked("mnuTexts");
    c.NodeShow = checked("mnuNodeShow");
    c.PLA = checked("mnuPLA");
    c.Phones = checked("mnuPhones");
    c.ThickBranches = checked("mnuThickBr");
    c.ReversalZone = checked("mnuColorByReveres");
    c.Symbols = checked("mnuSymbols");
    c.MoveTool = checked("tbtnMove");
    c.NodeNumbers = checked("mnuNodeNo");
    c.NodeAltitudes = checked("mnuNodeAltitude");
    c.NodePressures = checked("mnuNodeP");
    c.FixQHR = checked("mnuFixQHR");
    c.Arrows = checked("mnuArrows");
    c.FireWaterPipe = checked("mnuLSFireWaterShow");
    c.Conveyor = checked("mnuLSConveierShow");
    c.ElectricCables = checked("mnuLSElectricShow");
    c.CompressedAirPipe = checked("mnuLSAirTrubShow");
    c.DegassingPipe = checked("mnuLSDeGaseShow");
    s.ShowSheet = m_options.ShowSheet;
    s.GridIsOn = m_options.GridIsOn;
    s.GridStep = m_options.GridStep;
    s.SheetWidth = m_storage->Doc.MineProperties.SheetWidth;
    s.SheetHeight = m_storage->Doc.MineProperties.SheetHeight;
    s.FontName = SchemeFontName;
    s.Charset = ini.Charset;
    s.DrawTarget = m_drawTarget;
    return s;
}

namespace {
// Points the main window's drawing canvas at a canvas for one drawing.
class TDrawCanvasScope
{
public:
    TDrawCanvasScope(TCanvas *&slot, TCanvas &canvas) : m_slot(slot), m_old(slot) { m_slot = &canvas; }
    ~TDrawCanvasScope() { m_slot = m_old; }
    TDrawCanvasScope(const TDrawCanvasScope &) = delete;
    TDrawCanvasScope &operator=(const TDrawCanvasScope &) = delete;

private:
    TCanvas *&m_slot;
    TCanvas *m_old;
};
} // namespace

void TfrmMain::Redraw()
{
    QImage &image = m_img->Image();
    {
        TQtCanvas canvas(&image);
        const TDrawCanvasScope scope(m_drawCanvas, canvas);
        const TSchemeDrawSettings settings = DrawSettings();
        TSchemeRenderer renderer(Net, m_document->BranchColors, m_document->View, settings, m_overlays);
        const QScreen *display = screen();
        const QSize size = display ? display->size() : image.size();
        renderer.Redraw(canvas, image.width(), image.height(), {size.width(), size.height()}, m_paintGuard);
        m_currentBranch = renderer.CurrentBranch;
    }
    m_img->update();
    RefreshOverviewMap();
}

void TfrmMain::SetPrintTarget(TCanvas *printerCanvas)
{
    m_drawCanvas = printerCanvas;
    m_drawTarget = printerCanvas ? dtPrinter : dtScreen;
}

void TfrmMain::PaintScheme(TCanvas &canvas)
{
    const TDrawCanvasScope scope(m_drawCanvas, canvas);
    const TSchemeDrawSettings settings = DrawSettings();
    TSchemeRenderer renderer(Net, m_document->BranchColors, m_document->View, settings, m_overlays);
    renderer.PaintScheme(canvas, m_paintGuard);
}

void TfrmMain::DrawBranch(int n)
{
    if (!ValidItemIndex(n))
        return;
    {
        TQtCanvas canvas(&m_img->Image());
        const TDrawCanvasScope scope(m_drawCanvas, canvas);
        const TSchemeDrawSettings settings = DrawSettings();
        TSchemeRenderer renderer(Net, m_document->BranchColors, m_document->View, settings, m_overlays);
        renderer.SetDefaultFont(canvas);
        renderer.DrawBranch(canvas, n);
        m_currentBranch = renderer.CurrentBranch;
    }
    m_img->update();
}

void TfrmMain::SetSchemePen(TPenStyle style, int width, TColor color)
{
    if (!m_drawCanvas)
        return;
    m_drawCanvas->Pen.Style = style;
    m_drawCanvas->Pen.Width = width;
    m_drawCanvas->Pen.Color = color;
}

void TfrmMain::RefreshOverviewMap()
{
    if (frmMap && frmMap->isVisible())
        frmMap->DrawMap();
}

// ---- View -------------------------------------------------------------------

int TfrmMain::SnappedMouseX() const
{
    return m_document->View.SnappedMouseX(m_options.SnapToGrid, m_options.GridStep);
}

int TfrmMain::SnappedMouseY() const
{
    return m_document->View.SnappedMouseY(m_options.SnapToGrid, m_options.GridStep);
}

TPoint TfrmMain::GetViewCenter() const
{
    return m_document->View.GetViewCenter(m_img->width(), m_img->height());
}

void TfrmMain::CenterOn(int x, int y)
{
    m_document->View.CenterOn(x, y, m_img->width(), m_img->height());
}

TRect TfrmMain::VisibleSchemeRect() const
{
    return m_document->View.VisibleSchemeRect({0, 0, m_img->width(), m_img->height()});
}

TRect TfrmMain::OverviewWorldRect() const
{
    return ::OverviewWorldRect(Net, m_document->View, {0, 0, m_img->width(), m_img->height()});
}

void TfrmMain::FitRect(const TRect &r)
{
    m_document->View.FitRect(r, {0, 0, m_img->width(), m_img->height()});
    UpdateZoomButtons();
}

bool TfrmMain::EdgeScroll(int x, int y)
{
    if (!TViewport::NearEdge(x, y, m_img->width(), m_img->height()))
        return false;
    SetModified(true);
    CenterOn(MouseSchemeX(), MouseSchemeY());
    Redraw();
    return true;
}

int TfrmMain::EdgeCursor(int x, int y) const
{
    return TViewport::EdgeCursor(x, y, m_img->width(), m_img->height(), m_toolMode);
}

void TfrmMain::SelectTool(int mode)
{
    m_toolMode = mode;
    m_img->SetCursorNumber(mode);
}

void TfrmMain::UncheckLabelItems()
{
    for (const char *name : {"mnuN", "mnuNodeNo", "mnuThickBr", "mnuR", "mnuH", "mnuQ", "mnuArrows"})
        Action(QString::fromLatin1(name))->setChecked(false);
}

void TfrmMain::spbFullSchemeClick()
{
    UncheckLabelItems();
    FitRect(SchemeBounds(Net));
    // A small network fits beyond the last step; its sizes are then the last step's.
    if (m_document->View.Zoom > ZoomFactors[LastZoomStep])
        m_document->View.ZoomStep = LastZoomStep;
    UpdateZoomButtons();
    Redraw();
    SetModified(true);
}

void TfrmMain::FitSheet()
{
    UncheckLabelItems();
    TMineProperties &p = m_storage->Doc.MineProperties;
    // The sheet grows to hold the scheme; it never shrinks here.
    FitSheetToScheme(p.SheetWidth, p.SheetHeight, SchemeBounds(Net));
    FitRect({0, 0, p.SheetWidth, p.SheetHeight});
    Redraw();
    SetModified(true);
}

void TfrmMain::cbxScaleChange(int step)
{
    if (step < 0 || step > LastZoomStep)
        return;
    TViewport &view = m_document->View;
    const TPoint c = GetViewCenter();
    view.ZoomStep = step;
    view.Zoom = ZoomFactors[step];
    CenterOn(c.X, c.Y);
    Redraw();
    UpdateZoomButtons();
}

void TfrmMain::ZoomToolUp(int x, int y, int direction)
{
    if (EdgeScroll(x, y))
        return;
    TViewport &view = m_document->View;
    const int step = view.ZoomStep + direction;
    if (step < 0 || step > LastZoomStep)
        return;
    const int sx = MouseSchemeX();
    const int sy = MouseSchemeY();
    view.ZoomStep = step;
    view.Zoom = ZoomFactors[step];
    UpdateZoomButtons();
    // At the last step the tool has nothing more to do.
    if (!Action(QString::fromLatin1(direction > 0 ? "spbZoomIn" : "spbZoomOut"))->isEnabled())
        Action("sbtnArrow")->trigger();
    CenterOn(sx, sy);
    SetModified(true);
    Redraw();
}

void TfrmMain::CenterToolUp(int x, int y)
{
    if (EdgeScroll(x, y))
        return;
    const int sx = MouseSchemeX();
    const int sy = MouseSchemeY();
    CenterOn(sx, sy);
    Redraw();
    // A red dot marks the new centre until the next redraw.
    {
        TQtCanvas canvas(&m_img->Image());
        canvas.Brush.Color = clRed;
        canvas.Ellipse(ScreenX(sx) - 2, ScreenY(sy) - 2, ScreenX(sx) + 2, ScreenY(sy) + 2);
    }
    m_img->update();
}

void TfrmMain::keyReleaseEvent(QKeyEvent *event)
{
    if (event->isAutoRepeat()) {
        QMainWindow::keyReleaseEvent(event);
        return;
    }
    TScrollKey key;
    switch (event->key()) {
    case Qt::Key_Home: key = skHome; break;
    case Qt::Key_Left: key = skLeft; break;
    case Qt::Key_Right: key = skRight; break;
    case Qt::Key_Up: key = skUp; break;
    case Qt::Key_Down: key = skDown; break;
    default: QMainWindow::keyReleaseEvent(event); return;
    }
    RunCommand([this, key] {
        m_document->View.KeyScroll(key, m_img->width(), m_img->height());
        Redraw();
    });
}

void TfrmMain::sbtnMapClick()
{
    QAction *button = Action("sbtnMap");
    if (!frmMap) {
        TMapHost host;
        host.Tables = &Net;
        host.WorldRect = [this] { return OverviewWorldRect(); };
        host.VisibleRect = [this] { return VisibleSchemeRect(); };
        host.ShowSheet = [this] { return m_options.ShowSheet; };
        host.SheetSize = [this] {
            const TMineProperties &p = m_storage->Doc.MineProperties;
            return TSize{p.SheetWidth, p.SheetHeight};
        };
        host.CenterOn = [this](int x, int y) {
            CenterOn(x, y);
            Redraw();
        };
        host.Hidden = [button] { button->setChecked(false); };
        host.SettingsKey = SettingsKey(m_programKey);
        auto *map = new TfrmMap(std::move(host));
        map->show();
        button->setChecked(true);
    } else if (frmMap->isVisible()) {
        delete frmMap;
        button->setChecked(false);
    } else {
        frmMap->show();
        button->setChecked(true);
    }
}

// ---- Life cycle -----------------------------------------------------------

void TfrmMain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_activated)
        QTimer::singleShot(0, this, [this] { FormActivate(); });
}

void TfrmMain::FormActivate()
{
    if (m_activated)
        return;
    m_activated = true;
    m_clock.start();
    RunCommand([this] {
        m_document->OpenStartDocument(m_arguments, [](const QString &f) { return QFileInfo(f).isFile(); });
    });
    UpdateMenus();
    if (m_options.MapOn && m_handlers.contains(QStringLiteral("sbtnMap")))
        Action("sbtnMap")->trigger();
    ShowWhenStarted(std::exchange(m_startMessages, {}));
}

void TfrmMain::ShowWhenStarted(const std::vector<TMessage> &messages)
{
    if (!m_activated) {
        m_startMessages.insert(m_startMessages.end(), messages.begin(), messages.end());
        return;
    }
    for (const TMessage &m : messages)
        ShowMessageBox(m.Text, m.Caption, m.Flags);
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    bool confirmed = false;
    RunCommand([&] { confirmed = m_document->ConfirmSaveChanges(); });
    if (!confirmed) {
        event->ignore();
        return;
    }
    m_clock.stop();
    RunCommand([this] { StoreViewSettings(); });
    // The map has no owner; it goes with the main window (keeping its bounds).
    delete frmMap;
    event->accept();
}

void TfrmMain::ClockTick()
{
    if (++m_clockTicks % 4 != 0)
        return;
    m_lblDateTime->setText(ShortDateLongTime(QDateTime::currentDateTime()));
}

// ---- TDocumentWindow --------------------------------------------------------

void TfrmMain::DocumentCleared()
{
    m_captionSuffix.clear();
    emit documentCleared();
}

void TfrmMain::CaptionChanged(const QString &caption)
{
    setWindowTitle(caption + m_captionSuffix);
}

void TfrmMain::SetCaptionSuffix(const QString &suffix)
{
    m_captionSuffix = suffix;
    setWindowTitle(FormatCaption() + m_captionSuffix);
}

void TfrmMain::ModifiedChanged(bool modified)
{
    Action("bbtnSave")->setEnabled(modified);
}

void TfrmMain::FitWholeScheme()
{
    spbFullSchemeClick();
}

void TfrmMain::UpdateZoomButtons()
{
    // The zoom buttons follow the step through the command states.
    m_cbxScale->setCurrentIndex(m_document->View.ZoomStep);
    Action("spbGrid")->setChecked(m_options.GridIsOn);
    UpdateMenus();
}

bool TfrmMain::StandardColoringChecked() const
{
    return Action("mnuStandart")->isChecked();
}

void TfrmMain::CheckStandardColoring()
{
    Action("mnuStandart")->setChecked(true);
    mnuStandartClick();
}

QString TfrmMain::MinesFolder() const
{
    return m_options.MinesLocation;
}

void TfrmMain::SetMinesFolder(const QString &folder)
{
    m_options.MinesLocation = folder;
}

void TfrmMain::ShowSheet()
{
    m_options.ShowSheet = true;
}

// ---- File commands ------------------------------------------------------------

void TfrmMain::mnuNewMineClick()
{
    m_document->NewDocument();
}

void TfrmMain::bbtnLoadClick()
{
    if (!m_document->ConfirmSaveChanges())
        return;
    int filter = 0;
    const QString file = GetOpenFileName(this, LookupText("Открыть схему"), MinesFolder(), OpenDialogFilters(), &filter);
    try {
        if (!file.isEmpty())
            m_document->OpenChosen(file, static_cast<TOpenFilter>(filter + 1));
    } catch (...) {
        // A damaged file leaves what was read: the menus follow it.
        UpdateMenus();
        throw;
    }
    UpdateMenus();
}

void TfrmMain::bbtnSaveClick()
{
    m_document->Save();
}

void TfrmMain::mnuSaveAsClick()
{
    AskSaveAs();
}

bool TfrmMain::AskSaveAs()
{
    int filter = 0;
    const QString file =
        GetSaveFileName(this, LookupText("Сохранить как"), m_document->FileName(), SaveDialogFilters(), &filter);
    if (file.isEmpty())
        return false;
    return m_document->SaveAs(file, filter == 1 ? sfVent : sfMine);
}

void TfrmMain::mnuQuitClick()
{
    close();
}

void TfrmMain::pmnuRecentFilesPopup()
{
    m_pmnuRecentFiles->clear();
    const auto entries =
        m_document->Recent.MenuEntries(m_startFolder, [](const QString &f) { return QFileInfo(f).isFile(); });
    for (const auto &entry : entries) {
        QAction *item = m_pmnuRecentFiles->addAction(entry.Caption);
        connect(item, &QAction::triggered, this,
                [this, index = entry.Index] { RunCommand([this, index] { OpenRecentFile(index); }); });
    }
}

void TfrmMain::OpenRecentFile(int index)
{
    if (!m_document->ConfirmSaveChanges())
        return;
    const QStringList &items = m_document->Recent.Items();
    if (index < 0 || index >= items.size())
        return;
    const QString file = items[index];
    try {
        m_document->OpenFile(file);
    } catch (...) {
        UpdateMenus();
        throw;
    }
    UpdateMenus();
}

// ---- View commands ------------------------------------------------------------

void TfrmMain::mnuStandartClick()
{
    m_plaToolAllowed = false;
    Action("mnuStandart")->setChecked(true);
    SetStandardColors();
    Action("mnuThickBr")->setChecked(false);
    RefreshCommandStates();
    Redraw();
}

void TfrmMain::mnuPLAClick()
{
    m_plaToolAllowed = true;
    Action("mnuPLA")->setChecked(true);
    FillPLAColors(Net, m_document->BranchColors);
    Action("mnuThickBr")->setChecked(true);
    RefreshCommandStates();
    Redraw();
}

void TfrmMain::mnuColorByLayersClick()
{
    if (m_storage->LayerColors().empty()) {
        const int answer = ShowMessageBox(
            LookupText("Не было определено ни одного пласта.") + u'\r'
                + LookupText("Показать окно определения пластов?"),
            LookupText("Невозможно раскрасить схему по пластам"), mb::YesNoCancel | mb::IconWarning);
        if (answer == idYes && m_handlers.contains(QStringLiteral("mnuMineLayers")))
            m_handlers.value(QStringLiteral("mnuMineLayers"))();
        if (m_storage->LayerColors().empty()) {
            CheckStandardColoring();
            return;
        }
    }
    m_plaToolAllowed = false;
    Action("mnuColorByLayers")->setChecked(true);
    FillLayerColors(Net, m_storage->LayerColors(), m_document->BranchColors);
    RefreshCommandStates();
    Redraw();
}

void TfrmMain::mnuColorByReveresClick()
{
    if (ReversalZoneCount(Net) == 0) {
        ShowMessageBox(LookupText("Нет выработок, помеченных как зона реверсирования."),
                       LookupText("Невозможно раскрасить схему по зонам реверсирования"), mb::Ok | mb::IconWarning);
        CheckStandardColoring();
        return;
    }
    m_plaToolAllowed = false;
    Action("mnuThickBr")->setChecked(false);
    Action("mnuColorByReveres")->setChecked(true);
    SetStandardColors();
    RefreshCommandStates();
    Redraw();
}

void TfrmMain::mnuNodeNoClick(QAction *item)
{
    // The item's check mark has been inverted by the click; the branch tool
    // buttons show the same actions, so they follow it.
    SetBranchLabelBits(Net, item->data().toInt(), item->isChecked());
    Redraw();
}

void TfrmMain::mnuPhonesClick()
{
    RefreshCommandStates();
    Redraw();
}

void TfrmMain::mnuTextsClick()
{
    RefreshCommandStates();
    Redraw();
}

void TfrmMain::SetAllLinearSymbols(bool shown)
{
    for (const char *name :
         {"mnuLSFireWaterShow", "mnuLSConveierShow", "mnuLSElectricShow", "mnuLSAirTrubShow", "mnuLSDeGaseShow"})
        Action(QString::fromLatin1(name))->setChecked(shown);
    Redraw();
}

// ---- Tasks and tools ------------------------------------------------------------

void TfrmMain::mnuWaysLenClick()
{
    const TMessage m = PathLengthMessage(Net);
    ShowMessageBox(m.Text, m.Caption, m.Flags);
}

void TfrmMain::mnuFixQHRClick()
{
    if (Action("mnuFixQHR")->isChecked())
        TakeQHRBaseline(Net);
    Redraw();
}

void TfrmMain::spbGridClick()
{
    m_options.GridIsOn = Action("spbGrid")->isChecked();
    Redraw();
}

void TfrmMain::mnuHelpContentsClick()
{
    ShowHelpTopic(HelpContents);
}

void TfrmMain::mnuAboutClick()
{
    TfrmAbout about(m_startFolder, this);
    about.exec();
}

void TfrmMain::mnuWWWHomeClick()
{
    OpenDocument(HomePageAddress);
}

// ---- View settings ------------------------------------------------------------

namespace {
const char *const ViewItems[] = {"mnuPhones",          "mnuTexts",          "mnuSymbols",
                                 "mnuLSFireWaterShow", "mnuLSConveierShow", "mnuLSElectricShow",
                                 "mnuLSAirTrubShow",   "mnuLSDeGaseShow"};

std::array<bool *, 8> ViewFlags(TViewSettings &v)
{
    return {&v.Phones, &v.Text, &v.Symbols, &v.LSFireWater, &v.LSConveier, &v.LSElectric, &v.LSAirTrub, &v.LSDeGase};
}
} // namespace

TToolbars TfrmMain::ToolBars() const
{
    TToolbars bars{};
    for (int i = 0; i < ToolbarCount; ++i)
        bars[i] = ToolBar(ToolbarPrefix(i));
    return bars;
}

void TfrmMain::ApplyViewSettings()
{
    // Values that are not stored take their defaults; tool bars keep their place.
    TViewSettings view;
    CaptureToolbars(ToolBars(), view);
    try {
        ::LoadViewSettings(m_programKey, view);
    } catch (...) {
    }
    const auto flags = ViewFlags(view);
    for (int i = 0; i < 8; ++i)
        Action(QString::fromLatin1(ViewItems[i]))->setChecked(*flags[i]);
    ApplyToolbars(this, ToolBars(), view);
}

void TfrmMain::StoreViewSettings()
{
    TViewSettings view;
    const auto flags = ViewFlags(view);
    for (int i = 0; i < 8; ++i)
        *flags[i] = Action(QString::fromLatin1(ViewItems[i]))->isChecked();
    CaptureToolbars(ToolBars(), view);
    ::SaveViewSettings(m_programKey, view);
}

QMenu *TfrmMain::createPopupMenu()
{
    auto *menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("ppmnuCtrlBar"));
    SetupToolbarPopup(menu, ToolBars());
    return menu;
}
