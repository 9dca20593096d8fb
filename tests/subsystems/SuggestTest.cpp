#include <cstdio>

#include "ground/DataTable.h"
#include "skerry/ground/FileSystem.h"
#include "skerry/input/DataFileLoading.h"
#include "skerry/suggest/Suggestion.h"

namespace skerry {
namespace {

// "LOW:HIGH" as an x window, "-" for none.
SuggestSettings settingsOf(const std::string& window) {
    SuggestSettings settings;
    if (window != "-") {
        const auto limits = test::split(window, ':');
        settings.lowX = std::stof(limits.at(0));
        settings.highX = std::stof(limits.at(1));
    }
    return settings;
}

TEST(Suggestion, FindsTheColumnsAndSpikesEachScanShows) {
    for (const auto& row : test::readTable("subsystems/suggestions.tsv", 5)) {
        SCOPED_TRACE(row.where);
        auto data = std::make_unique<DataSet>();
        ASSERT_TRUE(
            loadDataFile(*data, os::utf8Of(test::dataPath("subsystems/suggest/" + row[0]))).ok());
        const auto found = suggestEdits(*data, settingsOf(row[1]));
        const Suggestion s = found ? *found : Suggestion{};

        const std::vector<std::string> expected =
            row[2] == "-" ? std::vector<std::string>{} : test::split(row[2]);
        ASSERT_EQ(s.columns.size(), expected.size());
        std::string spikes;
        for (std::size_t k = 0; k < expected.size(); ++k) {
            // F1-F2/L1-L2: the ranges of the first and the last kept point.
            int f1 = 0, f2 = 0, l1 = 0, l2 = 0;
            ASSERT_EQ(std::sscanf(expected[k].c_str(), "%d-%d/%d-%d", &f1, &f2, &l1, &l2), 4);
            const SolutionColumn& c = s.columns[k];
            EXPECT_TRUE(c.first >= f1 && c.first <= f2)
                << "column " << k + 1 << " first " << c.first;
            EXPECT_TRUE(c.last >= l1 && c.last <= l2) << "column " << k + 1 << " last " << c.last;
            for (const std::int32_t i : c.spikes) {
                spikes += (spikes.empty() ? "" : " ") + std::to_string(i);
            }
        }
        if (row[3] != "*") {
            EXPECT_EQ(spikes, row[3]);
        }
        EXPECT_EQ(found ? "" : found.reason(), row[4]);
    }
}

// Marks as a text: '+' good, '-' deleted, '0' a third value of 0.
std::string marksOf(const DataSet& data) {
    std::string marks;
    for (int i = 1; i <= data.PointCount; ++i) {
        const float third = data.WorkPoints(i).third;
        marks += third > 0 ? '+' : third < 0 ? '-' : '0';
    }
    return marks;
}

TEST(Suggestion, ApplyingDeletesAllButTheColumnsAndSetsTheRangeAsTheEditorDoes) {
    for (const auto& row : test::readTable("subsystems/suggestions-applied.tsv", 6)) {
        SCOPED_TRACE(row.where);
        auto data = std::make_unique<DataSet>();
        for (const char mark : row[0]) {
            ++data->PointCount;
            data->WorkPoints(data->PointCount) = {float(data->PointCount), 1.0f,
                                                  mark == '+'   ? 0.5f
                                                  : mark == '-' ? -0.5f
                                                                : 0.0f};
        }
        deriveRetainedRange(*data);
        Suggestion s;
        for (const auto& range : row[1] == "-" ? std::vector<std::string>{} : test::split(row[1])) {
            const auto ends = test::split(range, '-');
            s.columns.push_back({std::stoi(ends.at(0)), std::stoi(ends.at(1)), {}});
        }
        for (const auto& spike : test::split(row[2])) {
            s.columns.front().spikes.push_back(std::stoi(spike));
        }
        applySuggestion(*data, s);
        EXPECT_EQ(test::cellsOf(marksOf(*data), data->FirstGoodIndex, data->LastGoodIndex),
                  row.rest(3));
        for (int i = 1; i <= data->PointCount; ++i) {
            EXPECT_EQ(std::abs(data->WorkPoints(i).third), row[0][i - 1] == '0' ? 0.0f : 0.5f);
        }
    }
}

} // namespace
} // namespace skerry
