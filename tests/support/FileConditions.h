#pragma once

#include <cstdint>

namespace skerry::test {

// Lowers the largest file this process may write, so that writing fails part way as on a full
// disk; the signal the kernel would send is ignored so that write() reports the error instead.
// POSIX only: Windows has no such limit, and there the constructor throws (the tests that need
// it are left out of the Windows run, tests/windows.cmake).
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::uint64_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    std::uint64_t previous_ = 0;
    void (*previousHandler_)(int) = nullptr;
};

// Whether the tests can limit the size of the files written (FileSizeLimit) and plant symbolic
// links. Neither on Windows: there is no such limit, and MinGW's library makes no links.
bool fileSizeLimitsApply();
bool symbolicLinksApply();

// Named pipes, which a reader that waits for a writer waits on forever: whether the system has
// them (not Windows), and one made at `path`.
bool fifosApply();
void makeFifo(const char* path);

// Whether permission bits stop this process. Root reads and writes whatever the permissions say;
// tests of read-only folders and unreadable files skip themselves then, and CTest runs them once
// more as an ordinary user through tools/run-unprivileged.sh. On Windows the bits are no access
// control at all: a folder or an unreadable file cannot be had from them.
bool permissionsApply();

} // namespace skerry::test
