#pragma once

#include <vector>

namespace skerry {

// How a window of 2 * half + 1 values is placed near the ends of the stretch begin..end.
enum class WindowAtEnds {
    // Narrowed evenly on both sides of the centre: a run that only rises (or only falls) is its
    // own median, however steep or curved it is.
    Narrowed,
    // Kept at full width and shifted inside the stretch (when the stretch is long enough).
    Shifted,
};

// out[k] = the median of v over the window around k, for each k of begin..end-1; other entries of
// `out` are left as they are (it is sized to v first). Linear in the number of values for a
// fixed window: each step inserts and removes a value of a sorted copy of the window. The median
// of an even count is the lower middle value.
void runningMedians(const std::vector<double>& v, int begin, int end, int half, WindowAtEnds ends,
                    std::vector<double>& out);

} // namespace skerry
