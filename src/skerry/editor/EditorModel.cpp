#include "skerry/editor/EditorModel.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>
#include <vector>

#include "skerry/ground/FileSystem.h"
#include "skerry/ground/LeadingNumber.h"
#include "skerry/ground/NumberPattern.h"
#include "skerry/suggest/Suggestion.h"

namespace skerry {

namespace {

// Windows are sized in twips: 15 to the pixel at 96 dots per inch.
constexpr float TwipsPerPixel = 15.0f;

// What a change of points did, as the read-out names it when it is undone or redone:
// "37 points removed left of 5.9612", "1 point restored at 6.0210".
std::string changeText(bool restore, const char* where, float x, std::size_t count) {
    static const NumberPattern xPattern("0.0000");
    return std::to_string(count) + (count == 1 ? " point " : " points ") +
           (restore ? "restored " : "removed ") + where + " " + xPattern.format(x);
}

// "3 columns", "1 spike".
std::string counted(std::size_t count, const char* what) {
    return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

// What a suggestion over the scans found, as the read-out strip says it: "Suggested 18 columns
// and 4 spikes in 6 scans", followed by "; none in 00003.RA1" or alone as "No columns found in
// 00003.RA1, 00005.RA1" when nothing was found in some or all of them.
std::string suggestionText(std::size_t columns, std::size_t spikes, std::size_t scansFound,
                           const std::vector<std::string>& emptyScans) {
    std::string names;
    for (const std::string& name : emptyScans) {
        names += (names.empty() ? "" : ", ") + name;
    }
    if (scansFound == 0) {
        return "No columns found in " + names;
    }
    std::string text = "Suggested " + counted(columns, "column") + " and " +
                       counted(spikes, "spike") + " in " + counted(scansFound, "scan");
    return emptyScans.empty() ? text : text + "; none in " + names;
}

} // namespace

EditorLayout editorLayout(ScreenSize screen) {
    const double w = screen.width;
    const double h = screen.height;
    EditorLayout layout;
    double widthShare = 0.64;
    double heightShare = 0.8;
    if (screen.width > 640) {
        widthShare = 0.52;
        heightShare = 0.65;
        layout.labelPoints = screen.width > 800 ? 12.0 : 8.0;
    }
    layout.largeToolbar = screen.width > 800;
    const double width = widthShare * w;
    const double height = heightShare * h;
    layout.width = static_cast<int>(std::lround(width));
    layout.height = static_cast<int>(std::lround(height));
    // Centred across, and slightly above the middle of the screen.
    layout.left = static_cast<int>(std::lround((w - width) / 2.0));
    layout.top = static_cast<int>(std::lround((h - height) / 2.0 - 0.03 * h));
    return layout;
}

void CandidateList::add(int index, float distanceSquared) {
    if (count_ < MaxCandidates) {
        entries_[static_cast<std::size_t>(count_++)] = {static_cast<std::int16_t>(index),
                                                        distanceSquared};
    }
}

CandidateList::Candidate CandidateList::nearest() const {
    if (count_ == 0) {
        return {0, 0.0f};
    }
    const auto* const end = entries_.begin() + count_;
    // min_element keeps the first of equal entries, so the lowest index wins a tie.
    return *std::min_element(entries_.begin(), end, [](const Candidate& a, const Candidate& b) {
        return a.distanceSquared < b.distanceSquared;
    });
}

EditorModel::EditorModel(Platform& platform) : platform_(platform) {}

void EditorModel::loadRun(const Run& run) {
    const DataSet& data = run.current();
    state_.PlotTitle = "Editing Data Set ";
    state_.PlotSubtitle = " ";
    state_.XAxisLabel = data.XIsRadius ? "Radius (cm)" : "XI = R^2/2 (cm^2)";
    state_.YAxisLabel = "Concentration";
    state_.Scans.clear();
    state_.Scans.reserve(run.size());
    for (const RunScan& scan : run) {
        EditScan& held = state_.Scans.emplace_back();
        held.data = &scan.data;
        const auto count = static_cast<std::size_t>(std::clamp(scan.data.PointCount, 0, MaxPoints));
        held.third.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            held.third[i] = scan.data.WorkPoints(static_cast<int>(i) + 1).third;
        }
        held.columns = scan.columns;
        held.name = os::utf8Of(os::pathFromUtf8(scan.data.DataFileName).filename());
    }
    state_.CurrentScan = run.currentIndex();
    FindDataRange();
    WorkDir = data.WorkDir;
}

void EditorModel::returnMarks(Run& run) const {
    for (std::size_t k = 0; k < state_.Scans.size(); ++k) {
        const EditScan& held = state_.Scans[k];
        RunScan& scan = run.scan(k);
        for (std::size_t i = 0; i < held.third.size(); ++i) {
            scan.data.WorkPoints(static_cast<int>(i) + 1).third = held.third[i];
        }
        setRetainedRange(scan.data, WhenNoneGood::Unchanged);
        scan.columns = held.columns;
    }
}

void EditorModel::FindDataRange() {
    bool first = true;
    state_.ViewXMin = state_.ViewXMax = state_.ViewYMin = state_.ViewYMax = 0.0f;
    for (const EditScan& scan : state_.Scans) {
        for (std::size_t i = 0; i < scan.size(); ++i) {
            const float x = scan.x(i);
            const float y = scan.y(i);
            if (first) {
                state_.ViewXMin = state_.ViewXMax = x;
                state_.ViewYMin = state_.ViewYMax = y;
                first = false;
            }
            state_.ViewXMax = std::max(state_.ViewXMax, x);
            state_.ViewXMin = std::min(state_.ViewXMin, x);
            state_.ViewYMax = std::max(state_.ViewYMax, y);
            state_.ViewYMin = std::min(state_.ViewYMin, y);
        }
    }
}

void EditorModel::Form_Load(bool showXYDefault) {
    state_.Tool = EditorTool::Zoom;
    state_.EditAccepted = false;
    state_.UnloadRequested = false;
    state_.ShowXY = showXYDefault;
    state_.ShowEmCaption = state_.ShowXY ? "&Hide (X,Y)" : "&Show (X,Y)";
    state_.Layout = editorLayout(platform_.screenSize());
}

void EditorModel::buildPrinterList(const std::string& defaultPrinterName) {
    state_.Printers = PrinterMenu(platform_.printerNames(), defaultPrinterName);
}

void EditorModel::Form_Resize(int clientWidth, int clientHeight, int outerWidth, int outerHeight) {
    PixWidth = static_cast<float>(clientWidth);
    PixHeight = static_cast<float>(clientHeight);
    OuterWidth = outerWidth;
    OuterHeight = outerHeight;
    Form_Paint();
}

void EditorModel::Form_Paint() {
    if (Minimized) {
        return;
    }
    // Every text size follows the window's smaller side.
    const float m = static_cast<float>(std::min(OuterWidth, OuterHeight)) * TwipsPerPixel;
    state_.TitleSize = roundToInt16(m * TitleSizeFactor).value();
    state_.TickSize = roundToInt16(m * 0.0012f).value();
    state_.VerticalFontHeight = static_cast<std::int32_t>(std::nearbyint(m * RotatedFontFactor));

    state_.XAxis = setUpAxis(state_.ViewXMin, state_.ViewXMax, AxisName::X, platform_);
    state_.YAxis = setUpAxis(state_.ViewYMin, state_.ViewYMax, AxisName::Y, platform_);
    state_.XScale = 100.0f / (state_.XAxis.High - state_.XAxis.Low);
    state_.YScale = 100.0f / (state_.YAxis.High - state_.YAxis.Low);
    if (redrawHandler_) {
        redrawHandler_();
    }
}

PlotMapping EditorModel::mapping() const {
    return {state_.XAxis.Low, state_.YAxis.Low, state_.XScale, state_.YScale, PixWidth, PixHeight};
}

bool EditorModel::Within(float PX, float PY, float X, float Y) const {
    return std::sqrt((PY - Y) * (PY - Y) + (PX - X) * (PX - X)) <= MarkerSize * MarkerFactor;
}

void EditorModel::Form_MouseDown(MouseButton Button, ModifierKeys Shift, float X, float Y) {
    if (Shift.any()) {
        return;
    }
    switch (state_.Tool) {
    case EditorTool::Zoom:
        if (Button == MouseButton::Left) {
            // The box is drawn from the first move on.
            state_.Zooming = true;
            state_.ZoomFresh = true;
            state_.ZoomX0 = state_.ZoomX1 = X;
            state_.ZoomY0 = state_.ZoomY1 = Y;
        }
        break;
    case EditorTool::RemovePoint:
    case EditorTool::RestorePoint:
        if (Button == MouseButton::Left) {
            markNearest(X, Y, state_.Tool == EditorTool::RestorePoint);
        }
        break;
    case EditorTool::RemoveSweep:
    case EditorTool::RestoreSweep:
        if (Button == MouseButton::Left || Button == MouseButton::Right) {
            sweep(Button, X, state_.Tool == EditorTool::RestoreSweep);
        }
        break;
    }
}

void EditorModel::markNearest(float X, float Y, bool restore) {
    const PlotMapping map = mapping();
    // Each scan's candidates are weighed as in a scan of its own; the current scan is looked at
    // first, then the others in order, and a later one wins only by being strictly nearer.
    std::vector<std::size_t> order{state_.CurrentScan};
    for (std::size_t k = 0; k < state_.Scans.size(); ++k) {
        if (k != state_.CurrentScan) {
            order.push_back(k);
        }
    }
    std::size_t chosenScan = 0;
    CandidateList::Candidate chosen{0, 0.0f};
    for (const std::size_t k : order) {
        const EditScan& scan = state_.Scans[k];
        candidates_.clear();
        for (std::size_t i = 0; i < scan.size(); ++i) {
            const float px = map.plotX(scan.x(i));
            const float py = map.plotY(scan.y(i));
            if (Within(px, py, X, Y)) {
                candidates_.add(static_cast<int>(i) + 1, (px - X) * (px - X) + (py - Y) * (py - Y));
            }
        }
        const CandidateList::Candidate nearest = candidates_.nearest();
        if (nearest.index != 0 &&
            (chosen.index == 0 || nearest.distanceSquared < chosen.distanceSquared)) {
            chosen = nearest;
            chosenScan = k;
        }
    }
    if (chosen.index == 0) {
        return;
    }
    mark(chosenScan, chosen.index, restore);
    history_.end(changeText(restore, "at",
                            state_.Scans[chosenScan].x(static_cast<std::size_t>(chosen.index - 1)),
                            history_.changed()));
    Form_Paint();
}

void EditorModel::mark(std::size_t scan, int i, bool restore) {
    float third = state_.Scans[scan].third.at(static_cast<std::size_t>(i - 1));
    if (restore) {
        markGood(third);
    } else {
        markDeleted(third);
    }
    history_.set(state_.Scans, scan, i, third);
}

void EditorModel::sweep(MouseButton Button, float X, bool restore) {
    const float c = mapping().dataX(X);
    const bool left = Button == MouseButton::Left;
    if (!restore) {
        // Removing would leave nothing of a scan when the cursor is past its far end; an empty
        // copy has nothing to remove either.
        const bool everything = std::ranges::any_of(state_.Scans, [&](const EditScan& scan) {
            return scan.size() == 0 || (left ? c >= scan.x(scan.size() - 1) : c <= scan.x(0));
        });
        if (everything) {
            platform_.messageBox("Error Editing Data! This would remove all data.",
                                 "Invalid Operation", MessageIcon::None, MessageButtons::Ok);
            return;
        }
    }
    for (std::size_t k = 0; k < state_.Scans.size(); ++k) {
        const EditScan& scan = state_.Scans[k];
        const int count = static_cast<int>(scan.size());
        if (left) {
            for (int i = 1; i <= count && scan.x(static_cast<std::size_t>(i - 1)) <= c; ++i) {
                mark(k, i, restore);
            }
        } else {
            for (int i = count; i >= 1 && scan.x(static_cast<std::size_t>(i - 1)) >= c; --i) {
                mark(k, i, restore);
            }
        }
    }
    history_.end(changeText(restore, left ? "left of" : "right of", c, history_.changed()));
    Form_Paint();
}

void EditorModel::SuggestEdits_Click() {
    std::size_t columns = 0;
    std::size_t spikes = 0;
    std::size_t scansFound = 0;
    std::vector<std::string> emptyScans;
    // One scan's data set at a time, with the editor's marks, is what the suggestion reads and
    // marks; the run itself is changed only on leaving.
    auto edited = std::make_unique<RunScan>();
    for (std::size_t k = 0; k < state_.Scans.size(); ++k) {
        EditScan& scan = state_.Scans[k];
        edited->data = *scan.data;
        edited->columns.clear();
        for (std::size_t i = 0; i < scan.third.size(); ++i) {
            edited->data.WorkPoints(static_cast<int>(i) + 1).third = scan.third[i];
        }
        const Outcome<Suggestion> suggestion = suggestEdits(edited->data);
        if (suggestion) {
            applySuggestion(*edited, *suggestion);
            for (std::size_t i = 0; i < scan.third.size(); ++i) {
                history_.set(state_.Scans, k, static_cast<int>(i) + 1,
                             edited->data.WorkPoints(static_cast<int>(i) + 1).third);
            }
            for (const SolutionColumn& column : suggestion->columns) {
                spikes += column.spikes.size();
            }
        }
        std::vector<ColumnRange>& found = edited->columns;
        if (found.empty()) {
            emptyScans.push_back(scan.name);
        } else {
            columns += found.size();
            ++scansFound;
        }
        history_.setColumns(state_.Scans, k, std::move(found));
    }
    state_.XYLabel = suggestionText(columns, spikes, scansFound, emptyScans);
    history_.end(state_.XYLabel);
    Form_Paint();
}

void EditorModel::Form_MouseMove(float X, float Y) {
    if (state_.ShowXY) {
        static const NumberPattern xPattern("0.0000E+00");
        static const NumberPattern yPattern("0.000E+00");
        const PlotMapping map = mapping();
        state_.XYLabel =
            " X= " + xPattern.format(map.dataX(X)) + ", Y= " + yPattern.format(map.dataY(Y));
    }
    if (state_.Tool == EditorTool::Zoom && state_.Zooming) {
        state_.ZoomFresh = false;
        state_.ZoomX1 = X;
        state_.ZoomY1 = Y;
    }
}

void EditorModel::Form_MouseUp(MouseButton Button, ModifierKeys Shift, float /*X*/, float /*Y*/) {
    if (Button != MouseButton::Left || Shift.any() || state_.Tool != EditorTool::Zoom ||
        !state_.Zooming) {
        return;
    }
    state_.ZoomFresh = true;
    state_.Zooming = false;
    // A click without a drag makes no box.
    if (state_.ZoomX0 != state_.ZoomX1 && state_.ZoomY0 != state_.ZoomY1) {
        ZoomIn();
    }
}

void EditorModel::ZoomIn() {
    const PlotMapping map = mapping();
    float xa = map.dataX(state_.ZoomX0);
    float ya = map.dataY(state_.ZoomY0);
    float xb = map.dataX(state_.ZoomX1);
    float yb = map.dataY(state_.ZoomY1);
    if (xa == xb || ya == yb) {
        return;
    }
    if (xa > xb) {
        std::swap(xa, xb);
    }
    if (ya > yb) {
        std::swap(ya, yb);
    }
    // A box reaching outside the frame is pulled back inside it by 1% of the frame.
    const float xRange = state_.XAxis.High - state_.XAxis.Low;
    const float yRange = state_.YAxis.High - state_.YAxis.Low;
    if (xa < state_.XAxis.Low) {
        xa = state_.XAxis.Low + 0.01f * xRange;
    }
    if (xb > state_.XAxis.High) {
        xb = state_.XAxis.High - 0.01f * xRange;
    }
    if (ya < state_.YAxis.Low) {
        ya = state_.YAxis.Low + 0.01f * yRange;
    }
    if (yb > state_.YAxis.High) {
        yb = state_.YAxis.High - 0.01f * yRange;
    }

    int inside = 0;
    for (const EditScan& scan : state_.Scans) {
        for (std::size_t i = 0; i < scan.size() && inside < 2; ++i) {
            const float x = scan.x(i);
            const float y = scan.y(i);
            if (xa <= x && x <= xb && ya <= y && y <= yb) {
                ++inside;
            }
        }
    }
    if (inside < 2) {
        platform_.messageBox(inside == 0 ? "There Were No Data Within the Zoom-In Box!"
                                         : "You CANNOT Zoom Around a Single Point!",
                             "Error in Zooming", MessageIcon::Exclamation, MessageButtons::Ok);
    } else {
        state_.ViewXMin = xa;
        state_.ViewXMax = xb;
        state_.ViewYMin = ya;
        state_.ViewYMax = yb;
        state_.ZoomoutEnabled = true;
    }
    state_.ZoomX0 = state_.ZoomY0 = state_.ZoomX1 = state_.ZoomY1 = 0.0f;
    Form_Paint();
}

void EditorModel::Zoomout_Click() {
    FindDataRange();
    state_.ZoomoutEnabled = false;
    Form_Paint();
}

void EditorModel::Undo_Click() {
    const std::string step = history_.undo(state_.Scans);
    if (!step.empty()) {
        state_.XYLabel = "Undone: " + step;
        Form_Paint();
    }
}

void EditorModel::Redo_Click() {
    const std::string step = history_.redo(state_.Scans);
    if (!step.empty()) {
        state_.XYLabel = "Redone: " + step;
        Form_Paint();
    }
}

void EditorModel::ShowEm_Click() {
    state_.ShowXY = !state_.ShowXY;
    state_.ShowEmCaption = state_.ShowXY ? "&Hide (X,Y)" : "&Show (X,Y)";
}

void EditorModel::Toolbar_ButtonClick(int index) {
    if (index >= 1 && index <= 5) {
        state_.Tool = static_cast<EditorTool>(index);
    } else if (index == 7 || index == 8) {
        state_.EditAccepted = index == 7;
        state_.UnloadRequested = true;
    } else if (index == 9) {
        SuggestEdits_Click();
    }
}

void EditorModel::PrnPlot_Click(const std::function<Picture()>& SnapClientArea) {
    platform_.showBusyPointer(true);
    const Done printed = platform_.printPicture(state_.Printers.currentPrinter(), SnapClientArea());
    platform_.showBusyPointer(false);
    if (!printed) {
        platform_.messageBox("The plot could not be printed on " +
                                 state_.Printers.currentPrinter() + ": " + printed.reason(),
                             "Print", MessageIcon::Exclamation, MessageButtons::Ok);
    }
}

void EditorModel::ClipPrn_Click(const Picture& plot) {
    platform_.putPictureOnClipboard(plot);
}

void EditorModel::SaveBMP_Click(const Picture& plot) {
    FileDialogRequest request;
    request.filter = "Bitmap | *.bmp";
    request.flags = OverwritePrompt;
    request.defaultExtension = "bmp";
    if (const auto path = askSaveFile(platform_, request)) {
        // The bitmap command shows no message, not even when the file cannot be written: a
        // failed save ends it as a cancelled dialog does.
        (void)platform_.saveBitmapFile(*path, plot);
    }
    // The dialog may have moved the current directory, where the temp files are written.
    changeToWorkDir(WorkDir);
}

void EditorModel::SavePlot_Click(PlotFile format,
                                 const std::function<Done(const std::string& path)>& write) {
    static constexpr std::array<const char*, 3> filters = {"PDF | *.pdf", "SVG | *.svg",
                                                           "PNG | *.png"};
    FileDialogRequest request;
    request.filter = filters.at(static_cast<std::size_t>(format));
    request.flags = OverwritePrompt;
    request.defaultExtension = plotFileExtension(format);
    if (const auto path = askSaveFile(platform_, request)) {
        if (const Done written = write(*path); !written) {
            platform_.messageBox("The plot could not be saved as " + *path + ": " +
                                     written.reason(),
                                 "Copy", MessageIcon::Exclamation, MessageButtons::Ok);
        }
    }
    changeToWorkDir(WorkDir);
}

} // namespace skerry
