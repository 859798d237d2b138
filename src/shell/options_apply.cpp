#include "shell/options_apply.h"

#include "model/helpers.h"

TRect MinimumSheet(const TRect &schemeBounds)
{
    return WidenRect(schemeBounds, 0.01);
}

bool FitSheetToScheme(std::int32_t &width, std::int32_t &height, const TRect &schemeBounds)
{
    const TRect minimum = MinimumSheet(schemeBounds);
    if (width >= minimum.Right && height >= minimum.Bottom)
        return false;
    width = minimum.Right;
    height = minimum.Bottom;
    return true;
}

QString SheetTooSmallCaption()
{
    return QStringLiteral("Размер листа меньше размера шахты");
}

QString SheetTooSmallMessage(int width, int height)
{
    return QStringLiteral("Установленный размер листа") + QStringLiteral(" (0, 0)-")
        + QStringLiteral("(%1, %2) ").arg(width).arg(height)
        + QStringLiteral("меньше минимального размера схемы шахты.")
        + QStringLiteral("Будет принят минимальный размер шахты.");
}

void RecolorBranches(const TNetworkTables &t, TTable<TColor> &colors, TColor oldColor, TColor newColor)
{
    for (int n = 1; n <= MaxItems; ++n)
        if (BranchExist(t, n) && colors[n] == oldColor)
            colors[n] = newColor;
}
