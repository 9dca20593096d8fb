#include "skerry/batch/BatchRun.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <ostream>
#include <set>

#include "skerry/batch/InOrder.h"
#include "skerry/ground/FileIO.h"
#include "skerry/ground/ProfileFile.h"
#include "skerry/input/BlankCorrection.h"
#include "skerry/input/DataLibrary.h"
#include "skerry/input/FitFile.h"
#include "skerry/model/DataSet.h"
#include "skerry/model/Listing.h"
#include "skerry/operations/Comments.h"
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

bool readSharedInputs(const BatchOptions& options, SharedInputs& shared, std::ostream& err) {
    if (!options.blankFile.empty()) {
        shared.blank = std::make_unique<ScanFile>();
        if (Done read = readScanFile(options.blankFile, *shared.blank); !read) {
            err << "skerry-batch: " << options.blankFile << ": " << read.reason() << "\n";
            return false;
        }
    }
    if (!options.comments.empty()) {
        auto comments = readWholeFile(os::pathFromUtf8(options.comments), MaxCommentFileBytes);
        if (!comments) {
            err << "skerry-batch: " << options.comments << ": " << comments.reason() << "\n";
            return false;
        }
        shared.comments = *std::move(comments);
    }
    return true;
}

// What the options make of a loaded data set, in the program's order: the blank as Get Blank
// subtracts it, the comment lines, the sign, the noise; then the text Save or the listing holds.
std::string editedText(DataSet& data, const BatchOptions& options, const SharedInputs& shared) {
    if (shared.blank) {
        takeBlank(data, *shared.blank, options.blankFile);
        applyBlank(data);
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
    return options.listing ? listingText(data)
                           : editedFileText(data, {!options.truncated, !options.xi});
}

// Where the data sets of a run come from: data files, or the data sets of a fit file's list.
struct FitSource {
    FitFileList list;
    ProfileFile profile;
};

// One run: its options, how it draws plots, where its messages go and what it reads once.
struct Run {
    const BatchOptions& options;
    const PlotWriter& plots;
    std::ostream& err;
    SharedInputs shared;
};

// Draws the plot of an edited data set into `plot` when one is asked for; false after telling
// `err` why it could not be drawn.
bool drawPlot(Run& run, const DataSet& data, const fs::path& plot) {
    if (plot.empty()) {
        return true;
    }
    const Done drawn = run.plots(data, os::utf8Of(plot), *run.options.plotFormat);
    if (!drawn) {
        run.err << "skerry-batch: " << os::utf8Of(plot) << ": " << drawn.reason() << "\n";
    }
    return drawn.ok();
}

// A data file read and edited as the options say, or why it was refused. Touches nothing but
// its own data set, so that several are made at once.
struct Edited {
    std::unique_ptr<DataSet> data = std::make_unique<DataSet>();
    std::optional<std::string> text;
    std::string refusal;
};

Edited edit(const Run& run, const std::string& dataFile) {
    Edited edited;
    if (Done opened = openScan(*edited.data, dataFile); !opened) {
        edited.refusal = "skerry-batch: " + dataFile + ": " + opened.reason() + "\n";
    } else {
        edited.text = editedText(*edited.data, run.options, run.shared);
    }
    return edited;
}

// The result of one data file: its text, or nullopt after telling `err` why it failed; its plot
// drawn into `plot` when one is asked for.
std::optional<std::string> finish(Run& run, Edited& edited, const fs::path& plot) {
    run.err << edited.refusal;
    if (edited.text && !drawPlot(run, *edited.data, plot)) {
        return std::nullopt;
    }
    return std::move(edited.text);
}

std::optional<std::string> runOne(Run& run, const FitSource& fit, int k, const ScanFile& scan,
                                  const fs::path& plot) {
    Edited edited;
    reopenScan(*edited.data, fit.list, k, scan, fit.profile);
    edited.text = editedText(*edited.data, run.options, run.shared);
    return finish(run, edited, plot);
}

// Reads the data file of the list's entry k; nullptr after telling `err` why it was refused.
std::unique_ptr<ScanFile> readEntryScan(const FitFileList& list, int k, std::ostream& err) {
    auto scan = std::make_unique<ScanFile>();
    if (Done read = readFitDataFile(list, k, *scan); !read) {
        err << "skerry-batch: " << list.path(k) << ": " << read.reason() << "\n";
        return nullptr;
    }
    return scan;
}

// Reads the fit file's list as File > Get File(s) From Fit-File does, with names that are not
// full paths taken from the fit file's folder. Its messages go to `err`; a list with missing
// data files is a warning. nullopt: the list was refused.
std::optional<FitSource> readBatchFitList(const std::string& fitFile, std::ostream& err) {
    std::error_code ignored;
    const auto folder = fs::absolute(os::pathFromUtf8(fitFile), ignored).parent_path();
    FitFileReading fit = readFitFile(fitFile, folder);
    const FitListReading& reading = fit.list;
    if (!reading.list) {
        err << "skerry-batch: " << fitFile << ": " << reading.list.reason() << "\n";
        return std::nullopt;
    }
    if (reading.message) {
        err << "skerry-batch: " << fitFile << ": warning: " << reading.message->text << "\n";
    }
    return FitSource{*reading.list, std::move(fit.profile)};
}

// The files a run reads; none of them may be written.
std::vector<fs::path> runInputs(const BatchOptions& options,
                                const std::vector<std::string>& dataFiles) {
    std::vector<fs::path> inputs;
    for (const std::string* name : {&options.fitFile, &options.blankFile, &options.comments}) {
        inputs.push_back(os::pathFromUtf8(*name));
    }
    for (const std::string& name : dataFiles) {
        inputs.push_back(os::pathFromUtf8(name));
    }
    return inputs;
}

// What each output of a run is written from, as a message names it: the data files, or "data
// sets" and the entry numbers of a fit file's list.
struct Sources {
    std::string kind;
    std::vector<std::string> names;
};

// True, after telling `err`, when writing one of `targets` would replace one of `inputs` or two
// data sets would go to the same file. Files are compared, not names, so that a link or another
// spelling of an input's path counts too.
bool outputsClash(const std::vector<fs::path>& targets, const Sources& sources,
                  const std::vector<fs::path>& inputs, std::ostream& err) {
    std::set<FileIdentity> inputFiles;
    for (const fs::path& input : inputs) {
        if (const auto id = input.empty() ? std::nullopt : fileIdentity(input)) {
            inputFiles.insert(*id);
        }
    }
    std::set<fs::path> seen;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        if (!seen.insert(targets[i]).second) {
            const auto j = static_cast<std::size_t>(
                std::find(targets.begin(), targets.end(), targets[i]) - targets.begin());
            err << "skerry-batch: " << sources.kind << sources.names[j] << " and "
                << sources.names[i] << " would both be written to " << os::utf8Of(targets[i])
                << "\n";
            return true;
        }
        if (const auto id = fileIdentity(targets[i]); id && inputFiles.contains(*id)) {
            err << "skerry-batch: " << os::utf8Of(targets[i])
                << ": is an input and would be overwritten\n";
            return true;
        }
    }
    return false;
}

