#pragma once
// The main window: the menus, tool bars and status line of the program over
// the open document. Every user command is one of its actions; the document
// logic lives in TMineDocument and the table work in main_commands.h, so the
// handlers here ask the user, call them and show the result.
#include "platform/prompt.h"
#include "scheme/scheme_render.h"
#include "shell/documents.h"
#include "shell/options_set.h"
#include "shell/ui/toolbar_layout.h"

#include <QtCore/QHash>
#include <QtCore/QPoint>
#include <QtCore/QPointer>
#include <QtCore/QTimer>
#include <QtWidgets/QMainWindow>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QMouseEvent;
class QMenu;
class QToolBar;
class QToolButton;
class TMineObject;
struct TOptionsHost;
class TSchemeFileStorage;
class TSchemePaintBox;
class TSchemeTools;

class TfrmMain : public QMainWindow, public TDocumentWindow
{
    Q_OBJECT

public:
    // arguments: the command line without the program name; startFolder:
    // the folder the program was started in ("Custom.set", "zyr.rtf").
    TfrmMain(const QStringList &arguments, const QString &startFolder, QWidget *parent = nullptr);
    ~TfrmMain() override;

    TMineDocument &Document() { return *m_document; }
    TOptionsSet &Options() { return m_options; }
    TSchemeFileStorage &Storage() { return *m_storage; }

    // An action by its name (the menu item or action name of the command).
    QAction *Action(const QString &name) const;
    QToolBar *ToolBar(const QString &name) const;
    // "Расширения": filled by the plug-in host.
    QMenu *PluginsMenu() const { return m_mnuPlugins; }

    // Gives a command whose window comes with another part of the program its
    // handler and enables it.
    void SetCommandHandler(const QString &actionName, std::function<void()> handler);
    // The same for a command that computes from the normal air distribution:
    // a fire model that holds the tables is released first, through
    // ReleaseFireModel and its question; kept, the command does not run.
    void SetNormalAirCommandHandler(const QString &actionName, std::function<void()> handler);

    // Services to the rest of the program.
    void SetModified(bool flag) { m_document->SetModified(flag); }
    // An edited item's snapshot: the document changed; the snapshot is freed.
    void ObjectChanged(std::unique_ptr<TMineObject> snapshot, TChangeKind kind);
    QString GetMineTitle() const { return m_document->GetMineTitle(); }
    QString FormatCaption() const { return m_document->FormatCaption(); }
    // What a live emergency result adds to the caption (" Зона загазирования",
    // a route's title); it stays through saves until it is set again or the
    // document is cleared.
    void SetCaptionSuffix(const QString &suffix);
    QString GetFansFolder() const;
    TColor GetSchemeColor(int index) const;
    void SetStandardColors();
    void UpdateMenus();
    bool CanDeleteObject(int item) const { return true; }
    // The route code enables "Вернуться к маршрутам" while routes exist.
    void SetRoutesExist(bool exist);
    void ShowOptionsPage(int page);
    // Gives the options window the branch symbols (their owner sets it).
    std::function<void(TOptionsHost &)> OptionsSymbols;
    // Puts the normal air distribution back into the tables when a fire
    // model holds its emergency flows there, asking first as
    // "Воздухораспределение..." does; false when the user keeps the model.
    // Set by the air distribution commands; unset, there is nothing to release.
    std::function<bool()> ReleaseFireModel;
    void ShowPLADocuments(int position, QPoint screenPoint);
    // The colour dialog with the custom colours of "Custom.set"; true when
    // the user chose a colour, which is then in color.
    bool ChooseColor(TColor &color);
    void Redraw() override;

    // The view. Scheme coordinates map to the paint box as
    // Round(coordinate × Zoom − Scroll).
    TViewport &View() { return m_document->View; }
    TSchemePaintBox *PaintBox() const { return m_img; }
    int ScreenX(double x) const { return m_document->View.ScreenX(x); }
    int ScreenY(double y) const { return m_document->View.ScreenY(y); }
    int MouseSchemeX() const { return m_document->View.MouseSchemeX(); }
    int MouseSchemeY() const { return m_document->View.MouseSchemeY(); }
    int SnappedMouseX() const;
    int SnappedMouseY() const;
    TPoint GetViewCenter() const;
    void CenterOn(int x, int y);
    void SetScrollX(double v) { m_document->View.SetScrollX(v); }
    void SetScrollY(double v) { m_document->View.SetScrollY(v); }
    TRect VisibleSchemeRect() const;
    TRect OverviewWorldRect() const;
    // Fits a scheme rectangle into the paint box; the caller redraws.
    void FitRect(const TRect &r);
    // A click near the paint box's edges re-centres the view on the pointer
    // and is used up (true); else it belongs to the tool.
    bool EdgeScroll(int x, int y);
    int EdgeCursor(int x, int y) const;
    // The current mouse tool; also the paint box's cursor away from the edges.
    int ToolMode() const { return m_toolMode; }
    void SelectTool(int mode);
    // The mouse tools of the paint box and the buttons that choose them.
    TSchemeTools &SchemeTools() { return *m_schemeTools; }
    // The zoom tools (direction +1 in, −1 out) and the centre tool at a click.
    void ZoomToolUp(int x, int y, int direction);
    void CenterToolUp(int x, int y);
    // What the drawing reads: settings, scheme.ini switches and the view's checks.
    TSchemeDrawSettings DrawSettings() const;
    // Drawing that other parts of the program add to the scheme.
    TSchemeOverlays &SchemeOverlays() { return m_overlays; }
    int CurrentBranch() const { return m_currentBranch; }
    // The branch being drawn, set before a symbol on it is drawn.
    void SetCurrentBranch(int n) { m_currentBranch = n; }
    // Draws one branch over the scheme (a selection changed), without a full redraw.
    void DrawBranch(int n);
    // The canvas the scheme is being drawn on, null between drawings.
    TCanvas *DrawCanvas() const { return m_drawCanvas; }
    // Printing: the drawing goes to the printer's canvas with the printer's
    // sizes; null gives the screen back.
    void SetPrintTarget(TCanvas *printerCanvas);
    TDrawTarget DrawTarget() const { return m_drawTarget; }
    // Every pass of the scheme on a canvas, without background, sheet or grid.
    void PaintScheme(TCanvas &canvas);
    // Points the drawing canvas elsewhere (a symbol's preview); returns the old one.
    TCanvas *SwapDrawCanvas(TCanvas *canvas) { return std::exchange(m_drawCanvas, canvas); }
    // The pen of the canvas being drawn on, for the branch symbols.
    void SetSchemePen(TPenStyle style, int width, TColor color);
    int GetFireTime() const { return m_options.FireTime; }
    int GetReportStyle() const { return m_options.ReportStyle; }
    // Redraws the overview map when it is shown.
    void RefreshOverviewMap();
    // View commands.
    void spbFullSchemeClick();
    void FitSheet();
    void cbxScaleChange(int step);

