#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "CommandTest.h"
#include "skerry/core/Settings.h"
#include "skerry/core/StartUp.h"
#include "skerry/operations/Comments.h"
#include "support/FileConditions.h"

namespace skerry {
namespace {

namespace fs = std::filesystem;
using test::readBytes;

const std::string scanText = "Cell 5\r\n"
                             "   6.0000  1.00000E-01    1.00000E-02\r\n"
                             "   6.1000  2.00000E-01    1.00000E-02\r\n"
                             "   6.2000  3.00000E-01    1.00000E-02\r\n";
const std::string listingText = "Cell 5" + std::string(90, ' ') + "\r\n" +
                                "   6.00000    1.00000E-01    1.000E-02\r\n"
                                "   6.10000    2.00000E-01    1.000E-02\r\n"
                                "   6.20000    3.00000E-01    1.000E-02\r\n";

// The folder the program works in cannot take its files: full, read-only, or a file chosen that
// cannot be read. Each time the user gets one clear message and nothing is lost.
class FileSystemTest : public test::CommandTest {
protected:
    FileSystemTest() {
        fs::create_directory(dir / "work");
        scan = dir.write("work/scan.RA5", scanText);
    }

    // Makes the folder of the scan read-only for as long as the object lives.
    struct ReadOnly {
        explicit ReadOnly(fs::path folder) : folder_(std::move(folder)) {
            fs::permissions(folder_, fs::perms(0555));
        }
        ~ReadOnly() { fs::permissions(folder_, fs::perms(0755)); }
        fs::path folder_;
    };

    std::vector<std::string> titles() const {
        std::vector<std::string> result;
        for (const auto& m : platform.messages) {
            result.push_back(m.title);
        }
        return result;
    }

    fs::path scan;
};

TEST_F(FileSystemTest, AFullDiskKeepsTheListingInThePane) {
    {
        const test::FileSizeLimit full(40);
        getData(scan.string());
    }
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].title, "Listing File Error");
    EXPECT_EQ(platform.messages[0].text, "The listing file " + (dir / "work").string() +
                                             "/~skerry.tmp could not be written: File too large.");
    EXPECT_EQ(listing(), listingText);
    EXPECT_FALSE(fs::exists(dir / "work" / "~skerry.tmp"));
    // The program goes on: with room again the next command writes the listing.
    model.InvertC_Click();
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(fs::exists(dir / "work" / "~skerry.tmp"));
}

TEST_F(FileSystemTest, AFullDiskRefusesTheCommentDialogWithAMessage) {
    getData(scan.string());
    bool shown = false;
    windows.commentsDialog = [&](CommentsDialogModel&) {
        shown = true;
    };
    {
        const test::FileSizeLimit full(10);
        model.EditComment1_Click();
    }
    EXPECT_FALSE(shown);
    EXPECT_EQ(titles(), std::vector<std::string>{"Comment File Error"});
    EXPECT_EQ(data().CommentCount, 1);
}

TEST_F(FileSystemTest, SavingToAFullDiskEndsTheProgramAndKeepsTheOldFile) {
    getData(scan.string());
    const auto existing = dir.write("work/edited.dat", "the old edited file");
    platform.answerDialog(existing.string());
    {
        const test::FileSizeLimit full(60);
        model.SaveComplete_Click();
    }
    EXPECT_EQ(titles(), std::vector<std::string>{"Output File Error"});
    EXPECT_EQ(platform.endedWith, 1);
    EXPECT_EQ(readBytes(existing), "the old edited file");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "work"), fs::directory_iterator()), 3)
        << "no temporary file is left beside the scan, the listing and the old file";
}

TEST_F(FileSystemTest, AReadOnlyFolderKeepsTheListingInThePane) {
    if (!test::permissionsApply()) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    const ReadOnly readOnly(dir / "work");
    getData(scan.string());
    ASSERT_EQ(titles(), std::vector<std::string>{"Listing File Error"});
    EXPECT_EQ(platform.messages[0].text, "The listing file " + (dir / "work").string() +
                                             "/~skerry.tmp could not be written: Permission "
                                             "denied.");
    EXPECT_EQ(listing(), listingText);
    EXPECT_EQ(data().PointCount, 3);
}

TEST_F(FileSystemTest, SavingIntoAReadOnlyFolderEndsTheProgramAndKeepsTheOldFile) {
    if (!test::permissionsApply()) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    getData(scan.string());
    fs::create_directory(dir / "archive");
    const auto existing = dir.write("archive/edited.dat", "the old edited file");
    const ReadOnly readOnly(dir / "archive");
    platform.answerDialog(existing.string());
    model.SaveTruncated_Click();
    EXPECT_EQ(titles(), std::vector<std::string>{"Output File Error"});
    EXPECT_EQ(platform.endedWith, 1);
    EXPECT_EQ(readBytes(existing), "the old edited file");
}

TEST_F(FileSystemTest, AnUnreadableScanIsRefusedAndChangesNothing) {
    if (!test::permissionsApply()) {
        GTEST_SKIP() << "root reads unreadable files";
    }
    getData(scan.string());
    platform.messages.clear();
    const auto locked = dir.write("work/locked.RA5", scanText);
    fs::permissions(locked, fs::perms::none);
    getData(locked.string());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              "The data file " + locked.string() + " was not read: Permission denied.");
    EXPECT_EQ(data().DataFileName, scan.string());
    EXPECT_EQ(listing(), listingText);
}

// Start-up records its date and time and leaving records the colours; neither may bother the
// user when the settings file cannot be written, and a damaged file gives the built-in colours.
TEST_F(FileSystemTest, AnUnwritableOrDamagedSettingsFileIsIgnored) {
    struct NoWindows : StartUpWindows {
        void showSplash() override {}
        void unloadSplash() override {}
        void loadMainWindow() override {}
        void showMainWindow() override {}
        void setMainWindowCaption(const std::string&) override {}
    } noWindows;

    fs::create_directories(platform.settingsDir);
    const auto ini = dir.write("config/Skerry.ini", std::string("\x7f\x45\x4c\x46\0\x01\xff", 7));
    auto started = std::make_unique<Program>();
    EXPECT_EQ(runStartUp(*started, platform, noWindows), StartUpOutcome::Running);
    EXPECT_EQ(started->GoodColor, DefaultGoodColor);
    EXPECT_EQ(started->DeletedColor, DefaultDeletedColor);

    if (test::permissionsApply()) {
        fs::permissions(ini, fs::perms::owner_read);
        const std::string before = readBytes(ini);
        started->GoodColor = {1, 2, 3};
        writeColourSettings(*started, platform);
        EXPECT_EQ(readBytes(ini), before);
    }
    EXPECT_TRUE(platform.messages.empty());
}

} // namespace
} // namespace skerry
