/* A symbol library in C that draws through the handle: a filled square over
   the box in SYMBOL_COLOR and its name beside it. SYMBOL_KIND and
   SYMBOL_COLOR (which may call the program, as GetCurrentBranch()) come
   from the build. */
#include "model/plugin_api.h"

/* Names in code page 1251. */
#if SYMBOL_KIND == 1
#define SYMBOL_NAME "\xD2\xE5\xF1\xF2" /* Тест */
#elif SYMBOL_KIND == 2
#define SYMBOL_NAME "\xCC\xE5\xF2\xE0\xED" /* Метан */
#elif SYMBOL_KIND == 4
#define SYMBOL_NAME "Branch"
#else
#define SYMBOL_NAME "Other"
#endif

TUNVEX_PLUGIN_EXPORT const char *GetSymbolName(void)
{
    return SYMBOL_NAME;
}

TUNVEX_PLUGIN_EXPORT const char *GetSymbolDescription(void)
{
    return "Test " SYMBOL_NAME;
}

#ifndef WITHOUT_DRAW_SYMBOL1
TUNVEX_PLUGIN_EXPORT void DrawSymbol1(void)
{
}
#endif

#ifdef NEEDS_MISSING_FUNCTION
extern void NoSuchProgramFunction(void);
#endif

TUNVEX_PLUGIN_EXPORT void DrawSymbol2(TunvexSymbolDC *dc, const TunvexPoint *p1, const TunvexPoint *p2,
                                      const TunvexPoint *p3, const TunvexPoint *p4, int32_t penColor)
{
    TunvexPoint square[4];
    int32_t width = 0, height = 0;
#ifdef NEEDS_MISSING_FUNCTION
    NoSuchProgramFunction();
#endif
    (void)penColor;
    square[0] = *p1;
    square[1] = *p2;
    square[2] = *p4;
    square[3] = *p3;
    dc->Draw->SetPen(dc, SYMBOL_COLOR, 1, 0);
    dc->Draw->SetBrush(dc, SYMBOL_COLOR, 0);
    dc->Draw->Polygon(dc, square, 4);
    dc->Draw->SetFont(dc, "Arial", -12, 0, 0, 0);
    dc->Draw->TextExtent(dc, SYMBOL_NAME, &width, &height);
    dc->Draw->SetBrush(dc, 0, 1);
    dc->Draw->TextOut(dc, p1->X - width, p1->Y - height, SYMBOL_NAME);
}
