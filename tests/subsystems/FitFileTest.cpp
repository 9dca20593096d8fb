#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "skerry/input/FitFile.h"
#include "support/TempDir.h"

namespace skerry {
namespace {

// Good points with radii rising from 5.8 to 7.2 cm; point 4 is deleted in the file.
const char* radiusScan = "5.8 0.10 0.01\n5.9 0.20 0.02\n6.0 0.30 0.03\n6.4 0.40 -0.04\n"
                         "6.8 0.50 0.05\n7.0 0.60 0.06\n7.1 0.70 0.07\n7.2 0.80 0.08\n";

// The same kind of scan with x already as XI = R^2/2.
const char* xiScan =
    "16.82 0.1 0.01\n18.0 0.2 0.02\n20.0 0.3 0.03\n24.5 0.4 0.04\n25.92 0.5 0.05\n";

// 50 good points from 6.00 cm in steps of 0.02 cm; point 30 is deleted in the file.
std::string longScan() {
    std::string text;
    for (int i = 1; i <= 50; ++i) {
        text += std::to_string(6.0 + 0.02 * (i - 1)) + " 1.0 " + (i == 30 ? "-0.25" : "0.5") + "\n";
    }
    return text;
}

std::unique_ptr<ScanFile> scanOf(const std::string& text) {
    auto scan = std::make_unique<ScanFile>();
    EXPECT_EQ(parseScanText(text, *scan), std::nullopt);
    return scan;
}

// A list whose only data set is entry `entry` of the fit file.
FitFileList listOf(int entry, const std::string& name) {
    FitFileList list;
    list.FitFoundCount = 1;
    list.FitFoundIndex[0] = entry;
    list.FitFileNames[static_cast<std::size_t>(entry - 1)] = name;
    list.FitFilePaths[static_cast<std::size_t>(entry - 1)] = name;
    return list;
}

// The marks of the working points, '+' good and '-' deleted, point 1 first.
std::string marks(const DataSet& data) {
    std::string text;
    for (int i = 1; i <= data.PointCount; ++i) {
        text += data.WorkPoints(i).isGood() ? '+' : '-';
    }
    return text;
}

struct ReopenCase {
    const char* name;
    std::string scan;
    std::string section; // the lines of section "File02"
    std::string marks;
    int firstIndex;
    int lastIndex;
    float firstX;
    float lastX;
};

TEST(ReopenFitEntry, AppliesTheStoredLimitsAndDeletedPoints) {
    const ReopenCase cases[] = {
        {"radius data: XI limits 18 and 24.5 become 6.0 and 7.0 cm", radiusScan,
         "XI_low=18\nXI_high=24.5\n", "--+-++--", 3, 6, 6.0f, 7.0f},
        {"XI data: the limits are used unconverted", xiScan, "XI_low=18\nXI_high=24.5\n", "-+++-",
         2, 4, 18.0f, 24.5f},
        {"limits inside a point interval stay the limits themselves", radiusScan,
         "XI_low=19.22\nXI_high=23.5\n", "----+---", 4, 5, 6.2f, std::sqrt(47.0f)},
        {"no XI_low: the low end stays at the first good point", radiusScan, "XI_high=24.5\n",
         "+++-++--", 1, 6, 5.8f, 7.0f},
        {"no XI_high: a high limit of 0 deletes every point and keeps the last index", radiusScan,
         "XI_low=18\n", "--------", 3, 8, 6.0f, 0.0f},
        {"a negative limit for radius data counts as missing", radiusScan,
         "XI_low=-18\nXI_high=-24.5\n", "--------", 1, 8, 5.8f, 0.0f},
        {"a negative limit for XI data is used", xiScan, "XI_low=-1\nXI_high=-1\n", "-----", 1, 5,
         16.82f, -1.0f},
        {"limits are read the forgiving way", radiusScan, "XI_low= 1 8abc\nXI_high=2.45D1\n",
         "--+-++--", 3, 6, 6.0f, 7.0f},
        {"listed points: an already deleted one keeps its magnitude", radiusScan,
         "XI_low=0\nXI_high=99\nnumber_deleted=2\ndel_pts001=00040005\n", "+++--+++", 1, 8, 5.8f,
         7.2f},
        {"a listed end point stays the end of the range, deleted", radiusScan,
         "XI_low=18\nXI_high=24.5\nnumber_deleted=2\ndel_pts001=00030006\n", "----+---", 3, 6, 6.0f,
         7.0f},
        {"fields of four characters: '  12', '0013' and '14  '", longScan(),
         "XI_high=99\nnumber_deleted=3\ndel_pts001=\"  12001314  \"\n",
         std::string(11, '+') + "---" + std::string(15, '+') + "-" + std::string(20, '+'), 1, 50,
         6.0f, 6.98f},
        {"numbers outside the scan are skipped", longScan(),
         "XI_high=99\nnumber_deleted=5\ndel_pts001=000000519999  -30001\n",
         "-" + std::string(28, '+') + "-" + std::string(20, '+'), 1, 50, 6.0f, 6.98f},
        {"fields are rounded halves to even", longScan(),
         "XI_high=99\nnumber_deleted=2\ndel_pts001=02.503.5\n",
         "+-+-" + std::string(25, '+') + "-" + std::string(20, '+'), 1, 50, 6.0f, 6.98f},
        {"a fractional count takes the whole fields it covers", longScan(),
         "XI_high=99\nnumber_deleted=1.9\ndel_pts001=00010002\n",
         "-" + std::string(28, '+') + "-" + std::string(20, '+'), 1, 50, 6.0f, 6.98f},
        {"a fit's limits and listed points combine", longScan(),
         "XI_low=18.605\nXI_high=22.445\nnumber_deleted=1\ndel_pts001=0010\n",
         "-----++++-" + std::string(19, '+') + "-" + std::string(6, '+') + std::string(14, '-'), 6,
         36, 6.1f, 6.7f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto scan = scanOf(c.scan);
        const ProfileFile fit = ProfileFile::parse("[File01]\nXI_low=1000\n[File02]\n" + c.section +
                                                   "[File03]\nXI_high=1\n");
        auto data = std::make_unique<DataSet>();
        reopenFitEntry(*data, listOf(2, "scan02.dat"), 1, *scan, fit);
        EXPECT_EQ(marks(*data), c.marks);
        EXPECT_EQ(data->FirstGoodIndex, c.firstIndex);
        EXPECT_EQ(data->LastGoodIndex, c.lastIndex);
        EXPECT_FLOAT_EQ(data->FirstGoodX, c.firstX);
        EXPECT_FLOAT_EQ(data->LastGoodX, c.lastX);
        EXPECT_EQ(data->DataFileName, "scan02.dat");
        for (int i = 1; i <= data->PointCount; ++i) {
            SCOPED_TRACE(i);
            // Only signs change, and the marks are part of the raw points too.
            EXPECT_EQ(std::abs(data->WorkPoints(i).third), std::abs(scan->points(i).third));
            EXPECT_EQ(data->RawPoints(i).third, data->WorkPoints(i).third);
            EXPECT_EQ(data->WorkPoints(i).x, scan->points(i).x);
        }
    }
}

// The fit's count of 45 deleted points: 20 on each of the first two lines and 5 on the third.
// Fields beyond the count and lines beyond the third are not read.
TEST(ReopenFitEntry, ReadsTheDeletedPointsLineByLine) {
    std::string fields[4];
    for (int i = 0; i < 20; ++i) {
        char field[8];
        std::snprintf(field, sizeof field, "%4d", 50 - i);
        fields[0] += field; // 50 down to 31
        std::snprintf(field, sizeof field, "%04d", 21 + i);
        fields[1] += field; // 21 up to 40, some again
        std::snprintf(field, sizeof field, "%-4d", i < 5 ? 1 + i : 10 + i);
        fields[2] += field; // 1 to 5, then 15 to 29 beyond the count
        fields[3] += "0020";
    }
    const ProfileFile fit =
        ProfileFile::parse("[File01]\nXI_high=99\nnumber_deleted=45\n"
                           "del_pts001=\"" +
                           fields[0] + "\"\ndel_pts002=" + fields[1] + "\ndel_pts003=" + fields[2] +
                           "\ndel_pts004=" + fields[3] + "\n");
    const auto scan = scanOf(longScan());
    auto data = std::make_unique<DataSet>();
    reopenFitEntry(*data, listOf(1, "s"), 1, *scan, fit);
    EXPECT_EQ(marks(*data), "-----" + std::string(15, '+') + std::string(30, '-'));
}

TEST(ReopenFitEntry, CountsTheFirst2048ListedPointsOnly) {
    // 2100 listed points: the first 2048 name point 1, the rest point 2.
    std::string section = "[File01]\nXI_high=99\nnumber_deleted=2100\n";
    for (int line = 0; line < 105; ++line) {
        char key[16];
        std::snprintf(key, sizeof key, "del_pts%03d=", line + 1);
        section += key;
        for (int f = 0; f < 20; ++f) {
            section += line * 20 + f < 2048 ? "0001" : "0002";
        }
        section += "\n";
    }
    const auto scan = scanOf(longScan());
    auto data = std::make_unique<DataSet>();
    reopenFitEntry(*data, listOf(1, "s"), 1, *scan, ProfileFile::parse(section));
    EXPECT_EQ(marks(*data), "-" + std::string(28, '+') + "-" + std::string(20, '+'));
}

// The words of a text, split at blanks.
std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// What reading a fit file's list says: nothing, or one of three messages.
enum Said { Nothing, SomeMissing, CountError, NoneFound };

TEST(ReadFitFileList, ChecksWhichListedFilesExist) {
    const std::pair<std::string, std::string> messages[] = {
        {"", ""},
        {"Not All of the Data Files Were Found!  Continue Editing Good Files.",
         "Data Files Missing!"},
        {"Error Reading FileCount::number!  Fit-File List Unusable.", "Fit-File Error!"},
        {"No Data Files Were Found!", "All Data Files Missing!"}};
    std::string twenty = "[FileCount]\nnumber=20\n";
    std::string fifteen;
    std::string oneToFifteen;
    for (int n = 1; n <= 20; ++n) {
        const std::string name = "scan" + std::to_string(n) + ".RA1";
        twenty +=
            "[File" + std::string(n < 10 ? "0" : "") + std::to_string(n) + "]\nname=" + name + "\n";
        if (n <= 15) {
            fifteen += name + " ";
            oneToFifteen += std::to_string(n) + " ";
        }
    }
    const std::string longName(140, 'n');
    const std::string count = "[FileCount]\nnumber=";
    const std::string two = count + "2\n[File01]\nname=a.RA1\n";
    struct Case {
        const char* name;
        std::string fit;
        std::string existing; // files made in the fit file's folder
        Said said;
        std::string entries; // FitFoundIndex, in order; empty: the list is refused
        std::string names;   // the names shown, in the same order; empty: as `existing`
    };
    const Case cases[] = {
        {"all listed files exist", two + "[File02]\nname=b.RA1\n", "a.RA1 b.RA1", Nothing, "1 2",
         ""},
        {"entry 2 of 3 missing",
         count + "3\n[File01]\nname=a.RA1\n[File02]\nname=gone\n[File03]\nname=c.RA1\n",
         "a.RA1 c.RA1", SomeMissing, "1 3", ""},
        {"20 listed, entries 1 to 15 present", twenty, fifteen, SomeMissing, oneToFifteen, ""},
        {"no count", "[File01]\nname=a.RA1\n", "a.RA1", CountError, "", ""},
        {"a count of 0", count + "0\n[File01]\nname=a.RA1\n", "a.RA1", CountError, "", ""},
        {"a count that is no number", count + "two\n", "", CountError, "", ""},
        {"a count beyond 16 bits is refused without a message",
         count + "32768\n[File01]\nname=a.RA1\n", "a.RA1", Nothing, "", ""},
        {"the largest 16-bit count", count + "32767\n[File01]\nname=a.RA1\n", "a.RA1", SomeMissing,
         "1", ""},
        {"a negative count finds nothing", count + "-1\n[File01]\nname=a.RA1\n", "a.RA1", NoneFound,
         "", ""},
        {"no listed file exists", two, "", NoneFound, "", ""},
        {"an existing file at entry 16 is refused without a message",
         count + "16\n[File01]\nname=a.RA1\n[File16]\nname=a.RA1\n", "a.RA1", Nothing, "", ""},
        {"a folder is not a data file", count + "2\n[File01]\nname=sub\n[File02]\nname=a.RA1\n",
         "a.RA1 sub/x", SomeMissing, "2", "a.RA1"},
        {"names are trimmed and found in sub-folders with either separator",
         count + "2\n[File01]\nname=\"  sub\\x.RA1 \"\n[File02]\nname=sub/x.RA1\n", "sub/x.RA1",
         Nothing, "1 2", "sub/x.RA1 sub/x.RA1"},
        {"a name is cut to 127 characters", count + "1\n[File01]\nname=" + longName,
         longName.substr(0, 127), Nothing, "1", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        for (const auto& file : words(c.existing)) {
            std::filesystem::create_directories((dir / file).parent_path());
            dir.write(file, "6.0 1 1\n");
        }
        const std::string fitName = (dir / "run.fit").string();
        const FitListReading reading =
            readFitFileList(ProfileFile::parse(c.fit), fitName, dir.path());
        const std::vector<std::string> entries = words(c.entries);
        const std::vector<std::string> names = words(c.names.empty() ? c.existing : c.names);
        ASSERT_EQ(reading.list.has_value(), !entries.empty());
        EXPECT_EQ(reading.message ? reading.message->text : "", messages[c.said].first);
        EXPECT_EQ(reading.message ? reading.message->title : "", messages[c.said].second);
        EXPECT_EQ(reading.refusal.empty(), reading.list || c.said != Nothing);
        if (!reading.list) {
            continue;
        }
        EXPECT_EQ(reading.list->FitFileName, fitName);
        ASSERT_EQ(reading.list->FitFoundCount, static_cast<int>(entries.size()));
        for (int k = 1; k <= reading.list->FitFoundCount; ++k) {
            SCOPED_TRACE(k);
            const auto i = static_cast<std::size_t>(k - 1);
            EXPECT_EQ(std::to_string(reading.list->entryNumber(k)), entries[i]);
            EXPECT_EQ(reading.list->name(k), names[i]);
            EXPECT_EQ(reading.list->path(k), (dir / names[i]).string());
        }
    }
}

// A fit file written on another machine names its data files there; with the fit file's folder
// holding them, they are still found.
TEST(ReadFitFileList, FindsDataFilesOfAnotherMachinesDriveBesideTheFitFile) {
    test::TempDir dir;
    dir.write("cell1.RA1", "6.0 1 1\n");
    std::filesystem::create_directory(dir / "data");
    dir.write("data/cell2.RA1", "6.0 1 1\n");
    const std::string absolute = (dir / "data" / "cell2.RA1").string();
    const ProfileFile fit = ProfileFile::parse(
        "[FileCount]\nnumber=5\n[File01]\nname=C:\\Users\\lab\\runs\\cell1.RA1\n"
        "[File02]\nname=d:cell1.RA1\n[File03]\nname=C:\\Users\\lab\\runs\\cell9.RA1\n"
        "[File04]\nname=" +
        absolute + "\n[File05]\nname=data\\cell2.RA1\n");
    const FitListReading reading = readFitFileList(fit, "x.fit", dir.path());
    ASSERT_TRUE(reading.list);
    const FitFileList& list = *reading.list;
    ASSERT_EQ(list.FitFoundCount, 4);
    const std::string beside = (dir / "cell1.RA1").string();
    EXPECT_EQ(list.name(1), beside);
    EXPECT_EQ(list.path(1), beside);
    EXPECT_EQ(list.name(2), beside);
    EXPECT_EQ(list.entryNumber(3), 4);
    EXPECT_EQ(list.name(3), absolute);
    EXPECT_EQ(list.path(3), absolute);
    EXPECT_EQ(list.name(4), "data/cell2.RA1");
    EXPECT_EQ(list.path(4), absolute);
    EXPECT_EQ(reading.message->title, "Data Files Missing!");
}

} // namespace
} // namespace skerry
