#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "skerry/ground/Outcome.h"
#include "skerry/ground/ProfileFile.h"
#include "skerry/input/FitFile.h"
#include "skerry/model/DataSet.h"
#include "skerry/model/Run.h"

namespace skerry {

// The steps both front ends take on the data set: the main window's commands add their dialogs,
// messages and menu state around them, skerry-batch its options and messages. Whatever reads a
// file tells why when it refuses it, and then leaves the data set exactly as it was.

// File > Get Data: the scan file becomes the data set, and a blank in force is subtracted from it
// again. The file's bytes go to *fileText when given.
Done openScan(DataSet& data, const std::string& path, std::string* fileText = nullptr);

// The scans of a run, each read from its file as openScan reads one into a copy of `inForce`
// (the data set in force, whose blank is subtracted from each scan as Get Data subtracts it). A
// file that cannot be read is left out of the run, and why is kept beside its path. A file named
// again, by the same or another path to it, is one scan of the run and read once.
struct ScanFileRead {
    std::string path;
    std::string text; // the file's bytes
};
struct RunReading {
    std::vector<RunScan> scans;
    std::vector<ScanFileRead> files; // of each scan read, in the order of `scans`
    std::vector<std::pair<std::string, Failure>> refused;
};
RunReading readRun(const DataSet& inForce, const std::vector<std::string>& paths);

// File > Get Blank: the blank file is read and subtracted from the raw points.
Done openBlank(DataSet& data, const std::string& path, std::string* fileText = nullptr);

// Get Blank on a run: the blank in force of the current scan, or none, becomes every other
// scan's, and is subtracted from each scan's raw points as applyBlank does. One blank serves a
// cell, so that the scans of a run never differ in it.
void shareBlank(Run& run);

// File > Get File(s) From Fit-File: the fit file and its list of data files, names that are not
// full paths looked up in `folder`. A fit file that cannot be read at all reads as empty: its list
// is refused with the message of an empty file, for the reason it could not be read.
struct FitFileReading {
    ProfileFile profile;
    FitListReading list;
};
FitFileReading readFitFile(const std::string& path, const std::filesystem::path& folder);

// Choosing data set k of the list: its scan, read by readFitDataFile, becomes the data set with
// the limits and deleted points the fit file stores for it. A blank in force is dropped, never
// applied to a re-opened data set.
void reopenScan(DataSet& data, const FitFileList& list, int k, const ScanFile& scan,
                const ProfileFile& fit);

// Edit > Add Random Noise at the level `rms`, drawn from `seed`: one seed, one noise.
void addNoiseFromSeed(DataSet& data, float rms, std::uint32_t seed);

} // namespace skerry
