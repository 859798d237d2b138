// The program put together as main() does, on a copy of the sample mine:
// every menu item and tool button of the main window is used once, and on
// the way the report preview, the report designer and the journal plug-in's
// window have theirs used once too. Each command gets what a user would give
// it first (a branch clicked for a scheme tool, a fire modelled before the
// routes, a text selected and the tool bars shown in the designer). Whatever
// a command opens (message boxes, file and print dialogs, windows, popup
// menus) is answered "No" where it asks and closed again. The test
// fails when the program crashes, when an exception leaves a command or
// reaches the program's error guard, when a command that is enabled cannot be
// given (its button is not shown), or when a command hangs (the CTest
// timeout); the command under way is written to the error output, so that the
// last line names the culprit. A command disabled where the walk meets it is
// named in the output, and the end says how many commands each window gave.
#include "copy_folder.h"
#include "designer/design_editing_rules.h"
#include "designer/design_state.h"
#include "designer/ui/design_page.h"
#include "designer/ui/frm_designer.h"
#include "designer/ui/frm_insp.h"
#include "emergency/ui/frm_pojar.h"
#include "emergency/ui/frm_puti.h"
#include "journal/vj_options.h"
#include "model/network.h"
#include "platform/exceptions.h"
#include "platform/guard.h"
#include "platform/help.h"
#include "platform/prompt.h"
#include "platform/ui/qt_prompt.h"
#include "program_wiring.h"
#include "report/engine.h"
#include "report/report.h"
#include "report/report_document.h"
#include "report/ui/frm_preview.h"
#include "report/ui/speed_button.h"
#include "scheme/mouse_tools.h"
#include "scheme/ui/scheme_paint_box.h"
#include "shell/documents.h"
#include "shell/options_set.h"
#include "shell/ui/frm_main.h"
#include "shell/ui/scheme_tools.h"

#include <QtCore/QDir>
#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QPointer>
#include <QtCore/QTemporaryDir>
#include <QtCore/QTimer>
#include <QtGui/QAction>
#include <QtTest/QTest>
#include <QtWidgets/QAbstractButton>
#include <QtWidgets/QApplication>
#include <QtWidgets/QDialog>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QStackedWidget>
#include <QtWidgets/QTabBar>
#include <QtWidgets/QToolBar>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QTreeWidget>
#include <QtWidgets/QWidgetAction>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <vector>

namespace {

void Say(const QString &line)
{
    std::fprintf(stderr, "%s\n", qPrintable(line));
    std::fflush(stderr);
}

// One command a user can give: a menu item or a tool button.
struct TCommand
{
    QString Name;                  // menu path or hint, for the messages
    QPointer<QAction> Action;      // a menu item or a tool bar's action
    QPointer<QWidget> Button;      // a tool button without an action
    std::vector<QPointer<QAction>> Menus;  // the menus the item is in, outermost first

