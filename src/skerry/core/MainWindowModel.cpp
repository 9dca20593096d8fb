#include "skerry/core/MainWindowModel.h"

#include "skerry/core/FileIO.h"
#include "skerry/core/Listing.h"
#include "skerry/core/Settings.h"
#include "skerry/input/DataFileLoading.h"
#include "skerry/input/DataLibrary.h"
#include "skerry/output/EditedDataFile.h"

namespace skerry {

MainWindowModel::MainWindowModel(Program& program, Platform& platform, ModalWindows& windows)
    : program_(program), platform_(platform), windows_(windows) {}

void MainWindowModel::updateWorkDir() {
    DataSet& data = program_.data;
    data.WorkDir = currentWorkDir();
    data.ListingFile = data.WorkDir + "~skerry.tmp";
    data.CommentFile = data.WorkDir + "~comment.tmp";
}

void MainWindowModel::offerAddNoise() {
    state_.AddNoise.enabled = true;
    state_.AddNoise.visible = true;
    state_.BackItOff.enabled = false;
    state_.BackItOff.visible = false;
    program_.data.NoiseAdded = false;
}

void MainWindowModel::RefreshListing(int blanksBeforeThird) {
    DataSet& data = program_.data;
    updateWorkDir();
    std::string text = listingText(data, blanksBeforeThird);
    // The pane shows the listing even when the file cannot be written, so nothing is lost from
    // view; the user is told once why the file is missing.
    if (auto error = writeFileAtomically(data.ListingFile, text)) {
        platform_.messageBox("The listing file " + data.ListingFile +
                                 " could not be written: " + error->reason + ".",
                             "Listing File Error", MessageIcon::Exclamation, MessageButtons::Ok);
    }
    state_.panes[MainWindowState::EditedTab].set(std::move(text));
}

void MainWindowModel::GetNewData_Click() {
    DataSet& data = program_.data;
    updateWorkDir();
    ReadDataFile();
    if (data.BlankLoaded) {
        blank(data.RawPoints, data.PointCount, data.BlankPoints, data.BlankCount, data.WorkPoints);
    }
    RefreshListing();
    state_.SaveDataFile.enabled = true;
    state_.EditMenuChoice.enabled = true;
    state_.FilesLoaded.visible = false;
    offerAddNoise();
}

void MainWindowModel::ReadDataFile() {
    DataSet& data = program_.data;
    const auto chosen = askOpenFile(
        platform_, {"Get Data File", "Data File | *.*", FileMustExist | PathMustExist, "", ""});
    if (!chosen) {
        changeToWorkDir(data.WorkDir);
        return;
    }
    const std::string path(trimBlanks(*chosen));
    std::string fileText;
    if (auto refusal = loadDataFile(data, path, &fileText)) {
        platform_.messageBox("The data file " + path + " was not read: " + *refusal + ".",
                             "Data File Error", MessageIcon::Exclamation, MessageButtons::Ok);
        changeToWorkDir(data.WorkDir);
        return;
    }
    state_.panes[MainWindowState::DataTab].set(std::move(fileText));
    state_.tabCaptions[MainWindowState::DataTab] = captionFromPath(path);
    state_.GetBlankData.enabled = true;
}

void MainWindowModel::WriteEditedFile(bool complete, bool asRadius) {
    const auto chosen = askSaveFile(platform_, {"Edited DataSet Name", "New Data File | *.*",
                                                OverwritePrompt | CreatePrompt, "", ""});
    if (!chosen) {
        return;
    }
    const std::string text = editedFileText(program_.data, complete, asRadius);
    if (writeFileAtomically(*chosen, text)) {
        platform_.messageBox("Error in SaveEditedFile!  Program Ending!", "Output File Error",
                             MessageIcon::Exclamation, MessageButtons::Ok);
        platform_.endProgram(1);
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
