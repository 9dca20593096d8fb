#include "skerry/input/FitFile.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <limits>
#include <string_view>

#include "skerry/ground/FileSystem.h"
#include "skerry/ground/LeadingNumber.h"
#include "skerry/ground/Platform.h"
#include "skerry/ground/Text.h"
#include "skerry/input/DataFileLoading.h"

namespace skerry {

namespace {

// Values are read into buffers of these sizes, terminator included: a name keeps at most 127
// characters, any other value 95.
constexpr std::size_t NameBuffer = 128;
constexpr std::size_t ValueBuffer = 96;

// A "del_pts" line holds up to 20 point numbers in fields of 4 characters.
constexpr int FieldsPerLine = 20;
constexpr std::size_t FieldWidth = 4;

constexpr bool SeparatorIsBackslash = std::filesystem::path::preferred_separator == '\\';

// A name followed by a number of at least `digits` digits: "File01", "del_pts001".
std::string numbered(std::string_view name, int number, std::size_t digits) {
    std::string text = std::to_string(number);
    if (text.size() < digits) {
        text.insert(0, digits - text.size(), '0');
    }
    return std::string(name) + text;
}

std::string sectionOf(int entryNumber) {
    return numbered("File", entryNumber, 2);
}

// Fit files are written on machines whose separator is '\'.
std::string withOurSeparators(std::string name) {
    if constexpr (!SeparatorIsBackslash) {
        std::replace(name.begin(), name.end(), '\\', '/');
    }
    return name;
}

bool startsWithDrive(std::string_view name) {
    return name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) != 0 &&
           name[1] == ':';
}

struct Located {
    std::string name;
    std::string path;
};

std::optional<Located> locate(const std::string& name, const std::filesystem::path& folder) {
    if (name.empty()) {
        return std::nullopt;
    }
    const std::filesystem::path listed = os::pathFromUtf8(name);
    std::filesystem::path full = listed.is_absolute() ? listed : folder / listed;
    const std::string resolved = os::utf8Of(full.make_preferred());
    if (FileExists(resolved)) {
        return Located{name, resolved};
    }
    // A fit file moved here from another machine together with its data files still names
    // them on that machine's drive; the data files are then usually beside the fit file.
    if (startsWithDrive(name)) {
        const auto fileName = os::pathFromUtf8(name.substr(2)).filename();
        const std::string inFolder = os::utf8Of(folder / fileName);
        if (!fileName.empty() && FileExists(inFolder)) {
            return Located{inFolder, inFolder};
        }
    }
    return std::nullopt;
}

// A double as single precision; beyond the single range it is infinite.
float toSingle(double value) {
    if (std::abs(value) > double(FLT_MAX)) {
        return std::copysign(std::numeric_limits<float>::infinity(), static_cast<float>(value));
    }
    return static_cast<float>(value);
}

// The fit stores its limits as XI = R^2/2. A negative XI has no radius; for radius data it
// counts as a missing limit, 0.
float limitInX(double xi, bool xIsRadius) {
    if (!xIsRadius) {
        return toSingle(xi);
    }
    return toSingle(xi > 0.0 ? std::sqrt(2.0 * xi) : 0.0);
}

class StoredEdits {
public:
    StoredEdits(DataSet& data, const ProfileFile& fit, std::string section)
        : data_(data), fit_(fit), section_(std::move(section)) {}

    // Narrows the retained range to the stored limits and marks the points outside them deleted.
    // This cut goes by x, not by the marks that setRetainedRange follows: the range's ends become
    // the first and last points inside the limits whatever their marks, its x values hold the
    // limits themselves, and an end whose limit leaves no point inside keeps its index.
    void applyLimits() {
        DataSet& d = data_;
        const float low = limitInX(number("XI_low"), d.XIsRadius);
        if (low > d.FirstGoodX) {
            d.FirstGoodX = low;
        }
        const float high = limitInX(number("XI_high"), d.XIsRadius);
        if (high < d.LastGoodX) {
            d.LastGoodX = high;
        }
        for (int i = 1; i <= d.PointCount; ++i) {
            if (!(d.WorkPoints(i).x < d.FirstGoodX)) {
                d.FirstGoodIndex = i;
                break;
            }
            markDeleted(d.WorkPoints(i));
        }
        for (int i = d.PointCount; i >= 1; --i) {
            if (!(d.WorkPoints(i).x > d.LastGoodX)) {
                d.LastGoodIndex = i;
                break;
            }
            markDeleted(d.WorkPoints(i));
        }
    }

