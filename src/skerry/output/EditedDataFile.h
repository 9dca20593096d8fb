#pragma once

#include <string>

#include "skerry/model/DataSet.h"

namespace skerry {

// One of the four forms of Save.
struct SaveForm {
    bool complete = true; // every point; false: the retained range only
    bool asRadius = true; // x as stored; false: x as XI = R^2/2
};

// The text of an edited data file: the comment lines (each exactly 96 characters), then the
// point lines of all points or of the retained range, x as stored or as
// XI = R^2/2, every line ended by CR LF. Deleted points are written with their non-positive
// third value. There is no header, count line or end marker.
std::string editedFileText(const DataSet& data, SaveForm form);

} // namespace skerry
