#include <cmath>
#include <stdexcept>

#include "ground/DataTable.h"
#include "skerry/ground/LeadingNumber.h"
#include "skerry/ground/NumberPattern.h"
#include "skerry/ground/Text.h"

namespace skerry {
namespace {

TEST(LeadingNumber, ReadsTheNumberAtTheStartAndRoundsItToInt16) {
    for (const auto& row : test::readTable("ground/leading-numbers.tsv", 3)) {
        SCOPED_TRACE(row.where);
        const double value = leadingNumber(row[0]);
        EXPECT_EQ(value, row.number(1));
        EXPECT_EQ(std::signbit(value), std::signbit(row.number(1)));
        const auto rounded = roundToInt16(value);
        EXPECT_EQ(rounded ? std::to_string(*rounded) : "none", row[2]);
    }
    // Not a number, which no text reads as, has no 16-bit value either.
    EXPECT_FALSE(roundToInt16(std::nan("")));
}

TEST(NumberPattern, FormatsSinglesAndDoublesAndRefusesWhatItCannotCompile) {
    for (const auto& row : test::readTable("ground/number-patterns.tsv", 4)) {
        SCOPED_TRACE(row.where);
        if (row[1] == "reject") {
            EXPECT_THROW(NumberPattern{row[0]}, std::invalid_argument);
            continue;
        }
        const NumberPattern pattern(row[0]);
        EXPECT_EQ(row[1] == "f" ? pattern.format(row.single(2)) : pattern.format(row.number(2)),
                  row[3]);
    }
}

TEST(Text, CaptionFromPathShowsTheLast18Characters) {
    for (const auto& row : test::readTable("ground/captions.tsv", 2)) {
        EXPECT_EQ(captionFromPath(row[0]), row[1]) << row.where;
    }
}

} // namespace
} // namespace skerry
