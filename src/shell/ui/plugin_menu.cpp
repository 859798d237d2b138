#include "shell/ui/plugin_menu.h"

#include "model/plugin_services.h"
#include "platform/canvas.h"
#include "platform/guard.h"
#include "platform/prompt.h"
#include "scheme/viewport.h"
#include "shell/main_commands.h"
#include "shell/scheme_ini.h"
#include "shell/scheme_storage.h"
#include "shell/ui/frm_main.h"

#include <QtCore/QCoreApplication>
#include <QtGui/QAction>
#include <QtWidgets/QMenu>

// What the exported functions ask of the program, answered by the main window.
class TMainWindowPluginServices : public TPluginServices
{
public:
    explicit TMainWindowPluginServices(TfrmMain &window) : m_window(window) {}

    void SetModified() override { m_window.SetModified(true); }
    bool NewObjectsIsFirstFree() const override { return m_window.Options().NewObjectsIsFirstFree; }
    void *Application() const override { return QCoreApplication::instance(); }
    void *MainForm() const override { return static_cast<QWidget *>(&m_window); }
    std::uintptr_t MainWindowHandle() const override { return m_window.winId(); }
    int CurrentBranch() const override { return m_window.CurrentBranch(); }

    void SetCanvasFont(const QString &name, int size, bool plain) override
    {
        TCanvas *canvas = m_window.DrawCanvas();
        if (!canvas)
            return;
        canvas->Font.Name = name;
        canvas->Font.Size = size;
        canvas->Font.Height = 0;
        if (plain) {
            canvas->Font.Charset = SchemeIniSettings.Charset;
            canvas->Font.Style = 0;
        }
    }

    QString SchemeFontName() const override { return ::SchemeFontName; }
    int LabelFontSize() const override
    {
        return LabelFontSizes[static_cast<std::size_t>(m_window.View().ZoomStep)];
    }

    // White on paper, else the scheme's background.
    TColor BackColor() const override
    {
        const TCanvas *canvas = m_window.DrawCanvas();
        return canvas && canvas->IsPrinter() ? RGBColor(255, 255, 255) : m_window.GetSchemeColor(0);
    }

    void ClearSymbolList() override { m_window.Storage().Doc.PictureSymbolList.clear(); }

private:
    TfrmMain &m_window;
};

TPluginHost *TPluginHost::Install(TfrmMain &window)
{
    auto *host = new TPluginHost(window);
    if (window.Options().LoadPluginsAtStartup)
        host->mnuPluginsClick(false);
    return host;
}

TPluginHost::TPluginHost(TfrmMain &window)
    : QObject(&window), m_window(window), m_services(std::make_unique<TMainWindowPluginServices>(window))
{
    setObjectName(QStringLiteral("PluginHost"));
    SetPluginServices(m_services.get());
    m_scanOnOpen = connect(window.PluginsMenu(), &QMenu::aboutToShow, this,
                           [this] { m_window.RunCommand([this] { mnuPluginsClick(true); }); });
}

TPluginHost::~TPluginHost()
{
    if (PluginServices() == m_services.get())
        SetPluginServices(nullptr);
}

void TPluginHost::mnuPluginsClick(bool byUser)
{
    if (m_scanned)
        return;
    // Whatever it finds, the folder is scanned once per run.
    m_scanned = true;
    disconnect(m_scanOnOpen);

    QMenu *menu = m_window.PluginsMenu();
    menu->clear();
    const QString folder = m_window.Options().PluginsLocation;
    std::vector<TMessage> refusals;
    m_plugins = ScanPluginFolder(folder, refusals);
    for (std::size_t i = 0; i < m_plugins.size(); ++i) {
        const TPlugin plugin = m_plugins[i];
        const auto run = [this, plugin] { Run(plugin); };
        // The first nine run by Ctrl+1 to Ctrl+9 through the window's actions;
        // the item is that action. Later ones have an item only.
        if (i < 9) {
            const QString name = QStringLiteral("Plugins%1").arg(i + 1);
            QAction *action = m_window.Action(name);
            action->setText(plugin.Caption);
            m_window.SetCommandHandler(name, run);
            menu->addAction(action);
        } else {
            QAction *item = menu->addAction(plugin.Caption);
            connect(item, &QAction::triggered, this, [this, run] { m_window.RunCommand(run); });
        }
    }
    // A scan at start waits with its messages until the window is up.
    m_window.ShowWhenStarted(refusals);
    if (m_plugins.empty() && byUser)
        ShowMessageBox(NoPluginsText(folder), LookupText(NoPluginsCaption), mb::Ok | mb::IconInformation);
}

void TPluginHost::Run(const TPlugin &plugin)
{
    // A plug-in reads the tables as the network's own state (the journal
    // takes its flows as measurements): a fire model's emergency flows must
    // not be there.
    if (m_window.ReleaseFireModel && !m_window.ReleaseFireModel())
        return;
    GuardedCall([&] { plugin.RunPlugIn(); });
    m_window.Redraw();
}
