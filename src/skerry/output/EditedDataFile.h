#pragma once

#include <string>

#include "skerry/model/DataSet.h"

namespace skerry {

// The text of an edited data file: the comment lines (each exactly 96 characters), then the
// point lines of all points (complete) or of the retained range, x as stored (asRadius) or as
// XI = R^2/2, every line ended by CR LF. Deleted points are written with their non-positive
// third value. There is no header, count line or end marker.
std::string editedFileText(const DataSet& data, bool complete, bool asRadius);

} // namespace skerry
