#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "skerry/operations/Noise.h"
#include "support/ScriptedPlatform.h"

namespace skerry {
namespace {

TEST(PlainNumber, AcceptsOnlyAWholeNumberWithBlanksAround) {
    struct Case {
        const char* text;
        bool number;
    };
    const Case cases[] = {
        {"0.02", true},
        {" 1.00000E-02", true},
        {"-1.00000E-02", true},
        {"+3", true},
        {"12.", true},
        {".5", true},
        {"-.5e+3", true},
        {"7D-2", true},
        {"2e5", true},
        {"\t 4 \t", true},
        {"0", true},
        {"", false},
        {"  ", false},
        {"abc", false},
        {"1 2", false},
        {".", false},
        {"-", false},
        {"+.", false},
        {"1e", false},
        {"1e+", false},
        {"1.2.3", false},
        {"--1", false},
        {"- 1", false},
        {"1,5", false},
        {"0x10", false},
        {"inf", false},
        {"nan", false},
        {"1e5x", false},
        {"1 e5", false},
        {"$5", false},
        {"5%", false},
        {"1\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.text)));
        EXPECT_EQ(isPlainNumber(c.text), c.number);
    }
}

TEST(NoiseLevel, ReadsNumbersAndRefusesWhatASingleCannotHold) {
    EXPECT_EQ(noiseLevelFromText(" 0.02 "), 0.02f);
    EXPECT_EQ(noiseLevelFromText("-2.5D-1"), -0.25f);
    EXPECT_EQ(noiseLevelFromText("0"), 0.0f);
    EXPECT_EQ(noiseLevelFromText("3e38"), 3e38f);
    EXPECT_EQ(noiseLevelFromText("1e-60"), 0.0f);
    EXPECT_FALSE(noiseLevelFromText("1e39"));
    EXPECT_FALSE(noiseLevelFromText("-1e400"));
    EXPECT_FALSE(noiseLevelFromText("two"));
}

// The uniform numbers are the generator's top 24 bits: the same with every compiler. The
// expected values follow from the Mersenne twister's first output for its default seed,
// 3499211612, and its next eleven.
TEST(GaussianNoise, IsReproducibleFromTheSeed) {
    NoiseGenerator first;
    EXPECT_EQ(uniformNumber(first), 13668795.0f / 16777216.0f);

    NoiseGenerator generator;
    const float value = GaussianNoise(1.0f, generator);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(value), 0x3f01ad70u) << value;
}

TEST(GaussianNoise, HasMeanZeroAndTheLevelAsSpreadWithinSixLevels) {
    constexpr int n = 200000;
    for (const float level : {0.25f, -0.25f, 3e-5f}) {
        SCOPED_TRACE(level);
        NoiseGenerator generator(2024);
        double sum = 0.0;
        double squares = 0.0;
        const float bound = 6.0f * std::abs(level);
        for (int i = 0; i < n; ++i) {
            const float value = GaussianNoise(level, generator);
            ASSERT_LE(std::abs(value), bound) << i;
            sum += value;
            squares += double{value} * value;
        }
        const double mean = sum / n;
        const double spread = std::sqrt(squares / n - mean * mean);
        // The mean of n values has the standard error |level| / sqrt(n), about 0.0022 |level|.
        EXPECT_LT(std::abs(mean), 0.01 * std::abs(level));
        EXPECT_NEAR(spread / std::abs(level), 1.0, 0.01);
    }
}

TEST(GaussianNoise, ANegativeLevelMirrorsThePositiveOne) {
    NoiseGenerator plus(77);
    NoiseGenerator minus(77);
    for (int i = 0; i < 1000; ++i) {
        ASSERT_EQ(GaussianNoise(-0.03f, minus), -GaussianNoise(0.03f, plus)) << i;
    }
}

TEST(NoiseDialogModel, PlacedOverTheMainWindowShowingTheLastLevel) {
    DataSet data;
    test::ScriptedPlatform platform;
    NoiseDialogModel dialog(data, platform);
    EXPECT_EQ(dialog.Form_Load({100, 50, 820, 560}, 300), (WindowPosition{360, 58}));
    EXPECT_EQ(dialog.NoiseLevel(), " 1.00000E-02");
    EXPECT_FALSE(dialog.accepted());
}

} // namespace
} // namespace skerry
