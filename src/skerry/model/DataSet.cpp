#include "skerry/model/DataSet.h"

#include <algorithm>
#include <stdexcept>

namespace skerry {

std::string_view CommentLines::line(int index) const {
    if (index < 1 || index > MaxCommentLines) {
        throw std::out_of_range("comment line index");
    }
    return {text_.data() + static_cast<std::ptrdiff_t>(index - 1) * CommentLineLength,
            CommentLineLength};
}

void CommentLines::setLine(int index, std::string_view text) {
    if (index < 1 || index > MaxCommentLines) {
        throw std::out_of_range("comment line index");
    }
    char* slot = text_.data() + static_cast<std::ptrdiff_t>(index - 1) * CommentLineLength;
    const auto kept = std::min<std::size_t>(text.size(), CommentLineLength);
    std::copy_n(text.data(), kept, slot);
    std::fill(slot + kept, slot + CommentLineLength, ' ');
}

void copyPoints(const PointArray& from, PointArray& to, std::int32_t count) {
    for (int i = 1; i <= count; ++i) {
        to(i) = from(i);
    }
}

void setRetainedRange(DataSet& data, WhenNoneGood fallback) {
    const int count = data.PointCount;
    const PointArray& points = data.WorkPoints;
    int first = 1;
    while (first <= count && !points(first).isGood()) {
        ++first;
    }
    if (first > count) {
        if (fallback == WhenNoneGood::WholeScan && count >= 1) {
            data.FirstGoodIndex = 1;
            data.FirstGoodX = points(1).x;
            data.LastGoodIndex = count;
            data.LastGoodX = points(count).x;
        }
        return;
    }
    int last = count;
    while (!points(last).isGood()) {
        --last;
    }
    data.FirstGoodIndex = first;
    data.FirstGoodX = points(first).x;
    data.LastGoodIndex = last;
    data.LastGoodX = points(last).x;
}

void deriveRetainedRange(DataSet& data) {
    if (data.PointCount < 1) {
        return;
    }
    setRetainedRange(data, WhenNoneGood::WholeScan);
    // Scans rarely reach 8 cm, so from there on the x values are taken to be XI = R^2/2.
    data.XIsRadius = data.LastGoodX < 8.0f;
}

} // namespace skerry
