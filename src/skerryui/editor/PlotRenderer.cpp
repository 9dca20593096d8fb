#include "skerryui/editor/PlotRenderer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "skerryui/base/Fonts.h"
#include "skerryui/base/QtText.h"
#include "skerryui/export/PictureImage.h"

namespace skerry {

namespace {

// The suggestion's column limits are drawn in a grey apart from any ring.
const QColor ColumnLineColour(70, 70, 70);

// Blanks removed at both ends, as the title fitting counts characters.
std::string_view trimmed(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// Text output in plot units: a text is placed by the top left corner of its cell, and widths
// and heights are measured in the plot units of their direction.
class TextPrinter {
public:
    TextPrinter(QPainter& painter, const PlotMapping& map) : painter_(painter), map_(map) {}

    void setFont(const QFont& font) {
        painter_.setFont(font);
        metrics_ = QFontMetricsF(font, painter_.device());
    }
    const QFontMetricsF& metrics() const { return metrics_; }

    double width(const QString& text) const {
        return map_.unitsAcross(metrics_.horizontalAdvance(text));
    }
    double height() const { return map_.unitsUp(metrics_.height()); }

    void print(const QString& text, double left, double top) {
        painter_.drawText(QPointF(map_.column(left), map_.row(top) + metrics_.ascent()), text);
    }
    void printCentred(const QString& text, double centre, double top) {
        print(text, centre - width(text) / 2.0, top);
    }

private:
    QPainter& painter_;
    const PlotMapping& map_;
    QFontMetricsF metrics_{QFont()};
};

// The bold serif face of the y label with a character cell at most `cellHeight` pixels high:
// the largest pixel size whose ascent and descent fit in it.
QFont verticalFont(int cellHeight, QPaintDevice* device) {
    QFont font = serifFont(12, true);
    int size = std::max(cellHeight, 1);
    for (;;) {
        font.setPixelSize(size);
        if (size == 1 || QFontMetricsF(font, device).height() <= cellHeight) {
            return font;
        }
        --size;
    }
}

void drawFrame(QPainter& p, const PlotMapping& map, const EditorView& m) {
    const QRectF frame(QPointF(map.column(0), map.row(100)), QPointF(map.column(100), map.row(0)));
    p.fillRect(frame, Qt::white);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(frame);
    // Interior ticks only, on the bottom and left edges, pointing into the frame.
    for (int i = 1; i <= m.XAxis.TickCount - 2; ++i) {
        const double x = map.column(m.XAxis.tickPosition(i));
        p.drawLine(QPointF(x, map.row(0)), QPointF(x, map.row(2)));
    }
    for (int i = 1; i <= m.YAxis.TickCount - 2; ++i) {
        const double y = map.row(m.YAxis.tickPosition(i));
        p.drawLine(QPointF(map.column(0), y), QPointF(map.column(2), y));
    }
}

// One ring drawn once into a small transparent image, to be stamped at every point: much
// quicker than tracing each circle anew. The stamp has the plot's device pixels, so that rings
// stay sharp on screens of several device pixels to the window's pixel.
QImage ringStamp(const QColor& colour, double radius, qreal pixelRatio, QPointF& centre) {
    const int side = static_cast<int>(std::ceil(2.0 * radius)) + 3;
    const int deviceSide = static_cast<int>(std::ceil(side * pixelRatio));
    QImage stamp(deviceSide, deviceSide, QImage::Format_ARGB32_Premultiplied);
    stamp.setDevicePixelRatio(pixelRatio);
    stamp.fill(Qt::transparent);
    // The centre on a whole pixel, so that every ring is stamped alike.
    const int middle = side / 2;
    centre = QPointF(middle, middle);
    QPainter p(&stamp);
    p.setPen(QPen(colour, 1));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius, radius);
    return stamp;
}

// Calls `ring(centre, good, current)` for every point strictly inside the frame, its centre in
// pixels: the other scans' points first, in order, then the current scan's over them.
template <typename Ring>
void forEachRing(const PlotMapping& map, const EditorView& m, Ring ring) {
    const auto scanRings = [&](const EditScan& scan, bool current) {
        for (std::size_t i = 0; i < scan.size(); ++i) {
            const float x = scan.x(i);
            const float y = scan.y(i);
            if (m.XAxis.Low < x && x < m.XAxis.High && m.YAxis.Low < y && y < m.YAxis.High) {
                ring(QPointF(map.column(map.plotX(x)), map.row(map.plotY(y))), scan.third[i] > 0.0f,
                     current);
            }
        }
    };
    for (std::size_t k = 0; k < m.Scans.size(); ++k) {
        if (k != m.CurrentScan) {
            scanRings(m.Scans[k], false);
        }
    }
    scanRings(m.current(), true);
}

// A colour as the other scans of a run are drawn in: the same hue, most of the way to white.
QColor paler(const QColor& colour) {
    const auto towardWhite = [](int component) {
        return component + (255 - component) * 3 / 5;
    };
    return {towardWhite(colour.red()), towardWhite(colour.green()), towardWhite(colour.blue())};
}

// The first and last kept x of every scan's columns, as vertical lines across the frame.
void drawColumnLines(QPainter& p, const PlotMapping& map, const EditorView& m) {
    p.setPen(QPen(ColumnLineColour, 1, Qt::DashLine));
    for (const EditScan& scan : m.Scans) {
        for (const ColumnRange& column : scan.columns) {
            for (const std::int32_t i : {column.first, column.last}) {
                if (i < 1 || static_cast<std::size_t>(i) > scan.size()) {
                    continue;
                }
                const float x = scan.x(static_cast<std::size_t>(i - 1));
                if (m.XAxis.Low < x && x < m.XAxis.High) {
                    const double at = map.column(map.plotX(x));
                    p.drawLine(QPointF(at, map.row(0)), QPointF(at, map.row(100)));
                }
            }
        }
    }
}

// The pixels a stamp covers, when each is either fully covered or not at all; empty when the
// stamp has pixels partly covered, which only drawing the stamp blends right.
std::vector<QPoint> opaquePixels(const QImage& stamp) {
    std::vector<QPoint> pixels;
    for (int y = 0; y < stamp.height(); ++y) {
        for (int x = 0; x < stamp.width(); ++x) {
            const int alpha = qAlpha(stamp.pixel(x, y));
            if (alpha == 255) {
                pixels.emplace_back(x, y);
            } else if (alpha != 0) {
                return {};
            }
        }
    }
    return pixels;
}

void drawPoints(QPainter& p, const PlotMapping& map, const EditorView& m, const PlotColors& colors,
                RingDrawing drawing) {
    // The radius is taken across, so that the rings stay round whatever the window's shape.
    const double radius = map.pixelsAcross(EditorModel::MarkerSize * EditorModel::MarkerFactor);
    if (drawing == RingDrawing::Shapes) {
        p.setBrush(Qt::NoBrush);
        const PlotColors others{paler(colors.good), paler(colors.deleted)};
        forEachRing(map, m, [&](QPointF centre, bool good, bool current) {
            const PlotColors& in = current ? colors : others;
            p.setPen(QPen(good ? in.good : in.deleted, 1));
            QPainterPath ring;
            ring.addEllipse(centre, radius, radius);
            p.drawPath(ring);
        });
        return;
    }
    const qreal ratio = p.device()->devicePixelRatioF();
    QPointF stampCentre;
    // The colours and stamps by mark, for the current scan and then for the others.
    const std::array<QColor, 4> colours{colors.deleted, colors.good, paler(colors.deleted),
                                        paler(colors.good)};
    std::array<QImage, 4> stamps;
    for (std::size_t k = 0; k < stamps.size(); ++k) {
        stamps[k] = ringStamp(colours[k], radius, ratio, stampCentre);
    }
    const auto which = [](bool isGood, bool current) {
        return std::size_t{isGood ? 1U : 0U} + std::size_t{current ? 0U : 2U};
    };
    const QImage& good = stamps[1];
    const auto topLeft = [&stampCentre](QPointF centre) {
        return QPoint(static_cast<int>(std::lround(centre.x() - stampCentre.x())),
                      static_cast<int>(std::lround(centre.y() - stampCentre.y())));
    };
    // On a plain image of the window's pixels, the opaque pixels of the stamp are written
    // straight into the image: the same pixels as drawing the stamp, at a fraction of the cost.
    auto* image = dynamic_cast<QImage*>(p.device());
    const std::vector<QPoint> ring = opaquePixels(good);
    if (image != nullptr && image->format() == QImage::Format_RGB32 && ratio == 1.0 &&
        p.worldTransform().isIdentity() && !p.hasClipping() && !ring.empty()) {
        std::array<QRgb, 4> pixels{};
        for (std::size_t k = 0; k < colours.size(); ++k) {
            pixels[k] = colours[k].rgb();
        }
        // The image is detached once; every ring is then written through plain pointers.
        // A ring wholly inside the image, as nearly all are, is written by its pixels' offsets
        // from its top left corner, without a check for each pixel.
        const int width = image->width();
        const int height = image->height();
        const qsizetype stride = image->bytesPerLine() / qsizetype(sizeof(QRgb));
        auto* const bits = reinterpret_cast<QRgb*>(image->bits());
        std::vector<qsizetype> offsets;
        offsets.reserve(ring.size());
        for (const QPoint& pixel : ring) {
            offsets.push_back(pixel.y() * stride + pixel.x());
        }
        p.beginNativePainting();
        forEachRing(map, m, [&](QPointF centre, bool isGood, bool current) {
            const QPoint at = topLeft(centre);
            const QRgb pixel = pixels[which(isGood, current)];
            if (at.x() >= 0 && at.y() >= 0 && at.x() + good.width() <= width &&
                at.y() + good.height() <= height) {
                QRgb* const corner = bits + at.y() * stride + at.x();
                for (const qsizetype offset : offsets) {
                    corner[offset] = pixel;
                }
                return;
            }
            for (const QPoint& offset : ring) {
                const int x = at.x() + offset.x();
                const int y = at.y() + offset.y();
                if (x >= 0 && x < width && y >= 0 && y < height) {
                    bits[y * stride + x] = pixel;
                }
            }
        });
        p.endNativePainting();
        return;
    }
    forEachRing(map, m, [&](QPointF centre, bool isGood, bool current) {
        p.drawImage(topLeft(centre), stamps[which(isGood, current)]);
    });
}

void drawTexts(QPainter& p, const PlotMapping& map, const EditorView& m) {
    p.setPen(Qt::black);
    TextPrinter text(p, map);

    // The longer of the two title lines decides how far the title font shrinks.
    int titleSize = std::max<int>(m.TitleSize, 1);
    QFont plotFont = serifFont(titleSize, true);
    text.setFont(plotFont);
    const QString widest =
        toQString(trimmed(m.PlotTitle).size() > trimmed(m.PlotSubtitle).size() ? m.PlotTitle
                                                                               : m.PlotSubtitle);
    while (text.width(widest) >= 110.0 && titleSize > 1) {
        plotFont.setPointSize(--titleSize);
        text.setFont(plotFont);
    }

    text.printCentred(toQString(m.XAxisLabel + m.XAxis.Suffix), 50.0, -12.5 + text.height());
    text.printCentred(toQString(m.PlotTitle), 50.0, 100.0 + 1.2 * text.height());
    text.printCentred(toQString(m.PlotSubtitle), 50.0, 110.0);

    plotFont.setPointSize(std::max<int>(m.TickSize, 1));
    text.setFont(plotFont);
    for (int k = 0; k < m.XAxis.TickCount; ++k) {
        text.printCentred(toQString(m.XAxis.tickLabel(k)), m.XAxis.tickPosition(k), -1.0);
    }

    // The y label runs upward, the tops of its characters facing away from the frame, and
    // shrinks until it is shorter than the frame.
    const QString yLabel = toQString(m.YAxisLabel + m.YAxis.Suffix);
    int cellHeight = m.VerticalFontHeight;
    QFont upright = verticalFont(cellHeight, p.device());
    QFontMetricsF upMetrics(upright, p.device());
    double length = map.unitsUp(upMetrics.horizontalAdvance(yLabel));
    while (50.0 - length / 2.0 <= 0.0 && cellHeight > 1) {
        upright = verticalFont(--cellHeight, p.device());
        upMetrics = QFontMetricsF(upright, p.device());
        length = map.unitsUp(upMetrics.horizontalAdvance(yLabel));
    }
    p.save();
    p.translate(map.column(-18.0), map.row(50.0 - length / 2.0));
    p.rotate(-90.0);
    p.setFont(upright);
    p.drawText(QPointF(0.0, upMetrics.ascent()), yLabel);
    p.restore();

    text.setFont(plotFont);
    const double labelRaise = 2.0 / 3.0 * text.height();
    const double blank = text.width(QStringLiteral(" "));
    for (int k = 0; k < m.YAxis.TickCount; ++k) {
        const QString label = toQString(m.YAxis.tickLabel(k));
        text.print(label, -text.width(label) - blank, m.YAxis.tickPosition(k) + labelRaise);
    }
}

} // namespace

QColor toQColor(const PlotColor& colour) {
    return {std::clamp<int>(colour.Red, 0, 255), std::clamp<int>(colour.Green, 0, 255),
            std::clamp<int>(colour.Blue, 0, 255)};
}

PlotColors plotColors(const Program& program) {
    return {toQColor(program.colours.GoodColor), toQColor(program.colours.DeletedColor)};
}

QImage makePlotImage(QSize size, qreal pixelRatio) {
    const QSize pixels = (QSizeF(size.expandedTo(QSize(1, 1))) * pixelRatio).toSize();
    QImage image(pixels.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.setDevicePixelRatio(pixelRatio);
    setScreenResolution(image);
    image.fill(Qt::white);
    return image;
}

void renderPlot(QImage& image, const EditorView& view, const PlotColors& colors) {
    image.fill(Qt::white);
    QPainter p(&image);
    // The painter works in the window's pixels, whatever the image's device pixel ratio.
    renderPlot(p, image.deviceIndependentSize(), view, colors, RingDrawing::Stamped);
}

void renderPlot(QPainter& p, QSizeF size, const EditorView& view, const PlotColors& colors,
                RingDrawing rings) {
    const PlotMapping map{view.XAxis.Low, view.YAxis.Low, view.XScale,
                          view.YScale,    size.width(),   size.height()};
    drawFrame(p, map, view);
    drawPoints(p, map, view, colors, rings);
    drawColumnLines(p, map, view);
    drawTexts(p, map, view);
}

} // namespace skerry
