#pragma once
// What the exported plug-in functions need of the program beyond the
// tables: the document's modified flag, the numbering setting, the main
// window and the canvas the scheme is being drawn on. The main window
// installs an implementation; without one the exports work on the tables
// alone and the services answer with nothing.
#include "platform/colors.h"

#include <QtCore/QString>

#include <cstdint>

class TPluginServices
{
public:
    virtual ~TPluginServices() = default;

    virtual void SetModified() = 0;
    // New numbers take the first free place (else the highest used + 1).
    virtual bool NewObjectsIsFirstFree() const = 0;
    virtual void *Application() const = 0;
    virtual void *MainForm() const = 0;
    virtual std::uintptr_t MainWindowHandle() const = 0;
    virtual int CurrentBranch() const = 0;
    // Font of the canvas being drawn on (nothing outside a drawing); plain
    // also resets the style.
    virtual void SetCanvasFont(const QString &name, int size, bool plain) = 0;
    virtual QString SchemeFontName() const = 0;
    // Label font size of the current zoom step, points.
    virtual int LabelFontSize() const = 0;
    virtual TColor BackColor() const = 0;
    virtual void ClearSymbolList() = 0;
};

// The services in force, null when none is installed.
TPluginServices *PluginServices();
// Installs services (nullptr removes them); returns the previous ones.
TPluginServices *SetPluginServices(TPluginServices *services);
