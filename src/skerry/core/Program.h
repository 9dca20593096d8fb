#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "skerry/core/DataSet.h"
#include "skerry/input/FitFile.h"

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

// "0.999.0028": major "0.", minor "000.", revision "0000".
std::string VersionText();
// "Skerry V" followed by the version text.
std::string ProgramCaption();

// The state that lives as long as the program: the data set and the values kept beside it.
struct Program {
    DataSet data;
    PlotColor GoodColor = DefaultGoodColor;
    PlotColor DeletedColor = DefaultDeletedColor;
    // The print system's default printer, asked for when the editor first needs it: a slow or
    // unreachable print server then never holds up the program's start.
    std::optional<std::string> DefaultPrinterName;
    bool ShowXYDefault = true; // the editor's cursor read-out, carried between openings
    FitFileList fitList;       // the data sets of the last fit file read
};

} // namespace skerry
