#include <bit>

#include "ground/DataTable.h"
#include "skerry/operations/Comments.h"
#include "skerry/operations/Noise.h"
#include "support/ScriptedPlatform.h"

namespace skerry {
namespace {

TEST(Noise, ALevelIsAPlainNumberWithinTheSingleRange) {
    for (const auto& row : test::readTable("subsystems/noise-levels.tsv", 2)) {
        EXPECT_EQ(plainSingleFromText(row[0]),
                  row[1] == "refused" ? std::nullopt : std::optional(row.single(1)))
            << row.where;
    }
}

// The uniform numbers are the generator's top 24 bits: the same with every compiler. The
// expected values follow from the Mersenne twister's first output for its default seed,
// 3499211612, and its next eleven; their sum less 6, times the level, is the noise.
TEST(Noise, IsReproducibleFromTheSeedAndScaledByTheLevel) {
    NoiseGenerator first;
    EXPECT_EQ(uniformNumber(first), 13668795.0f / 16777216.0f);
    for (const float level : {1.0f, -0.25f}) {
        NoiseGenerator generator;
        EXPECT_EQ(GaussianNoise(level, generator), level * std::bit_cast<float>(0x3f01ad70u));
    }
}

TEST(Noise, TheDialogShowsTheLastLevelAndRefusesText) {
    DataSet data;
    test::ScriptedPlatform platform;
    NoiseDialogModel dialog(data, platform);
    EXPECT_EQ(dialog.Form_Load({100, 50, 820, 560}, 300), (WindowPosition{360, 58}));
    EXPECT_EQ(dialog.NoiseLevel(), " 1.00000E-02");
    EXPECT_FALSE(dialog.IsDone_Click("0.5 V"));
    EXPECT_EQ(dialog.NoiseLevel(), " 1.00000E-02");
    EXPECT_EQ(platform.messageTexts(), std::vector<std::string>{"Illegal Value for RMS Noise."});
    EXPECT_EQ(platform.messages[0].title, "Non-Numerical Entry!");
    EXPECT_FALSE(dialog.accepted());
    EXPECT_TRUE(dialog.IsDone_Click("-0.5"));
    EXPECT_TRUE(dialog.accepted());
    EXPECT_EQ(data.NoiseRms, -0.5f);
}

TEST(Comments, TheBoxIsSavedAndReadBackCutPaddedAndLimited) {
    for (const auto& row : test::readTable("subsystems/comment-lines.tsv", 4)) {
        SCOPED_TRACE(row.where);
        auto data = std::make_unique<DataSet>();
        const std::string file = commentBoxFileText(row.text(0));
        EXPECT_EQ(file, row.text(1));
        readCommentLines(*data, file);
        EXPECT_EQ(data->CommentCount, row.integer(2));
        EXPECT_EQ(commentFileText(*data), row.text(3));
    }
}

} // namespace
} // namespace skerry