    // Whether a user can give it now: its control and the menus on the way enabled.
    bool Enabled() const
    {
        const auto on = [](const QPointer<QAction> &menu) { return menu && menu->isEnabled(); };
        if (!std::all_of(Menus.begin(), Menus.end(), on))
            return false;
        return Action ? Action->isEnabled() : Button && Button->isEnabled();
    }
};

// What the walk met: how many commands each window gave, those it found
// disabled, and the faults that fail it.
struct TWalkRecord
{
    std::map<QString, int> Given;
    std::map<QString, QStringList> Disabled;
    QStringList Faults;
    QString Current;  // "window: command" under way, innermost
};

TWalkRecord *Record = nullptr;
QtMessageHandler PreviousHandler = nullptr;

// The guard writes every error it catches to its log category; the program's
// and the plug-in's copies of it alike, as the log is Qt's own.
void WatchGuard(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (Record && context.category && qstrcmp(context.category, "tunvex.guard") == 0)
        Record->Faults << QStringLiteral("%1: an error reached the error guard: %2").arg(Record->Current, message);
    if (PreviousHandler)
        PreviousHandler(type, context, message);
}

// Records the walk while it lives.
class TWalkScope
{
public:
    explicit TWalkScope(TWalkRecord &record)
    {
        Record = &record;
        PreviousHandler = qInstallMessageHandler(WatchGuard);
    }
    ~TWalkScope()
    {
        qInstallMessageHandler(PreviousHandler);
        Record = nullptr;
    }
    TWalkScope(const TWalkScope &) = delete;
    TWalkScope &operator=(const TWalkScope &) = delete;
};

// Qt's own helpers (the overflow arrows of menu and tool bars, a tab bar's
// scroll arrows) are not commands.
bool QtHelper(const QWidget &button)
{
    return button.objectName().startsWith(QStringLiteral("qt_")) || qobject_cast<QTabBar *>(button.parentWidget());
}

bool ClosesItsWindow(const QString &name)
{
    static const QStringList closing = {QStringLiteral("Выход"), QStringLiteral("Закрыть"),
                                        QStringLiteral("Exit"), QStringLiteral("Quit")};
    return std::any_of(closing.begin(), closing.end(), [&](const QString &word) { return name.contains(word); });
}

QString Plain(QString text)
{
    return text.remove(u'&');
}

void AddMenu(QMenu *menu, const QString &path, std::vector<TCommand> &commands, std::set<QAction *> &seen,
             std::vector<QPointer<QAction>> menus = {})
{
    menus.emplace_back(menu->menuAction());
    // Menus filled as they open (recent files, plug-ins) fill now.
    emit menu->aboutToShow();
    for (QAction *action : menu->actions()) {
        if (action->isSeparator() || !seen.insert(action).second)
            continue;
        const QString name = path + QStringLiteral(" → ") + Plain(action->text());
        if (action->menu())
            AddMenu(action->menu(), name, commands, seen, menus);
        else
            commands.push_back({name, action, nullptr, menus});
    }
}

// The commands of a window in the order a user meets them: the menu bar,
// the tool bars, the keys, the tool buttons, then the popup menus.
std::vector<TCommand> CommandsOf(QWidget &window)
{
    std::vector<TCommand> commands;
    std::set<QAction *> seen;
    for (QMenuBar *bar : window.findChildren<QMenuBar *>())
        for (QAction *top : bar->actions())
            if (top->menu() && seen.insert(top).second)
                AddMenu(top->menu(), Plain(top->text()), commands, seen);
    for (QToolBar *bar : window.findChildren<QToolBar *>())
        for (QAction *action : bar->actions())
            // A control on a tool bar (the zoom box) is no command of its own.
            if (!action->isSeparator() && !qobject_cast<QWidgetAction *>(action) && seen.insert(action).second)
                commands.push_back({QStringLiteral("tool bar: ") + Plain(action->text()), action, nullptr, {}});
    // Commands given by their keys alone.
    for (QAction *action : window.actions())
        if (!action->isSeparator() && !action->shortcut().isEmpty() && seen.insert(action).second)
            commands.push_back({QStringLiteral("key %1: %2").arg(action->shortcut().toString(), Plain(action->text())),
                                action, nullptr, {}});
    for (QToolButton *button : window.findChildren<QToolButton *>())
        if (!QtHelper(*button) && (!button->defaultAction() || !seen.count(button->defaultAction())))
            commands.push_back({QStringLiteral("button: ") + button->objectName() + u' ' + button->toolTip(), nullptr,
                                button, {}});
    for (QWidget *widget : window.findChildren<QWidget *>())
        if (dynamic_cast<TfrSpeedButton *>(widget))
            commands.push_back({QStringLiteral("button: ") + widget->objectName() + u' ' + widget->toolTip(), nullptr,
                                widget, {}});
    for (QMenu *menu : window.findChildren<QMenu *>())
        if (!seen.count(menu->menuAction()))
            AddMenu(menu, QStringLiteral("popup ") + menu->objectName(), commands, seen);
    return commands;
}

// Closes every modal window, message box and popup menu that a command
// opens, from inside its event loop, except the windows being walked. A
// window of a kind that has a visit waiting gets the visit first.
class TWindowCloser
{
public:
    using TVisit = std::function<void(QWidget &)>;

