#include "skerryui/export/PictureImage.h"

#include <QPixmap>
#include <QWidget>
#include <algorithm>

namespace skerry {

Picture pictureFromImage(const QImage& image) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    Picture picture;
    picture.width = rgb.width();
    picture.height = rgb.height();
    picture.pixels.resize(static_cast<std::size_t>(picture.width) *
                          static_cast<std::size_t>(picture.height));
    auto out = picture.pixels.begin();
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        out = std::copy(line, line + rgb.width(), out);
    }
    return picture;
}

QImage imageFromPicture(const Picture& picture) {
    QImage image(picture.width, picture.height, QImage::Format_RGB32);
    setScreenResolution(image);
    for (int y = 0; y < picture.height; ++y) {
        const auto row = picture.pixels.begin() + static_cast<std::ptrdiff_t>(y) * picture.width;
        std::copy(row, row + picture.width, reinterpret_cast<QRgb*>(image.scanLine(y)));
    }
    return image;
}

void setScreenResolution(QImage& image) {
    // QImage keeps its resolution in dots per metre.
    constexpr int DotsPerMeter96 = 3780;
    image.setDotsPerMeterX(DotsPerMeter96);
    image.setDotsPerMeterY(DotsPerMeter96);
}

Picture SnapClientArea(QWidget& window) {
    return pictureFromImage(window.grab().toImage());
}

} // namespace skerry
