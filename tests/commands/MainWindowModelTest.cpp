#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "CommandTest.h"
#include "skerry/batch/BatchRun.h"
#include "skerry/ground/Text.h"

namespace skerry {
namespace {

using test::kComments;
using test::kLines;
using test::kListing;
using test::kXiLines;
using test::readBytes;

using MainWindowModelTest = test::CommandTest;

TEST_F(MainWindowModelTest, StartsWithOnlyFileAndColoursUsable) {
    struct Case {
        MenuEntry MainWindowState::*entry;
        bool enabled, visible;
    };
    const Case cases[] = {{&MainWindowState::GetNewData, true, true},
                          {&MainWindowState::UseFitFile, true, true},
                          {&MainWindowState::GetBlankData, false, true},
                          {&MainWindowState::ClearBlank, false, true},
                          {&MainWindowState::FilesLoaded, true, false},
                          {&MainWindowState::EditMenuChoice, false, true},
                          {&MainWindowState::AddNoise, true, true},
                          {&MainWindowState::BackItOff, false, false},
                          {&MainWindowState::SaveDataFile, false, true},
                          {&MainWindowState::SetColors, true, true}};
    for (const Case& c : cases) {
        const MenuEntry& entry = state().*c.entry;
        SCOPED_TRACE(entry.caption);
        EXPECT_EQ(entry.enabled, c.enabled);
        EXPECT_EQ(entry.visible, c.visible);
    }
    EXPECT_EQ(state().DSNames[0].caption, "1");
    EXPECT_EQ(state().DSNames[1].caption, "2: ");
    EXPECT_EQ(state().DSNames[14].caption, "15: ");
    for (const auto& entry : state().DSNames) {
        EXPECT_FALSE(entry.enabled || entry.checked);
    }
}

TEST_F(MainWindowModelTest, GetDataCancelledThenSaveTruncatedWritesAnEmptyFile) {
    getData(std::nullopt);
    EXPECT_TRUE(state().EditMenuChoice.enabled);
    EXPECT_TRUE(state().SaveDataFile.enabled);
    EXPECT_FALSE(state().GetBlankData.enabled);
    EXPECT_TRUE(std::filesystem::exists(dir / "~skerry.tmp"));
    EXPECT_EQ(readBytes(dir / "~skerry.tmp"), "");

    platform.answerDialog((dir / "out.dat").string());
    model.SaveTruncated_Click();
    EXPECT_TRUE(std::filesystem::exists(dir / "out.dat"));
    EXPECT_EQ(readBytes(dir / "out.dat"), "");
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(MainWindowModelTest, GetDataLoadsListsAndUnlocksTheMenus) {
    std::filesystem::create_directory(dir / "scans");
    const auto scan = dir.write("scans/a.RA1", test::kScan);
    getData(scan.string());

    const auto& request = platform.dialogs.at(0).request;
    EXPECT_FALSE(platform.dialogs[0].save);
    EXPECT_EQ(request.title, "Get Data File");
    EXPECT_EQ(request.filter, "Data File | *.*");
    EXPECT_EQ(request.flags, 0x1800u);
    EXPECT_EQ(request.initialName, "");

    EXPECT_EQ(data().PointCount, 5);
    EXPECT_EQ(data().CommentCount, 2);
    EXPECT_EQ(data().DataFileName, scan.string());
    EXPECT_EQ(state().panes[MainWindowState::DataTab].text, test::kScan);
    EXPECT_EQ(listing(), kListing);
    EXPECT_EQ(state().tabCaptions[0], captionFromPath(scan.string()));
    EXPECT_TRUE(state().GetBlankData.enabled);
    EXPECT_TRUE(state().EditMenuChoice.enabled);
    EXPECT_TRUE(state().SaveDataFile.enabled);
    EXPECT_TRUE(platform.messages.empty());
    // The listing goes into the folder of the file chosen, which becomes the current directory.
    EXPECT_EQ(std::filesystem::current_path(), dir / "scans");
    EXPECT_EQ(data().WorkDir, (dir / "scans").string() + "/");
    EXPECT_EQ(readBytes(dir / "scans" / "~skerry.tmp"), kListing);
}

// Each Save entry writes its form, and skerry-batch writes the same bytes for its options.
TEST_F(MainWindowModelTest, TheFourSavesAndTheBatchProgramWriteTheirForms) {
    loadScan();
    struct Save {
        void (MainWindowModel::*handler)();
        std::vector<std::string> batchOptions;
        std::string bytes;
    };
    const Save saves[] = {
        {&MainWindowModel::SaveComplete_Click, {}, kListing},
        {&MainWindowModel::SaveCompleteRSq_Click,
         {"--xi"},
         kComments + kXiLines[0] + kXiLines[1] + kXiLines[2] + kXiLines[3] + kXiLines[4]},
        {&MainWindowModel::SaveTruncated_Click,
         {"--truncated"},
         kComments + kLines[1] + kLines[2] + kLines[3]},
        {&MainWindowModel::SaveTruncatedRSq_Click,
         {"--truncated", "--xi"},
         kComments + kXiLines[1] + kXiLines[2] + kXiLines[3]},
    };
    for (const auto& save : saves) {
        SCOPED_TRACE(testing::PrintToString(save.batchOptions));
        platform.answerDialog((dir / "saved.dat").string());
        (model.*save.handler)();
        EXPECT_EQ(readBytes(dir / "saved.dat"), save.bytes);
        const auto& request = platform.dialogs.back();
        EXPECT_TRUE(request.save);
        EXPECT_EQ(request.request.title, "Edited DataSet Name");
        EXPECT_EQ(request.request.filter, "New Data File | *.*");
        EXPECT_EQ(request.request.flags, 0x2002u);

        std::vector<std::string> args = save.batchOptions;
        args.push_back((dir / "scan.RA1").string());
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(runBatch(args, out, err), BatchOk);
        EXPECT_EQ(out.str(), save.bytes);
    }
    // A cancelled save writes nothing and says nothing.
    platform.answerDialog(std::nullopt);
    model.SaveComplete_Click();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(platform.endedWith);
    EXPECT_EQ(listing(), kListing);
}

TEST_F(MainWindowModelTest, ClosingAsksAndWritesTheColoursOnYes) {
    program->colours.GoodColor = {1, 2, 3};
    platform.answerMessage(MessageAnswer::No);
    EXPECT_FALSE(model.Form_Unload());
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, "Are you sure you want to exit?");
    EXPECT_EQ(platform.messages[0].title, "Exit Program?");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(platform.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_FALSE(std::filesystem::exists(platform.settingsDir / "Skerry.ini"));

    platform.answerMessage(MessageAnswer::Yes);
    EXPECT_TRUE(model.Form_Unload());
    EXPECT_EQ(readBytes(platform.settingsDir / "Skerry.ini"),
              "[GoodData]\r\nRed=1\r\nGreen=2\r\nBlue=3\r\n"
              "[DeletedData]\r\nRed=255\r\nGreen=0\r\nBlue=0\r\n");
}

} // namespace
} // namespace skerry
