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

std::vector<std::string> labels(const AxisFrame& frame) {
    std::vector<std::string> out;
    for (int k = 0; k < frame.TickCount; ++k) {
        out.push_back(frame.tickLabel(k));
    }
    return out;
}

TEST(SetUpAxisTest, RoundsTheViewOutAndScalesTheLabels) {
    struct Case {
        float viewMin;
        float viewMax;
        AxisName axis;
        float low;
        float high;
        int tickCount;
        float power;
        const char* suffix;
        std::vector<std::string> labels;
    };
    const Case cases[] = {
        {0.0f,
         2000.0f,
         AxisName::X,
         0.0f,
         2000.0f,
         5,
         1000.0f,
         "  (10^+03)",
         {"0.000", "0.500", "1.000", "1.500", "2.000"}},
        {0.0f,
         5.0f,
         AxisName::Y,
         0.0f,
         5.0f,
         6,
         1.0f,
         "",
         {"0.000", "1.000", "2.000", "3.000", "4.000", "5.000"}},
        {0.0f,
         0.0005f,
         AxisName::X,
         0.0f,
         0.0005f,
         6,
         1e-4f,
         "  (10^-04)",
         {"0.000", "1.000", "2.000", "3.000", "4.000", "5.000"}},
        {0.0f,
         0.0005f,
         AxisName::Y,
         0.0f,
         0.0005f,
         6,
         1e-4f,
         " (10^-04)",
         {"0.000", "1.000", "2.000", "3.000", "4.000", "5.000"}},
        {-20.0f,
         20.0f,
         AxisName::X,
         -20.0f,
         20.0f,
         5,
         1.0f,
         "",
         {"-20.000", "-10.000", "0.000", "10.000", "20.000"}},
        {-0.003f,
         -0.001f,
         AxisName::Y,
         -0.003f,
         -0.001f,
         5,
         0.001f,
         " (10^-03)",
         {"-3.000", "-2.500", "-2.000", "-1.500", "-1.000"}},
        {6.03f,
         6.97f,
         AxisName::X,
         6.0f,
         7.0f,
         6,
         1.0f,
         "",
         {"6.000", "6.200", "6.400", "6.600", "6.800", "7.000"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.viewMin) + " .. " + std::to_string(c.viewMax));
        test::ScriptedPlatform platform;
        float viewMin = c.viewMin;
        float viewMax = c.viewMax;
        const AxisFrame frame = setUpAxis(viewMin, viewMax, c.axis, platform);
        EXPECT_FLOAT_EQ(frame.Low, c.low);
        EXPECT_FLOAT_EQ(frame.High, c.high);
        EXPECT_EQ(frame.TickCount, c.tickCount);
        EXPECT_FLOAT_EQ(frame.Step, (c.high - c.low) / static_cast<float>(c.tickCount - 1));
        EXPECT_FLOAT_EQ(frame.Power, c.power);
        EXPECT_EQ(frame.Suffix, c.suffix);
        EXPECT_EQ(labels(frame), c.labels);
        EXPECT_EQ(viewMin, c.viewMin);
        EXPECT_EQ(viewMax, c.viewMax);
        EXPECT_TRUE(platform.messages.empty());
    }
}

TEST(SetUpAxisTest, TicksSitEvenlyFromEdgeToEdge) {
    AxisFrame frame;
    frame.TickCount = 5;
    EXPECT_DOUBLE_EQ(frame.tickPosition(0), 0.0);
    EXPECT_DOUBLE_EQ(frame.tickPosition(1), 25.0);
    EXPECT_DOUBLE_EQ(frame.tickPosition(4), 100.0);
    frame.TickCount = 4;
    EXPECT_DOUBLE_EQ(frame.tickPosition(1), 100.0 / 3.0);
}

TEST(SetUpAxisTest, AnEqualPositivePairIsWidenedOnceWithAWarning) {
    test::ScriptedPlatform platform;
    float viewMin = 3.0f;
    float viewMax = 3.0f;
    const AxisFrame frame = setUpAxis(viewMin, viewMax, AxisName::X, platform);
    EXPECT_EQ(viewMin, 1.5f);
    EXPECT_EQ(viewMax, 6.0f);
    EXPECT_LE(frame.Low, 1.5f);
    EXPECT_GE(frame.High, 6.0f);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "WARNING:  All X values are identical.");
    EXPECT_EQ(platform.messages[0].title, "Data Error");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(platform.messages[0].buttons, MessageButtons::Ok);

    // The widened view is a proper range: the next redraw has nothing to say.
    setUpAxis(viewMin, viewMax, AxisName::X, platform);
    EXPECT_EQ(platform.messages.size(), 1u);
}

TEST(SetUpAxisTest, AnEqualNegativePairIsWidenedTheOtherWay) {
    test::ScriptedPlatform platform;
    float viewMin = -3.0f;
    float viewMax = -3.0f;
    const AxisFrame frame = setUpAxis(viewMin, viewMax, AxisName::Y, platform);
    EXPECT_EQ(viewMin, -6.0f);
    EXPECT_EQ(viewMax, -1.5f);
    EXPECT_LE(frame.Low, -6.0f);
    EXPECT_GE(frame.High, -1.5f);
    EXPECT_EQ(platform.messageTexts(),
              std::vector<std::string>{"WARNING:  All Y values are identical."});
}

TEST(SetUpAxisTest, AZeroPairGetsTheFixedFrameAndWarnsEveryTime) {
    test::ScriptedPlatform platform;
    float viewMin = 0.0f;
    float viewMax = 0.0f;
    for (int redraw = 1; redraw <= 2; ++redraw) {
        const AxisFrame frame = setUpAxis(viewMin, viewMax, AxisName::Y, platform);
        EXPECT_EQ(frame.Low, -2.0f);
        EXPECT_EQ(frame.High, 2.0f);
        EXPECT_EQ(frame.TickCount, 5);
        EXPECT_EQ(frame.Step, 1.0f);
        EXPECT_EQ(frame.Suffix, "");
        EXPECT_EQ(labels(frame),
                  (std::vector<std::string>{"-2.000", "-1.000", "0.000", "1.000", "2.000"}));
        EXPECT_EQ(viewMin, 0.0f);
        EXPECT_EQ(viewMax, 0.0f);
        EXPECT_EQ(platform.messages.size(), static_cast<std::size_t>(redraw));
    }
}

} // namespace
} // namespace skerry
