#include "skerry/batch/BatchRun.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string_view>

#include "skerry/ground/FileIO.h"
#include "skerry/ground/ProfileFile.h"
#include "skerry/input/DataLibrary.h"
#include "skerry/input/FitFile.h"
#include "skerry/model/DataSet.h"
#include "skerry/model/Listing.h"
#include "skerry/operations/Comments.h"
#include "skerry/operations/Noise.h"
#include "skerry/operations/SignInversion.h"
#include "skerry/output/EditedDataFile.h"
#include "skerry/session/DataSetOperations.h"

namespace skerry {

namespace {

// A seed as typed: decimal digits only, within 32 bits.
std::optional<std::uint32_t> seedFromText(std::string_view text) {
    if (text.empty() || text.size() > 10) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (value > 0xFFFFFFFFu) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

// A fit file's data set as typed: 1 to 15, the entries of the "LoadedFiles" submenu.
std::optional<int> fitEntryFromText(std::string_view text) {
    if (text.empty() || text.size() > 2 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const int entry = std::stoi(std::string(text));
    if (entry < 1 || entry > MaxFitDataSets) {
        return std::nullopt;
    }
    return entry;
}

struct OptionRule {
    std::string_view longName;
    std::string_view shortName;
    bool takesValue;
    std::function<void(BatchOptions&, const std::string&)> apply;
};

const std::vector<OptionRule>& optionRules() {
    static const std::vector<OptionRule> rules = {
        {"--help", "-h", false,
         [](BatchOptions& o, const std::string&) {
             o.help = true;
         }},
        {"--truncated", "", false,
         [](BatchOptions& o, const std::string&) {
             o.truncated = true;
         }},
        {"--xi", "", false,
         [](BatchOptions& o, const std::string&) {
             o.xi = true;
         }},
        {"--listing", "", false,
         [](BatchOptions& o, const std::string&) {
             o.listing = true;
         }},
        {"--comments", "", true,
         [](BatchOptions& o, const std::string& v) {
             o.comments = v;
         }},
        {"--invert", "", false,
         [](BatchOptions& o, const std::string&) {
             o.invert = true;
         }},
        {"--noise", "", true,
         [](BatchOptions& o, const std::string& v) {
             o.noiseRms = noiseLevelFromText(v);
             if (!o.noiseRms) {
                 throw std::invalid_argument("needs a number as the RMS level, not '" + v + "'");
             }
         }},
        {"--seed", "", true,
         [](BatchOptions& o, const std::string& v) {
             o.seed = seedFromText(v);
             if (!o.seed) {
                 throw std::invalid_argument("needs a whole number from 0 to 4294967295, not '" +
                                             v + "'");
             }
         }},
        {"--blank", "", true,
         [](BatchOptions& o, const std::string& v) {
             o.blankFile = v;
         }},
        {"--fit", "", true,
         [](BatchOptions& o, const std::string& v) {
             o.fitFile = v;
         }},
        {"--entry", "", true,
         [](BatchOptions& o, const std::string& v) {
             // The last --entry counts.
             o.allFitEntries = v == "all";
             if (o.allFitEntries) {
                 o.fitEntry.reset();
                 return;
             }
             o.fitEntry = fitEntryFromText(v);
             if (!o.fitEntry) {
                 throw std::invalid_argument(
                     "needs a data set number from 1 to 15 or 'all', not '" + v + "'");
             }
         }},
        {"--output", "-o", true,
         [](BatchOptions& o, const std::string& v) {
             o.output = v;
         }},
    };
    return rules;
}

const OptionRule* findRule(std::string_view name) {
    for (const auto& rule : optionRules()) {
        if (name == rule.longName || (!rule.shortName.empty() && name == rule.shortName)) {
            return &rule;
        }
    }
    return nullptr;
}

BatchArguments usageError(std::string message) {
    return {std::nullopt, std::move(message)};
}

} // namespace

BatchArguments parseBatchArguments(const std::vector<std::string>& args) {
    BatchOptions options;
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::optional<std::string> value;
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
        }
        const OptionRule* rule = findRule(name);
        if (rule == nullptr) {
            return usageError("unknown option " + name);
        }
        if (rule->takesValue && !value) {
            if (i + 1 == args.size()) {
                return usageError("option " + name + " needs a value");
            }
            value = args[++i];
        } else if (!rule->takesValue && value) {
            return usageError("option " + name + " takes no value");
        }
        // A rule refuses a value it cannot use by throwing std::invalid_argument.
        try {
            rule->apply(options, value.value_or(""));
        } catch (const std::invalid_argument& refusal) {
            return usageError("option " + name + " " + refusal.what());
        }
    }
    // The noise is reproducible only from a seed, and a seed alone has nothing to do.
    if (options.noiseRms && !options.seed) {
        return usageError("option --noise needs --seed");
    }
    if (options.seed && !options.noiseRms) {
        return usageError("option --seed needs --noise");
    }
    if ((options.fitEntry || options.allFitEntries) && options.fitFile.empty()) {
        return usageError("option --entry needs --fit");
    }
    if (options.allFitEntries && options.output.empty()) {
        return usageError("option --entry all needs -o DIR");
    }
    if (options.help) {
        return {options, {}};
    }
    if (!options.fitFile.empty()) {
        if (!operands.empty()) {
            return usageError("a data file and --fit both named");
        }
        return {options, {}};
    }
    if (operands.size() != 1) {
        return usageError(operands.empty() ? "no data file named"
                                           : "more than one data file named");
    }
    options.dataFile = operands.front();
    return {options, {}};
}

std::string batchUsage() {
    return "Usage: skerry-batch [--truncated] [--xi] [--listing] [--comments FILE]\n"
           "                    [--invert] [--noise RMS --seed N] [--blank FILE] [-o OUT]\n"
           "                    DATAFILE | --fit FITFILE [--entry K | --entry all -o DIR]\n"
           "\n"
           "Loads a scan file as Skerry's File > Get Data does, or a data set of a fit file\n"
           "as File > Get File(s) From Fit-File re-opens it, and writes what Save would\n"
           "write, byte for byte the same as the program.\n"
           "\n"
           "  --truncated    write only the retained range, from the first to the last\n"
           "                 good point (Save > Truncated); default: every point\n"
           "  --xi           write x as XI = R^2/2 (Save > ... (as R^2/2)); default: x as\n"
           "                 stored\n"
           "  --listing      print the listing of the \"Edited Data File\" pane instead\n"
           "  --comments FILE\n"
           "                 make the lines of FILE the comment lines (cut to 96 characters,\n"
           "                 at most 50), as Edit > Comment Lines stores them\n"
           "  --invert       change the sign of every reading (Edit > Invert Sign of Data)\n"
           "  --noise RMS --seed N\n"
           "                 add random noise of RMS level RMS (Edit > Add Random Noise),\n"
           "                 drawn from seed N (0 to 4294967295): one seed, one result.\n"
           "                 These three apply in this order: comments, invert, noise\n"
           "  --blank FILE   subtract the blank scan FILE as File > Get Blank does, right\n"
           "                 after loading (the listing keeps its ordinary form)\n"
           "  --fit FITFILE  take the data set from the fit file FITFILE instead of a\n"
           "                 DATAFILE, with the limits and deleted points stored for it;\n"
           "                 names in FITFILE that are not full paths are looked up in its\n"
           "                 folder\n"
           "  --entry K      which data set of FITFILE: the K-th listed data file that\n"
           "                 exists (1 to 15), as the \"LoadedFiles\" menu counts them;\n"
           "                 default 1\n"
           "  --entry all    every data set of FITFILE, each written into the folder DIR\n"
           "                 given with -o under its data file's own name\n"
           "  -o, --output OUT\n"
           "                 write to the file OUT (replaced as a whole) instead of\n"
           "                 standard output; OUT may not be one of the input files;\n"
           "                 -o - is standard output\n"
           "  -h, --help     show this text\n"
           "\n"
           "Exit status: 0 success, 1 an input or output failed, 2 a usage error.\n";
}

// Blank correction and fit files: where a run's data set comes from, and the runs over a fit
// file's list.
namespace {

namespace fs = std::filesystem;

// No -o, or "-o -": the result goes to standard output.
bool writesToStandardOutput(const BatchOptions& options) {
    return options.output.empty() || options.output == "-";
}

// The files a run reads besides its data files.
std::vector<fs::path> otherInputs(const BatchOptions& options) {
    return {options.fitFile, options.blankFile, options.comments};
}

// True, after telling `err`, when writing `target` would replace one of `inputs`. Files are
// compared, not names, so that a link or another spelling of an input's path counts too.
bool wouldOverwriteInput(const fs::path& target, const std::vector<fs::path>& inputs,
                         std::ostream& err) {
    std::error_code error;
    for (const fs::path& input : inputs) {
        if (!input.empty() && fs::equivalent(target, input, error)) {
            err << "skerry-batch: " << target.string()
                << ": is an input and would be overwritten\n";
            return true;
        }
    }
    return false;
}

// A data set of a fit file's list, its data file already read.
struct FitSource {
    const FitFileList& list;
    const ProfileFile& profile;
    int entry;
    const ScanFile& scan;
};

// Reads the data file of the list's entry k; nullptr after telling `err` why it was refused.
std::unique_ptr<ScanFile> readEntryScan(const FitFileList& list, int k, std::ostream& err) {
    auto scan = std::make_unique<ScanFile>();
    if (auto refusal = readFitDataFile(list, k, *scan)) {
        err << "skerry-batch: " << list.path(k) << ": " << *refusal << "\n";
        return nullptr;
    }
    return scan;
}

// Loads the data set a run works on as the program would: a data file as Get Data reads it, or
// a fit file's data set as choosing it from "LoadedFiles" re-opens it; then --blank as Get Blank
// applies it.
bool loadBatchDataSet(DataSet& data, const BatchOptions& options, const FitSource* fit,
                      std::ostream& err) {
    if (fit == nullptr) {
        if (auto refusal = openScan(data, options.dataFile)) {
            err << "skerry-batch: " << options.dataFile << ": " << *refusal << "\n";
            return false;
        }
    } else {
        reopenScan(data, fit->list, fit->entry, fit->scan, fit->profile);
    }
    if (!options.blankFile.empty()) {
        if (auto refusal = openBlank(data, options.blankFile)) {
            err << "skerry-batch: " << options.blankFile << ": " << *refusal << "\n";
            return false;
        }
    }
    return true;
}

// One data set from loading to output.
int runOnDataSet(const BatchOptions& options, const FitSource* fit, std::ostream& out,
                 std::ostream& err) {
    auto data = std::make_unique<DataSet>();
    if (!loadBatchDataSet(*data, options, fit, err)) {
        return BatchFailed;
    }

    if (!options.comments.empty()) {
        const ReadResult comments = readWholeFile(options.comments, MaxCommentFileBytes);
        if (comments.error) {
            err << "skerry-batch: " << options.comments << ": " << comments.error->reason << "\n";
            return BatchFailed;
        }
        readCommentLines(*data, comments.bytes);
    }
    if (options.invert) {
        invertSign(*data);
    }
    if (options.noiseRms) {
        addNoiseFromSeed(*data, *options.noiseRms, *options.seed);
    }

    const std::string text = options.listing
                                 ? listingText(*data)
                                 : editedFileText(*data, {!options.truncated, !options.xi});
    if (writesToStandardOutput(options)) {
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (!out) {
            err << "skerry-batch: standard output: write failed\n";
            return BatchFailed;
        }
        return BatchOk;
    }
    if (auto error = writeFileAtomically(options.output, text)) {
        err << "skerry-batch: " << options.output << ": " << error->reason << "\n";
        return BatchFailed;
    }
    return BatchOk;
}

// Reads the fit file's list as File > Get File(s) From Fit-File does, with names that are not
// full paths taken from the fit file's folder. Its messages go to `err`; a list with missing
// data files is a warning. nullopt: the list was refused.
std::optional<FitFileList> readBatchFitList(const std::string& fitFile, ProfileFile& profile,
                                            std::ostream& err) {
    std::optional<FileError> error;
    std::error_code ignored;
    const auto folder = std::filesystem::absolute(fitFile, ignored).parent_path();
    FitFileReading fit = readFitFile(fitFile, folder, &error);
    if (error) {
        err << "skerry-batch: " << fitFile << ": " << error->reason << "\n";
        return std::nullopt;
    }
    profile = std::move(fit.profile);
    FitListReading& reading = fit.list;
    if (reading.message) {
        err << "skerry-batch: " << fitFile << ": " << (reading.list ? "warning: " : "")
            << reading.message->text << "\n";
    }
    if (!reading.refusal.empty()) {
        err << "skerry-batch: " << fitFile << ": " << reading.refusal << "\n";
    }
    return std::move(reading.list);
}

// Every data set of the list, each written into the folder options.output under its data
// file's own name. The names are checked and every data file is read before anything is
// written.
int runOnAllFitEntries(const BatchOptions& options, const FitFileList& list,
                       const ProfileFile& profile, std::ostream& out, std::ostream& err) {
    std::error_code error;
    const fs::path folder(options.output);
    if (!fs::is_directory(folder, error)) {
        err << "skerry-batch: " << options.output << ": not a folder\n";
        return BatchFailed;
    }
    std::vector<fs::path> inputs = otherInputs(options);
    for (int k = 1; k <= list.FitFoundCount; ++k) {
        inputs.emplace_back(list.path(k));
    }
    std::vector<fs::path> targets;
    for (int k = 1; k <= list.FitFoundCount; ++k) {
        const fs::path target = folder / fs::path(list.path(k)).filename();
        for (std::size_t j = 0; j < targets.size(); ++j) {
            if (targets[j] == target) {
                err << "skerry-batch: data sets " << j + 1 << " and " << k
                    << " would both be written to " << target.string() << "\n";
                return BatchFailed;
            }
        }
        if (wouldOverwriteInput(target, inputs, err)) {
            return BatchFailed;
        }
        targets.push_back(target);
    }
    std::vector<std::unique_ptr<ScanFile>> scans;
    for (int k = 1; k <= list.FitFoundCount; ++k) {
        scans.push_back(readEntryScan(list, k, err));
        if (!scans.back()) {
            return BatchFailed;
        }
    }
    for (int k = 1; k <= list.FitFoundCount; ++k) {
        const auto index = static_cast<std::size_t>(k - 1);
        BatchOptions one = options;
        one.output = targets[index].string();
        const FitSource source{list, profile, k, *scans[index]};
        if (const int status = runOnDataSet(one, &source, out, err); status != BatchOk) {
            return status;
        }
    }
    return BatchOk;
}

int runOnFitFile(const BatchOptions& options, std::ostream& out, std::ostream& err) {
    ProfileFile profile;
    const auto list = readBatchFitList(options.fitFile, profile, err);
    if (!list) {
        return BatchFailed;
    }
    if (options.allFitEntries) {
        return runOnAllFitEntries(options, *list, profile, out, err);
    }
    const int entry = options.fitEntry.value_or(1);
    if (entry > list->FitFoundCount) {
        err << "skerry-batch: " << options.fitFile << ": no data set " << entry << ", only "
            << list->FitFoundCount << " of the listed data files exist\n";
        return BatchFailed;
    }
    std::vector<fs::path> inputs = otherInputs(options);
    inputs.emplace_back(list->path(entry));
    if (!writesToStandardOutput(options) && wouldOverwriteInput(options.output, inputs, err)) {
        return BatchFailed;
    }
    const auto scan = readEntryScan(*list, entry, err);
    if (!scan) {
        return BatchFailed;
    }
    const FitSource source{*list, profile, entry, *scan};
    return runOnDataSet(options, &source, out, err);
}

} // namespace

int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const BatchArguments parsed = parseBatchArguments(args);
    if (!parsed.options) {
        err << "skerry-batch: " << parsed.error << "\n"
            << "Try 'skerry-batch --help' for more information.\n";
        return BatchUsageError;
    }
    const BatchOptions& options = *parsed.options;
    if (options.help) {
        out << batchUsage();
        return out ? BatchOk : BatchFailed;
    }

    if (!options.fitFile.empty()) {
        return runOnFitFile(options, out, err);
    }
    std::vector<fs::path> inputs = otherInputs(options);
    inputs.emplace_back(options.dataFile);
    if (!writesToStandardOutput(options) && wouldOverwriteInput(options.output, inputs, err)) {
        return BatchFailed;
    }
    return runOnDataSet(options, nullptr, out, err);
}

} // namespace skerry
