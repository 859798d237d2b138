#include "scheme/ui/tool_hooks.h"

TOverlayObjects *SchemeOverlayObjects = nullptr;