// Where a single result goes.
enum class Output { Standard, File, None };

Output outputOf(const BatchOptions& options) {
    if (options.output == "-") {
        return Output::Standard;
    }
    if (options.output.empty()) {
        // Asked only for a plot, a run writes no edited file.
        return options.plot.empty() ? Output::Standard : Output::None;
    }
    return Output::File;
}

// Writes one result to standard output or replaces the file options.output with it.
int writeResult(const std::optional<std::string>& text, const BatchOptions& options,
                std::ostream& out, std::ostream& err) {
    if (!text) {
        return BatchFailed;
    }
    switch (outputOf(options)) {
    case Output::Standard:
        out.write(text->data(), static_cast<std::streamsize>(text->size()));
        out.flush();
        if (!out) {
            err << "skerry-batch: standard output: write failed\n";
            return BatchFailed;
        }
        return BatchOk;
    case Output::File:
        if (Done written = writeFileAtomically(os::pathFromUtf8(options.output), *text); !written) {
            err << "skerry-batch: " << options.output << ": " << written.reason() << "\n";
            return BatchFailed;
        }
        return BatchOk;
    case Output::None:
        return BatchOk;
    }
    return BatchOk;
}

// The files a single result goes to, for the check against the inputs.
std::vector<fs::path> singleTargets(const BatchOptions& options) {
    std::vector<fs::path> targets;
    if (outputOf(options) == Output::File) {
        targets.push_back(os::pathFromUtf8(options.output));
    }
    if (!options.plot.empty()) {
        targets.push_back(os::pathFromUtf8(options.plot));
    }
    return targets;
}

