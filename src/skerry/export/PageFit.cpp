#include "skerry/export/PageFit.h"

namespace skerry {

PageOrientation pictureOrientation(double pictureWidth, double pictureHeight) {
    return pictureHeight >= pictureWidth ? PageOrientation::Portrait : PageOrientation::Landscape;
}

PagePlacement fitPictureOnPage(double pictureWidth, double pictureHeight, double pageWidth,
                               double pageHeight) {
    const double r = pictureWidth / pictureHeight;
    const double q = pageWidth / pageHeight;
    double fittedWidth = 0.0;
    double fittedHeight = 0.0;
    if (r >= q) {
        fittedWidth = pageWidth;
        fittedHeight = pageWidth / r;
    } else {
        fittedHeight = pageHeight;
        fittedWidth = pageHeight * r;
    }
    PagePlacement place;
    place.width = 0.8 * fittedWidth;
    place.height = 0.8 * fittedHeight;
    // 80% of a size that fits leaves a margin on every side, so the offsets are never negative.
    place.x = (pageWidth - place.width) / 2.0;
    place.y = (pageHeight - place.height) / 2.0;
    return place;
}

} // namespace skerry
