#include "skerry/batch/BatchRun.h"

#include <filesystem>
#include <memory>
#include <ostream>

#include "skerry/batch/BatchOutput.h"
#include "skerry/batch/BatchPlatform.h"
#include "skerry/batch/BatchReporter.h"
#include "skerry/batch/DataSetSource.h"
#include "skerry/batch/InOrder.h"
#include "skerry/ground/FileIO.h"
#include "skerry/input/BlankCorrection.h"
#include "skerry/input/DataLibrary.h"
#include "skerry/model/DataSet.h"
#include "skerry/model/Listing.h"
#include "skerry/operations/Comments.h"
#include "skerry/operations/KeepRange.h"
#include "skerry/operations/SignInversion.h"
#include "skerry/output/EditedDataFile.h"
#include "skerry/session/DataSetOperations.h"

namespace skerry {

namespace {

namespace fs = std::filesystem;

// What every data set of a run shares, read once before the first of them.
struct SharedInputs {
    std::unique_ptr<ScanFile> blank;     // --blank
    std::optional<std::string> comments; // the bytes of --comments
};

// False after reporting a shared input that cannot be read.
bool readSharedInputs(const BatchOptions& options, SharedInputs& shared, BatchReporter& reporter) {
    if (!options.blankFile.empty()) {
        shared.blank = std::make_unique<ScanFile>();
        if (!reporter.check(options.blankFile, readScanFile(options.blankFile, *shared.blank))) {
            return false;
        }
    }
    if (!options.comments.empty()) {
        auto comments = readWholeFile(os::pathFromUtf8(options.comments), MaxCommentFileBytes);
        if (!reporter.check(options.comments, comments)) {
            return false;
        }
        shared.comments = *std::move(comments);
    }
    return true;
}

// What the options make of a loaded data set, in the program's order: the blank as Get Blank
// subtracts it, the points kept, the comment lines, the sign, the noise; or why the data set
// does not suit them.
Done edit(DataSet& data, const BatchOptions& options, const SharedInputs& shared) {
    if (shared.blank) {
        takeBlank(data, *shared.blank, options.blankFile);
        applyBlank(data);
    }
    if (options.keep) {
        if (Done kept = keepWithin(data, *options.keep); !kept) {
            return kept;
        }
    }
    if (shared.comments) {
        readCommentLines(data, *shared.comments);
    }
    if (options.invert) {
        invertSign(data);
    }
    if (options.noiseRms) {
        addNoiseFromSeed(data, *options.noiseRms, *options.seed);
    }
    return {};
}

// The text written of an edited data set: the file Save writes, or the listing.
std::string textOf(const DataSet& data, const BatchOptions& options) {
    return options.listing ? listingText(data)
                           : editedFileText(data, {!options.truncated, !options.xi});
}

// One output of a data set: the name its files take, the data set its plot shows, its text.
struct Output {
    fs::path name;
    std::unique_ptr<DataSet> data;
    std::string text;
};

// What a run makes of one data set: its outputs, or why it could not be read or edited.
struct Made {
    Done opened;
    Done edited;
    std::vector<Output> outputs;
};

// One run: what it is asked, where its data sets come from and its results go.
struct Run {
    const BatchOptions& options;
    const SharedInputs& shared;
    const PlotWriter& plots;
    Platform& platform; // what the plots are drawn with
    BatchReporter& reporter;
    const DataSetSource& source;
    BatchDestination& destination;

