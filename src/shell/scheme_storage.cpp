#include "shell/scheme_storage.h"

bool TSchemeFileStorage::Write(const QString &fileName)
{
    const TViewport current = View ? *View : TViewport{};
    const TSchemeView view{current.Zoom, current.ScrollX, current.ScrollY, current.ZoomStep};
    bool written = false;
    WithNetworkValues([&] { written = WriteMineFile(fileName, m_tables, Doc, view); });
    return written;
}

void TSchemeFileStorage::WithNetworkValues(const std::function<void()> &write)
{
    if (!ExchangeForWrite) {
        write();
        return;
    }
    // The network's own values go into the file; the window's come back after.
    ExchangeForWrite();
    try {
        write();
    } catch (...) {
        ExchangeForWrite();
        throw;
    }
    ExchangeForWrite();
}

bool TSchemeFileStorage::StoredView(TViewport &view) const
{
    const TMineProperties &p = Doc.MineProperties;
    if (p.NodeCount == 0 && p.BranchCount == 0 && p.ZoomStep == 1)
        return false;
    const TSchemeView stored = LoadedView(p);
    view.Zoom = stored.Zoom;
    view.ScrollX = stored.ScrollX;
    view.ScrollY = stored.ScrollY;
    view.ZoomStep = stored.ZoomStep;
    return true;
}

std::vector<std::int32_t> TSchemeFileStorage::LayerColors() const
{
    std::vector<std::int32_t> colors;
    for (const TLayer &layer : Doc.Layers)
        colors.push_back(layer.Color);
    return colors;
}

bool TSchemeFileStorage::TakePictureSymbols()
{
    if (Doc.PictureSymbolList.empty())
        return false;
    Doc.PictureSymbolList.clear();
    return true;
}
