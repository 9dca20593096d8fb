#include "skerry/model/Listing.h"

#include "skerry/ground/NumberPattern.h"

namespace skerry {

namespace {

const NumberPattern& radiusPattern() {
    static const NumberPattern pattern("0.00000");
    return pattern;
}

const NumberPattern& xiPattern() {
    static const NumberPattern pattern("00.00000");
    return pattern;
}

const NumberPattern& readingPattern() {
    static const NumberPattern pattern(" 0.00000E+00;-0.00000E+00");
    return pattern;
}

const NumberPattern& thirdPattern() {
    static const NumberPattern pattern(" 0.000E+00;-0.000E+00");
    return pattern;
}

void appendReadingAndThird(std::string& out, const Point& point, int blanksBeforeThird) {
    out.append(3, ' ');
    readingPattern().appendTo(out, point.reading);
    out.append(static_cast<std::size_t>(blanksBeforeThird), ' ');
    thirdPattern().appendTo(out, point.third);
    while (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
}

} // namespace

void appendListingLine(std::string& out, const Point& point, int blanksBeforeThird) {
    out.append(3, ' ');
    radiusPattern().appendTo(out, point.x);
    appendReadingAndThird(out, point, blanksBeforeThird);
}

void appendXiLine(std::string& out, const Point& point) {
    out.append(2, ' ');
    const double x = point.x;
    xiPattern().appendTo(out, x * x / 2.0);
    appendReadingAndThird(out, point, 3);
}

std::string ListingLine(const Point& point) {
    std::string line;
    appendListingLine(line, point);
    return line;
}

void appendCommentLines(std::string& out, const DataSet& data) {
    for (int i = 1; i <= data.CommentCount; ++i) {
        out.append(data.CommentBlock.line(i));
        out.append("\r\n");
    }
}

std::string listingText(const DataSet& data, int blanksBeforeThird) {
    std::string text;
    text.reserve(static_cast<std::size_t>(data.CommentCount) * 98 +
                 static_cast<std::size_t>(data.PointCount) * 48);
    appendCommentLines(text, data);
    for (int i = 1; i <= data.PointCount; ++i) {
        appendListingLine(text, data.WorkPoints(i), blanksBeforeThird);
        text.append("\r\n");
    }
    return text;
}

} // namespace skerry