    TWindowCloser()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Tick(); });
        m_timer.start();
    }

    // kind: the window's object name, or its class name when it has none;
    // "TfrPreviewForm" for the program's preview.
    void VisitOnce(const QString &kind, TVisit visit) { m_visits[kind] = std::move(visit); }
    bool Visited(const QString &kind) const { return m_done.count(kind) > 0; }
    bool Walking(const QWidget *w) const { return std::find(m_walking.begin(), m_walking.end(), w) != m_walking.end(); }

    // A window shown without a loop of its own is visited or closed here.
    void Settle(const std::set<QWidget *> &before)
    {
        QApplication::processEvents();
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible() && !before.count(w) && !Walking(w) && !w->isModal() && !qobject_cast<QMenu *>(w))
                Handle(w, false);
    }

    static void Close(QWidget *w)
    {
        if (auto *box = qobject_cast<QMessageBox *>(w)) {
            Say(QStringLiteral("  message: %1").arg(box->text().simplified()));
            // "No" where there is one: a question on closing ("Сохранить
            // изменения?") lets the window go without writing, where "Cancel"
            // would keep a window that the walk must close open.
            QAbstractButton *button = nullptr;
            for (QAbstractButton *b : box->buttons())
                if (!button && box->buttonRole(b) == QMessageBox::NoRole)
                    button = b;
            if (!button)
                button = box->escapeButton();
            if (!button)
                button = box->defaultButton();
            if (!button && !box->buttons().isEmpty())
                button = box->buttons().first();
            if (button) {
                button->click();
                return;
            }
        }
        Say(QStringLiteral("  closing: %1 %2").arg(QString::fromLatin1(w->metaObject()->className()), w->windowTitle()));
        if (auto *dialog = qobject_cast<QDialog *>(w))
            dialog->reject();
        else
            w->close();
    }

private:
    static QString Kind(QWidget *w)
    {
        if (dynamic_cast<TfrPreviewForm *>(w))
            return QStringLiteral("TfrPreviewForm");
        return w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
    }

    void Tick()
    {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            popup->close();
            return;
        }
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && !Walking(modal))
            Handle(modal, true);
    }

    void Handle(QWidget *w, bool later)
    {
        const QString kind = Kind(w);
        const auto it = m_visits.find(kind);
        if (it == m_visits.end()) {
            Close(w);
            return;
        }
        TVisit visit = std::move(it->second);
        m_visits.erase(it);
        m_done.insert(kind);
        m_walking.push_back(w);
        QPointer<QWidget> window(w);
        const auto run = [this, visit, window] {
            Say(QStringLiteral("visiting %1").arg(Kind(window)));
            if (window)
                visit(*window);
            m_walking.erase(std::remove(m_walking.begin(), m_walking.end(), window.data()), m_walking.end());
            if (window && window->isVisible())
                Close(window);
        };
        // A timer is not fired again while its own handler runs, so the visit
        // runs from a timer of its own and this one goes on closing what the
        // visit opens.
        if (later)
            QTimer::singleShot(0, run);
        else
            run();
    }

    QTimer m_timer;
    std::map<QString, TVisit> m_visits;
    std::set<QString> m_done;
    std::vector<QWidget *> m_walking;
};

enum class TUse { Given, Disabled, Fault };

// Gives one command, unless it is disabled, then answer (may be empty) does
// what it asks for; a fault is recorded in the walk.
TUse Use(const QString &window, const TCommand &command, const std::function<void()> &answer)
{
    Say(QStringLiteral("%1: %2").arg(window, command.Name));
    const QString where = window + QStringLiteral(": ") + command.Name;
    if (!command.Action && !command.Button) {
        Record->Faults << where + QStringLiteral(": the command went away before it was given");
        return TUse::Fault;
    }
    if (!command.Enabled()) {
        Say(QStringLiteral("  disabled"));
        return TUse::Disabled;
    }
    if (command.Button && !command.Button->isVisible()) {
        Record->Faults << where + QStringLiteral(": enabled, but its button is not shown");
        return TUse::Fault;
    }
    const QString outer = std::exchange(Record->Current, where);
    try {
        if (command.Action)
            command.Action->trigger();
        else
            QTest::mouseClick(command.Button, Qt::LeftButton, {}, command.Button->rect().center());
        if (answer)
            answer();
    } catch (...) {
        Record->Faults << where + QStringLiteral(": threw ") + CurrentExceptionText();
    }
    Record->Current = outer;
    ++Record->Given[window];
    return TUse::Given;
}

