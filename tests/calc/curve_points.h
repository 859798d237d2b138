#pragma once
// A characteristic from its points, for the tests of the curve toolkit and
// the fan editor.
#include "calc/curve_toolkit.h"

#include <initializer_list>
#include <utility>

inline TFanCurve Curve(std::initializer_list<std::pair<double, double>> points)
{
    TFanCurve c;
    int i = 0;
    for (const auto &[q, h] : points) {
        c.Q[i] = q;
        c.H[i] = h;
        ++i;
    }
    c.LastIndex = i - 1;
    return c;
}
