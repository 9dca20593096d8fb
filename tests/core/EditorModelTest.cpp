#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skerry/editor/EditorModel.h"
#include "support/ScriptedPlatform.h"

namespace skerry {
namespace {

TEST(EditorLayoutTest, FollowsTheScreenWidth) {
    struct Case {
        ScreenSize screen;
        int width, height, left, top;
        double labelPoints;
        bool largeToolbar;
    };
    const Case cases[] = {
        // 52% x 65%, centred across, 3% of the screen above the middle.
        {{1920, 1080}, 998, 702, 461, 157, 12.0, true},
        {{801, 600}, 417, 390, 192, 87, 12.0, true},
        {{800, 600}, 416, 390, 192, 87, 8.0, false},
        {{641, 480}, 333, 312, 154, 70, 8.0, false},
        // 64% x 80% with the design fonts.
        {{640, 480}, 410, 384, 115, 34, 9.75, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.screen.width);
        const EditorLayout layout = editorLayout(c.screen);
        EXPECT_EQ(layout.width, c.width);
        EXPECT_EQ(layout.height, c.height);
        EXPECT_EQ(layout.left, c.left);
        EXPECT_EQ(layout.top, c.top);
        EXPECT_EQ(layout.labelPoints, c.labelPoints);
        EXPECT_EQ(layout.largeToolbar, c.largeToolbar);
    }
}

TEST(PlotMappingTest, DataPlotUnitsAndPixelsBothWays) {
    // Frame 5.8 .. 7.2 across (100 / 1.4 plot units per cm) and 0 .. 2 up, on 1450 x 620 pixels.
    const PlotMapping map{5.8f, 0.0f, 100.0f / 1.4f, 50.0f, 1450.0, 620.0};
    EXPECT_NEAR(map.plotX(6.5f), 50.0f, 1e-4);
    EXPECT_FLOAT_EQ(map.plotY(1.5f), 75.0f);
    EXPECT_NEAR(map.dataX(50.0f), 6.5f, 1e-6);
    EXPECT_FLOAT_EQ(map.dataY(75.0f), 1.5f);
    for (float x : {5.8f, 6.1f, 6.77f, 7.2f}) {
        EXPECT_NEAR(map.dataX(map.plotX(x)), x, 1e-6) << x;
    }

    // The client area's corners are -25, 130 and 120, -25.
    EXPECT_DOUBLE_EQ(map.column(-25.0), 0.0);
    EXPECT_DOUBLE_EQ(map.column(120.0), 1450.0);
    EXPECT_DOUBLE_EQ(map.column(0.0), 250.0);
    EXPECT_DOUBLE_EQ(map.column(100.0), 1250.0);
    EXPECT_DOUBLE_EQ(map.row(130.0), 0.0);
    EXPECT_DOUBLE_EQ(map.row(-25.0), 620.0);
    EXPECT_DOUBLE_EQ(map.row(100.0), 120.0);
    EXPECT_DOUBLE_EQ(map.row(0.0), 520.0);
    for (double units : {-25.0, 0.0, 37.5, 100.0, 120.0}) {
        EXPECT_NEAR(map.plotXAtColumn(map.column(units)), units, 1e-9);
        EXPECT_NEAR(map.plotYAtRow(map.row(units)), units, 1e-9);
    }
    EXPECT_DOUBLE_EQ(map.pixelsAcross(0.975), 9.75);
    EXPECT_DOUBLE_EQ(map.unitsUp(4.0), 1.0);
}

TEST(CandidateListTest, NearestFirstFoundAndAtMostFifty) {
    CandidateList list;
    EXPECT_EQ(list.nearest(), 0);
    list.add(7, 0.5f);
    list.add(3, 0.25f);
    list.add(9, 0.25f);
    EXPECT_EQ(list.nearest(), 3);

    list.clear();
    for (int i = 1; i <= 51; ++i) {
        list.add(i, 1.0f / static_cast<float>(i));
    }
    EXPECT_EQ(list.nearest(), 50);
}

// Nine points at x = 1 .. 9 and y = 10 .. 90: the frame is exactly 1 .. 9 by 10 .. 90, so
// point i sits at plot position ((i - 1) x 12.5, (i - 1) x 12.5).
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

