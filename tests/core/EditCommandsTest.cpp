#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skerry/operations/Comments.h"
#include "skerry/operations/Noise.h"

#include "CommandTest.h"

namespace skerry {
namespace {

using test::readBytes;

const std::string scanText = "Cell 2\r\n"
                             "R 2 20.0 42000 1234 1.234E+10 280 1\r\n"
                             "   5.9000  1.00000E-01   -5.00000E-03\r\n"
                             "   6.0000 -2.50000E-01    1.00000E-02\r\n"
                             "   6.1000  0.00000E+00    1.00000E-02\r\n"
                             "   6.2000  7.12345E+02    1.00000E-02\r\n";

std::string pad(const std::string& text) {
    return text + std::string(96 - text.size(), ' ');
}

const std::string comments =
    pad("Cell 2") + "\r\n" + pad("R 2 20.0 42000 1234 1.234E+10 280 1") + "\r\n";

std::vector<std::uint32_t> readingBits(const DataSet& data) {
    std::vector<std::uint32_t> bits;
    for (int i = 1; i <= data.PointCount; ++i) {
        bits.push_back(std::bit_cast<std::uint32_t>(data.WorkPoints(i).reading));
    }
    return bits;
}

class EditCommandsTest : public test::CommandTest {
protected:
    EditCommandsTest() { getData(dir.write("scan.RA2", scanText).string()); }

    // Plays a user who types `text` into the noise dialog and presses OK once.
    void addNoise(const std::string& text) {
        windows.noiseDialog = [text](NoiseDialogModel& dialog) {
            dialog.Form_Load({}, 0);
            dialog.IsDone_Click(text);
        };
        model.AddNoise_Click();
    }

    bool addOffered() const {
        const MainWindowState& s = model.state();
        return s.AddNoise.enabled && s.AddNoise.visible && !s.BackItOff.enabled &&
               !s.BackItOff.visible && !data().NoiseAdded;
    }
    bool removeOffered() const {
        const MainWindowState& s = model.state();
        return !s.AddNoise.enabled && !s.AddNoise.visible && s.BackItOff.enabled &&
               s.BackItOff.visible && data().NoiseAdded;
    }
};

TEST_F(EditCommandsTest, InvertSignListsNegatedReadingsAndTwiceRestoresThem) {
    const auto before = readingBits(data());
    model.InvertC_Click();
    const std::string inverted = comments + "   5.90000   -1.00000E-01   -5.000E-03\r\n"
                                            "   6.00000    2.50000E-01    1.000E-02\r\n"
                                            "   6.10000    0.00000E+00    1.000E-02\r\n"
                                            "   6.20000   -7.12345E+02    1.000E-02\r\n";
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
    EXPECT_TRUE(removeOffered());
    NoiseGenerator expected(99);
    for (int i = 1; i <= 4; ++i) {
        SCOPED_TRACE(i);
        const float noise = GaussianNoise(0.5f, expected);
        EXPECT_EQ(data().NoiseValues[i - 1], noise);
        EXPECT_NE(noise, 0.0f);
        EXPECT_EQ(data().WorkPoints(i).reading, original.WorkPoints(i).reading + noise);
        EXPECT_EQ(data().WorkPoints(i).third, original.WorkPoints(i).third);
        EXPECT_EQ(data().RawPoints(i).reading, original.RawPoints(i).reading);
    }
    EXPECT_NE(listing(), comments + "   5.90000    1.00000E-01   -5.000E-03\r\n");

    model.BackItOff_Click();
    EXPECT_TRUE(addOffered());
    for (int i = 1; i <= 4; ++i) {
        SCOPED_TRACE(i);
        const float noise = data().NoiseValues[i - 1];
        const float r = original.WorkPoints(i).reading;
        EXPECT_EQ(data().WorkPoints(i).reading, (r + noise) - noise);
    }
    // Readings far larger than the noise come back exactly.
    EXPECT_EQ(data().WorkPoints(4).reading, 712.345f);
    EXPECT_EQ(readBytes(dir / "~skerry.tmp"), listing());
}

TEST_F(EditCommandsTest, RemovingNoiseUsesTheReadingsAsTheyStand) {
    const DataSet original = data();
    addNoise("0.125");
    model.InvertC_Click();
    model.BackItOff_Click();
    for (int i = 1; i <= 4; ++i) {
        SCOPED_TRACE(i);
        const float noise = data().NoiseValues[i - 1];
        const float r = original.WorkPoints(i).reading;
        EXPECT_EQ(data().WorkPoints(i).reading, ((r + noise) * -1.0f) - noise);
    }
}

TEST_F(EditCommandsTest, LevelZeroAddsNothingButStillSwapsTheMenus) {
    const auto before = readingBits(data());
    const std::string listed = listing();
    addNoise("0");
    EXPECT_TRUE(removeOffered());
    EXPECT_EQ(readingBits(data()), before);
    EXPECT_EQ(listing(), listed);
    model.BackItOff_Click();
    EXPECT_TRUE(addOffered());
    EXPECT_EQ(readingBits(data()), before);
}

TEST_F(EditCommandsTest, TheDialogReopensWithTheLastAcceptedLevel) {
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
    model.AddNoise_Click();
    EXPECT_EQ(shown, (std::vector<std::string>{" 1.00000E-02", " 2.00000E-02", "-3.00000E-03"}));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EditCommandsTest, ATextThatIsNoNumberIsRefusedAndTheLevelPutBack) {
    addNoise("0.02");
    model.BackItOff_Click();
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

    EXPECT_EQ(afterRefusal, std::vector<std::string>(3, " 2.00000E-02"));
    ASSERT_EQ(platform.messages.size(), 3u);
    for (const auto& message : platform.messages) {
        EXPECT_EQ(message.text, "Illegal Value for RMS Noise.");
        EXPECT_EQ(message.title, "Non-Numerical Entry!");
        EXPECT_EQ(message.icon, MessageIcon::Exclamation);
        EXPECT_EQ(message.buttons, MessageButtons::Ok);
    }
    EXPECT_EQ(data().NoiseRms, 0.02f);
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
        EXPECT_TRUE(dialog.IsOK_Click(pad("Cell 2") + "\n" +
                                      pad("R 2 20.0 42000 1234 1.234E+10 280 1") + "\n \n"));
    };
    model.EditComment1_Click();

