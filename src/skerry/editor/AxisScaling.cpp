#include "skerry/editor/AxisScaling.h"

#include <cmath>

#include "skerry/ground/NumberPattern.h"
#include "skerry/input/DataLibrary.h"

namespace skerry {

std::string AxisFrame::tickLabel(int k) const {
    static const NumberPattern pattern("0.000");
    return pattern.format(tickValue(k) / Power);
}

std::string AxisExponent(float Low, float High) {
    float v = Low;
    if (std::abs(High) < std::abs(Low)) {
        v = High;
    }
    if (Low == 0.0f) {
        v = High;
    } else if (High == 0.0f) {
        v = Low;
    }
    static const NumberPattern pattern("+0.00E+00;-0.00E+00");
    // "+1.23E+02": the exponent's sign and digits start at the seventh character.
    std::string e = pattern.format(v).substr(6);
    if (e == "+01" || e == "-01") {
        return "+00";
    }
    return e;
}

AxisFrame setUpAxis(float& viewMin, float& viewMax, AxisName axis, Platform& platform) {
    AxisFrame frame;
    std::int32_t intervals = 0;
    bool degenerate = false;
    if (viewMin == viewMax) {
        degenerate = true;
        const float v = viewMin;
        if (v == 0.0f) {
            frame.Low = -2.0f;
            frame.High = 2.0f;
            frame.TickCount = 5;
        } else {
            // The view itself is widened, so the next redraw finds a proper range.
            viewMin = v > 0.0f ? v / 2.0f : 2.0f * v;
            viewMax = v > 0.0f ? 2.0f * v : v / 2.0f;
        }
    }
    if (frame.TickCount == 0) {
        tkrnd2(viewMin, viewMax, frame.Low, frame.High, intervals);
        frame.TickCount = static_cast<std::int16_t>(intervals + 1);
    }
    if (degenerate) {
        platform.messageBox(axis == AxisName::X ? "WARNING:  All X values are identical."
                                                : "WARNING:  All Y values are identical.",
                            "Data Error", MessageIcon::Exclamation, MessageButtons::Ok);
    }

    frame.Step = (frame.High - frame.Low) / static_cast<float>(frame.TickCount - 1);
    const std::string e = AxisExponent(frame.Low, frame.High);
    frame.Power = static_cast<float>(std::pow(10.0, std::stoi(e)));
    if (frame.Power != 1.0f) {
        frame.Suffix = (axis == AxisName::X ? "  (10^" : " (10^") + e + ")";
    }
    return frame;
}

} // namespace skerry
