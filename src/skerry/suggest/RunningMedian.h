#pragma once

#include <vector>

namespace skerry {

// out[k] = the median of v over the 2 * half + 1 values around k, for each k of begin..end-1,
// the window narrowed evenly on both sides near the ends: a run that only rises (or only falls)
// is its own median, however steep or curved it is. Other entries of `out` are left as they are
// (it is sized to v first). Linear in the number of values for a fixed window: each step inserts
// and removes a value of a sorted copy of the window.
void runningMedians(const std::vector<double>& v, int begin, int end, int half,
                    std::vector<double>& out);

// The same as runningMedians, taken only at every `every`-th point of
// begin..end-1 (and at the last) over the values at those points, and drawn straight between
// them: for windows much wider than the detail they are to ignore, at a fraction of the cost.
void sparseRunningMedians(const std::vector<double>& v, int begin, int end, int half, int every,
                          std::vector<double>& out);

// out[k] = the median of v over the block of about 2 * half + 1 points that k lies in, drawn
// straight between the blocks' centres, for each k of begin..end-1: a local level that is
// cheap to have where it need not be exact.
void blockMedians(const std::vector<double>& v, int begin, int end, int half,
                  std::vector<double>& out);

} // namespace skerry
