#include "skerryui/base/Fonts.h"

namespace skerry {

namespace {

QFont namedFont(const char* family, QFont::StyleHint hint, qreal pointSize, bool bold) {
    QFont font(QString::fromLatin1(family));
    font.setStyleHint(hint);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

} // namespace

QFont fixedPitchFont(qreal pointSize) {
    return namedFont("Courier New", QFont::TypeWriter, pointSize, false);
}

QFont serifFont(qreal pointSize, bool bold) {
    return namedFont("Times New Roman", QFont::Serif, pointSize, bold);
}

QFont sansFont(qreal pointSize, bool bold) {
    return namedFont("MS Sans Serif", QFont::SansSerif, pointSize, bold);
}

} // namespace skerry