bool isFolder(const std::string& path, std::ostream& err) {
    const auto entry = os::lookAt(os::pathFromUtf8(path));
    if (!entry || entry->kind != os::EntryKind::Folder) {
        err << "skerry-batch: " << path << ": not a folder\n";
        return false;
    }
    return true;
}

// Files done of all and the time left, on one line that a terminal rewrites in place.
class Progress {
public:
    Progress(std::size_t total, std::ostream& err)
        : total_(total), err_(err), shown_(total > 1 && os::standardErrorIsTerminal()),
          start_(std::chrono::steady_clock::now()) {}

    void done(std::size_t count) {
        if (!shown_) {
            return;
        }
        const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start_;
        const auto left = static_cast<long>(spent.count() / static_cast<double>(count) *
                                            static_cast<double>(total_ - count));
        err_ << "\rskerry-batch: " << count << " of " << total_ << " files, " << left / 60 << ":"
             << (left % 60 < 10 ? "0" : "") << left % 60 << " left " << std::flush;
        if (count == total_) {
            err_ << "\n";
        }
    }

private:
    std::size_t total_;
    std::ostream& err_;
    bool shown_;
    std::chrono::steady_clock::time_point start_;
};

// Many results into the folder options.output: each is written beside its target as it is
// made, and all are put in place together at the end. Without -o only plots are written.
class FolderOutput {
public:
    FolderOutput(std::size_t total, std::ostream& err) : progress_(total, err), err_(err) {}

    void add(const fs::path& target, const std::optional<std::string>& text) {
        if (!text) {
            failed_ = true;
        } else if (!target.empty()) {
            if (Done added = files_.add(target, *text); !added) {
                err_ << "skerry-batch: " << os::utf8Of(target) << ": " << added.reason() << "\n";
                failed_ = true;
            }
        }
        progress_.done(++count_);
    }

    int commit() {
        for (const auto& failure : files_.commit()) {
            err_ << "skerry-batch: " << os::utf8Of(failure.target) << ": " << failure.error.reason
                 << "\n";
            failed_ = true;
        }
        return failed_ ? BatchFailed : BatchOk;
    }

private:
    FileBatch files_;
    Progress progress_;
    std::ostream& err_;
    std::size_t count_ = 0;
    bool failed_ = false;
};

// Where the results of many data sets go: each data file's edited file under its own name in
// the folder -o names, and its plot in the folder --plot names, named after it.
struct FolderTargets {
    std::vector<fs::path> outputs; // empty paths when there is no -o
    std::vector<fs::path> plots;   // empty paths when there is no --plot
    Sources sources;               // what each output and plot is written from
    std::vector<fs::path> all;     // every file to be written, for the checks
};

std::optional<FolderTargets> folderTargets(const BatchOptions& options,
                                           const std::vector<std::string>& dataFiles, Sources names,
                                           std::ostream& err) {
    const bool outputs = !options.output.empty();
    const bool plots = !options.plot.empty();
    if ((outputs && !isFolder(options.output, err)) || (plots && !isFolder(options.plot, err))) {
        return std::nullopt;
    }
    FolderTargets targets;
    targets.sources.kind = names.kind;
    for (std::size_t i = 0; i < dataFiles.size(); ++i) {
        const fs::path file = os::pathFromUtf8(dataFiles[i]);
        targets.outputs.push_back(outputs ? os::pathFromUtf8(options.output) / file.filename()
                                          : fs::path());
        fs::path plot;
        if (plots) {
            plot = os::pathFromUtf8(options.plot) / file.filename();
            plot.replace_extension(plotFileExtension(*options.plotFormat));
        }
        targets.plots.push_back(plot);
        for (const fs::path& target : {targets.outputs.back(), targets.plots.back()}) {
            if (!target.empty()) {
                targets.all.push_back(target);
                targets.sources.names.push_back(names.names[i]);
            }
        }
    }
    if (outputsClash(targets.all, targets.sources, runInputs(options, dataFiles), err)) {
        return std::nullopt;
    }
    return targets;
}