    EXPECT_EQ(shown, comments + " \r\n");
    EXPECT_EQ(data().CommentCount, 3);
    EXPECT_EQ(data().CommentBlock.line(3), std::string(96, ' '));
    EXPECT_EQ(readBytes(dir / "~comment.tmp"), comments + " \r\n");
    const std::string expected = comments + std::string(96, ' ') + "\r\n" +
                                 "   5.90000    1.00000E-01   -5.000E-03\r\n"
                                 "   6.00000   -2.50000E-01    1.000E-02\r\n"
                                 "   6.10000    0.00000E+00    1.000E-02\r\n"
                                 "   6.20000    7.12345E+02    1.000E-02\r\n";
    EXPECT_EQ(listing(), expected);
    EXPECT_EQ(readBytes(dir / "~skerry.tmp"), expected);
}

TEST_F(EditCommandsTest, WithoutCommentLinesTheDialogOpensWithOneBlankLine) {
    dir.write("bare.dat", "   6.00000    1.00000E-01    1.000E-02\r\n");
    platform.answerDialog((dir / "bare.dat").string());
    model.GetNewData_Click();
    ASSERT_EQ(data().CommentCount, 0);

    windows.commentsDialog = [&](CommentsDialogModel& dialog) {
        EXPECT_EQ(dialog.RichTextBox1(), " \r\n");
    };
    model.EditComment1_Click();
    EXPECT_EQ(data().CommentCount, 0);
}

TEST_F(EditCommandsTest, OkStoresTheBoxLinesCutAndLimited) {
    struct Case {
        const char* name;
        std::string box;
        std::vector<std::string> lines;
    };
    const std::string long120(120, 'x');
    std::string sixty;
    for (int i = 1; i <= 60; ++i) {
        sixty += "line " + std::to_string(i) + "\n";
    }
    std::vector<std::string> fifty;
    for (int i = 1; i <= 50; ++i) {
        fifty.push_back(pad("line " + std::to_string(i)));
    }
    const Case cases[] = {
        {"120 characters", long120 + "\n", {std::string(96, 'x')}},
        {"exactly 96", std::string(96, 'y'), {std::string(96, 'y')}},
        {"60 lines", sixty, fifty},
        {"empty lines", "\n\nthird", {pad(""), pad(""), pad("third")}},
        {"CR LF, CR and LF", "a\r\nb\rc\nd", {pad("a"), pad("b"), pad("c"), pad("d")}},
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
        EXPECT_TRUE(listing().starts_with(c.lines.empty() ? "   5.90000" : c.lines[0]));
    }
}

TEST_F(EditCommandsTest, CancelChangesNothing) {
    const std::string listed = listing();
    const DataSet before = data();
    windows.commentsDialog = [](CommentsDialogModel&) {
    };
    model.EditComment1_Click();
    EXPECT_EQ(data().CommentCount, 2);
    EXPECT_EQ(data().CommentBlock.line(1), before.CommentBlock.line(1));
    EXPECT_EQ(data().CommentBlock.line(2), before.CommentBlock.line(2));
    EXPECT_EQ(listing(), listed);
    EXPECT_EQ(model.state().panes[2].revision, 1u);
    EXPECT_EQ(readBytes(dir / "~comment.tmp"), comments + " \r\n");
}

TEST_F(EditCommandsTest, ACommentFileThatCannotBeWrittenIsReported) {
    std::filesystem::create_directory(dir / "~comment.tmp");
    windows.commentsDialog = [](CommentsDialogModel&) {
        FAIL() << "the dialog opened";
    };
    model.EditComment1_Click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].title, "Comment File Error");
    EXPECT_EQ(platform.messages[0].text, "The comment file " + (dir / "~comment.tmp").string() +
                                             " could not be written: is a folder, not a file.");
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
    EXPECT_EQ(data().CommentBlock.line(1), pad("Cell 2"));
}

TEST(CommentsDialogModel, PlacedAtAQuarterOfTheFreeScreenSpace) {
    DataSet data;
    test::ScriptedPlatform platform;
    platform.screen = {1920, 1080};
    CommentsDialogModel dialog(data, platform);
    EXPECT_EQ(dialog.Form_Load(800, 500), (WindowPosition{280, 145}));
    platform.screen = {640, 480};
    EXPECT_EQ(dialog.Form_Load(800, 500), (WindowPosition{0, 0}));
}

} // namespace
} // namespace skerry
