#include "report/ui/frm_preview.h"

#include "platform/exceptions.h"
#include "platform/guard.h"
#include "platform/help.h"
#include "platform/numbers.h"
#include "platform/prompt.h"
#include "platform/settings_store.h"
#include "platform/ui/file_dialogs.h"
#include "platform/ui/qt_canvas.h"
#include "report/report.h"
#include "report/report_page.h"
#include "report/ui/frm_preview_search.h"
#include "report/ui/frm_print.h"
#include "report/ui/speed_button.h"

#include <QtCore/QFileInfo>
#include <QtGui/QActionGroup>
#include <QtGui/QKeyEvent>
#include <QtGui/QPainter>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QCheckBox>
#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QInputDialog>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QMenu>
#include <QtWidgets/QRadioButton>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QStyle>
#include <QtWidgets/QVBoxLayout>

double LastPreviewScale = 1.0;
int LastPreviewZoomMode = 0;

namespace {

constexpr int PageGap = 10;
constexpr int LoadLimit = 2000;
const QColor BoxGrey(0x80, 0x80, 0x80);
const char *const HelpTagProperty = "helpTag";

// A glyph from the style's icons, on the olive that buttons take as transparent.
QImage StandardGlyph(QStyle::StandardPixmap icon)
{
    QImage glyph(16, 16, QImage::Format_RGB32);
    glyph.fill(QColor(128, 128, 0));
    QPainter p(&glyph);
    p.drawPixmap(0, 0, QApplication::style()->standardIcon(icon).pixmap(16, 16));
    return glyph;
}

void SetHelpTag(QWidget *widget, int tag) { widget->setProperty(HelpTagProperty, tag); }

TRect Shifted(const TRect &r, int dx, int dy) { return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy}; }

// Draws one prepared page; a page that fails to draw is left blank. Drawing
// runs inside paint events and searches, where no exception may escape, and
// the file's pages were checked when it was read.
void DrawPage(TfrEMFPages &pages, int index, TCanvas &canvas, const TRect &rect)
{
    try {
        pages.Draw(index, canvas, rect);
    } catch (...) {
        pages[index].PageModel.reset();
    }
}

} // namespace

// ---------------------------------------------------------------- page box

TPBox::TPBox(TfrPreviewForm *preview, QWidget *parent) : QWidget(parent), Preview(preview)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
}

void TPBox::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    try {
        Preview->PaintPages(painter, event->rect());
    } catch (...) {
        // Out of memory for the page image: the box stays grey.
        painter.fillRect(event->rect(), BoxGrey);
    }
}

void TPBox::mousePressEvent(QMouseEvent *event)
{
    Preview->PageBoxClicked(event->position().toPoint(), event->button(), event->globalPosition().toPoint());
}

void TPBox::resizeEvent(QResizeEvent *)
{
    Preview->FormResize();
}

// ---------------------------------------------------------------- window

