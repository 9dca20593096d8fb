#include "skerry/input/DataLibrary.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "skerry/ground/FileIO.h"
#include "skerry/ground/NumberText.h"
#include "skerry/ground/Text.h"

namespace skerry {

namespace {

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == ',';
}

// Characters that may pad a line that is otherwise empty (DOS editors end files with Ctrl-Z).
bool isBlankLineChar(char c) {
    return c == ' ' || c == '\t' || c == '\f' || c == '\v' || c == '\x1a';
}

bool isBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(), isBlankLineChar);
}

// The nearest single to a number of at most 2^24 with a power of ten of at most 10 either way,
// which is what instrument files hold. Both operands are exact singles, so one rounded
// multiplication or division gives the correctly rounded result. False for any other number.
bool exactSingle(const DecimalNumberScan& scan, float& value) {
    static constexpr std::array<float, 11> powersOfTen = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                                          1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    constexpr std::uint64_t exactIntegers = std::uint64_t{1} << 24;
    if (!scan.significandExact || scan.significand > exactIntegers || scan.exponent < -10 ||
        scan.exponent > 10) {
        return false;
    }
    const auto significand = static_cast<float>(scan.significand);
    const float power = powersOfTen[static_cast<std::size_t>(std::abs(scan.exponent))];
    const float magnitude = scan.exponent < 0 ? significand / power : significand * power;
    value = scan.negative ? -magnitude : magnitude;
    return true;
}

// Converts a number that scanDecimalNumber read to the nearest single. False when the value
// does not fit a single: too large, or so small that it would silently become 0.
bool toSingle(std::string_view token, const DecimalNumberScan& scan, float& value) {
    if (exactSingle(scan, value)) {
        return true;
    }
    char buffer[128];
    const char* first = token.data();
    const char* last = token.data() + token.size();
    // from_chars knows neither a leading '+' nor the Fortran exponent letter D.
    if (*first == '+') {
        ++first;
    }
    if (scan.fortranExponent) {
        if (static_cast<std::size_t>(last - first) > sizeof buffer) {
            return false;
        }
        char* out = std::copy(first, last, buffer);
        std::replace_if(
            buffer, out, [](char c) { return c == 'd' || c == 'D'; }, 'e');
        first = buffer;
        last = out;
    }
    const auto result = std::from_chars(first, last, value);
    return result.ec == std::errc() && result.ptr == last && std::isfinite(value);
}

// Walks the fields of a line: runs of characters between blanks, tabs and commas.
class FieldReader {
public:
    explicit FieldReader(std::string_view line) : line_(line) {}

    bool next(std::string_view& field) {
        skipSeparators();
        if (pos_ == line_.size()) {
            return false;
        }
        const std::size_t start = pos_;
        while (pos_ < line_.size() && !isSeparator(line_[pos_])) {
            ++pos_;
        }
        field = line_.substr(start, pos_ - start);
        return true;
    }

    enum class Kind { End, Number, NotANumber };

    // The next field when it is one decimal number, read in the same pass that finds the field.
    Kind nextNumber(std::string_view& field, DecimalNumberScan& scan) {
        skipSeparators();
        if (pos_ == line_.size()) {
            return Kind::End;
        }
        const std::string_view rest = line_.substr(pos_);
        scan = scanDecimalNumber(rest);
        if (scan.length == 0 || (scan.length < rest.size() && !isSeparator(rest[scan.length]))) {
            return Kind::NotANumber;
        }
        field = rest.substr(0, scan.length);
        pos_ += scan.length;
        return Kind::Number;
    }

private:
    void skipSeparators() {
        while (pos_ < line_.size() && isSeparator(line_[pos_])) {
            ++pos_;
        }
    }

    std::string_view line_;
    std::size_t pos_ = 0;
};

// A line of two or three numbers, converted as they are read.
struct DataLine {
    int numbers = 0;     // 2 or 3 when the line is a data line
    int outOfRange = -1; // the first field whose value does not fit a single; -1: none
    std::string_view fields[3];
    float values[3] = {};
};

DataLine classify(std::string_view line) {
    // One object built in place and returned: this runs for every line of a file.
    DataLine d;
    FieldReader reader(line);
    int n = 0;
    for (;;) {
        std::string_view field;
        DecimalNumberScan scan;
        const FieldReader::Kind kind = reader.nextNumber(field, scan);
        if (kind == FieldReader::Kind::End) {
            break;
        }
        if (n == 3 || kind == FieldReader::Kind::NotANumber) {
            n = 0;
            break;
        }
        d.fields[n] = field;
        if (!toSingle(field, scan, d.values[n]) && d.outOfRange < 0) {
            d.outOfRange = n;
        }
        ++n;
    }
    d.numbers = n >= 2 ? n : 0;
    return d;
}

