#include "skerry/editor/EditHistory.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <utility>

namespace skerry {

namespace {

float& thirdOf(std::vector<EditScan>& scans, std::size_t scan, int i) {
    return scans.at(scan).third.at(static_cast<std::size_t>(i - 1));
}

} // namespace

void EditHistory::set(std::vector<EditScan>& scans, std::size_t scan, int i, float value) {
    float& third = thirdOf(scans, scan, i);
    // Compared bit for bit: a third value of 0 turned into -0 is a change too.
    if (std::bit_cast<std::uint32_t>(third) != std::bit_cast<std::uint32_t>(value)) {
        open_.changes.push_back({static_cast<std::uint32_t>(scan), i, third, value});
        third = value;
    }
}

void EditHistory::setColumns(std::vector<EditScan>& scans, std::size_t scan,
                             std::vector<ColumnRange> columns) {
    std::vector<ColumnRange>& held = scans.at(scan).columns;
    const auto same = [](const ColumnRange& a, const ColumnRange& b) {
        return a.first == b.first && a.last == b.last;
    };
    if (!std::ranges::equal(held, columns, same)) {
        open_.columnChanges.push_back({scan, held, columns});
        held = std::move(columns);
    }
}

void EditHistory::end(std::string description) {
    if (open_.changes.empty() && open_.columnChanges.empty()) {
        return;
    }
    open_.description = std::move(description);
    steps_.resize(done_);
    steps_.push_back(std::exchange(open_, {}));
    ++done_;
}

std::string EditHistory::undo(std::vector<EditScan>& scans) {
    if (!canUndo()) {
        return {};
    }
    const Step& step = steps_[--done_];
    for (const Change& change : step.changes) {
        thirdOf(scans, change.scan, change.index) = change.before;
    }
    for (const ColumnChange& change : step.columnChanges) {
        scans.at(change.scan).columns = change.before;
    }
    return step.description;
}

std::string EditHistory::redo(std::vector<EditScan>& scans) {
    if (!canRedo()) {
        return {};
    }
    const Step& step = steps_[done_++];
    for (const Change& change : step.changes) {
        thirdOf(scans, change.scan, change.index) = change.after;
    }
    for (const ColumnChange& change : step.columnChanges) {
        scans.at(change.scan).columns = change.after;
    }
    return step.description;
}

} // namespace skerry
