#include <algorithm>
#include <functional>
#include <map>

#include "ground/DataTable.h"
#include "skerry/editor/AxisScaling.h"
#include "skerry/editor/EditorModel.h"
#include "skerry/ground/FileSystem.h"
#include "skerry/input/DataFileLoading.h"
#include "skerry/suggest/Suggestion.h"
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

// A scan of points at x = first, first + 1, ... and y = 10 x, all good but those listed.
RunScan scanOf(const char* name, float first, int count, std::initializer_list<int> deleted = {}) {
    RunScan scan;
    scan.data.DataFileName = std::string("/scans/") + name;
    scan.data.XIsRadius = true;
    scan.data.PointCount = count;
    for (int i = 1; i <= count; ++i) {
        const float x = first + float(i - 1);
        const bool good = std::find(deleted.begin(), deleted.end(), i) == deleted.end();
        scan.data.WorkPoints(i) = {x, 10.0f * x, good ? 0.5f : -0.5f};
    }
    return scan;
}

// The editor's copy of nine points as the script file describes it, alone or as the first scan
// of a run of three.
struct Editor {
    explicit Editor(bool run) {
        std::vector<RunScan> scans{scanOf("a.RA1", 1.0f, 9, {5})};
        if (run) {
            scans.push_back(scanOf("b.RA1", 1.5f, 8));
            scans.push_back(scanOf("c.RA1", 2.0f, 7));
        }
        opened->assign(scans);
        model.loadRun(*opened);
        model.Form_Load(true);
        model.setRedrawHandler([this] { ++redraws; });
        model.Form_Resize(800, 600, 820, 680);
        redraws = 0;
    }

    // Every scan's marks, the scans apart by a blank.
    std::string marks() const {
        std::string marks;
        for (const EditScan& scan : model.view().Scans) {
            marks += marks.empty() ? "" : " ";
            for (const float third : scan.third) {
                marks += third > 0.0f ? '+' : '-';
            }
        }
        return marks;
    }

    // Changes a point of the current scan the editor opens with and opens the run again, its
    // earlier changes of points gone; the same for another scan made current (from 1).
    void reopenWith(int i, float Point::*field, float value) {
        opened->current().WorkPoints(i).*field = value;
        model.loadRun(*opened);
    }
    void reopenAt(std::size_t scan) {
        opened->setCurrent(scan - 1);
        model.loadRun(*opened);
    }

    std::unique_ptr<Run> opened = std::make_unique<skerry::Run>();
    test::ScriptedPlatform platform;
    EditorModel model{platform};
    int redraws = 0;
    std::size_t messagesChecked = 0;
};

// The retained range a data set gets back with the marks, its range having been 2 .. 8.
std::string returnedRange(const Editor& e) {
    auto target = std::make_unique<skerry::Run>(*e.opened);
    DataSet& data = target->current();
    std::tie(data.FirstGoodIndex, data.LastGoodIndex) = std::pair(2, 8);
    std::tie(data.FirstGoodX, data.LastGoodX) = std::pair(2.0f, 8.0f);
    e.model.returnMarks(*target);
    for (int i = 1; i <= 9; ++i) {
        EXPECT_EQ(data.WorkPoints(i).third, e.model.view().EditThird(i)) << i;
    }
    return test::cellsOf(data.FirstGoodIndex, data.FirstGoodX, data.LastGoodIndex, data.LastGoodX);
}

// The scripts of one scan, and of the same scan with two more on other grids as a run.
class EditorScripts : public testing::TestWithParam<const char*> {};

TEST_P(EditorScripts, ToolsZoomAndReadOutFollowTheirScripts) {
    const bool run = std::string(GetParam()).find("run") != std::string::npos;
    std::unique_ptr<Editor> e;
    for (const auto& row : test::readTable(GetParam(), 0)) {
        SCOPED_TRACE(row.where);
        if (row[0] == "case") {
            e = std::make_unique<Editor>(run);
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
        on("current", [&] { e->reopenAt(static_cast<std::size_t>(row.integer(1))); });
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

INSTANTIATE_TEST_SUITE_P(Scripts, EditorScripts,
                         testing::Values("subsystems/editor-scripts.tsv",
                                         "subsystems/editor-run-scripts.tsv"));

// Every scan's marks and columns as the editor holds them.
std::string heldEdits(const EditorModel& model) {
    std::string held;
    for (const EditScan& scan : model.view().Scans) {
        for (const float third : scan.third) {
            held += third > 0.0f ? '+' : '-';
        }
        for (const ColumnRange& column : scan.columns) {
            held += " " + test::cellsOf(column.first, column.last);
        }
        held += "\n";
    }
    return held;
}

TEST(Editor, SuggestEditsMarksEveryScanAsOneStepAndSaysWhatItFound) {
    for (const auto& row : test::readTable("subsystems/editor-suggestions.tsv", 2)) {
        SCOPED_TRACE(row.where);
        auto opened = std::make_unique<skerry::Run>();
        std::vector<RunScan> scans;
        for (const std::string& name : test::split(row[0])) {
            RunScan& scan = scans.emplace_back();
            const auto path = os::utf8Of(test::dataPath("subsystems/suggest/" + name));
            ASSERT_TRUE(loadDataFile(scan.data, path).ok());
            // Columns a run comes with stay until a suggestion replaces them.
            scan.columns = {{1, 2}};
        }
        opened->assign(scans);
        // What the suggestion does to each scan on its own, as skerry-batch applies it.
        auto expected = std::make_unique<skerry::Run>(*opened);
        for (RunScan& scan : *expected) {
            const auto found = suggestEdits(scan.data);
            scan.columns.clear();
            if (found) {
                applySuggestion(scan.data, *found);
                for (const SolutionColumn& column : found->columns) {
                    scan.columns.push_back({column.first, column.last});
                }
            }
        }
        test::ScriptedPlatform platform;
        EditorModel model{platform};
        model.loadRun(*opened);
        // The suggestion reads the editor's marks, not those of the run it came from.
        for (RunScan& scan : *opened) {
            for (int i = 1; i <= scan.data.PointCount; ++i) {
                markDeleted(scan.data.WorkPoints(i));
            }
        }
        const std::string before = heldEdits(model);
        EditorModel applied{platform};
        applied.loadRun(*expected);

        model.Toolbar_ButtonClick(9);
        EXPECT_EQ(model.view().XYLabel, row[1]);
        EXPECT_EQ(heldEdits(model), heldEdits(applied));
        model.Undo_Click();
        EXPECT_EQ(model.view().XYLabel, "Undone: " + row[1]);
        EXPECT_EQ(heldEdits(model), before);
        auto returned = std::make_unique<skerry::Run>(*opened);
        model.returnMarks(*returned);
        EXPECT_EQ(returned->scan(0).columns.size(), 1u);
        model.Redo_Click();
        EXPECT_EQ(heldEdits(model), heldEdits(applied));
        model.returnMarks(*returned);
        for (std::size_t k = 0; k < returned->size(); ++k) {
            const DataSet& got = returned->scan(k).data;
            const DataSet& want = expected->scan(k).data;
            EXPECT_EQ(test::cellsOf(got.FirstGoodIndex, got.LastGoodIndex),
                      test::cellsOf(want.FirstGoodIndex, want.LastGoodIndex));
            EXPECT_EQ(returned->scan(k).columns.size(), expected->scan(k).columns.size());
        }
    }
}

} // namespace
} // namespace skerry
