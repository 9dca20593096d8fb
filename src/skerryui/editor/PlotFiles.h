#pragma once

#include <QSize>
#include <string>

#include "skerry/editor/EditorModel.h"
#include "skerry/ground/Outcome.h"
#include "skerryui/editor/PlotRenderer.h"

namespace skerry {

// Writes the plot of the editor's last redraw, laid out for `size` (the plot area in the window's
// pixels), as a PDF or SVG file (vector: rings, lines and text as shapes and text) or a PNG image
// at `pngScale` times that size; or tells why the file could not be written.
Done writePlotFile(const std::string& path, PlotFile format, const EditorView& view,
                   const PlotColors& colors, QSize size, qreal pngScale);

} // namespace skerry
