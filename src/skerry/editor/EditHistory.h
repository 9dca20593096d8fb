#pragma once

#include <string>
#include <vector>

#include "skerry/editor/EditArray.h"

namespace skerry {

// The changes of points made in the editor, so that each can be undone and redone: a single
// point removed or restored, or a whole sweep, is one step. A change after an undo drops the
// steps that could have been redone.
class EditHistory {
public:
    // Sets point i's third value as part of the step under way.
    void set(EditArray& thirds, int i, float value);
    // How many points the step under way has changed.
    std::size_t changed() const { return open_.changes.size(); }
    // Closes the step under way under a name ("37 points removed left of 5.9612"); one that
    // changed nothing is forgotten.
    void end(std::string description);

    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }
    // Undoes or redoes one step on `thirds` and names it; empty when there is none.
    std::string undo(EditArray& thirds);
    std::string redo(EditArray& thirds);

private:
    struct Change {
        int index;
        float before;
        float after;
    };
    struct Step {
        std::string description;
        std::vector<Change> changes;
    };
    std::vector<Step> steps_;
    std::size_t done_ = 0; // steps_[0..done_) are in effect
    Step open_;
};

} // namespace skerry
