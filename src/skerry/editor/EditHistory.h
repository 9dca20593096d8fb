#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skerry/editor/EditScan.h"

namespace skerry {

// The changes made in the editor, so that each can be undone and redone: a single point removed
// or restored, a whole sweep over every scan, or a suggestion with its columns is one step. A
// change after an undo drops the steps that could have been redone.
class EditHistory {
public:
    // Sets the third value of point i (from 1) of scan `scan` as part of the step under way.
    void set(std::vector<EditScan>& scans, std::size_t scan, int i, float value);
    // Gives scan `scan` other columns as part of the step under way.
    void setColumns(std::vector<EditScan>& scans, std::size_t scan,
                    std::vector<ColumnRange> columns);
    // How many points the step under way has changed.
    std::size_t changed() const { return open_.changes.size(); }
    // Closes the step under way under a name ("37 points removed left of 5.9612"); one that
    // changed nothing is forgotten.
    void end(std::string description);

    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }
    // Undoes or redoes one step on `scans` and names it; empty when there is none.
    std::string undo(std::vector<EditScan>& scans);
    std::string redo(std::vector<EditScan>& scans);

private:
    struct Change {
        std::uint32_t scan;
        std::int32_t index; // from 1
        float before;
        float after;
    };
    struct ColumnChange {
        std::size_t scan;
        std::vector<ColumnRange> before;
        std::vector<ColumnRange> after;
    };
    struct Step {
        std::string description;
        std::vector<Change> changes;
        std::vector<ColumnChange> columnChanges;
    };
    std::vector<Step> steps_;
    std::size_t done_ = 0; // steps_[0..done_) are in effect
    Step open_;
};

} // namespace skerry