std::set<QWidget *> ShownWindows()
{
    std::set<QWidget *> shown;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible())
            shown.insert(w);
    return shown;
}

// Every command of the window once (those named in `only`, when given);
// before each, prepare gives the window what the command needs, and after
// it, answer does what the command then asks for (either may be empty). A
// command disabled where the walk meets it gets a second try once the others
// were given (an undo once there is something to undo); those that close the
// window come last. Returns the closing commands left because the window had
// closed: a walk of the window opened again gives them.
QStringList Walk(TWindowCloser &closer, QWidget &window, const QString &name,
                 const std::function<void(const TCommand &)> &prepare = {},
                 const std::function<void()> &answer = {}, const QStringList *only = nullptr)
{
    std::vector<TCommand> commands = CommandsOf(window);
    if (only)
        std::erase_if(commands, [only](const TCommand &c) { return !only->contains(c.Name); });
    if (commands.empty())
        Record->Faults << name + QStringLiteral(": no commands found");
    const auto give = [&](const TCommand &command) {
        if (prepare && (command.Action || command.Button))
            prepare(command);
        const std::set<QWidget *> before = ShownWindows();
        const TUse used = Use(name, command, answer);
        closer.Settle(before);
        return used;
    };
    std::vector<TCommand> disabled, closing;
    for (const TCommand &command : commands)
        if (ClosesItsWindow(command.Name))
            closing.push_back(command);
        else if (give(command) == TUse::Disabled)
            disabled.push_back(command);
    for (const TCommand &command : disabled)
        if (give(command) == TUse::Disabled)
            Record->Disabled[name] << command.Name;
    QStringList left;
    for (const TCommand &command : closing) {
        if (!window.isVisible())
            left << command.Name;
        else if (give(command) == TUse::Disabled)
            Record->Disabled[name] << command.Name;
    }
    return left;
}

// After a designer command: a help pick ("Подсказка", the help button) waits
// for a click on a control; the page is clicked.
void AnswerDesigner(QWidget &window)
{
    auto *designer = dynamic_cast<TfrDesignerForm *>(&window);
    if (!designer || QWidget::mouseGrabber() != designer)
        return;
    Say(QStringLiteral("  click on the page"));
    QTest::mouseClick(designer->PageView, Qt::LeftButton, {}, QPoint(5, 5));
}

// A window whose commands are all walked in one visit.
void WalkWhole(TWindowCloser &closer, QWidget &window, const QString &name)
{
    for (const QString &command : Walk(closer, window, name))
        Record->Faults << QStringLiteral("%1: %2: not given, the window had closed").arg(name, command);
}

// The middle of a straight branch of the scheme, on the paint box.
std::optional<QPoint> BranchOnScreen(TfrmMain &window)
{
    const TViewport &view = window.View();
    const QRect box = window.PaintBox()->rect();
    for (int n = 1; n <= MaxBranchNo(Net); ++n) {
        if (!BranchExist(Net, n) || InnerTurnCount(Net, n) != 0)
            continue;
        const int from = Net.BranchStartNode[n], to = Net.BranchEndNode[n];
        const QPoint a(view.ScreenX(Net.NodeX[from]), view.ScreenY(Net.NodeY[from]));
        const QPoint b(view.ScreenX(Net.NodeX[to]), view.ScreenY(Net.NodeY[to]));
        const QPoint middle = (a + b) / 2;
        if ((a - b).manhattanLength() > 40 && box.contains(middle))
            return middle;
    }
    return std::nullopt;
}

