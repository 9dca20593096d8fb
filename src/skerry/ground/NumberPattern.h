#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace skerry {

// A display pattern such as "0.00000", "##: " or " 0.00000E+00;-0.00000E+00", compiled once
// and then used to turn numbers into text.
//
// Every number the program shows or writes goes through one of these, so the rounding is the
// same everywhere: the value is first written with 7 significant digits (a float) or 15 (a
// double), and those decimal digits are then rounded half away from zero to the digits the
// pattern shows. The decimal separator is always '.'.
class NumberPattern {
public:
    // Throws std::invalid_argument for a pattern it cannot compile.
    explicit NumberPattern(std::string_view pattern);

    // Defined where Section is complete, so that users of this header can copy, move and
    // destroy patterns without seeing its layout.
    NumberPattern(const NumberPattern& other);
    NumberPattern(NumberPattern&& other) noexcept;
    NumberPattern& operator=(const NumberPattern& other);
    NumberPattern& operator=(NumberPattern&& other) noexcept;
    ~NumberPattern();

    // Writes the number at `out`, which must have room for maxLength() characters, and returns
    // where it ends: for callers that write many numbers into a buffer of their own.
    char* write(char* out, float value) const;
    char* write(char* out, double value) const;
    std::size_t maxLength() const;

    void appendTo(std::string& out, float value) const;
    void appendTo(std::string& out, double value) const;

    std::string format(float value) const;
    std::string format(double value) const;

    struct Section; // one side of "positive;negative"

private:
    std::vector<Section> sections_;
};

// One-off formatting; compile the pattern once where it is used in a loop.
std::string formatNumber(float value, std::string_view pattern);
std::string formatNumber(double value, std::string_view pattern);

} // namespace skerry
