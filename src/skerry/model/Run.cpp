#include "skerry/model/Run.h"

#include <stdexcept>
#include <utility>

namespace skerry {

void Run::setCurrent(std::size_t index) {
    if (index >= scans_.size()) {
        throw std::out_of_range("scan index");
    }
    current_ = index;
}

void Run::assign(std::vector<RunScan> scans) {
    scans_ = std::move(scans);
    if (scans_.empty()) {
        scans_.resize(1);
    }
    current_ = 0;
}

} // namespace skerry
