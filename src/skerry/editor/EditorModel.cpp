#include "skerry/editor/EditorModel.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "skerry/ground/LeadingNumber.h"
#include "skerry/ground/NumberPattern.h"

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

int CandidateList::nearest() const {
    if (count_ == 0) {
        return 0;
    }
    const auto* const end = entries_.begin() + count_;
    // min_element keeps the first of equal entries, so the lowest index wins a tie.
    return std::min_element(entries_.begin(), end,
                            [](const Candidate& a, const Candidate& b) {
                                return a.distanceSquared < b.distanceSquared;
                            })
        ->index;
}

EditorModel::EditorModel(Platform& platform) : platform_(platform) {}

void EditorModel::loadPoints(const DataSet& data) {
    state_.PlotTitle = "Editing Data Set ";
    state_.PlotSubtitle = " ";
    state_.XAxisLabel = data.XIsRadius ? "Radius (cm)" : "XI = R^2/2 (cm^2)";
    state_.YAxisLabel = "Concentration";
    for (int i = 1; i <= data.PointCount; ++i) {
        const Point& p = data.WorkPoints(i);
        state_.EditX(i) = p.x;
        state_.EditY(i) = p.reading;
        state_.EditThird(i) = p.third;
    }
    state_.EditCount = static_cast<std::int16_t>(data.PointCount);
    FindDataRange(state_.EditX, state_.EditY, state_.EditCount);
    WorkDir = data.WorkDir;
}

void EditorModel::returnMarks(DataSet& data) const {
    for (int i = 1; i <= data.PointCount; ++i) {
        data.WorkPoints(i).third = state_.EditThird(i);
    }
    setRetainedRange(data, WhenNoneGood::Unchanged);
}

void EditorModel::FindDataRange(const EditArray& xs, const EditArray& ys, std::int16_t n) {
    state_.ViewXMin = state_.ViewXMax = xs(1);
    state_.ViewYMin = state_.ViewYMax = ys(1);
    for (int i = 1; i <= n; ++i) {
        state_.ViewXMax = std::max(state_.ViewXMax, xs(i));
        state_.ViewXMin = std::min(state_.ViewXMin, xs(i));
        state_.ViewYMax = std::max(state_.ViewYMax, ys(i));
        state_.ViewYMin = std::min(state_.ViewYMin, ys(i));
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
    candidates_.clear();
    for (int i = 1; i <= state_.EditCount; ++i) {
        const float px = map.plotX(state_.EditX(i));
        const float py = map.plotY(state_.EditY(i));
        if (Within(px, py, X, Y)) {
            candidates_.add(i, (px - X) * (px - X) + (py - Y) * (py - Y));
        }
    }
    const int chosen = candidates_.nearest();
    if (chosen == 0) {
        return;
    }
    mark(chosen, restore);
    history_.end(changeText(restore, "at", state_.EditX(chosen), history_.changed()));
    Form_Paint();
}

void EditorModel::mark(int i, bool restore) {
    float third = state_.EditThird(i);
    if (restore) {
        markGood(third);
    } else {
        markDeleted(third);
    }
    history_.set(state_.EditThird, i, third);
}

void EditorModel::sweep(MouseButton Button, float X, bool restore) {
    const float c = mapping().dataX(X);
    if (!restore) {
        // Removing would leave nothing when the cursor is past the far end; an empty copy has
        // nothing to remove either.
        const bool everything = state_.EditCount < 1 ||
                                (Button == MouseButton::Left ? c >= state_.EditX(state_.EditCount)
                                                             : c <= state_.EditX(1));
        if (everything) {
            platform_.messageBox("Error Editing Data! This would remove all data.",
                                 "Invalid Operation", MessageIcon::None, MessageButtons::Ok);
            return;
        }
    }
    if (Button == MouseButton::Left) {
        for (int i = 1; i <= state_.EditCount && state_.EditX(i) <= c; ++i) {
            mark(i, restore);
        }
    } else {
        for (int i = state_.EditCount; i >= 1 && state_.EditX(i) >= c; --i) {
            mark(i, restore);
        }
    }
    history_.end(changeText(restore, Button == MouseButton::Left ? "left of" : "right of", c,
                            history_.changed()));
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
    for (int i = 1; i <= state_.EditCount && inside < 2; ++i) {
        if (xa <= state_.EditX(i) && state_.EditX(i) <= xb && ya <= state_.EditY(i) &&
            state_.EditY(i) <= yb) {
            ++inside;
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
    FindDataRange(state_.EditX, state_.EditY, state_.EditCount);
    state_.ZoomoutEnabled = false;
    Form_Paint();
}

void EditorModel::Undo_Click() {
    const std::string step = history_.undo(state_.EditThird);
    if (!step.empty()) {
        state_.XYLabel = "Undone: " + step;
        Form_Paint();
    }
}

void EditorModel::Redo_Click() {
    const std::string step = history_.redo(state_.EditThird);
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
