#include <functional>
#include <map>

#include "ground/DataTable.h"
#include "skerry/editor/AxisScaling.h"
#include "skerry/editor/EditorModel.h"
#include "support/ScriptedPlatform.h"

namespace skerry {
namespace {

TEST(Axis, TheExponentComesFromTheEndNearerZero) {
    for (const auto& row : test::readTable("subsystems/axis-exponents.tsv", 3)) {
        EXPECT_EQ(AxisExponent(row.single(0), row.single(1)), row[2]) << row.where;
    }
}

TEST(Axis, TheViewIsRoundedOutAndTheLabelsScaled) {
    for (const auto& row : test::readTable("subsystems/axis-frames.tsv", 11)) {
        SCOPED_TRACE(row.where);
        test::ScriptedPlatform platform;
        float viewMin = row.single(0);
        float viewMax = row.single(1);
        for (int redraw = 1; redraw <= 2; ++redraw) {
            const AxisFrame frame =
                setUpAxis(viewMin, viewMax, row[2] == "X" ? AxisName::X : AxisName::Y, platform);
            std::string labels;
            for (int k = 0; k < frame.TickCount; ++k) {
                labels += (k == 0 ? "" : " ") + frame.tickLabel(k);
            }
            EXPECT_EQ(test::cellsOf(frame.Low, frame.High, frame.Power, frame.Suffix, labels,
                                    viewMin, viewMax),
                      row.rest(4));
        }
        // A widened view is a proper range: the next redraw has nothing to say.
        const int warnings = row[3].empty() ? 0 : row.single(0) == 0 ? 2 : 1;
        EXPECT_EQ(platform.messageTexts(), std::vector<std::string>(warnings, row[3]));
        for (const auto& message : platform.messages) {
            EXPECT_EQ(message.title, "Data Error");
            EXPECT_EQ(message.icon, MessageIcon::Exclamation);
        }
    }
}

// The editor's copy of nine points as the script file describes it.
struct Editor {
    Editor() {
        data->PointCount = 9;
        for (int i = 1; i <= 9; ++i) {
            data->WorkPoints(i) = {float(i), 10.0f * float(i), i == 5 ? -0.5f : 0.5f};
        }
        data->XIsRadius = true;
        *opened = *data;
        model.loadPoints(*data);
        model.Form_Load(true);
        model.setRedrawHandler([this] { ++redraws; });
        model.Form_Resize(800, 600, 820, 680);
        redraws = 0;
    }

    std::string marks() const {
        std::string marks;
        for (int i = 1; i <= model.view().EditCount; ++i) {
            marks += model.view().EditThird(i) > 0.0f ? '+' : '-';
        }
        return marks;
    }

    // Changes a point of the data set the editor opens with and opens it again, its earlier
    // changes of points gone.
    void reopenWith(int i, float Point::*field, float value) {
        opened->WorkPoints(i).*field = value;
        model.loadPoints(*opened);
    }