int runOnDataFiles(Run& run, std::ostream& out) {
    const BatchOptions& options = run.options;
    const std::vector<std::string>& files = options.dataFiles;
    if (files.size() == 1) {
        if (outputsClash(singleTargets(options), {"", {files.front(), files.front()}},
                         runInputs(options, files), run.err)) {
            return BatchFailed;
        }
        Edited edited = edit(run, files.front());
        return writeResult(finish(run, edited, os::pathFromUtf8(options.plot)), options, out,
                           run.err);
    }
    const auto targets = folderTargets(options, files, {"", files}, run.err);
    if (!targets) {
        return BatchFailed;
    }
    // Files are read and edited on every core; plots are drawn and results written in order.
    FolderOutput output(files.size(), run.err);
    inOrder<Edited>(
        files.size(), [&run, &files](std::size_t i) { return edit(run, files[i]); },
        [&](std::size_t i, Edited& edited) {
            output.add(targets->outputs[i], finish(run, edited, targets->plots[i]));
        });
    return output.commit();
}

// Every data set of the list, each written into the folders under its data file's own name.
// The names are checked and every data file is read before anything is written.
int runOnAllFitEntries(Run& run, const FitSource& fit) {
    const int count = fit.list.FitFoundCount;
    std::vector<std::string> dataFiles;
    Sources names{"data sets ", {}};
    for (int k = 1; k <= count; ++k) {
        dataFiles.push_back(fit.list.path(k));
        names.names.push_back(std::to_string(k));
    }
    const auto targets = folderTargets(run.options, dataFiles, names, run.err);
    if (!targets) {
        return BatchFailed;
    }
    std::vector<std::unique_ptr<ScanFile>> scans;
    for (int k = 1; k <= count; ++k) {
        scans.push_back(readEntryScan(fit.list, k, run.err));
        if (!scans.back()) {
            return BatchFailed;
        }
    }
    FolderOutput output(static_cast<std::size_t>(count), run.err);
    for (int k = 1; k <= count; ++k) {
        const auto index = static_cast<std::size_t>(k - 1);
        output.add(targets->outputs[index],
                   runOne(run, fit, k, *scans[index], targets->plots[index]));
    }
    return output.commit();
}

int runOnFitFile(Run& run, std::ostream& out) {
    const BatchOptions& options = run.options;
    const auto fit = readBatchFitList(options.fitFile, run.err);
    if (!fit) {
        return BatchFailed;
    }
    if (options.allFitEntries) {
        return runOnAllFitEntries(run, *fit);
    }
    const int entry = options.fitEntry.value_or(1);
    if (entry > fit->list.FitFoundCount) {
        run.err << "skerry-batch: " << options.fitFile << ": no data set " << entry << ", only "
                << fit->list.FitFoundCount << " of the listed data files exist\n";
        return BatchFailed;
    }
    const std::vector<std::string> dataFile = {fit->list.path(entry)};
    if (outputsClash(singleTargets(options), {"", {dataFile.front(), dataFile.front()}},
                     runInputs(options, dataFile), run.err)) {
        return BatchFailed;
    }
    const auto scan = readEntryScan(fit->list, entry, run.err);
    if (!scan) {
        return BatchFailed;
    }
    return writeResult(runOne(run, *fit, entry, *scan, os::pathFromUtf8(options.plot)), options,
                       out, run.err);
}

} // namespace

int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const PlotWriter& plots) {
    const auto parsed = parseBatchArguments(args);
    const char* refusal = nullptr;
    if (!parsed) {
        refusal = parsed.reason().c_str();
    } else if (!parsed->plot.empty() && !plots) {
        refusal = "option --plot is not available: this skerry-batch was built without Qt";
    }
    if (refusal != nullptr) {
        err << "skerry-batch: " << refusal << "\n"
            << "Try 'skerry-batch --help' for more information.\n";
        return BatchUsageError;
    }
    const BatchOptions& options = *parsed;
    if (options.help) {
        out << batchUsage(static_cast<bool>(plots));
        return out ? BatchOk : BatchFailed;
    }
    Run run{options, plots, err, {}};
    if (!readSharedInputs(options, run.shared, err)) {
        return BatchFailed;
    }
    if (!options.fitFile.empty()) {
        return runOnFitFile(run, out);
    }
    return runOnDataFiles(run, out);
}

} // namespace skerry