// The header line of an instrument scan file: the scan type letter, then at least seven numbers
// (cell, temperature, rotor speed, elapsed time, omega^2 t, wavelength or radius, a count).
bool isInstrumentHeader(std::string_view line, char& scanType) {
    FieldReader reader(line);
    std::string_view token;
    if (!reader.next(token) || token.size() != 1 ||
        std::string_view("RIPFW").find(token[0]) == std::string_view::npos) {
        return false;
    }
    scanType = token[0];
    int numbers = 0;
    DecimalNumberScan scan;
    FieldReader::Kind kind{};
    while ((kind = reader.nextNumber(token, scan)) == FieldReader::Kind::Number) {
        ++numbers;
    }
    return kind == FieldReader::Kind::End && numbers >= 7;
}

// UTF-16 text without a byte order mark: in plain ASCII text every other byte is NUL.
bool looksLikeUtf16(std::string_view text) {
    const std::size_t n = std::min<std::size_t>(text.size(), 400) & ~std::size_t{1};
    int evenNuls = 0;
    int oddNuls = 0;
    for (std::size_t i = 0; i < n; i += 2) {
        evenNuls += text[i] == '\0';
        oddNuls += text[i + 1] == '\0';
    }
    const int pairs = static_cast<int>(n / 2);
    return pairs > 0 && std::max(evenNuls, oddNuls) * 10 >= pairs * 9 &&
           std::min(evenNuls, oddNuls) * 10 <= pairs;
}

Failure lineError(int lineNumber, std::string_view what) {
    return Failure{"line " + std::to_string(lineNumber) + " " + std::string(what)};
}

} // namespace

Done parseScanText(std::string_view text, ScanFile& out) {
    out.count = 0;
    out.commentCount = 0;
    out.comments.clear();

    if (text.size() >= 2 &&
        ((text[0] == '\xff' && text[1] == '\xfe') || (text[0] == '\xfe' && text[1] == '\xff'))) {
        return Failure{"it is UTF-16 text; save it as plain 8-bit text"};
    }
    if (text.find('\0') != std::string_view::npos) {
        return Failure{looksLikeUtf16(text) ? "it is UTF-16 text; save it as plain 8-bit text"
                                            : "it holds binary data, not text"};
    }
    if (text.substr(0, 3) == "\xef\xbb\xbf") {
        text.remove_prefix(3); // a UTF-8 byte order mark is not part of the first line
    }

    // Instrument scan files are recognised by their second line.
    char scanType = 0;
    bool instrumentFile = false;
    {
        LineReader probe(text);
        std::string_view first;
        std::string_view second;
        if (probe.next(first) && probe.next(second)) {
            instrumentFile = isInstrumentHeader(second, scanType);
        }
    }

    LineReader reader(text);
    std::string_view line;
    bool inData = false;
    bool anyNonZeroThird = false;
    while (reader.next(line)) {
        const bool headerLine = !inData && instrumentFile && reader.lineNumber() <= 2;
        const DataLine d = headerLine ? DataLine{} : classify(line);
        if (!inData) {
            if (d.numbers == 0) {
                if (out.commentCount < MaxCommentLines) {
                    out.comments.setLine(++out.commentCount, line);
                }
                continue;
            }
            inData = true;
        }
        if (d.numbers == 0) {
            if (isBlankLine(line)) {
                continue;
            }
            return lineError(reader.lineNumber(),
                             "is not a data line (two or three numbers expected)");
        }
        if (out.count == MaxPoints) {
            return Failure{"it holds more than " + std::to_string(MaxPoints) + " points"};
        }
        if (d.outOfRange >= 0) {
            return lineError(reader.lineNumber(), "holds the value " +
                                                      std::string(d.fields[d.outOfRange]) +
                                                      ", which is out of range");
        }
        Point p{d.values[0], d.values[1], 1.0f};
        if (d.numbers == 3) {
            p.third = d.values[2];
            anyNonZeroThird = anyNonZeroThird || p.third != 0.0f;
        }
        out.points(++out.count) = p;
    }

    if (out.count == 0) {
        return Failure{"it holds no data points"};
    }
    // Intensity scans carry a second channel in the third column, and a file without recorded
    // deviations has zeros there; neither is a deletion mark.
    if (scanType == 'I' || !anyNonZeroThird) {
        for (int i = 1; i <= out.count; ++i) {
            out.points(i).third = 1.0f;
        }
    }
    return {};
}

Done readScanFile(const std::string& path, ScanFile& scan, std::string* fileText) {
    auto file = readWholeFile(os::pathFromUtf8(path), MaxScanFileBytes);
    if (!file) {
        return file.failure();
    }
    if (Done parsed = parseScanText(*file, scan); !parsed) {
        return parsed;
    }
    if (fileText != nullptr) {
        *fileText = std::move(*file);
    }
    return {};
}

Done getdata(const std::string& path, PointArray& points, std::int32_t& count,
             CommentLines& comments, std::int32_t& commentCount, std::string* fileText) {
    // Parsed apart, so that a refused file leaves the outputs as they were.
    auto scan = std::make_unique<ScanFile>();
    if (Done read = readScanFile(path, *scan, fileText); !read) {
        return read;
    }
    copyPoints(scan->points, points, scan->count);
    count = scan->count;
    comments = scan->comments;
    commentCount = scan->commentCount;
    return {};
}

