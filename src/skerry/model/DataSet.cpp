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

void deriveRetainedRange(DataSet& data) {
    const int count = data.PointCount;
    if (count < 1) {
        return;
    }
    const PointArray& points = data.WorkPoints;
    data.FirstGoodIndex = 1;
    data.FirstGoodX = points(1).x;
    data.LastGoodIndex = count;
    data.LastGoodX = points(count).x;
    for (int i = 1; i <= count; ++i) {
        if (points(i).isGood()) {
            data.FirstGoodIndex = i;
            data.FirstGoodX = points(i).x;
            break;
        }
    }
    for (int i = count; i >= data.FirstGoodIndex; --i) {
        if (points(i).isGood()) {
            data.LastGoodIndex = i;
            data.LastGoodX = points(i).x;
            break;
        }
    }
    // Scans rarely reach 8 cm, so from there on the x values are taken to be XI = R^2/2.
    data.XIsRadius = data.LastGoodX < 8.0f;
}

} // namespace skerry
