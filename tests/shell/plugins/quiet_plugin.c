/* A plug-in in C that leaves its number in the required flow of branch 1
   when run; PLUGIN_CAPTION and PLUGIN_ID come from the build. */
#include "model/plugin_api.h"

TUNVEX_PLUGIN_EXPORT const char *GetPlugName(void)
{
    return PLUGIN_CAPTION;
}

TUNVEX_PLUGIN_EXPORT void RunPlugIn(void)
{
    PQtr()[0] = PLUGIN_ID;
}
