#include "FuzzTargets.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "skerry/ground/LeadingNumber.h"
#include "skerry/ground/NumberPattern.h"
#include "skerry/ground/ProfileFile.h"
#include "skerry/input/DataLibrary.h"
#include "skerry/input/FitFile.h"
#include "skerry/output/EditedDataFile.h"
#include "skerry/suggest/Suggestion.h"

namespace skerry::fuzz {

namespace {

[[noreturn]] void broken(const char* promise) {
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

void require(bool holds, const char* promise) {
    if (!holds) {
        broken(promise);
    }
}

// The same bits in all three values: a copy, not merely equal numbers.
bool sameBits(const Point& a, const Point& b) {
    const auto bits = [](float v) {
        return std::bit_cast<std::uint32_t>(v);
    };
    return bits(a.x) == bits(b.x) && bits(a.reading) == bits(b.reading) &&
           bits(a.third) == bits(b.third);
}

std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Reads fixed-size values off the front of the input.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    template <typename T>
    T take() {
        T value{};
        const std::size_t n = std::min(sizeof(T), size_);
        std::memcpy(&value, data_, n);
        data_ += n;
        size_ -= n;
        return value;
    }

    std::string_view rest() const { return asText(data_, size_); }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

// Section and key names the checks write: letters and digits only, so that they are never
// mistaken for headers, comments or separators.
std::string safeName(std::string_view raw, const char* fallback) {
    std::string name;
    for (char c : raw) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
            name += c;
        }
    }
    return name.empty() ? fallback : name;
}

bool sameAscii(std::string_view a, std::string_view b) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

int scanText(const std::uint8_t* data, std::size_t size) {
    auto scan = std::make_unique<ScanFile>();
    const Done parsed = parseScanText(asText(data, size), *scan);
    if (!parsed) {
        require(!parsed.reason().empty(), "a refusal says why");
        return 0;
    }
    require(scan->count >= 1 && scan->count <= MaxPoints, "1..2200 points");
    require(scan->commentCount >= 0 && scan->commentCount <= MaxCommentLines, "0..50 comments");
    for (int i = 1; i <= scan->count; ++i) {
        const Point& p = scan->points(i);
        require(std::isfinite(p.x) && std::isfinite(p.reading) && std::isfinite(p.third),
                "every value finite");
    }
    // What is read can be written: every line of the saved file has its fixed shape.
    auto data_set = std::make_unique<DataSet>();
    copyPoints(scan->points, data_set->WorkPoints, scan->count);
    data_set->PointCount = scan->count;
    data_set->CommentBlock = scan->comments;
    data_set->CommentCount = scan->commentCount;
    deriveRetainedRange(*data_set);
    require(data_set->FirstGoodIndex >= 1 && data_set->FirstGoodIndex <= data_set->LastGoodIndex &&
                data_set->LastGoodIndex <= data_set->PointCount,
            "the retained range lies inside the points");
    const std::string text = editedFileText(*data_set, {false, false});
    std::size_t lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2)) {
        ++lines;
    }
    const int expected =
        data_set->CommentCount + data_set->LastGoodIndex - data_set->FirstGoodIndex + 1;
    require(lines == static_cast<std::size_t>(expected),
            "one line per comment and per retained point");
    return 0;
}

int profileFile(const std::uint8_t* data, std::size_t size) {
    Bytes bytes(data, size);
    const auto split = bytes.take<std::uint16_t>();
    const std::string_view text = bytes.rest();
    const std::string_view file = text.substr(0, std::min<std::size_t>(split, text.size()));
    const std::string_view names = text.substr(file.size());

    ProfileFile profile = ProfileFile::parse(file);
    const std::string section = safeName(names.substr(0, names.size() / 2), "S");
    const std::string key = safeName(names.substr(names.size() / 2), "k");
    const std::string before = profile.readString(section, key, "", 96);
    require(before.size() <= 95, "a text value fits its buffer");
    (void)profile.readInt(section, key, 7);

    // Writing a value and reading it back gives the value, and leaves other keys alone.
    const std::string value = "v" + std::to_string(size);
    const std::string other = profile.readString("Other1", "Key1", "(none)", 4096);
    profile.write(section, key, value);
    require(profile.readString(section, key, "", 4096) == value, "a written value reads back");
    if (!sameAscii(section, "Other1") || !sameAscii(key, "Key1")) {
        require(profile.readString("Other1", "Key1", "(none)", 4096) == other,
                "writing one key leaves another alone");
    }
    const ProfileFile reread = ProfileFile::parse(profile.bytes());
    require(reread.readString(section, key, "", 4096) == value, "a saved value reads back");
    return 0;
}

