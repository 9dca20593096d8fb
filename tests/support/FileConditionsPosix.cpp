#include "support/FileConditions.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace skerry::test {

FileSizeLimit::FileSizeLimit(std::uint64_t bytes)
    : previousHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    previous_ = limit.rlim_cur;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = previous_;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previousHandler_);
}

bool fileSizeLimitsApply() {
    return true;
}

bool symbolicLinksApply() {
    return true;
}

bool fifosApply() {
    return true;
}

void makeFifo(const char* path) {
    ::mkfifo(path, 0600);
}

bool permissionsApply() {
    return ::geteuid() != 0;
}

} // namespace skerry::test
