#pragma once

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace skerry::test {

// Lowers the largest file this process may write, so that writing fails part way as on a full
// disk; the signal the kernel would send is ignored so that write() reports the error instead.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : previousHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit lowered = previous_;
        lowered.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    void (*previousHandler_)(int);
};

// Root reads and writes whatever the permissions say; tests of read-only folders and unreadable
// files skip themselves then. CTest runs them once more as an ordinary user through
// tools/run-unprivileged.sh.
inline bool permissionsApply() {
    return ::geteuid() != 0;
}

} // namespace skerry::test
