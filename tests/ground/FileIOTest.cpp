#include "skerry/ground/FileIO.h"

#include <set>

#include <sys/stat.h>

#include "ground/DataTable.h"
#include "support/FileConditions.h"

namespace fs = std::filesystem;

namespace skerry {
namespace {

using test::readBytes;
using test::reasonOf;
using test::TempDir;

// Bytes that a text-mode or trimming writer would alter.
const std::string kAwkwardBytes = std::string("line\r\nbare\n\0nul\x1A\xFF end", 20);

std::set<std::string> entriesOf(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

TEST(FileIO, ANewFileFollowsTheUmaskAndAReplacedOneKeepsItsModeAndIsSwappedWhole) {
    for (const mode_t mask : {022, 077}) {
        const mode_t previous = ::umask(mask);
        const TempDir dir;
        EXPECT_EQ(reasonOf(writeFileAtomically(dir / "new.ini", kAwkwardBytes)), "");
        EXPECT_EQ(readBytes(dir / "new.ini"), kAwkwardBytes);
        EXPECT_EQ(fs::status(dir / "new.ini").permissions(), fs::perms(0666 & ~mask));
        // A second name for the old file shows that it was swapped, not rewritten in place.
        const auto old = dir.write("old.ini", "old content, longer than the new");
        fs::permissions(old, fs::perms(0604));
        fs::create_hard_link(old, dir / "copy");
        EXPECT_EQ(reasonOf(writeFileAtomically(old, "new")), "");
        EXPECT_EQ(readBytes(old), "new");
        EXPECT_EQ(fs::status(old).permissions(), fs::perms(0604));
        EXPECT_EQ(readBytes(dir / "copy"), "old content, longer than the new");
        EXPECT_EQ(entriesOf(dir.path()), (std::set<std::string>{"copy", "new.ini", "old.ini"}));
        ::umask(previous);
    }
}

TEST(FileIO, ALinksTargetIsReplacedOrMadeAndTheLinkStays) {
    const TempDir dir;
    fs::create_directories(dir / "data");
    fs::create_directories(dir / "links");
    fs::create_directories(dir / "elsewhere" / "deeper");
    dir.write("data/real.ini", "old");
    fs::create_symlink("../data/real.ini", dir / "links" / "link.ini");
    fs::create_symlink("fresh.ini", dir / "links" / "dangling.ini");
    // A link's text is relative to its own folder, not to the current directory.
    const test::CurrentDirectoryGuard cwd(dir / "elsewhere" / "deeper");
    for (const char* link : {"link.ini", "dangling.ini"}) {
        EXPECT_EQ(reasonOf(writeFileAtomically(dir / "links" / link, link)), "") << link;
    }
    EXPECT_EQ(readBytes(dir / "data" / "real.ini"), "link.ini");
    EXPECT_EQ(readBytes(dir / "links" / "fresh.ini"), "dangling.ini");
    EXPECT_EQ(fs::read_symlink(dir / "links" / "link.ini"), "../data/real.ini");
    EXPECT_EQ(entriesOf(dir / "links"),
              (std::set<std::string>{"dangling.ini", "fresh.ini", "link.ini"}));
    EXPECT_EQ(entriesOf(dir / "data").size() + entriesOf(dir / "elsewhere" / "deeper").size(), 1);
}

TEST(FileIO, ReadingGivesTheBytesOrAReasonAndWritingRefusesWhatIsNoFile) {
    const TempDir dir;
    fs::create_directories(dir / "folder");
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    dir.write("exact", kAwkwardBytes);
    dir.write("empty", "");
    dir.write("big", std::string(1024 * 1024 + 1, 'x'));
    for (const auto& row : test::readTable("ground/file-reads.tsv", 4)) {
        const auto read = readWholeFile(dir / row[0], std::stoul(row[1]));
        EXPECT_EQ(test::cellsOf(read ? *read : "", reasonOf(read)), row.rest(2)) << row.where;
    }
    for (const char* name : {"missing/file", "folder", "pipe"}) {
        EXPECT_EQ(reasonOf(writeFileAtomically(dir / name, "x")),
                  reasonOf(readWholeFile(dir / name, 100)))
            << name;
    }
    EXPECT_EQ(entriesOf(dir.path()),
              (std::set<std::string>{"big", "empty", "exact", "folder", "pipe"}));
    EXPECT_TRUE(fs::is_empty(dir / "folder"));
}

// A read-only folder or file, or a disk that fills up, leaves the file as it was and no
// temporary file behind.
TEST(FileIO, AFailedReplacementLeavesTheFileUntouched) {
    for (const std::string way : {"read-only folder", "read-only file", "full disk"}) {
        const TempDir dir;
        const auto target = dir.write("keep.ini", "original\r\n");
        if (way != "full disk" && !test::permissionsApply()) {
            continue; // root writes into read-only folders anyway
        }
        fs::permissions(way == "read-only folder" ? dir.path() : target,
                        way == "full disk" ? fs::perms(0644) : fs::perms(0555));
        const Done written = [&] {
            const test::FileSizeLimit limit(4);
            return writeFileAtomically(target, "far more than four bytes");
        }();
        fs::permissions(dir.path(), fs::perms(0755));
        EXPECT_EQ(reasonOf(written), way == "full disk" ? "File too large" : "Permission denied");
        EXPECT_EQ(readBytes(target), "original\r\n") << way;
        EXPECT_EQ(entriesOf(dir.path()), std::set<std::string>{"keep.ini"}) << way;
    }
}

} // namespace
} // namespace skerry
