#pragma once
// The plug-in host of the main window: the services that the exported
// functions call, the scan of the plug-ins folder behind "Расширения" (once
// per run, at start when LoadPluginsAtStartup is on, else at the first
// opening of the menu), and running a plug-in from its item or Ctrl+1..9.
#include "shell/plugin_host.h"

#include <QtCore/QObject>

#include <memory>
#include <vector>

class TfrmMain;
class TMainWindowPluginServices;

class TPluginHost : public QObject
{
    Q_OBJECT

public:
    // Installs the host into the window, which owns it.
    static TPluginHost *Install(TfrmMain &window);
    ~TPluginHost() override;

    // The scan: fills the menu; byUser shows a message when nothing was
    // found. Later calls do nothing.
    void mnuPluginsClick(bool byUser);
    bool Scanned() const { return m_scanned; }
    const std::vector<TPlugin> &Plugins() const { return m_plugins; }
    // Runs a plug-in on the normal air distribution: a fire model is released
    // first, as "Воздухораспределение..." does, and when the user keeps it the
    // plug-in does not run. An error that leaves the plug-in is shown and the
    // program goes on. The scheme is redrawn afterwards: the plug-in may have changed the
    // tables.
    void Run(const TPlugin &plugin);

private:
    explicit TPluginHost(TfrmMain &window);

    TfrmMain &m_window;
    std::unique_ptr<TMainWindowPluginServices> m_services;
    std::vector<TPlugin> m_plugins;
    QMetaObject::Connection m_scanOnOpen;
    bool m_scanned = false;
};
