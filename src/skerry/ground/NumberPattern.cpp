#include "skerry/ground/NumberPattern.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <system_error>

namespace skerry {

// The patterns the program prints with have this shape:
//   prefix  '#'... '0'...  [ '.' '0'... ]  [ 'E+' '0'... ]  suffix
// The prefix and suffix are literal characters; the exponent form has exactly one '0' before
// the point, so its mantissa is always one digit, a point and the decimals.
struct NumberPattern::Section {
    std::string prefix;
    std::string suffix;
    int integerZeros = 0;   // '0' digits before the point: always printed
    int decimals = 0;       // '0' digits after the point
    bool point = false;     // the pattern has a '.'
    int exponentDigits = 0; // zeros after "E+"; 0 for the plain (fixed) form
};

namespace {

using Section = NumberPattern::Section;

bool isLiteral(char c) {
    return c == ' ' || c == '+' || c == '-' || c == ':';
}

[[noreturn]] void reject(std::string_view pattern, const char* why) {
    throw std::invalid_argument("number pattern \"" + std::string(pattern) + "\": " + why);
}

Section compileSection(std::string_view text, std::string_view pattern) {
    Section section;
    std::size_t i = 0;
    const auto at = [&](char c) {
        return i < text.size() && text[i] == c;
    };

    while (i < text.size() && isLiteral(text[i])) {
        section.prefix += text[i++];
    }
    int hashes = 0;
    while (at('#')) {
        ++hashes;
        ++i;
    }
    while (at('0')) {
        ++section.integerZeros;
        ++i;
    }
    if (hashes + section.integerZeros == 0) {
        reject(pattern, "no digit before the point");
    }
    if (at('.')) {
        section.point = true;
        ++i;
        while (at('0')) {
            ++section.decimals;
            ++i;
        }
    }
    if (at('E')) {
        ++i;
        if (!at('+')) {
            reject(pattern, "the exponent must start with \"E+\"");
        }
        ++i;
        while (at('0')) {
            ++section.exponentDigits;
            ++i;
        }
        if (section.exponentDigits == 0) {
            reject(pattern, "no exponent digits after \"E+\"");
        }
        if (hashes != 0 || section.integerZeros != 1) {
            reject(pattern, "the exponent form needs exactly one '0' before the point");
        }
    }
    while (i < text.size() && isLiteral(text[i])) {
        section.suffix += text[i++];
    }
    if (i != text.size()) {
        reject(pattern, "unexpected character");
    }
    return section;
}

// A finite, non-zero magnitude as decimal digits: digits[0] is the leading (non-zero) digit with
// place value 10^exponent, the others follow it downwards.
struct Digits {
    std::array<char, 16> digits{};
    int count = 0;
    int exponent = 0;
};

// Reads the output of std::to_chars in scientific form, "d.ddd...e+XX" without a sign.
Digits readScientific(const char* first, const char* last) {
    Digits result;
    const char* p = first;
    for (; p != last && *p != 'e'; ++p) {
        if (*p != '.') {
            result.digits[static_cast<std::size_t>(result.count++)] = *p;
        }
    }
    ++p; // the 'e'
    const bool negativeExponent = *p == '-';
    ++p;
    int exponent = 0;
    std::from_chars(p, last, exponent);
    result.exponent = negativeExponent ? -exponent : exponent;
    return result;
}

// Keeps the first `keep` digits (0 <= keep < count) and rounds on the next one, half away from
// zero. A carry out of the leading digit makes the result "1" one place higher.
void roundAt(Digits& d, int keep) {
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.count = keep;
    if (!up) {
        return;
    }
    for (int i = keep - 1; i >= 0; --i) {
        char& c = d.digits[static_cast<std::size_t>(i)];
        if (c != '9') {
            ++c;
            return;
        }
        c = '0';
    }
    d.digits[0] = '1';
    d.count = 1;
    ++d.exponent;
}

// The digit of the value at place value 10^place; zero when the value has none there.
char digitAt(const Digits& d, int place) {
    const int index = d.exponent - place;
    return index >= 0 && index < d.count ? d.digits[static_cast<std::size_t>(index)] : '0';
}

void appendFixed(std::string& out, const Section& s, Digits d, bool isZero) {
    if (!isZero) {
        // Digits with place value >= 10^-decimals stay.
        const int keep = d.exponent + s.decimals + 1;
        if (keep < 0) {
            isZero = true;
        } else if (keep == 0) {
            // Everything is below the last shown place; only a leading digit of 5 or more
            // rounds up to one unit of that place.
            isZero = d.digits[0] < '5';
            d.digits[0] = '1';
            d.count = 1;
            d.exponent = -s.decimals;
        } else if (keep < d.count) {
            roundAt(d, keep);
        }
    }
    if (isZero) {
        d.count = 0;
        d.exponent = -1;
    }
    const int significant = d.exponent >= 0 ? d.exponent + 1 : 0;
    const int integerDigits = std::max(significant, s.integerZeros);
    for (int place = integerDigits - 1; place >= 0; --place) {
        out += digitAt(d, place);
    }
    if (s.point) {
        out += '.';
    }
    for (int place = -1; place >= -s.decimals; --place) {
        out += digitAt(d, place);
    }
}

void appendExponential(std::string& out, const Section& s, Digits d, bool isZero) {
    if (isZero) {
        d.count = 0;
        d.exponent = 0;
    } else if (s.decimals + 1 < d.count) {
        roundAt(d, s.decimals + 1);
    }
    // Places relative to the mantissa's leading digit.
    const int shift = d.exponent;
    out += digitAt(d, shift);
    if (s.point) {
        out += '.';
    }
    for (int place = 1; place <= s.decimals; ++place) {
        out += digitAt(d, shift - place);
    }
    out += 'E';
    out += shift < 0 ? '-' : '+';
    std::array<char, 8> buffer{};
    const auto [end, ec] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), shift < 0 ? -shift : shift);
    const auto length = static_cast<int>(end - buffer.data());
    if (length < s.exponentDigits) {
        out.append(static_cast<std::size_t>(s.exponentDigits - length), '0');
    }
    out.append(buffer.data(), end);
}