namespace {

// A folder with the scan files a fuzzed fit file may name: "scan.dat" (radii, some points
// deleted in the file) and "xi.dat" (XI values), made once per process.
const std::filesystem::path& fitFolder() {
    static const std::filesystem::path folder = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "skerry-fuzz-fit-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            broken("a temporary folder can be made");
        }
        std::string radii = "scan\r\n";
        std::string xi = "xi\r\n";
        for (int i = 0; i < 60; ++i) {
            const double r = 5.8 + 0.025 * i;
            const char* mark = i % 17 == 5 ? "-0.01" : "0.01";
            radii += std::to_string(r) + " " + std::to_string(i * 0.01) + " " + mark + "\r\n";
            xi += std::to_string(r * r / 2) + " " + std::to_string(i * 0.01) + " " + mark + "\r\n";
        }
        for (const auto& [name, text] : {std::pair{"scan.dat", radii}, std::pair{"xi.dat", xi}}) {
            std::FILE* file = std::fopen((std::filesystem::path(pattern) / name).c_str(), "wb");
            std::fwrite(text.data(), 1, text.size(), file);
            std::fclose(file);
        }
        return std::filesystem::path(pattern);
    }();
    return folder;
}

} // namespace

int fitFile(const std::uint8_t* data, std::size_t size) {
    // Names stay inside the scan folder: a fuzzed name must not wander the file system.
    std::string text(asText(data, size));
    std::replace(text.begin(), text.end(), '/', '_');
    const ProfileFile fit = ProfileFile::parse(text);
    const FitListReading reading = readFitFileList(fit, "fuzz.fit", fitFolder());
    require(reading.list || !reading.list.reason().empty(), "a refusal says why");
    if (!reading.list) {
        return 0;
    }
    const FitFileList& list = *reading.list;
    require(list.FitFoundCount >= 1 && list.FitFoundCount <= 15, "1..15 data sets");
    for (int k = 1; k <= list.FitFoundCount; ++k) {
        auto scan = std::make_unique<ScanFile>();
        if (!readFitDataFile(list, k, *scan)) {
            continue;
        }
        auto dataSet = std::make_unique<DataSet>();
        reopenFitEntry(*dataSet, list, k, *scan, fit);
        const DataSet& d = *dataSet;
        require(d.PointCount == scan->count, "every point of the file");
        require(d.FirstGoodIndex >= 1 && d.FirstGoodIndex <= d.PointCount && d.LastGoodIndex >= 1 &&
                    d.LastGoodIndex <= d.PointCount,
                "the retained range lies inside the points");
        for (int i = 1; i <= d.PointCount; ++i) {
            const Point& was = scan->points(i);
            const Point& now = d.WorkPoints(i);
            require(now.x == was.x && now.reading == was.reading, "only marks change");
            require(std::abs(now.third) == std::abs(was.third), "a mark keeps its magnitude");
            require(was.isGood() || !now.isGood(), "a fit file never restores a point");
            require(sameBits(d.RawPoints(i), now), "the marks are part of the raw points");
        }
    }
    return 0;
}

int leadingNumber(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = asText(data, size);
    const double value = skerry::leadingNumber(text);
    require(!std::isnan(value), "never NaN");
    // Leading blanks, tabs and line feeds never change the number.
    const std::string padded = " \t\n" + std::string(text);
    const double again = skerry::leadingNumber(padded);
    require(again == value || (std::isnan(again) && std::isnan(value)), "blanks are skipped");
    if (const auto rounded = roundToInt16(value)) {
        require(std::abs(double(*rounded) - value) <= 0.5, "rounding moves at most half");
    }
    return 0;
}

int numberPattern(const std::uint8_t* data, std::size_t size) {
    static const char* const patterns[] = {"0.00000",
                                           "00.00000",
                                           "0.000",
                                           " 0.00000E+00;-0.00000E+00",
                                           " 0.000E+00;-0.000E+00",
                                           "+0.00E+00;-0.00E+00",
                                           "0.0000E+00",
                                           "0.000E+00",
                                           "##: ",
                                           "0.",
                                           "000.",
                                           "0000"};
    Bytes bytes(data, size);
    const auto which = bytes.take<std::uint8_t>();
    const auto asDouble = bytes.take<std::uint8_t>() & 1;
    const std::string_view pattern = patterns[which % std::size(patterns)];
    const NumberPattern compiled(pattern);

    std::string text;
    double value = 0;
    if (asDouble) {
        value = bytes.take<double>();
        compiled.appendTo(text, value);
    } else {
        const auto single = bytes.take<float>();
        value = single;
        compiled.appendTo(text, single);
    }
    require(!text.empty(), "every value gives text");
    if (!std::isfinite(value)) {
        return 0;
    }
    // The text reads back as the value, off by at most half a unit of its last digit plus the
    // 7 or 15 significant digits the value was first written with.
    std::string digits = text;
    for (char& c : digits) {
        if (c == ':' || c == ' ') {
            c = '\0';
        }
    }
    const char* start = digits.c_str();
    while (*start == '\0' && start < digits.c_str() + digits.size()) {
        ++start;
    }
    const double back = std::strtod(start, nullptr);
    const bool exponent = pattern.find('E') != std::string_view::npos;
    const auto point = pattern.find('.');
    const int decimals =
        point == std::string_view::npos
            ? 0
            : static_cast<int>(pattern.find_first_not_of('0', point + 1) == std::string_view::npos
                                   ? pattern.size() - point - 1
                                   : pattern.find_first_not_of('0', point + 1) - point - 1);
    const double magnitude = std::abs(value);
    double unit = std::pow(10.0, -decimals);
    if (exponent && magnitude > 0) {
        unit *= std::pow(10.0, std::floor(std::log10(magnitude)) + 1.0);
    }
    const double written = magnitude * (asDouble ? 1e-14 : 1e-6);
    if (std::isfinite(unit) && std::isfinite(back)) {
        require(std::abs(back - value) <= 0.5 * unit + written + 1e-300, "the text is the value");
    }
    return 0;
}

