#include "skerry/ground/NumberPattern.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
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
    std::array<char, 24> digits{}; // only the first `count` are read
    int count = 0;
    int exponent = 0;
};

// Reads the output of std::to_chars in scientific form with `precision` digits after the point,
// "d.ddd...e+XX" without a sign.
Digits readScientific(const char* first, const char* last, int precision) {
    Digits result;
    result.digits[0] = first[0];
    std::copy(first + 2, first + 2 + precision, result.digits.begin() + 1);
    result.count = precision + 1;
    const char* p = first + 2 + precision; // the 'e'
    const bool negativeExponent = p[1] == '-';
    int exponent = 0;
    for (p += 2; p != last; ++p) {
        exponent = exponent * 10 + (*p - '0');
    }
    result.exponent = negativeExponent ? -exponent : exponent;
    return result;
}

// The step-one digits of a value: its decimal form with precision + 1 significant digits,
// rounded half to even on the binary value, as std::to_chars gives it.
template <typename T>
Digits significantDigits(T magnitude, int precision) {
    std::array<char, 32> buffer{};
    const auto [end, ec] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                         std::chars_format::scientific, precision);
    return readScientific(buffer.data(), end, precision);
}

// 128-bit integers, which GCC and Clang have on every platform Skerry builds for.
__extension__ using Uint128 = unsigned __int128;

constexpr std::array<Uint128, 32> powersOfTen = [] {
    std::array<Uint128, 32> powers{};
    Uint128 power = 1;
    for (auto& p : powers) {
        p = power;
        power *= 10;
    }
    return powers;
}();

// How the significant digits of a float or a double are found by integer arithmetic: a positive
// normal value is m * 2^-shift with an integer m below 2^(mantissa bits + 1).
template <typename T>
struct Binary;
template <>
struct Binary<float> {
    using Bits = std::uint32_t;
    static constexpr int mantissaBits = 23;
    static constexpr int bias = 127;
    static constexpr int digits = 7;
};
template <>
struct Binary<double> {
    using Bits = std::uint64_t;
    static constexpr int mantissaBits = 52;
    static constexpr int bias = 1023;
    static constexpr int digits = 15;
};