// A click on a branch of the scheme, as the tools ask for.
void ClickBranch(TfrmMain &window)
{
    const std::optional<QPoint> branch = BranchOnScreen(window);
    if (!branch) {
        Record->Faults << QStringLiteral("main window: no branch of the sample on the screen to click");
        return;
    }
    Say(QStringLiteral("  click on the scheme"));
    QTest::mouseMove(window.PaintBox(), *branch);
    QTest::mouseClick(window.PaintBox(), Qt::LeftButton, {}, *branch);
}

// A fire modelled with the tool bar's "Моделирование пожара" on a branch.
void ModelFire(TfrmMain &window)
{
    Say(QStringLiteral("  a fire modelled first"));
    window.Action(QStringLiteral("tbtnFireModelling"))->trigger();
    ClickBranch(window);
    window.Action(QStringLiteral("sbtnArrow"))->trigger();
}

// The route wizard of the rescue teams run to its end ("Готово"): the surface
// nodes are tried as its start until one gives a route (on the sample the
// fire's gas zone may leave none); "Готово" is pressed either way.
void FindRoute(TWindowCloser &closer, TfrmMain &window)
{
    QList<int> surface;
    for (int b = 1; b <= MaxBranchNo(Net); ++b)
        if (BranchExist(Net, b))
            for (const int n : {int(Net.BranchStartNode[b]), int(Net.BranchEndNode[b])})
                if (Net.NodeIsSurface[n] && !surface.contains(n))
                    surface << n;
    Say(QStringLiteral("  a route found first"));
    closer.VisitOnce(QStringLiteral("TfrmPuti"), [surface](QWidget &) {
        ASSERT_NE(frmPuti, nullptr);
        for (const int node : surface) {
            frmPuti->edStart->setText(QString::number(node));
            QTest::mouseClick(frmPuti->btnNext, Qt::LeftButton);
            if (frmPuti->Pages->currentIndex() == TfrmPuti::pgRoute)
                break;
        }
        QTest::mouseClick(frmPuti->btnDone, Qt::LeftButton);
    });
    window.Action(QStringLiteral("mnuLikvAvar"))->trigger();
}

// The designer's text object: the first one of its page.
TfrView *MemoOn(TfrPage &page)
{
    for (auto &view : page.TemplateObjects)
        if (view->ReportObjectType == gtMemo)
            return view.get();
    return nullptr;
}

// Before each designer command: every tool bar shown, as "Панели инструментов"
// shows them, the first text object alone selected, by a click on it, and for
// the inspector's button the text's row chosen.
void PrepareDesigner(QWidget &window, const QString &templateFile, const TCommand &command)
{
    auto *designer = dynamic_cast<TfrDesignerForm *>(&window);
    if (!designer)
        return;
    for (QMenu *menu : designer->findChildren<QMenu *>())
        if (Plain(menu->title()) == QStringLiteral("Панели инструментов"))
            for (QAction *bar : menu->actions())
                if (bar->isCheckable() && !bar->isChecked())
                    bar->trigger();
    // Back to the first page, which has the texts, from one that was added.
    if (designer->Tab1->currentIndex() != 0 && designer->Tab1->count() > 0)
        QTest::mouseClick(designer->Tab1, Qt::LeftButton, {}, designer->Tab1->tabRect(0).center());
    TfrView *memo = designer->Page ? MemoOn(*designer->Page) : nullptr;
    // A command that removed the texts (a new report, a page cleared) leaves
    // the next one the template as the walk found it, read again as
    // "Открыть..." does.
    auto *report = dynamic_cast<TfrReport *>(CurrentDocument());
    if (!memo && report) {
        Say(QStringLiteral("  the template read again"));
        report->LoadFromFile(templateFile);
        designer->ClearUndo();
        designer->ClearRedo();
        designer->SetFileName(templateFile);
        designer->FileModified = false;
        designer->SetPage(0);
        memo = designer->Page ? MemoOn(*designer->Page) : nullptr;
    }
    if (!memo)
        return;
    if (SelectedCount != 1 || !memo->Selected) {
        // What a click on an empty place does, where the sample's page has none.
        designer->ResetSelection();
        const QPoint at(memo->Left + 5, memo->Top + 5);
        QTest::mouseMove(designer->PageView, at);
        QTest::mouseClick(designer->PageView, Qt::LeftButton, {}, at);
    }
    // The inspector's "..." opens the text editor from the text's row.
    TfrInspForm *inspector = designer->Inspector;
    if (command.Button && command.Button->parentWidget() == inspector->PaintBox && inspector->ItemIndex != irMemo)
        QTest::mouseClick(inspector->PaintBox, Qt::LeftButton, {},
                          QPoint(10, inspector->RowHeight * irMemo + inspector->RowHeight / 2));
}

