#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "skerry/commands/MainWindowState.h"
#include "skerry/commands/ModalWindows.h"
#include "skerry/ground/Platform.h"
#include "skerry/output/EditedDataFile.h"
#include "skerry/session/DataSetOperations.h"
#include "skerry/session/Program.h"

namespace skerry {

// The command logic of the main window: what each menu entry does to the data set, the menus and
// the panes. The Qt window forwards its events here and shows `state()` afterwards; tests drive
// the same handlers through a scripted platform.
class MainWindowModel {
public:
    MainWindowModel(Program& program, Platform& platform, ModalWindows& windows);

    const MainWindowState& state() const { return state_; }
    Program& program() { return program_; }
    const DataSet& data() const { return program_.data(); }

    void setCaption(std::string caption) { state_.caption = std::move(caption); }

    // File menu
    void GetNewData_Click();
    void GetBlankData_Click();
    void ClearBlank_Click();
    void UseFitFile_Click();
    // "Get Run...": the scans chosen together in one open dialog become the run; one scan chosen
    // opens as File > Get Data opens it.
    void GetRun_Click();

    // The run's list of scans: scan `index` (from 0) becomes current; the panes show it.
    void RunScans_Click(std::size_t index);

    // "LoadedFiles" submenu: entry `index` (0..14) re-opens the fit file's data set index + 1.
    void DSNames_Click(int index) { ReopenDataSet(index + 1); }
    // Opens the k-th existing data set of the fit-file list (1..FitFoundCount) with the limits
    // and deleted points the fit file stores for it.
    void ReopenDataSet(int k);

    // Edit menu: the graphical editor on a copy of the working points; only its marks and the
    // retained range come back, and only when the user leaves with "Exit and update data set".
    void DoVantor_Click();

    // Edit menu: sign, noise and comment lines
    void InvertC_Click();
    void AddNoise_Click();
    void BackItOff_Click();
    void EditComment1_Click();

    // Save menu
    void SaveComplete_Click() { WriteEditedFile({true, true}); }
    void SaveCompleteRSq_Click() { WriteEditedFile({true, false}); }
    void SaveTruncated_Click() { WriteEditedFile({false, true}); }
    void SaveTruncatedRSq_Click() { WriteEditedFile({false, false}); }

    // "Set Plot Colors": the colour dialog changes the colours live; what the user confirmed with
    // "OK" remains, else the colours come back as they were. The editor draws with them at its
    // next redraw; a confirmed exit writes them to the settings file.
    void SetColors_Click();

    // A file named on the command line or dropped on the window: opened as if it had been chosen
    // in File > Get Data, or in File > Get File(s) From Fit-File when it is a fit file.
    void OpenFile(const std::string& path);
    // Several files named or dropped together open as a run of scans; one opens as OpenFile.
    void OpenFiles(const std::vector<std::string>& paths);

    // Closing the window by any means. Returns false when the user chose to stay.
    bool Form_Unload();

    // Rewrites "~skerry.tmp" in the current directory from the comment lines and the working
    // points and shows the same text in the "Edited Data File" pane.
    void RefreshListing(int blanksBeforeThird = 3);

private:
    // Which file an open dialog asks for: its word in messages, their title and its tab.
    struct ScanFileKind {
        const char* name;
        const char* errorTitle;
        MainWindowState::Tab tab;
    };
    // Reads a scan or blank file with `load` after an open dialog and shows it on its tab; the
    // chosen path, or nullopt when the user cancelled or the file was refused (with a message
    // naming it).
    using ScanLoader = std::function<Done(const std::string& path, std::string* text)>;
    std::optional<std::string> chooseAndRead(const FileDialogRequest& request,
                                             const ScanFileKind& kind, const ScanLoader& load);
    // True when a file was read; false when the user cancelled or the file was refused.
    bool ReadDataFile();
    bool ReadBlankFile();
    // Asks for a fit file and reads its list; `fitFile` receives the fit file as it was read.
    std::optional<FitFileList> ReadFitFileList(ProfileFile& fitFile);
    // ReopenDataSet with the fit file as UseFitFile_Click has just read it, or with nullptr to
    // read it anew.
    void reopen(int k, const ProfileFile* fitFileJustRead);
    // Shows on the blank tab and in the menu that no blank is in force.
    void showNoBlank();
    void WriteEditedFile(SaveForm form);
    // Save with a run open: every scan, or each column of a scan split into columns, written in
    // one folder under its own name.
    void writeRunFiles(SaveForm form);
    // The scans `paths` name become the run; a file that cannot be read is named in one message
    // with the others refused, and left out.
    void openRun(const std::vector<std::string>& paths);
    // After the current scan has been replaced by one read anew: the run is that scan alone.
    void keepCurrentScanOnly();
    // Shows the current scan of the run: its file, its caption and its listing.
    void showCurrentScan();
    // Add Random Noise or Remove Random Noise, as the current scan's noise calls for.
    void offerNoiseOfCurrentScan();
    // The file an open dialog would ask for: the one OpenFile was given, else the user's choice.
    std::optional<std::string> chooseFileToOpen(const FileDialogRequest& request);
    void updateWorkDir();
    void offerAddNoise();
    // The menus a scan just read offers, as Get Data leaves them: Edit and Save, no LoadedFiles,
    // Add Random Noise.
    void offerNewScanMenus();

    Program& program_;
    Platform& platform_;
    ModalWindows& windows_;
    MainWindowState state_;
    std::optional<std::string> fileToOpen_; // set by OpenFile for the command it runs
    std::vector<ScanFileRead> runFiles_;    // each scan's path and bytes while a run is open
    std::string blankFile_;                 // the blank file read last, which Save never replaces
};

} // namespace skerry
