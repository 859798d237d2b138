#pragma once
// The mouse tools on the main window's paint box: the buttons of the drawing
// bar choose a tool, the paint box's mouse events go to it, and the tools
// reach the main window's dialogs, menus and status line through here. Also
// the command "Сдвинуть схему".
#include "scheme/mouse_tools.h"

#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtWidgets/QMenu>

class QLabel;
class QMouseEvent;
class TfrmMain;

class TSchemeTools : public QObject, public TMouseToolHost
{
    Q_OBJECT

public:
    explicit TSchemeTools(TfrmMain &mainWindow);

    TMouseTools &Tools() { return m_tools; }
    // The object search's popup while it exists.
    QMenu *FoundPopup() const { return m_found; }
    // Gives the tools whose windows come from other parts of the program
    // (fire, boost, balloons, telephones, texts) their buttons once their
    // hooks are filled.
    void RefreshHookedTools();

    // "Сдвинуть схему".
    void mnuCutMapClick();

    // TMouseToolHost
    int ToolMode() const override;
    void SetToolMode(int mode) override;
    void SetCursor(int number) override;
    int EdgeCursor(int x, int y) const override;
    bool EdgeScroll(int x, int y) override;
    void Redraw() override;
    void SetModified() override;
    void ObjectChanged(std::unique_ptr<TMineObject> snapshot, TChangeKind kind) override;
    TColor SchemeColor(int index) const override;
    void SetStandardColors() override;
    bool PLAColoring() const override;
    bool SnapToGrid() const override;
    int GridStep() const override;
    bool NewObjectsFirstFree() const override;
    bool ShowSheet() const override;
    TSize SheetSize() const override;
    void ShowPointer(const TPointerStatus &status) override;
    void DrawFeedback(const std::function<void(TCanvas &)> &draw) override;
    bool EditNode(const QString &caption, int &node, bool deletable) override;
    bool EditBranch(const QString &caption, int branch, bool deletable, bool plaPage) override;
    void UpdateMenus() override;
    void ShowSchemePopup() override;
    void ShowFoundPopup(const std::vector<std::pair<std::int32_t, QString>> &items) override;
    void ZoomTool(int x, int y, int direction) override;
    void CenterTool(int x, int y) override;
    bool FireModelAt(int branch) override;
    void BoostAt(int branch) override;
    TSchemeObjectLayers *ObjectLayers() override;

private:
    void Route(QMouseEvent *event, void (TMouseTools::*handler)(const TMouseInput &));
    void SelectButton(const char *action, TTool tool);

    TfrmMain &m_w;
    TMouseTools m_tools;
    QPointer<QMenu> m_found;
    // The status line's pointer labels.
    QLabel *m_lblX = nullptr, *m_lblY = nullptr, *m_lblNode = nullptr, *m_lblBranch = nullptr;
};
