#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <vector>

#include "skerry/model/Run.h"

namespace skerry {

// One scan as the editor holds it: its points' x and reading read from the run's data set, which
// outlives the editor, and of its own only what the editor changes, the third values and the
// solution columns that go back with them. A run of many scans so costs little beyond its marks.
struct EditScan {
    const DataSet* data = nullptr;
    std::vector<float> third; // point i's at i - 1, as many as the scan has points
    std::vector<ColumnRange> columns;
    std::string name; // the scan's file name without its folder, as the read-out names it

    std::size_t size() const { return third.size(); }
    // Point i's x and reading, i from 0 to size() - 1.
    float x(std::size_t i) const { return point(i).x; }
    float y(std::size_t i) const { return point(i).reading; }

private:
    const Point& point(std::size_t i) const {
        if (i >= third.size()) {
            throw std::out_of_range("EditScan: no such point");
        }
        return data->WorkPoints(static_cast<int>(i) + 1);
    }
};

} // namespace skerry
