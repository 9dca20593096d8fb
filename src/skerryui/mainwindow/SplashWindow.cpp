#include "skerryui/mainwindow/SplashWindow.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "skerry/ground/NumberPattern.h"
#include "skerryui/base/Fonts.h"

namespace skerry {

namespace {

QString shortVersion() {
    return QStringLiteral("Skerry V") +
           QString::fromStdString(formatNumber(double{SKERRY_VERSION_MAJOR}, "0.") +
                                  formatNumber(double{SKERRY_VERSION_MINOR}, "000"));
}

// A cell sector seen from above with a sedimentation boundary, and the scan it gives: the
// picture of what the program edits.
void drawPicture(QPainter& p, const QRectF& box) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(box, QColor(236, 242, 248));
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.drawRect(box);

    // The scan: a boundary rising from the meniscus to the plateau.
    const QRectF plot = box.adjusted(14, 14, -14, -14);
    QPainterPath curve;
    for (int i = 0; i <= 60; ++i) {
        const double t = i / 60.0;
        const double y = 0.08 + 0.78 / (1.0 + std::exp(-(t - 0.45) * 14.0)) + 0.1 * t;
        const QPointF point(plot.left() + t * plot.width(), plot.bottom() - y * plot.height());
        if (i == 0) {
            curve.moveTo(point);
        } else {
            curve.lineTo(point);
        }
    }
    p.setPen(QPen(QColor(0, 127, 0), 2.0));
    p.drawPath(curve);
    p.setPen(QPen(QColor(255, 0, 0), 1.5));
    for (int i = 0; i < 4; ++i) {
        p.drawEllipse(QPointF(plot.left() + (0.02 + 0.03 * i) * plot.width(),
                              plot.bottom() - (0.5 - 0.1 * i) * plot.height()),
                      3.0, 3.0);
    }
    p.restore();
}

} // namespace

SplashWindow::SplashWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("Splash1"));
    setWindowTitle(shortVersion());
    setFixedSize(480, 240);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
}

void SplashWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(Qt::black);
    p.setFont(serifFont(18, true));
    p.drawText(QRect(0, 16, width(), 34), Qt::AlignHCenter,
               shortVersion() + QStringLiteral("  for Win95 + WinNT"));
    p.setFont(serifFont(14));
    p.drawText(QRect(190, 70, width() - 200, 28), Qt::AlignLeft,
               QStringLiteral("Editing Program For Analytical"));
    p.drawText(QRect(190, 98, width() - 200, 28), Qt::AlignLeft,
               QStringLiteral("Ultracentrifugation Data"));
    drawPicture(p, QRectF(24, 66, 150, 150));
    p.setFont(serifFont(10));
    p.drawText(QRect(190, 150, width() - 200, 22), Qt::AlignLeft,
               QStringLiteral("Written by the Skerry developers"));
    p.drawText(QRect(190, 172, width() - 200, 22), Qt::AlignLeft,
               QStringLiteral("Free software for ultracentrifuge users"));
}

} // namespace skerry