TfrPreviewForm::TfrPreviewForm(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Предварительный просмотр"));
    setWindowFlags(Qt::Window);
    setAttribute(Qt::WA_DeleteOnClose);

    auto *tools = new QWidget(this);
    tools->setAutoFillBackground(true);
    QPalette face = tools->palette();
    face.setColor(QPalette::Window, QColor(192, 192, 192));
    tools->setPalette(face);
    auto *toolLayout = new QHBoxLayout(tools);
    toolLayout->setContentsMargins(2, 2, 2, 2);
    toolLayout->setSpacing(1);
    const auto button = [&](const QString &hint, int tag, QStyle::StandardPixmap icon, int width) {
        auto *b = new TfrSpeedButton(tools);
        b->SetFlat(true);
        b->setToolTip(hint);
        b->setFixedSize(width, 25);
        if (icon != QStyle::SP_CustomBase)
            b->SetGlyph(StandardGlyph(icon));
        SetHelpTag(b, tag);
        toolLayout->addWidget(b);
        return b;
    };
    ProcBtn = button(QStringLiteral("Масштаб"), 200, QStyle::SP_CustomBase, 60);
    LoadBtn = button(QStringLiteral("Открыть отчет"), 201, QStyle::SP_DialogOpenButton, 25);
    SaveBtn = button(QStringLiteral("Сохранить отчет в файле"), 202, QStyle::SP_DialogSaveButton, 25);
    PrintBtn = button(QStringLiteral("Печать отчета"), 203, QStyle::SP_FileDialogDetailedView, 25);
    FindBtn = button(QStringLiteral("Поиск"), 204, QStyle::SP_FileDialogContentsView, 25);
    HelpBtn = button(QStringLiteral("Показать справку"), 0, QStyle::SP_DialogHelpButton, 25);
    HelpBtn->SetGroupIndex(1);
    HelpBtn->SetAllowAllUp(true);
    ExitBtn = button(QStringLiteral("Выход"), 205, QStyle::SP_CustomBase, 60);
    ExitBtn->SetCaption(QStringLiteral("Выход"));
    toolLayout->addStretch();

    PageBox = new TPBox(this, this);
    SetHelpTag(PageBox, 207);
    VScrollBar = new QScrollBar(Qt::Vertical, this);
    HScrollBar = new QScrollBar(Qt::Horizontal, this);
    for (QScrollBar *bar : {VScrollBar, HScrollBar}) {
        bar->setSingleStep(10);
        bar->setPageStep(200);
        bar->setRange(0, 32000);
    }
    PgUp = new TfrSpeedButton(this);
    PgUp->setFixedSize(VScrollBar->sizeHint().width(), 16);
    PgUp->SetGlyph(StandardGlyph(QStyle::SP_ArrowUp));
    PgDown = new TfrSpeedButton(this);
    PgDown->setFixedSize(VScrollBar->sizeHint().width(), 16);
    PgDown->SetGlyph(StandardGlyph(QStyle::SP_ArrowDown));
    auto *right = new QVBoxLayout;
    right->setSpacing(0);
    right->addWidget(VScrollBar, 1);
    right->addWidget(PgUp);
    right->addWidget(PgDown);
    auto *middle = new QHBoxLayout;
    middle->setSpacing(0);
    middle->addWidget(PageBox, 1);
    middle->addLayout(right);

    Label1 = new QLabel(this);
    Label1->setFixedWidth(120);
    Label1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    SetHelpTag(Label1, 206);
    auto *bottom = new QHBoxLayout;
    bottom->setSpacing(0);
    bottom->addWidget(Label1);
    bottom->addWidget(HScrollBar, 1);
    bottom->addSpacing(VScrollBar->sizeHint().width());

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tools);
    layout->addLayout(middle, 1);
    layout->addLayout(bottom);

    ProcMenu = new QMenu(this);
    auto *group = new QActionGroup(ProcMenu);
    const auto zoomItem = [&](const QString &text, int tag) {
        QAction *action = ProcMenu->addAction(text);
        action->setCheckable(true);
        action->setData(tag);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, tag] { SetZoom(tag); });
        ZoomItems << action;
    };
    for (const int percent : {200, 150, 100, 75, 50, 25, 10})
        zoomItem(QString::number(percent) + u'%', percent);
    zoomItem(QStringLiteral("По ширине страницы"), 1);
    zoomItem(QStringLiteral("Страница целиком"), 2);
    zoomItem(QStringLiteral("Две страницы"), 3);
    ZoomItems[2]->setChecked(true);
    EditSeparator = ProcMenu->addSeparator();
    EditPageItem = ProcMenu->addAction(QStringLiteral("Редактировать страницу"), this, [this] { GuardedCall([this] { EditPage(); }); });
    AddPageItem = ProcMenu->addAction(QStringLiteral("Добавить страницу"), this, [this] { GuardedCall([this] { AddPage(); }); });
    DeletePageItem = ProcMenu->addAction(QStringLiteral("Удалить страницу"), this, [this] { GuardedCall([this] { DeletePage(); }); });

    ProcBtn->OnClick = [this] { PopupZoomMenu(ProcBtn->mapToGlobal(QPoint(0, ProcBtn->height())), false); };
    LoadBtn->OnClick = [this] { GuardedCall([this] { OpenClick(); }); };
    SaveBtn->OnClick = [this] { GuardedCall([this] { SaveClick(); }); };
    PrintBtn->OnClick = [this] { GuardedCall([this] { PrintClick(); }); };
    FindBtn->OnClick = [this] { GuardedCall([this] { FindClick(); }); };
    HelpBtn->OnClick = [this] { StartHelpMode(); };
    ExitBtn->OnClick = [this] { reject(); };
    PgUp->OnClick = [this] { GoToPage(CurrentPage - 1); };
    PgDown->OnClick = [this] { GoToPage(CurrentPage + 1); };
    connect(VScrollBar, &QScrollBar::valueChanged, this, [this](int position) { VerticalScrolled(position); });
    connect(HScrollBar, &QScrollBar::valueChanged, this, [this](int position) {
        ScrollOffsetX = -position;
        PageBox->update();
    });

    // Keys reach the window before its controls; the zoom menu keeps its own.
    for (QWidget *child : findChildren<QWidget *>())
        if (child != ProcMenu && !ProcMenu->isAncestorOf(child))
            child->installEventFilter(this);
    resize(900, 700);
}

