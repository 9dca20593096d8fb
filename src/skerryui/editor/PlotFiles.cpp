#include "skerryui/editor/PlotFiles.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

#include "skerryui/base/QtText.h"

namespace skerry {

namespace {

// The resolution the plot is laid out at: one unit a pixel of a 96 dpi screen, so that font
// point sizes come out as on the screen.
constexpr int LayoutDpi = 96;

Done drawVector(QPaintDevice& device, const EditorView& view, const PlotColors& colors,
                QSize size) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return Failure{"the file could not be opened for writing"};
    }
    painter.fillRect(QRectF(QPointF(0, 0), QSizeF(size)), Qt::white);
    renderPlot(painter, QSizeF(size), view, colors, RingDrawing::Shapes);
    return painter.end() ? Done() : Failure{"the file could not be written"};
}

} // namespace

Done writePlotFile(const std::string& path, PlotFile format, const EditorView& view,
                   const PlotColors& colors, QSize size, qreal pngScale) {
    // Each file is written whole to a temporary file beside it and then put in its place, so
    // that a failed write never leaves half a plot under the name.
    QSaveFile file(toQString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        return Failure{file.errorString().toStdString()};
    }
    Done drawn;
    switch (format) {
    case PlotFile::Pdf: {
        QPdfWriter pdf(&file);
        pdf.setResolution(LayoutDpi);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setPageSize(QPageSize(QSizeF(size) * 72.0 / LayoutDpi, QPageSize::Point));
        pdf.setTitle(QStringLiteral("Skerry plot"));
        pdf.setCreator(QStringLiteral("Skerry"));
        drawn = drawVector(pdf, view, colors, size);
        break;
    }
    case PlotFile::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(LayoutDpi);
        svg.setTitle(QStringLiteral("Skerry plot"));
        drawn = drawVector(svg, view, colors, size);
        break;
    }
    case PlotFile::Png: {
        QImage image = makePlotImage(size, pngScale);
        renderPlot(image, view, colors);
        if (!image.save(&file, "PNG")) {
            drawn = Failure{"the image could not be written"};
        }
        break;
    }
    }
    if (!drawn) {
        file.cancelWriting();
        return drawn;
    }
    return file.commit() ? Done() : Failure{file.errorString().toStdString()};
}

} // namespace skerry
