#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "skerry/editor/AxisScaling.h"
#include "skerry/editor/EditHistory.h"
#include "skerry/editor/EditScan.h"
#include "skerry/editor/PlotFile.h"
#include "skerry/editor/PlotMapping.h"
#include "skerry/export/PrinterMenu.h"
#include "skerry/ground/Platform.h"
#include "skerry/model/DataSet.h"
#include "skerry/model/Run.h"

namespace skerry {

// At most this many points near a click are weighed by the single-point tools.
inline constexpr int MaxCandidates = 50;

// The mouse tools, numbered as their toolbar buttons 1 to 5.
enum class EditorTool : std::int16_t {
    Zoom = 1,
    RemovePoint,
    RemoveSweep,
    RestorePoint,
    RestoreSweep
};

// The toolbar's buttons, numbered from 1: the five tools, a separator, accept and leave, discard
// and leave, and "Suggest Edits".
inline constexpr int EditorButtons = 9;

// The button of a mouse press or release; the editor has no use for the middle one or others.
enum class MouseButton { Left, Right, Middle, Other };

// The modifier keys held during a mouse event: a tool acts only on a click without any of them.
struct ModifierKeys {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool any() const { return shift || ctrl || alt; }
};

// Size and place of the editor window and the look of its read-out strip, chosen from the
// screen: a 52% x 65% window with 12-point labels and the tall toolbar above 800 pixels, the
// same window with 8-point labels up to 640 pixels, and a 64% x 80% window with the design
// fonts on smaller screens.
struct EditorLayout {
    int width = 0; // outer window size and position, pixels
    int height = 0;
    int left = 0;
    int top = 0;
    double labelPoints = 9.75; // font size of the read-out strip
    bool largeToolbar = false; // Toolbar1 (540 twips high) rather than Toolbar2 (420)
};

EditorLayout editorLayout(ScreenSize screen);

// The points near a click that the single-point tools choose from: up to MaxCandidates
// entries; further ones are not taken in.
class CandidateList {
public:
    void clear() { count_ = 0; }
    struct Candidate {
        std::int16_t index;
        float distanceSquared;
    };

    void add(int index, float distanceSquared);
    // The entry nearest the click, the first one found on a tie; index 0 when empty.
    Candidate nearest() const;

private:
    std::array<Candidate, MaxCandidates> entries_{};
    int count_ = 0;
};

// What the editor shows and the window reads: every scan with the editor's marks, the plot texts,
// the view window, the axis frames of the last redraw, the tool, the read-out, the zoom drag, the
// layout and the printers. Only the editor's handlers change it.
struct EditorView {
    // One entry per scan of the run, and the one drawn over the others.
    std::vector<EditScan> Scans;
    std::size_t CurrentScan = 0;

    // Point i (from 1) of the current scan; an index outside it throws std::out_of_range.
    float EditX(int i) const { return current().x(static_cast<std::size_t>(i - 1)); }
    float EditY(int i) const { return current().y(static_cast<std::size_t>(i - 1)); }
    float EditThird(int i) const { return current().third.at(static_cast<std::size_t>(i - 1)); }
    int EditCount() const { return static_cast<int>(current().size()); }
    const EditScan& current() const { return Scans.at(CurrentScan); }

    // The plot texts.
    std::string PlotTitle;
    std::string PlotSubtitle;
    std::string XAxisLabel;
    std::string YAxisLabel;

    // The data rectangle shown, before rounding into the axis frames.
    float ViewXMin = 0.0f;
    float ViewXMax = 0.0f;
    float ViewYMin = 0.0f;
    float ViewYMax = 0.0f;

    bool EditAccepted = false;
    bool UnloadRequested = false; // a toolbar button asked the window to close

    EditorTool Tool = EditorTool::Zoom;
    bool ShowXY = true;
    std::string ShowEmCaption = "&Hide (X,Y)";
    std::string XYLabel; // the cursor read-out
    bool ZoomoutEnabled = false;

    // Results of the last redraw.
    AxisFrame XAxis;
    AxisFrame YAxis;
    float XScale = 1.0f;
    float YScale = 1.0f;
    std::int16_t TitleSize = 0;          // points
    std::int16_t TickSize = 0;           // points
    std::int32_t VerticalFontHeight = 0; // pixels, cell height of the y label's font

    // The zoom drag, in plot units.
    bool Zooming = false;
    bool ZoomFresh = true;
    float ZoomX0 = 0.0f;
    float ZoomY0 = 0.0f;
    float ZoomX1 = 0.0f;
    float ZoomY1 = 0.0f;

    EditorLayout Layout;
    PrinterMenu Printers;
};

// The graphical editor's state and logic, without any window: its marks of the points, the view
// window, the axis frames, the tools, the zoom drag and the read-out. The window turns its
// events into calls of the handlers below (mouse positions in plot units) and draws the plot
// whenever the logic asks for a redraw; every message goes through the platform.
class EditorModel {
public:
    explicit EditorModel(Platform& platform);

    // Entering from the main window: the plot texts, a copy of every scan's marks and
    // columns, and the view window around all of them. The run must outlive the editor, which
    // reads every point's x and reading from it. A run of one scan is the editor of one scan.
    void loadRun(const Run& run);
    // Leaving with the edits accepted: every scan's marks go back into its working points, the
    // first and last good point become its retained range (kept as it was when no point is
    // good), and its columns are those the editor holds: the last suggestion's, or as they came.
    void returnMarks(Run& run) const;

