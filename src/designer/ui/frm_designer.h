#pragma once
// The report designer's window: menus, six toolbars in four docks, a tab per
// template page over the page on grey, and the status bar. The engine shows
// it modally through ReportDesignerInstance; hosts name the template's file
// through CurrentDesignerForm first.
#include "designer/design_undo.h"
#include "designer/designer_core.h"
#include "platform/colors.h"
#include "report/report.h"

#include <QtCore/QPointer>
#include <QtWidgets/QDialog>

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <vector>

class QLabel;
class QMenu;
class QMenuBar;
class QScrollArea;
class QTabBar;
class QAction;
class TfrDock;
class TfrToolBar;
class TfrTBButton;
class TfrDesignerForm;
class TfrDesignerPage;
class TfrInspForm;
class QKeyEvent;
class QPoint;
class QLineEdit;
class QComboBox;
class TCanvas;
class TColorSelector;
class TPropEditor;

// The designer's dialogs and commands that other parts of the program bring,
// by the name of the menu item or button that opens them ("N14" options, "N25"
// page options, ...). An item stays disabled until its entry is filled.
extern std::map<QString, std::function<void(TfrDesignerForm &)>> DesignerHooks;
// Makes the text editor that the inspector's "Memo" row opens; none until
// the editor exists.
extern std::function<TPropEditor *(QWidget *owner)> DesignerMemoEditorFactory;

class TfrDesignerForm : public QDialog, public TfrReportDesigner
{
public:
    explicit TfrDesignerForm(QWidget *parent = nullptr);
    ~TfrDesignerForm() override;

    // TfrReportDesigner
    void AddToolItem(const QString &caption, const QVariant &bitmap, const std::function<void()> &onClick) override;
    void AddObjectButton(const QVariant &bitmap, const QString &hint, int tag) override;
    void RecordUndoModify() override { RecordUndo(2); }
    void RedrawSelection() override;
    void ShowModal() override;
    QString ComponentName() const override { return objectName(); }
    void SetComponentName(const QString &name) override { setObjectName(name); }
    std::unique_ptr<TfrReportDesigner> CreateAnother() const override;

    void SetFileName(const QString &name);
    void SetPage(int n);
    // Shows the current page again after the preview or an options dialog.
    // Its selection and the undo lists stay while it holds the objects it
    // held before (`before`, from PageObjectIDs); a page read anew starts afresh.
    void ShowPageAgain(const std::vector<std::uint32_t> &before);
    std::vector<std::uint32_t> PageObjectIDs() const;
    void RemovePage(int n);
    void UpdateTabs();
    void ResetSelection();
    void RedrawPage();
    void SetGridSize(int n);
    void SetGridShow(bool b);
    void SetGridAlign(bool b);
    void SetUnits(int u);
    void SetGrayButtons(bool b);
    void ReadOptions();
    void WriteOptions();

    // ---- undo and redo of design steps (design_undo.cpp) ----
    // kind: 0 insert (after the objects were added and selected), 1 delete,
    // 2 modify, 3 z-order; recorded before the change otherwise.
    void RecordUndo(int kind);
    void ClearUndo();
    void ClearRedo();
    void UndoBClick();
    void RedoBClick();
    TUndoList UndoList, RedoList;
    // The undo and redo items and buttons, the object buttons and the
    // surface's own commands.
    void ConnectSurfaceCommands();

    // ---- the controls kept in step with the selection, formatting, keys,
    // inspector and editors (design_editing.cpp) ----
    void SyncToolbars();
    void EnableCommands();
    void RefreshInfo();
    void ShowFirstLine();
    void UpdateInspectorValues();
    // The inspector's change callback; `value` comes back as the row shows it.
    void InspectorChanged(int row, QString &value);
    // The formatting handler; `sender` is a formatting button or box. Errors
    // (a box text that is no whole number) are shown, not raised.
    void DoClick(QObject *sender);
    // The colour buttons ClB1, ClB2, ClB3 drop the palette; a picked colour
    // goes to the pressed button's glyph and through DoClick to the selection.
    void ClB1Click(TfrTBButton *button);
    void ColorChosen(TColor color);
    void HlB1Click();
    void EditObject();
    void EditText();
    void DeleteSelection();
    void NudgeSelection(int dx, int dy, bool resize);
    void Popup1Popup();
    // True when the key was consumed. `receiver`: the widget the key came to,
    // in this window or a floating toolbar's (none: this window).
    bool FormKeyDown(QKeyEvent *e, QWidget *receiver = nullptr);
    // The position and size read-out on the status bar.
    void PBox1Paint(TCanvas &canvas);
    // Wires the formatting controls, keys, inspector and context menu.
    void ConnectEditing();

