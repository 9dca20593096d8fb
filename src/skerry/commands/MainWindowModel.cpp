#include "skerry/commands/MainWindowModel.h"

#include <filesystem>
#include <memory>
#include <utility>

#include "skerry/colours/ColourDialogModel.h"
#include "skerry/editor/EditorModel.h"
#include "skerry/ground/FileIO.h"
#include "skerry/ground/FileSystem.h"
#include "skerry/ground/Text.h"
#include "skerry/input/BlankCorrection.h"
#include "skerry/input/DataLibrary.h"
#include "skerry/input/FitFile.h"
#include "skerry/model/Listing.h"
#include "skerry/operations/Comments.h"
#include "skerry/operations/Noise.h"
#include "skerry/operations/SignInversion.h"
#include "skerry/session/DataSetOperations.h"
#include "skerry/session/Settings.h"
#include "skerry/session/StartUp.h"

namespace skerry {

MainWindowModel::MainWindowModel(Program& program, Platform& platform, ModalWindows& windows)
    : program_(program), platform_(platform), windows_(windows) {}

void MainWindowModel::updateWorkDir() {
    DataSet& data = program_.data();
    data.WorkDir = currentWorkDir();
    data.ListingFile = data.WorkDir + "~skerry.tmp";
    data.CommentFile = data.WorkDir + "~comment.tmp";
}

void MainWindowModel::offerAddNoise() {
    state_.AddNoise.enabled = true;
    state_.AddNoise.visible = true;
    state_.BackItOff.enabled = false;
    state_.BackItOff.visible = false;
    program_.data().NoiseAdded = false;
}

void MainWindowModel::RefreshListing(int blanksBeforeThird) {
    DataSet& data = program_.data();
    updateWorkDir();
    std::string text = listingText(data, blanksBeforeThird);
    // The pane shows the listing even when the file cannot be written, so nothing is lost from
    // view; the user is told once why the file is missing.
    if (Done written = writeTemporaryFile(os::pathFromUtf8(data.ListingFile), text); !written) {
        platform_.messageBox("The listing file " + data.ListingFile +
                                 " could not be written: " + written.reason() + ".",
                             "Listing File Error", MessageIcon::Exclamation, MessageButtons::Ok);
    }
    state_.panes[MainWindowState::EditedTab].set(std::move(text));
}

void MainWindowModel::GetNewData_Click() {
    DataSet& data = program_.data();
    updateWorkDir();
    // A file read has the blank in force subtracted already; without one the blank is applied
    // again to the unchanged raw points, and the listing is rewritten all the same.
    if (!ReadDataFile() && data.BlankLoaded) {
        applyBlank(data);
    }
    RefreshListing();
    state_.SaveDataFile.enabled = true;
    state_.EditMenuChoice.enabled = true;
    state_.FilesLoaded.visible = false;
    offerAddNoise();
}

std::optional<std::string> MainWindowModel::chooseAndRead(const FileDialogRequest& request,
                                                          const ScanFileKind& kind,
                                                          const ScanLoader& load) {
    DataSet& data = program_.data();
    const auto chosen = chooseFileToOpen(request);
    if (!chosen) {
        changeToWorkDir(data.WorkDir);
        return std::nullopt;
    }
    const std::string path(trimBlanks(*chosen));
    std::string fileText;
    if (Done read = load(path, &fileText); !read) {
        platform_.messageBox(std::string("The ") + kind.name + " file " + path +
                                 " was not read: " + read.reason() + ".",
                             kind.errorTitle, MessageIcon::Exclamation, MessageButtons::Ok);
        changeToWorkDir(data.WorkDir);
        return std::nullopt;
    }
    state_.panes[kind.tab].set(std::move(fileText));
    state_.tabCaptions[kind.tab] = captionFromPath(path);
    return path;
}

bool MainWindowModel::ReadDataFile() {
    DataSet& data = program_.data();
    const auto read = chooseAndRead(
        {"Get Data File", "Data File | *.*", FileMustExist | PathMustExist, "", ""},
        {"data", "Data File Error", MainWindowState::DataTab},
        [&data](const std::string& path, std::string* text) { return openScan(data, path, text); });
    if (read) {
        state_.GetBlankData.enabled = true;
    }
    return read.has_value();
}

void MainWindowModel::GetBlankData_Click() {
    DataSet& data = program_.data();
    // A blank read is subtracted already. When none was read, the flag decides: a blank in force
    // is applied again to the raw points, and without one nothing changes.
    if (!ReadBlankFile()) {
        if (!data.BlankLoaded) {
            return;
        }
        applyBlank(data);
    }
    RefreshListing(2);
    state_.ClearBlank.enabled = true;
    offerAddNoise();
}

bool MainWindowModel::ReadBlankFile() {
    DataSet& data = program_.data();
    return chooseAndRead(
               {"Get Blank File", "Blank File | *.*", FileMustExist | PathMustExist, "", ""},
               {"blank", "Blank File Error", MainWindowState::BlankTab},
               [&data](const std::string& path, std::string* text) {
                   return openBlank(data, path, text);
               })
        .has_value();
}

void MainWindowModel::ClearBlank_Click() {
    clearBlank(program_.data());
    showNoBlank();
    RefreshListing();
    offerAddNoise();
}

void MainWindowModel::showNoBlank() {
    state_.panes[MainWindowState::BlankTab].set(" ");
    state_.ClearBlank.enabled = false;
    state_.tabCaptions[MainWindowState::BlankTab] = "Blank File";
}

void MainWindowModel::UseFitFile_Click() {
    ProfileFile fitFile;
    auto list = ReadFitFileList(fitFile);
    if (!list) {
        return;
    }
    // The new list was built apart and is taken over only now, so that a refused fit file
    // leaves the submenu and what its entries open as they were.
    program_.fitList = std::move(*list);
    const FitFileList& fit = program_.fitList;
    state_.FilesLoaded.visible = true;
    for (std::size_t i = 1; i < state_.DSNames.size(); ++i) {
        state_.DSNames[i] = {.caption = "", .enabled = false, .visible = false};
    }
    for (int k = 1; k <= fit.FitFoundCount; ++k) {
        MenuEntry& entry = state_.DSNames[static_cast<std::size_t>(k - 1)];
        entry.caption = captionFromPath(fit.name(k));
        entry.enabled = true;
        entry.visible = true;
    }
    reopen(1, &fitFile);
}

std::optional<FitFileList> MainWindowModel::ReadFitFileList(ProfileFile& fitFile) {
    const auto chosen =
        chooseFileToOpen({"Fit-File Name", "Fit-File | *.*", FileMustExist, "*.*", ""});
    if (!chosen) {
        return std::nullopt;
    }
    // The dialog has made the fit file's folder the current directory; names in the fit file
    // that are not full paths are looked up there.
    std::error_code ignored;
    FitFileReading reading = readFitFile(*chosen, std::filesystem::current_path(ignored));
    if (reading.list.message) {
        platform_.messageBox(reading.list.message->text, reading.list.message->title,
                             MessageIcon::Exclamation, MessageButtons::Ok);
    }
    fitFile = std::move(reading.profile);
    if (!reading.list.list) {
        return std::nullopt;
    }
    return *std::move(reading.list.list);
}

void MainWindowModel::ReopenDataSet(int k) {
    reopen(k, nullptr);
}

void MainWindowModel::reopen(int k, const ProfileFile* fitFileJustRead) {
    DataSet& data = program_.data();
    const FitFileList& fit = program_.fitList;
    if (k < 1 || k > fit.FitFoundCount) {
        return;
    }
    // No checkmark survives a re-opening, not even one that fails: the menu never shows a data
    // set as open that is not.
    for (MenuEntry& entry : state_.DSNames) {
        entry.checked = false;
    }
    // The file is read before anything else changes: a data file that has gone or cannot be
    // read leaves the open data set and its blank as they were.
    auto scan = std::make_unique<ScanFile>();
    std::string fileText;
    if (Done read = readFitDataFile(fit, k, *scan, &fileText); !read) {
        platform_.messageBox("The data file " + fit.path(k) + " was not read: " + read.reason() +
                                 ".",
                             "Data File Error", MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    // A blank is never applied to a re-opened data set; the listing below shows the result.
    if (data.BlankLoaded) {
        showNoBlank();
    }
    // Unless the list was read from it a moment ago, the fit file is read again now, so that
    // limits the fitting program has changed since the list was read are the ones used.
    if (fitFileJustRead != nullptr) {
        reopenScan(data, fit, k, *scan, *fitFileJustRead);
    } else {
        reopenScan(data, fit, k, *scan, ProfileFile::load(os::pathFromUtf8(fit.FitFileName)));
    }
    state_.panes[MainWindowState::DataTab].set(std::move(fileText));
    state_.tabCaptions[MainWindowState::DataTab] = captionFromPath(data.DataFileName);
    state_.GetBlankData.enabled = true;
    state_.DSNames[static_cast<std::size_t>(k - 1)].checked = true;
    RefreshListing();
    state_.SaveDataFile.enabled = true;
    state_.EditMenuChoice.enabled = true;
    offerAddNoise();
}

void MainWindowModel::WriteEditedFile(SaveForm form) {
    const auto chosen = askSaveFile(platform_, {"Edited DataSet Name", "New Data File | *.*",
                                                OverwritePrompt | CreatePrompt, "", ""});
    if (!chosen) {
        return;
    }
    if (!writeFileAtomically(os::pathFromUtf8(*chosen), editedFileText(program_.data(), form))) {
        platform_.messageBox("Error in SaveEditedFile!  Program Ending!", "Output File Error",
                             MessageIcon::Exclamation, MessageButtons::Ok);
        platform_.endProgram(1);
    }
}

void MainWindowModel::InvertC_Click() {
    invertSign(program_.data());
    RefreshListing();
}

void MainWindowModel::AddNoise_Click() {
    // Seeded anew every time, so that each Add Random Noise draws different noise.
    const std::uint32_t seed = platform_.randomSeed();
    NoiseDialogModel dialog(program_.data(), platform_);
    windows_.showNoiseDialog(dialog);
    if (!dialog.accepted()) {
        return;
    }
    addNoiseFromSeed(program_.data(), program_.data().NoiseRms, seed);
    state_.AddNoise.enabled = false;
    state_.AddNoise.visible = false;
    state_.BackItOff.enabled = true;
    state_.BackItOff.visible = true;
    RefreshListing();
}

void MainWindowModel::BackItOff_Click() {
    removeNoise(program_.data());
    offerAddNoise();
    RefreshListing();
}

void MainWindowModel::EditComment1_Click() {
    updateWorkDir();
    CommentsDialogModel dialog(program_.data(), platform_);
    if (!dialog.LoadCommentFile()) {
        return;
    }
    windows_.showCommentsDialog(dialog);
    if (dialog.saved()) {
        RefreshListing();
    }
}

void MainWindowModel::DoVantor_Click() {
    auto editor = std::make_unique<EditorModel>(platform_);
    editor->loadRun(program_.run);
    editor->Form_Load(program_.ShowXYDefault);
    editor->buildPrinterList(defaultPrinterName(program_, platform_));
    windows_.showEditor(*editor);
    editor->Form_Unload(program_.ShowXYDefault);
    if (!editor->view().EditAccepted) {
        return;
    }
    editor->returnMarks(program_.run);
    RefreshListing();
}

void MainWindowModel::SetColors_Click() {
    ColourDialogModel dialog(program_.colours);
    dialog.Form_Load();
    windows_.showColourDialog(dialog);
    dialog.Form_Unload();
}

std::optional<std::string> MainWindowModel::chooseFileToOpen(const FileDialogRequest& request) {
    if (!fileToOpen_) {
        return askOpenFile(platform_, request);
    }
    enterFolderOf(*fileToOpen_);
    return std::exchange(fileToOpen_, std::nullopt);
}

void MainWindowModel::OpenFile(const std::string& path) {
    // As a file dialog would, name the file in full: opening it makes its folder the current
    // directory, against which a relative name would no longer hold.
    std::error_code ignored;
    fileToOpen_ = os::utf8Of(std::filesystem::absolute(os::pathFromUtf8(path), ignored));
    if (isFitFile(*fileToOpen_)) {
        UseFitFile_Click();
    } else {
        GetNewData_Click();
    }
    fileToOpen_.reset();
}

void MainWindowModel::NameFilesNotOpened(const std::string& opened,
                                         const std::vector<std::string>& others) {
    std::string names;
    for (const std::string& other : others) {
        names += (names.empty() ? "" : ", ") + other;
    }
    platform_.messageBox("Skerry opens one file at a time: " + opened + " was opened, and not " +
                             names + ".",
                         "Skerry", MessageIcon::Exclamation, MessageButtons::Ok);
}

bool MainWindowModel::Form_Unload() {
    if (platform_.messageBox("Are you sure you want to exit?", "Exit Program?",
                             MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::No) {
        return false;
    }
    writeColourSettings(program_, platform_);
    return true;
}

} // namespace skerry
