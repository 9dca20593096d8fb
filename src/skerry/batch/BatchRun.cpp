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
#include "skerry/session/SavedFiles.h"
#include "skerry/suggest/Suggestion.h"

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

// What the options make of a loaded data set before the suggested edits: the blank as Get Blank
// subtracts it, the points kept; or why the data set does not suit them.
Done prepare(DataSet& data, const BatchOptions& options, const SharedInputs& shared) {
    if (shared.blank) {
        takeBlank(data, *shared.blank, options.blankFile);
        applyBlank(data);
    }
    if (options.keep) {
        return keepWithin(data, *options.keep);
    }
    return {};
}

// The columns --auto and --suggest go by: looked for within --keep's limits.
Outcome<Suggestion> suggestionFor(const DataSet& data, const BatchOptions& options) {
    SuggestSettings settings;
    if (options.keep) {
        settings.lowX = options.keep->low;
        settings.highX = options.keep->high;
    }
    return suggestEdits(data, settings);
}

// What the options make of a data set after the suggested edits, in the program's order: the
// comment lines, the sign, the noise.
void finish(DataSet& data, const BatchOptions& options, const SharedInputs& shared) {
    if (shared.comments) {
        readCommentLines(data, *shared.comments);
    }
    if (options.invert) {
        invertSign(data);
    }
    if (options.noiseRms) {
        addNoiseFromSeed(data, *options.noiseRms, *options.seed);
    }
}

// The text written of an edited data set: the file Save writes, or the listing.
std::string textOf(const DataSet& data, const BatchOptions& options) {
    return options.listing ? listingText(data)
                           : editedFileText(data, {!options.truncated, !options.xi});
}

// What --suggest prints of a data set: a line for each column, tab-separated: the data file, K
// (1 nearest the axis), the x of the first and the last point kept, the x of the spikes
// separated by commas. Every x in the fewest digits that --keep reads back as the same value.
std::string suggestionText(const std::string& file, const DataSet& data,
                           const Suggestion& suggestion) {
    std::string text;
    const auto x = [&data](std::int32_t i) {
        return xLimitText(data.WorkPoints(i).x);
    };
    for (std::size_t k = 0; k < suggestion.columns.size(); ++k) {
        const SolutionColumn& column = suggestion.columns[k];
        text += file + "\t" + std::to_string(k + 1) + "\t" + x(column.first) + "\t" +
                x(column.last) + "\t";
        for (std::size_t s = 0; s < column.spikes.size(); ++s) {
            text += (s == 0 ? "" : ",") + x(column.spikes[s]);
        }
        text += "\n";
    }
    return text;
}

// One output of a data set: the name its files take, the data set its plot shows (none when no
// plot is asked for, so that a run that holds its outputs holds only their texts), its text.
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
struct Job {
    const BatchOptions& options;
    const SharedInputs& shared;
    const PlotWriter& plots;
    Platform& platform; // what the plots are drawn with
    BatchReporter& reporter;
    const DataSetSource& source;
    BatchDestination& destination;

    fs::path nameOf(std::size_t i) const { return os::pathFromUtf8(source.file(i)).filename(); }
};

// Finishes an edited data set and adds it to what is made of it, under `name`.
void addOutput(const Job& run, Made& made, fs::path name, std::unique_ptr<DataSet> data) {
    finish(*data, run.options, run.shared);
    std::string text = textOf(*data, run.options);
    if (run.options.plot.empty()) {
        data.reset();
    }
    made.outputs.push_back({std::move(name), std::move(data), std::move(text)});
}

