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
    PlotTitle = "Editing Data Set ";
    PlotSubtitle = " ";
    XAxisLabel = data.XIsRadius ? "Radius (cm)" : "XI = R^2/2 (cm^2)";
    YAxisLabel = "Concentration";
    for (int i = 1; i <= data.PointCount; ++i) {
        const Point& p = data.WorkPoints(i);
        EditX(i) = p.x;
        EditY(i) = p.reading;
        EditThird(i) = p.third;
    }
    EditCount = static_cast<std::int16_t>(data.PointCount);
    FindDataRange(EditX, EditY, EditCount);
    WorkDir = data.WorkDir;
}

void EditorModel::returnMarks(DataSet& data) const {
    for (int i = 1; i <= data.PointCount; ++i) {
        data.WorkPoints(i).third = EditThird(i);
    }
    setRetainedRange(data, WhenNoneGood::Unchanged);
}

void EditorModel::FindDataRange(const EditArray& xs, const EditArray& ys, std::int16_t n) {
    ViewXMin = ViewXMax = xs(1);
    ViewYMin = ViewYMax = ys(1);
    for (int i = 1; i <= n; ++i) {
        ViewXMax = std::max(ViewXMax, xs(i));
        ViewXMin = std::min(ViewXMin, xs(i));
        ViewYMax = std::max(ViewYMax, ys(i));
        ViewYMin = std::min(ViewYMin, ys(i));
    }
}

void EditorModel::Form_Load(bool showXYDefault) {
    Tool = 1;
    EditAccepted = false;
    UnloadRequested = false;
    ShowXY = showXYDefault;
    ShowEmCaption = ShowXY ? "&Hide (X,Y)" : "&Show (X,Y)";
    Layout = editorLayout(platform_.screenSize());
}

void EditorModel::buildPrinterList(const std::string& defaultPrinterName) {
    Printers = PrinterMenu(platform_.printerNames(), defaultPrinterName);
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
    TitleSize = roundToInt16(m * TitleSizeFactor).value();
    TickSize = roundToInt16(m * 0.0012f).value();
    VerticalFontHeight = static_cast<std::int32_t>(std::nearbyint(m * RotatedFontFactor));

    XAxis = setUpAxis(ViewXMin, ViewXMax, AxisName::X, platform_);
    YAxis = setUpAxis(ViewYMin, ViewYMax, AxisName::Y, platform_);
    XScale = 100.0f / (XAxis.High - XAxis.Low);
    YScale = 100.0f / (YAxis.High - YAxis.Low);
    if (redrawHandler_) {
        redrawHandler_();
    }
}

PlotMapping EditorModel::mapping() const {
    return {XAxis.Low, YAxis.Low, XScale, YScale, PixWidth, PixHeight};
}

bool EditorModel::Within(float PX, float PY, float X, float Y) const {
    return std::sqrt((PY - Y) * (PY - Y) + (PX - X) * (PX - X)) <= MarkerSize * MarkerFactor;
}

void EditorModel::Form_MouseDown(int Button, int Shift, float X, float Y) {
    if (Shift != 0) {
        return;
    }
    switch (Tool) {
    case 1:
        if (Button == LeftButton) {
            // The box is drawn from the first move on.
            Zooming = true;
            ZoomFresh = true;
            ZoomX0 = ZoomX1 = X;
            ZoomY0 = ZoomY1 = Y;
        }
        break;
    case 2:
    case 4:
        if (Button == LeftButton) {
            markNearest(X, Y, Tool == 4);
        }
        break;
    case 3:
    case 5:
        if (Button == LeftButton || Button == RightButton) {
            sweep(Button, X, Tool == 5);
        }
        break;
    default:
        break;
    }
}

void EditorModel::markNearest(float X, float Y, bool restore) {
    const PlotMapping map = mapping();
    candidates_.clear();
    for (int i = 1; i <= EditCount; ++i) {
        const float px = map.plotX(EditX(i));
        const float py = map.plotY(EditY(i));
        if (Within(px, py, X, Y)) {
            candidates_.add(i, (px - X) * (px - X) + (py - Y) * (py - Y));
        }
    }
    const int chosen = candidates_.nearest();
    if (chosen == 0) {
        return;
    }
    mark(chosen, restore);
    history_.end(changeText(restore, "at", EditX(chosen), history_.changed()));
    Form_Paint();
}

void EditorModel::mark(int i, bool restore) {
    float third = EditThird(i);
    if (restore) {
        markGood(third);
    } else {
        markDeleted(third);
    }
    history_.set(EditThird, i, third);
}

