#include "skerry/suggest/RunningMedian.h"

#include <algorithm>

namespace skerry {

namespace {

// The values of a window, sorted, in the middle of a larger buffer: a value goes in or out by
// moving the shorter side of it, so that along a rising or falling curve, where values leave at
// one end and come in at the other, each step costs next to nothing.
class SortedWindow {
public:
    explicit SortedWindow(int capacity)
        : buffer_(static_cast<std::size_t>(4 * capacity + 8)), begin_(buffer_.size() / 2),
          end_(begin_) {}

    void insert(double value) {
        if (begin_ == 0 || end_ == buffer_.size()) {
            recentre();
        }
        const auto first = buffer_.begin() + static_cast<std::ptrdiff_t>(begin_);
        const auto last = buffer_.begin() + static_cast<std::ptrdiff_t>(end_);
        const auto at = std::upper_bound(first, last, value);
        if (at - first < last - at) {
            std::move(first, at, first - 1);
            *(at - 1) = value;
            --begin_;
        } else {
            std::move_backward(at, last, last + 1);
            *at = value;
            ++end_;
        }
    }

    void erase(double value) {
        const auto first = buffer_.begin() + static_cast<std::ptrdiff_t>(begin_);
        const auto last = buffer_.begin() + static_cast<std::ptrdiff_t>(end_);
        const auto at = std::lower_bound(first, last, value);
        if (at - first < last - at) {
            std::move_backward(first, at, at + 1);
            ++begin_;
        } else {
            std::move(at + 1, last, at);
            --end_;
        }
    }

    // The middle value; the lower one of an even count.
    double median() const { return buffer_[begin_ + (end_ - begin_ - 1) / 2]; }

private:
    void recentre() {
        const std::size_t size = end_ - begin_;
        const std::size_t start = (buffer_.size() - size) / 2;
        if (start < begin_) {
            std::move(buffer_.begin() + static_cast<std::ptrdiff_t>(begin_),
                      buffer_.begin() + static_cast<std::ptrdiff_t>(end_),
                      buffer_.begin() + static_cast<std::ptrdiff_t>(start));
        } else {
            std::move_backward(buffer_.begin() + static_cast<std::ptrdiff_t>(begin_),
                               buffer_.begin() + static_cast<std::ptrdiff_t>(end_),
                               buffer_.begin() + static_cast<std::ptrdiff_t>(start + size));
        }
        begin_ = start;
        end_ = start + size;
    }

    std::vector<double> buffer_;
    std::size_t begin_;
    std::size_t end_;
};

// The median of seven values, by a fixed network of exchanges.
double medianOf7(double p0, double p1, double p2, double p3, double p4, double p5, double p6) {
    auto sort = [](double& a, double& b) {
        const double low = std::min(a, b);
        b = std::max(a, b);
        a = low;
    };
    sort(p0, p5);
    sort(p0, p3);
    sort(p1, p6);
    sort(p2, p4);
    sort(p0, p1);
    sort(p3, p5);
    sort(p2, p6);
    sort(p2, p3);
    sort(p3, p6);
    sort(p4, p5);
    sort(p1, p4);
    sort(p1, p3);
    sort(p3, p4);
    return p3;
}

// The median over windows of seven narrowed at the ends: the common case, without a sorted
// window.
void runningMediansOf7(const std::vector<double>& v, int begin, int end, std::vector<double>& out) {
    for (int k = begin; k < end; ++k) {
        const int reach = std::min({3, k - begin, end - 1 - k});
        if (reach == 3) {
            out[k] = medianOf7(v[k - 3], v[k - 2], v[k - 1], v[k], v[k + 1], v[k + 2], v[k + 3]);
        } else {
            double w[5];
            std::copy(v.begin() + (k - reach), v.begin() + (k + reach + 1), w);
            std::nth_element(w, w + reach, w + (2 * std::ptrdiff_t{reach} + 1));
            out[k] = w[reach];
        }
    }
}

} // namespace

void runningMedians(const std::vector<double>& v, int begin, int end, int half,
                    std::vector<double>& out) {
    out.resize(v.size());
    if (half == 3) {
        runningMediansOf7(v, begin, end, out);
        return;
    }
    SortedWindow window(2 * half + 1);
    int lo = begin; // the window holds v[lo..hi-1]
    int hi = begin;
    for (int k = begin; k < end; ++k) {
        const int reach = std::min({half, k - begin, end - 1 - k});
        const int from = k - reach;
        const int to = k + reach + 1;
        // Both ends of the window only ever move up.
        for (; hi < to; ++hi) {
            window.insert(v[hi]);
        }
        for (; lo < from; ++lo) {
            window.erase(v[lo]);
        }
        out[k] = window.median();
    }
}

void sparseRunningMedians(const std::vector<double>& v, int begin, int end, int half, int every,
                          std::vector<double>& out) {
    out.resize(v.size());
    if (every <= 1 || end - begin <= 2) {
        runningMedians(v, begin, end, half, out);
        return;
    }
    std::vector<int> at;
    std::vector<double> sampled;
    for (int k = begin; k < end; k += every) {
        at.push_back(k);
        sampled.push_back(v[k]);
    }
    if (at.back() != end - 1) {
        at.push_back(end - 1);
        sampled.push_back(v[end - 1]);
    }
    std::vector<double> medians;
    runningMedians(sampled, 0, static_cast<int>(sampled.size()), std::max(1, half / every),
                   medians);
    for (std::size_t j = 0; j + 1 < at.size(); ++j) {
        for (int k = at[j]; k < at[j + 1]; ++k) {
            const double t = static_cast<double>(k - at[j]) / (at[j + 1] - at[j]);
            out[k] = medians[j] + t * (medians[j + 1] - medians[j]);
        }
    }
    out[end - 1] = medians.back();
}

void blockMedians(const std::vector<double>& v, int begin, int end, int half,
                  std::vector<double>& out) {
    out.resize(v.size());
    const int count = end - begin;
    if (count <= 0) {
        return;
    }
    const int blocks = std::max(1, (count + half) / (2 * half + 1));
    std::vector<double> centre(static_cast<std::size_t>(blocks));
    std::vector<double> median(static_cast<std::size_t>(blocks));
    std::vector<double> block;
    for (int b = 0; b < blocks; ++b) {
        const int from = begin + static_cast<int>(static_cast<long>(count) * b / blocks);
        const int to = begin + static_cast<int>(static_cast<long>(count) * (b + 1) / blocks);
        block.assign(v.begin() + from, v.begin() + to);
        const auto mid = block.begin() + static_cast<std::ptrdiff_t>((block.size() - 1) / 2);
        std::nth_element(block.begin(), mid, block.end());
        centre[b] = (from + to - 1) / 2.0;
        median[b] = *mid;
    }
    int b = 0;
    for (int k = begin; k < end; ++k) {
        while (b + 1 < blocks && centre[b + 1] <= k) {
            ++b;
        }
        if (k <= centre[0] || b + 1 == blocks) {
            out[k] = k <= centre[0] ? median[0] : median[blocks - 1];
        } else {
            const double t = (k - centre[b]) / (centre[b + 1] - centre[b]);
            out[k] = median[b] + t * (median[b + 1] - median[b]);
        }
    }
}

} // namespace skerry
