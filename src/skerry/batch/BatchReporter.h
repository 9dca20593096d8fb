#pragma once

#include <chrono>
#include <cstddef>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "skerry/ground/FileSystem.h"
#include "skerry/ground/Outcome.h"

namespace skerry {

// Everything skerry-batch says on standard error, each line under the program's name, so that a
// script's log tells whose lines they are. Lines are written only from the thread that runs the
// batch, in the order of the files.
class BatchReporter {
public:
    explicit BatchReporter(std::ostream& err) : err_(err) {}

    // "skerry-batch: TEXT".
    void say(std::string_view text);
    // What could not be done with a file: "skerry-batch: NAME: REASON".
    void failed(std::string_view name, const Failure& failure);
    // What could not be done, where the reason names the files itself: "skerry-batch: REASON".
    void failed(const Failure& failure) { say(failure.reason); }
    // What goes on but may not be what was meant: "skerry-batch: NAME: warning: TEXT".
    void warning(std::string_view name, std::string_view text);
    // Reports a failed outcome under `name`; true when it did not fail.
    template <class T>
    bool check(std::string_view name, const Outcome<T>& outcome) {
        if (!outcome) {
            failed(name, outcome.failure());
        }
        return outcome.ok();
    }
    template <class T>
    bool check(const Outcome<T>& outcome) {
        if (!outcome) {
            failed(outcome.failure());
        }
        return outcome.ok();
    }
    // A usage error: the reason, then where to read more.
    void usage(std::string_view reason);
    // Files done of all and the time left, on one line that a terminal rewrites in place; the
    // last one ends the line.
    void progress(std::size_t done, std::size_t total, long secondsLeft);

private:
    std::ostream& err_;
};

// Files done of all and the time left, shown on a terminal while a run of many files goes on.
class BatchProgress {
public:
    BatchProgress(std::size_t total, BatchReporter& reporter);

    // Another file is done.
    void done();

private:
    std::size_t total_;
    BatchReporter& reporter_;
    bool shown_;
    std::size_t done_ = 0;
    std::chrono::steady_clock::time_point start_;
};

} // namespace skerry
