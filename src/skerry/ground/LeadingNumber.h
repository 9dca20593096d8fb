#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace skerry {

// Reads the number at the start of a text the forgiving way that values in fit files are read:
// blanks, tabs and line feeds anywhere in the text are skipped ("1 2" reads as 12); then an
// optional sign, digits, an optional '.' and fraction and an optional exponent ('E' or 'D',
// optional sign, digits). Reading stops at the first character that cannot continue the number;
// a text without a number reads as 0. A number too large for a double reads as +/-infinity.
double leadingNumber(std::string_view text);

// Rounds to the nearest 16-bit integer, halves to the even neighbour (12.5 gives 12, 13.5
// gives 14). Values outside -32768..32767 (and NaN) have no 16-bit form: nullopt.
std::optional<std::int16_t> roundToInt16(double value);

} // namespace skerry
