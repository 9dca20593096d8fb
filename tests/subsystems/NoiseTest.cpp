#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>

#include "skerry/operations/Noise.h"
#include "support/ScriptedPlatform.h"

namespace skerry {
namespace {

TEST(PlainNumber, AcceptsOnlyAWholeNumberWithBlanksAround) {
    for (const char* text : {"0.02", " 1.00000E-02", "-1.00000E-02", "+3", "12.", ".5", "-.5e+3",
                             "7D-2", "2e5", "\t 4 \t", "0"}) {
        EXPECT_TRUE(isPlainNumber(text)) << '"' << text << '"';
    }
    for (const char* text :
         {"",    "  ",  "abc",  "1 2", ".",   "-",    "+.",   "1e", "1e+", "1.2.3", "--1",
          "- 1", "1,5", "0x10", "inf", "nan", "1e5x", "1 e5", "$5", "5%",  "1\n"}) {
        EXPECT_FALSE(isPlainNumber(text)) << '"' << text << '"';
    }
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