TfrPreviewForm::~TfrPreviewForm()
{
    if (m_helpMode)
        QApplication::restoreOverrideCursor();
    if (isActiveWindow())
        SetHelpFile(SavedHelpFile);
    if (PreviewReport)
        PreviewReport->PreparedPages.Clear();
}

int TfrPreviewForm::PageCount() const { return PreviewReport ? PreviewReport->PreparedPages.Count() : 0; }

bool TfrPreviewForm::PageEditing() const { return ReportDesigner() != nullptr; }

void TfrPreviewForm::ShowReport(TfrReport &report)
{
    PreviewReport = &report;
    PrintBtn->setEnabled(ReportPrinter() && !ReportPrinter()->Printers().isEmpty());
    const bool editing = PageEditing();
    EditSeparator->setVisible(editing);
    EditPageItem->setVisible(editing);
    AddPageItem->setVisible(editing);
    DeletePageItem->setVisible(editing);
    ResetView();
    VScrollBar->setValue(0);
    HScrollBar->setValue(0);
    bool grayed = report.GrayedButtons;
    if (TfrReportDesigner *designer = ReportDesigner()) {
        grayed = false;
        TSettingsStore store(TSettingsScope::User);
        const QString key = QStringLiteral("Software\\Kvadrep\\") + ApplicationTitle + QStringLiteral("\\Form\\")
                            + designer->ComponentName();
        if (store.OpenKeyReadOnly(key)) {
            try {
                grayed = store.ReadBool(QStringLiteral("GrayButtons"));
            } catch (const ESettingsError &) {
            }
        }
    }
    SetGrayedButtons(grayed);
    SavedHelpFile = HelpFile();
    m_modal = report.ModalPreview;
    // Maximized is the whole screen, also where no window manager says so.
    if (QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    setWindowState(Qt::WindowMaximized);
    if (m_modal)
        exec();
    else
        show();
}

void TfrPreviewForm::SetGrayedButtons(bool grayed)
{
    for (TfrSpeedButton *b : {ProcBtn, LoadBtn, SaveBtn, PrintBtn, FindBtn, HelpBtn, ExitBtn})
        b->SetGrayedInactive(grayed);
}

void TfrPreviewForm::ResetView()
{
    Scale = LastPreviewScale;
    ZoomMode = LastPreviewZoomMode;
    for (QAction *item : ZoomItems) {
        const int tag = item->data().toInt();
        if (ZoomMode != 0 ? tag == ZoomMode : tag > 3 && tag == Round(Scale * 100))
            item->setChecked(true);
    }
    CurrentPage = 1;
    ShowPageNumber();
    ScrollOffsetX = ScrollOffsetY = 0;
    m_programmaticScroll = true;
    VScrollBar->setValue(0);
    HScrollBar->setValue(0);
    m_programmaticScroll = false;
    FormResize();
    for (int i = 0; i < PageCount(); ++i) {
        TfrPreparedPage &page = PreviewReport->PreparedPages[i];
        page.Visible = false;
        page.PageModel.reset();
    }
    PageBox->update();
}

void TfrPreviewForm::FormResize()
{
    if (!PreviewReport)
        return;
    Ready = false;
    const int count = PageCount();
    const int W = PageBox->width();
    const int H = PageBox->height();
    if (count > 0) {
        const TPrinterInfo &info = PreviewReport->PreparedPages[std::clamp(CurrentPage, 1, count) - 1].PrinterInfo;
        const double w = std::max(1, info.PageWidth);
        const double h = std::max(1, info.PageHeight);
        if (ZoomMode == 1)
            Scale = (W - 20) / w;
        else if (ZoomMode == 2)
            Scale = (H - 20) / h;
        else if (ZoomMode == 3)
            Scale = (W - 30) / (2 * w);
    }
    ProcBtn->SetCaption(QString::number(Round(Scale * 100)) + u'%');
    const auto scaled = [this](int v) { return static_cast<int>(Round(v * Scale)); };

    int perRow = 0;
    {
        int x = PageGap, inRow = 0;
        for (int i = 0; i < count; ++i) {
            const int s = scaled(PreviewReport->PreparedPages[i].PrinterInfo.PageWidth);
            if (x + s + PageGap <= W) {
                x += s + PageGap;
                ++inRow;
            } else {
                perRow = std::max(perRow, inRow);
                inRow = 0;
                x = PageGap;
            }
        }
        perRow = std::max({perRow, inRow, 1});
    }
    if (ZoomMode == 2)
        perRow = 1;
    else if (ZoomMode == 3)
        perRow = 2;

    int y = PageGap;
    for (int first = 0; first < count; first += perRow) {
        int x = PageGap, rowHeight = 0;
        for (int i = first; i < std::min(count, first + perRow); ++i) {
            TfrPreparedPage &page = PreviewReport->PreparedPages[i];
            const int sw = scaled(page.PrinterInfo.PageWidth);
            const int sh = scaled(page.PrinterInfo.PageHeight);
            const int left = perRow == 1 && sw < W ? (W - sw) / 2 : x;
            page.PageRect = {left, y, left + sw, y + sh};
            x += sw + PageGap;
            rowHeight = std::max(rowHeight, sh);
        }
        y += rowHeight + PageGap;
    }
    PlaceScrollRanges();
    ShowPageTop();
    Ready = true;
    PageBox->update();
}

void TfrPreviewForm::PlaceScrollRanges()
{
    int right = 0, bottom = 0;
    for (int i = 0; i < PageCount(); ++i) {
        const TRect &r = PreviewReport->PreparedPages[i].PageRect;
        right = std::max(right, r.Right);
        bottom = std::max(bottom, r.Bottom);
    }
    const int h = right - PageBox->width();
    const int v = bottom - PageBox->height();
    m_programmaticScroll = true;
    HScrollBar->setRange(0, h > 0 ? h + PageGap : 0);
    VScrollBar->setRange(0, v > 0 ? v + PageGap : 0);
    m_programmaticScroll = false;
    HScrollBar->setEnabled(HScrollBar->maximum() != 0);
    VScrollBar->setEnabled(VScrollBar->maximum() != 0);
    ScrollOffsetX = -HScrollBar->value();
    ScrollOffsetY = -VScrollBar->value();
}

void TfrPreviewForm::ShowPageTop()
{
    if (CurrentPage < 1 || CurrentPage > PageCount())
        return;
    m_programmaticScroll = true;
    VScrollBar->setValue(PreviewReport->PreparedPages[CurrentPage - 1].PageRect.Top - PageGap);
    m_programmaticScroll = false;
    ScrollOffsetY = -VScrollBar->value();
    PageBox->update();
}

void TfrPreviewForm::ShowPageNumber()
{
    Label1->setText(QStringLiteral("Стр. ") + QString::number(CurrentPage) + u'/' + QString::number(PageCount()));
}

void TfrPreviewForm::VerticalScrolled(int position)
{
    ScrollOffsetY = -position;
    if (!m_programmaticScroll) {
        // The page under the line just below the box's top is the current one.
        const int line = 11 - ScrollOffsetY;
        for (int i = 0; i < PageCount(); ++i) {
            const TRect &r = PreviewReport->PreparedPages[i].PageRect;
            if (r.Top < line && line < r.Bottom) {
                CurrentPage = i + 1;
                ShowPageNumber();
                break;
            }
        }
    }
    PageBox->update();
}

void TfrPreviewForm::GoToPage(int page)
{
    if (PageCount() == 0)
        return;
    CurrentPage = std::clamp(page, 1, PageCount());
    ShowPageNumber();
    ShowPageTop();
}

void TfrPreviewForm::SetZoom(int tag)
{
    ScrollOffsetX = 0;
    if (tag >= 1 && tag <= 3) {
        ZoomMode = tag;
    } else {
        ZoomMode = 0;
        Scale = tag / 100.0;
    }
    for (QAction *item : ZoomItems)
        if (item->data().toInt() == tag)
            item->setChecked(true);
    m_programmaticScroll = true;
    HScrollBar->setValue(0);
    m_programmaticScroll = false;
    FormResize();
    LastPreviewScale = Scale;
    LastPreviewZoomMode = ZoomMode;
    PageBox->update();
}

void TfrPreviewForm::PopupZoomMenu(const QPoint &global, bool editing)
{
    const bool shown = editing && PageEditing();
    EditSeparator->setVisible(shown);
    EditPageItem->setVisible(shown);
    AddPageItem->setVisible(shown);
    DeletePageItem->setVisible(shown);
    ProcMenu->popup(global);
}

void TfrPreviewForm::PaintPages(QPainter &painter, const QRect &region)
{
    const QSize size = PageBox->size();
    if (!Ready || !PreviewReport || size.isEmpty()) {
        painter.fillRect(region, BoxGrey);
        return;
    }
    QImage image(size, QImage::Format_RGB32);
    image.fill(BoxGrey);
    TQtCanvas canvas(&image);
    TfrEMFPages &pages = PreviewReport->PreparedPages;
    const QRect paintRegion = region.intersected(QRect(QPoint(0, 0), size));
    std::vector<TRect> rects(pages.Count());
    for (int i = 0; i < pages.Count(); ++i) {
        TfrPreparedPage &page = pages[i];
        rects[i] = Shifted(page.PageRect, ScrollOffsetX, ScrollOffsetY);
        const TRect &r = rects[i];
        if (r.Top > LoadLimit || r.Bottom < 0)
            page.Visible = false;
        else
            page.Visible = paintRegion.intersects(QRect(r.Left, r.Top, r.Width(), r.Height()));
    }
    canvas.Pen = TPen{};
    canvas.Brush = TBrush{};
    for (int i = 0; i < pages.Count(); ++i) {
        const TRect &r = rects[i];
        if (!pages[i].Visible)
            continue;
        canvas.Rectangle(r);
        canvas.MoveTo(r.Left + 1, r.Bottom);
        canvas.LineTo(r.Right, r.Bottom);
        canvas.LineTo(r.Right, r.Top + 1);
    }
    for (int i = 0; i < pages.Count(); ++i) {
        TfrPreparedPage &page = pages[i];
        if (!page.Visible) {
            DrawPage(pages, i, canvas, {});
            continue;
        }
        const TRect &r = rects[i];
        TRect target = r;
        if (!page.HonourMargins) {
            const TPrinterInfo &info = page.PrinterInfo;
            target.Left = r.Left + static_cast<int>(Round(info.OffsetX * Scale));
            target.Top = r.Top + static_cast<int>(Round(info.OffsetY * Scale));
            target.Right = target.Left + static_cast<int>(Round(info.PrintableWidth * Scale));
            target.Bottom = target.Top + static_cast<int>(Round(info.PrintableHeight * Scale));
        }
        canvas.SetClipRect({r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1});
        DrawPage(pages, i, canvas, target);
        canvas.ClearClipRect();
    }
    canvas.End();
    painter.drawImage(0, 0, image);
}

void TfrPreviewForm::PageBoxClicked(const QPoint &at, Qt::MouseButton button, const QPoint &global)
{
    if (button == Qt::RightButton) {
        PopupZoomMenu(global, true);
        return;
    }
    if (button != Qt::LeftButton)
        return;
    for (int i = 0; i < PageCount(); ++i) {
        const TRect r = Shifted(PreviewReport->PreparedPages[i].PageRect, ScrollOffsetX, ScrollOffsetY);
        if (at.x() >= r.Left && at.x() < r.Right && at.y() >= r.Top && at.y() < r.Bottom) {
            GoToPage(i + 1);
            break;
        }
    }
}

// ---------------------------------------------------------------- commands

void TfrPreviewForm::OpenPreparedFile(const QString &fileName)
{
    PreviewReport->LoadPreparedReport(fileName);
    CurrentPage = 1;
    FormResize();
    ShowPageNumber();
    ShowPageTop();
    PageBox->update();
}

void TfrPreviewForm::SavePreparedFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    PreviewReport->SavePreparedReport(info.path() + u'/' + info.completeBaseName() + QStringLiteral(".frp"));
}

