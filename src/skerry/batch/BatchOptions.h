#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "skerry/editor/PlotFile.h"
#include "skerry/ground/Outcome.h"
#include "skerry/operations/KeepRange.h"

namespace skerry {

// What one skerry-batch run is asked to do.
struct BatchOptions {
    bool help = false;
    bool truncated = false; // write the retained range only
    bool xi = false;        // write x as XI = R^2/2
    bool listing = false;   // print the listing instead of the file Save writes
    // empty or "-": standard output. With more than one data file or --entry all: the folder
    // the results go to, each under its data file's own name.
    std::string output;

    // Edits after loading, in this order.
    std::string comments;              // a file whose lines become the comment lines
    bool invert = false;               // change the sign of every reading
    std::optional<float> noiseRms;     // add synthetic noise of this RMS level
    std::optional<std::uint32_t> seed; // the noise generator's seed; given with noiseRms

    // --keep: every point outside it is deleted, right after loading and the blank.
    std::optional<XRange> keep;
    // --auto: the suggested edits are applied after --keep, before the comments.
    bool autoEdit = false;
    // --channels: with --auto, every solution column of a scan is a data set of its own.
    bool channels = false;
    // --suggest: the suggestion of each data set is printed instead of writing anything.
    bool suggest = false;

    // Blank correction and fit files.
    std::string blankFile; // a blank applied as Get Blank applies it, after loading
    std::string fitFile;   // a fit file whose listed data set takes the place of a data file
    // Which data set of the fit file, counted among the listed data files that exist (1..15);
    // nullopt: the first. allFitEntries: every one, each written into the folder `output`.
    std::optional<int> fitEntry;
    bool allFitEntries = false;

    // The plot of each data set, drawn after every other option: a file, or with more than one
    // data set a folder. plotFormat: given with --plot-format, else taken from the file's
    // extension.
    std::string plot;
    std::optional<PlotFile> plotFormat;

    std::vector<std::string> dataFiles;

    // More than one data set (or, with --channels, perhaps several of one scan): the outputs go
    // into folders.
    bool manyDataSets() const { return allFitEntries || dataFiles.size() > 1 || channels; }
};

// The options the arguments ask for, or the usage error they make.
Outcome<BatchOptions> parseBatchArguments(const std::vector<std::string>& args);

// The text of --help; `plots`: this skerry-batch can draw plots.
std::string batchUsage(bool plots);

// Exit statuses: 0 success, 1 an input or output failed, 2 a usage error.
inline constexpr int BatchOk = 0;
inline constexpr int BatchFailed = 1;
inline constexpr int BatchUsageError = 2;

} // namespace skerry
