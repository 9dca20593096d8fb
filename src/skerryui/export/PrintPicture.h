#pragma once

#include <QImage>

class QPrinter;

namespace skerry {

// Prints the picture as a document of one page: the page turned to portrait for a picture at
// least as tall as it is wide and to landscape for a wider one, the picture fitted into the
// printable area with its proportions kept and drawn at 80% of that size, centred. The document
// is ended, so that the page goes to the printer. False when the printer could not be used.
bool PrintPictureFitted(QPrinter& printer, const QImage& picture);

} // namespace skerry
