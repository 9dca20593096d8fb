#pragma once

#include <string>

#include "skerry/core/MainWindowState.h"
#include "skerry/core/ModalWindows.h"
#include "skerry/core/Platform.h"
#include "skerry/core/Program.h"

namespace skerry {

// The command logic of the main window: what each menu entry does to the data set, the menus and
// the panes. The Qt window forwards its events here and shows `state()` afterwards; tests drive
// the same handlers through a scripted platform.
class MainWindowModel {
public:
    MainWindowModel(Program& program, Platform& platform, ModalWindows& windows);

    const MainWindowState& state() const { return state_; }
    Program& program() { return program_; }
    const DataSet& data() const { return program_.data; }

    void setCaption(std::string caption) { state_.caption = std::move(caption); }

    // File menu
    void GetNewData_Click();

    // Save menu
    void SaveComplete_Click() { WriteEditedFile(true, true); }
    void SaveCompleteRSq_Click() { WriteEditedFile(true, false); }
    void SaveTruncated_Click() { WriteEditedFile(false, true); }
    void SaveTruncatedRSq_Click() { WriteEditedFile(false, false); }

    // Closing the window by any means. Returns false when the user chose to stay.
    bool Form_Unload();

    // Rewrites "~skerry.tmp" in the current directory from the comment lines and the working
    // points and shows the same text in the "Edited Data File" pane.
    void RefreshListing(int blanksBeforeThird = 3);

private:
    void ReadDataFile();
    void WriteEditedFile(bool complete, bool asRadius);
    void updateWorkDir();
    void offerAddNoise();

    Program& program_;
    Platform& platform_;
    ModalWindows& windows_;
    MainWindowState state_;
};

} // namespace skerry
