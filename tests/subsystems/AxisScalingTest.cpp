#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skerry/editor/AxisScaling.h"
#include "support/ScriptedPlatform.h"

namespace skerry {
namespace {

TEST(AxisExponentTest, TheEndNearerZeroDecidesAndSmallExponentsDoNotScale) {
    struct Case {
        float low;
        float high;
        const char* exponent;
    };
    const Case cases[] = {
        {0.0f, 2000.0f, "+03"},                             // a zero end never decides
        {1000.0f, 3000.0f, "+03"},                          // the end nearer zero
        {-3000.0f, 2000.0f, "+03"},                         // nearer zero by magnitude
        {95.0f, 105.0f, "+00"},                             // +01 does not scale
        {-0.003f, -0.001f, "-03"},  {-20.0f, 20.0f, "+00"}, // a tie goes to the low end: -2.00E+01
        {0.0f, 0.0005f, "-04"},     {-0.5f, 0.0f, "+00"},   // -01 does not scale either
        {0.0009996f, 1.0f, "-03"}, // the mantissa rounds up to 1.00E-03 first
        {0.000123f, 0.5f, "-04"},   {-4.5e-7f, 0.0f, "-07"}, {2.5e12f, 3.0e12f, "+12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.low) + " .. " + std::to_string(c.high));
        EXPECT_EQ(AxisExponent(c.low, c.high), c.exponent);
    }
}

std::string labels(const AxisFrame& frame) {
    std::string out;
    for (int k = 0; k < frame.TickCount; ++k) {
        out += (k == 0 ? "" : " ") + frame.tickLabel(k);
    }
    return out;
}

// The view is rounded out to a frame of round ticks; the degenerate views 3 .. 3 and -3 .. -3
// are widened once with a warning, 0 .. 0 gets a fixed frame and a warning at every redraw.
TEST(SetUpAxisTest, RoundsTheViewOutAndScalesTheLabels) {
    struct Case {
        float viewMin, viewMax;
        AxisName axis;
        float low, high, power;
        const char* suffix;
        const char* labels; // nullptr: only that the frame holds the view
        float widenedMin, widenedMax;
        const char* warning; // empty: none
    };
    const char* const fiveSteps = "0.000 1.000 2.000 3.000 4.000 5.000";
    const Case cases[] = {
        {0, 2000, AxisName::X, 0, 2000, 1000, "  (10^+03)", "0.000 0.500 1.000 1.500 2.000", 0,
         2000, ""},
        {0, 5, AxisName::Y, 0, 5, 1, "", fiveSteps, 0, 5, ""},
        {0, 0.0005f, AxisName::X, 0, 0.0005f, 1e-4f, "  (10^-04)", fiveSteps, 0, 0.0005f, ""},
        {0, 0.0005f, AxisName::Y, 0, 0.0005f, 1e-4f, " (10^-04)", fiveSteps, 0, 0.0005f, ""},
        {-20, 20, AxisName::X, -20, 20, 1, "", "-20.000 -10.000 0.000 10.000 20.000", -20, 20, ""},
        {-0.003f, -0.001f, AxisName::Y, -0.003f, -0.001f, 0.001f, " (10^-03)",
         "-3.000 -2.500 -2.000 -1.500 -1.000", -0.003f, -0.001f, ""},
        {6.03f, 6.97f, AxisName::X, 6, 7, 1, "", "6.000 6.200 6.400 6.600 6.800 7.000", 6.03f,
         6.97f, ""},
        {3, 3, AxisName::X, 1.5f, 6, 1, "", nullptr, 1.5f, 6,
         "WARNING:  All X values are identical."},
        {-3, -3, AxisName::Y, -6, -1.5f, 1, "", nullptr, -6, -1.5f,
         "WARNING:  All Y values are identical."},
        {0, 0, AxisName::Y, -2, 2, 1, "", "-2.000 -1.000 0.000 1.000 2.000", 0, 0,
         "WARNING:  All Y values are identical."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.viewMin) + " .. " + std::to_string(c.viewMax));
        test::ScriptedPlatform platform;
        float viewMin = c.viewMin;
        float viewMax = c.viewMax;
        for (int redraw = 1; redraw <= 2; ++redraw) {
            const AxisFrame frame = setUpAxis(viewMin, viewMax, c.axis, platform);
            EXPECT_LE(frame.Low, c.low);
            EXPECT_GE(frame.High, c.high);
            EXPECT_FLOAT_EQ(frame.Power, c.power);
            EXPECT_EQ(frame.Suffix, c.suffix);
            if (c.labels != nullptr) {
                EXPECT_FLOAT_EQ(frame.Low, c.low);
                EXPECT_FLOAT_EQ(frame.High, c.high);
                EXPECT_EQ(labels(frame), c.labels);
            }
            EXPECT_EQ(viewMin, c.widenedMin);
            EXPECT_EQ(viewMax, c.widenedMax);
        }
        // A widened view is a proper range: the next redraw has nothing to say.
        const std::size_t warnings = c.warning[0] == '\0' ? 0 : c.viewMin == 0 ? 2 : 1;
        EXPECT_EQ(platform.messageTexts(), std::vector<std::string>(warnings, c.warning));
        for (const auto& message : platform.messages) {
            EXPECT_EQ(message.title, "Data Error");
            EXPECT_EQ(message.icon, MessageIcon::Exclamation);
        }
    }
}

} // namespace
} // namespace skerry
