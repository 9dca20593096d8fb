#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QSizeF>

class QPainter;

#include "skerry/editor/EditorModel.h"
#include "skerry/session/Program.h"

namespace skerry {

// The colours of good and deleted points' rings.
struct PlotColors {
    QColor good;
    QColor deleted;
};

PlotColors plotColors(const Program& program);

// A colour of the program's as Qt's, each component held to 0..255.
QColor toQColor(const PlotColor& colour);

// A white image to draw the plot into: `size` in the window's pixels, at 96 dots per inch so
// that point sizes of the plot's fonts come out as on a 96 dpi screen. On a screen with several
// device pixels to the window's pixel (`pixelRatio`) the image has as many, so that the plot is
// drawn at the screen's own resolution with the same layout.
QImage makePlotImage(QSize size, qreal pixelRatio = 1.0);

// Draws the whole plot of the editor's last redraw into the image, in plot units spread over
// the image's full size in the window's pixels: the white frame with its black outline and interior
// ticks, every point strictly inside the frame as a ring in its mark's colour (the other scans of
// a run in paler colours, under the current scan), the suggested columns' limits as dashed lines,
// the title lines, both axis labels (the y label written upward) and the tick labels.
void renderPlot(QImage& image, const EditorView& view, const PlotColors& colors);

// How the rings are drawn: stamped from one pre-drawn ring (quick, for images) or each traced
// as a shape of its own (for vector files, which then hold one path per point).
enum class RingDrawing { Stamped, Shapes };

// The same plot drawn with a painter on any device, its size in the window's pixels: the one
// layout for the screen, the printer and files.
void renderPlot(QPainter& painter, QSizeF size, const EditorView& view, const PlotColors& colors,
                RingDrawing rings);

} // namespace skerry
