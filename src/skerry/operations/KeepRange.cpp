#include "skerry/operations/KeepRange.h"

#include <array>
#include <charconv>
#include <string>

#include "skerry/operations/Noise.h"

namespace skerry {

std::string xLimitText(float x) {
    std::array<char, 32> text{};
    auto* const end = std::to_chars(text.data(), text.data() + text.size(), x).ptr;
    return {text.data(), end};
}

std::optional<XRange> xRangeFromText(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    const auto low = plainSingleFromText(text.substr(0, colon));
    const auto high = plainSingleFromText(text.substr(colon + 1));
    if (!low || !high || *low > *high) {
        return std::nullopt;
    }
    return XRange{*low, *high};
}

Done keepWithin(DataSet& data, XRange range) {
    const auto within = [range](const Point& p) {
        return p.x >= range.low && p.x <= range.high;
    };
    bool anyGood = false;
    for (int i = 1; i <= data.PointCount; ++i) {
        const Point& p = data.WorkPoints(i);
        anyGood = anyGood || (p.isGood() && within(p));
    }
    if (!anyGood) {
        return Failure{"no good point from " + xLimitText(range.low) + " to " +
                       xLimitText(range.high)};
    }
    for (int i = 1; i <= data.PointCount; ++i) {
        Point& p = data.WorkPoints(i);
        if (!within(p)) {
            markDeleted(p);
        }
    }
    setRetainedRange(data, WhenNoneGood::Unchanged);
    return {};
}

} // namespace skerry