void EditorModel::sweep(int Button, float X, bool restore) {
    const float c = mapping().dataX(X);
    if (!restore) {
        // Removing would leave nothing when the cursor is past the far end; an empty copy has
        // nothing to remove either.
        const bool everything =
            EditCount < 1 || (Button == LeftButton ? c >= EditX(EditCount) : c <= EditX(1));
        if (everything) {
            platform_.messageBox("Error Editing Data! This would remove all data.",
                                 "Invalid Operation", MessageIcon::None, MessageButtons::Ok);
            return;
        }
    }
    if (Button == LeftButton) {
        for (int i = 1; i <= EditCount && EditX(i) <= c; ++i) {
            mark(i, restore);
        }
    } else {
        for (int i = EditCount; i >= 1 && EditX(i) >= c; --i) {
            mark(i, restore);
        }
    }
    history_.end(
        changeText(restore, Button == LeftButton ? "left of" : "right of", c, history_.changed()));
    Form_Paint();
}

void EditorModel::Form_MouseMove(int /*Button*/, int /*Shift*/, float X, float Y) {
    if (ShowXY) {
        static const NumberPattern xPattern("0.0000E+00");
        static const NumberPattern yPattern("0.000E+00");
        const PlotMapping map = mapping();
        XYLabel = " X= " + xPattern.format(map.dataX(X)) + ", Y= " + yPattern.format(map.dataY(Y));
    }
    if (Tool == 1 && Zooming) {
        ZoomFresh = false;
        ZoomX1 = X;
        ZoomY1 = Y;
    }
}

void EditorModel::Form_MouseUp(int Button, int Shift, float /*X*/, float /*Y*/) {
    if (Button != LeftButton || Shift != 0 || Tool != 1 || !Zooming) {
        return;
    }
    ZoomFresh = true;
    Zooming = false;
    // A click without a drag makes no box.
    if (ZoomX0 != ZoomX1 && ZoomY0 != ZoomY1) {
        ZoomIn();
    }
}

void EditorModel::ZoomIn() {
    const PlotMapping map = mapping();
    float xa = map.dataX(ZoomX0);
    float ya = map.dataY(ZoomY0);
    float xb = map.dataX(ZoomX1);
    float yb = map.dataY(ZoomY1);
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
    const float xRange = XAxis.High - XAxis.Low;
    const float yRange = YAxis.High - YAxis.Low;
    if (xa < XAxis.Low) {
        xa = XAxis.Low + 0.01f * xRange;
    }
    if (xb > XAxis.High) {
        xb = XAxis.High - 0.01f * xRange;
    }
    if (ya < YAxis.Low) {
        ya = YAxis.Low + 0.01f * yRange;
    }
    if (yb > YAxis.High) {
        yb = YAxis.High - 0.01f * yRange;
    }

    int inside = 0;
    for (int i = 1; i <= EditCount && inside < 2; ++i) {
        if (xa <= EditX(i) && EditX(i) <= xb && ya <= EditY(i) && EditY(i) <= yb) {
            ++inside;
        }
    }
    if (inside < 2) {
        platform_.messageBox(inside == 0 ? "There Were No Data Within the Zoom-In Box!"
                                         : "You CANNOT Zoom Around a Single Point!",
                             "Error in Zooming", MessageIcon::Exclamation, MessageButtons::Ok);
    } else {
        ViewXMin = xa;
        ViewXMax = xb;
        ViewYMin = ya;
        ViewYMax = yb;
        ZoomoutEnabled = true;
    }
    ZoomX0 = ZoomY0 = ZoomX1 = ZoomY1 = 0.0f;
    Form_Paint();
}

void EditorModel::Zoomout_Click() {
    FindDataRange(EditX, EditY, EditCount);
    ZoomoutEnabled = false;
    Form_Paint();
}

void EditorModel::Undo_Click() {
    const std::string step = history_.undo(EditThird);
    if (!step.empty()) {
        XYLabel = "Undone: " + step;
        Form_Paint();
    }
}

void EditorModel::Redo_Click() {
    const std::string step = history_.redo(EditThird);
    if (!step.empty()) {
        XYLabel = "Redone: " + step;
        Form_Paint();
    }
}

void EditorModel::ShowEm_Click() {
    ShowXY = !ShowXY;
    ShowEmCaption = ShowXY ? "&Hide (X,Y)" : "&Show (X,Y)";
}

void EditorModel::Toolbar_ButtonClick(int index) {
    if (index >= 1 && index <= 5) {
        Tool = static_cast<std::int16_t>(index);
    } else if (index == 7 || index == 8) {
        EditAccepted = index == 7;
        UnloadRequested = true;
    }
}

void EditorModel::PrnPlot_Click(const std::function<Picture()>& SnapClientArea) {
    platform_.showBusyPointer(true);
    const Done printed = platform_.printPicture(Printers.currentPrinter(), SnapClientArea());
    platform_.showBusyPointer(false);
    if (!printed) {
        platform_.messageBox("The plot could not be printed on " + Printers.currentPrinter() +
                                 ": " + printed.reason(),
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
