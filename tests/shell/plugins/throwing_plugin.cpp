// Breaks the rule that no exception leaves RunPlugIn (or, built with
// THROW_IN_NAME, GetPlugName).
#include "model/plugin_api.h"

#include <stdexcept>

extern "C" TUNVEX_PLUGIN_EXPORT const char *GetPlugName(void)
{
#ifdef THROW_IN_NAME
    throw std::runtime_error("Имя потеряно");
#endif
    return "Throws";
}

extern "C" TUNVEX_PLUGIN_EXPORT void RunPlugIn(void)
{
    throw std::runtime_error("Расширение сломалось");
}
