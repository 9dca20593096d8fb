#include "skerry/ground/FileIO.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/FileConditions.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;
using skerry::readWholeFile;
using skerry::writeFileAtomically;
using skerry::test::CurrentDirectoryGuard;
using skerry::test::readBytes;
using skerry::test::TempDir;

namespace {

// Bytes that a text-mode or trimming writer would alter.
const std::string kAwkwardBytes = std::string("line\r\nbare\n\0nul\x1A\xFF end", 20);

// The reason a write failed, or "" when it succeeded, so that a failure shows its reason.
std::string reasonOf(const std::optional<skerry::FileError>& error) {
    return error ? error->reason : "";
}

std::vector<std::string> entriesOf(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

mode_t permissionsOf(const fs::path& path) {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0) << path;
    return info.st_mode & 07777;
}

// Sets the file creation mask for one test.
class UmaskGuard {
public:
    explicit UmaskGuard(mode_t mask) : previous_(::umask(mask)) {}
    ~UmaskGuard() { ::umask(previous_); }
    UmaskGuard(const UmaskGuard&) = delete;
    UmaskGuard& operator=(const UmaskGuard&) = delete;

private:
    mode_t previous_;
};

TEST(FileIO, NewFileGetsExactBytesAndModeFromUmask) {
    struct Case {
        mode_t umask;
        mode_t expected;
    };
    const Case cases[] = {{022, 0644}, {077, 0600}};
    for (const auto& c : cases) {
        const UmaskGuard mask(c.umask);
        const TempDir dir;
        const auto target = dir / "Skerry.ini";

        ASSERT_EQ(reasonOf(writeFileAtomically(target, kAwkwardBytes)), "");

        EXPECT_EQ(readBytes(target), kAwkwardBytes);
        EXPECT_EQ(permissionsOf(target), c.expected) << "umask " << std::oct << c.umask;
        EXPECT_EQ(entriesOf(dir.path()), std::vector<std::string>{"Skerry.ini"});
    }
}

TEST(FileIO, ReplacingKeepsPermissionBitsAndSwapsTheWholeFile) {
    const UmaskGuard mask(077);
    const TempDir dir;
    const auto target = dir.write("data.ini", "old content that is longer than the new one");
    fs::permissions(target, fs::perms(0604));
    // A second name for the old file shows that the file was swapped, not rewritten in place.
    fs::create_hard_link(target, dir / "old-copy");

    ASSERT_EQ(reasonOf(writeFileAtomically(target, "new")), "");

    EXPECT_EQ(readBytes(target), "new");
    EXPECT_EQ(permissionsOf(target), 0604u);
    EXPECT_EQ(readBytes(dir / "old-copy"), "old content that is longer than the new one");
    EXPECT_EQ(entriesOf(dir.path()), (std::vector<std::string>{"data.ini", "old-copy"}));
}

TEST(FileIO, LinkTargetIsReplacedAndTheLinkStays) {
    const TempDir dir;
    fs::create_directories(dir / "data");
    fs::create_directories(dir / "links");
    fs::create_directories(dir / "elsewhere" / "deeper");
    const auto real = dir.write("data/real.ini", "old");
    const auto link = dir / "links" / "link.ini";
    fs::create_symlink("../data/real.ini", link);
    // The link's text is relative to its own folder, not to the current directory.
    const CurrentDirectoryGuard cwd(dir / "elsewhere" / "deeper");

    ASSERT_EQ(reasonOf(writeFileAtomically(link, "new")), "");

    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::read_symlink(link), fs::path("../data/real.ini"));
    EXPECT_EQ(readBytes(real), "new");
    EXPECT_EQ(entriesOf(dir / "data"), std::vector<std::string>{"real.ini"});
    EXPECT_EQ(entriesOf(dir / "links"), std::vector<std::string>{"link.ini"});
    EXPECT_TRUE(fs::is_empty(dir / "elsewhere" / "deeper"));

