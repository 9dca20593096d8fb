#pragma once

namespace skerry {

class EditorModel;
class NoiseDialogModel;
class CommentsDialogModel;
class ColourDialogModel;

// The program's own modal windows: the graphical editor and the dialogs. A command opens one
// with the window's logic object and gets control back when the user has closed it. The user
// interface shows real windows; tests act on the logic objects directly.
class ModalWindows {
public:
    virtual ~ModalWindows() = default;

    // "Data (graphically)": the editor on its copy of the working points.
    virtual void showEditor(EditorModel& editor) = 0;

    // "Add Random Noise": the RMS level for the noise to add.
    virtual void showNoiseDialog(NoiseDialogModel& dialog) = 0;
    // "Edit Comment Lines": the data set's comment lines as free text.
    virtual void showCommentsDialog(CommentsDialogModel& dialog) = 0;
    // "Set Plot Colors": the colours of good and deleted points, changed live by six sliders.
    virtual void showColourDialog(ColourDialogModel& dialog) = 0;
};

} // namespace skerry