// How many commands each window gave, and which it found disabled.
void Summarize(const TWalkRecord &record)
{
    Say(QStringLiteral("commands given:"));
    for (const auto &[window, given] : record.Given) {
        const QStringList disabled = record.Disabled.count(window) ? record.Disabled.at(window) : QStringList();
        Say(QStringLiteral("  %1: %2 given, %3 disabled").arg(window).arg(given).arg(disabled.size()));
        for (const QString &name : disabled)
            Say(QStringLiteral("    disabled: ") + name);
    }
}

} // namespace

TEST(ProgramCommands, EveryCommandOfEveryWindowOnTheSampleMine)
{
    // The program folder: the sample's data, and the journal plug-in.
    QTemporaryDir program;
    ASSERT_TRUE(program.isValid());
    CopyFolder(QStringLiteral(TUNVEX_SOURCE_DIR "/data"), program.path());
    QDir(program.path()).mkpath(QStringLiteral("Plugins"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KERSTAL_PLUGIN), program.filePath(QStringLiteral("Plugins/Kerstal.so"))));
    const QString sample = program.filePath(QStringLiteral("Шахты/Демо.mine"));
    ASSERT_TRUE(QFile::exists(sample));
    TVJOptionSet journal;
    journal.CurDir = program.filePath(QStringLiteral("Шахты"));
    journal.TypeVJ = program.filePath(QStringLiteral("Отчеты/Вентжурнал.frf"));
    journal.Write();

    TQtPrompt prompt;
    TPrompt *previousPrompt = SetPrompt(&prompt);
    TfrEngineScope reportEngine;
    InstallProgramServices();
    // Help and web pages would start the desktop's programs.
    QStringList opened;
    SetDocumentOpener([&opened](const QString &target) {
        opened << target;
        return true;
    });
    TWalkRecord record;
    TWalkScope walking(record);
    TWindowCloser closer;
    {
        TfrmMain window({sample}, program.path());
        TOptionsSet &options = window.Options();
        options.MinesLocation = program.filePath(QStringLiteral("Шахты"));
        options.ReportsLocation = program.filePath(QStringLiteral("Отчеты"));
        options.FanLocations = program.filePath(QStringLiteral("Вентиляторы"));
        options.PluginsLocation = program.filePath(QStringLiteral("Plugins"));
        options.SymbolsLocation = program.filePath(QStringLiteral("Символы"));
        options.PLALocationFolder = program.filePath(QStringLiteral("PLA"));
        InstallMainWindowCommands(window);
        window.show();
        window.FormActivate();
        QApplication::processEvents();
        const int sampleBranches = BranchCount(Net);
        ASSERT_GT(sampleBranches, 10);

        // The designer, walked on the template it opens; it opens a second
        // time for the closing command that the first walk could not give
        // once the window had closed.
        const auto visitDesigner = [&closer](QWidget &designer) {
            // The sample's template, as the designer opened it.
            const QString templateFile = dynamic_cast<TfrDesignerForm &>(designer).FileName;
            ASSERT_TRUE(QFileInfo::exists(templateFile)) << qPrintable(templateFile);
            const auto prepare = [templateFile](QWidget &form) {
                return [&form, templateFile](const TCommand &command) { PrepareDesigner(form, templateFile, command); };
            };
            const auto answer = [](QWidget &form) { return [&form] { AnswerDesigner(form); }; };
            const QStringList left =
                Walk(closer, designer, QStringLiteral("designer"), prepare(designer), answer(designer));
            if (left.isEmpty())
                return;
            closer.VisitOnce(QStringLiteral("frDesignerForm"), [&closer, prepare, answer, left](QWidget &again) {
                for (const QString &command :
                     Walk(closer, again, QStringLiteral("designer"), prepare(again), answer(again), &left))
                    Record->Faults << QStringLiteral("designer: %1: not given, the window had closed").arg(command);
            });
        };
        // The report manager opens the preview, then the designer, on a
        // template of the sample. The designer that the preview's page
        // editing opens is only closed.
        closer.VisitOnce(QStringLiteral("frmReports1"), [&closer, visitDesigner](QWidget &manager) {
            auto *list = manager.findChild<QTreeWidget *>();
            ASSERT_NE(list, nullptr);
            const auto chosen = list->findItems(QStringLiteral("Стандартный отчет без сетки.frf"), Qt::MatchExactly);
            ASSERT_FALSE(chosen.isEmpty());
            list->setCurrentItem(chosen.first());
            const auto press = [&manager](const QString &caption) {
                for (QAbstractButton *button : manager.findChildren<QAbstractButton *>())
                    if (button->text() == caption && button->isEnabled())
                        button->click();
            };
            press(QStringLiteral("Просмотр..."));
            closer.VisitOnce(QStringLiteral("frDesignerForm"), visitDesigner);
            press(QStringLiteral("Изменить..."));
            press(QStringLiteral("Изменить..."));
        });
        // The preview's page items are in its menu when a page is right-clicked.
        closer.VisitOnce(QStringLiteral("TfrPreviewForm"), [&closer](QWidget &window) {
            auto &preview = dynamic_cast<TfrPreviewForm &>(window);
            const auto prepare = [&preview](const TCommand &command) {
                if (command.Action && preview.ProcMenu->actions().contains(command.Action) && !command.Enabled())
                    QTest::mouseClick(preview.PageBox, Qt::RightButton, {}, preview.PageBox->rect().center());
            };
            for (const QString &command : Walk(closer, preview, QStringLiteral("preview"), prepare))
                Record->Faults << QStringLiteral("preview: %1: not given, the window had closed").arg(command);
        });
        closer.VisitOnce(QStringLiteral("frmKerstal"),
                         [&closer](QWidget &journalWindow) { WalkWhole(closer, journalWindow, QStringLiteral("journal")); });

        // Each command of the main window starts from the sample as stored.
        // Commands that a user can give only after another one.
        const std::map<QString, QString> firstGive = {
            {QStringLiteral("EditPlacePLALabel"), QStringLiteral("mnuPLA")},
            {QStringLiteral("tbtnPlaceTelephone"), QStringLiteral("mnuPhones")},
            {QStringLiteral("tbtnText"), QStringLiteral("mnuTexts")},
        };
        const QStringList routeCommands = {
            QStringLiteral("TaskWorkersEvacuate"), QStringLiteral("pTaskWorkersEvacuate"), QStringLiteral("mnuRazv"),
            QStringLiteral("mnuLikvAvar"), QStringLiteral("mnuTransp"), QStringLiteral("spbtnWays")};
        TTool tool = TTool::Default;
        const QStringList left = Walk(
            closer, window, QStringLiteral("main window"),
            [&](const TCommand &command) {
                if (BranchCount(Net) != sampleBranches || window.Document().Modified()) {
                    window.SetModified(false);
                    window.Document().OpenFile(sample);
                }
                const QString name = command.Action ? command.Action->objectName() : QString();
                const auto first = firstGive.find(name);
                if (first != firstGive.end() && !command.Enabled())
                    window.Action(first->second)->trigger();
                // The tool bar's Save is there while the scheme has changes.
                if (name == QStringLiteral("bbtnSave"))
                    window.SetModified(true);
                // Routes are found around a fire modelled first, "Вернуться к
                // маршрутам" once a route was found.
                if (routeCommands.contains(name) && !(frmPojar && !frmPojar->Zone1().empty()))
                    ModelFire(window);
                if (name == QStringLiteral("spbtnWays") && !command.Enabled())
                    FindRoute(closer, window);
                tool = window.SchemeTools().Tools().Tool();
            },
            [&] {
                // A tool that the command chose waits for a click on the scheme.
                const TTool chosen = window.SchemeTools().Tools().Tool();
                if (chosen == tool || chosen == TTool::Default)
                    return;
                ClickBranch(window);
            });
        for (const QString &command : left)
            record.Faults << QStringLiteral("main window: %1: not given, the window had closed").arg(command);
        for (const char *kind : {"frmReports1", "TfrPreviewForm", "frDesignerForm", "frmKerstal"})
            EXPECT_TRUE(closer.Visited(QString::fromLatin1(kind))) << kind;
        window.SetModified(false);
    }
    Summarize(record);
    for (const char *name : {"main window", "preview", "designer", "journal"})
        EXPECT_GT(record.Given[QString::fromUtf8(name)], 0) << name;
    for (const QString &fault : record.Faults)
        ADD_FAILURE() << qPrintable(fault);
    RemoveProgramServices();
    SetDocumentOpener({});
    SetPrompt(previousPrompt);
}