    void click(int button, int shift, float x, float y) {
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

TEST_F(EditorModelTest, EntryCopiesThePointsAndShowsTheirExtent) {
    EXPECT_EQ(model.PlotTitle, "Editing Data Set ");
    EXPECT_EQ(model.PlotSubtitle, " ");
    EXPECT_EQ(model.XAxisLabel, "Radius (cm)");
    EXPECT_EQ(model.YAxisLabel, "Concentration");
    EXPECT_EQ(model.EditCount, 9);
    EXPECT_EQ(model.EditX(4), 4.0f);
    EXPECT_EQ(model.EditY(4), 40.0f);
    EXPECT_EQ(model.EditThird(5), -0.5f);
    EXPECT_EQ(model.ViewXMin, 1.0f);
    EXPECT_EQ(model.ViewXMax, 9.0f);
    EXPECT_EQ(model.ViewYMin, 10.0f);
    EXPECT_EQ(model.ViewYMax, 90.0f);
    EXPECT_EQ(model.XAxis.Low, 1.0f);
    EXPECT_EQ(model.XAxis.High, 9.0f);
    EXPECT_EQ(model.XScale, 12.5f);
    EXPECT_EQ(model.YScale, 1.25f);

    data.XIsRadius = false;
    model.loadPoints(data);
    EXPECT_EQ(model.XAxisLabel, "XI = R^2/2 (cm^2)");
}

TEST_F(EditorModelTest, FindDataRangeCountsDeletedPointsAndStopsAtNoPoints) {
    model.EditY(5) = 200.0f; // the deleted point
    model.FindDataRange(model.EditX, model.EditY, model.EditCount);
    EXPECT_EQ(model.ViewYMax, 200.0f);

    model.FindDataRange(model.EditX, model.EditY, 0);
    EXPECT_EQ(model.ViewXMin, 1.0f);
    EXPECT_EQ(model.ViewXMax, 1.0f);
    EXPECT_EQ(model.ViewYMin, 10.0f);
    EXPECT_EQ(model.ViewYMax, 10.0f);
}

TEST_F(EditorModelTest, LoadResetsTheToolAndFollowsTheReadoutDefault) {
    model.Tool = 3;
    model.EditAccepted = true;
    model.Form_Load(false);
    EXPECT_EQ(model.Tool, 1);
    EXPECT_FALSE(model.EditAccepted);
    EXPECT_FALSE(model.ShowXY);
    EXPECT_EQ(model.ShowEmCaption, "&Show (X,Y)");
    EXPECT_EQ(model.Layout.width, 998); // the scripted 1920 x 1080 screen
    bool showXYDefault = true;
    model.Form_Unload(showXYDefault);
    EXPECT_FALSE(showXYDefault);
}

TEST_F(EditorModelTest, FontSizesFollowTheWindowsSmallerSide) {
    // 480 pixels are 7200 twips.
    model.Form_Resize(400, 300, 900, 480);
    EXPECT_EQ(model.TitleSize, 10);
    EXPECT_EQ(model.TickSize, 9);
    EXPECT_EQ(model.VerticalFontHeight, 17);
    model.Form_Resize(400, 300, 600, 1800);
    EXPECT_EQ(model.TitleSize, 13);          // 9000 x 0.0014 = 12.6
    EXPECT_EQ(model.TickSize, 11);           // 10.8
    EXPECT_EQ(model.VerticalFontHeight, 22); // 21.6
}

TEST_F(EditorModelTest, NothingIsRedrawnWhileMinimized) {
    model.setMinimized(true);
    model.ViewYMin = model.ViewYMax = 0.0f;
    model.Form_Resize(10, 10, 20, 20);
    EXPECT_EQ(redraws, 0);
    EXPECT_TRUE(platform.messages.empty());
    model.setMinimized(false);
    model.Form_Paint();
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(platform.messageTexts(),
              std::vector<std::string>{"WARNING:  All Y values are identical."});
}

TEST_F(EditorModelTest, BothAxesDegenerateWarnXFirst) {
    model.ViewXMin = model.ViewXMax = 0.0f;
    model.ViewYMin = model.ViewYMax = 0.0f;
    model.Form_Paint();
    EXPECT_EQ(platform.messageTexts(),
              (std::vector<std::string>{"WARNING:  All X values are identical.",
                                        "WARNING:  All Y values are identical."}));
    EXPECT_EQ(model.XScale, 25.0f);
}

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
    model.Toolbar_ButtonClick(2);
    click(LeftButton, 0, at(2) + 0.5f, at(2) - 0.5f);
    EXPECT_EQ(marks(), "+-++-++++");
    EXPECT_EQ(redraws, 1);

    // Too far from every point: nothing changes and nothing is redrawn.
    click(LeftButton, 0, at(3) + 0.98f, at(3));
    EXPECT_EQ(marks(), "+-++-++++");
    EXPECT_EQ(redraws, 1);

    // Points on the frame's edge are not drawn, but can still be clicked.
    click(LeftButton, 0, at(9), at(9));
    EXPECT_EQ(marks(), "+-++-+++-");

    model.Toolbar_ButtonClick(4);
    click(LeftButton, 0, at(5), at(5));
    EXPECT_EQ(marks(), "+-++++++-");
    EXPECT_EQ(model.EditThird(5), 0.5f); // only the sign changed
    // The right button does nothing with the single-point tools.
    click(RightButton, 0, at(2), at(2));
    EXPECT_EQ(marks(), "+-++++++-");
}

TEST_F(EditorModelTest, ANearestPointAlreadyMarkedStillRedraws) {
    model.Toolbar_ButtonClick(2);
    click(LeftButton, 0, at(5), at(5));
    EXPECT_EQ(marks(), "++++-++++");
    EXPECT_EQ(redraws, 1);
}

TEST_F(EditorModelTest, ATieGoesToTheLowerIndex) {
    // Points 2 and 6 moved 1/16 cm apart on one line; the click falls exactly between them.
    model.EditX(6) = 5.0f;
    model.EditY(6) = 50.0f;
    model.EditX(2) = 5.0625f;
    model.EditY(2) = 50.0f;
    model.Toolbar_ButtonClick(2);
    click(LeftButton, 0, (50.0f + 50.78125f) / 2.0f, 50.0f);
    EXPECT_EQ(marks(), "+-++-++++");
}

TEST_F(EditorModelTest, AZeroThirdValueStaysDeleted) {
    model.EditThird(3) = 0.0f;
    model.Toolbar_ButtonClick(4);
    click(LeftButton, 0, at(3), at(3));
    EXPECT_EQ(model.EditThird(3), 0.0f);
    model.Toolbar_ButtonClick(5);
    click(LeftButton, 0, at(9) + 5.0f, 0.0f);
    EXPECT_EQ(model.EditThird(3), 0.0f);
}

TEST_F(EditorModelTest, ModifierKeysAndTheMiddleButtonDoNothing) {
    struct Case {
        int tool;
        int button;
        int shift;
    };
    const Case cases[] = {
        {2, LeftButton, ShiftMask}, {2, LeftButton, CtrlMask},  {2, LeftButton, AltMask},
        {2, MiddleButton, 0},       {3, LeftButton, ShiftMask}, {3, RightButton, CtrlMask},
        {3, MiddleButton, 0},       {4, LeftButton, AltMask},   {5, RightButton, ShiftMask},
        {5, MiddleButton, 0},       {1, LeftButton, CtrlMask},  {1, RightButton, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.tool) + "/" + std::to_string(c.button) + "/" +
                     std::to_string(c.shift));
        model.Toolbar_ButtonClick(c.tool);
        click(c.button, c.shift, at(4), at(4));
        EXPECT_EQ(marks(), "++++-++++");
        EXPECT_FALSE(model.Zooming);
    }
    EXPECT_EQ(redraws, 0);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EditorModelTest, RemoveToTheLeftOrRight) {
    model.Toolbar_ButtonClick(3);
    // Just left of the last point: everything but the last point goes.
    click(LeftButton, 0, at(9) - 0.1f, 0.0f);
    EXPECT_EQ(marks(), "--------+");
    EXPECT_EQ(redraws, 1);

    model.Toolbar_ButtonClick(5);
    click(LeftButton, 0, at(9) + 1.0f, 0.0f); // restoring everything is allowed
    EXPECT_EQ(marks(), "+++++++++");
    EXPECT_TRUE(platform.messages.empty());

    // Exactly on the x of point 4: it goes with everything right of it.
    model.Toolbar_ButtonClick(3);
    click(RightButton, 0, at(4), 70.0f);
    EXPECT_EQ(marks(), "+++------");

    model.Toolbar_ButtonClick(5);
    click(RightButton, 0, at(7) + 0.1f, 0.0f);
    EXPECT_EQ(marks(), "+++----++");
    click(LeftButton, 0, at(2), 0.0f);
    EXPECT_EQ(marks(), "+++----++");
    EXPECT_EQ(redraws, 5);
}

TEST_F(EditorModelTest, RemovingEverythingIsRefused) {
    model.Toolbar_ButtonClick(3);
    struct Case {
        int button;
        float x;
    };
    // At or beyond the last point with the left button, at or before the first with the right.
    const Case cases[] = {{LeftButton, at(9)},
                          {LeftButton, at(9) + 20.0f},
                          {RightButton, at(1)},
                          {RightButton, -10.0f}};
    for (const Case& c : cases) {
        click(c.button, 0, c.x, 50.0f);
    }
    EXPECT_EQ(marks(), "++++-++++");
    EXPECT_EQ(redraws, 0);
    ASSERT_EQ(platform.messages.size(), 4u);
    for (const auto& message : platform.messages) {
        EXPECT_EQ(message.text, "Error Editing Data! This would remove all data.");
        EXPECT_EQ(message.title, "Invalid Operation");
        EXPECT_EQ(message.icon, MessageIcon::None);
        EXPECT_EQ(message.buttons, MessageButtons::Ok);
    }
}

TEST_F(EditorModelTest, TheGuardLooksOnlyAtTheEnds) {
    // Everything but point 9 is deleted; the last point itself may still go with a right click
    // on it, although nothing good would remain.
    for (int i = 1; i <= 8; ++i) {
        model.EditThird(i) = -1.0f;
    }
    model.Toolbar_ButtonClick(3);
    click(RightButton, 0, at(9), 0.0f);
    EXPECT_EQ(marks(), "---------");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EditorModelTest, SweepsReachPointsOutsideAZoomedView) {
    drag(at(4) - 1.0f, at(4) - 1.0f, at(6) + 1.0f, at(6) + 1.0f);
    ASSERT_TRUE(model.ZoomoutEnabled);
    ASSERT_GT(model.XAxis.Low, 1.0f);
    model.Toolbar_ButtonClick(3);
    const float cursor = model.mapping().plotX(5.5f);
    click(LeftButton, 0, cursor, 50.0f);
    EXPECT_EQ(marks(), "-----++++");
}

TEST_F(EditorModelTest, TheReadoutShowsTheDataUnderTheCursor) {
    // x = 6.1 and y = 0.25: (6.1 - 1) x 12.5 and (0.25 - 10) x 1.25.
    model.Form_MouseMove(0, 0, 63.75f, -12.1875f);
    EXPECT_EQ(model.XYLabel, " X= 6.1000E+00, Y= 2.500E-01");
    model.Form_MouseMove(LeftButton, ShiftMask, 63.75f, -12.8125f);
    EXPECT_EQ(model.XYLabel, " X= 6.1000E+00, Y= -2.500E-01");

    model.ShowEm_Click();
    EXPECT_FALSE(model.ShowXY);
    EXPECT_EQ(model.ShowEmCaption, "&Show (X,Y)");
    model.Form_MouseMove(0, 0, 0.0f, 0.0f);
    EXPECT_EQ(model.XYLabel, " X= 6.1000E+00, Y= -2.500E-01");

    model.ShowEm_Click();
    EXPECT_EQ(model.ShowEmCaption, "&Hide (X,Y)");
    model.Form_MouseMove(0, 0, 0.0f, 0.0f);
    EXPECT_EQ(model.XYLabel, " X= 1.0000E+00, Y= 1.000E+01");
}

TEST_F(EditorModelTest, TheToolbarChoosesToolsAndLeaves) {
    for (int button = 1; button <= 5; ++button) {
        model.Toolbar_ButtonClick(button);
        EXPECT_EQ(model.Tool, button);
    }
    model.Toolbar_ButtonClick(6);
    EXPECT_EQ(model.Tool, 5);
    EXPECT_FALSE(model.UnloadRequested);

    model.Toolbar_ButtonClick(7);
    EXPECT_TRUE(model.EditAccepted);
    EXPECT_TRUE(model.UnloadRequested);
    model.Toolbar_ButtonClick(8);
    EXPECT_FALSE(model.EditAccepted);
    EXPECT_TRUE(model.UnloadRequested);
}

TEST_F(EditorModelTest, TheZoomDragFollowsTheMouse) {
    model.Form_MouseDown(LeftButton, 0, 10.0f, 20.0f);
    EXPECT_TRUE(model.Zooming);
    EXPECT_TRUE(model.ZoomFresh);
    EXPECT_EQ(model.ZoomX1, 10.0f);
    model.Form_MouseMove(0, 0, 30.0f, 40.0f); // whatever the buttons report
    EXPECT_FALSE(model.ZoomFresh);
    EXPECT_EQ(model.ZoomX0, 10.0f);
    EXPECT_EQ(model.ZoomY0, 20.0f);
    EXPECT_EQ(model.ZoomX1, 30.0f);
    EXPECT_EQ(model.ZoomY1, 40.0f);

    // Releasing with a modifier held does not end the drag.
    model.Form_MouseUp(LeftButton, ShiftMask, 30.0f, 40.0f);
    EXPECT_TRUE(model.Zooming);
    model.Form_MouseUp(LeftButton, 0, 30.0f, 40.0f);
    EXPECT_FALSE(model.Zooming);
    EXPECT_TRUE(model.ZoomFresh);
}

TEST_F(EditorModelTest, AClickWithoutADragDoesNotZoom) {
    model.Form_MouseDown(LeftButton, 0, 10.0f, 20.0f);
    model.Form_MouseUp(LeftButton, 0, 10.0f, 20.0f);
    // A drag along one line has no area either.
    drag(10.0f, 20.0f, 60.0f, 20.0f);
    EXPECT_FALSE(model.ZoomoutEnabled);
    EXPECT_EQ(redraws, 0);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(EditorModelTest, ZoomingRefusesBoxesWithFewerThanTwoPoints) {
    struct Case {
        float x0, y0, x1, y1;
        const char* message;
    };
    const Case cases[] = {
        {at(2) + 1.0f, at(2) + 1.0f, at(3) - 1.0f, at(3) - 1.0f,
         "There Were No Data Within the Zoom-In Box!"},
        {at(2) - 1.0f, at(2) - 1.0f, at(3) - 1.0f, at(3) - 1.0f,
         "You CANNOT Zoom Around a Single Point!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        platform.messages.clear();
        redraws = 0;
        drag(c.x0, c.y0, c.x1, c.y1);
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, c.message);
        EXPECT_EQ(platform.messages[0].title, "Error in Zooming");
        EXPECT_EQ(platform.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(redraws, 1);
        EXPECT_EQ(model.ViewXMin, 1.0f);
        EXPECT_EQ(model.ViewXMax, 9.0f);
        EXPECT_EQ(model.ViewYMin, 10.0f);
        EXPECT_EQ(model.ViewYMax, 90.0f);
        EXPECT_FALSE(model.ZoomoutEnabled);
        EXPECT_EQ(model.ZoomX0, 0.0f);
        EXPECT_EQ(model.ZoomY1, 0.0f);
    }
}

TEST_F(EditorModelTest, ZoomingSetsTheViewToTheBoxInEitherDirection) {
    // Around points 3 and 4 (x 3 and 4, y 30 and 40), with the corners in plot units.
    const float x0 = 20.0f; // x = 2.6
    const float y0 = 22.5f; // y = 28
    const float x1 = 40.0f; // x = 4.2
    const float y1 = 40.0f; // y = 42
    for (bool reversed : {false, true}) {
        SCOPED_TRACE(reversed);
        model.Zoomout_Click();
        redraws = 0;
        if (reversed) {
            drag(x1, y0, x0, y1);
        } else {
            drag(x0, y1, x1, y0);
        }
        EXPECT_FLOAT_EQ(model.ViewXMin, 2.6f);
        EXPECT_FLOAT_EQ(model.ViewXMax, 4.2f);
        EXPECT_FLOAT_EQ(model.ViewYMin, 28.0f);
        EXPECT_FLOAT_EQ(model.ViewYMax, 42.0f);
        EXPECT_TRUE(model.ZoomoutEnabled);
        EXPECT_EQ(redraws, 1);
        EXPECT_TRUE(platform.messages.empty());
        EXPECT_LE(model.XAxis.Low, 2.6f); // the new frame is rounded out from the box
        EXPECT_GE(model.XAxis.High, 4.2f);
    }
}

TEST_F(EditorModelTest, ABoxBeyondTheFrameIsPulledInByOnePercent) {
    drag(-20.0f, -20.0f, 115.0f, 125.0f);
    EXPECT_FLOAT_EQ(model.ViewXMin, 1.08f);
    EXPECT_FLOAT_EQ(model.ViewXMax, 8.92f);
    EXPECT_FLOAT_EQ(model.ViewYMin, 10.8f);
    EXPECT_FLOAT_EQ(model.ViewYMax, 89.2f);
}

TEST_F(EditorModelTest, EdgesCountAndDeletedPointsToo) {
    // The box's corners lie exactly on points 4 and 5, and every point is deleted.
    for (int i = 1; i <= 9; ++i) {
        model.EditThird(i) = -1.0f;
    }
    drag(at(4), at(4), at(5), at(5));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(model.ViewXMin, 4.0f);
    EXPECT_EQ(model.ViewXMax, 5.0f);
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
    EXPECT_EQ(model.ViewXMax, 9.0f);
    EXPECT_EQ(model.ViewYMin, 10.0f);
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

TEST_F(EditorModelTest, AZeroThirdValueIsNotGoodForTheRange) {
    model.EditThird(1) = 0.0f;
    data.FirstGoodIndex = 1;
    model.returnMarks(data);
    EXPECT_EQ(data.FirstGoodIndex, 2);
}

} // namespace
} // namespace skerry
