#pragma once

#include <cstdint>

namespace skerry {

// A plot colour as the settings file and the colour dialog hold it: three 16-bit components,
// 0..255 when set through the dialog.
struct PlotColor {
    std::int16_t Red = 0;
    std::int16_t Green = 0;
    std::int16_t Blue = 0;

    friend bool operator==(const PlotColor&, const PlotColor&) = default;
};

inline constexpr PlotColor DefaultGoodColor{0, 127, 0};
inline constexpr PlotColor DefaultDeletedColor{255, 0, 0};

// The colours the plot draws good and deleted points in.
struct PlotColours {
    PlotColor GoodColor = DefaultGoodColor;
    PlotColor DeletedColor = DefaultDeletedColor;

    friend bool operator==(const PlotColours&, const PlotColours&) = default;
};

} // namespace skerry