void TfrPreviewForm::OpenClick()
{
    const QString name = GetOpenFileName(this, QString(), QString(),
                                         {{QStringLiteral("Файл отчета (*.frp)"), {QStringLiteral("*.frp")}}}, nullptr);
    if (!name.isEmpty())
        OpenPreparedFile(name);
}

void TfrPreviewForm::SaveClick()
{
    TFileFilters filters{{QStringLiteral("Файл отчета (*.frp)"), {QStringLiteral("*.frp")}}};
    for (const TfrExportFilterInfo &filter : ExportFilterRegistry())
        filters.append({filter.Description, {filter.Mask}});
    int index = 0;
    const QString name = GetSaveFileName(this, QString(), QString(), filters, &index);
    if (name.isEmpty())
        return;
    if (index <= 0) {
        SavePreparedFile(name);
        return;
    }
    const TfrExportFilterInfo &filter = ExportFilterRegistry().at(index - 1);
    const QFileInfo info(name);
    PreviewReport->ExportTo(filter.FilterClass, info.path() + u'/' + info.completeBaseName() + filter.Mask.mid(1));
}

void TfrPreviewForm::PrintClick()
{
    TPrinterDevice *printer = ReportPrinter();
    if (!printer || !PrintBtn->isEnabled())
        return;
    const int oldIndex = printer->PrinterIndex();
    TfrPrintForm form(this);
    if (form.exec() != QDialog::Accepted)
        return;
    const int newIndex = printer->PrinterIndex();
    if (newIndex != oldIndex && PreviewReport->Rebuildable) {
        if (!PreviewReport->ChangePrinter(oldIndex, newIndex))
            return;
        PreviewReport->PrepareReport();
    }
    const QString pages = form.PageList(CurrentPage);
    const int copies = form.Copies();
    PreviewReport->PrintPreparedReport(pages, copies);
    ResetView();
}

