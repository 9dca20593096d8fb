#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "skerry/ground/Outcome.h"
#include "skerry/model/DataSet.h"

namespace skerry {

// A stretch of x from `low` to `high`, both ends included, in the data set's own units (a radius
// or XI, as the editor shows x).
struct XRange {
    float low = 0.0f;
    float high = 0.0f;
};

// "LOW:HIGH" as typed: two plain numbers as a noise level is typed (optional blanks around each,
// a sign, digits with a '.', an exponent with E or D), each read to the single precision a
// scan's x is read to, so that a limit typed as the file writes an x is that x. nullopt for
// anything else, a value beyond the single range, or LOW above HIGH.
std::optional<XRange> xRangeFromText(std::string_view text);

// An x in the fewest digits that read back as the same single, so that LOW:HIGH typed from it
// are that x: 6.05 as "6.05".
std::string xLimitText(float x);

// Deletes, by sign as the editor's tools do, every point with x below range.low or above
// range.high; points at the limits stay as they are. The first and last good point become the
// retained range, as leaving the editor sets it. Refused, with the data set left as it was,
// when no good point lies within the range.
Done keepWithin(DataSet& data, XRange range);

} // namespace skerry
