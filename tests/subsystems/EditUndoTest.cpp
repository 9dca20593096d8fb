#include <gtest/gtest.h>

#include <string>

#include "skerry/editor/EditorModel.h"
#include "support/ScriptedPlatform.h"

namespace skerry {
namespace {

// Nine points at x = 1 .. 9 and y = 10 .. 90, point 5 deleted, in a frame of exactly 1 .. 9 by
// 10 .. 90: point i sits at plot position ((i - 1) x 12.5, (i - 1) x 12.5).
TEST(EditUndoTest, StepsGoBackToTheOpeningPointsAndForwardAgain) {
    test::ScriptedPlatform platform;
    DataSet data;
    data.PointCount = 9;
    for (int i = 1; i <= 9; ++i) {
        data.WorkPoints(i) = {static_cast<float>(i), 10.0f * static_cast<float>(i),
                              i == 5 ? -0.5f : 0.5f};
    }
    EditorModel model(platform);
    model.loadPoints(data);
    model.Form_Load(true);
    model.Form_Resize(800, 600, 820, 680);
    const auto at = [](int i) {
        return static_cast<float>(i - 1) * 12.5f;
    };
    const auto marks = [&model] {
        std::string text;
        for (int i = 1; i <= model.EditCount; ++i) {
            text += model.EditThird(i) > 0 ? '+' : '-';
        }
        return text;
    };

    struct Step {
        char action; // tool 2..5 clicked at point `at`, or 'u' undo, 'r' redo, 'z' zoom out
        int at;
        const char* marks;
        const char* readOut; // nullptr: as it was
    };
    const Step steps[] = {
        {'u', 0, "++++-++++", nullptr}, // nothing to undo
        {'3', 3, "---+-++++", nullptr},
        {'2', 7, "---+-+-++", nullptr},
        {'2', 7, "---+-+-++", nullptr}, // removing a removed point is no step
        {'u', 0, "---+-++++", "Undone: 1 point removed at 7.0000"},
        {'u', 0, "++++-++++", "Undone: 3 points removed left of 3.0000"},
        {'u', 0, "++++-++++", nullptr},
        {'r', 0, "---+-++++", "Redone: 3 points removed left of 3.0000"},
        {'4', 9, "---+-++++", nullptr}, // restoring a good point is no step
        {'z', 0, "---+-++++", nullptr}, // zooming is no change of points
        {'4', 1, "+--+-++++", nullptr}, // a new change drops what could have been redone
        {'r', 0, "+--+-++++", nullptr},
        {'u', 0, "---+-++++", "Undone: 1 point restored at 1.0000"},
        {'r', 0, "+--+-++++", "Redone: 1 point restored at 1.0000"},
    };
    std::string readOut = model.XYLabel;
    for (const Step& step : steps) {
        SCOPED_TRACE(std::string(1, step.action) + " at " + std::to_string(step.at));
        if (step.action == 'u') {
            model.Undo_Click();
        } else if (step.action == 'r') {
            model.Redo_Click();
        } else if (step.action == 'z') {
            model.Zoomout_Click();
        } else {
            model.Toolbar_ButtonClick(step.action - '0');
            model.Form_MouseDown(LeftButton, 0, at(step.at), at(step.at));
        }
        if (step.readOut != nullptr) {
            readOut = step.readOut;
        }
        EXPECT_EQ(marks(), step.marks);
        EXPECT_EQ(model.XYLabel, readOut);
    }
    // Leaving with the edits accepted keeps the points as they are now.
    model.returnMarks(data);
    EXPECT_GT(data.WorkPoints(1).third, 0.0f);
    EXPECT_LT(data.WorkPoints(2).third, 0.0f);
}

} // namespace
} // namespace skerry
