#pragma once
// Colours as the system keeps them in settings, tables and files:
// 0x00BBGGRR, red in the low byte.
#include <cstdint>

using TColor = std::int32_t;

constexpr TColor RGBColor(int r, int g, int b) { return TColor(r | (g << 8) | (b << 16)); }
constexpr int ColorRed(TColor c) { return c & 0xFF; }
constexpr int ColorGreen(TColor c) { return (c >> 8) & 0xFF; }
constexpr int ColorBlue(TColor c) { return (c >> 16) & 0xFF; }
