#include "skerry/batch/BatchRun.h"

#include <functional>
#include <memory>
#include <ostream>
#include <string_view>

#include "skerry/core/DataSet.h"
#include "skerry/core/FileIO.h"
#include "skerry/core/Listing.h"
#include "skerry/input/DataFileLoading.h"
#include "skerry/output/EditedDataFile.h"

namespace skerry {

namespace {

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
        rule->apply(options, value.value_or(""));
    }
    if (options.help) {
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
    return "Usage: skerry-batch [--truncated] [--xi] [--listing] [-o OUT] DATAFILE\n"
           "\n"
           "Loads a scan file as Skerry's File > Get Data does and writes what Save would\n"
           "write, byte for byte the same as the program.\n"
           "\n"
           "  --truncated    write only the retained range, from the first to the last\n"
           "                 good point (Save > Truncated); default: every point\n"
           "  --xi           write x as XI = R^2/2 (Save > ... (as R^2/2)); default: x as\n"
           "                 stored\n"
           "  --listing      print the listing of the \"Edited Data File\" pane instead\n"
           "  -o, --output OUT\n"
           "                 write to the file OUT (replaced as a whole) instead of\n"
           "                 standard output\n"
           "  -h, --help     show this text\n"
           "\n"
           "Exit status: 0 success, 1 an input or output failed, 2 a usage error.\n";
}

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

    auto data = std::make_unique<DataSet>();
    if (auto refusal = loadDataFile(*data, options.dataFile)) {
        err << "skerry-batch: " << options.dataFile << ": " << *refusal << "\n";
        return BatchFailed;
    }

    const std::string text = options.listing
                                 ? listingText(*data)
                                 : editedFileText(*data, !options.truncated, !options.xi);
    if (options.output.empty()) {
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

} // namespace skerry