void TfrPreviewForm::FindClick()
{
    TfrPreviewSearchForm form(this);
    if (form.exec() != QDialog::Accepted)
        return;
    SearchCaseSensitive = form.CB1->isChecked();
    SearchText = SearchCaseSensitive ? form.Edit1->text() : form.Edit1->text().toUpper();
    if (form.RB1->isChecked()) {
        SearchPage = 0;
        SearchRecord = 0;
    } else if (CurrentPage != SearchPage + 1) {
        SearchPage = CurrentPage - 1;
        SearchRecord = 0;
    }
    FindNext();
}

void TfrPreviewForm::FindNext()
{
    if (!PreviewReport)
        return;
    Ready = false;
    SearchHit = false;
    TfrEMFPages &pages = PreviewReport->PreparedPages;
    for (int i = SearchPage; i < pages.Count(); ++i) {
        TfrPreparedPage &page = pages[i];
        // The page's texts in drawing order, at its design size.
        TRecordingCanvas record;
        const bool wasVisible = page.Visible;
        page.Visible = true;
        DrawPage(pages, i, record, {0, 0, page.PrinterInfo.PageWidth, page.PrinterInfo.PageHeight});
        int hit = -1;
        for (int n = SearchRecord; n < static_cast<int>(record.Ops.size()); ++n) {
            const TRecordingCanvas::TOp &op = record.Ops[n];
            if (op.Kind != TRecordingCanvas::TOpKind::TextOut)
                continue;
            const QString text = SearchCaseSensitive ? op.Text : op.Text.toUpper();
            if (!SearchText.isEmpty() && text.contains(SearchText)) {
                hit = n;
                record.Font = op.Font;
                const TSize extent = record.TextExtent(op.Text);
                HitRect = {op.At.X, op.At.Y, op.At.X + extent.cx, op.At.Y + extent.cy};
                break;
            }
        }
        if (hit >= 0) {
            SearchHit = true;
            SearchPage = i;
            SearchRecord = hit + 1;
            CurrentPage = i + 1;
            ShowPageNumber();
            m_programmaticScroll = true;
            VScrollBar->setValue(static_cast<int>(Round(HitRect.Top * Scale)) + page.PageRect.Top - PageGap);
            HScrollBar->setValue(static_cast<int>(Round(HitRect.Left * Scale)) + page.PageRect.Left - PageGap);
            m_programmaticScroll = false;
            ScrollOffsetX = -HScrollBar->value();
            ScrollOffsetY = -VScrollBar->value();
            break;
        }
        page.Visible = wasVisible;
        if (!wasVisible)
            page.PageModel.reset();
        SearchRecord = 0;
        SearchPage = i + 1;
    }
    Ready = true;
    PageBox->update();
}

