#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "skerry/session/StartUp.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

namespace skerry {
namespace {

using test::readBytes;

// Records what start-up does to the windows, interleaved with the waits it asks for.
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
        // Waits and event rounds since the last window call come first.
        if (platform_.eventRounds != eventRounds_) {
            log.push_back(std::to_string(platform_.eventRounds - eventRounds_) + " event rounds");
            eventRounds_ = platform_.eventRounds;
        }
        for (; sleeps_ < platform_.sleeps.size(); ++sleeps_) {
            log.push_back("sleep " + std::to_string(platform_.sleeps[sleeps_].count()));
        }
        log.push_back(what);
    }

    test::ScriptedPlatform& platform_;
    int eventRounds_ = 0;
    std::size_t sleeps_ = 0;
};

class StartUpTest : public testing::Test {
protected:
    StartUpTest() { platform.settingsDir = dir / "config" / "nested"; }

    test::TempDir dir;
    test::ScriptedPlatform platform;
    std::unique_ptr<Program> program = std::make_unique<Program>();
    RecordingWindows windows{platform};
};

TEST_F(StartUpTest, ShowsTheSplashWaitsAndShowsTheMainWindow) {
    program->data.NoiseRms = 5.0f;
    program->data.BlankLoaded = true;
    platform.defaultPrinter = std::string("Office Laser\0\0", 14);

    EXPECT_EQ(runStartUp(*program, platform, windows), StartUpOutcome::Running);

    const std::vector<std::string> expected = {
        "show splash",   "100 event rounds", "sleep 1750",
        "unload splash", "sleep 1000",       "load main window",
        "sleep 1000",    "show main window", "caption Skerry V0.999.0028"};
    EXPECT_EQ(windows.log, expected);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(program->DefaultPrinterName) << "the print system is not asked at start-up";
    EXPECT_EQ(program->data.NoiseRms, 0.01f);
    EXPECT_FALSE(program->data.BlankLoaded);
    EXPECT_TRUE(program->ShowXYDefault);
    EXPECT_EQ(program->colours.GoodColor, (PlotColor{0, 127, 0}));
    EXPECT_EQ(program->colours.DeletedColor, (PlotColor{255, 0, 0}));
    // The settings folder is made when missing; only the start's date and time are written.
    EXPECT_EQ(readBytes(platform.settingsDir / "Skerry.ini"),
              "[LastAccess]\r\nDate=12-06-2026\r\nTime=09:05:07\r\n");
}

TEST_F(StartUpTest, TheDefaultPrinterIsAskedForOnceWhenFirstNeeded) {
    platform.defaultPrinter = std::string("Office Laser\0\0\0", 15);
    EXPECT_EQ(defaultPrinterName(*program, platform), std::string("Office Laser\0", 13))
        << "at most two terminating NULs are removed";
    platform.defaultPrinter = "Another";
    EXPECT_EQ(defaultPrinterName(*program, platform), std::string("Office Laser\0", 13));
}

TEST_F(StartUpTest, ASecondCopyEndsBeforeItTouchesAnything) {
    platform.otherInstance = true;
    EXPECT_EQ(runStartUp(*program, platform, windows), StartUpOutcome::AnotherCopyRunning);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Cannot Run Multiple Copies of Program!");
    EXPECT_EQ(platform.messages[0].title, "Previous Instance");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(platform.messages[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(windows.log.empty());
    EXPECT_TRUE(platform.sleeps.empty());
    EXPECT_FALSE(std::filesystem::exists(platform.settingsDir));
}

TEST_F(StartUpTest, ColoursComeFromTheSettingsFileKeyByKey) {
    std::filesystem::create_directories(platform.settingsDir);
    const auto ini = platform.settingsDir / "Skerry.ini";
    {
        std::ofstream out(ini, std::ios::binary);
        out << "; my colours\r\n[GoodData]\r\nRed=10\r\nBlue= 30 \r\n"
               "[DeletedData]\r\nGreen=70000\r\nRed=oops\r\n"
               "[LastAccess]\r\nDate=01-01-2000\r\nTime=00:00:00\r\n";
    }
    runStartUp(*program, platform, windows);
    EXPECT_EQ(program->colours.GoodColor, (PlotColor{10, 127, 30}));
    // A value beyond 16 bits is held at the end of the range; text reads as 0.
    EXPECT_EQ(program->colours.DeletedColor, (PlotColor{0, 32767, 0}));
    EXPECT_EQ(readBytes(ini), "; my colours\r\n[GoodData]\r\nRed=10\r\nBlue= 30 \r\n"
                              "[DeletedData]\r\nGreen=70000\r\nRed=oops\r\n"
                              "[LastAccess]\r\nDate=12-06-2026\r\nTime=09:05:07\r\n");
}

} // namespace
} // namespace skerry
