#include "skerry/model/Listing.h"
#include "ground/DataTable.h"
#include "skerry/input/DataFileLoading.h"
#include "skerry/output/EditedDataFile.h"

namespace skerry {
namespace {

std::string expected(const std::string& name) {
    return test::readBytes(test::dataPath("subsystems/listing/" + name));
}

TEST(Listing, TheListingAndTheFourSavedFormsHaveTheirExactBytes) {
    auto scan = std::make_unique<ScanFile>();
    ASSERT_TRUE(parseScanText(expected("sample.dat"), *scan));
    auto data = std::make_unique<DataSet>();
    takeScan(*data, *scan, "sample.dat");
    EXPECT_EQ(listingText(*data), expected("complete-radius.dat"));
    EXPECT_EQ(editedFileText(*data, {true, true}), expected("complete-radius.dat"));
    EXPECT_EQ(editedFileText(*data, {true, false}), expected("complete-xi.dat"));
    EXPECT_EQ(editedFileText(*data, {false, true}), expected("truncated-radius.dat"));
    EXPECT_EQ(editedFileText(*data, {false, false}), expected("truncated-xi.dat"));
    data->CommentCount = 0;
    data->PointCount = 2;
    EXPECT_EQ(listingText(*data, 2), expected("get-blank.txt"));
    data->WorkPoints(1) = {1.0f, 1.0f, 1.0f};
    data->WorkPoints(2) = {0.0f, 1.0f, 1.0f};
    EXPECT_EQ(editedFileText(*data, {true, false}), expected("small-radii-xi.dat"));
}

TEST(Listing, TheRetainedRangeRunsFromTheFirstToTheLastGoodPoint) {
    for (const auto& row : test::readTable("subsystems/retained-ranges.tsv", 7)) {
        auto data = std::make_unique<DataSet>();
        for (const float x : row.singles(0)) {
            const char mark = row[1].at(static_cast<std::size_t>(data->PointCount));
            data->WorkPoints(++data->PointCount) = {x, 1,
                                                    mark == '+'   ? 1.0f
                                                    : mark == '-' ? -1.0f
                                                                  : 0.0f};
        }
        deriveRetainedRange(*data);
        EXPECT_EQ(test::cellsOf(data->FirstGoodIndex, data->LastGoodIndex, data->FirstGoodX,
                                data->LastGoodX, data->XIsRadius),
                  row.rest(2))
            << row.where;
    }
}

} // namespace
} // namespace skerry
