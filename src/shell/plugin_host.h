#pragma once
// Plug-in libraries: every "*.so" in the plug-ins folder that exports both
// GetPlugName and RunPlugIn. A library is loaded with every symbol resolved,
// so one that needs a function the program does not export fails to load and
// is skipped like a file that is no library; one whose GetPlugName throws is
// skipped with an error message naming its file, handed to the caller to show
// when it may. Rejected libraries are released at once; accepted ones stay
// loaded for the rest of the run.
#include "platform/prompt.h"

#include <QtCore/QString>

#include <optional>
#include <vector>

class QLibrary;

using TRunPlugInFunction = void (*)();

struct TPlugin
{
    QString FileName;
    QString Caption;  // GetPlugName's text, read as code page 1251
    TRunPlugInFunction RunPlugIn = nullptr;
};

// Accepts a loaded library that offers both entry points; else releases it,
// adding the error box owed for it, if any, to refusals.
std::optional<TPlugin> RegisterPlugin(const QString &fileName, QLibrary &library, std::vector<TMessage> &refusals);
// The plug-ins of a folder (with a trailing "/" added), in file-name order,
// and the error boxes owed for the libraries refused.
std::vector<TPlugin> ScanPluginFolder(const QString &folder, std::vector<TMessage> &refusals);

// The information box of a scan started by the user that found nothing.
extern const QString NoPluginsCaption;
QString NoPluginsText(const QString &folder);
