#include "skerry/ground/NumberText.h"

#include <algorithm>
#include <cstddef>

namespace skerry {

namespace {

// Significands up to this many digits are held exactly in 64 bits.
constexpr int MaxSignificandDigits = 19;

// Exponents beyond this are far outside every floating-point range; larger ones are held at it.
constexpr int ExponentLimit = 100000;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

const char* skipSign(const char* p, const char* last) {
    return p != last && (*p == '+' || *p == '-') ? p + 1 : p;
}

// Takes a run of digits into the significand.
const char* takeDigits(const char* p, const char* last, DecimalNumberScan& scan, int& digits) {
    for (; p != last; ++p) {
        const auto digit = static_cast<unsigned>(static_cast<unsigned char>(*p)) - '0';
        if (digit > 9) {
            break;
        }
        if (digits < MaxSignificandDigits) {
            scan.significand = scan.significand * 10 + digit;
            // Leading zeros add nothing to the significand and are not counted.
            digits += scan.significand != 0 ? 1 : 0;
        } else {
            scan.significandExact = false;
        }
    }
    return p;
}

} // namespace

DecimalNumberScan scanDecimalNumber(std::string_view text) {
    // Scan files hold thousands of these, so the characters are walked once, and the value's
    // digits are taken on the way.
    const char* const first = text.data();
    const char* const last = first + text.size();
    DecimalNumberScan scan;
    scan.negative = first != last && *first == '-';
    const char* p = skipSign(first, last);
    const char* const integer = p;
    int digits = 0;
    p = takeDigits(p, last, scan, digits);
    bool anyDigit = p != integer;
    if (p != last && *p == '.') {
        const char* const fraction = ++p;
        p = takeDigits(p, last, scan, digits);
        anyDigit = anyDigit || p != fraction;
        // Each digit after the point is a tenth of the one before.
        scan.exponent = -static_cast<int>(std::min<std::ptrdiff_t>(p - fraction, ExponentLimit));
    }
    if (!anyDigit) {
        return {};
    }
    if (p != last && (*p == 'e' || *p == 'E' || *p == 'd' || *p == 'D')) {
        scan.fortranExponent = *p == 'd' || *p == 'D';
        const bool negativeExponent = p + 1 != last && p[1] == '-';
        const char* const exponent = skipSign(p + 1, last);
        int value = 0;
        for (p = exponent; p != last && isDigit(*p); ++p) {
            if (value < ExponentLimit) {
                value = value * 10 + (*p - '0');
            }
        }
        if (p == exponent) {
            return {};
        }
        scan.exponent += negativeExponent ? -value : value;
    }
    scan.length = static_cast<std::size_t>(p - first);
    return scan;
}

bool isDecimalNumber(std::string_view text) {
    const DecimalNumberScan scan = scanDecimalNumber(text);
    return scan.length != 0 && scan.length == text.size();
}

} // namespace skerry
