#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "skerry/ground/Outcome.h"
#include "skerry/model/DataSet.h"
#include "skerry/model/Run.h"

namespace skerry {

// What the search for solution columns may be told.
struct SuggestSettings {
    // Absorbance above this many OD is past the optics' linear range: it is not kept.
    float absorbanceCeiling = 1.5f;
    // When given, columns are looked for only between these x values (the scan's own units).
    std::optional<float> lowX;
    std::optional<float> highX;
};

// One solution column, from just past its meniscus to just before its bottom: the indices of its
// first and last good point in WorkPoints (from 1) and the spikes inside it, ascending.
struct SolutionColumn {
    std::int32_t first = 0;
    std::int32_t last = 0;
    std::vector<std::int32_t> spikes;
};

// The columns found in a scan, nearest the axis first.
struct Suggestion {
    std::vector<SolutionColumn> columns;
};

// Looks at the working points of a loaded scan and suggests what to keep, or tells why no column
// was found. Changes nothing.
Outcome<Suggestion> suggestEdits(const DataSet& data, const SuggestSettings& settings = {});

// Deletes, by sign, every point outside the suggestion's columns and every spike, and sets the
// retained range as leaving the editor does. Points deleted before stay deleted.
void applySuggestion(DataSet& data, const Suggestion& suggestion);
// The same on a scan of a run, whose columns are then kept beside it, so that the scan can be
// saved column by column; the window's "Suggest Edits" and skerry-batch --auto both edit so.
void applySuggestion(RunScan& scan, const Suggestion& suggestion);

} // namespace skerry
