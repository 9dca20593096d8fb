#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "skerry/batch/BatchOptions.h"
#include "skerry/batch/BatchReporter.h"
#include "skerry/ground/FileIO.h"
#include "skerry/ground/Outcome.h"
#include "skerry/session/SavedFiles.h"

namespace skerry {

// The files one output of a run goes to; an empty path is not written.
struct Targets {
    std::filesystem::path output; // the edited file or listing
    std::filesystem::path plot;
};

// Where the outputs of a run go. Each output is named after its data file's own file name.
class BatchDestination {
public:
    virtual ~BatchDestination() = default;

    virtual Targets targets(const std::filesystem::path& name) const = 0;
    // Writes an output's text to its target; false after reporting why it could not.
    virtual bool write(const Targets& targets, const std::string& text) = 0;
    // Puts what was written in place; false after reporting what could not be.
    virtual bool finish() = 0;
};

// The result of a single data set: on standard output, or in the file -o names, replaced as a
// whole; asked only for a plot, a run writes no edited file. The lines --suggest prints of
// every data set go to standard output alike.
class SingleResult final : public BatchDestination {
public:
    SingleResult(const BatchOptions& options, std::ostream& out, BatchReporter& reporter);

    Targets targets(const std::filesystem::path& name) const override;
    bool write(const Targets& targets, const std::string& text) override;
    bool finish() override { return true; }

private:
    enum class Output { Standard, File, None };

    const BatchOptions& options_;
    std::ostream& out_;
    BatchReporter& reporter_;
    Output output_;
};

// The results of many data sets: the edited files in the folder -o names, the plots in the
// folder --plot names. Each file is written beside its target as it is made, and all are put in
// place together at the end.
class FolderResults final : public BatchDestination {
public:
    FolderResults(const BatchOptions& options, BatchReporter& reporter)
        : options_(options), reporter_(reporter) {}

    Targets targets(const std::filesystem::path& name) const override;
    bool write(const Targets& targets, const std::string& text) override;
    bool finish() override;

private:
    const BatchOptions& options_;
    BatchReporter& reporter_;
    FileBatch files_;
};

// Refuses a path that is not a folder.
Done isFolder(const std::string& path);

} // namespace skerry