// `precision` is the number of digits after the first in the step-one representation: 6 for a
// float (7 significant digits), 14 for a double (15).
template <typename T>
void appendValue(std::string& out, const std::vector<Section>& sections, T value, int precision) {
    const bool negative = std::signbit(value) && value != 0 && !std::isnan(value);
    const bool ownMinus = negative && sections.size() > 1;
    const Section& s = ownMinus ? sections[1] : sections[0];
    const bool addMinus = negative && !ownMinus;

    out += s.prefix;
    if (addMinus) {
        out += '-';
    }
    if (!std::isfinite(value)) {
        // A value the data should never hold, but arithmetic on typed-in values can produce.
        out += std::isnan(value) ? "nan" : "inf";
    } else {
        const bool isZero = value == 0;
        Digits digits;
        if (!isZero) {
            std::array<char, 32> buffer{};
            const auto [end, ec] =
                std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(value),
                              std::chars_format::scientific, precision);
            digits = readScientific(buffer.data(), end);
        }
        if (s.exponentDigits > 0) {
            appendExponential(out, s, digits, isZero);
        } else {
            appendFixed(out, s, digits, isZero);
        }
    }
    out += s.suffix;
}

} // namespace

NumberPattern::NumberPattern(std::string_view pattern) {
    const std::size_t split = pattern.find(';');
    if (split == std::string_view::npos) {
        sections_.push_back(compileSection(pattern, pattern));
        return;
    }
    const std::string_view negative = pattern.substr(split + 1);
    if (negative.find(';') != std::string_view::npos) {
        reject(pattern, "more than two sections");
    }
    sections_.push_back(compileSection(pattern.substr(0, split), pattern));
    sections_.push_back(compileSection(negative, pattern));
}

NumberPattern::NumberPattern(const NumberPattern& other) = default;
NumberPattern::NumberPattern(NumberPattern&& other) noexcept = default;
NumberPattern& NumberPattern::operator=(const NumberPattern& other) = default;
NumberPattern& NumberPattern::operator=(NumberPattern&& other) noexcept = default;
NumberPattern::~NumberPattern() = default;

void NumberPattern::appendTo(std::string& out, float value) const {
    appendValue(out, sections_, value, 6);
}

void NumberPattern::appendTo(std::string& out, double value) const {
    appendValue(out, sections_, value, 14);
}

std::string NumberPattern::format(float value) const {
    std::string text;
    appendTo(text, value);
    return text;
}

std::string NumberPattern::format(double value) const {
    std::string text;
    appendTo(text, value);
    return text;
}

std::string formatNumber(float value, std::string_view pattern) {
    return NumberPattern(pattern).format(value);
}

std::string formatNumber(double value, std::string_view pattern) {
    return NumberPattern(pattern).format(value);
}

} // namespace skerry