    QLineEdit *E1 = nullptr;
    QComboBox *C2 = nullptr;
    QComboBox *C3 = nullptr;
    QWidget *PBox1 = nullptr;
    TColorSelector *ColorSelector = nullptr;
    TfrTBButton *PressedColorButton = nullptr;

    // ---- the commands of the menus and buttons (design_commands.cpp) ----
    // Wires the file, clipboard, order, grid, alignment, toolbar-menu, help
    // and close commands to their buttons and menu items.
    void ConnectCommands();
    void ZB1Click();
    void ZB2Click();
    void CutBClick();
    void CopyBClick();
    void PstBClick();
    void SelAllBClick();
    void FileBtn1Click();
    void N23Click();
    void FileBtn2Click();
    void FileBtn3Click();
    void N20Click();
    void FileBtn4Click();
    void GB1Click();
    void GB2Click();
    void GB3Click();
    void N37Click();
    void Pan2Click(QAction *item);
    void ExitBClick();
    void Align1Click();
    void Align2Click();
    void Align3Click();
    void Align4Click();
    void Align5Click();
    void Align6Click();
    void Align7Click();
    void Align8Click();
    void Align9Click();
    void Align10Click();
    void SB1Click();
    void SB2Click();
    void N22Click();
    void HelpBtnClick();
    // The click that ends a help pick: `target` is the widget that got it.
    void FormMouseDown(QWidget *target, const QPoint &global);
    // "Сохранить изменения?" on a changed template; false ends the command.
    bool AskSaveChanges();
    // Closing ("Закрыть", "Выход", the window frame) asks before a change is
    // lost; false keeps the designer open.
    bool MayClose();
    // The host keeps the template in memory and asks about its changes
    // itself (a prepared page edited from the preview): closing asks nothing.
    bool HostKeepsTemplate = false;

    TDesignerOptions Options;
    int CurPage = 0;
    bool FirstInstance = false;
    bool FileModified = false;
    QString FileName;
    // Where "Открыть" and "Сохранить как" start: the folder of the template
    // last handed to the designer or opened or saved in it (the reports
    // folder, for one the report manager opened), kept while an untitled
    // template is edited; the start folder before any.
    QString FilesFolder;
    QString Title = QStringLiteral("Дизайнер");

    TfrDock *frDock1, *frDock2, *frDock3, *frDock4;
    TfrToolBar *Panel1, *Panel2, *Panel3, *Panel4, *Panel5, *Panel6;
    QTabBar *Tab1;
    QScrollArea *ScrollBox1;
    TfrDesignerPage *PageView;
    QLabel *StatusUnits, *StatusPos, *StatusText;
    QMenu *MastMenu;
    TfrInspForm *Inspector;
    TPropEditor *MemoEditor = nullptr;
    // The inspector's values: Name, Left, Top, Width, Height, Visible, Memo.
    std::array<QString, 7> InspValues;
    QMenu *Popup1;
    // Every button and menu item by its name (FileBtn1, N46, ...).
    TfrTBButton *Button(const QString &name) const;
    QAction *Item(const QString &name) const;
    std::vector<TfrToolBar *> ToolBars() const;

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent *e) override;
    void hideEvent(QHideEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;

private:
    void BuildToolBars();
    void BuildMenus(QMenuBar *bar);
    void LayoutClient();
    TfrTBButton *AddButton(TfrToolBar *bar, const QString &name, const QString &glyph, const QString &hint, int tag,
                           int group = 0, bool toggle = false, int length = 22);
    void AddSeparator(TfrToolBar *bar);
    QAction *AddItem(QMenu *menu, const QString &name, const QString &caption, const QKeySequence &key = {},
                     const QString &button = {});
    void EnableHooked();
    void PgB2Click();
    // Shows or hides a window of its own (the inspector, a floating toolbar).
    // While the designer itself is being shown they wait: a window shown
    // before the designer is the modal window stays blocked by the window
    // that opened it.
    void ShowToolWindow(QWidget *window, bool shown);

    QWidget *m_client;
    bool m_holdToolWindows = false;
    std::vector<QPointer<QWidget>> m_heldToolWindows;
    std::map<QString, TfrTBButton *> m_buttons;
    std::map<QString, QAction *> m_items;
};

// The designer that hosts reach (the form shown now).
extern TfrDesignerForm *CurrentDesignerForm;

// Creates the program's designer form (hidden) and links it to the engine,
// the report manager's "Изменить..." and the preview's page editing.
void InstallReportDesigner();
void RemoveReportDesigner();