    // The first activation: starts the clock, opens the start document, then
    // shows the messages that the start-up owed.
    void FormActivate();
    // Shows the messages once the window has come up, wired whole; at once
    // when it is up already. What the start-up has to say (a refused plug-in
    // or symbol library) waits for that: a message box's event loop would
    // otherwise run the window's deferred start-up steps half wired.
    void ShowWhenStarted(const std::vector<TMessage> &messages);
    // One tick of the clock (every 110 ms while it runs).
    void ClockTick();
    QLabel *DateTimeLabel() const { return m_lblDateTime; }
    QTimer &Clock() { return m_clock; }

    // Runs a command so that an error in it is shown and the program goes on.
    void RunCommand(const std::function<void()> &command);

signals:
    // The document was reset: results computed on the old network go.
    void documentCleared();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    // The popup of the tool bar area: shows and hides the tool bars.
    QMenu *createPopupMenu() override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    // TDocumentWindow
    void DocumentCleared() override;
    void CaptionChanged(const QString &caption) override;
    void ModifiedChanged(bool modified) override;
    void FitWholeScheme() override;
    void UpdateZoomButtons() override;
    bool StandardColoringChecked() const override;
    void CheckStandardColoring() override;
    QString MinesFolder() const override;
    void SetMinesFolder(const QString &folder) override;
    void ShowSheet() override;
    bool AskSaveAs() override;

    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreateStatusBar();
    QAction *MakeAction(const QString &name, const QString &caption, std::function<void()> handler = {});
    QAction *MakeLaterAction(const QString &name, const QString &caption);
    QAction *MakeCheck(const QString &name, const QString &caption, bool checked, std::function<void()> handler);
    void RefreshCommandStates();

    // File commands.
    void mnuNewMineClick();
    void bbtnLoadClick();
    void bbtnSaveClick();
    void mnuSaveAsClick();
    void mnuQuitClick();
    void pmnuRecentFilesPopup();
    void OpenRecentFile(int index);
    // View.
    void mnuStandartClick();
    void mnuPLAClick();
    void mnuColorByLayersClick();
    void mnuColorByReveresClick();
    void mnuNodeNoClick(QAction *item);
    void mnuPhonesClick();
    void mnuTextsClick();
    void SetAllLinearSymbols(bool shown);
    // Tasks.
    void mnuWaysLenClick();
    void mnuFixQHRClick();
    // Tool buttons and the view tools.
    void sbtnMapClick();
    void UncheckLabelItems();
    void spbGridClick();
    // Help.
    void mnuHelpContentsClick();
    void mnuAboutClick();
    void mnuWWWHomeClick();

    void ApplyViewSettings();
    void StoreViewSettings();
    TToolbars ToolBars() const;

    QStringList m_arguments;
    QString m_startFolder;
    QString m_programKey;
    TOptionsSet m_options;
    std::unique_ptr<TSchemeFileStorage> m_storage;
    std::unique_ptr<TMineDocument> m_document;

    QHash<QString, QAction *> m_actions;
    QHash<QString, std::function<void()>> m_handlers;
    QString m_captionSuffix;
    QHash<QString, QToolBar *> m_toolBars;
    QActionGroup *m_coloring = nullptr;
    QMenu *m_mnuTasks = nullptr;
    QMenu *m_mnuPlugins = nullptr;
    QMenu *m_pmnuRecentFiles = nullptr;
    QMenu *m_pmnuScheme = nullptr;
    QMenu *m_plaPopup = nullptr;
    TSchemePaintBox *m_img = nullptr;
    TSchemeTools *m_schemeTools = nullptr;  // a child of the window
    QComboBox *m_cbxScale = nullptr;
    QActionGroup *m_tools = nullptr;
    TSchemeOverlays m_overlays;
    TPaintGuard m_paintGuard;
    int m_toolMode = 0;
    int m_currentBranch = 0;
    TCanvas *m_drawCanvas = nullptr;
    TDrawTarget m_drawTarget = dtScreen;
    QLabel *m_lblX = nullptr;
    QLabel *m_lblY = nullptr;
    QLabel *m_lblNode = nullptr;
    QLabel *m_lblBranch = nullptr;
    QLabel *m_lblDateTime = nullptr;

    QTimer m_clock;
    int m_clockTicks = 0;
    bool m_activated = false;
    std::vector<TMessage> m_startMessages;
    bool m_plaToolAllowed = false;
    bool m_routesExist = false;
};

// The program's one main window while it exists.
extern TfrmMain *frmMain;
