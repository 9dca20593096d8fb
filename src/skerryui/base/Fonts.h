#pragma once

#include <QFont>

namespace skerry {

// The three faces the program's windows are designed with. They are asked for by name; where a
// system lacks them, font matching supplies the metric-compatible Liberation faces.
QFont fixedPitchFont(qreal pointSize);               // "Courier New"
QFont serifFont(qreal pointSize, bool bold = false); // "Times New Roman"
QFont sansFont(qreal pointSize, bool bold = false);  // "MS Sans Serif"

} // namespace skerry
