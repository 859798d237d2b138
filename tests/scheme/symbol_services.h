#pragma once
// Program services as the built-in symbols read them: a fixed background
// colour and branch being drawn, installed for the life of the object.
#include "model/plugin_services.h"

class TSymbolTestServices : public TPluginServices
{
public:
    TSymbolTestServices(TColor back, int branch) : m_back(back), m_branch(branch), m_old(SetPluginServices(this)) {}
    ~TSymbolTestServices() override { SetPluginServices(m_old); }

    void SetModified() override {}
    bool NewObjectsIsFirstFree() const override { return true; }
    void *Application() const override { return nullptr; }
    void *MainForm() const override { return nullptr; }
    std::uintptr_t MainWindowHandle() const override { return 0; }
    int CurrentBranch() const override { return m_branch; }
    void SetCanvasFont(const QString &, int, bool) override {}
    QString SchemeFontName() const override { return QStringLiteral("Arial"); }
    int LabelFontSize() const override { return 8; }
    TColor BackColor() const override { return m_back; }
    void ClearSymbolList() override {}

private:
    TColor m_back;
    int m_branch;
    TPluginServices *m_old;
};
