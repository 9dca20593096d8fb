#include "skerry/batch/BatchReporter.h"

#include <ostream>

#include "skerry/ground/FileSystem.h"

namespace skerry {

namespace {

constexpr std::string_view Prefix = "skerry-batch: ";

} // namespace

void BatchReporter::say(std::string_view text) {
    err_ << Prefix << text << "\n";
}

void BatchReporter::failed(std::string_view name, const Failure& failure) {
    err_ << Prefix << name << ": " << failure.reason << "\n";
}

void BatchReporter::warning(std::string_view name, std::string_view text) {
    err_ << Prefix << name << ": warning: " << text << "\n";
}

void BatchReporter::usage(std::string_view reason) {
    say(reason);
    err_ << "Try 'skerry-batch --help' for more information.\n";
}

void BatchReporter::progress(std::size_t done, std::size_t total, long secondsLeft) {
    err_ << "\r" << Prefix << done << " of " << total << " files, " << secondsLeft / 60 << ":"
         << (secondsLeft % 60 < 10 ? "0" : "") << secondsLeft % 60 << " left " << std::flush;
    if (done == total) {
        err_ << "\n";
    }
}

BatchProgress::BatchProgress(std::size_t total, BatchReporter& reporter)
    : total_(total), reporter_(reporter), shown_(total > 1 && os::standardErrorIsTerminal()),
      start_(std::chrono::steady_clock::now()) {}

void BatchProgress::done() {
    ++done_;
    if (!shown_) {
        return;
    }
    const std::chrono::duration<double> spent = std::chrono::steady_clock::now() - start_;
    reporter_.progress(done_, total_,
                       static_cast<long>(spent.count() / static_cast<double>(done_) *
                                         static_cast<double>(total_ - done_)));
}

} // namespace skerry
