#pragma once
// The overview map window "Карта": a small floating window with the whole
// network in miniature, the sheet framed in blue and the main view's piece in
// red. A click centres the main view on the clicked point. Its position and
// size are kept in the settings.
#include "platform/canvas.h"
#include "scheme/overview_map.h"

#include <QtCore/QString>
#include <QtGui/QImage>
#include <QtWidgets/QWidget>

#include <functional>

// What the map needs of the main window.
struct TMapHost
{
    const TNetworkTables *Tables = nullptr;
    std::function<TRect()> WorldRect;    // OverviewWorldRect of the main view
    std::function<TRect()> VisibleRect;  // the scheme rectangle the main view shows
    std::function<bool()> ShowSheet;
    std::function<TSize()> SheetSize;
    // Centres the main view on a scheme point and redraws it (which redraws the map).
    std::function<void(int x, int y)> CenterOn;
    // The map was hidden by its close box.
    std::function<void()> Hidden;
    // The settings key under which the bounds are kept.
    QString SettingsKey;
};

class TfrmMap : public QWidget
{
    Q_OBJECT

public:
    explicit TfrmMap(TMapHost host, QWidget *parent = nullptr);
    ~TfrmMap() override;

    void DrawMap();
    const TOverviewMap &Map() const { return m_map; }
    QWidget *MapImg() const { return m_mapImg; }
    const QImage &Image() const { return m_image; }

    // A click at a point of the map (any button).
    void MapImgMouseUp(int x, int y);

    void SaveBounds() const;
    void LoadBounds();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    friend class TMapImage;
    TMapHost m_host;
    TOverviewMap m_map;
    QImage m_image;
    QWidget *m_mapImg = nullptr;
    bool m_drawing = false;
};

// The map window while it exists.
extern TfrmMap *frmMap;
