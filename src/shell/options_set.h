#pragma once
// The program settings: scheme colours, folders and switches. The main window
// holds one TOptionsSet for the whole run, loads it when it is created, lets
// the options window edit it and saves it when it is destroyed.
#include "model/scheme_colors.h"

#include <QtCore/QString>

// The settings key of one installation: every installation keeps its own
// settings under the key built from its program path.
QString BuildProgramKey(const QString &programPath);
QString SettingsKey(const QString &programKey);

class TOptionsSet
{
public:
    // A set with the defaults.
    TOptionsSet() { CreateDefaults(); }
    // Resets every field to its default; the folders lie in the program folder.
    void CreateDefaults();

    // Registers the scheme file type for the user, then reads the settings
    // key of the installation. A missing key, or any value that cannot be
    // read, leaves the whole set at its defaults.
    void Load(const QString &programKey);
    // Writes every value, creating the key when missing. Throws ESettingsError.
    void Save(const QString &programKey) const;
    // Save as the program closes: a failure is shown through the prompt and
    // never keeps the program from ending. False when it failed.
    bool SaveAtClose(const QString &programKey) const noexcept;

    TSchemeColors Colors{};
    bool LoadPluginsAtStartup = true;
    bool GridIsOn = false;
    bool SnapToGrid = false;
    bool ShowSheet = false;
    bool RealTimeActive = false;
    bool NewObjectsIsFirstFree = true;
    int FireTime = 90;  // minutes
    int GridStep = 10;  // scheme units
    QString SymbolsLocation;
    QString MinesLocation;
    QString ReportsLocation;
    QString FanLocations;
    QString PluginsLocation;
    QString PLALocationFolder;
    int ReportStyle = 1;  // 0 by branches, 1 by nodes
    QString Password;
    bool UseRussianSpeeds = false;
    bool AskPasswordAtStartup = false;
    bool MapOn = false;
};
