#include "skerry/ground/LeadingNumber.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace skerry {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// Blanks, tabs and line feeds anywhere are skipped, a carriage return is not; an exponent letter
// without digits is not part of the number.
TEST(LeadingNumberTest, ReadsTheNumberAtTheStart) {
    struct Case {
        std::string text;
        double expected;
    };
    const Case cases[] = {{"", 0.0},
                          {"abc", 0.0},
                          {"-", 0.0},
                          {".", 0.0},
                          {"--1", 0.0},
                          {"+-1", 0.0},
                          {"E5", 0.0},
                          {"12", 12.0},
                          {"+3", 3.0},
                          {"-.5", -0.5},
                          {".5", 0.5},
                          {"5.", 5.0},
                          {"0.1", 0.1},
                          {"1 2", 12.0},
                          {" \t\n-1 2.5", -12.5},
                          {"- 5", -5.0},
                          {"1 E 2", 100.0},
                          {"1E\n2", 100.0},
                          {"1\r2", 1.0},
                          {"1.5e3", 1500.0},
                          {"1.5E3", 1500.0},
                          {"2D2", 200.0},
                          {"2d-2", 0.02},
                          {"2E+02x", 200.0},
                          {"1E", 1.0},
                          {"1E+", 1.0},
                          {"1E-x", 1.0},
                          {"7D ", 7.0},
                          {"1.2.3", 1.2},
                          {"12abc", 12.0},
                          {"1,5", 1.0},
                          {"1-2", 1.0},
                          {"0.000001e309", 1e303},
                          {"0.00001e-300", 1e-305},
                          {"1e-310", 1e-310},
                          {"0e999999999999", 0.0}};
    for (const auto& c : cases) {
        EXPECT_EQ(leadingNumber(c.text), c.expected) << '"' << c.text << '"';
    }
    EXPECT_EQ(leadingNumber("123456789012345678901234567890"), 1.2345678901234568e29);
    EXPECT_EQ(leadingNumber(std::string(400, '0') + "1"), 1.0);
}

TEST(LeadingNumberTest, OutOfRangeGivesInfinityOrSignedZero) {
    struct Case {
        std::string text;
        double expected;
    };
    const Case cases[] = {{"1e400", kInf},
                          {"-1e400", -kInf},
                          {"1000e306", kInf},
                          {"1e99999999999999999999", kInf},
                          {std::string(400, '9'), kInf},
                          {"1e-400", 0.0},
                          {"-1e-400", -0.0},
                          {"0.0001e-320", 0.0},
                          {"1e-99999999999999999999", 0.0},
                          // The digits' own magnitude counts, not just the exponent's sign.
                          {"1" + std::string(400, '0') + "e-10", kInf},
                          {"0." + std::string(400, '0') + "1e5", 0.0}};
    for (const auto& c : cases) {
        const double value = leadingNumber(c.text);
        EXPECT_EQ(value, c.expected) << '"' << c.text << '"';
        EXPECT_EQ(std::signbit(value), std::signbit(c.expected)) << '"' << c.text << '"';
    }
}

TEST(LeadingNumberTest, RoundsToInt16HalvesToEven) {
    struct Case {
        double value;
        std::optional<std::int16_t> expected;
    };
    const Case cases[] = {{0.0, 0},
                          {-0.0, 0},
                          {0.5, 0},
                          {1.5, 2},
                          {12.5, 12},
                          {13.5, 14},
                          {-0.5, 0},
                          {-1.5, -2},
                          {-2.5, -2},
                          {2.4999, 2},
                          {2.5001, 3},
                          {-12.6, -13},
                          {32767.4, 32767},
                          {32767.5, std::nullopt},
                          {-32768.5, -32768},
                          {-32768.6, std::nullopt},
                          {-32769.0, std::nullopt},
                          {40000.0, std::nullopt},
                          {1e300, std::nullopt},
                          {kInf, std::nullopt},
                          {-kInf, std::nullopt},
                          {std::numeric_limits<double>::quiet_NaN(), std::nullopt}};
    for (const auto& c : cases) {
        EXPECT_EQ(roundToInt16(c.value), c.expected) << c.value;
    }
}

} // namespace
} // namespace skerry
