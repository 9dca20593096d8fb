#pragma once

#include <cstdint>
#include <string>

#include "skerry/ground/Platform.h"

namespace skerry {

// One axis of the editor's plot: the frame the view window was rounded out to, its evenly
// spaced ticks (both ends included) and the power of ten its tick labels are divided by.
struct AxisFrame {
    float Low = 0.0f;
    float High = 0.0f;
    std::int16_t TickCount = 0; // intervals + 1
    float Step = 0.0f;          // data units between neighbouring ticks
    float Power = 1.0f;         // tick values are shown divided by this
    std::string Suffix;         // appended to the axis label: empty, or "(10^e)" after blanks

    // Data value of tick k (0 .. TickCount - 1).
    float tickValue(int k) const { return Low + static_cast<float>(k) * Step; }
    // The label of tick k: its value divided by Power, as "0.000".
    std::string tickLabel(int k) const;
    // Where tick k sits, in plot units from the frame's low edge (0 .. 100).
    double tickPosition(int k) const { return 100.0 * k / (TickCount - 1); }
};

enum class AxisName { X, Y };

// Rounds the view window's limits for one axis out into an axis frame. When both limits are
// equal the view is first widened (v/2 .. 2v, or 2v .. v/2 for a negative v; a zero v gets the
// fixed frame -2 .. 2 and the view stays as it is), and "WARNING:  All X values are identical."
// (or Y) is shown before the frame is returned.
AxisFrame setUpAxis(float& viewMin, float& viewMax, AxisName axis, Platform& platform);

// The exponent, as text such as "+03" or "-04", by which the end of the frame nearer zero
// (a zero end never counts) is scaled; exponents -1, 0 and +1 all give "+00".
std::string AxisExponent(float Low, float High);

} // namespace skerry
