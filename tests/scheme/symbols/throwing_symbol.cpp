// A symbol library whose name (THROW_IN_NAME) or description throws: the
// program must skip it and go on with the next library.
#include "model/plugin_api.h"

#include <stdexcept>

extern "C" TUNVEX_PLUGIN_EXPORT const char *GetSymbolName(void)
{
#ifdef THROW_IN_NAME
    throw std::runtime_error("no name");
#endif
    return "Throws";
}

extern "C" TUNVEX_PLUGIN_EXPORT const char *GetSymbolDescription(void)
{
    throw std::runtime_error("no description");
}

extern "C" TUNVEX_PLUGIN_EXPORT void DrawSymbol1(void)
{
}

extern "C" TUNVEX_PLUGIN_EXPORT void DrawSymbol2(TunvexSymbolDC *, const TunvexPoint *, const TunvexPoint *,
                                                 const TunvexPoint *, const TunvexPoint *, int32_t)
{
}
