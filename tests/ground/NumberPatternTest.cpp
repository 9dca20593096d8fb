#include "skerry/ground/NumberPattern.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>

namespace skerry {
namespace {

struct FloatCase {
    const char* pattern;
    float value;
    const char* expected;
};

struct DoubleCase {
    const char* pattern;
    double value;
    const char* expected;
};

constexpr const char* kListing = " 0.00000E+00;-0.00000E+00";
constexpr const char* kShort = " 0.000E+00;-0.000E+00";
constexpr double kInf = std::numeric_limits<double>::infinity();

// Single-precision values go through 7 significant digits before the pattern rounds them.
TEST(NumberPatternTest, FormatsFloats) {
    const FloatCase cases[] = {
        {"0.00000", 6.12345f, "6.12345"},
        // 12345.678f is 12345.677734375: 7 digits give 12345.68, not the double's 12345.678.
        {"0.00000", 12345.678f, "12345.68000"},
        // 2.675f is 2.6749999523..., but its 7 digits 2.675000 round up.
        {"0.00", 2.675f, "2.68"},
        {"0.000000000", 1.1f, "1.100000000"},
        // 16777217 is stored as 16777216, whose 7 digits are 1677722.
        {"0000", 16777217.0f, "16777220"},
        // Carry into a new integer digit.
        {"0.00000", 9.999996f, "10.00000"},
        {"0.00000", 0.01f, "0.01000"},
        // Listing examples.
        {kListing, -0.5f, "-5.00000E-01"},
        {kListing, 0.0f, " 0.00000E+00"},
        {kListing, -0.0f, " 0.00000E+00"},
        {kShort, 0.01f, " 1.000E-02"},
        {kShort, -0.01f, "-1.000E-02"},
        // 1e-38f is the subnormal 9.999999e-39; rounding the mantissa moves the exponent.
        {kListing, 1e-38f, " 1.00000E-38"},
        {"0.00000", 1e-38f, "0.00000"},
        {"0.00000", -1e-38f, "-0.00000"},
        {kShort, 3.4e38f, " 3.400E+38"},
        {"0.00", 3.4e38f, "340000000000000000000000000000000000000.00"},
        {"0.000E+00", std::numeric_limits<float>::max(), "3.403E+38"},
        {"+0.00E+00;-0.00E+00", 9.996f, "+1.00E+01"},
        {kShort, -std::numeric_limits<float>::infinity(), "-inf"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumberPattern(c.pattern).format(c.value), c.expected)
            << "pattern \"" << c.pattern << "\", value " << c.value;
    }
}

// Double-precision values go through 15 significant digits.
TEST(NumberPatternTest, FormatsDoubles) {
    const DoubleCase cases[] = {
        // Rounding is on the 15 decimal digits (2.67500000000000), not on the binary value.
        {"0.00", 2.675, "2.68"},
        {"0.00", -2.675, "-2.68"},
        {"0.000", 2.0005, "2.001"},
        {"+0.00E+00", 9.996, "+1.00E+01"},
        {"+0.00E+00;-0.00E+00", -9.996, "-1.00E+01"},
        // The same binary value as 1.1f, shown with 15 digits instead of 7.
        {"0.000000000", static_cast<double>(1.1f), "1.100000024"},
        {"0.00000", 12345.678, "12345.67800"},
        {"00.00000", 5.25, "05.25000"},
        {"00.00000", 123.456, "123.45600"},
        {"0.000", 0.9996, "1.000"},
        {"0.0000E+00", 0.999996, "1.0000E+00"},
        // Values below the last shown place: a leading 5 rounds up to one unit of that place.
        {"0.000", 0.0005, "0.001"},
        {"0.000", -0.0005, "-0.001"},
        {"0.000", 0.00049999999999999, "0.000"},
        {"0.000", -0.0000001, "-0.000"},
        {"0.000", -0.0, "0.000"},
        {"0000", -12.0, "-0012"},
        {"0000", 2.5, "0003"},
        {"0000", -2.5, "-0003"},
        {"0.", 2.7, "3."},
        {"0.", 1e20, "100000000000000000000."},
        {"000.", 5.0, "005."},
        {"##: ", 2.0, "2: "},
        {"##: ", 15.0, "15: "},
        {"##: ", 123.0, "123: "},
        {"##: ", 0.0, ": "},
        {"##: ", 0.4, ": "},
        {"##: ", 0.5, "1: "},
        {kListing, 1234.5678, " 1.23457E+03"},
        {kListing, -1234.5678, "-1.23457E+03"},
        {kListing, 0.0, " 0.00000E+00"},
        {kListing, 1.5e300, " 1.50000E+300"},
        {kListing, -2.5e-300, "-2.50000E-300"},
        {kShort, 0.00012345, " 1.235E-04"},
        {kShort, -0.00012345, "-1.235E-04"},
        // The section is chosen before rounding, and the exponent form never rounds to zero.
        {kShort, -0.0000001, "-1.000E-07"},
        {"0.000E+00", 6.02214076e23, "6.022E+23"},
        {"0.000E+00", -0.0000001, "-1.000E-07"},
        {"0.0E+0", 12345.0, "1.2E+4"},
        // A negative section brings its own text; no minus is added.
        {"0.00; 0.00", -1.005, " 1.01"},
        // Values that are not finite keep the section's text around them.
        {"0.00000", kInf, "inf"},
        {"0.00000", -kInf, "-inf"},
        {"0.00000", std::numeric_limits<double>::quiet_NaN(), "nan"},
        {kListing, kInf, " inf"},
        {kListing, -kInf, "-inf"},
        {"##: ", kInf, "inf: "},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NumberPattern(c.pattern).format(c.value), c.expected)
            << "pattern \"" << c.pattern << "\", value " << c.value;
    }
}

TEST(NumberPatternTest, RejectsPatternsItCannotCompile) {
    const char* const patterns[] = {"",       "abc",      ".00",      "0.0#",      "#0#",
                                    "0,000",  "0.0.0",    "0.00%",    "0x",        "0.00E-00",
                                    "0.00E+", "0.00e+00", "00.0E+00", "#0.0E+00",  "E+00",
                                    "0.00;",  ";0.00",    "0;0;0",    "0.00E+00 0"};
    for (const char* pattern : patterns) {
        EXPECT_THROW(NumberPattern{pattern}, std::invalid_argument) << '"' << pattern << '"';
    }
}

} // namespace
} // namespace skerry
