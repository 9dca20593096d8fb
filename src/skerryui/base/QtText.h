#pragma once

#include <QString>
#include <string_view>

namespace skerry {

// The program's own strings are UTF-8; this is how they become Qt's text.
QString toQString(std::string_view text);

// A caption for a menu entry or tab, shown as it is: captions made from file or printer names
// may hold '&', which Qt would otherwise take for a keyboard accelerator.
QString menuText(std::string_view caption);

} // namespace skerry
