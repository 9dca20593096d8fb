#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skerry/editor/EditorModel.h"
#include "support/ScriptedPlatform.h"

namespace skerry {
namespace {

TEST(PlotMappingTest, DataPlotUnitsAndPixelsBothWays) {
    // Frame 5.8 .. 7.2 across (100 / 1.4 plot units per cm) and 0 .. 2 up, on 1450 x 620 pixels.
    // The client area's corners are -25, 130 and 120, -25 in plot units.
    const PlotMapping map{5.8f, 0.0f, 100.0f / 1.4f, 50.0f, 1450.0, 620.0};
    EXPECT_NEAR(map.plotX(6.5f), 50.0f, 1e-4);
    EXPECT_FLOAT_EQ(map.plotY(1.5f), 75.0f);
    EXPECT_DOUBLE_EQ(map.column(-25.0), 0.0);
    EXPECT_DOUBLE_EQ(map.column(120.0), 1450.0);
    EXPECT_DOUBLE_EQ(map.column(0.0), 250.0);
    EXPECT_DOUBLE_EQ(map.row(130.0), 0.0);
    EXPECT_DOUBLE_EQ(map.row(-25.0), 620.0);
    EXPECT_DOUBLE_EQ(map.row(100.0), 120.0);
    EXPECT_DOUBLE_EQ(map.pixelsAcross(0.975), 9.75);
    EXPECT_DOUBLE_EQ(map.unitsUp(4.0), 1.0);
    for (float x : {5.8f, 6.1f, 6.77f, 7.2f}) {
        EXPECT_NEAR(map.dataX(map.plotX(x)), x, 1e-6) << x;
        EXPECT_NEAR(map.dataY(map.plotY(x - 5.5f)), x - 5.5f, 1e-6) << x;
    }
    for (double units : {-25.0, 0.0, 37.5, 100.0, 120.0}) {
        EXPECT_NEAR(map.plotXAtColumn(map.column(units)), units, 1e-9);
        EXPECT_NEAR(map.plotYAtRow(map.row(units)), units, 1e-9);
    }
}

// Nine points at x = 1 .. 9 and y = 10 .. 90, point 5 deleted: the frame is exactly 1 .. 9 by
// 10 .. 90, so point i sits at plot position ((i - 1) x 12.5, (i - 1) x 12.5).
class EditorModelTest : public testing::Test {
protected:
    EditorModelTest() {
        data.PointCount = 9;
        for (int i = 1; i <= 9; ++i) {
            data.WorkPoints(i) = {static_cast<float>(i), 10.0f * static_cast<float>(i),
                                  i == 5 ? -0.5f : 0.5f};
        }
        data.XIsRadius = true;
        model.loadPoints(data);
        model.Form_Load(true);
        model.setRedrawHandler([this] { ++redraws; });
        model.Form_Resize(800, 600, 820, 680);
        redraws = 0;
    }

    static float at(int i) { return static_cast<float>(i - 1) * 12.5f; }

    // Chooses a tool and clicks with `button` at (x, y).
    void click(int tool, int button, float x, float y, int shift = 0) {
        model.Toolbar_ButtonClick(tool);
        model.Form_MouseDown(button, shift, x, y);
    }
    void drag(float x0, float y0, float x1, float y1) {
        model.Form_MouseDown(LeftButton, 0, x0, y0);
        model.Form_MouseMove(LeftButton, 0, (x0 + x1) / 2, (y0 + y1) / 2);
        model.Form_MouseMove(LeftButton, 0, x1, y1);
        model.Form_MouseUp(LeftButton, 0, x1, y1);
    }
    std::string marks() const {
        std::string out;
        for (int i = 1; i <= model.EditCount; ++i) {
            out += model.EditThird(i) > 0.0f ? '+' : '-';
        }
        return out;
    }

