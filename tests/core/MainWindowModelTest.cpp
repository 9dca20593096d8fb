#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CommandTest.h"

namespace skerry {
namespace {

using test::readBytes;

const std::string scanText = "Cell 1\r\n"
                             "R 1 20.0 42000 1234 1.234E+10 280 1\r\n"
                             "   5.9000  1.00000E-01   -5.00000E-03\r\n"
                             "   6.0000  2.00000E-01    1.00000E-02\r\n"
                             "   6.1000  3.00000E-01   -1.00000E-02\r\n"
                             "   6.2000  4.00000E-01    1.00000E-02\r\n"
                             "   6.3000  5.00000E-01   -2.00000E-02\r\n";

const std::string pad(const std::string& text) {
    return text + std::string(96 - text.size(), ' ');
}

const std::string expectedComments =
    pad("Cell 1") + "\r\n" + pad("R 1 20.0 42000 1234 1.234E+10 280 1") + "\r\n";
const std::string line1 = "   5.90000    1.00000E-01   -5.000E-03\r\n";
const std::string line2 = "   6.00000    2.00000E-01    1.000E-02\r\n";
const std::string line3 = "   6.10000    3.00000E-01   -1.000E-02\r\n";
const std::string line4 = "   6.20000    4.00000E-01    1.000E-02\r\n";
const std::string line5 = "   6.30000    5.00000E-01   -2.000E-02\r\n";
const std::string expectedListing = expectedComments + line1 + line2 + line3 + line4 + line5;

class MainWindowModelTest : public test::CommandTest {
protected:
    MainWindowModelTest() { scan = dir.write("scan.RA1", scanText); }

