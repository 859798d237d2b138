// Breaks the rule that no exception leaves RunPlugIn.
#include "model/plugin_api.h"

#include <stdexcept>

extern "C" TUNVEX_PLUGIN_EXPORT const char *GetPlugName(void)
{
    return "Throws";
}

extern "C" TUNVEX_PLUGIN_EXPORT void RunPlugIn(void)
{
    throw std::runtime_error("Расширение сломалось");
}
