#include "skerryui/export/PrintPicture.h"

#include <QPainter>
#include <QPrinter>

#include "skerry/export/PageFit.h"

namespace skerry {

bool PrintPictureFitted(QPrinter& printer, const QImage& picture) {
    // The page is turned first: its printable area is measured in the new orientation.
    printer.setPageOrientation(pictureOrientation(picture.width(), picture.height()) ==
                                       PageOrientation::Portrait
                                   ? QPageLayout::Portrait
                                   : QPageLayout::Landscape);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    // The painter's origin is the printable area's top left corner, in device pixels.
    const PagePlacement place =
        fitPictureOnPage(picture.width(), picture.height(), printer.width(), printer.height());
    painter.drawImage(QRectF(place.x, place.y, place.width, place.height), picture);
    return painter.end();
}

} // namespace skerry
