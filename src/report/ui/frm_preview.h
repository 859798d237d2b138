#pragma once
// The preview of a built report: its prepared pages as white sheets on grey,
// zoom, paging, text search, opening and saving prepared reports, export,
// printing, and (with a designer linked) editing, adding and deleting pages.
// One window per preview; it frees itself when closed and then clears the
// report's prepared pages.
#include "platform/geometry.h"

#include <QtWidgets/QDialog>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QScrollBar;
class TfrPreviewForm;
class TfrReport;
class TfrSpeedButton;

// The panel that paints the pages.
class TPBox : public QWidget
{
public:
    explicit TPBox(TfrPreviewForm *preview, QWidget *parent);
    TfrPreviewForm *Preview;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
};

// The zoom every new preview of the run starts with.
extern double LastPreviewScale;
extern int LastPreviewZoomMode;

class TfrPreviewForm : public QDialog
{
public:
    explicit TfrPreviewForm(QWidget *parent = nullptr);
    ~TfrPreviewForm() override;

    TfrReport *PreviewReport = nullptr;
    TPBox *PageBox;
    int CurrentPage = 1;
    int ScrollOffsetX = 0;
    int ScrollOffsetY = 0;
    double Scale = 1.0;
    int ZoomMode = 0; // 0 fixed, 1 page width, 2 whole page, 3 two pages
    bool Ready = false;
    QString SearchText;
    bool SearchCaseSensitive = false;
    bool SearchHit = false;
    TRect HitRect;
    int SearchPage = 0;
    int SearchRecord = 0;
    QString SavedHelpFile;

    TfrSpeedButton *ProcBtn;
    TfrSpeedButton *LoadBtn;
    TfrSpeedButton *SaveBtn;
    TfrSpeedButton *PrintBtn;
    TfrSpeedButton *FindBtn;
    TfrSpeedButton *HelpBtn;
    TfrSpeedButton *ExitBtn;
    TfrSpeedButton *PgUp;
    TfrSpeedButton *PgDown;
    QScrollBar *VScrollBar;
    QScrollBar *HScrollBar;
    QLabel *Label1;
    QMenu *ProcMenu;
    // The zoom items in menu order: 200 % to 10 %, page width, whole page, two pages.
    QList<QAction *> ZoomItems;
    QAction *EditPageItem;
    QAction *AddPageItem;
    QAction *DeletePageItem;
    QAction *EditSeparator;

    // Sets up and shows the window (modal when the report asks for it).
    void ShowReport(TfrReport &report);
    void ResetView();
    // Scale, page rectangles and scroll ranges for the page box's size.
    void FormResize();
    void ShowPageTop();
    void ShowPageNumber();
    void SetGrayedButtons(bool grayed);
    void OpenPreparedFile(const QString &fileName);
    void SavePreparedFile(const QString &fileName);
    void FindNext();
    // Chooses a zoom item by its tag (percentage, or 1 to 3 for the modes).
    void SetZoom(int tag);
    // Goes to a page (clamped to the first and last), showing its top.
    void GoToPage(int page);
    // The commands of the buttons and keys.
    void OpenClick();
    void SaveClick();
    void PrintClick();
    void FindClick();
    void EditPage();
    void AddPage();
    void DeletePage();
    // True when a designer is linked and pages may be edited.
    bool PageEditing() const;
    int PageCount() const;
    // Handles a key as the window does before its controls; true when used.
    bool HandleKey(int key, Qt::KeyboardModifiers modifiers);
    // Paints the page box.
    void PaintPages(QPainter &painter, const QRect &region);
    void PageBoxClicked(const QPoint &at, Qt::MouseButton button, const QPoint &global);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void reject() override;

private:
    void VerticalScrolled(int position);
    void PopupZoomMenu(const QPoint &global, bool editing);
    void PlaceScrollRanges();
    void StartHelpMode();
    bool m_programmaticScroll = false;
    bool m_helpMode = false;
    bool m_modal = false;
};

// Installs the preview as the window ShowPreparedReport opens.
void InstallPreviewForm();
