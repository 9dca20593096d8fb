#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "skerry/input/DataLibrary.h"
#include "support/TempDir.h"

namespace skerry {
namespace {

struct ParseCase {
    const char* name;
    std::string text;
    int points;
    int comments;
    Point first; // the first point as stored
    Point last;  // the last point as stored
};

Point pt(float x, float reading, float third) {
    return {x, reading, third};
}

// Files that must be read, with what they hold.
const ParseCase readableFiles[] = {
    {"instrument absorbance scan, four-digit exponents",
     "Cell 1 sample\r\nR 1 20.0 42000 1234 1.234E+10 280 1\r\n"
     "   5.8090  3.88350E+0002   9.72590E+0002\r\n   5.8100  3.90000E+0002   9.80000E-0003\r\n",
     2, 2, pt(5.809f, 388.35f, 972.59f), pt(5.81f, 390.0f, 0.0098f)},
    {"instrument intensity scan: the third column is a channel, not a mark",
     "description\nI 1 20.0 42000 1234 1.234E+10 280 1\n 5.9 1200 -300\n 6.0 1250 0\n", 2, 2,
     pt(5.9f, 1200.0f, 1.0f), pt(6.0f, 1250.0f, 1.0f)},
    {"instrument header whose description line looks like data",
     "1 2\rP 2 20.0 42000 1234 1.234E+10 655 1\r5.9 0.1\r6.0 0.2\r", 2, 2, pt(5.9f, 0.1f, 1.0f),
     pt(6.0f, 0.2f, 1.0f)},
    {"edited file: comments, then data with deleted points kept",
     "first comment\r\nsecond comment\r\n   6.00000    1.00000E-01   -1.000E-02\r\n"
     "   6.10000   -5.00000E-01    0.000E+00\r\n   6.20000    2.00000E-01    3.000E-02\r\n",
     3, 2, pt(6.0f, 0.1f, -0.01f), pt(6.2f, 0.2f, 0.03f)},
    {"no comment lines at all", "6.0 1.0 0.5\n6.1 2.0 0.5", 2, 0, pt(6.0f, 1.0f, 0.5f),
     pt(6.1f, 2.0f, 0.5f)},
    {"all third values zero: no deviations recorded", "c\n6.0 1 0\n6.1 2 0\n6.2 3 -0\n", 3, 1,
     pt(6.0f, 1.0f, 1.0f), pt(6.2f, 3.0f, 1.0f)},
    {"mixed two- and three-number lines keep the recorded marks", "6.0 1\n6.1 2 0\n6.2 3 0.5\n", 3,
     0, pt(6.0f, 1.0f, 1.0f), pt(6.2f, 3.0f, 0.5f)},
    {"commas and tabs separate, blank lines after the data start are skipped",
     "x,y,z\n6.0,\t1.5 ,0.25\n\n   \n\t\n6.5\t2.5\t0.75\n\x1a", 2, 1, pt(6.0f, 1.5f, 0.25f),
     pt(6.5f, 2.5f, 0.75f)},
    {"Fortran D exponents, signs, fractions alone", "+6.0 .5D0 1d-2\n-.5 -1.5E+1 +2.\n", 2, 0,
     pt(6.0f, 0.5f, 0.01f), pt(-0.5f, -15.0f, 2.0f)},
    {"a UTF-8 byte order mark does not hide the first data line",
     "\xef\xbb\xbf"
     "6.0 1 1\n",
     1, 0, pt(6.0f, 1.0f, 1.0f), pt(6.0f, 1.0f, 1.0f)},
    {"a line of NaN before the data is only a comment", "5.9 nan 1\n6.0 1 1\n", 1, 1,
     pt(6.0f, 1.0f, 1.0f), pt(6.0f, 1.0f, 1.0f)},
    {"nearest single and the largest single", "6.1234567891 3.4028234e38 1e-45\n", 1, 0,
     pt(6.1234567891f, 3.4028234e38f, 1e-45f), pt(6.1234567891f, 3.4028234e38f, 1e-45f)},
};

TEST(ParseScanText, ReadsBothKindsOfFile) {
    for (const auto& c : readableFiles) {
        SCOPED_TRACE(c.name);
        auto scan = std::make_unique<ScanFile>();
        const auto refusal = parseScanText(c.text, *scan);
        ASSERT_FALSE(refusal) << *refusal;
        EXPECT_EQ(scan->count, c.points);
        EXPECT_EQ(scan->commentCount, c.comments);
        for (const auto& [index, expected] : {std::pair{1, c.first}, std::pair{c.points, c.last}}) {
            EXPECT_EQ(scan->points(index).x, expected.x);
            EXPECT_EQ(scan->points(index).reading, expected.reading);
            EXPECT_EQ(scan->points(index).third, expected.third);
        }
    }
}

struct RefusalCase {
    const char* name;
    std::string text;
    std::string reason;
};

const std::string notData = " is not a data line (two or three numbers expected)";

const RefusalCase refusedFiles[] = {
    {"empty file", "", "it holds no data points"},
    {"comments only", "one\ntwo\n", "it holds no data points"},
    {"a text line inside the data", "c\n6.0 1 1\n6.1 2 1\nend of scan\n", "line 4" + notData},
    {"four numbers", "6.0 1 1\n6.1 2 1 4\n", "line 2" + notData},
    {"one number", "6.0 1 1\r6.1\r", "line 2" + notData},
    {"NaN inside the data", "6.0 1 1\n6.1 NaN 1\n", "line 2" + notData},
    {"Inf inside the data", "6.0 1 1\n6.1 1 inf\n", "line 2" + notData},
    {"too large for a single", "c\n6.0 1e39 1\n",
     "line 2 holds the value 1e39, which is out of range"},
    {"too small for a single", "6.0 1 1e-50\n",
     "line 1 holds the value 1e-50, which is out of range"},
    {"an exponent without digits", "6.0 1 1\n6.1 1E 1\n", "line 2" + notData},
    {"CR, CR LF and LF line ends each end one line", "c\r6.0 1 1\r6.1 2 1\r\n6.2 x 1\n",
     "line 4" + notData},
    {"an empty line between LF and CR", "6.0 1 1\n\r\n\r6.1 y 1", "line 4" + notData},
    {"UTF-16 text",
     std::string("\xff\xfe"
                 "6\0.\0"
                 "0\0",
                 8),
     "it is UTF-16 text; save it as plain 8-bit text"},
    {"binary data", std::string("6.0 1 1\n\0\x01\x02", 11), "it holds binary data, not text"},
};

TEST(ParseScanText, RefusesWithAReason) {
    for (const auto& c : refusedFiles) {
        SCOPED_TRACE(c.name);
        auto scan = std::make_unique<ScanFile>();
        EXPECT_EQ(parseScanText(c.text, *scan).value_or("(read)"), c.reason);
    }
}

// The digits of a random number as a scan file may hold them: a sign, a significand with or
// without a point, and an exponent with E or D.
std::string randomNumberText(std::mt19937& random) {
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    std::string text = std::array<const char*, 3>{"", "-", "+"}[pick(0, 2)];
    // Up to 25 digits: past seven the significand needs the full conversion, past nineteen it
    // no longer fits 64 bits.
    const int digits = pick(0, 9) == 0 ? pick(8, 25) : pick(1, 8);
    const int point = pick(-1, digits);
    for (int i = 0; i < digits; ++i) {
        if (i == point) {
            text += '.';
        }
        text += static_cast<char>('0' + pick(0, 9));
    }
    if (point == digits) {
        text += '.';
    }
    if (pick(0, 2) != 0) {
        text += std::array<char, 4>{'E', 'e', 'D', 'd'}[pick(0, 3)];
        text += std::array<const char*, 3>{"", "-", "+"}[pick(0, 2)];
        // Mostly within ten either way, sometimes beyond, with leading zeros as the instrument
        // writes them; every value stays within the range of a single.
        const int exponent = pick(0, 4) == 0 ? pick(11, 13) : pick(0, 10);
        text += (pick(0, 1) == 0 ? "00" : "") + std::to_string(exponent);
    }
    return text;
}

// What the standard library makes of the same text: the nearest single.
float nearestSingle(std::string text) {
    if (text[0] == '+') {
        text.erase(0, 1);
    }
    for (char& c : text) {
        c = c == 'd' || c == 'D' ? 'e' : c;
    }
    float value = 0.0f;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

TEST(ParseScanText, ReadsEveryNumberAsTheNearestSingle) {
    std::mt19937 random(2200);
    // Round-half-even cases next to 2^24 and the ends of the quick conversion's range first.
    std::vector<std::string> numbers = {"16777216", "16777217", "16777219",     "1677721.7",
                                        "1E10",     "1E11",     "1E-10",        "1E-11",
                                        "-0.0",     "0.1",      "9.72590E-0003"};
    while (numbers.size() < 3 * 20000) {
        numbers.push_back(randomNumberText(random));
    }
    for (std::size_t first = 0; first < numbers.size(); first += 3 * MaxPoints) {
        std::string text;
        const std::size_t end = std::min(numbers.size(), first + 3 * MaxPoints);
        for (std::size_t i = first; i < end; i += 3) {
            text += numbers[i] + " " + numbers[i + 1] + " " + numbers[i + 2] + "\r\n";
        }
        auto scan = std::make_unique<ScanFile>();
        const auto refusal = parseScanText(text, *scan);
        // Numbers outside the single range are refused; the generator makes none.
        ASSERT_FALSE(refusal) << *refusal;
        for (std::size_t i = first; i < end; ++i) {
            const Point& p = scan->points(static_cast<int>((i - first) / 3 + 1));
            const float read = std::array{p.x, p.reading, p.third}[(i - first) % 3];
            ASSERT_EQ(std::bit_cast<std::uint32_t>(read),
                      std::bit_cast<std::uint32_t>(nearestSingle(numbers[i])))
                << numbers[i];
        }
    }
}

TEST(GetData, ARefusedFileLeavesTheOutputsAsTheyWere) {
    test::TempDir dir;
    const std::string good = "comment\n6.0 1 1\n6.1 2 1\n";
    auto points = std::make_unique<PointArray>();
    std::int32_t count = 0;
    CommentLines comments;
    std::int32_t commentCount = 0;
    std::string text;
    ASSERT_FALSE(
        getdata(dir.write("good.dat", good), *points, count, comments, commentCount, &text));
    EXPECT_EQ(text, good);
    const auto bad = dir.write("bad.dat", "6.5 9 9\nnot data\n");
    for (const auto& path : {bad, dir / "missing.dat", dir.path()}) {
        SCOPED_TRACE(path.string());
        EXPECT_TRUE(getdata(path.string(), *points, count, comments, commentCount, &text));
        EXPECT_EQ(count, 2);
        EXPECT_EQ(commentCount, 1);
        EXPECT_EQ((*points)(2).reading, 2.0f);
        EXPECT_EQ(comments.line(1).substr(0, 7), "comment");
        EXPECT_EQ(text, good);
    }
}

// Blank subtraction ------------------------------------------------------------------------

std::unique_ptr<PointArray> points(std::initializer_list<Point> list) {
    auto array = std::make_unique<PointArray>();
    int i = 0;
    for (const Point& p : list) {
        (*array)(++i) = p;
    }
    return array;
}

TEST(Blank, SubtractsTheBlankInterpolatedAtEachX) {
    // The blank is given out of order; it is used in ascending x.
    const auto blankPoints = points({{6.2f, 0.3f, 1}, {6.0f, 0.1f, 1}, {6.1f, 0.2f, -1}});
    const auto raw = points({{5.9f, 1.0f, 0.5f},   // before the blank: its first reading
                             {6.0f, 1.0f, -0.5f},  // on a blank point
                             {6.05f, 1.0f, 0.5f},  // between two blank points
                             {6.3f, 1.0f, 0.0f}}); // beyond the blank: its last reading
    auto work = std::make_unique<PointArray>();
    blank(*raw, 4, *blankPoints, 3, *work);
    const float expected[] = {0.9f, 0.9f, 0.85f, 0.7f};
    for (int i = 1; i <= 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ((*work)(i).x, (*raw)(i).x);
        EXPECT_EQ((*work)(i).third, (*raw)(i).third);
        EXPECT_NEAR((*work)(i).reading, expected[i - 1], 1e-6);
    }
    // Of two blank points at one x the later counts. An empty blank subtracts nothing.
    const auto repeated = points({{6.0f, 0.1f, 1}, {6.0f, 0.5f, 1}, {6.2f, 0.7f, 1}});
    blank(*raw, 4, *repeated, 3, *work);
    EXPECT_NEAR((*work)(2).reading, 0.5f, 1e-6);
    EXPECT_NEAR((*work)(3).reading, 0.45f, 1e-6);
    blank(*raw, 4, *blankPoints, 0, *work);
    EXPECT_EQ((*work)(3).reading, 1.0f);
}

// Axis rounding ----------------------------------------------------------------------------

bool isRoundStep(double step) {
    const double decade = std::pow(10.0, std::floor(std::log10(step)));
    const double m = step / decade;
    return std::abs(m - 1) < 1e-5 || std::abs(m - 2) < 1e-5 || std::abs(m - 5) < 1e-5 ||
           std::abs(m - 10) < 1e-5;
}

void expectRounded(float low, float high) {
    float lowEnd = 0;
    float highEnd = 0;
    std::int32_t intervals = 0;
    tkrnd2(low, high, lowEnd, highEnd, intervals);
    SCOPED_TRACE(testing::Message() << low << " .. " << high << " -> " << lowEnd << " .. "
                                    << highEnd << " / " << intervals);
    ASSERT_TRUE(std::isfinite(lowEnd));
    ASSERT_TRUE(std::isfinite(highEnd));
    ASSERT_GE(intervals, 1);
    EXPECT_LE(lowEnd, std::min(low, high));
    EXPECT_GE(highEnd, std::max(low, high));
    EXPECT_LT(lowEnd, highEnd);
}

TEST(Tkrnd2, TypicalRangesGetRoundEndsAndFourToTenIntervals) {
    struct Case {
        float low, high, lowEnd, highEnd;
        int intervals;
    };
    const Case cases[] = {
        {5.8f, 7.2f, 5.8f, 7.2f, 7},       {0.0f, 5.0f, 0.0f, 5.0f, 5},
        {0.0f, 2000.0f, 0.0f, 2000.0f, 4}, {0.013f, 1.92f, 0.0f, 2.0f, 4},
        {-20.0f, 20.0f, -20.0f, 20.0f, 4}, {-0.003f, -0.001f, -0.003f, -0.001f, 4},
        {16.82f, 25.92f, 16.0f, 26.0f, 5}, {0.0f, 0.0005f, 0.0f, 0.0005f, 5},
        {1.5f, 6.0f, 1.5f, 6.0f, 9},
    };
    for (const auto& c : cases) {
        float lowEnd = 0;
        float highEnd = 0;
        std::int32_t intervals = 0;
        tkrnd2(c.low, c.high, lowEnd, highEnd, intervals);
        SCOPED_TRACE(testing::Message() << c.low << " .. " << c.high);
        EXPECT_EQ(lowEnd, c.lowEnd);
        EXPECT_EQ(highEnd, c.highEnd);
        EXPECT_EQ(intervals, c.intervals);
        EXPECT_TRUE(isRoundStep((double(highEnd) - lowEnd) / intervals));
    }
}

TEST(Tkrnd2, EnclosesEveryFiniteRange) {
    const float extremes[] = {0.0f,
                              -0.0f,
                              std::numeric_limits<float>::denorm_min(),
                              std::numeric_limits<float>::min(),
                              1.0f,
                              std::nextafter(1.0f, 2.0f),
                              3.0e38f,
                              std::numeric_limits<float>::max()};
    for (float a : extremes) {
        for (float b : extremes) {
            expectRounded(a, b);
            expectRounded(-a, b);
            expectRounded(a, -b);
        }
    }
    std::mt19937 random(20261206);
    std::uniform_real_distribution<float> mantissa(-10.0f, 10.0f);
    std::uniform_int_distribution<int> exponent(-40, 37);
    for (int i = 0; i < 20000; ++i) {
        const float a = mantissa(random) * std::pow(10.0f, float(exponent(random)));
        const float b = i % 3 == 0 ? a + 1e-6f * mantissa(random) * std::abs(a)
                                   : mantissa(random) * std::pow(10.0f, float(exponent(random)));
        expectRounded(a, b);
    }
}

} // namespace
} // namespace skerry
