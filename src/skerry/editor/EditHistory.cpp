#include "skerry/editor/EditHistory.h"

#include <bit>
#include <cstdint>
#include <utility>

namespace skerry {

void EditHistory::set(EditArray& thirds, int i, float value) {
    // Compared bit for bit: a third value of 0 turned into -0 is a change too.
    if (std::bit_cast<std::uint32_t>(thirds(i)) != std::bit_cast<std::uint32_t>(value)) {
        open_.changes.push_back({i, thirds(i), value});
        thirds(i) = value;
    }
}

void EditHistory::end(std::string description) {
    if (open_.changes.empty()) {
        return;
    }
    open_.description = std::move(description);
    steps_.resize(done_);
    steps_.push_back(std::exchange(open_, {}));
    ++done_;
}

std::string EditHistory::undo(EditArray& thirds) {
    if (!canUndo()) {
        return {};
    }
    const Step& step = steps_[--done_];
    for (const Change& change : step.changes) {
        thirds(change.index) = change.before;
    }
    return step.description;
}

std::string EditHistory::redo(EditArray& thirds) {
    if (!canRedo()) {
        return {};
    }
    const Step& step = steps_[done_++];
    for (const Change& change : step.changes) {
        thirds(change.index) = change.after;
    }
    return step.description;
}

} // namespace skerry
