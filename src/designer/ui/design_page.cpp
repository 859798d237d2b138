#include "designer/ui/design_page.h"

#include "designer/design_state.h"
#include "designer/ui/frm_designer.h"
#include "platform/ui/qt_canvas.h"
#include "report/report_page.h"

#include <QtGui/QPainter>

TfrDesignerPage::TfrDesignerPage(TfrDesignerForm *form) : QWidget(nullptr), m_form(form) {}

void TfrDesignerPage::PlacePage()
{
    TfrPage *page = m_form->Page;
    if (!page)
        return;
    resize(std::max(page->PrinterInfo.PageWidth, 100) + 20, std::max(page->PrinterInfo.PageHeight, 100) + 20);
}

void TfrDesignerPage::ResetState()
{
    Down = SkipMouseDown = RubberBand = false;
    ResizeCorner = 0;
    unsetCursor();
}

void TfrDesignerPage::DrawPage(int, const std::vector<TRect> &) { update(); }

void TfrDesignerPage::DrawSelection(int) {}

void TfrDesignerPage::ComputeSelectionBounds()
{
    RightBottom = -1;
    LeftTop = {10000, 10000};
    SelectionRectValid = false;
}

void TfrDesignerPage::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0xc0, 0xc0, 0xc0));
    TfrPage *page = m_form->Page;
    if (!page)
        return;
    QImage sheet(width() - 20, height() - 20, QImage::Format_RGB32);
    sheet.fill(Qt::white);
    if (m_form->Options.GridShow) {
        QPainter g(&sheet);
        g.setPen(QColor(0xa0, 0xa0, 0xa0));
        const int step = std::max(4, m_form->Options.GridSize);
        for (int y = 0; y < sheet.height(); y += step * 2)
            for (int x = 0; x < sheet.width(); x += step * 2)
                g.drawPoint(x, y);
    }
    {
        TQtCanvas canvas(&sheet);
        for (auto &view : page->TemplateObjects) {
            try {
                view->Draw(canvas);
            } catch (const std::exception &) {
            }
        }
    }
    p.drawImage(10, 10, sheet);
    p.setPen(Qt::black);
    p.drawRect(9, 9, sheet.width() + 1, sheet.height() + 1);
}
