#pragma once
// The overlay objects as the scheme's mouse tools reach them; the fire tool's
// window is fire_tool_hook.h, the boost tool's vent_boost_hook.h. While a
// hook is unset, its tool buttons stay disabled.
class TOverlayObjects;

// The balloons, telephones and texts over the scheme (their tools, their
// drags with the move tool, their hits in the object search, the shift).
extern TOverlayObjects *SchemeOverlayObjects;
