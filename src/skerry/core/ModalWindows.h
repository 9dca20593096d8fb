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
};

} // namespace skerry
