#include "skerry/batch/BatchOptions.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string_view>

#include "skerry/input/FitFile.h"
#include "skerry/operations/Noise.h"

namespace skerry {

namespace {

namespace fs = std::filesystem;

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

// Takes an option into the options; a value it cannot use is refused, in words that follow
// "option NAME ".
using OptionTaker = std::function<Done(BatchOptions&, const std::string& value)>;

struct OptionRule {
    std::string_view longName;
    std::string_view shortName;
    bool takesValue;
    OptionTaker take;
};

// An option without a value that sets a flag.
OptionTaker setting(bool BatchOptions::*flag) {
    return [flag](BatchOptions& o, const std::string&) {
        o.*flag = true;
        return Done();
    };
}

// An option whose value is kept as it was typed.
OptionTaker keeping(std::string BatchOptions::*text) {
    return [text](BatchOptions& o, const std::string& v) {
        o.*text = v;
        return Done();
    };
}

const std::vector<OptionRule>& optionRules() {
    static const std::vector<OptionRule> rules = {
        {"--help", "-h", false, setting(&BatchOptions::help)},
        {"--truncated", "", false, setting(&BatchOptions::truncated)},
        {"--xi", "", false, setting(&BatchOptions::xi)},
        {"--listing", "", false, setting(&BatchOptions::listing)},
        {"--comments", "", true, keeping(&BatchOptions::comments)},
        {"--invert", "", false, setting(&BatchOptions::invert)},
        {"--noise", "", true,
         [](BatchOptions& o, const std::string& v) {
             o.noiseRms = plainSingleFromText(v);
             return o.noiseRms ? Done()
                               : Failure{"needs a number as the RMS level, not '" + v + "'"};
         }},
        {"--seed", "", true,
         [](BatchOptions& o, const std::string& v) {
             o.seed = seedFromText(v);
             return o.seed ? Done()
                           : Failure{"needs a whole number from 0 to 4294967295, not '" + v + "'"};
         }},
        {"--blank", "", true, keeping(&BatchOptions::blankFile)},
        {"--keep", "", true,
         [](BatchOptions& o, const std::string& v) {
             o.keep = xRangeFromText(v);
             return o.keep ? Done()
                           : Failure{"needs LOW:HIGH, two numbers with LOW not above HIGH, not '" +
                                     v + "'"};
         }},
        {"--auto", "", false, setting(&BatchOptions::autoEdit)},
        {"--channels", "", false, setting(&BatchOptions::channels)},
        {"--suggest", "", false, setting(&BatchOptions::suggest)},
        {"--fit", "", true, keeping(&BatchOptions::fitFile)},
        {"--entry", "", true,
         [](BatchOptions& o, const std::string& v) {
             // The last --entry counts.
             o.allFitEntries = v == "all";
             if (o.allFitEntries) {
                 o.fitEntry.reset();
                 return Done();
             }
             o.fitEntry = fitEntryFromText(v);
             return o.fitEntry
                        ? Done()
                        : Failure{"needs a data set number from 1 to 15 or 'all', not '" + v + "'"};
         }},
        {"--output", "-o", true, keeping(&BatchOptions::output)},
        {"--plot", "", true, keeping(&BatchOptions::plot)},
        {"--plot-format", "", true,
         [](BatchOptions& o, const std::string& v) {
             o.plotFormat = plotFileKind(v);
             const bool known = o.plotFormat && v.find('.') == std::string::npos;
             return known ? Done() : Failure{"needs pdf, svg or png, not '" + v + "'"};
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

Failure usageError(std::string message) {
    return Failure{std::move(message)};
}

} // namespace

Outcome<BatchOptions> parseBatchArguments(const std::vector<std::string>& args) {
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
        if (Done taken = rule->take(options, value.value_or("")); !taken) {
            return usageError("option " + name + " " + taken.reason());
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
    if (options.allFitEntries && options.output.empty() && options.plot.empty() &&
        !options.suggest) {
        return usageError("option --entry all needs -o DIR");
    }
    if (options.plotFormat && options.plot.empty()) {
        return usageError("option --plot-format needs --plot");
    }
    if (options.suggest) {
        // The suggestion is only printed: an option that writes, or changes what is written,
        // would be ignored without a word.
        const std::pair<std::string_view, bool> writing[] = {
            {"-o", !options.output.empty()},
            {"--plot", !options.plot.empty()},
            {"--listing", options.listing},
            {"--truncated", options.truncated},
            {"--xi", options.xi},
            {"--comments", !options.comments.empty()},
            {"--invert", options.invert},
            {"--noise", options.noiseRms.has_value()},
            {"--channels", options.channels},
        };
        for (const auto& [name, given] : writing) {
            if (given) {
                return usageError("option --suggest writes nothing: it does not go with " +
                                  std::string(name));
            }
        }
    }
    if (options.channels && !options.autoEdit) {
        return usageError("option --channels needs --auto");
    }
    if (options.channels && (options.output.empty() || options.output == "-")) {
        return usageError("option --channels needs -o DIR");
    }
    if (options.help) {
        return options;
    }
    if (!options.fitFile.empty()) {
        if (!operands.empty()) {
            return usageError("a data file and --fit both named");
        }
    } else if (operands.empty()) {
        return usageError("no data file named");
    } else if (operands.size() > 1 && (options.output.empty() || options.output == "-") &&
               options.plot.empty() && !options.suggest) {
        return usageError("more than one data file named: -o DIR names the folder for them");
    }
    options.dataFiles = std::move(operands);
    if (!options.plot.empty() && !options.plotFormat) {
        if (options.manyDataSets()) {
            return usageError("option --plot DIR needs --plot-format pdf, svg or png");
        }
        options.plotFormat = plotFileKind(fs::path(options.plot).extension().string());
        if (!options.plotFormat) {
            return usageError("option --plot needs a file name ending in .pdf, .svg or .png");
        }
    }
    return options;
}

std::string batchUsage(bool plots) {
    const std::string plotText =
        plots
            ? "  --plot FILE    also draw the plot, as the editor shows it on opening, into\n"
              "                 FILE (.pdf, .svg or .png), in the colours of Skerry.ini; without\n"
              "                 -o only the plot is written\n"
              "  --plot DIR --plot-format pdf|svg|png\n"
              "                 with more than one data set: one plot each in DIR, named after\n"
              "                 its data file\n"
            : "  --plot         not available: this skerry-batch was built without Qt\n";
    return "Usage: skerry-batch [--truncated] [--xi] [--listing] [--comments FILE]\n"
           "                    [--invert] [--noise RMS --seed N] [--blank FILE]\n"
           "                    [--keep LOW:HIGH] [--auto [--channels -o DIR]] [-o OUT]\n"
           "                    [--plot FILE | --plot DIR --plot-format pdf|svg|png]\n"
           "                    DATAFILE | -o DIR DATAFILE... |\n"
           "                    --fit FITFILE [--entry K | --entry all -o DIR]\n"
           "       skerry-batch --suggest [--blank FILE] [--keep LOW:HIGH]\n"
           "                    DATAFILE... | --fit FITFILE [--entry K | --entry all]\n"
           "\n"
           "Loads a scan file as Skerry's File > Get Data does, or a data set of a fit file\n"
           "as File > Get File(s) From Fit-File re-opens it, and writes what Save would\n"
           "write, byte for byte the same as the program. With more than one DATAFILE, each\n"
           "is written into the folder DIR under its own name; a file that is refused is\n"
           "reported and the others are still written.\n"
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
           "  --keep LOW:HIGH\n"
           "                 delete every point with x below LOW or above HIGH (x as the\n"
           "                 editor shows it, a radius or XI); the first and last good point\n"
           "                 become the retained range. Right after loading and the blank;\n"
           "                 a data set with no good point from LOW to HIGH is refused\n"
           "  --auto         find each solution column (meniscus to bottom) and the spikes\n"
           "                 in it, and delete, by sign, every point outside the columns\n"
           "                 and every spike; the first and last good point become the\n"
           "                 retained range. After --keep, which limits the search to\n"
           "                 LOW:HIGH, and before comments, invert and noise; a data set\n"
           "                 in which no column is found is reported and not written\n"
           "  --channels     with --auto and -o DIR: every column K of a scan (1 nearest\n"
           "                 the axis) is written on its own, with every point outside it\n"
           "                 deleted, as DIR/NAME-K.EXT for the data file NAME.EXT (a name\n"
           "                 without an extension: DIR/NAME-K); plots are named alike\n"
           "  --suggest      write nothing: print the columns --auto would keep, one line\n"
           "                 each: the data file, K, the first and the last x kept and the\n"
           "                 x of the spikes deleted (separated by commas, none: empty),\n"
           "                 tab-separated; x as --keep reads it back to the same value\n"
           "  --fit FITFILE  take the data set from the fit file FITFILE instead of a\n"
           "                 DATAFILE, with the limits and deleted points stored for it;\n"
           "                 names in FITFILE that are not full paths are looked up in its\n"
           "                 folder\n"
           "  --entry K      which data set of FITFILE: the K-th listed data file that\n"
           "                 exists (1 to 15), as the \"LoadedFiles\" menu counts them;\n"
           "                 default 1\n"
           "  --entry all    every data set of FITFILE, each written into the folder DIR\n"
           "                 given with -o under its data file's own name\n" +
           plotText +
           "  -o, --output OUT\n"
           "                 write to the file OUT (replaced as a whole) instead of\n"
           "                 standard output; OUT may not be one of the input files;\n"
           "                 -o - is standard output\n"
           "  -h, --help     show this text\n"
           "\n"
           "Exit status: 0 success, 1 an input or output failed, 2 a usage error.\n";
}

} // namespace skerry