    DataSet data;
    test::ScriptedPlatform platform;
    EditorModel model{platform};
    int redraws = 0;
};

TEST_F(EditorModelTest, WithinIsTheMarkerRadiusInPlotUnits) {
    struct Case {
        float dx, dy;
        bool hit;
    };
    const Case cases[] = {{0.0f, 0.0f, true},   {0.97f, 0.0f, true}, {0.0f, -0.97f, true},
                          {0.98f, 0.0f, false}, {0.6f, 0.7f, true},  {0.7f, 0.7f, false},
                          {-0.5f, 0.8f, true},  {0.0f, 0.98f, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.dx) + ", " + std::to_string(c.dy));
        EXPECT_EQ(model.Within(40.0f, 60.0f, 40.0f + c.dx, 60.0f + c.dy), c.hit);
    }
}

TEST_F(EditorModelTest, RemoveAndRestoreThePointAtTheCursor) {
    click(2, LeftButton, at(2) + 0.5f, at(2) - 0.5f);
    EXPECT_EQ(marks(), "+-++-++++");
    EXPECT_EQ(redraws, 1);
    // Too far from every point: nothing changes and nothing is redrawn.
    click(2, LeftButton, at(3) + 0.98f, at(3));
    EXPECT_EQ(redraws, 1);
    // A point already deleted is redrawn all the same; points on the frame's edge are not
    // drawn, but can still be clicked.
    click(2, LeftButton, at(5), at(5));
    click(2, LeftButton, at(9), at(9));
    EXPECT_EQ(marks(), "+-++-+++-");
    EXPECT_EQ(redraws, 3);

    click(4, LeftButton, at(5), at(5));
    EXPECT_EQ(marks(), "+-++++++-");
    EXPECT_EQ(model.EditThird(5), 0.5f); // only the sign changed
    // A third value of 0 stays deleted, whatever restores it.
    model.EditThird(3) = 0.0f;
    click(4, LeftButton, at(3), at(3));
    click(5, LeftButton, at(9) + 5.0f, 0.0f);
    EXPECT_EQ(model.EditThird(3), 0.0f);
}

TEST_F(EditorModelTest, ATieGoesToTheLowerIndex) {
    // Points 2 and 6 moved 1/16 cm apart on one line; the click falls exactly between them.
    model.EditX(6) = 5.0f;
    model.EditY(6) = 50.0f;
    model.EditX(2) = 5.0625f;
    model.EditY(2) = 50.0f;
    click(2, LeftButton, (50.0f + 50.78125f) / 2.0f, 50.0f);
    EXPECT_EQ(marks(), "+-++-++++");
}

TEST_F(EditorModelTest, ModifierKeysTheMiddleButtonAndWrongButtonsDoNothing) {
    struct Case {
        int tool;
        int button;
        int shift;
    };
    const Case cases[] = {
        {2, LeftButton, ShiftMask}, {2, LeftButton, CtrlMask},   {2, LeftButton, AltMask},
        {2, MiddleButton, 0},       {2, RightButton, 0},         {4, RightButton, 0},
        {3, LeftButton, ShiftMask}, {3, RightButton, CtrlMask},  {3, MiddleButton, 0},
        {4, LeftButton, AltMask},   {5, RightButton, ShiftMask}, {5, MiddleButton, 0},
        {1, LeftButton, CtrlMask},  {1, RightButton, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.tool) + "/" + std::to_string(c.button) + "/" +
                     std::to_string(c.shift));
        click(c.tool, c.button, at(4), at(4), c.shift);
        EXPECT_EQ(marks(), "++++-++++");
        EXPECT_FALSE(model.Zooming);
    }
    EXPECT_EQ(redraws, 0);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EditorModelTest, SweepsToTheLeftOrRight) {
    // Left of the cursor, just left of the last point: everything but the last point goes.
    click(3, LeftButton, at(9) - 0.1f, 0.0f);
    EXPECT_EQ(marks(), "--------+");
    click(5, LeftButton, at(9) + 1.0f, 0.0f); // restoring everything is allowed
    EXPECT_EQ(marks(), "+++++++++");
    // Exactly on the x of point 4: it goes with everything right of it.
    click(3, RightButton, at(4), 70.0f);
    EXPECT_EQ(marks(), "+++------");
    click(5, RightButton, at(7) + 0.1f, 0.0f);
    EXPECT_EQ(marks(), "+++----++");
    click(5, LeftButton, at(2), 0.0f);
    EXPECT_EQ(marks(), "+++----++");
    EXPECT_EQ(redraws, 5);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EditorModelTest, TheSweepGuardRefusesToRemoveEverythingAndLooksOnlyAtTheEnds) {
    // At or beyond the last point with the left button, at or before the first with the right.
    click(3, LeftButton, at(9), 50.0f);
    click(3, LeftButton, at(9) + 20.0f, 50.0f);
    click(3, RightButton, at(1), 50.0f);
    click(3, RightButton, -10.0f, 50.0f);
    EXPECT_EQ(marks(), "++++-++++");
    EXPECT_EQ(redraws, 0);
    ASSERT_EQ(platform.messages.size(), 4u);
    for (const auto& message : platform.messages) {
        EXPECT_EQ(message.text, "Error Editing Data! This would remove all data.");
        EXPECT_EQ(message.title, "Invalid Operation");
        EXPECT_EQ(message.icon, MessageIcon::None);
    }
    // Everything but point 9 deleted: a right click on it still removes it, although nothing
    // good remains.
    platform.messages.clear();
    click(3, LeftButton, at(9) - 0.1f, 0.0f);
    click(3, RightButton, at(9), 0.0f);
    EXPECT_EQ(marks(), "---------");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EditorModelTest, SweepsReachPointsOutsideAZoomedView) {
    drag(at(4) - 1.0f, at(4) - 1.0f, at(6) + 1.0f, at(6) + 1.0f);
    ASSERT_GT(model.XAxis.Low, 1.0f);
    click(3, LeftButton, model.mapping().plotX(5.5f), 50.0f);
    EXPECT_EQ(marks(), "-----++++");
}

