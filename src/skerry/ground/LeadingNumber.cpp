#include "skerry/ground/LeadingNumber.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>
#include <system_error>

namespace skerry {

namespace {

bool isSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Walks the text with the skipped characters already out of the way.
class Reader {
public:
    explicit Reader(std::string_view text) : text_(text) { skip(); }

    char peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    void advance() {
        ++pos_;
        skip();
    }

private:
    void skip() {
        while (pos_ < text_.size() && isSkipped(text_[pos_])) {
            ++pos_;
        }
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

double leadingNumber(std::string_view text) {
    Reader in(text);
    bool negative = false;
    if (in.peek() == '+' || in.peek() == '-') {
        negative = in.peek() == '-';
        in.advance();
    }

    // The number without sign and skipped characters, in the form std::from_chars reads.
    std::string number;
    // Where the leading non-zero digit stands relative to the point (digits before it count up,
    // zeros after it count down), to tell an overflow from an underflow when the value is out
    // of range: only the order of magnitude matters there.
    long long leadExponent = 0;
    bool seenNonZero = false;
    bool seenDigit = false;

    while (isDigit(in.peek())) {
        if (seenNonZero || in.peek() != '0') {
            seenNonZero = true;
            ++leadExponent;
        }
        seenDigit = true;
        number += in.peek();
        in.advance();
    }
    if (in.peek() == '.') {
        number += '.';
        in.advance();
        while (isDigit(in.peek())) {
            if (!seenNonZero) {
                if (in.peek() == '0') {
                    --leadExponent;
                } else {
                    seenNonZero = true;
                }
            }
            seenDigit = true;
            number += in.peek();
            in.advance();
        }
    }
    if (!seenDigit) {
        return 0.0;
    }

    long long exponent = 0;
    const char marker = in.peek();
    if (marker == 'E' || marker == 'e' || marker == 'D' || marker == 'd') {
        // An exponent letter counts only when digits follow it ("1E+" reads as 1); reading
        // ends there either way.
        in.advance();
        bool negativeExponent = false;
        if (in.peek() == '+' || in.peek() == '-') {
            negativeExponent = in.peek() == '-';
            in.advance();
        }
        if (isDigit(in.peek())) {
            number += negativeExponent ? "e-" : "e";
            constexpr long long saturation = 1'000'000'000;
            while (isDigit(in.peek())) {
                exponent = std::min(exponent * 10 + (in.peek() - '0'), saturation);
                number += in.peek();
                in.advance();
            }
            if (negativeExponent) {
                exponent = -exponent;
            }
        }
    }

    double value = 0.0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec == std::errc::result_out_of_range) {
        // Too large for a double reads as infinity, too small as zero.
        value = leadExponent + exponent >= 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

std::optional<std::int16_t> roundToInt16(double value) {
    // Well outside the range, and the comparison is false for NaN.
    if (!(std::fabs(value) < 65536.0)) {
        return std::nullopt;
    }
    double rounded = std::floor(value);
    const double fraction = value - rounded; // exact for magnitudes this small
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(rounded, 2.0) != 0.0)) {
        rounded += 1.0;
    }
    if (rounded < -32768.0 || rounded > 32767.0) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(rounded);
}

} // namespace skerry