    // Marks the listed points deleted. They do not move the retained range: a listed end point
    // stays the end, deleted.
    void markListedPoints() {
        const double listed = number("number_deleted");
        if (!(listed > 0.0)) {
            return;
        }
        const int total =
            listed >= double(MaxDeletedPoints) ? MaxDeletedPoints : static_cast<int>(listed);
        for (int line = 0; line * FieldsPerLine < total; ++line) {
            const std::string value =
                fit_.readString(section_, numbered("del_pts", line + 1, 3), "", ValueBuffer);
            const int fields = std::min(FieldsPerLine, total - line * FieldsPerLine);
            for (int f = 0; f < fields; ++f) {
                const std::size_t start = static_cast<std::size_t>(f) * FieldWidth;
                const std::string_view field =
                    start < value.size() ? std::string_view(value).substr(start, FieldWidth)
                                         : std::string_view();
                const auto index = roundToInt16(leadingNumber(field));
                // Matched by position alone; numbers that name no point of this scan are
                // skipped.
                if (index && *index >= 1 && *index <= data_.PointCount) {
                    markDeleted(data_.WorkPoints(*index));
                }
            }
        }
    }

private:
    double number(std::string_view key) const {
        return leadingNumber(fit_.readString(section_, key, "", ValueBuffer));
    }

    DataSet& data_;
    const ProfileFile& fit_;
    std::string section_;
};

// A list refused with a message, whose text is the reason.
FitListReading refusedWith(FitListMessage message) {
    return {Failure{message.text}, std::move(message)};
}

} // namespace

FitListReading readFitFileList(const ProfileFile& fit, const std::string& fitFileName,
                               const std::filesystem::path& folder) {
    const std::int32_t listed = fit.readInt("FileCount", "number", 0);
    if (listed > std::numeric_limits<std::int16_t>::max() ||
        listed < std::numeric_limits<std::int16_t>::min()) {
        return {
            Failure{"FileCount::number is " + std::to_string(listed) + ", outside -32768..32767"},
            std::nullopt};
    }
    if (listed == 0) {
        return refusedWith(
            {"Error Reading FileCount::number!  Fit-File List Unusable.", "Fit-File Error!"});
    }

    FitFileList list;
    list.FitFileName = fitFileName;
    for (int n = 1; n <= listed; ++n) {
        const std::string name = withOurSeparators(
            std::string(trimBlanks(fit.readString(sectionOf(n), "name", "", NameBuffer))));
        const auto found = locate(name, folder);
        if (!found) {
            continue;
        }
        if (n > MaxFitDataSets) {
            return {Failure{"the data file of entry " + std::to_string(n) +
                            " exists, but a list holds entries 1 to 15 only"},
                    std::nullopt};
        }
        const auto slot = static_cast<std::size_t>(n - 1);
        list.FitFileNames[slot] = found->name;
        list.FitFilePaths[slot] = found->path;
        list.FitFoundIndex[static_cast<std::size_t>(list.FitFoundCount)] = n;
        ++list.FitFoundCount;
    }

    if (list.FitFoundCount == 0) {
        return refusedWith({"No Data Files Were Found!", "All Data Files Missing!"});
    }
    std::optional<FitListMessage> warning;
    if (list.FitFoundCount < listed) {
        warning = {"Not All of the Data Files Were Found!  Continue Editing Good Files.",
                   "Data Files Missing!"};
    }
    return {std::move(list), std::move(warning)};
}

bool isFitFile(const std::filesystem::path& path) {
    return ProfileFile::load(path).rawValue("FileCount", "number").has_value();
}

Done readFitDataFile(const FitFileList& list, int k, ScanFile& scan, std::string* fileText) {
    return readScanFile(list.path(k), scan, fileText);
}

void reopenFitEntry(DataSet& data, const FitFileList& list, int k, const ScanFile& scan,
                    const ProfileFile& fit) {
    takeScan(data, scan, list.name(k));

    StoredEdits edits(data, fit, sectionOf(list.entryNumber(k)));
    edits.applyLimits();
    edits.markListedPoints();
    copyPoints(data.WorkPoints, data.RawPoints, data.PointCount);
}

} // namespace skerry