    std::unique_ptr<DataSet> data = std::make_unique<DataSet>();
    std::unique_ptr<DataSet> opened = std::make_unique<DataSet>();
    test::ScriptedPlatform platform;
    EditorModel model{platform};
    int redraws = 0;
    std::size_t messagesChecked = 0;
};

// The retained range a data set gets back with the marks, its range having been 2 .. 8.
std::string returnedRange(const Editor& e) {
    auto target = std::make_unique<DataSet>(*e.data);
    std::tie(target->FirstGoodIndex, target->LastGoodIndex) = std::pair(2, 8);
    std::tie(target->FirstGoodX, target->LastGoodX) = std::pair(2.0f, 8.0f);
    e.model.returnMarks(*target);
    for (int i = 1; i <= 9; ++i) {
        EXPECT_EQ(target->WorkPoints(i).third, e.model.view().EditThird(i)) << i;
    }
    return test::cellsOf(target->FirstGoodIndex, target->FirstGoodX, target->LastGoodIndex,
                         target->LastGoodX);
}

TEST(Editor, ToolsZoomAndReadOutFollowTheirScripts) {
    std::unique_ptr<Editor> e;
    for (const auto& row : test::readTable("subsystems/editor-scripts.tsv", 0)) {
        SCOPED_TRACE(row.where);
        if (row[0] == "case") {
            e = std::make_unique<Editor>();
            continue;
        }
        EditorModel& m = e->model;
        const EditorView& v = m.view();
        const PlotMapping map = m.mapping();
        const std::string cells = row.rest(1);
        // Cell i as a position: x in odd cells, y in even ones.
        const auto at = [&](std::size_t i) {
            const float v = row.single(i);
            return !row[i].ends_with('d') ? v : i % 2 == 1 ? map.plotX(v) : map.plotY(v);
        };
        int done = 0;
        const auto on = [&](const char* command, const std::function<void()>& run) {
            done += row[0] == command ? (run(), 1) : 0;
        };
        const auto expect = [&](const char* check, const std::string& observed) {
            on(check, [&] { EXPECT_EQ(observed, cells); });
        };
        // The button as 1 left, 2 right, 4 middle; the keys as bits 1 Shift, 2 Ctrl, 4 Alt.
        const auto mouse = [&](auto handler) {
            static const std::map<int, MouseButton> buttons{
                {1, MouseButton::Left}, {2, MouseButton::Right}, {4, MouseButton::Middle}};
            const int bits = row.integer(2);
            const ModifierKeys keys{
                .shift = (bits & 1) != 0, .ctrl = (bits & 2) != 0, .alt = (bits & 4) != 0};
            (m.*handler)(buttons.at(row.integer(1)), keys, at(3), at(4));
        };
        on("tool", [&] { m.Toolbar_ButtonClick(row.integer(1)); });
        on("down", [&] { mouse(&EditorModel::Form_MouseDown); });
        on("move", [&] { m.Form_MouseMove(at(3), at(4)); });
        on("up", [&] { mouse(&EditorModel::Form_MouseUp); });
        on("drag", [&] {
            m.Form_MouseDown(MouseButton::Left, {}, at(1), at(2));
            m.Form_MouseMove((at(1) + at(3)) / 2, (at(2) + at(4)) / 2);
            m.Form_MouseMove(at(3), at(4));
            m.Form_MouseUp(MouseButton::Left, {}, at(3), at(4));
        });
        on("zoomout", [&] { m.Zoomout_Click(); });
        on("undo", [&] { m.Undo_Click(); });
        on("redo", [&] { m.Redo_Click(); });
        on("showem", [&] { m.ShowEm_Click(); });
        on("x", [&] { e->reopenWith(row.integer(1), &Point::x, row.single(2)); });
        on("y", [&] { e->reopenWith(row.integer(1), &Point::reading, row.single(2)); });
        on("third", [&] { e->reopenWith(row.integer(1), &Point::third, row.single(2)); });
        on("within", [&] { EXPECT_EQ(m.Within(at(1), at(2), at(3), at(4)), row[5] == "1"); });
        on("pixels", [&] {
            const double x = row.number(1);
            const double y = row.number(2);
            EXPECT_EQ(test::cellsOf(x, y, map.column(x), map.row(y),
                                    map.plotXAtColumn(map.column(x)), map.plotYAtRow(map.row(y)),
                                    map.pixelsAcross(x), map.unitsAcross(x), map.unitsUp(y)),
                      cells);
        });
        on("isthird", [&] { EXPECT_EQ(v.EditThird(row.integer(1)), row.single(2)); });
        on("redraws", [&] { EXPECT_EQ(std::exchange(e->redraws, 0), row.integer(1)); });
        on("message", [&] {
            ASSERT_LT(e->messagesChecked, e->platform.messages.size());
            const auto& shown = e->platform.messages[e->messagesChecked++];
            const char* icon = shown.icon == MessageIcon::None ? "none" : "exclamation";
            EXPECT_EQ(test::cellsOf(shown.text, shown.title, icon), cells);
        });
        expect("unread", test::cellsOf(e->platform.messages.size() - e->messagesChecked));
        expect("marks", test::cellsOf(e->marks()));
        expect("label", test::cellsOf(v.XYLabel));
        expect("caption", test::cellsOf(v.ShowEmCaption));
        expect("view", test::cellsOf(v.ViewXMin, v.ViewXMax, v.ViewYMin, v.ViewYMax));
        expect("xframe", test::cellsOf(v.XAxis.Low, v.XAxis.High));
        expect("flags", test::cellsOf(v.Zooming, v.ZoomoutEnabled));
        expect("closing", test::cellsOf(v.EditAccepted, v.UnloadRequested));
        expect("box", test::cellsOf(v.ZoomX0, v.ZoomY0, v.ZoomX1, v.ZoomY1));
        on("returned", [&] { EXPECT_EQ(returnedRange(*e), cells); });
        ASSERT_EQ(done, 1) << "unknown command " << row[0];
        // The axis frames always hold the view.
        EXPECT_TRUE(v.XAxis.Low <= v.ViewXMin && v.ViewXMax <= v.XAxis.High);
        EXPECT_TRUE(v.YAxis.Low <= v.ViewYMin && v.ViewYMax <= v.YAxis.High);
    }
}

} // namespace
} // namespace skerry
