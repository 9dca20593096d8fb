#pragma once

#include <optional>
#include <string_view>

namespace skerry {

// The kinds of file the plot can be written to: vector PDF and SVG, and a PNG image.
enum class PlotFile { Pdf, Svg, Png };

// "pdf", "svg" or "png".
std::string_view plotFileExtension(PlotFile kind);
// The kind a name ("plot.svg") or a bare extension ("svg") names, in either case; nullopt for
// any other.
std::optional<PlotFile> plotFileKind(std::string_view nameOrExtension);

} // namespace skerry
