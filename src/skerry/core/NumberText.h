#pragma once

#include <string_view>

namespace skerry {

// True when the whole text is one C-locale decimal number: an optional sign, digits with an
// optional fraction ("12", "12.", "12.5") or a fraction alone (".5"), and an optional exponent
// introduced by E or D in either case, with an optional sign and at least one digit. Nothing
// else: no blanks, no thousands separators, no words such as "inf" or "nan". This is what a
// number in a scan file and a typed-in noise level look like.
bool isDecimalNumber(std::string_view text);

} // namespace skerry