TEST_F(EditorModelTest, TheReadoutShowsTheDataUnderTheCursor) {
    // x = 6.1 and y = 0.25: (6.1 - 1) x 12.5 and (0.25 - 10) x 1.25.
    model.Form_MouseMove(0, 0, 63.75f, -12.1875f);
    EXPECT_EQ(model.XYLabel, " X= 6.1000E+00, Y= 2.500E-01");
    model.Form_MouseMove(LeftButton, ShiftMask, 63.75f, -12.8125f);
    EXPECT_EQ(model.XYLabel, " X= 6.1000E+00, Y= -2.500E-01");
    model.ShowEm_Click();
    EXPECT_EQ(model.ShowEmCaption, "&Show (X,Y)");
    model.Form_MouseMove(0, 0, 0.0f, 0.0f);
    EXPECT_EQ(model.XYLabel, " X= 6.1000E+00, Y= -2.500E-01");
    model.ShowEm_Click();
    EXPECT_EQ(model.ShowEmCaption, "&Hide (X,Y)");
    model.Form_MouseMove(0, 0, 0.0f, 0.0f);
    EXPECT_EQ(model.XYLabel, " X= 1.0000E+00, Y= 1.000E+01");
}

TEST_F(EditorModelTest, TheZoomDragFollowsTheMouseAndNeedsAnArea) {
    model.Form_MouseDown(LeftButton, 0, 10.0f, 20.0f);
    EXPECT_TRUE(model.Zooming);
    model.Form_MouseMove(0, 0, 30.0f, 40.0f); // whatever the buttons report
    EXPECT_EQ(model.ZoomX0, 10.0f);
    EXPECT_EQ(model.ZoomY0, 20.0f);
    EXPECT_EQ(model.ZoomX1, 30.0f);
    EXPECT_EQ(model.ZoomY1, 40.0f);
    // Releasing with a modifier held does not end the drag.
    model.Form_MouseUp(LeftButton, ShiftMask, 30.0f, 40.0f);
    EXPECT_TRUE(model.Zooming);
    // A drag along one line has no area and does not zoom.
    model.Form_MouseMove(0, 0, 30.0f, 20.0f);
    model.Form_MouseUp(LeftButton, 0, 30.0f, 20.0f);
    EXPECT_FALSE(model.Zooming);
    EXPECT_FALSE(model.ZoomoutEnabled);
    EXPECT_EQ(redraws, 0);
}

