#include "support/FileConditions.h"

#include <stdexcept>

namespace skerry::test {

FileSizeLimit::FileSizeLimit(std::uint64_t) {
    throw std::logic_error("Windows has no limit on the size of the files a process writes");
}

FileSizeLimit::~FileSizeLimit() = default;

bool fileSizeLimitsApply() {
    return false;
}

bool symbolicLinksApply() {
    return false;
}

bool fifosApply() {
    return false;
}

void makeFifo(const char* /*path*/) {
    throw std::logic_error("Windows has no named pipes");
}

bool permissionsApply() {
    return false;
}

} // namespace skerry::test