    // The window's load and unload: tool, flags, read-out and layout from the screen.
    void Form_Load(bool showXYDefault);
    // The last step of loading: the "&Printer" menu lists the installed printers, with the
    // default printer (else the first) as the current printer.
    void buildPrinterList(const std::string& defaultPrinterName);
    void Form_Unload(bool& showXYDefault) const { showXYDefault = state_.ShowXY; }

    // The window reports its size: the client area (where the plot is drawn) and the whole
    // window with its frame (from which the font sizes follow), in pixels.
    void Form_Resize(int clientWidth, int clientHeight, int outerWidth, int outerHeight);
    void setMinimized(bool minimized) { Minimized = minimized; }

    // Prepares a redraw (font sizes, axis frames with their warnings, scale factors) and then
    // has the window draw the plot. Nothing happens while the window is minimized.
    void Form_Paint();
    // Called by Form_Paint once the state is ready to be drawn.
    void setRedrawHandler(std::function<void()> handler) { redrawHandler_ = std::move(handler); }

    // Mouse events, X and Y in plot units. A move updates the read-out and the zoom box whatever
    // buttons and keys are held. With a run, a sweep acts on every scan at the cursor's x and is
    // refused when it would remove every point of any scan; a point tool takes the nearest point
    // of any scan, the current scan's on a tie, then the lowest scan's.
    void Form_MouseDown(MouseButton Button, ModifierKeys Shift, float X, float Y);
    void Form_MouseMove(float X, float Y);
    void Form_MouseUp(MouseButton Button, ModifierKeys Shift, float X, float Y);

    // Ctrl+Z and Ctrl+Shift+Z or Ctrl+Y: the last change of points undone or redone, one point,
    // one whole sweep over every scan or one suggestion with its columns at a time, back to the
    // points the editor opened with and forward again. The read-out strip says what was undone
    // or redone. Zooming is no change of points.
    void Undo_Click();
    void Redo_Click();

    void ShowEm_Click();
    void Zoomout_Click();
    // Toolbar buttons 1..9: five tools, a separator, accept and leave, discard and leave, and
    // "Suggest Edits".
    void Toolbar_ButtonClick(int index);
    // "Suggest Edits": the suggestion of solution columns on every scan as the editor holds it;
    // the points it would not keep are deleted and its columns drawn, all as one step. The
    // read-out strip says what was found, or in which scans nothing was.
    void SuggestEdits_Click();

    // "&Printer": entry k (1..n) becomes the current printer until the editor closes.
    void PrnArray_Click(int k) { state_.Printers.PrnArray_Click(k); }
    // "Print": with the busy pointer shown, prints the client area as it is on the screen, taken
    // by `SnapClientArea`, on the current printer. A printer's failure is reported in a message.
    void PrnPlot_Click(const std::function<Picture()>& SnapClientArea);
    // "To Clipboard": the plot as last drawn goes on the clipboard as an image.
    void ClipPrn_Click(const Picture& plot);
    // "To File (Bitmap)": the plot as last drawn goes into a bitmap file named in a save dialog.
    // Cancelling, and a bitmap that cannot be written, write nothing and say nothing; the current
    // directory is the working folder again afterwards.
    void SaveBMP_Click(const Picture& plot);

    // "To File (PDF)", "To File (SVG)", "To File (PNG)": the plot as the editor shows it goes
    // into a file named in a save dialog, as "To File (Bitmap)" does; `write` writes it or says
    // why it could not. A failure is reported in a message.
    void SavePlot_Click(PlotFile format, const std::function<Done(const std::string& path)>& write);

    // True when a click at (X, Y) hits the point drawn at (PX, PY), all in plot units.
    bool Within(float PX, float PY, float X, float Y) const;

    // The mapping of the last redraw, for the window's client area.
    PlotMapping mapping() const;

    // Everything the window shows, read-only; the handlers above change it.
    const EditorView& view() const { return state_; }

    // Fixed proportions of the drawing: a point's ring has the radius MarkerSize * MarkerFactor
    // plot units; the title's and the y label's sizes follow the window's smaller side in twips.
    static constexpr float MarkerSize = 0.65f;
    static constexpr float MarkerFactor = 1.5f;
    static constexpr float TitleSizeFactor = 0.0014f;
    static constexpr float RotatedFontFactor = 0.0024f;

private:
    // Sets the view window to the smallest and largest x and y of every scan's points; without
    // any point all four limits are 0.
    void FindDataRange();
    // Zooms to the box held in the zoom corner fields, refusing a box with fewer than 2 points
    // of all scans together.
    void ZoomIn();
    void markNearest(float X, float Y, bool restore);
    void sweep(MouseButton Button, float X, bool restore);
    // Removes or restores point i of scan `scan` as part of the change under way.
    void mark(std::size_t scan, int i, bool restore);

    EditorView state_;
    float PixWidth = 0.0f;
    float PixHeight = 0.0f;
    int OuterWidth = 0;
    int OuterHeight = 0;
    bool Minimized = false;
    std::string WorkDir; // the data set's working folder when the editor was entered

    Platform& platform_;
    std::function<void()> redrawHandler_;
    CandidateList candidates_;
    EditHistory history_;
};

} // namespace skerry
