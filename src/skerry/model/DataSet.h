#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace skerry {

inline constexpr int MaxPoints = 2200;
inline constexpr int CommentLineLength = 96;
inline constexpr int MaxCommentLines = 50;

// One point of a radial scan. The third value travels with the point from the input file to the
// output file; its sign is the point's mark: greater than 0 is good, 0 or less is deleted.
struct Point {
    float x = 0.0f;       // radius in cm, or XI = R^2/2 in cm^2
    float reading = 0.0f; // plotted as "Concentration"
    float third = 0.0f;

    bool isGood() const { return third > 0.0f; }
};

// Deleting and restoring only ever change the sign, so the magnitude survives any number of
// edits; a third value of exactly 0 stays deleted. The float forms serve the editor, which
// keeps the third values in an array of their own.
inline void markDeleted(float& third) {
    third = -std::abs(third);
}
inline void markGood(float& third) {
    third = std::abs(third);
}
inline void markDeleted(Point& p) {
    markDeleted(p.third);
}
inline void markGood(Point& p) {
    markGood(p.third);
}

// A fixed block of MaxPoints points indexed from 1, as the file formats, the fit files and the
// retained range count them. Indices outside 1..MaxPoints throw std::out_of_range rather than
// touch memory outside the block.
class PointArray {
public:
    Point& operator()(int index) { return points_.at(static_cast<std::size_t>(index - 1)); }
    const Point& operator()(int index) const {
        return points_.at(static_cast<std::size_t>(index - 1));
    }

private:
    std::array<Point, MaxPoints> points_{};
};

// MaxCommentLines lines of exactly CommentLineLength characters, padded with blanks. Characters
// are kept as the bytes they were read as.
class CommentLines {
public:
    CommentLines() { text_.fill(' '); }

    // Line `index` (1..MaxCommentLines), all 96 characters, trailing blanks included.
    std::string_view line(int index) const;
    // Stores `text` in line `index`, cut to 96 characters or padded with blanks.
    void setLine(int index, std::string_view text);
    void clear() { text_.fill(' '); }

private:
    std::array<char, std::size_t{CommentLineLength} * MaxCommentLines> text_{};
};

// The one data set the program holds: the points of one scan, its comment lines, an optional
// blank scan, the range of points that survives editing and a few flags.
struct DataSet {
    PointArray RawPoints;   // the file's points as read (and a fit file's marks)
    PointArray WorkPoints;  // what every operation, the listing, the editor and the writer use
    PointArray BlankPoints; // the blank file's points
    std::array<float, MaxPoints> NoiseValues{}; // noise added to each reading, point 1 first
    std::int32_t PointCount = 0;
    std::int32_t BlankCount = 0;
    CommentLines CommentBlock;
    std::int32_t CommentCount = 0;
    CommentLines BlankCommentBlock;
    std::int32_t BlankCommentCount = 0;
    std::string DataFileName; // path of the file last read, data or blank; trimmed

    // The retained range: what Save Truncated writes.
    std::int32_t FirstGoodIndex = 0;
    std::int32_t LastGoodIndex = 0;
    float FirstGoodX = 0.0f;
    float LastGoodX = 0.0f;

    bool XIsRadius = false;
    bool BlankLoaded = false;
    bool NoiseAdded = false;
    float NoiseRms = 0.01f;

    std::string WorkDir;     // the current directory with exactly one trailing separator
    std::string ListingFile; // WorkDir + "~skerry.tmp"
    std::string CommentFile; // WorkDir + "~comment.tmp"
};

// What the retained range becomes when no point of the data set is good.
enum class WhenNoneGood {
    WholeScan, // 1..PointCount, as after loading a scan
    Unchanged, // as it was, as after leaving the editor
};

// Sets the retained range to the first and last good point of WorkPoints 1..PointCount.
void setRetainedRange(DataSet& data, WhenNoneGood fallback);

// The retained range of a data set just loaded (the whole scan when no point is good); decides
// from the last good x whether x is a radius (below 8.0) or XI.
void deriveRetainedRange(DataSet& data);

// Copies points 1..count from one array to another.
void copyPoints(const PointArray& from, PointArray& to, std::int32_t count);

} // namespace skerry
