#pragma once
// How the scheme is shown: the zoom, the scroll offsets and the zoom step.
// The document resets it and restores it from the scheme file; the view
// reads it for every scheme-to-screen mapping.
#include <array>

constexpr int ZoomStepCount = 14;
constexpr int LastZoomStep = ZoomStepCount - 1;

// Pixels per scheme unit at each zoom step.
constexpr std::array<double, ZoomStepCount> ZoomFactors = {
    0.85, 1.1, 2, 3, 4, 5, 6, 7, 8, 10, 12, 16, 20, 26};

struct TViewState
{
    double Zoom = ZoomFactors[LastZoomStep];
    double ScrollX = 0;
    double ScrollY = 0;
    int ZoomStep = LastZoomStep;
};
