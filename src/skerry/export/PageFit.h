#pragma once

namespace skerry {

// How a picture is laid on a printed page.
enum class PageOrientation { Portrait = 1, Landscape = 2 };

// Portrait for a picture at least as tall as it is wide, landscape for a wider one. The page is
// turned before it is measured.
PageOrientation pictureOrientation(double pictureWidth, double pictureHeight);

// Where on the page, in the page's own units from the top left corner of its printable area.
struct PagePlacement {
    double x = 0.0;
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;

    friend bool operator==(const PagePlacement&, const PagePlacement&) = default;
};

// Fits a picture of positive size into the printable area: a picture relatively wider than the
// page (or exactly as wide) takes the page's width, any other takes its height, with the
// picture's proportions kept; the printed size is 80% of that, centred. The picture's size may be
// in any unit of its own.
PagePlacement fitPictureOnPage(double pictureWidth, double pictureHeight, double pageWidth,
                               double pageHeight);

} // namespace skerry
