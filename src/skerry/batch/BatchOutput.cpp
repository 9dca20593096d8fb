#include "skerry/batch/BatchOutput.h"

#include <ostream>
#include <variant>

namespace skerry {

namespace fs = std::filesystem;

SingleResult::SingleResult(const BatchOptions& options, std::ostream& out, BatchReporter& reporter)
    : options_(options), out_(out), reporter_(reporter) {
    if (options.output == "-") {
        output_ = Output::Standard;
    } else if (options.output.empty()) {
        output_ = options.plot.empty() ? Output::Standard : Output::None;
    } else {
        output_ = Output::File;
    }
}

Targets SingleResult::targets(const fs::path& /*name*/) const {
    Targets targets;
    if (output_ == Output::File) {
        targets.output = os::pathFromUtf8(options_.output);
    }
    if (!options_.plot.empty()) {
        targets.plot = os::pathFromUtf8(options_.plot);
    }
    return targets;
}

bool SingleResult::write(const Targets& targets, const std::string& text) {
    switch (output_) {
    case Output::Standard:
        out_.write(text.data(), static_cast<std::streamsize>(text.size()));
        out_.flush();
        return reporter_.check("standard output", out_ ? Done() : Done(Failure{"write failed"}));
    case Output::File:
        return reporter_.check(options_.output, writeFileAtomically(targets.output, text));
    case Output::None:
        return true;
    }
    return true;
}

Targets FolderResults::targets(const fs::path& name) const {
    Targets targets;
    if (!options_.output.empty()) {
        targets.output = os::pathFromUtf8(options_.output) / name;
    }
    if (!options_.plot.empty()) {
        targets.plot = os::pathFromUtf8(options_.plot) / name;
        targets.plot.replace_extension(plotFileExtension(*options_.plotFormat));
    }
    return targets;
}

bool FolderResults::write(const Targets& targets, const std::string& text) {
    return targets.output.empty() ||
           reporter_.check(os::utf8Of(targets.output), files_.add(targets.output, text));
}

bool FolderResults::finish() {
    const auto failures = files_.commit();
    for (const auto& failure : failures) {
        reporter_.failed(os::utf8Of(failure.target), failure.error);
    }
    return failures.empty();
}

Done isFolder(const std::string& path) {
    const auto entry = os::lookAt(os::pathFromUtf8(path));
    if (!entry || entry->kind != os::EntryKind::Folder) {
        return Failure{"not a folder"};
    }
    return {};
}

} // namespace skerry
