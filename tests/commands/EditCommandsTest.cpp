#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "CommandTest.h"
#include "skerry/operations/Comments.h"
#include "skerry/operations/Noise.h"

namespace skerry {
namespace {

using test::kComments;
using test::kLines;
using test::padded;
using test::readBytes;

std::vector<std::uint32_t> readingBits(const DataSet& data) {
    std::vector<std::uint32_t> bits;
    for (int i = 1; i <= data.PointCount; ++i) {
        bits.push_back(std::bit_cast<std::uint32_t>(data.WorkPoints(i).reading));
    }
    return bits;
}

class EditCommandsTest : public test::CommandTest {
protected:
    EditCommandsTest() { loadScan(); }

    // Plays a user who types `text` into the noise dialog and presses OK once.
    void addNoise(const std::string& text) {
        windows.noiseDialog = [text](NoiseDialogModel& dialog) {
            dialog.Form_Load({}, 0);
            dialog.IsDone_Click(text);
        };
        model.AddNoise_Click();
    }

    // Whether the Edit menu offers Add Random Noise (else Remove Random Noise) and only that.
    bool addOffered() const {
        const MainWindowState& s = state();
        const bool add = s.AddNoise.enabled && s.AddNoise.visible && !data().NoiseAdded;
        const bool remove = s.BackItOff.enabled && s.BackItOff.visible && data().NoiseAdded;
        EXPECT_NE(add, remove);
        return add;
    }
};

TEST_F(EditCommandsTest, InvertSignListsNegatedReadingsAndTwiceRestoresThem) {
    const auto before = readingBits(data());
    model.InvertC_Click();
    const std::string inverted = kComments + "   5.90000   -1.00000E-01   -5.000E-03\r\n"
                                             "   6.00000    2.50000E-01    1.000E-02\r\n"
                                             "   6.10000    0.00000E+00   -1.000E-02\r\n"
                                             "   6.20000   -7.12345E+02    1.000E-02\r\n"
                                             "   6.30000   -5.00000E-01   -2.000E-02\r\n";
    EXPECT_EQ(listing(), inverted);
    EXPECT_EQ(readBytes(dir / "~skerry.tmp"), inverted);
    EXPECT_TRUE(addOffered());

    model.InvertC_Click();
    EXPECT_EQ(readingBits(data()), before);
    EXPECT_EQ(data().RawPoints(2).reading, -0.25f);
}

TEST_F(EditCommandsTest, AddNoiseAddsSeededNoiseAndRemoveTakesItOff) {
    const DataSet original = data();
    platform.seed = 99;
    addNoise("0.5");
    EXPECT_EQ(data().NoiseRms, 0.5f);
    EXPECT_FALSE(addOffered());
    EXPECT_NE(listing(), test::kListing);
    EXPECT_EQ(readBytes(dir / "~skerry.tmp"), listing());
    for (int i = 1; i <= 5; ++i) {
        SCOPED_TRACE(i);
        const float noise = data().NoiseValues[i - 1];
        EXPECT_NE(noise, 0.0f);
        EXPECT_LE(std::abs(noise), 3.0f);
        EXPECT_EQ(data().WorkPoints(i).reading, original.WorkPoints(i).reading + noise);
        EXPECT_EQ(data().WorkPoints(i).third, original.WorkPoints(i).third);
        EXPECT_EQ(data().RawPoints(i).reading, original.RawPoints(i).reading);
    }
    const std::vector<float> first(data().NoiseValues.begin(), data().NoiseValues.begin() + 5);

    model.BackItOff_Click();
    EXPECT_TRUE(addOffered());
    for (int i = 1; i <= 5; ++i) {
        EXPECT_NEAR(data().WorkPoints(i).reading, original.WorkPoints(i).reading, 1e-6) << i;
    }
    // Readings far larger than the noise come back exactly.
    EXPECT_EQ(data().WorkPoints(4).reading, 712.345f);

    // Another seed from the platform, other noise. Removing subtracts the noise from the
    // readings as they stand, here inverted: -r - 2n.
    platform.seed = 100;
    addNoise("0.5");
    EXPECT_NE(std::vector<float>(data().NoiseValues.begin(), data().NoiseValues.begin() + 5),
              first);
    model.InvertC_Click();
    model.BackItOff_Click();
    for (int i = 1; i <= 5; ++i) {
        EXPECT_NEAR(data().WorkPoints(i).reading,
                    -original.WorkPoints(i).reading - 2.0f * data().NoiseValues[i - 1], 1e-3)
            << i;
    }
}

TEST_F(EditCommandsTest, LevelZeroAddsNothingButStillSwapsTheMenus) {
    const auto before = readingBits(data());
    addNoise("0");
    EXPECT_FALSE(addOffered());
    EXPECT_EQ(readingBits(data()), before);
    EXPECT_EQ(listing(), test::kListing);
    model.BackItOff_Click();
    EXPECT_TRUE(addOffered());
    EXPECT_EQ(readingBits(data()), before);
}

TEST_F(EditCommandsTest, TheDialogReopensWithTheLastAcceptedLevelAndRefusesText) {
    std::vector<std::string> shown;
    windows.noiseDialog = [&](NoiseDialogModel& dialog) {
        dialog.Form_Load({}, 0);
        shown.push_back(dialog.NoiseLevel());
        EXPECT_TRUE(dialog.IsDone_Click(shown.size() == 1 ? "0.02" : "-3E-3"));
    };
    model.AddNoise_Click();
    model.BackItOff_Click();
    model.AddNoise_Click();
    model.BackItOff_Click();
    EXPECT_EQ(shown, (std::vector<std::string>{" 1.00000E-02", " 2.00000E-02"}));
    EXPECT_TRUE(platform.messages.empty());

    const auto before = readingBits(data());
    std::vector<std::string> afterRefusal;
    windows.noiseDialog = [&](NoiseDialogModel& dialog) {
        dialog.Form_Load({}, 0);
        for (const char* text : {"abc", "1 2", ""}) {
            EXPECT_FALSE(dialog.IsDone_Click(text));
            afterRefusal.push_back(dialog.NoiseLevel());
        }
        // The user gives up and closes the dialog.
    };
    model.AddNoise_Click();
    EXPECT_EQ(afterRefusal, std::vector<std::string>(3, "-3.00000E-03"));
    ASSERT_EQ(platform.messages.size(), 3u);
    for (const auto& message : platform.messages) {
        EXPECT_EQ(message.text, "Illegal Value for RMS Noise.");
        EXPECT_EQ(message.title, "Non-Numerical Entry!");
        EXPECT_EQ(message.icon, MessageIcon::Exclamation);
        EXPECT_EQ(message.buttons, MessageButtons::Ok);
    }
    EXPECT_EQ(data().NoiseRms, -0.003f);
    EXPECT_TRUE(addOffered());
    EXPECT_EQ(readingBits(data()), before);
}

// --- Comment lines -----------------------------------------------------------------------

TEST_F(EditCommandsTest, AnUnchangedOkAddsTheBlankLine) {
    std::string shown;
    windows.commentsDialog = [&](CommentsDialogModel& dialog) {
        shown = dialog.RichTextBox1();
        EXPECT_EQ(readBytes(dir / "~comment.tmp"), shown);
        // The text box shows the file's last line end as an empty last line and gives the
        // text back with line feeds.
        std::string box = shown;
        std::erase(box, '\r');
        EXPECT_TRUE(dialog.IsOK_Click(box));
    };
    model.EditComment1_Click();

    EXPECT_EQ(shown, kComments + " \r\n");
    EXPECT_EQ(data().CommentCount, 3);
    const std::string expected =
        kComments + padded("") + test::kLines[0] + kLines[1] + kLines[2] + kLines[3] + kLines[4];
    EXPECT_EQ(listing(), expected);
    EXPECT_EQ(readBytes(dir / "~skerry.tmp"), expected);
}

TEST_F(EditCommandsTest, OkStoresTheBoxLinesCutAndLimited) {
    struct Case {
        const char* name;
        std::string box;
        std::vector<std::string> lines; // without their CR LF
    };
    const auto line = [](const std::string& text) {
        return padded(text).substr(0, 96);
    };
    std::string sixty;
    std::vector<std::string> fifty;
    for (int i = 1; i <= 60; ++i) {
        sixty += "line " + std::to_string(i) + "\n";
        if (i <= 50) {
            fifty.push_back(line("line " + std::to_string(i)));
        }
    }
    const Case cases[] = {
        {"120 characters", std::string(120, 'x') + "\n", {std::string(96, 'x')}},
        {"exactly 96", std::string(96, 'y'), {std::string(96, 'y')}},
        {"60 lines", sixty, fifty},
        {"empty lines", "\n\nthird", {line(""), line(""), line("third")}},
        {"CR LF, CR and LF", "a\r\nb\rc\nd", {line("a"), line("b"), line("c"), line("d")}},
        {"everything deleted", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        windows.commentsDialog = [&](CommentsDialogModel& dialog) {
            EXPECT_TRUE(dialog.IsOK_Click(c.box));
        };
        model.EditComment1_Click();
        ASSERT_EQ(data().CommentCount, static_cast<int>(c.lines.size()));
        for (int i = 1; i <= data().CommentCount; ++i) {
            EXPECT_EQ(data().CommentBlock.line(i), c.lines[i - 1]) << i;
        }
        EXPECT_TRUE(listing().starts_with(c.lines.empty() ? kLines[0] : c.lines[0]));
    }
}

TEST_F(EditCommandsTest, ACommentFileThatCannotBeWrittenIsReported) {
    std::filesystem::create_directory(dir / "~comment.tmp");
    windows.commentsDialog = [](CommentsDialogModel&) {
        FAIL() << "the dialog opened";
    };
    model.EditComment1_Click();
    EXPECT_EQ(platform.messageTexts(),
              std::vector<std::string>{"The comment file " + (dir / "~comment.tmp").string() +
                                       " could not be written: is a folder, not a file."});
    EXPECT_EQ(platform.messages[0].title, "Comment File Error");
    EXPECT_EQ(data().CommentCount, 2);
}

TEST_F(EditCommandsTest, OkThatCannotSaveKeepsTheDialogOpenAndChangesNothing) {
    windows.commentsDialog = [&](CommentsDialogModel& dialog) {
        std::filesystem::remove(dir / "~comment.tmp");
        std::filesystem::create_directory(dir / "~comment.tmp");
        EXPECT_FALSE(dialog.IsOK_Click("new text\n"));
        EXPECT_FALSE(dialog.saved());
    };
    model.EditComment1_Click();
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(data().CommentCount, 2);
    EXPECT_EQ(listing(), test::kListing);
}

TEST(CommentsDialogModel, PlacedAtAQuarterOfTheFreeScreenSpace) {
    DataSet data;
    test::ScriptedPlatform platform;
    CommentsDialogModel dialog(data, platform);
    EXPECT_EQ(dialog.Form_Load(800, 500), (WindowPosition{280, 145}));
    platform.screen = {640, 480};
    EXPECT_EQ(dialog.Form_Load(800, 500), (WindowPosition{0, 0}));
}

} // namespace
} // namespace skerry
