#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "CommandTest.h"
#include "skerry/session/Settings.h"
#include "skerry/session/StartUp.h"
#include "support/FileConditions.h"

namespace skerry {
namespace {

namespace fs = std::filesystem;
using test::kListing;
using test::readBytes;

// The folder the program works in cannot take its files: full, read-only, or a file chosen that
// cannot be read. Each time the user gets one clear message and nothing is lost.
class FileSystemTest : public test::CommandTest {
protected:
    FileSystemTest() {
        fs::create_directory(dir / "work");
        scan = dir.write("work/scan.RA1", test::kScan);
    }

    // Saves over `existing`, which holds "the old edited file"; it must stay and the program end.
    void expectAFailedSaveKeepsTheOldFile(const fs::path& existing,
                                          void (MainWindowModel::*save)()) {
        platform.answerDialog(existing.string());
        (model.*save)();
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, "Error in SaveEditedFile!  Program Ending!");
        EXPECT_EQ(platform.messages[0].title, "Output File Error");
        EXPECT_EQ(platform.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(platform.endedWith, 1);
        EXPECT_EQ(readBytes(existing), "the old edited file");
        EXPECT_EQ(std::distance(fs::directory_iterator(existing.parent_path()), {}),
                  existing.parent_path() == dir / "work" ? 3 : 1)
            << "no temporary file is left beside the old file";
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
    EXPECT_EQ(listing(), kListing);
    EXPECT_FALSE(fs::exists(dir / "work" / "~skerry.tmp"));
    // The program goes on: with room again the next command writes the listing.
    model.InvertC_Click();
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(fs::exists(dir / "work" / "~skerry.tmp"));
}

TEST_F(FileSystemTest, SavingToAFullDiskEndsTheProgramAndKeepsTheOldFile) {
    getData(scan.string());
    const auto existing = dir.write("work/edited.dat", "the old edited file");
    const test::FileSizeLimit full(60);
    expectAFailedSaveKeepsTheOldFile(existing, &MainWindowModel::SaveComplete_Click);
}

TEST_F(FileSystemTest, AReadOnlyFolderKeepsTheListingInThePane) {
    if (!test::permissionsApply()) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    fs::permissions(dir / "work", fs::perms(0555));
    getData(scan.string());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "The listing file " + (dir / "work").string() +
                                             "/~skerry.tmp could not be written: Permission "
                                             "denied.");
    EXPECT_EQ(listing(), kListing);
}

TEST_F(FileSystemTest, SavingIntoAReadOnlyFolderEndsTheProgramAndKeepsTheOldFile) {
    if (!test::permissionsApply()) {
        GTEST_SKIP() << "root writes into read-only folders";
    }
    getData(scan.string());
    fs::create_directory(dir / "archive");
    const auto existing = dir.write("archive/edited.dat", "the old edited file");
    fs::permissions(dir / "archive", fs::perms(0555));
    expectAFailedSaveKeepsTheOldFile(existing, &MainWindowModel::SaveTruncated_Click);
}

TEST_F(FileSystemTest, AnUnreadableScanIsRefusedAndChangesNothing) {
    if (!test::permissionsApply()) {
        GTEST_SKIP() << "root reads unreadable files";
    }
    getData(scan.string());
    const auto locked = dir.write("work/locked.RA1", test::kScan);
    fs::permissions(locked, fs::perms::none);
    getData(locked.string());
    EXPECT_EQ(platform.messageTexts(),
              std::vector<std::string>{"The data file " + locked.string() +
                                       " was not read: Permission denied."});
    EXPECT_EQ(data().DataFileName, scan.string());
    EXPECT_EQ(listing(), kListing);
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
    EXPECT_EQ(runStartUp(*program, platform, noWindows), StartUpOutcome::Running);
    EXPECT_EQ(program->colours.GoodColor, DefaultGoodColor);
    EXPECT_EQ(program->colours.DeletedColor, DefaultDeletedColor);
    program->colours.GoodColor = {1, 2, 3};
    if (test::permissionsApply()) {
        fs::permissions(ini, fs::perms::owner_read);
        const std::string before = readBytes(ini);
        writeColourSettings(*program, platform);
        EXPECT_EQ(readBytes(ini), before);
    }
    // A settings folder that can never be made.
    platform.settingsDir = "/dev/null/settings";
    EXPECT_EQ(runStartUp(*program, platform, noWindows), StartUpOutcome::Running);
    writeColourSettings(*program, platform);
    EXPECT_TRUE(platform.messages.empty());
}

} // namespace
} // namespace skerry