TEST_F(EditorModelTest, ZoomingInSetsTheViewToABoxOfTwoPointsOrMore) {
    struct Case {
        const char* name;
        float x0, y0, x1, y1; // plot units
        bool allDeleted;
        const char* message; // empty: zoomed
        float xMin, xMax, yMin, yMax;
    };
    const float b = at(4), c = at(5); // points 4 and 5
    const Case cases[] = {
        {"around points 3 and 4", 20, 40, 40, 22.5f, false, "", 2.6f, 4.2f, 28, 42},
        {"drawn the other way", 40, 22.5f, 20, 40, false, "", 2.6f, 4.2f, 28, 42},
        {"beyond the frame: pulled in by 1%", -20, -20, 115, 125, false, "", 1.08f, 8.92f, 10.8f,
         89.2f},
        {"corners on points, all deleted", b, b, c, c, true, "", 4, 5, 40, 50},
        {"nothing inside", at(2) + 1, at(2) + 1, at(3) - 1, at(3) - 1, false,
         "There Were No Data Within the Zoom-In Box!", 1, 9, 10, 90},
        {"one point inside", at(2) - 1, at(2) - 1, at(3) - 1, at(3) - 1, false,
         "You CANNOT Zoom Around a Single Point!", 1, 9, 10, 90},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        model.Zoomout_Click();
        for (int i = 1; i <= 9; ++i) {
            model.EditThird(i) = k.allDeleted ? -1.0f : 1.0f;
        }
        platform.messages.clear();
        redraws = 0;
        drag(k.x0, k.y0, k.x1, k.y1);
        EXPECT_EQ(platform.messageTexts(), k.message[0] == '\0'
                                               ? std::vector<std::string>{}
                                               : std::vector<std::string>{k.message});
        EXPECT_EQ(redraws, 1);
        EXPECT_FLOAT_EQ(model.ViewXMin, k.xMin);
        EXPECT_FLOAT_EQ(model.ViewXMax, k.xMax);
        EXPECT_FLOAT_EQ(model.ViewYMin, k.yMin);
        EXPECT_FLOAT_EQ(model.ViewYMax, k.yMax);
        EXPECT_EQ(model.ZoomoutEnabled, k.message[0] == '\0');
        EXPECT_EQ(model.ZoomX0, 0.0f);
        // The new frame is rounded out from the box.
        EXPECT_LE(model.XAxis.Low, k.xMin);
        EXPECT_GE(model.XAxis.High, k.xMax);
    }
    EXPECT_EQ(platform.messages.at(0).title, "Error in Zooming");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Exclamation);
}

TEST_F(EditorModelTest, ZoomsNestAndOneZoomOutReturnsToTheFullExtent) {
    drag(at(2) - 1.0f, at(2) - 1.0f, at(7) + 1.0f, at(7) + 1.0f);
    const float firstLow = model.XAxis.Low;
    const PlotMapping map = model.mapping();
    drag(map.plotX(3.9f), map.plotY(39.0f), map.plotX(5.1f), map.plotY(51.0f));
    EXPECT_FLOAT_EQ(model.ViewXMin, 3.9f);
    EXPECT_FLOAT_EQ(model.ViewXMax, 5.1f);
    EXPECT_GT(model.XAxis.Low, firstLow);

    redraws = 0;
    model.Zoomout_Click();
    EXPECT_FALSE(model.ZoomoutEnabled);
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(model.ViewXMin, 1.0f);
    EXPECT_EQ(model.ViewYMax, 90.0f);
    EXPECT_EQ(model.XAxis.Low, 1.0f);
}

TEST_F(EditorModelTest, ReturningMarksMovesTheRetainedRange) {
    struct Case {
        const char* name;
        std::vector<int> deleted; // besides point 5
        int first, last;
    };
    const Case cases[] = {
        {"inner points only", {3, 7}, 1, 9},
        {"first and last", {1, 9}, 2, 8},
        {"both ends", {1, 2, 8, 9}, 3, 7},
        // Nothing good: the range stays as it was before the editor opened.
        {"everything", {1, 2, 3, 4, 6, 7, 8, 9}, 2, 8},
        // A third value of 0 is not good either.
        {"a zero at the start", {}, 2, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DataSet target = data;
        target.FirstGoodIndex = 2;
        target.FirstGoodX = 2.0f;
        target.LastGoodIndex = 8;
        target.LastGoodX = 8.0f;
        model.loadPoints(data);
        for (int i : c.deleted) {
            model.EditThird(i) = -model.EditThird(i);
        }
        if (c.deleted.empty()) {
            model.EditThird(1) = 0.0f;
        }
        model.returnMarks(target);
        EXPECT_EQ(target.FirstGoodIndex, c.first);
        EXPECT_EQ(target.FirstGoodX, static_cast<float>(c.first));
        EXPECT_EQ(target.LastGoodIndex, c.last);
        EXPECT_EQ(target.LastGoodX, static_cast<float>(c.last));
        for (int i = 1; i <= 9; ++i) {
            EXPECT_EQ(target.WorkPoints(i).third, model.EditThird(i)) << i;
            EXPECT_EQ(target.WorkPoints(i).x, data.WorkPoints(i).x);
            EXPECT_EQ(target.WorkPoints(i).reading, data.WorkPoints(i).reading);
        }
    }
}

} // namespace
} // namespace skerry
