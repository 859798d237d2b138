/* Has a caption but nothing to run: not a plug-in. */
#include "model/plugin_api.h"

TUNVEX_PLUGIN_EXPORT const char *GetPlugName(void)
{
    return "Half";
}