    // A dangling link gets its file made.
    fs::create_symlink("fresh.ini", dir / "links" / "dangling.ini");
    ASSERT_EQ(reasonOf(writeFileAtomically(dir / "links" / "dangling.ini", "made")), "");
    EXPECT_EQ(readBytes(dir / "links" / "fresh.ini"), "made");
}

TEST(FileIO, TargetsThatAreNoFileOrHaveNoFolderAreRefused) {
    const TempDir dir;
    fs::create_directories(dir / "sub");
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    struct Case {
        const char* name;
        const char* reason;
    };
    const Case cases[] = {{"sub", "is a folder, not a file"},
                          {"pipe", "is not a regular file"},
                          {"no-such-folder/file.ini", "No such file or directory"}};
    for (const auto& c : cases) {
        const auto error = writeFileAtomically(dir / c.name, "x");
        ASSERT_TRUE(error) << c.name;
        EXPECT_EQ(error->reason, c.reason);
        EXPECT_EQ(entriesOf(dir.path()), (std::vector<std::string>{"pipe", "sub"}));
    }
    EXPECT_TRUE(fs::is_empty(dir / "sub"));
    EXPECT_TRUE(fs::is_fifo(dir / "pipe"));
}

TEST(FileIO, ReadOnlyFolderOrFileLeavesTheFileUntouched) {
    if (!skerry::test::permissionsApply()) {
        GTEST_SKIP() << "running as root, which writes into read-only folders anyway";
    }
    for (const bool folder : {true, false}) {
        SCOPED_TRACE(folder ? "read-only folder" : "read-only file");
        const TempDir dir;
        const auto target = dir.write("keep.ini", "original\r\n");
        fs::permissions(folder ? dir.path() : target, fs::perms(folder ? 0555 : 0444));

        const auto error = writeFileAtomically(target, "replacement");

        fs::permissions(dir.path(), fs::perms(0755));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->reason, "Permission denied");
        EXPECT_EQ(readBytes(target), "original\r\n");
        EXPECT_EQ(entriesOf(dir.path()), std::vector<std::string>{"keep.ini"});
    }
}

TEST(FileIO, FailedWriteLeavesTheFileUntouchedAndNoTemporaryFile) {
    const TempDir dir;
    const auto target = dir.write("keep.ini", "original\r\n");

    std::optional<skerry::FileError> error;
    {
        const skerry::test::FileSizeLimit limit(4);
        error = writeFileAtomically(target, "far more than four bytes");
    }

    ASSERT_TRUE(error);
    EXPECT_EQ(error->reason, "File too large");
    EXPECT_EQ(readBytes(target), "original\r\n");
    EXPECT_EQ(entriesOf(dir.path()), std::vector<std::string>{"keep.ini"});
}

TEST(FileIO, ReadWholeFileGivesTheBytesUntouchedOrAReason) {
    const TempDir dir;
    EXPECT_EQ(readWholeFile(dir.write("exact.bin", kAwkwardBytes), kAwkwardBytes.size()).bytes,
              kAwkwardBytes);
    EXPECT_FALSE(readWholeFile(dir.write("empty", ""), 0).error);
    fs::create_directories(dir / "folder");
    dir.write("five", "12345");
    dir.write("big", std::string(1024 * 1024 + 1, 'x'));
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    struct Case {
        std::string name;
        std::uintmax_t maxBytes;
        std::string reason;
    };
    const Case cases[] = {
        {"missing", 100, "No such file or directory"}, {"folder", 100, "is a folder, not a file"},
        {"pipe", 100, "is not a regular file"},        {"five", 4, "is larger than 4 bytes"},
        {"big", 1024 * 1024, "is larger than 1 MB"},
    };
    for (const auto& c : cases) {
        const auto result = readWholeFile(dir / c.name, c.maxBytes);
        ASSERT_TRUE(result.error) << c.name;
        EXPECT_EQ(result.error->reason, c.reason) << c.name;
        EXPECT_EQ(result.bytes, "") << c.name;
    }
}

} // namespace
