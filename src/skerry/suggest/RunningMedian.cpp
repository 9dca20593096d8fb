#include "skerry/suggest/RunningMedian.h"

#include <algorithm>

namespace skerry {

void runningMedians(const std::vector<double>& v, int begin, int end, int half, WindowAtEnds ends,
                    std::vector<double>& out) {
    out.resize(v.size());
    std::vector<double> window; // the values v[lo..hi-1], sorted
    window.reserve(static_cast<std::size_t>(2 * half + 2));
    int lo = begin;
    int hi = begin;
    for (int k = begin; k < end; ++k) {
        int from = 0;
        int to = 0;
        if (ends == WindowAtEnds::Narrowed) {
            const int reach = std::min({half, k - begin, end - 1 - k});
            from = k - reach;
            to = k + reach + 1;
        } else {
            const int width = std::min(2 * half + 1, end - begin);
            from = std::clamp(k - half, begin, end - width);
            to = from + width;
        }
        // Both ends of the window only ever move up.
        for (; hi < to; ++hi) {
            window.insert(std::upper_bound(window.begin(), window.end(), v[hi]), v[hi]);
        }
        for (; lo < from; ++lo) {
            window.erase(std::lower_bound(window.begin(), window.end(), v[lo]));
        }
        out[k] = window[(window.size() - 1) / 2];
    }
}

} // namespace skerry
