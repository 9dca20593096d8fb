#include <gtest/gtest.h>

#include <memory>

#include "CommandTest.h"
#include "skerry/colours/ColourDialogModel.h"
#include "skerry/session/Settings.h"

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
        program.colours.GoodColor = {1, 2, 3};
        program.colours.DeletedColor = {4, 5, 6};
        ColourDialogModel dialog(program.colours);
        dialog.Form_Load();
        dialog.Slider1_Change(c.slider, 200);
        EXPECT_EQ(program.colours.GoodColor, c.good);
        EXPECT_EQ(program.colours.DeletedColor, c.deleted);
        EXPECT_EQ(dialog.Slider1(c.slider), 200);
        EXPECT_EQ(dialog.Shape1Color(), c.good);
        EXPECT_EQ(dialog.Shape2Color(), c.deleted);
    }
}

// "Set Plot Colors" from the main window: only OK keeps the colours, and only a confirmed exit
// carries them to the next start.
using SetColorsCommandTest = test::CommandTest;

TEST_F(SetColorsCommandTest, ColoursLastThroughAConfirmedExitOnly) {
    const auto setColours = [this](bool confirm) {
        windows.colourDialog = [confirm](ColourDialogModel& dialog) {
            dialog.Slider1_Change(2, 90);
            dialog.Slider1_Change(4, 60);
            if (confirm) {
                dialog.IsOK_Click();
            }
        };
        model.SetColors_Click();
    };
    const auto nextStart = [this] {
        auto next = std::make_unique<Program>();
        ReadSettings(*next, platform);
        return next;
    };

    setColours(false);
    EXPECT_EQ(program->colours.GoodColor, DefaultGoodColor);
    EXPECT_EQ(program->colours.DeletedColor, DefaultDeletedColor);

    setColours(true);
    EXPECT_EQ(program->colours.GoodColor, (PlotColor{0, 127, 90}));
    EXPECT_EQ(program->colours.DeletedColor, (PlotColor{255, 60, 0}));
    platform.answerMessage(MessageAnswer::No);
    ASSERT_FALSE(model.Form_Unload());
    EXPECT_EQ(nextStart()->colours.GoodColor, DefaultGoodColor);

    platform.answerMessage(MessageAnswer::Yes);
    ASSERT_TRUE(model.Form_Unload());
    EXPECT_EQ(nextStart()->colours.GoodColor, (PlotColor{0, 127, 90}));
    EXPECT_EQ(nextStart()->colours.DeletedColor, (PlotColor{255, 60, 0}));
}

} // namespace
} // namespace skerry
