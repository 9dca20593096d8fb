#include "skerryui/editor/EditorIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace skerry {

namespace {

const QColor RemoveRed(200, 0, 0);
const QColor RestoreGreen(0, 140, 0);
const QColor Ink(40, 40, 40);
const QColor Ring(0, 110, 200);

// Every icon is designed on a 24 x 24 grid and scaled to the toolbar's size.
void drawRingWithMark(QPainter& p, bool restore) {
    p.setPen(QPen(Ring, 2.0));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(10.0, 12.0), 6.0, 6.0);
    p.setPen(QPen(restore ? RestoreGreen : RemoveRed, 3.0, Qt::SolidLine, Qt::RoundCap));
    if (restore) {
        QPainterPath tick;
        tick.moveTo(13.0, 16.0);
        tick.lineTo(16.5, 20.0);
        tick.lineTo(22.0, 11.0);
        p.drawPath(tick);
    } else {
        p.drawLine(QPointF(14.0, 13.0), QPointF(21.0, 20.0));
        p.drawLine(QPointF(21.0, 13.0), QPointF(14.0, 20.0));
    }
}

void drawSweep(QPainter& p, bool restore) {
    const QColor colour = restore ? RestoreGreen : RemoveRed;
    // The cursor's line with arrows out to both sides.
    p.setPen(QPen(Ink, 1.5));
    p.drawLine(QPointF(12.0, 3.0), QPointF(12.0, 21.0));
    p.setPen(QPen(colour, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawLine(QPointF(10.0, 12.0), QPointF(2.5, 12.0));
    p.drawLine(QPointF(2.5, 12.0), QPointF(6.0, 8.5));
    p.drawLine(QPointF(2.5, 12.0), QPointF(6.0, 15.5));
    p.drawLine(QPointF(14.0, 12.0), QPointF(21.5, 12.0));
    p.drawLine(QPointF(21.5, 12.0), QPointF(18.0, 8.5));
    p.drawLine(QPointF(21.5, 12.0), QPointF(18.0, 15.5));
    // Small rings for the points swept.
    p.setPen(QPen(Ring, 1.5));
    p.setBrush(Qt::NoBrush);
    for (double x : {4.0, 8.0, 16.0, 20.0}) {
        p.drawEllipse(QPointF(x, 19.0), 1.6, 1.6);
    }
}

void drawZoom(QPainter& p) {
    p.setPen(QPen(Ink, 2.0));
    p.setBrush(QColor(220, 235, 255));
    p.drawEllipse(QPointF(10.0, 10.0), 7.0, 7.0);
    p.setPen(QPen(Ink, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(15.5, 15.5), QPointF(21.5, 21.5));
    p.setPen(QPen(Ink, 1.8));
    p.drawLine(QPointF(6.5, 10.0), QPointF(13.5, 10.0));
    p.drawLine(QPointF(10.0, 6.5), QPointF(10.0, 13.5));
}

// A door with a green tick (leave and keep the edits) or a red cross (leave without them).
void drawExit(QPainter& p, bool accept) {
    p.setPen(QPen(Ink, 1.5));
    p.setBrush(QColor(235, 225, 205));
    p.drawRect(QRectF(3.0, 2.5, 11.0, 19.0));
    p.setBrush(Ink);
    p.drawEllipse(QPointF(11.5, 12.0), 0.9, 0.9);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(accept ? RestoreGreen : RemoveRed, 3.0, Qt::SolidLine, Qt::RoundCap));
    if (accept) {
        QPainterPath tick;
        tick.moveTo(12.5, 15.0);
        tick.lineTo(16.0, 19.5);
        tick.lineTo(22.0, 8.0);
        p.drawPath(tick);
    } else {
        p.drawLine(QPointF(14.0, 9.0), QPointF(21.5, 17.5));
        p.drawLine(QPointF(21.5, 9.0), QPointF(14.0, 17.5));
    }
}

// A scan's trace, rising to a plateau, between the two dashed cuts the suggestion would make,
// with a spark for the suggestion.
void drawSuggest(QPainter& p) {
    p.setPen(QPen(Ink, 1.5, Qt::DashLine));
    p.drawLine(QPointF(6.0, 4.0), QPointF(6.0, 22.0));
    p.drawLine(QPointF(18.0, 4.0), QPointF(18.0, 22.0));
    p.setPen(QPen(Ring, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath trace;
    trace.moveTo(2.0, 20.0);
    trace.lineTo(5.0, 19.0);
    trace.cubicTo(9.0, 18.0, 10.0, 12.0, 14.0, 11.5);
    trace.lineTo(17.0, 11.0);
    trace.lineTo(20.0, 6.0);
    p.drawPath(trace);
    p.setPen(QPen(RestoreGreen, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12.0, 2.0), QPointF(12.0, 7.0));
    p.drawLine(QPointF(9.5, 4.5), QPointF(14.5, 4.5));
}

QPixmap drawIcon(int button, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 24.0, size / 24.0);
    switch (button) {
    case 1:
        drawZoom(p);
        break;
    case 2:
        drawRingWithMark(p, false);
        break;
    case 3:
        drawSweep(p, false);
        break;
    case 4:
        drawRingWithMark(p, true);
        break;
    case 5:
        drawSweep(p, true);
        break;
    case 7:
        drawExit(p, true);
        break;
    case 9:
        drawSuggest(p);
        break;
    default:
        drawExit(p, false);
        break;
    }
    return pixmap;
}

} // namespace

QIcon editorToolIcon(int button) {
    QIcon icon;
    icon.addPixmap(drawIcon(button, LargeToolIcon));
    icon.addPixmap(drawIcon(button, SmallToolIcon));
    return icon;
}

} // namespace skerry