    fs::path nameOf(std::size_t i) const { return os::pathFromUtf8(source.file(i)).filename(); }
};

// Reads and edits data set i. Touches nothing but its own data set, so that several are made at
// once.
Made make(const Run& run, std::size_t i) {
    Made made;
    auto data = std::make_unique<DataSet>();
    made.opened = run.source.open(i, *data);
    if (made.opened) {
        made.edited = edit(*data, run.options, run.shared);
    }
    if (made.opened && made.edited) {
        std::string text = textOf(*data, run.options);
        made.outputs.push_back({run.nameOf(i), std::move(data), std::move(text)});
    }
    return made;
}

// Draws an output's plot when one is asked for; false after reporting why it could not be drawn.
bool drawPlot(const Run& run, const DataSet& data, const fs::path& plot) {
    if (plot.empty()) {
        return true;
    }
    return run.reporter.check(
        os::utf8Of(plot), run.plots(data, os::utf8Of(plot), *run.options.plotFormat, run.platform));
}

// Hands what was made of data set i to the destination, each output's plot drawn before its
// text is written; false when something of it failed.
bool deliver(const Run& run, std::size_t i, Made& made) {
    if (!run.reporter.check(run.source.file(i), made.opened) ||
        !run.reporter.check(run.source.file(i), made.edited)) {
        return false;
    }
    bool delivered = true;
    for (const Output& output : made.outputs) {
        const Targets targets = run.destination.targets(output.name);
        delivered = drawPlot(run, *output.data, targets.plot) &&
                    run.destination.write(targets, output.text) && delivered;
    }
    return delivered;
}

// The files the run reads; none of them may be written.
std::vector<fs::path> inputsOf(const Run& run) {
    std::vector<fs::path> inputs;
    for (const std::string* name :
         {&run.options.fitFile, &run.options.blankFile, &run.options.comments}) {
        inputs.push_back(os::pathFromUtf8(*name));
    }
    for (std::size_t i = 0; i < run.source.count(); ++i) {
        inputs.push_back(os::pathFromUtf8(run.source.file(i)));
    }
    return inputs;
}

// Before anything is read, every file the run will write is claimed; false after reporting the
// first that may not be written. Of a single data set, messages name its data file.
bool claimTargets(const Run& run) {
    const bool many = run.options.manyDataSets();
    OutputCheck check(inputsOf(run), many ? run.source.kind() : "");
    for (std::size_t i = 0; i < run.source.count(); ++i) {
        const std::string label = many ? run.source.label(i) : run.source.file(i);
        const Targets targets = run.destination.targets(run.nameOf(i));
        for (const fs::path* target : {&targets.output, &targets.plot}) {
            if (!target->empty() && !run.reporter.check(check.claim(*target, label))) {
                return false;
            }
        }
    }
    return true;
}

// The one way through a run, for one data set or many, from data files or a fit file: the data
// sets are read and edited on every core, and their plots drawn and results written in order.
int runThrough(const Run& run) {
    if (!claimTargets(run)) {
        return BatchFailed;
    }
    const std::size_t count = run.source.count();
    const bool allOrNone = run.source.refusal() == DataSetSource::Refusal::AllOrNone;
    BatchProgress progress(count, run.reporter);
    bool failed = false;
    std::vector<Made> held; // all or none: everything is read before anything is written
    inOrder<Made>(
        count, [&run](std::size_t i) { return make(run, i); },
        [&](std::size_t i, Made& made) {
            if (allOrNone) {
                held.push_back(std::move(made));
                return;
            }
            failed = !deliver(run, i, made) || failed;
            progress.done();
        });
    for (std::size_t i = 0; i < held.size(); ++i) {
        if (!held[i].opened) {
            run.reporter.failed(run.source.file(i), held[i].opened.failure());
            return BatchFailed;
        }
    }
    for (std::size_t i = 0; i < held.size(); ++i) {
        failed = !deliver(run, i, held[i]) || failed;
        progress.done();
    }
    failed = !run.destination.finish() || failed;
    return failed ? BatchFailed : BatchOk;
}

// Runs on the data sets of `source` into the destination the options name.
int runOn(const DataSetSource& source, const BatchOptions& options, const SharedInputs& shared,
          const PlotWriter& plots, std::ostream& out, BatchReporter& reporter) {
    BatchPlatform platform(reporter);
    if (!options.manyDataSets()) {
        SingleResult single(options, out, reporter);
        return runThrough({options, shared, plots, platform, reporter, source, single});
    }
    for (const std::string* folder : {&options.output, &options.plot}) {
        if (!folder->empty() && !reporter.check(*folder, isFolder(*folder))) {
            return BatchFailed;
        }
    }
    FolderResults folders(options, reporter);
    return runThrough({options, shared, plots, platform, reporter, source, folders});
}

} // namespace

int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const PlotWriter& plots) {
    BatchReporter reporter(err);
    const auto parsed = parseBatchArguments(args);
    if (!parsed) {
        reporter.usage(parsed.reason());
        return BatchUsageError;
    }
    const BatchOptions& options = *parsed;
    if (!options.plot.empty() && !plots) {
        reporter.usage("option --plot is not available: this skerry-batch was built without Qt");
        return BatchUsageError;
    }
    if (options.help) {
        out << batchUsage(static_cast<bool>(plots));
        return out ? BatchOk : BatchFailed;
    }
    SharedInputs shared;
    if (!readSharedInputs(options, shared, reporter)) {
        return BatchFailed;
    }
    if (options.fitFile.empty()) {
        return runOn(DataFiles(options.dataFiles), options, shared, plots, out, reporter);
    }
    const auto fit = FitEntries::read(options, reporter);
    if (!reporter.check(options.fitFile, fit)) {
        return BatchFailed;
    }
    return runOn(*fit, options, shared, plots, out, reporter);
}

} // namespace skerry
