#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "skerry/session/Settings.h"
#include "skerry/session/StartUp.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

namespace skerry {
namespace {

namespace fs = std::filesystem;
using test::readBytes;

// Records what start-up does to the windows, each with the waits and event rounds before it.
class RecordingWindows : public StartUpWindows {
public:
    explicit RecordingWindows(test::ScriptedPlatform& platform) : platform_(platform) {}

    void showSplash() override { note("show splash"); }
    void unloadSplash() override { note("unload splash"); }
    void loadMainWindow() override { note("load main window"); }
    void showMainWindow() override { note("show main window"); }
    void setMainWindowCaption(const std::string& caption) override { note("caption " + caption); }

    std::vector<std::string> log;

private:
    void note(const std::string& what) {
        log.push_back(std::to_string(platform_.eventRounds) + " rounds " +
                      std::to_string(platform_.sleeps.size()) + " sleeps: " + what);
    }

    test::ScriptedPlatform& platform_;
};

class StartUpTest : public testing::Test {
protected:
    test::TempDir dir;
    test::ScriptedPlatform platform;
    std::unique_ptr<Program> program = std::make_unique<Program>();
    RecordingWindows windows{platform};
};

TEST_F(StartUpTest, ShowsTheSplashWaitsAndShowsTheMainWindowWithTheStartValues) {
    platform.settingsDir = dir / "config";
    program->data().NoiseRms = 5.0f;
    program->data().NoiseAdded = true;
    program->data().BlankLoaded = true;
    program->ShowXYDefault = false;

    EXPECT_EQ(runStartUp(*program, platform, windows), StartUpOutcome::Running);
    const std::vector<std::string> expected = {
        "0 rounds 0 sleeps: show splash", "100 rounds 1 sleeps: unload splash",
        "100 rounds 2 sleeps: load main window", "100 rounds 3 sleeps: show main window",
        "100 rounds 3 sleeps: caption Skerry V0.999.0028"};
    EXPECT_EQ(windows.log, expected);
    EXPECT_EQ(platform.sleeps, (std::vector<std::chrono::milliseconds>{
                                   std::chrono::milliseconds(1750), std::chrono::milliseconds(1000),
                                   std::chrono::milliseconds(1000)}));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(program->DefaultPrinterName) << "the print system is not asked at start-up";
    EXPECT_EQ(program->data().NoiseRms, 0.01f);
    EXPECT_FALSE(program->data().NoiseAdded || program->data().BlankLoaded);
    EXPECT_TRUE(program->ShowXYDefault);
}

TEST_F(StartUpTest, ASecondCopyEndsBeforeItTouchesAnything) {
    platform.settingsDir = dir / "config";
    platform.otherInstance = true;
    EXPECT_EQ(runStartUp(*program, platform, windows), StartUpOutcome::AnotherCopyRunning);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Cannot Run Multiple Copies of Program!");
    EXPECT_EQ(platform.messages[0].title, "Previous Instance");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_TRUE(windows.log.empty() && platform.sleeps.empty());
    EXPECT_FALSE(fs::exists(platform.settingsDir));
}

TEST_F(StartUpTest, TheDefaultPrinterIsAskedForOnceWithAtMostTwoNulsRemoved) {
    platform.defaultPrinter = std::string("Office Laser\0\0\0", 15);
    EXPECT_EQ(defaultPrinterName(*program, platform), std::string("Office Laser\0", 13));
    platform.defaultPrinter = "Another";
    EXPECT_EQ(defaultPrinterName(*program, platform), std::string("Office Laser\0", 13));
}

// Each folder of tests/data/session: the settings file found at start ("before.ini"; none when
// it is missing), the colours start-up then holds, and the file after start-up and after a
// confirmed exit with the colours (1, 2, 3) and (4, 5, 6). The settings folder is made when
// missing, however deep.
TEST_F(StartUpTest, SettingsFileAtStartAndExit) {
    for (const auto& entry : fs::directory_iterator(SKERRY_TEST_DATA_DIR "/session")) {
        if (!entry.is_directory()) {
            continue; // the tables of other tests
        }
        const fs::path& files = entry.path();
        SCOPED_TRACE(files.filename());
        test::TempDir folder;
        platform.settingsDir = folder / "config" / "nested";
        const fs::path ini = platform.settingsDir / "Skerry.ini";
        if (fs::exists(files / "before.ini")) {
            fs::create_directories(platform.settingsDir);
            fs::copy_file(files / "before.ini", ini);
        }
        program->colours = {{1, 1, 1}, {1, 1, 1}};
        runStartUp(*program, platform, windows);
        const auto text = [](const PlotColor& c) {
            return std::to_string(c.Red) + "," + std::to_string(c.Green) + "," +
                   std::to_string(c.Blue);
        };
        EXPECT_EQ(text(program->colours.GoodColor) + " " + text(program->colours.DeletedColor) +
                      "\n",
                  readBytes(files / "colours"));
        EXPECT_EQ(readBytes(ini), readBytes(files / "started.ini"));
        program->colours = {{1, 2, 3}, {4, 5, 6}};
        writeColourSettings(*program, platform);
        EXPECT_EQ(readBytes(ini), readBytes(files / "exited.ini"));
    }
}

// A settings folder that can never be made: start-up and exit go on without a word.
TEST_F(StartUpTest, SettingsThatCannotBeWrittenAreIgnored) {
    platform.settingsDir = "/dev/null/settings";
    EXPECT_EQ(runStartUp(*program, platform, windows), StartUpOutcome::Running);
    writeColourSettings(*program, platform);
    EXPECT_TRUE(platform.messages.empty());
}

} // namespace
} // namespace skerry
