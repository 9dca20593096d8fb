#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "skerry/ground/Outcome.h"
#include "skerry/ground/ProfileFile.h"
#include "skerry/input/DataLibrary.h"
#include "skerry/model/DataSet.h"

namespace skerry {

// The most data sets a fit-file list holds: the entries of the "LoadedFiles" submenu.
inline constexpr int MaxFitDataSets = 15;

// Of the point numbers that a fit file lists as deleted for one data set, this many count.
inline constexpr int MaxDeletedPoints = 2048;

// The data sets that a fit file of the fitting program lists, as far as their data files exist.
// The fit file numbers its entries n = 1, 2, ... in the sections "File01", "File02", ...; the
// existing ones are counted k = 1..FitFoundCount in the fit file's order, as the "LoadedFiles"
// submenu shows them. Only entries 1..MaxFitDataSets can be held.
struct FitFileList {
    std::string FitFileName; // the fit file as it was chosen
    std::int16_t FitFoundCount = 0;
    // Slot n-1: the name of entry n, set only when its data file exists. It is the name as
    // listed, surrounding blanks removed and written with this platform's separator, or, for a
    // name of another machine's drive that was found in the fit file's folder, that path.
    std::array<std::string, MaxFitDataSets> FitFileNames;
    // Slot n-1: where entry n's data file was found, relative names resolved against the
    // folder the list was read in, so that the entry always opens the file that was found.
    std::array<std::string, MaxFitDataSets> FitFilePaths;
    // Slot k-1: the entry number n of the k-th existing data file.
    std::array<std::int32_t, MaxFitDataSets> FitFoundIndex{};

    // For k = 1..FitFoundCount: the entry number, name and path of the k-th existing data file.
    int entryNumber(int k) const { return FitFoundIndex.at(static_cast<std::size_t>(k - 1)); }
    const std::string& name(int k) const { return slot(FitFileNames, k); }
    const std::string& path(int k) const { return slot(FitFilePaths, k); }

private:
    const std::string& slot(const std::array<std::string, MaxFitDataSets>& table, int k) const {
        return table.at(static_cast<std::size_t>(entryNumber(k) - 1));
    }
};

// A message box about a fit file's list: its text and title.
struct FitListMessage {
    std::string text;
    std::string title;
};

// What reading a fit file's list came to: the list, or why it was refused (the list in use then
// stays); and the message box the window shows for it, if any. A refused list without one is
// taken by the window as a cancelled dialog; an accepted list has one when some of its data files
// are missing.
struct FitListReading {
    Outcome<FitFileList> list;
    std::optional<FitListMessage> message;
};

// Reads the list of data files from a fit file and checks which of them exist. A name that is
// not a full path is looked up in `folder`, the fit file's folder. On a platform whose
// separator is not '\', '\' in a name is taken as a separator, and a name on a drive ("C:...")
// that is not found is looked for by its file name in `folder`.
FitListReading readFitFileList(const ProfileFile& fit, const std::string& fitFileName,
                               const std::filesystem::path& folder);

// True when a file is a fit file, told by its content, not its name: a "FileCount" section with
// a "number" key.
bool isFitFile(const std::filesystem::path& path);

// Reads the data file of the k-th existing entry (1..FitFoundCount) as any scan file is read.
Done readFitDataFile(const FitFileList& list, int k, ScanFile& scan,
                     std::string* fileText = nullptr);

// Makes a scan read by readFitDataFile for entry k the data set, as Get Data would: points,
// comments, name, working points, retained range and kind of x. Then the limits and deleted
// points that the fit file stores for the entry are applied: the limits (in XI, turned into radii
// for radius data) narrow the retained range and the points outside it are marked deleted, the
// listed points are marked deleted, and the marks become part of RawPoints, so that clearing a
// blank later keeps them.
void reopenFitEntry(DataSet& data, const FitFileList& list, int k, const ScanFile& scan,
                    const ProfileFile& fit);

} // namespace skerry
