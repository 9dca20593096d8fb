#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace skerry {

// How a C-locale decimal number at the start of a text was read: an optional sign, digits with
// an optional fraction ("12", "12.", "12.5") or a fraction alone (".5"), and an optional
// exponent introduced by E or D in either case, with an optional sign and at least one digit.
// Its value is (-1 when negative) * significand * 10^exponent while significandExact holds.
struct DecimalNumberScan {
    std::size_t length = 0;       // characters of the number; 0: the text starts with none
    bool fortranExponent = false; // the exponent is introduced by D or d
    bool negative = false;
    std::uint64_t significand = 0; // the digits without the point
    bool significandExact = true;  // false when there were too many digits to hold
    int exponent = 0;              // meaningful while significandExact holds
};

// Reads the number at the start of `text` up to the first character that cannot continue it.
// A start that cannot be completed to a number ("-", ".", "1E", "1E+") reads as none.
DecimalNumberScan scanDecimalNumber(std::string_view text);

// True when the whole text is one decimal number of the form above. Nothing else: no blanks, no
// thousands separators, no words such as "inf" or "nan". This is what a number in a scan file
// and a typed-in noise level look like.
bool isDecimalNumber(std::string_view text);

} // namespace skerry
