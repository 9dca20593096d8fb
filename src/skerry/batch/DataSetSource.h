#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "skerry/batch/BatchOptions.h"
#include "skerry/batch/BatchReporter.h"
#include "skerry/ground/Outcome.h"
#include "skerry/ground/ProfileFile.h"
#include "skerry/input/FitFile.h"
#include "skerry/model/DataSet.h"

namespace skerry {

// Where the data sets of a run come from: the data files named on the command line, or data sets
// of a fit file's list. A run counts, names and opens them alike, so that every option and the
// reading on every core work the same for both.
class DataSetSource {
public:
    // What a data set that cannot be read means for the others.
    enum class Refusal {
        // It is reported, and the others are still written: data files are each on their own.
        EachOnItsOwn,
        // Nothing is written: every data set is read before anything is written, and the first
        // that cannot be read is reported. A fit file's list is fitted as one, so it is written
        // whole or not at all.
        AllOrNone,
    };

    virtual ~DataSetSource() = default;

    virtual std::size_t count() const = 0;
    // The data file of data set i (0..count - 1) as messages name it; what is written from it is
    // named after its file name.
    virtual const std::string& file(std::size_t i) const = 0;
    // How a message about two data sets names them: "data sets " and the entry numbers, or ""
    // and the data files.
    virtual std::string kind() const = 0;
    virtual std::string label(std::size_t i) const = 0;
    // Makes data set i the (fresh) data set `data`, or tells why it cannot. Safe to call from
    // several threads at once.
    virtual Done open(std::size_t i, DataSet& data) const = 0;
    virtual Refusal refusal() const = 0;
};

// Data files, each opened as File > Get Data opens it.
class DataFiles final : public DataSetSource {
public:
    explicit DataFiles(std::vector<std::string> files) : files_(std::move(files)) {}

    std::size_t count() const override { return files_.size(); }
    const std::string& file(std::size_t i) const override { return files_.at(i); }
    std::string kind() const override { return ""; }
    std::string label(std::size_t i) const override { return files_.at(i); }
    Done open(std::size_t i, DataSet& data) const override;
    Refusal refusal() const override { return Refusal::EachOnItsOwn; }

private:
    std::vector<std::string> files_;
};

// Data sets of a fit file's list, each re-opened as its "LoadedFiles" entry re-opens it, with the
// limits and deleted points the fit file stores for it.
class FitEntries final : public DataSetSource {
public:
    std::size_t count() const override { return entries_.size(); }
    const std::string& file(std::size_t i) const override { return list_.path(entries_.at(i)); }
    std::string kind() const override { return "data sets "; }
    std::string label(std::size_t i) const override { return std::to_string(entries_.at(i)); }
    Done open(std::size_t i, DataSet& data) const override;
    Refusal refusal() const override { return Refusal::AllOrNone; }

    // The data sets the options ask for (--entry K, or all) of the fit file --fit names, read as
    // File > Get File(s) From Fit-File reads it, names that are not full paths taken from the fit
    // file's folder. A list with missing data files is a warning, told to `reporter`.
    static Outcome<FitEntries> read(const BatchOptions& options, BatchReporter& reporter);

private:
    FitEntries(FitFileList list, ProfileFile profile, std::vector<int> entries)
        : list_(std::move(list)), profile_(std::move(profile)), entries_(std::move(entries)) {}

    FitFileList list_;
    ProfileFile profile_;
    std::vector<int> entries_; // the numbers k of the list's existing data files
};

} // namespace skerry
