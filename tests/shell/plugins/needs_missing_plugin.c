/* Needs a function that the program does not export, so it cannot load. */
#include "model/plugin_api.h"

extern void NoSuchProgramFunction(void);

TUNVEX_PLUGIN_EXPORT const char *GetPlugName(void)
{
    return "Missing";
}

TUNVEX_PLUGIN_EXPORT void RunPlugIn(void)
{
    NoSuchProgramFunction();
}