    std::filesystem::path scan;
};

TEST_F(MainWindowModelTest, StartsWithOnlyFileAndColoursUsable) {
    const MainWindowState& s = model.state();
    EXPECT_TRUE(s.GetNewData.enabled);
    EXPECT_TRUE(s.UseFitFile.enabled);
    EXPECT_FALSE(s.GetBlankData.enabled);
    EXPECT_FALSE(s.ClearBlank.enabled);
    EXPECT_FALSE(s.FilesLoaded.visible);
    EXPECT_FALSE(s.EditMenuChoice.enabled);
    EXPECT_FALSE(s.SaveDataFile.enabled);
    EXPECT_TRUE(s.AddNoise.enabled && s.AddNoise.visible);
    EXPECT_FALSE(s.BackItOff.enabled || s.BackItOff.visible);
    EXPECT_TRUE(s.SetColors.enabled);
    EXPECT_EQ(s.DSNames[0].caption, "1");
    EXPECT_EQ(s.DSNames[1].caption, "2: ");
    EXPECT_EQ(s.DSNames[14].caption, "15: ");
    for (const auto& entry : s.DSNames) {
        EXPECT_FALSE(entry.enabled || entry.checked);
    }
    EXPECT_EQ(s.tabCaptions[0], "Data File");
    EXPECT_EQ(s.tabCaptions[1], "Blank File");
    EXPECT_EQ(s.tabCaptions[2], "Edited Data File");
}

TEST_F(MainWindowModelTest, GetDataCancelledThenSaveTruncatedWritesAnEmptyFile) {
    platform.answerDialog(std::nullopt);
    model.GetNewData_Click();

    EXPECT_TRUE(model.state().EditMenuChoice.enabled);
    EXPECT_TRUE(model.state().SaveDataFile.enabled);
    EXPECT_FALSE(model.state().GetBlankData.enabled);
    EXPECT_EQ(readBytes(dir / "~skerry.tmp"), "");
    EXPECT_TRUE(std::filesystem::exists(dir / "~skerry.tmp"));
    EXPECT_EQ(model.state().panes[2].text, "");

    platform.answerDialog((dir / "out.dat").string());
    model.SaveTruncated_Click();
    EXPECT_TRUE(std::filesystem::exists(dir / "out.dat"));
    EXPECT_EQ(readBytes(dir / "out.dat"), "");
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(platform.endedWith);
}

TEST_F(MainWindowModelTest, GetDataLoadsListsAndUnlocksTheMenus) {
    platform.answerDialog(scan.string());
    model.GetNewData_Click();

    ASSERT_EQ(platform.dialogs.size(), 1u);
    const auto& request = platform.dialogs[0].request;
    EXPECT_FALSE(platform.dialogs[0].save);
    EXPECT_EQ(request.title, "Get Data File");
    EXPECT_EQ(request.filter, "Data File | *.*");
    EXPECT_EQ(request.flags, 0x1800u);
    EXPECT_EQ(request.initialName, "");

    const DataSet& data = model.data();
    EXPECT_EQ(data.PointCount, 5);
    EXPECT_EQ(data.CommentCount, 2);
    EXPECT_EQ(data.DataFileName, scan.string());
    EXPECT_EQ(data.FirstGoodIndex, 2);
    EXPECT_EQ(data.LastGoodIndex, 4);
    EXPECT_EQ(data.FirstGoodX, 6.0f);
    EXPECT_EQ(data.LastGoodX, 6.2f);
    EXPECT_TRUE(data.XIsRadius);

    EXPECT_EQ(model.state().panes[0].text, scanText);
    EXPECT_EQ(model.state().panes[2].text, expectedListing);
    EXPECT_EQ(readBytes(dir / "~skerry.tmp"), expectedListing);
    EXPECT_EQ(model.state().tabCaptions[0], captionFromPath(scan.string()));
    EXPECT_TRUE(model.state().GetBlankData.enabled);
    EXPECT_TRUE(model.state().EditMenuChoice.enabled);
    EXPECT_TRUE(model.state().SaveDataFile.enabled);
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(MainWindowModelTest, TheFourSavesWriteTheirBytes) {
    platform.answerDialog(scan.string());
    model.GetNewData_Click();

    struct Save {
        void (MainWindowModel::*handler)();
        const char* name;
        std::string bytes;
    };
    const Save saves[] = {
        {&MainWindowModel::SaveComplete_Click, "complete.dat", expectedListing},
        {&MainWindowModel::SaveCompleteRSq_Click, "complete-xi.dat",
         expectedComments + "  17.40500    1.00000E-01   -5.000E-03\r\n"
                            "  18.00000    2.00000E-01    1.000E-02\r\n"
                            "  18.60500    3.00000E-01   -1.000E-02\r\n"
                            "  19.22000    4.00000E-01    1.000E-02\r\n"
                            "  19.84500    5.00000E-01   -2.000E-02\r\n"},
        {&MainWindowModel::SaveTruncated_Click, "truncated.dat",
         expectedComments + line2 + line3 + line4},
        {&MainWindowModel::SaveTruncatedRSq_Click, "truncated-xi.dat",
         expectedComments + "  18.00000    2.00000E-01    1.000E-02\r\n"
                            "  18.60500    3.00000E-01   -1.000E-02\r\n"
                            "  19.22000    4.00000E-01    1.000E-02\r\n"},
    };
    for (const auto& save : saves) {
        SCOPED_TRACE(save.name);
        platform.answerDialog((dir / save.name).string());
        (model.*save.handler)();
        EXPECT_EQ(readBytes(dir / save.name), save.bytes);
        const auto& request = platform.dialogs.back();
        EXPECT_TRUE(request.save);
        EXPECT_EQ(request.request.title, "Edited DataSet Name");
        EXPECT_EQ(request.request.filter, "New Data File | *.*");
        EXPECT_EQ(request.request.flags, 0x2002u);
    }
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(model.state().panes[2].text, expectedListing); // Save changes nothing else
}

TEST_F(MainWindowModelTest, CancellingTheSaveWritesNothing) {
    platform.answerDialog(scan.string());
    model.GetNewData_Click();
    platform.answerDialog(std::nullopt);
    model.SaveComplete_Click();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(platform.endedWith);
}

TEST_F(MainWindowModelTest, AFailedSaveEndsTheProgramAndKeepsTheOldFile) {
    platform.answerDialog(scan.string());
    model.GetNewData_Click();
    const auto existing = dir.write("existing.dat", "old bytes");
    std::filesystem::create_directory(dir / "folder.dat");

    for (const auto& target : {std::string("/dev/full"), (dir / "folder.dat").string(),
                               (dir / "no-such-folder" / "x.dat").string()}) {
        SCOPED_TRACE(target);
        platform.messages.clear();
        platform.endedWith.reset();
        platform.answerDialog(target);
        model.SaveComplete_Click();
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, "Error in SaveEditedFile!  Program Ending!");
        EXPECT_EQ(platform.messages[0].title, "Output File Error");
        EXPECT_EQ(platform.messages[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(platform.endedWith, 1);
    }
    EXPECT_EQ(readBytes(existing), "old bytes");
}

TEST_F(MainWindowModelTest, ARefusedFileIsReportedAndChangesNothing) {
    platform.answerDialog(scan.string());
    model.GetNewData_Click();
    const std::uint64_t dataPaneRevision = model.state().panes[0].revision;

    std::filesystem::create_directory(dir / "other");
    const auto bad = dir.write("other/bad.dat", "6.0 1 1\nnot a number\n");
    platform.answerDialog(bad.string());
    model.GetNewData_Click();

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              "The data file " + bad.string() +
                  " was not read: line 2 is not a data line (two or three numbers expected).");
    EXPECT_EQ(platform.messages[0].title, "Data File Error");
    EXPECT_EQ(model.data().DataFileName, scan.string());
    EXPECT_EQ(model.data().PointCount, 5);
    EXPECT_EQ(model.state().panes[0].revision, dataPaneRevision);
    EXPECT_EQ(model.state().panes[2].text, expectedListing);
    // The dialog's folder change is undone: the listing stays where it was.
    EXPECT_EQ(std::filesystem::current_path(), dir.path());
    EXPECT_FALSE(std::filesystem::exists(dir / "other" / "~skerry.tmp"));
}

TEST_F(MainWindowModelTest, TheListingFollowsTheFolderOfTheLastDialog) {
    std::filesystem::create_directory(dir / "scans");
    const auto moved = dir.write("scans/a.RA1", scanText);
    platform.answerDialog(moved.string());
    model.GetNewData_Click();
    EXPECT_EQ(std::filesystem::current_path(), dir / "scans");
    EXPECT_EQ(model.data().WorkDir, (dir / "scans").string() + "/");
    EXPECT_EQ(readBytes(dir / "scans" / "~skerry.tmp"), expectedListing);
}

TEST_F(MainWindowModelTest, AnUnwritableListingIsReportedButShown) {
    // A folder where the listing file should be makes it impossible to write.
    std::filesystem::create_directory(dir / "~skerry.tmp");
    platform.answerDialog(scan.string());
    model.GetNewData_Click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].title, "Listing File Error");
    EXPECT_EQ(platform.messages[0].text, "The listing file " + dir.path().string() +
                                             "/~skerry.tmp could not be written: is a folder, "
                                             "not a file.");
    EXPECT_EQ(model.state().panes[2].text, expectedListing);
}

TEST_F(MainWindowModelTest, ClosingAsksAndWritesTheColoursOnYes) {
    program->GoodColor = {1, 2, 3};
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
