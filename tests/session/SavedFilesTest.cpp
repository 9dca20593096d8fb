#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ground/DataTable.h"
#include "skerry/session/SavedFiles.h"

namespace skerry {
namespace {

// A scan split into its columns: each named after the scan, every point outside its column
// deleted by sign, points deleted inside it staying deleted, its first and last good point the
// retained range (unchanged when it has none).
TEST(SavedFiles, ColumnsSplitIntoNamedDataSets) {
    DataSet scan;
    scan.PointCount = 10;
    for (int i = 1; i <= scan.PointCount; ++i) {
        scan.WorkPoints(i) = {5.9f + 0.01f * static_cast<float>(i), 0.5f, 0.01f};
    }
    markDeleted(scan.WorkPoints(4));
    scan.WorkPoints(5).third = 0.0f;
    scan.FirstGoodIndex = 2;
    scan.LastGoodIndex = 9;
    for (const test::Row& row : test::readTable("session/columns-split.tsv", 0)) {
        SCOPED_TRACE(row.where);
        std::vector<ColumnRange> columns;
        for (const std::string& range : test::split(row[1], ',')) {
            const auto dash = range.find('-');
            columns.push_back(
                {std::stoi(range.substr(0, dash)), std::stoi(range.substr(dash + 1))});
        }
        std::string split;
        for (const NamedDataSet& column : columnDataSets(scan, row[0], columns)) {
            split += column.name.string() + " " + std::to_string(column.data.FirstGoodIndex) + "-" +
                     std::to_string(column.data.LastGoodIndex) + " ";
            for (int i = 1; i <= scan.PointCount; ++i) {
                split += column.data.WorkPoints(i).isGood() ? '+' : '-';
            }
            split += '\t';
        }
        EXPECT_EQ(split, row.rest(2));
    }
}

} // namespace
} // namespace skerry
