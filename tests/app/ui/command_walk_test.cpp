// The program put together as main() does, on a copy of the sample mine:
// every menu item and tool button of the main window is used once, and on
// the way the report preview, the report designer and the journal plug-in's
// window have theirs used once too. Whatever a command opens (message boxes,
// file and print dialogs, windows, popup menus) is closed again. The test
// fails when the program crashes, when an exception leaves a command, or when
// a command hangs (the CTest timeout); the command under way is written to
// the error output, so that the last line names the culprit.
#include "journal/vj_options.h"
#include "platform/help.h"
#include "platform/prompt.h"
#include "platform/ui/qt_prompt.h"
#include "program_wiring.h"
#include "report/engine.h"
#include "report/ui/frm_preview.h"
#include "report/ui/speed_button.h"
#include "shell/documents.h"
#include "shell/options_set.h"
#include "shell/ui/frm_main.h"

#include <QtCore/QDir>
#include <QtCore/QDirIterator>
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
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QToolBar>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QTreeWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <set>
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
};

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

void AddMenu(QMenu *menu, const QString &path, std::vector<TCommand> &commands, std::set<QAction *> &seen)
{
    // Menus filled as they open (recent files, plug-ins) fill now.
    emit menu->aboutToShow();
    for (QAction *action : menu->actions()) {
        if (action->isSeparator() || !seen.insert(action).second)
            continue;
        const QString name = path + QStringLiteral(" → ") + Plain(action->text());
        if (action->menu())
            AddMenu(action->menu(), name, commands, seen);
        else
            commands.push_back({name, action, nullptr});
    }
}

// The commands of a window in the order a user meets them: the menu bar,
// the tool bars, the tool buttons, then the popup menus; those that close the
// window come last.
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
            if (!action->isSeparator() && seen.insert(action).second)
                commands.push_back({QStringLiteral("tool bar: ") + Plain(action->text()), action, nullptr});
    for (QToolButton *button : window.findChildren<QToolButton *>())
        if (!button->defaultAction() || !seen.count(button->defaultAction()))
            commands.push_back({QStringLiteral("button: ") + button->objectName() + u' ' + button->toolTip(), nullptr,
                                button});
    for (QWidget *widget : window.findChildren<QWidget *>())
        if (dynamic_cast<TfrSpeedButton *>(widget))
            commands.push_back({QStringLiteral("button: ") + widget->objectName() + u' ' + widget->toolTip(), nullptr,
                                widget});
    for (QMenu *menu : window.findChildren<QMenu *>())
        if (!seen.count(menu->menuAction()))
            AddMenu(menu, QStringLiteral("popup ") + menu->objectName(), commands, seen);
    std::stable_partition(commands.begin(), commands.end(), [](const TCommand &c) { return !ClosesItsWindow(c.Name); });
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
            QAbstractButton *button = box->escapeButton();
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

// Uses one command. False when it threw.
bool Use(const QString &window, const TCommand &command)
{
    Say(QStringLiteral("%1: %2").arg(window, command.Name));
    try {
        if (command.Action) {
            if (command.Action->isEnabled() && command.Action->isVisible())
                command.Action->trigger();
        } else if (command.Button && command.Button->isEnabled() && command.Button->isVisible()) {
            QTest::mouseClick(command.Button, Qt::LeftButton, {}, command.Button->rect().center());
        }
    } catch (const std::exception &e) {
        ADD_FAILURE() << qPrintable(window) << ": " << qPrintable(command.Name) << " threw " << e.what();
        return false;
    } catch (...) {
        ADD_FAILURE() << qPrintable(window) << ": " << qPrintable(command.Name) << " threw";
        return false;
    }
    return true;
}

std::set<QWidget *> ShownWindows()
{
    std::set<QWidget *> shown;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible())
            shown.insert(w);
    return shown;
}

// Every command of the window once; before each, prepare (may be empty).
void Walk(TWindowCloser &closer, QWidget &window, const QString &name, const std::function<void()> &prepare = {})
{
    const std::vector<TCommand> commands = CommandsOf(window);
    EXPECT_FALSE(commands.empty()) << qPrintable(name);
    for (const TCommand &command : commands) {
        if (prepare)
            prepare();
        const std::set<QWidget *> before = ShownWindows();
        Use(name, command);
        closer.Settle(before);
    }
}

void CopyFolder(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + QDir(from).relativeFilePath(file).prepend(u'/');
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
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

        // The report manager opens the preview and the designer on a template
        // of the sample; each is walked once, the first time it opens.
        closer.VisitOnce(QStringLiteral("frmReports1"), [](QWidget &manager) {
            auto *list = manager.findChild<QTreeWidget *>();
            ASSERT_NE(list, nullptr);
            const auto chosen = list->findItems(QStringLiteral("Стандартный отчет без сетки.frf"), Qt::MatchExactly);
            ASSERT_FALSE(chosen.isEmpty());
            list->setCurrentItem(chosen.first());
            for (QAbstractButton *button : manager.findChildren<QAbstractButton *>())
                if (button->text() == QStringLiteral("Просмотр...") || button->text() == QStringLiteral("Изменить..."))
                    button->click();
        });
        closer.VisitOnce(QStringLiteral("TfrPreviewForm"),
                         [&closer](QWidget &preview) { Walk(closer, preview, QStringLiteral("preview")); });
        closer.VisitOnce(QStringLiteral("frDesignerForm"),
                         [&closer](QWidget &designer) { Walk(closer, designer, QStringLiteral("designer")); });
        closer.VisitOnce(QStringLiteral("frmKerstal"),
                         [&closer](QWidget &journalWindow) { Walk(closer, journalWindow, QStringLiteral("journal")); });

        // Each command of the main window starts from the sample as stored.
        Walk(closer, window, QStringLiteral("main window"), [&] {
            if (BranchCount(Net) == sampleBranches && !window.Document().Modified())
                return;
            window.SetModified(false);
            window.Document().OpenFile(sample);
        });
        for (const char *kind : {"frmReports1", "TfrPreviewForm", "frDesignerForm", "frmKerstal"})
            EXPECT_TRUE(closer.Visited(QString::fromLatin1(kind))) << kind;
        window.SetModified(false);
    }
    RemoveProgramServices();
    SetDocumentOpener({});
    SetPrompt(previousPrompt);
}
