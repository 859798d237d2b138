#include "model/plugin_services.h"

namespace {
TPluginServices *Installed = nullptr;
} // namespace

TPluginServices *PluginServices()
{
    return Installed;
}

TPluginServices *SetPluginServices(TPluginServices *services)
{
    TPluginServices *previous = Installed;
    Installed = services;
    return previous;
}