// Reads and edits data set i. Touches nothing but its own data set, so that several are made at
// once.
Made make(const Job& run, std::size_t i) {
    Made made;
    auto data = std::make_unique<DataSet>();
    made.opened = run.source.open(i, *data);
    if (made.opened) {
        made.edited = prepare(*data, run.options, run.shared);
    }
    if (!made.opened || !made.edited) {
        return made;
    }
    if (!run.options.autoEdit && !run.options.suggest) {
        addOutput(run, made, run.nameOf(i), std::move(data));
        return made;
    }
    const auto suggestion = suggestionFor(*data, run.options);
    if (!suggestion) {
        made.edited = suggestion.failure();
    } else if (run.options.suggest) {
        made.outputs.push_back(
            {run.nameOf(i), nullptr, suggestionText(run.source.file(i), *data, *suggestion)});
    } else if (!run.options.channels) {
        applySuggestion(*data, *suggestion);
        addOutput(run, made, run.nameOf(i), std::move(data));
    } else {
        // Saved column by column as the window saves a scan of a run after "Suggest Edits".
        auto scan = std::make_unique<RunScan>(RunScan{std::move(*data), {}});
        applySuggestion(*scan, *suggestion);
        for (NamedDataSet& column : columnDataSets(scan->data, run.nameOf(i), scan->columns)) {
            addOutput(run, made, std::move(column.name),
                      std::make_unique<DataSet>(std::move(column.data)));
        }
    }
    return made;
}

// Draws an output's plot when one is asked for; false after reporting why it could not be drawn.
bool drawPlot(const Job& run, const Output& output, const fs::path& plot) {
    if (plot.empty()) {
        return true;
    }
    return run.reporter.check(os::utf8Of(plot), run.plots(*output.data, os::utf8Of(plot),
                                                          *run.options.plotFormat, run.platform));
}

// Hands what was made of data set i to the destination, each output's plot drawn before its
// text is written; false when something of it failed.
bool deliver(const Job& run, std::size_t i, Made& made) {
    if (!run.reporter.check(run.source.file(i), made.opened) ||
        !run.reporter.check(run.source.file(i), made.edited)) {
        return false;
    }
    bool delivered = true;
    for (const Output& output : made.outputs) {
        const Targets targets = run.destination.targets(output.name);
        delivered = drawPlot(run, output, targets.plot) &&
                    run.destination.write(targets, output.text) && delivered;
    }
    return delivered;
}

// The files the run reads; none of them may be written.
std::vector<fs::path> inputsOf(const Job& run) {
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

// The outputs a run writes, each as the data set it is made of and the name its files take.
using NamedOutputs = std::vector<std::pair<std::size_t, fs::path>>;

// Before anything is written, every file the run will write is claimed; false after reporting
// the first that may not be written. Of a single data set, messages name its data file.
bool claimTargets(const Job& run, const NamedOutputs& outputs) {
    const bool many = run.options.manyDataSets();
    OutputCheck check(inputsOf(run), many ? run.source.kind() : "");
    for (const auto& [i, name] : outputs) {
        const std::string label = many ? run.source.label(i) : run.source.file(i);
        const Targets targets = run.destination.targets(name);
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
// Outputs named after their data files are claimed before anything is read; the names of
// --channels are known only once a scan is edited, so such a run holds what it makes and claims
// every output before anything is written.
int runThrough(const Job& run) {
    const std::size_t count = run.source.count();
    const bool namedLate = run.options.channels;
    if (!namedLate) {
        NamedOutputs outputs;
        for (std::size_t i = 0; i < count; ++i) {
            outputs.emplace_back(i, run.nameOf(i));
        }
        if (!claimTargets(run, outputs)) {
            return BatchFailed;
        }
    }
    const bool allOrNone = run.source.refusal() == DataSetSource::Refusal::AllOrNone;
    BatchProgress progress(count, run.reporter);
    bool failed = false;
    std::vector<Made> held; // everything is made before anything is written
    inOrder<Made>(
        count, [&run](std::size_t i) { return make(run, i); },
        [&](std::size_t i, Made& made) {
            if (allOrNone || namedLate) {
                held.push_back(std::move(made));
                return;
            }
            failed = !deliver(run, i, made) || failed;
            progress.done();
        });
    for (std::size_t i = 0; allOrNone && i < held.size(); ++i) {
        if (!held[i].opened) {
            run.reporter.failed(run.source.file(i), held[i].opened.failure());
            return BatchFailed;
        }
    }
    if (namedLate) {
        NamedOutputs outputs;
        for (std::size_t i = 0; i < held.size(); ++i) {
            for (const Output& output : held[i].outputs) {
                outputs.emplace_back(i, output.name);
            }
        }
        if (!claimTargets(run, outputs)) {
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
    // --suggest prints every data set's lines on standard output and writes no file.
    if (!options.manyDataSets() || options.suggest) {
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
