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
#include "skerry/session/SavedFiles.h"
#include "skerry/session/Settings.h"
#include "skerry/session/StartUp.h"

namespace skerry {
namespace {

// Files or reasons listed in a message, joined by `separator`: a run's save can have thousands,
// which no message box can show, so the first few are given and the others counted.
std::string listed(const std::vector<std::string>& items, const std::string& separator) {
    constexpr std::size_t shown = 5;
    std::string text;
    for (std::size_t i = 0; i < items.size() && i < shown; ++i) {
        text += (i == 0 ? "" : separator) + items[i];
    }
    return items.size() > shown ? text + " and " + std::to_string(items.size() - shown) + " more"
                                : text;
}

} // namespace

MainWindowModel::MainWindowModel(Program& program, Platform& platform, ModalWindows& windows)
    : program_(program), platform_(platform), windows_(windows) {}

void MainWindowModel::updateWorkDir() {
    DataSet& data = program_.data();
    data.WorkDir = currentWorkDir();
    data.ListingFile = data.WorkDir + "~skerry.tmp";
    data.CommentFile = data.WorkDir + "~comment.tmp";
}

void MainWindowModel::offerAddNoise() {
    // Every command that offers it again has taken the noise off every scan of the run.
    for (RunScan& scan : program_.run) {
        scan.data.NoiseAdded = false;
    }
    offerNoiseOfCurrentScan();
}

void MainWindowModel::offerNoiseOfCurrentScan() {
    const bool added = program_.data().NoiseAdded;
    state_.AddNoise.enabled = !added;
    state_.AddNoise.visible = !added;
    state_.BackItOff.enabled = added;
    state_.BackItOff.visible = added;
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
    updateWorkDir();
    // A file read has the blank in force subtracted already and replaces a run; without one the
    // blank is applied again to the unchanged raw points, and the listing is rewritten all the
    // same.
    if (ReadDataFile()) {
        keepCurrentScanOnly();
    } else if (program_.data().BlankLoaded) {
        applyBlank(program_.data());
    }
    RefreshListing();
    offerNewScanMenus();
}

void MainWindowModel::offerNewScanMenus() {
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
    // is applied again to the raw points, and without one nothing changes. One blank serves the
    // cell: every scan of a run takes the current scan's.
    if (!ReadBlankFile()) {
        if (!data.BlankLoaded) {
            return;
        }
        applyBlank(data);
    }
    shareBlank(program_.run);
    RefreshListing(2);
    state_.ClearBlank.enabled = true;
    offerAddNoise();
}

bool MainWindowModel::ReadBlankFile() {
    DataSet& data = program_.data();
    const auto blank =
        chooseAndRead({"Get Blank File", "Blank File | *.*", FileMustExist | PathMustExist, "", ""},
                      {"blank", "Blank File Error", MainWindowState::BlankTab},
                      [&data](const std::string& path, std::string* text) {
                          return openBlank(data, path, text);
                      });
    if (blank) {
        blankFile_ = *blank;
    }
    return blank.has_value();
}

void MainWindowModel::ClearBlank_Click() {
    for (RunScan& scan : program_.run) {
        clearBlank(scan.data);
    }
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
    keepCurrentScanOnly();
    RefreshListing();
    state_.SaveDataFile.enabled = true;
    state_.EditMenuChoice.enabled = true;
    offerAddNoise();
}

void MainWindowModel::WriteEditedFile(SaveForm form) {
    if (program_.run.isRun()) {
        writeRunFiles(form);
        return;
    }
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
    // The sign is the instrument's or the cell's, so that it is turned on every scan of a run.
    for (RunScan& scan : program_.run) {
        invertSign(scan.data);
    }
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
    // Only the current scan's noise comes off: another scan of the run keeps its own, and with it
    // the means to take it off.
    removeNoise(program_.data());
    offerNoiseOfCurrentScan();
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

void MainWindowModel::OpenFiles(const std::vector<std::string>& paths) {
    if (paths.size() == 1) {
        OpenFile(paths.front());
        return;
    }
    if (paths.empty()) {
        return;
    }
    // Named in full, as a file dialog names them, since opening them changes the current
    // directory.
    std::vector<std::string> absolute;
    for (const std::string& path : paths) {
        std::error_code ignored;
        absolute.push_back(os::utf8Of(std::filesystem::absolute(os::pathFromUtf8(path), ignored)));
    }
    openRun(absolute);
}

void MainWindowModel::GetRun_Click() {
    const std::vector<std::string> chosen = platform_.openFilesDialog(
        {"Get Run", "Data File | *.*", FileMustExist | PathMustExist, "", ""});
    if (chosen.size() == 1) {
        // One scan is opened exactly as File > Get Data opens it, message for message.
        fileToOpen_ = chosen.front();
        GetNewData_Click();
        fileToOpen_.reset();
    } else if (!chosen.empty()) {
        openRun(chosen);
    }
}

void MainWindowModel::openRun(const std::vector<std::string>& paths) {
    RunReading reading = readRun(program_.data(), paths);
    if (!reading.refused.empty()) {
        // One file is named as Get Data names it; several in one message, each with its reason.
        std::string text;
        if (reading.refused.size() == 1) {
            text = "The data file " + reading.refused[0].first +
                   " was not read: " + reading.refused[0].second.reason;
        } else {
            std::vector<std::string> reasons;
            for (const auto& [path, failure] : reading.refused) {
                reasons.push_back(path + ": " + failure.reason);
            }
            text = "The data files were not read: " + listed(reasons, "; ");
        }
        platform_.messageBox(text + ".", "Data File Error", MessageIcon::Exclamation,
                             MessageButtons::Ok);
    }
    if (reading.scans.empty()) {
        return;
    }
    // As after Get Data, the folder of the scan shown becomes the current directory.
    enterFolderOf(reading.files.front().path);
    program_.run.assign(std::move(reading.scans));
    runFiles_ = std::move(reading.files);
    state_.runScans.clear();
    if (program_.run.isRun()) {
        for (const ScanFileRead& file : runFiles_) {
            state_.runScans.push_back(os::utf8Of(os::pathFromUtf8(file.path).filename()));
        }
    }
    state_.currentScan = 0;
    state_.GetBlankData.enabled = true;
    offerNewScanMenus();
    showCurrentScan();
}

void MainWindowModel::RunScans_Click(std::size_t index) {
    if (index >= state_.runScans.size()) {
        return;
    }
    program_.run.setCurrent(index);
    state_.currentScan = index;
    offerNoiseOfCurrentScan();
    showCurrentScan();
}

void MainWindowModel::showCurrentScan() {
    const ScanFileRead& file = runFiles_.at(program_.run.currentIndex());
    state_.panes[MainWindowState::DataTab].set(file.text);
    state_.tabCaptions[MainWindowState::DataTab] = captionFromPath(file.path);
    RefreshListing();
}

void MainWindowModel::keepCurrentScanOnly() {
    std::vector<RunScan> one(1);
    one.front().data = std::move(program_.run.current());
    program_.run.assign(std::move(one));
    runFiles_.clear();
    state_.runScans.clear();
    state_.currentScan = 0;
}

void MainWindowModel::writeRunFiles(SaveForm form) {
    const auto folder = platform_.folderDialog("Save Run In Folder");
    if (!folder) {
        return;
    }
    // Every file is named and checked before the first is written: a clash or an input in the
    // way stops the save with nothing written.
    struct Planned {
        std::filesystem::path target;
        std::string text;
    };
    std::vector<Planned> planned;
    std::vector<std::filesystem::path> inputs{os::pathFromUtf8(blankFile_)};
    for (const ScanFileRead& file : runFiles_) {
        inputs.push_back(os::pathFromUtf8(file.path));
    }
    OutputCheck check(inputs, "");
    std::vector<std::string> refused;
    const auto plan = [&](const std::filesystem::path& name, const DataSet& data,
                          const std::string& label) {
        const std::filesystem::path target = os::pathFromUtf8(*folder) / name;
        if (Done claimed = check.claim(target, label); !claimed) {
            refused.push_back(claimed.reason());
        }
        planned.push_back({target, editedFileText(data, form)});
    };
    for (std::size_t i = 0; i < program_.run.size(); ++i) {
        const RunScan& scan = program_.run.scan(i);
        const std::string& path = runFiles_[i].path;
        const std::filesystem::path name = os::pathFromUtf8(path).filename();
        if (scan.columns.size() > 1) {
            for (const NamedDataSet& column : columnDataSets(scan.data, name, scan.columns)) {
                plan(column.name, column.data, path);
            }
        } else {
            plan(name, scan.data, path);
        }
    }
    if (!refused.empty()) {
        platform_.messageBox("Nothing was saved: " + listed(refused, "; ") + ".",
                             "Output File Error", MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    std::vector<std::string> existing;
    for (const Planned& file : planned) {
        if (FileExists(os::utf8Of(file.target))) {
            existing.push_back(os::utf8Of(file.target));
        }
    }
    if (!existing.empty() &&
        platform_.messageBox(
            "These files exist already and will be replaced: " + listed(existing, ", ") +
                ". Replace them?",
            "Save Run", MessageIcon::Question, MessageButtons::YesNo) == MessageAnswer::No) {
        return;
    }
    std::vector<std::string> written;
    for (const Planned& file : planned) {
        if (Done done = writeFileAtomically(file.target, file.text); !done) {
            platform_.messageBox("The file " + os::utf8Of(file.target) +
                                     " was not written: " + done.reason() + ". " +
                                     (written.empty()
                                          ? "No file was written."
                                          : "Written before it: " + listed(written, ", ") + "."),
                                 "Output File Error", MessageIcon::Exclamation, MessageButtons::Ok);
            return;
        }
        written.push_back(os::utf8Of(file.target));
    }
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
