#pragma once

#include <QImage>

#include "skerry/ground/Platform.h"

class QWidget;

namespace skerry {

// The platform's pictures and Qt's images, pixel for pixel both ways.
Picture pictureFromImage(const QImage& image);
QImage imageFromPicture(const Picture& picture);

// Marks the image as 96 dots per inch, the screen resolution that pictures are taken at and
// that plots are drawn for.
void setScreenResolution(QImage& image);

// The window's client area as it is shown: everything drawn on it, overlays included.
Picture SnapClientArea(QWidget& window);

} // namespace skerry
