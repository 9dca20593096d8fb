#pragma once

#include <vector>

#include "skerry/model/Run.h"

namespace skerry::bench {

// A run of `count` scans made from one: scan k (from 0) has the scan's points with every
// reading times 1 + k / 100, so that the scans lie apart as the scans of a night do. run-all.py
// draws the same overlay for its peer.
inline void fillRun(Run& run, const DataSet& scan, int count) {
    std::vector<RunScan> scans(static_cast<std::size_t>(count));
    for (int k = 0; k < count; ++k) {
        DataSet& data = scans[static_cast<std::size_t>(k)].data;
        data = scan;
        for (int i = 1; i <= data.PointCount; ++i) {
            data.WorkPoints(i).reading *= 1.0f + static_cast<float>(k) / 100.0f;
        }
    }
    run.assign(std::move(scans));
}

} // namespace skerry::bench
