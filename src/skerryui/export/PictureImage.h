#pragma once

#include <QImage>

#include "skerry/core/Platform.h"

class QWidget;

namespace skerry {

// The platform's pictures and Qt's images, pixel for pixel both ways.
Picture pictureFromImage(const QImage& image);
QImage imageFromPicture(const Picture& picture);

// The window's client area as it is shown: everything drawn on it, overlays included.
Picture SnapClientArea(QWidget& window);

} // namespace skerry