namespace {

// A scan of 1 to MaxPoints points made from the input: a header line naming the scan type (or
// none), x ascending from 5.8 cm by steps that may be 0, or as XI, readings from two bytes each,
// scaled by a power of two from tiny to huge and either as they are or summed up (a smooth
// curve), third values good, deleted or 0. Missing bytes read as 0, which makes long constant
// stretches.
void makeScan(Bytes& bytes, DataSet& data, SuggestSettings& settings) {
    const auto flags = bytes.take<std::uint8_t>();
    data.PointCount = 1 + bytes.take<std::uint16_t>() % MaxPoints;
    const int power = bytes.take<std::uint8_t>() % 250 - 140; // 2^-140 .. 2^109
    const double scale = std::ldexp(1.0, power);
    const double step = 1e-4 * (1 + bytes.take<std::uint8_t>());
    const char* types[] = {"R", "P", "I", "W", "comment"};
    data.CommentBlock.setLine(1, "fuzzed scan");
    data.CommentBlock.setLine(2, std::string(types[flags % 5]) + " 1 20.0 40000 1 1 280 1");
    data.CommentCount = 2;
    double x = 5.8;
    double sum = 0.0;
    for (int i = 1; i <= data.PointCount; ++i) {
        const auto raw = bytes.take<std::int16_t>();
        const auto mark = bytes.take<std::uint8_t>();
        x += step * (mark & 3);
        sum = (flags & 8) != 0 ? sum + raw : raw;
        const double reading = std::clamp(sum * scale, -3e38, 3e38);
        const float third = (mark & 0x80) != 0 ? -0.01f : (mark & 0x40) != 0 ? 0.0f : 0.01f;
        data.WorkPoints(i) = {static_cast<float>((flags & 16) != 0 ? x * x / 2 : x),
                              static_cast<float>(reading), third * (1 + (mark >> 2 & 15))};
    }
    deriveRetainedRange(data);
    if ((flags & 32) != 0) {
        const float low = data.WorkPoints(1).x;
        const float span = data.WorkPoints(data.PointCount).x - low;
        settings.lowX = low + span * bytes.take<std::uint8_t>() / 255.0f;
        settings.highX = low + span * bytes.take<std::uint8_t>() / 255.0f;
    }
}

} // namespace

int suggestion(const std::uint8_t* data, std::size_t size) {
    Bytes bytes(data, size);
    auto scan = std::make_unique<DataSet>();
    SuggestSettings settings;
    makeScan(bytes, *scan, settings);
    const auto found = suggestEdits(*scan, settings);
    require(found ? !found->columns.empty() : !found.reason().empty(),
            "columns, or the reason there are none");
    const Suggestion s = found ? *found : Suggestion{};
    require(s.columns.size() <= 4, "at most four columns");
    auto kept = [&](int i) {
        const Point& p = scan->WorkPoints(i);
        return p.isGood() && (!settings.lowX || p.x >= *settings.lowX) &&
               (!settings.highX || p.x <= *settings.highX);
    };
    int after = 0;
    for (const SolutionColumn& c : s.columns) {
        require(c.first > after && c.first <= c.last && c.last <= scan->PointCount,
                "columns inside the scan, ascending, apart");
        require(kept(c.first) && kept(c.last), "a column starts and ends at a good point");
        int previous = c.first;
        for (const std::int32_t i : c.spikes) {
            require(i > previous && i < c.last && kept(i), "spikes good, ascending, inside");
            previous = i;
        }
        after = c.last;
    }
    // Applying deletes by sign alone, restores nothing and keeps just the columns.
    auto applied = std::make_unique<DataSet>(*scan);
    applySuggestion(*applied, s);
    int firstGood = 0;
    int lastGood = 0;
    for (int i = 1; i <= scan->PointCount; ++i) {
        const Point& was = scan->WorkPoints(i);
        const Point& now = applied->WorkPoints(i);
        require(now.x == was.x && now.reading == was.reading &&
                    std::abs(now.third) == std::abs(was.third),
                "only signs change");
        require(was.isGood() || !now.isGood(), "nothing is restored");
        if (now.isGood()) {
            firstGood = firstGood == 0 ? i : firstGood;
            lastGood = i;
        }
    }
    require(firstGood == 0 ||
                (applied->FirstGoodIndex == firstGood && applied->LastGoodIndex == lastGood),
            "the retained range is the first and last good point");
    return 0;
}

} // namespace skerry::fuzz
