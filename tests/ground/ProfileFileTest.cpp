#include "skerry/ground/ProfileFile.h"

#include "ground/DataTable.h"

namespace skerry {
namespace {

TEST(ProfileFile, ReadsStringsAndIntegers) {
    for (const auto& row : test::readTable("ground/profile-reads.tsv", 6)) {
        SCOPED_TRACE(row.where);
        const ProfileFile profile = ProfileFile::parse(row[0]);
        EXPECT_EQ(row[4] == "int" ? std::to_string(profile.readInt(row[1], row[2], row.integer(3)))
                                  : profile.readString(row[1], row[2], row[3], row.integer(4)),
                  row[5]);
    }
}

TEST(ProfileFile, WritesExactBytes) {
    for (const auto& row : test::readTable("ground/profile-writes.tsv", 5)) {
        SCOPED_TRACE(row.where);
        ProfileFile profile = ProfileFile::parse(row[0]);
        profile.write(row[1], row[2], row[3]);
        EXPECT_EQ(profile.bytes(), row[4]);
    }
}

// A missing file loads empty; saving creates it, or replaces it with its lines ended in CR LF.
TEST(ProfileFile, LoadsAndSavesAMissingOrAnExistingFile) {
    const test::TempDir dir;
    for (const char* expected : {"[A]\r\nx=1\r\n", "[A]\r\nx=1\r\ny=0\r\n"}) {
        auto profile = ProfileFile::load(dir / "Skerry.ini");
        profile.write("A", "x", "1");
        EXPECT_TRUE(profile.save(dir / "Skerry.ini"));
        EXPECT_EQ(test::readBytes(dir / "Skerry.ini"), expected);
        dir.write("Skerry.ini", "[A]\nx=0\ny=0\n");
    }
}

} // namespace
} // namespace skerry