// The walk itself, on a window whose commands fail on purpose: each fault is
// named with its command; a message the program means to show, a disabled
// command and a sound one are not faults.
TEST(ProgramCommands, TheWalkNamesEachCommandThatFails)
{
    TQtPrompt prompt;
    TPrompt *previousPrompt = SetPrompt(&prompt);
    TWalkRecord record;
    {
        TWalkScope walking(record);
        TWindowCloser closer;
        QMainWindow window;
        QMenu *tasks = window.menuBar()->addMenu(QStringLiteral("Задачи"));
        tasks->addAction(QStringLiteral("Сбой"), [] { GuardedCall([] { throw std::out_of_range("vector::at"); }); });
        tasks->addAction(QStringLiteral("Ошибка файла"),
                         [] { GuardedCall([] { throw EFOpenError(QStringLiteral("Файл не удается открыть")); }); });
        tasks->addAction(QStringLiteral("Расчет"), [] {
            ShowMessageBox(QStringLiteral("Расчет невозможен. В сети отсутствует источник тяги."), ApplicationTitle,
                           mb::Ok | mb::IconError);
        });
        tasks->addAction(QStringLiteral("Недоступна"))->setEnabled(false);
        int given = 0;
        window.addToolBar(QStringLiteral("Сервис"))->addAction(QStringLiteral("Работает"), [&given] { ++given; });
        // An enabled button that no user can reach.
        auto *panel = new QWidget(&window);
        auto *hidden = new QToolButton(panel);
        hidden->setObjectName(QStringLiteral("HiddenB"));
        panel->hide();
        window.show();

        Walk(closer, window, QStringLiteral("test"));
        EXPECT_EQ(given, 1);
    }
    SetPrompt(previousPrompt);

    const auto faultsOf = [&record](const QString &command) {
        return record.Faults.filter(QStringLiteral("test: ") + command).size();
    };
    EXPECT_EQ(record.Faults.size(), 3) << qPrintable(record.Faults.join(u'\n'));
    EXPECT_EQ(faultsOf(QStringLiteral("Задачи → Сбой: an error reached the error guard: vector::at")), 1);
    EXPECT_EQ(faultsOf(QStringLiteral("Задачи → Ошибка файла: an error reached the error guard")), 1);
    EXPECT_EQ(faultsOf(QStringLiteral("button: HiddenB")), 1);
    EXPECT_EQ(record.Given[QStringLiteral("test")], 4);
    EXPECT_EQ(record.Disabled[QStringLiteral("test")], QStringList{QStringLiteral("Задачи → Недоступна")});
}
