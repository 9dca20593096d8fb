#pragma once

namespace skerry {

// The editor's plot coordinates ("plot units"): the client area runs from -25 at its left edge
// to 120 at its right edge and from 130 at its top edge down to -25 at its bottom edge, so the
// axis frame is the square 0..100 by 0..100 with room for the texts around it.
inline constexpr double PlotLeft = -25.0;
inline constexpr double PlotRight = 120.0;
inline constexpr double PlotTop = 130.0;
inline constexpr double PlotBottom = -25.0;
inline constexpr double PlotWidth = PlotRight - PlotLeft;  // 145
inline constexpr double PlotHeight = PlotTop - PlotBottom; // 155

// How data, plot units and pixels of an image of the plot relate, both ways. Data and plot
// units are single precision, as the marks and the hit test rely on; pixels are fractional.
struct PlotMapping {
    float XLow = 0.0f; // the axis frame's low ends, data units
    float YLow = 0.0f;
    float XScale = 1.0f; // plot units per data unit
    float YScale = 1.0f;
    double pixelWidth = 1.0; // size of the drawing, pixels
    double pixelHeight = 1.0;

    float plotX(float x) const { return (x - XLow) * XScale; }
    float plotY(float y) const { return (y - YLow) * YScale; }
    float dataX(float px) const { return px / XScale + XLow; }
    float dataY(float py) const { return py / YScale + YLow; }

    double column(double px) const { return (px - PlotLeft) * pixelWidth / PlotWidth; }
    double row(double py) const { return (PlotTop - py) * pixelHeight / PlotHeight; }
    double plotXAtColumn(double column) const { return column * PlotWidth / pixelWidth + PlotLeft; }
    double plotYAtRow(double row) const { return PlotTop - row * PlotHeight / pixelHeight; }

    // Lengths: horizontal plot units in pixels, and pixels in plot units of either direction.
    double pixelsAcross(double units) const { return units * pixelWidth / PlotWidth; }
    double unitsAcross(double pixels) const { return pixels * PlotWidth / pixelWidth; }
    double unitsUp(double pixels) const { return pixels * PlotHeight / pixelHeight; }
};

} // namespace skerry
