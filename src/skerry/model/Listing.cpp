#include "skerry/model/Listing.h"

#include <array>

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

// One point line is made in a buffer on the stack and appended whole. The buffer is left unset:
// every character is written before it is read, and clearing 2 KB for each of thousands of lines
// would cost more than the line itself.
class Line { // NOLINT(cppcoreguidelines-pro-type-member-init)
public:
    void blanks(int count) {
        for (int i = 0; i < count; ++i) {
            *at_++ = ' ';
        }
    }
    template <typename T>
    void number(const NumberPattern& pattern, T value) {
        at_ = pattern.write(at_, value);
    }
    // The line without trailing blanks.
    void appendTo(std::string& out) {
        while (at_ != buffer_.data() && at_[-1] == ' ') {
            --at_;
        }
        out.append(buffer_.data(), at_);
    }

private:
    // Three numbers at their longest and the blanks between them.
    std::array<char, 2048> buffer_;
    char* at_ = buffer_.data();
};

void writeReadingAndThird(Line& line, const Point& point, int blanksBeforeThird) {
    line.blanks(3);
    line.number(readingPattern(), point.reading);
    line.blanks(blanksBeforeThird);
    line.number(thirdPattern(), point.third);
}

} // namespace

void appendListingLine(std::string& out, const Point& point, int blanksBeforeThird) {
    Line line;
    line.blanks(3);
    line.number(radiusPattern(), point.x);
    writeReadingAndThird(line, point, blanksBeforeThird);
    line.appendTo(out);
}

void appendXiLine(std::string& out, const Point& point) {
    Line line;
    line.blanks(2);
    const double x = point.x;
    line.number(xiPattern(), x * x / 2.0);
    writeReadingAndThird(line, point, 3);
    line.appendTo(out);
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