void TfrPreviewForm::EditPage()
{
    if (!PageEditing() || PageCount() == 0)
        return;
    PreviewReport->EditPreparedPage(CurrentPage - 1);
    ResetView();
}

void TfrPreviewForm::AddPage()
{
    if (!PageEditing() || PreviewReport->TemplatePages.Count() == 0)
        return;
    PreviewReport->PreparedPages.Insert(CurrentPage - 1, PreviewReport->TemplatePages.GetPage(0));
    ResetView();
}

void TfrPreviewForm::DeletePage()
{
    if (!PageEditing() || PageCount() < 2)
        return;
    if (ShowMessageBox(QStringLiteral("Удалить страницу?"), QStringLiteral("Подтверждение"), mb::YesNo | mb::IconQuestion) != idYes)
        return;
    PreviewReport->PreparedPages.Delete(CurrentPage - 1);
    ResetView();
}

// ---------------------------------------------------------------- keys, help

bool TfrPreviewForm::HandleKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool ctrl = modifiers & Qt::ControlModifier;
    const auto moveBar = [](QScrollBar *bar, int step) {
        if (bar->isEnabled())
            bar->setValue(bar->value() + step);
    };
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
        if (VScrollBar->isEnabled())
            VScrollBar->setFocus();
        const bool back = key == Qt::Key_Up || key == Qt::Key_PageUp;
        if (ctrl)
            GoToPage(CurrentPage + (back ? -1 : 1));
        else
            moveBar(VScrollBar, (key == Qt::Key_Up || key == Qt::Key_Down ? VScrollBar->singleStep() : VScrollBar->pageStep())
                                    * (back ? -1 : 1));
        return true;
    }
    case Qt::Key_Left:
    case Qt::Key_Right:
        if (HScrollBar->isEnabled())
            HScrollBar->setFocus();
        moveBar(HScrollBar, HScrollBar->singleStep() * (key == Qt::Key_Left ? -1 : 1));
        return true;
    case Qt::Key_Home:
        if (!ctrl)
            return false;
        VScrollBar->setValue(0);
        return true;
    case Qt::Key_End:
        if (!ctrl)
            return false;
        GoToPage(PageCount());
        return true;
    case Qt::Key_Space:
        PopupZoomMenu(ProcBtn->mapToGlobal(QPoint(0, ProcBtn->height())), false);
        return true;
    case Qt::Key_Escape:
        reject();
        return true;
    default:
        break;
    }
    if (!ctrl) {
        if (key == Qt::Key_F3 && !SearchText.isEmpty()) {
            if (CurrentPage != SearchPage + 1) {
                SearchPage = CurrentPage - 1;
                SearchRecord = 0;
            }
            FindNext();
            return true;
        }
        if (key == Qt::Key_Delete && PageEditing()) {
            GuardedCall([this] { DeletePage(); });
            return true;
        }
        if (key == Qt::Key_Insert && PageEditing()) {
            GuardedCall([this] { AddPage(); });
            return true;
        }
        return key == Qt::Key_F3;
    }
    switch (key) {
    case Qt::Key_O:
        GuardedCall([this] { OpenClick(); });
        return true;
    case Qt::Key_S:
        GuardedCall([this] { SaveClick(); });
        return true;
    case Qt::Key_P:
        if (PrintBtn->isEnabled())
            GuardedCall([this] { PrintClick(); });
        return true;
    case Qt::Key_F:
        GuardedCall([this] { FindClick(); });
        return true;
    case Qt::Key_E:
        if (PageEditing())
            GuardedCall([this] { EditPage(); });
        return true;
    default:
        return false;
    }
}

