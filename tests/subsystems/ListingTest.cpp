#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "skerry/model/Listing.h"
#include "skerry/output/EditedDataFile.h"

namespace skerry {
namespace {

std::string pad96(const std::string& text) {
    return text + std::string(96 - text.size(), ' ');
}

// Two comment lines and five points: deleted at the start, a negative reading, a deleted point
// in the middle, a reading of four significant places, and a third value of exactly 0 at the end.
std::unique_ptr<DataSet> sampleDataSet() {
    auto data = std::make_unique<DataSet>();
    data->CommentBlock.setLine(1, "Cell 1  sample");
    data->CommentBlock.setLine(2, "R 1 20.0 42000");
    data->CommentCount = 2;
    const Point points[] = {{5.9f, 0.1f, -0.005f},
                            {6.0f, -0.5f, 0.01f},
                            {6.12345f, 0.0f, -0.01f},
                            {7.0f, 1234.5678f, 0.0098f},
                            {7.1f, 2.5e-5f, 0.0f}};
    for (const Point& p : points) {
        ++data->PointCount;
        data->WorkPoints(data->PointCount) = p;
    }
    deriveRetainedRange(*data);
    return data;
}

const std::string comments = pad96("Cell 1  sample") + "\r\n" + pad96("R 1 20.0 42000") + "\r\n";

const std::string radiusLines[] = {
    "   5.90000    1.00000E-01   -5.000E-03\r\n", "   6.00000   -5.00000E-01    1.000E-02\r\n",
    "   6.12345    0.00000E+00   -1.000E-02\r\n", "   7.00000    1.23457E+03    9.800E-03\r\n",
    "   7.10000    2.50000E-05    0.000E+00\r\n"};

// XI = x * x / 2 from the single x in double precision: 5.9f gives 17.405000562..., 6.12345f
// gives 18.748318741..., 7.1f gives 25.204999322... (rounded on its 15 digits 25.2049993228912).
const std::string xiLines[] = {
    "  17.40500    1.00000E-01   -5.000E-03\r\n", "  18.00000   -5.00000E-01    1.000E-02\r\n",
    "  18.74832    0.00000E+00   -1.000E-02\r\n", "  24.50000    1.23457E+03    9.800E-03\r\n",
    "  25.20500    2.50000E-05    0.000E+00\r\n"};

TEST(Listing, ListsTheCommentsInFullAndEveryPoint) {
    const auto data = sampleDataSet();
    std::string expected = comments;
    for (const auto& line : radiusLines) {
        expected += line;
    }
    EXPECT_EQ(listingText(*data), expected);
}

TEST(Listing, GetBlankListsWithTwoBlanksBeforeTheThirdValue) {
    auto data = sampleDataSet();
    data->CommentCount = 0;
    data->PointCount = 2;
    EXPECT_EQ(listingText(*data, 2), "   5.90000    1.00000E-01  -5.000E-03\r\n"
                                     "   6.00000   -5.00000E-01   1.000E-02\r\n");
}

TEST(EditedDataFile, FourFormsOfSave) {
    const auto data = sampleDataSet();
    ASSERT_EQ(data->FirstGoodIndex, 2);
    ASSERT_EQ(data->LastGoodIndex, 4);

    const std::string all =
        radiusLines[0] + radiusLines[1] + radiusLines[2] + radiusLines[3] + radiusLines[4];
    const std::string allXi = xiLines[0] + xiLines[1] + xiLines[2] + xiLines[3] + xiLines[4];
    EXPECT_EQ(editedFileText(*data, {true, true}), comments + all);
    EXPECT_EQ(editedFileText(*data, {true, false}), comments + allXi);
    EXPECT_EQ(editedFileText(*data, {false, true}),
              comments + radiusLines[1] + radiusLines[2] + radiusLines[3]);
    EXPECT_EQ(editedFileText(*data, {false, false}), comments + xiLines[1] + xiLines[2] + xiLines[3]);
}

TEST(EditedDataFile, XiFormOfSmallRadii) {
    auto data = std::make_unique<DataSet>();
    data->PointCount = 2;
    data->WorkPoints(1) = {1.0f, 1.0f, 1.0f};
    data->WorkPoints(2) = {0.0f, 1.0f, 1.0f};
    EXPECT_EQ(editedFileText(*data, {true, false}), "  00.50000    1.00000E+00    1.000E+00\r\n"
                                                  "  00.00000    1.00000E+00    1.000E+00\r\n");
}

TEST(RetainedRange, FollowsTheFirstAndLastGoodPoint) {
    struct Case {
        const char* name;
        std::vector<float> xs;
        const char* marks; // of each point: '+' good, '-' deleted, '0' a third value of 0
        int first, last;
        bool radius;
    };
    const Case cases[] = {
        {"deleted ends", {5, 6, 7, 7.5f, 7.9f}, "-+-+0", 2, 4, true},
        {"nothing good: the whole scan", {5, 6}, "-0", 1, 2, true},
        {"one good point", {5, 6, 7}, "0+0", 2, 2, true},
        {"last good x just below 8 is a radius", {7.99f, 9}, "+-", 1, 1, true},
        {"last good x of 8 is XI", {7, 8}, "++", 1, 2, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto data = std::make_unique<DataSet>();
        for (const float x : c.xs) {
            const char mark = c.marks[data->PointCount];
            data->WorkPoints(++data->PointCount) = {x, 1,
                                                    mark == '+'   ? 1.0f
                                                    : mark == '-' ? -1.0f
                                                                  : 0.0f};
        }
        deriveRetainedRange(*data);
        EXPECT_EQ(data->FirstGoodIndex, c.first);
        EXPECT_EQ(data->LastGoodIndex, c.last);
        EXPECT_EQ(data->FirstGoodX, c.xs[c.first - 1]);
        EXPECT_EQ(data->LastGoodX, c.xs[c.last - 1]);
        EXPECT_EQ(data->XIsRadius, c.radius);
    }
}

} // namespace
} // namespace skerry
