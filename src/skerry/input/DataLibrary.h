#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "skerry/ground/Outcome.h"
#include "skerry/model/DataSet.h"

namespace skerry {

// The three routines every scan passes through: reading a scan file, subtracting a blank and
// rounding an axis range.

// Files larger than this are refused before they are read; a scan of 2200 points with its
// comments takes about 100 kB.
inline constexpr std::uintmax_t MaxScanFileBytes = std::uintmax_t{32} * 1024 * 1024;

// What a scan file holds once parsed.
struct ScanFile {
    PointArray points;
    std::int32_t count = 0;
    CommentLines comments;
    std::int32_t commentCount = 0;
};

// Parses the text of a scan file. Two kinds are read:
//  - the instrument's ASCII scan files: a free description line, a header line whose first field
//    is the scan type R, I, P, F or W followed by at least seven numbers, then data lines;
//    the first two lines become the comment lines;
//  - edited data files as this program writes them, and hand-made files of that shape: comment
//    lines, then data lines. The first data line starts the data.
// A data line holds two or three numbers separated by blanks, tabs or commas. After the data
// starts, blank lines are skipped and any other line is an error. A point gets the third value
// 1.0 when its line has two numbers, in intensity scans (type I, whose third column is a second
// channel) and when every third value of the file is exactly 0 (no deviation recorded), so that
// its points start good.
// A refused text tells why; `out` is then unspecified.
Done parseScanText(std::string_view text, ScanFile& out);

// Reads and parses one scan file. On success the file's bytes go to *fileText when given. A
// refused file tells why, and `scan` is then unspecified.
Done readScanFile(const std::string& path, ScanFile& scan, std::string* fileText = nullptr);

// Reads one scan file into a point block, its count and its comment lines. On success the file's
// bytes go to *fileText when given. A refused file tells why and leaves the outputs exactly as
// they were.
Done getdata(const std::string& path, PointArray& points, std::int32_t& count,
             CommentLines& comments, std::int32_t& commentCount, std::string* fileText = nullptr);

// Computes blank-corrected points: WorkPoints(i) takes x and the third value of raw(i), and its
// reading is the raw reading minus the blank's reading interpolated linearly at x over the
// blank's points in ascending x (beyond the blank's first or last x, that end's reading). The
// arithmetic is done in double precision from the single values and stored as single. A blank
// without points leaves the readings as they are.
void blank(const PointArray& raw, std::int32_t count, const PointArray& blankPoints,
           std::int32_t blankCount, PointArray& work);

// Rounds the range low..high outward to multiples of a step of 1, 2 or 5 times a power of ten,
// with 4 to 10 intervals. For every finite input the results are finite, lowEnd <= low and
// high <= highEnd, and intervals >= 1.
void tkrnd2(float low, float high, float& lowEnd, float& highEnd, std::int32_t& intervals);

} // namespace skerry
