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

std::string drawVector(QPaintDevice& device, const EditorModel& model, const PlotColors& colors,
                       QSize size) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return "the file could not be opened for writing";
    }
    painter.fillRect(QRectF(QPointF(0, 0), QSizeF(size)), Qt::white);
    renderPlot(painter, QSizeF(size), model, colors, RingDrawing::Shapes);
    return painter.end() ? std::string() : "the file could not be written";
}

} // namespace

std::string writePlotFile(const std::string& path, PlotFile format, const EditorModel& model,
                          const PlotColors& colors, QSize size, qreal pngScale) {
    // Each file is written whole to a temporary file beside it and then put in its place, so
    // that a failed write never leaves half a plot under the name.
    QSaveFile file(toQString(path));
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString().toStdString();
    }
    std::string error;
    switch (format) {
    case PlotFile::Pdf: {
        QPdfWriter pdf(&file);
        pdf.setResolution(LayoutDpi);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setPageSize(QPageSize(QSizeF(size) * 72.0 / LayoutDpi, QPageSize::Point));
        pdf.setTitle(QStringLiteral("Skerry plot"));
        pdf.setCreator(QStringLiteral("Skerry"));
        error = drawVector(pdf, model, colors, size);
        break;
    }
    case PlotFile::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(LayoutDpi);
        svg.setTitle(QStringLiteral("Skerry plot"));
        error = drawVector(svg, model, colors, size);
        break;
    }
    case PlotFile::Png: {
        QImage image = makePlotImage(size, pngScale);
        renderPlot(image, model, colors);
        if (!image.save(&file, "PNG")) {
            error = "the image could not be written";
        }
        break;
    }
    }
    if (!error.empty()) {
        file.cancelWriting();
        return error;
    }
    return file.commit() ? std::string() : file.errorString().toStdString();
}

} // namespace skerry
