#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "skerry/model/DataSet.h"

namespace skerry {

// The points of one solution column of a scan, by index from 1 as WorkPoints counts them: what
// is saved as the column's own data set.
struct ColumnRange {
    std::int32_t first = 0;
    std::int32_t last = 0;
};

// One scan of a run: its data set, and the solution columns the last suggestion found in it
// (none while no suggestion has been applied).
struct RunScan {
    DataSet data;
    std::vector<ColumnRange> columns;
};

// The scans a user edits together, typically the scans of one cell over a night, in the order
// they were opened. One of them is current: the one every single-scan command acts on and the
// panes show. There is always at least one scan; the program starts with one empty data set.
class Run {
public:
    Run() : scans_(1) {}

    std::size_t size() const { return scans_.size(); }
    // More than one scan is open.
    bool isRun() const { return scans_.size() > 1; }

    DataSet& current() { return scans_[current_].data; }
    const DataSet& current() const { return scans_[current_].data; }
    std::size_t currentIndex() const { return current_; }
    // Makes scan `index` (from 0) current; an index outside the run throws std::out_of_range.
    void setCurrent(std::size_t index);

    // Scan `index` (from 0); an index outside the run throws std::out_of_range.
    RunScan& scan(std::size_t index) { return scans_.at(index); }
    const RunScan& scan(std::size_t index) const { return scans_.at(index); }

    // The run becomes `scans`, the first of them current; no scans leaves one empty data set.
    void assign(std::vector<RunScan> scans);

    auto begin() { return scans_.begin(); }
    auto end() { return scans_.end(); }
    auto begin() const { return scans_.begin(); }
    auto end() const { return scans_.end(); }

private:
    std::vector<RunScan> scans_;
    std::size_t current_ = 0;
};

} // namespace skerry