void TfrPreviewForm::keyPressEvent(QKeyEvent *event)
{
    if (!HandleKey(event->key(), event->modifiers()))
        QDialog::keyPressEvent(event);
}

bool TfrPreviewForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (HandleKey(key->key(), key->modifiers()))
            return true;
    }
    if (m_helpMode && event->type() == QEvent::MouseButtonPress) {
        // The click after the help button names the control to explain.
        m_helpMode = false;
        QApplication::restoreOverrideCursor();
        HelpBtn->SetDown(false);
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget != HelpBtn) {
            for (QWidget *w = widget; w && w != this; w = w->parentWidget()) {
                const QVariant tag = w->property(HelpTagProperty);
                if (tag.isValid() && tag.toInt() != 0) {
                    ShowHelpTopic(tag.toInt());
                    break;
                }
            }
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrPreviewForm::StartHelpMode()
{
    if (!HelpBtn->Down() || m_helpMode)
        return;
    m_helpMode = true;
    QApplication::setOverrideCursor(Qt::WhatsThisCursor);
}

void TfrPreviewForm::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange)
        SetHelpFile(isActiveWindow() ? QStringLiteral("KRuser.hlp") : SavedHelpFile);
    QDialog::changeEvent(event);
}

void TfrPreviewForm::reject()
{
    // Either way the window goes, and its pages with it.
    done(m_modal ? Accepted : Rejected);
}

void InstallPreviewForm()
{
    // The engine's input box (INPUT in scripts, the export filters' height):
    // cancelling it gives the default text.
    if (EngineRunning())
        Engine().InputBox = [](const QString &caption, const QString &prompt, const QString &defaultText) {
            bool ok = false;
            const QString text = QInputDialog::getText(QApplication::activeWindow(), caption, prompt, QLineEdit::Normal,
                                                       defaultText, &ok);
            return ok ? text : defaultText;
        };
    SetReportDestroyedHook([](TfrReport *report) {
        for (QWidget *window : QApplication::topLevelWidgets())
            if (auto *preview = dynamic_cast<TfrPreviewForm *>(window); preview && preview->PreviewReport == report) {
                preview->PreviewReport = nullptr;
                preview->close();
            }
    });
    SetPreviewOpener([](TfrReport &report, const QString &caption, bool) {
        auto *form = new TfrPreviewForm;
        form->setWindowTitle(caption);
        form->ShowReport(report);
    });
}
