#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>
#include <random>

#include "ground/DataTable.h"
#include "skerry/ground/FileSystem.h"
#include "skerry/input/DataLibrary.h"
#include "skerry/input/FitFile.h"

namespace skerry {
namespace {

std::vector<float> valuesOf(const Point& p) {
    return {p.x, p.reading, p.third};
}

TEST(ScanReader, ReadsInstrumentAndEditedFiles) {
    for (const auto& row : test::readTable("subsystems/scans-read.tsv", 6)) {
        SCOPED_TRACE(row.where);
        auto scan = std::make_unique<ScanFile>();
        ASSERT_EQ(test::reasonOf(parseScanText(row[0], *scan)), "");
        EXPECT_EQ(scan->count, row.integer(1));
        EXPECT_EQ(scan->commentCount, row.integer(2));
        EXPECT_EQ(valuesOf(scan->points(1)), row.singles(3));
        EXPECT_EQ(valuesOf(scan->points(scan->count)), row.singles(4));
        EXPECT_EQ(scan->comments.line(1), row[5] + std::string(96 - row[5].size(), ' '));
    }
}

TEST(ScanReader, RefusesWithAReason) {
    for (const auto& row : test::readTable("subsystems/scans-refused.tsv", 2)) {
        auto scan = std::make_unique<ScanFile>();
        EXPECT_EQ(test::reasonOf(parseScanText(row[0], *scan), "(read)"), row[1]) << row.where;
    }
}

// Random numbers as scan files write them: a sign, up to 25 digits with or without a point, an
// exponent with E or D and leading zeros. Each is read as the nearest single, as the standard
// library finds it.
TEST(ScanReader, ReadsEveryNumberAsTheNearestSingle) {
    std::mt19937 random(2200);
    const auto pick = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    const std::array<std::string, 3> signs = {"", "-", "+"};
    std::vector<std::string> numbers = {"16777216", "16777217", "16777219",   "1677721.7",
                                        "1E10",     "1E11",     "1E-10",      "1E-11",
                                        "-0.0",     "0.1",      "16777217E1", "+1.23456789D5"};
    while (numbers.size() < 3 * 20000) {
        std::string text = signs[pick(0, 2)];
        for (int i = 0, digits = pick(0, 9) ? pick(1, 8) : pick(8, 25), point = pick(-1, digits);
             i <= digits; ++i) {
            text += (i == point ? "." : "") + std::string(i < digits, char('0' + pick(0, 9)));
        }
        const std::string exponent = std::to_string(pick(0, 4) ? pick(0, 10) : pick(11, 13));
        numbers.push_back(text + (pick(0, 2) ? "EeDd"[pick(0, 3)] + signs[pick(0, 2)] +
                                                   (pick(0, 1) ? "" : "00") + exponent
                                             : ""));
    }
    for (std::size_t first = 0; first < numbers.size(); first += 3 * MaxPoints) {
        std::string text;
        for (std::size_t i = first; i < std::min(numbers.size(), first + 3 * MaxPoints); ++i) {
            text += numbers[i] + (i % 3 == 2 ? "\r\n" : " ");
        }
        auto scan = std::make_unique<ScanFile>();
        ASSERT_EQ(test::reasonOf(parseScanText(text, *scan)), "");
        for (std::size_t i = first; i < first + 3 * static_cast<std::size_t>(scan->count); ++i) {
            std::string number = numbers[i].substr(numbers[i][0] == '+' ? 1 : 0);
            std::replace(number.begin(), number.end(), 'd', 'e');
            std::replace(number.begin(), number.end(), 'D', 'e');
            float nearest = 0.0f;
            std::from_chars(number.data(), number.data() + number.size(), nearest);
            const float read = valuesOf(scan->points(static_cast<int>(i - first) / 3 + 1))[i % 3];
            ASSERT_EQ(std::bit_cast<std::uint32_t>(read), std::bit_cast<std::uint32_t>(nearest))
                << numbers[i];
        }
    }
}

TEST(ScanReader, GetDataNamesWhyAFileIsRefusedAndLeavesItsOutputsAsTheyWere) {
    const test::TempDir dir;
    const std::string good = "comment\n6.0 1 1\n6.1 2 1\n";
    auto d = std::make_unique<DataSet>();
    std::string text;
    const auto get = [&](const std::filesystem::path& path) {
        return getdata(os::utf8Of(path), d->RawPoints, d->PointCount, d->CommentBlock,
                       d->CommentCount, &text);
    };
    ASSERT_TRUE(get(dir.write("good.dat", good)));
    const std::pair<std::filesystem::path, std::string> refused[] = {
        {dir.write("bad.dat", "6.5 9 9\nnot data\n"),
         "line 2 is not a data line (two or three numbers expected)"},
        {dir / "missing.dat", "No such file or directory"},
        {dir.path(), "is a folder, not a file"}};
    for (const auto& [path, reason] : refused) {
        EXPECT_EQ(test::reasonOf(get(path)), reason);
        EXPECT_EQ(test::cellsOf(d->PointCount, d->CommentCount, d->RawPoints(2).reading, text),
                  test::cellsOf(2, 1, 2, good));
        EXPECT_EQ(d->CommentBlock.line(1).substr(0, 8), "comment ");
    }
}

TEST(Blank, SubtractsTheBlankInterpolatedAtEachX) {
    for (const auto& row : test::readTable("subsystems/blanks.tsv", 3)) {
        SCOPED_TRACE(row.where);
        auto blankScan = std::make_unique<ScanFile>();
        auto raw = std::make_unique<ScanFile>();
        auto work = std::make_unique<PointArray>();
        ASSERT_TRUE(row[0] == "-" || parseScanText(row[0], *blankScan));
        ASSERT_TRUE(parseScanText(row[1], *raw));
        blank(raw->points, raw->count, blankScan->points, blankScan->count, *work);
        for (int i = 1; i <= raw->count; ++i) {
            EXPECT_NEAR((*work)(i).reading, row.singles(2).at(i - 1), 1e-5) << i;
            EXPECT_EQ((*work)(i).x, raw->points(i).x);
            EXPECT_EQ((*work)(i).third, raw->points(i).third);
        }
    }
}

std::tuple<float, float, std::int32_t> tkrnd2Of(float low, float high) {
    std::tuple<float, float, std::int32_t> frame;
    tkrnd2(low, high, std::get<0>(frame), std::get<1>(frame), std::get<2>(frame));
    return frame;
}

TEST(Tkrnd2, RoundsTypicalRangesOut) {
    for (const auto& row : test::readTable("subsystems/axis-rounding.tsv", 5)) {
        const auto [low, high, intervals] = tkrnd2Of(row.single(0), row.single(1));
        EXPECT_EQ(test::cellsOf(low, high, intervals), row.rest(2)) << row.where;
    }
}

// Every finite range, at the ends of the single range too, comes back enclosed by finite ends
// with at least one interval: first each pair of extremes, either sign on the low one.
TEST(Tkrnd2, EnclosesEveryFiniteRange) {
    using limits = std::numeric_limits<float>;
    const std::array<float, 7> ends = {0.0f,         limits::denorm_min(),       limits::min(),
                                       1.0f,         std::nextafter(1.0f, 2.0f), 3.0e38f,
                                       limits::max()};
    std::mt19937 random(20261206);
    std::uniform_real_distribution<float> mantissa(-10.0f, 10.0f);
    std::uniform_int_distribution<int> exponent(-40, 37);
    const auto any = [&] {
        return mantissa(random) * std::pow(10.0f, float(exponent(random)));
    };
    for (int i = 0; i < 20000 + 98; ++i) {
        const float a = i < 98 ? ends[i / 14] * (i % 2 ? -1.0f : 1.0f) : any();
        const float b = i < 98  ? ends[i / 2 % 7]
                        : i % 3 ? any()
                                : a * (1 + 1e-6f * mantissa(random));
        const auto [low, high, intervals] = tkrnd2Of(a, b);
        ASSERT_TRUE(std::isfinite(low) && std::isfinite(high) && intervals >= 1 &&
                    low <= std::min(a, b) && high >= std::max(a, b) && low < high)
            << a << " .. " << b << " -> " << low << " .. " << high << " / " << intervals;
    }
}

TEST(FitFile, ReopeningAppliesTheStoredLimitsAndDeletedPoints) {
    for (const auto& row : test::readTable("subsystems/reopen.tsv", 7)) {
        SCOPED_TRACE(row.where);
        auto scan = std::make_unique<ScanFile>();
        ASSERT_TRUE(parseScanText(row.text(0), *scan));
        const ProfileFile fit = ProfileFile::parse("[File01]\nXI_low=1000\n[File02]\n" +
                                                   row.text(1) + "[File03]\nXI_high=1\n");
        // Entry 2 of the fit file is the list's only data set.
        const FitFileList list{"", 1, {"", "scan02.dat"}, {}, {2}};
        auto data = std::make_unique<DataSet>();
        reopenFitEntry(*data, list, 1, *scan, fit);
        std::string marks;
        for (int i = 1; i <= data->PointCount; ++i) {
            const Point& now = data->WorkPoints(i);
            marks += now.isGood() ? '+' : '-';
            // Only signs change, and the marks are part of the raw points too.
            EXPECT_TRUE(std::abs(now.third) == std::abs(scan->points(i).third) &&
                        now.x == scan->points(i).x && data->RawPoints(i).third == now.third)
                << i;
        }
        EXPECT_EQ(test::cellsOf(marks, data->FirstGoodIndex, data->LastGoodIndex, data->FirstGoodX,
                                data->LastGoodX),
                  row.rest(2));
        EXPECT_EQ(data->DataFileName, "scan02.dat");
    }
}

TEST(FitFile, TheListHoldsTheListedFilesThatExist) {
    for (const auto& row : test::readTable("subsystems/fit-lists.tsv", 7)) {
        SCOPED_TRACE(row.where);
        const test::TempDir dir;
        const auto inDir = [&](std::string text) {
            for (auto at = text.find("$DIR"); at != std::string::npos; at = text.find("$DIR")) {
                text.replace(at, 4, dir.path().string());
            }
            return text;
        };
        for (const auto& file : test::split(row[1])) {
            std::filesystem::create_directories((dir / file).parent_path());
            dir.write(file, "6.0 1 1\n");
        }
        const std::string fitName = (dir / "run.fit").string();
        const FitListReading reading =
            readFitFileList(ProfileFile::parse(inDir(row.text(0))), fitName, dir.path());
        const FitListMessage message = reading.message.value_or(FitListMessage{});
        EXPECT_EQ(message.text + "|" + message.title, row[2] + "|" + row[3]);
        // A refusal without a message, in words for a log.
        EXPECT_EQ(reading.message ? "" : test::reasonOf(reading.list), row[4]);
        ASSERT_EQ(reading.list.ok(), !row[5].empty());
        std::vector<std::string> entries, names, paths, expectedPaths;
        for (int k = 1; reading.list && k <= reading.list->FitFoundCount; ++k) {
            entries.push_back(std::to_string(reading.list->entryNumber(k)));
            names.push_back(test::withSlashes(reading.list->name(k)));
            paths.push_back(test::withSlashes(reading.list->path(k)));
            expectedPaths.push_back(
                test::withSlashes((dir / inDir(test::split(row[6]).at(k - 1))).string()));
        }
        EXPECT_EQ(entries, test::split(row[5]));
        EXPECT_EQ(names, test::split(test::withSlashes(inDir(row[6]))));
        EXPECT_EQ(paths, expectedPaths);
        EXPECT_EQ(reading.list ? reading.list->FitFileName : fitName, fitName);
    }
}

} // namespace
} // namespace skerry
