#pragma once

#include <string>

#include "skerry/model/DataSet.h"

namespace skerry {

// The one-line text of a point, shared by the listing and the radius form of the edited data
// file: three blanks, x as "0.00000", three blanks, the reading as
// " 0.00000E+00;-0.00000E+00", the separator blanks, the third value as " 0.000E+00;-0.000E+00",
// trailing blanks removed. Appended to `out` without a line end.
void appendListingLine(std::string& out, const Point& point, int blanksBeforeThird = 3);

// The same line with x written as XI = x * x / 2 (in double precision) in the pattern
// "00.00000" after two blanks, so that both forms put their columns at the same positions.
void appendXiLine(std::string& out, const Point& point);

std::string ListingLine(const Point& point);

// Appends the comment lines 1..CommentCount, each its full 96 characters, with CR LF.
void appendCommentLines(std::string& out, const DataSet& data);

// The listing of the working points: the comment lines, then one listing line per point, every
// line ended by CR LF. Get Blank lists with two blanks before the third value.
std::string listingText(const DataSet& data, int blanksBeforeThird = 3);

} // namespace skerry
