// The Windows side of the file-system seam, where the POSIX-only file tests cannot run: the same
// refusals in the same words as on Linux, names beyond ASCII, the folders Windows decides.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "skerry/ground/FileIO.h"
#include "skerry/ground/Platform.h"
#include "support/TempDir.h"

namespace skerry {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> entriesOf(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(os::utf8Of(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(WindowsFiles, ARefusedWriteSaysWhyAsOnLinuxAndLeavesNothingBehind) {
    const test::TempDir dir;
    fs::create_directory(dir / "sub");
    const auto locked = dir.write("locked.ini", "original");
    fs::permissions(locked, fs::perms::owner_read, fs::perm_options::replace);
    struct Case {
        const char* name;
        const char* reason;
    };
    const Case cases[] = {{"sub", "is a folder, not a file"},
                          {"locked.ini", "Permission denied"},
                          {"no-such-folder/file.ini", "No such file or directory"}};
    for (const auto& c : cases) {
        const Done written = writeFileAtomically(dir / c.name, "x");
        ASSERT_FALSE(written) << c.name;
        EXPECT_EQ(written.reason(), c.reason);
        EXPECT_EQ(entriesOf(dir.path()), (std::vector<std::string>{"locked.ini", "sub"}));
    }
    EXPECT_EQ(test::readBytes(locked), "original");
}

TEST(WindowsFiles, AReadThatIsRefusedSaysWhyAsOnLinux) {
    const test::TempDir dir;
    dir.write("five", "12345");
    struct Case {
        fs::path path;
        const char* reason;
    };
    const Case cases[] = {{dir / "missing", "No such file or directory"},
                          {dir.path(), "is a folder, not a file"},
                          {dir / "five", "is larger than 4 bytes"},
                          {"NUL", "is not a regular file"}};
    for (const auto& c : cases) {
        const auto read = readWholeFile(c.path, 4);
        ASSERT_FALSE(read) << c.path;
        EXPECT_EQ(read.reason(), c.reason);
    }
}

// UTF-8 in the program, UTF-16 at the system: "Zelle-ä-Ω.ini" in both spellings is one file.
TEST(WindowsFiles, NamesBeyondAsciiAreWrittenAndReadAsTheyAre) {
    const test::TempDir dir;
    const std::string name = os::utf8Of(dir.path()) + "\\Zelle-\xC3\xA4-\xCE\xA9.ini";
    const fs::path wide = dir.path() / L"Zelle-\u00E4-\u03A9.ini";
    const std::string bytes = "line\r\nbare\n\x1A\xFF";
    FileBatch batch;
    ASSERT_TRUE(batch.add(os::pathFromUtf8(name), bytes));
    ASSERT_TRUE(batch.commit().empty());
    EXPECT_EQ(test::readBytes(wide), bytes);
    EXPECT_EQ(*readWholeFile(os::pathFromUtf8(name), 100), bytes);
    EXPECT_TRUE(FileExists(name));
    EXPECT_EQ(fileIdentity(os::pathFromUtf8(name)), fileIdentity(wide));
    EXPECT_EQ(entriesOf(dir.path()), std::vector<std::string>{"Zelle-\xC3\xA4-\xCE\xA9.ini"});
}

TEST(WindowsFolders, WorkingFolderEndsInOneBackslashAndSettingsAreInAppData) {
    const test::TempDir dir;
    const std::pair<fs::path, std::string> cases[] = {{dir.path(), os::utf8Of(dir.path()) + "\\"},
                                                      {"C:\\", "C:\\"}};
    for (const auto& [folder, expected] : cases) {
        const test::CurrentDirectoryGuard cwd(folder);
        EXPECT_EQ(currentWorkDir(), expected);
    }
    EXPECT_EQ(os::userSettingsFolder(), fs::path(_wgetenv(L"APPDATA")) / L"Skerry");
}

} // namespace
} // namespace skerry