// The step-one digits of a float (7) or a double (15), found with integer arithmetic, which
// costs a fraction of the general conversion: the listing and saved files turn thousands of
// numbers into digits. For a value m * 2^-shift with shift > 0, value * 10^k for the k that
// leaves `digits` integer digits is m * 10^k / 2^shift; where its numerator fits 128 bits, its
// integer part and the rounding of the rest (half to even, as the general conversion rounds)
// are exact. Other values take the general way.
template <typename T>
Digits significantDigits(T magnitude) {
    using B = Binary<T>;
    const auto bits = std::bit_cast<typename B::Bits>(magnitude);
    const auto biased = static_cast<int>(bits >> B::mantissaBits); // the sign bit is clear
    const int shift = B::bias + B::mantissaBits - biased;
    const auto m =
        static_cast<std::uint64_t>((bits & ((typename B::Bits{1} << B::mantissaBits) - 1)) |
                                   (typename B::Bits{1} << B::mantissaBits));
    // floor(log10(magnitude)) within one: magnitude lies in [2^(biased-bias), 2^(biased-bias+1)),
    // and 78913 / 2^18 is log10(2) to six places.
    int decimalExponent = ((biased - B::bias) * 78913) >> 18;
    const auto low = static_cast<std::uint64_t>(powersOfTen[B::digits - 1]);
    const std::uint64_t high = low * 10;
    const bool normal = biased != 0 && biased != (1 << (8 * sizeof(T) - 1 - B::mantissaBits)) - 1;
    for (int attempt = 0; attempt < 2 && normal; ++attempt) {
        const int k = B::digits - 1 - decimalExponent;
        // m * 10^k must fit 128 bits.
        const int maxK = B::mantissaBits == 23 ? 31 : 22;
        if (shift <= 0 || shift > 127 || k < 0 || k > maxK) {
            break;
        }
        const Uint128 scaled = m * powersOfTen[static_cast<std::size_t>(k)];
        auto whole = static_cast<std::uint64_t>(scaled >> shift);
        if (whole >= high) {
            ++decimalExponent;
            continue;
        }
        if (whole < low) {
            --decimalExponent;
            continue;
        }
        const Uint128 rest = scaled & ((Uint128{1} << shift) - 1);
        const Uint128 half = Uint128{1} << (shift - 1);
        if (rest > half || (rest == half && (whole & 1) != 0)) {
            ++whole;
        }
        if (whole == high) {
            whole = low;
            ++decimalExponent;
        }
        Digits result;
        for (int i = B::digits - 1; i >= 0; --i) {
            result.digits[static_cast<std::size_t>(i)] = static_cast<char>('0' + whole % 10);
            whole /= 10;
        }
        result.count = B::digits;
        result.exponent = decimalExponent;
        return result;
    }
    return significantDigits<T>(magnitude, B::digits - 1);
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

// Writes the characters of a number one after the other into a buffer known to be large
// enough. The listing writes thousands of numbers, and growing a string a character at a time
// costs more than finding the digits.
class Text {
public:
    explicit Text(char* at) : at_(at) {}
    void put(char c) { *at_++ = c; }
    void put(std::string_view text) {
        for (const char c : text) {
            *at_++ = c;
        }
    }
    void putZeros(int count) {
        for (int i = 0; i < count; ++i) {
            *at_++ = '0';
        }
    }
    char* end() const { return at_; }

private:
    char* at_;
};

// Writes the digits of the places 10^from down to 10^to (from >= to): zeros above the leading
// digit and below the last one.
void putPlaces(Text& out, const Digits& d, int from, int to) {
    int index = d.exponent - from; // of the digit at place `from`
    const int last = d.exponent - to;
    if (index < 0) {
        const int zeros = std::min(last, -1) - index + 1;
        out.putZeros(zeros);
        index += zeros;
    }
    if (index <= last && index < d.count) {
        const int count = std::min(last, d.count - 1) - index + 1;
        out.put(std::string_view(d.digits.data() + index, static_cast<std::size_t>(count)));
        index += count;
    }
    out.putZeros(last - index + 1);
}

void appendFixed(Text& out, const Section& s, Digits d, bool isZero) {
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
    putPlaces(out, d, integerDigits - 1, 0);
    if (s.point) {
        out.put('.');
    }
    if (s.decimals > 0) {
        putPlaces(out, d, -1, -s.decimals);
    }
}

void appendExponential(Text& out, const Section& s, Digits d, bool isZero) {
    if (isZero) {
        d.count = 0;
        d.exponent = 0;
    } else if (s.decimals + 1 < d.count) {
        roundAt(d, s.decimals + 1);
    }
    // The mantissa: the leading digit, then the decimals as far as there are digits, then
    // zeros.
    const int shift = d.exponent;
    out.put(d.count > 0 ? d.digits[0] : '0');
    if (s.point) {
        out.put('.');
    }
    const int decimalDigits = std::clamp(d.count - 1, 0, s.decimals);
    out.put(std::string_view(d.digits.data() + 1, static_cast<std::size_t>(decimalDigits)));
    out.putZeros(s.decimals - decimalDigits);
    out.put('E');
    out.put(shift < 0 ? '-' : '+');
    // The exponent's digits, at least as many as the pattern has.
    std::array<char, 8> digits{};
    int length = 0;
    for (int e = shift < 0 ? -shift : shift; e != 0 || length == 0; e /= 10) {
        digits[static_cast<std::size_t>(length++)] = static_cast<char>('0' + e % 10);
    }
    out.putZeros(s.exponentDigits - length);
    while (length > 0) {
        out.put(digits[static_cast<std::size_t>(--length)]);
    }
}

// A float is written from 7 significant digits, a double from 15.
template <typename T>
char* writeValue(char* out, const std::vector<Section>& sections, T value) {
    const bool negative = std::signbit(value) && value != 0 && !std::isnan(value);
    const bool ownMinus = negative && sections.size() > 1;
    const Section& s = ownMinus ? sections[1] : sections[0];
    const bool addMinus = negative && !ownMinus;

    Text text(out);
    text.put(s.prefix);
    if (addMinus) {
        text.put('-');
    }
    if (!std::isfinite(value)) {
        // A value the data should never hold, but arithmetic on typed-in values can produce.
        text.put(std::isnan(value) ? "nan" : "inf");
    } else {
        const bool isZero = value == 0;
        Digits digits;
        if (!isZero) {
            digits = significantDigits(std::fabs(value));
        }
        if (s.exponentDigits > 0) {
            appendExponential(text, s, digits, isZero);
        } else {
            appendFixed(text, s, digits, isZero);
        }
    }
    text.put(s.suffix);
    return text.end();
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

std::size_t NumberPattern::maxLength() const {
    std::size_t longest = 0;
    for (const Section& s : sections_) {
        // A minus, the integer digits of the largest double, the point and decimals, and an
        // exponent of up to three digits with its "E" and sign.
        const std::size_t digits =
            1 + static_cast<std::size_t>(std::max(s.integerZeros, 309) + 1 + s.decimals + 2 +
                                         std::max(s.exponentDigits, 3));
        longest = std::max(longest, s.prefix.size() + s.suffix.size() + digits);
    }
    return longest;
}

char* NumberPattern::write(char* out, float value) const {
    return writeValue(out, sections_, value);
}

char* NumberPattern::write(char* out, double value) const {
    return writeValue(out, sections_, value);
}

void NumberPattern::appendTo(std::string& out, float value) const {
    const std::size_t size = out.size();
    out.resize(size + maxLength());
    out.resize(static_cast<std::size_t>(write(out.data() + size, value) - out.data()));
}

void NumberPattern::appendTo(std::string& out, double value) const {
    const std::size_t size = out.size();
    out.resize(size + maxLength());
    out.resize(static_cast<std::size_t>(write(out.data() + size, value) - out.data()));
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
