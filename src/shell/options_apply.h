#pragma once
// What accepting the options window does to the document, apart from the
// window: the sheet check against the scheme and the recolouring of branches
// that were drawn in the old branch colour.
#include "model/network.h"
#include "platform/colors.h"
#include "platform/geometry.h"

#include <QtCore/QString>

#include <cstdint>

// The smallest sheet that holds the scheme: its bounds widened by 1 % of
// their width and height on each side.
TRect MinimumSheet(const TRect &schemeBounds);

// When the sheet ends left of or above the minimum sheet, both sizes become
// the minimum sheet's right and bottom edges and the result is true (the
// caller warns with SheetTooSmallMessage, formatted with the entered sizes).
bool FitSheetToScheme(std::int32_t &width, std::int32_t &height, const TRect &schemeBounds);
QString SheetTooSmallCaption();
QString SheetTooSmallMessage(int width, int height);

// Every existing branch coloured oldColor takes newColor; colours that a
// study gave stay.
void RecolorBranches(const TNetworkTables &t, TTable<TColor> &colors, TColor oldColor, TColor newColor);
