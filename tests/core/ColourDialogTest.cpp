#include <gtest/gtest.h>

#include <memory>

#include "skerry/colours/ColourDialogModel.h"
#include "skerry/core/MainWindowModel.h"
#include "skerry/core/Settings.h"
#include "support/ScriptedPlatform.h"
#include "support/ScriptedWindows.h"
#include "support/TempDir.h"

namespace skerry {
namespace {

TEST(ColourDialogModelTest, EachSliderChangesItsOwnComponentLive) {
    struct Case {
        int slider;
        PlotColor good;
        PlotColor deleted;
    };
    const Case cases[] = {
        {0, {200, 2, 3}, {4, 5, 6}}, {1, {1, 200, 3}, {4, 5, 6}}, {2, {1, 2, 200}, {4, 5, 6}},
        {3, {1, 2, 3}, {4, 5, 200}}, {4, {1, 2, 3}, {4, 200, 6}}, {5, {1, 2, 3}, {200, 5, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.slider);
        Program program;
        program.GoodColor = {1, 2, 3};
        program.DeletedColor = {4, 5, 6};
        ColourDialogModel dialog(program);
        dialog.Form_Load();
        dialog.Slider1_Change(c.slider, 200);
        EXPECT_EQ(program.GoodColor, c.good);
        EXPECT_EQ(program.DeletedColor, c.deleted);
        EXPECT_EQ(dialog.Slider1(c.slider), 200);
        EXPECT_EQ(dialog.Shape1Color(), c.good);
        EXPECT_EQ(dialog.Shape2Color(), c.deleted);
    }
}

// "Set Plot Colors" from the main window, and the colours across an exit and a new start.
class SetColorsCommandTest : public testing::Test {
protected:
    SetColorsCommandTest() { platform.settingsDir = dir / "config"; }

    void setColours(bool confirm) {
        windows.colourDialog = [confirm](ColourDialogModel& dialog) {
            dialog.Slider1_Change(2, 90);
            dialog.Slider1_Change(4, 60);
            if (confirm) {
                dialog.IsOK_Click();
            }
        };
        model.SetColors_Click();
    }

    // The program state of a new run, with the colours from the settings file.
    std::unique_ptr<Program> nextStart() {
        auto next = std::make_unique<Program>();
        ReadSettings(*next, platform);
        return next;
    }

    test::TempDir dir;
    test::ScriptedPlatform platform;
    test::ScriptedWindows windows;
    std::unique_ptr<Program> owned = std::make_unique<Program>();
    Program& program = *owned;
    MainWindowModel model{program, platform, windows};
};

TEST_F(SetColorsCommandTest, ConfirmedColoursLastThroughAConfirmedExit) {
    setColours(true);
    EXPECT_EQ(program.GoodColor, (PlotColor{0, 127, 90}));
    EXPECT_EQ(program.DeletedColor, (PlotColor{255, 60, 0}));

    platform.answerMessage(MessageAnswer::Yes);
    ASSERT_TRUE(model.Form_Unload());
    const auto next = nextStart();
    EXPECT_EQ(next->GoodColor, (PlotColor{0, 127, 90}));
    EXPECT_EQ(next->DeletedColor, (PlotColor{255, 60, 0}));
}

TEST_F(SetColorsCommandTest, ARefusedExitWritesNoColours) {
    setColours(true);
    platform.answerMessage(MessageAnswer::No);
    ASSERT_FALSE(model.Form_Unload());
    EXPECT_EQ(nextStart()->GoodColor, DefaultGoodColor);
}

TEST_F(SetColorsCommandTest, ClosingWithoutOkLeavesTheColours) {
    setColours(false);
    EXPECT_EQ(program.GoodColor, DefaultGoodColor);
    EXPECT_EQ(program.DeletedColor, DefaultDeletedColor);
}

} // namespace
} // namespace skerry
