#include "shell/ui/toolbar_layout.h"

#include <QtWidgets/QMainWindow>
#include <QtWidgets/QMenu>
#include <QtWidgets/QToolBar>

#include <algorithm>

void CaptureToolbars(const TToolbars &toolbars, TViewSettings &view)
{
    for (int i = 0; i < ToolbarCount; ++i) {
        const QToolBar *bar = toolbars[i];
        if (!bar)
            continue;
        TToolbarPlacement &t = view.Toolbars[i];
        // Before the window is first shown nothing is visible yet; what counts
        // is whether the tool bar was hidden.
        t.Visible = !bar->isHidden();
        t.Orient = bar->orientation() == Qt::Vertical ? toVertical : toHorizontal;
        t.Dock = bar->isFloating();
        const QRect r = bar->geometry();
        t.Top = r.top();
        t.Left = r.left();
        t.Width = r.width();
        t.Height = r.height();
    }
}

void ApplyToolbars(QMainWindow *window, const TToolbars &toolbars, const TViewSettings &view)
{
    struct TItem
    {
        QToolBar *Bar;
        Qt::ToolBarArea Area;
        int Row;     // the coordinate across the area: rows of a top area differ in Top
        int Along;   // the coordinate along the area
        const TToolbarPlacement *Placement;
    };
    std::vector<TItem> items;
    const QSize size = window->size();
    for (int i = 0; i < ToolbarCount; ++i) {
        QToolBar *bar = toolbars[i];
        if (!bar)
            continue;
        const TToolbarPlacement &t = view.Toolbars[i];
        const bool vertical = t.Orient == toVertical;
        Qt::ToolBarArea area;
        if (vertical)
            area = t.Left > size.width() / 2 ? Qt::RightToolBarArea : Qt::LeftToolBarArea;
        else
            area = t.Top > size.height() / 2 ? Qt::BottomToolBarArea : Qt::TopToolBarArea;
        items.push_back({bar, area, vertical ? t.Left : t.Top, vertical ? t.Top : t.Left, &t});
    }
    std::stable_sort(items.begin(), items.end(), [](const TItem &a, const TItem &b) {
        return std::tie(a.Area, a.Row, a.Along) < std::tie(b.Area, b.Row, b.Along);
    });

    for (const TItem &item : items)
        window->removeToolBar(item.Bar);
    const TItem *previous = nullptr;
    for (const TItem &item : items) {
        // A floating tool bar keeps a place in its area to dock back to, but
        // starts no row of its own.
        const bool floating = item.Placement->Dock;
        if (previous && previous->Area == item.Area && previous->Row != item.Row && !floating)
            window->addToolBarBreak(item.Area);
        window->addToolBar(item.Area, item.Bar);
        if (!floating)
            previous = &item;
    }

    for (const TItem &item : items) {
        const TToolbarPlacement &t = *item.Placement;
        QToolBar *bar = item.Bar;
        if (t.Dock) {
            // What Qt itself does when it restores a floating tool bar.
            bar->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
            bar->setOrientation(t.Orient == toVertical ? Qt::Vertical : Qt::Horizontal);
            if (t.Width > 0 && t.Height > 0)
                bar->setGeometry(t.Left, t.Top, t.Width, t.Height);
            else
                bar->move(t.Left, t.Top);
        }
        bar->setVisible(t.Visible);
    }
}

void SetupToolbarPopup(QMenu *menu, const TToolbars &toolbars)
{
    menu->clear();
    for (int i = 0; i < ToolbarCount; ++i) {
        QToolBar *bar = toolbars[i];
        if (!bar)
            continue;
        QAction *action = menu->addAction(ToolbarCaption(i));
        action->setCheckable(true);
        QObject::connect(action, &QAction::triggered, bar, [bar](bool checked) { bar->setVisible(checked); });
        QObject::connect(menu, &QMenu::aboutToShow, action, [bar, action] { action->setChecked(!bar->isHidden()); });
    }
}