void blank(const PointArray& raw, std::int32_t count, const PointArray& blankPoints,
           std::int32_t blankCount, PointArray& work) {
    struct Sample {
        double x;
        double reading;
    };
    std::vector<Sample> samples;
    samples.reserve(static_cast<std::size_t>(std::max(blankCount, 0)));
    for (int j = 1; j <= blankCount; ++j) {
        samples.push_back({blankPoints(j).x, blankPoints(j).reading});
    }
    std::stable_sort(samples.begin(), samples.end(),
                     [](const Sample& a, const Sample& b) { return a.x < b.x; });

    for (int i = 1; i <= count; ++i) {
        const Point& r = raw(i);
        Point& w = work(i);
        w.x = r.x;
        w.third = r.third;
        if (samples.empty()) {
            w.reading = r.reading;
            continue;
        }
        const double x = r.x;
        // The first sample beyond x; the one before it is at or below x, so the interval between
        // them never has zero width, even where the blank repeats an x.
        const auto upper = std::upper_bound(samples.begin(), samples.end(), x,
                                            [](double v, const Sample& s) { return v < s.x; });
        const double b = [&] {
            if (upper == samples.begin()) {
                return samples.front().reading;
            }
            if (upper == samples.end()) {
                return samples.back().reading;
            }
            const Sample& lo = *(upper - 1);
            const Sample& hi = *upper;
            return lo.reading + (hi.reading - lo.reading) * (x - lo.x) / (hi.x - lo.x);
        }();
        w.reading = static_cast<float>(static_cast<double>(r.reading) - b);
    }
}

void tkrnd2(float low, float high, float& lowEnd, float& highEnd, std::int32_t& intervals) {
    if (!std::isfinite(low) || !std::isfinite(high)) {
        lowEnd = -1.0f;
        highEnd = 1.0f;
        intervals = 4;
        return;
    }
    if (low > high) {
        std::swap(low, high);
    }
    double lo = low;
    double hi = high;
    if (lo == hi) {
        const double half = lo == 0.0 ? 1.0 : std::abs(lo) / 2.0;
        lo -= half;
        hi += half;
    }

    // Steps of 1, 2 and 5 times a power of ten, from the first one that covers the range in
    // at most ten intervals (it leaves at least four) upwards, as long as four intervals remain.
    // The tightest frame wins, so that the data fill the plot; between frames of the same width
    // the one nearest five intervals gives the most readable axis.
    struct Frame {
        float lowEnd;
        float highEnd;
        int intervals;
    };
    const auto frameFor = [&](double step) -> std::optional<Frame> {
        double kLow = std::floor(lo / step);
        double kHigh = std::ceil(hi / step);
        // The ends are stored as singles: an end that encloses the range once rounded to single
        // precision needs no further interval.
        if (static_cast<float>((kLow + 1.0) * step) <= static_cast<float>(lo)) {
            kLow += 1.0;
        }
        if (static_cast<float>((kHigh - 1.0) * step) >= static_cast<float>(hi)) {
            kHigh -= 1.0;
        }
        const auto e0 = static_cast<float>(kLow * step);
        const auto e1 = static_cast<float>(kHigh * step);
        if (!std::isfinite(e0) || !std::isfinite(e1) || !(e0 < e1)) {
            return std::nullopt;
        }
        return Frame{e0, e1, static_cast<int>(kHigh - kLow)};
    };

    std::optional<Frame> best;
    const double firstDecade = std::pow(10.0, std::floor(std::log10(hi - lo)) - 1.0);
    for (int i = 0; i < 9; ++i) {
        const double step = std::array{1.0, 2.0, 5.0}[static_cast<std::size_t>(i % 3)] *
                            firstDecade * std::pow(10.0, i / 3);
        const auto frame = frameFor(step);
        if (!frame) {
            break; // round ends would overflow a single; larger steps only make it worse
        }
        if (frame->intervals > 10) {
            continue;
        }
        if (frame->intervals < 4 && best) {
            break;
        }
        const float width = frame->highEnd - frame->lowEnd;
        const float bestWidth = best ? best->highEnd - best->lowEnd : 0.0f;
        if (!best || width < bestWidth ||
            (width == bestWidth &&
             std::abs(frame->intervals - 5) < std::abs(best->intervals - 5))) {
            best = frame;
        }
    }
    if (best) {
        lowEnd = best->lowEnd;
        highEnd = best->highEnd;
        intervals = best->intervals;
        return;
    }

    // At the edge of the single range there are no round ends: use the range itself, kept
    // finite and at least one single apart.
    constexpr float largest = std::numeric_limits<float>::max();
    lowEnd = std::isfinite(static_cast<float>(lo)) ? static_cast<float>(lo) : -largest;
    highEnd = std::isfinite(static_cast<float>(hi)) ? static_cast<float>(hi) : largest;
    if (lowEnd == highEnd) {
        if (highEnd < largest) {
            highEnd = std::nextafter(highEnd, largest);
        } else {
            lowEnd = std::nextafter(lowEnd, -largest);
        }
    }
    intervals = 1;
}

} // namespace skerry
