#include "skerryui/base/QtText.h"

namespace skerry {

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString menuText(std::string_view caption) {
    return toQString(caption).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace skerry
