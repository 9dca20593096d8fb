#include <gtest/gtest.h>

#include "skerry/input/FitFile.h"
#include "support/TempDir.h"

namespace skerry {
namespace {

// A fit file written on Windows names its data files with '\' or '/', by full paths or beside
// it; a name on a drive that does not hold the file is looked for beside the fit file.
TEST(WindowsFitFile, NamesAreUsedAsTheyAreOrFoundBesideTheFitFile) {
    const test::TempDir dir;
    dir.write("cell1.RA1", "6.0 1 1\n");
    std::filesystem::create_directory(dir / "data");
    dir.write("data/cell2.RA1", "6.0 1 1\n");
    const std::string inData = os::utf8Of(dir / "data" / "cell2.RA1");
    const std::string beside = os::utf8Of(dir / "cell1.RA1");
    const ProfileFile fit =
        ProfileFile::parse("[FileCount]\nnumber=4\n[File01]\nname=" + inData +
                           "\n[File02]\nname=data/cell2.RA1\n[File03]\nname=data\\cell2.RA1\n"
                           "[File04]\nname=Q:\\runs\\cell1.RA1\n");
    const FitListReading reading = readFitFileList(fit, "x.fit", dir.path());
    ASSERT_TRUE(reading.list);
    const FitFileList& list = *reading.list;
    ASSERT_EQ(list.FitFoundCount, 4);
    const std::string names[] = {inData, "data/cell2.RA1", "data\\cell2.RA1", beside};
    const std::string paths[] = {inData, inData, inData, beside};
    for (int k = 1; k <= 4; ++k) {
        EXPECT_EQ(list.name(k), names[k - 1]);
        EXPECT_EQ(list.path(k), paths[k - 1]);
    }
}

} // namespace
} // namespace skerry
