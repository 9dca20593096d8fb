#include <gtest/gtest.h>

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "CommandTest.h"
#include "skerry/batch/BatchRun.h"
#include "skerry/operations/Noise.h"

namespace skerry {
namespace {

using test::readBytes;
const auto pad = test::padded;

// A scan and a blank on a grid shifted by half a step: the blank's reading is interpolated
// at 6.0 and taken from its nearer end at 5.9 and 6.1.
const std::string scanText = "cell 1\n5.9 1.0 0.01\n6.0 1.0 -0.02\n6.1 1.0 0.03\n";
const std::string blankText = "buffer\r\n5.95 0.1 0.003\r\n6.05 0.3 0.003\r\n";

const std::string rawListing = pad("cell 1") + "   5.90000    1.00000E+00    1.000E-02\r\n"
                                               "   6.00000    1.00000E+00   -2.000E-02\r\n"
                                               "   6.10000    1.00000E+00    3.000E-02\r\n";
// Get Blank lists with two blanks before the third value.
const std::string blankListing = pad("cell 1") + "   5.90000    9.00000E-01   1.000E-02\r\n"
                                                 "   6.00000    8.00000E-01  -2.000E-02\r\n"
                                                 "   6.10000    7.00000E-01   3.000E-02\r\n";
const std::string correctedListing = pad("cell 1") + "   5.90000    9.00000E-01    1.000E-02\r\n"
                                                     "   6.00000    8.00000E-01   -2.000E-02\r\n"
                                                     "   6.10000    7.00000E-01    3.000E-02\r\n";

// Radii from 5.8 to 7.2 cm; point 4 is deleted in the file.
const std::string scan3Text =
    "cell 3\n5.8 0.10 0.01\n5.9 0.20 0.02\n6.0 0.30 0.03\n6.4 0.40 -0.04\n"
    "6.8 0.50 0.05\n7.0 0.60 0.06\n7.1 0.70 0.07\n7.2 0.80 0.08\n";
// Re-opened with the XI limits 18 and 24.5 (6.0 and 7.0 cm) and point 5 listed as deleted.
const std::string scan3Lines[] = {
    "   5.80000    1.00000E-01   -1.000E-02\r\n", "   5.90000    2.00000E-01   -2.000E-02\r\n",
    "   6.00000    3.00000E-01    3.000E-02\r\n", "   6.40000    4.00000E-01   -4.000E-02\r\n",
    "   6.80000    5.00000E-01   -5.000E-02\r\n", "   7.00000    6.00000E-01    6.000E-02\r\n",
    "   7.10000    7.00000E-01   -7.000E-02\r\n", "   7.20000    8.00000E-01   -8.000E-02\r\n",
};
const std::string scan3Listing = pad("cell 3") + scan3Lines[0] + scan3Lines[1] + scan3Lines[2] +
                                 scan3Lines[3] + scan3Lines[4] + scan3Lines[5] + scan3Lines[6] +
                                 scan3Lines[7];
// Save Truncated after re-opening: points 3 to 6.
const std::string scan3Truncated =
    pad("cell 3") + scan3Lines[2] + scan3Lines[3] + scan3Lines[4] + scan3Lines[5];

// Entry 2 is missing: the submenu shows entries 1 and 3 as its first two.
const std::string fitText = "[FileCount]\r\nnumber=3\r\n"
                            "[File01]\r\nname=scan1.dat\r\nXI_low=0\r\nXI_high=99\r\n"
                            "[File02]\r\nname=gone.dat\r\n"
                            "[File03]\r\nname=scan3.dat\r\nXI_low=18\r\nXI_high=24.5\r\n"
                            "number_deleted=1\r\ndel_pts001=0005\r\n";
const std::string missingSome =
    "Not All of the Data Files Were Found!  Continue Editing Good Files.";

class BlankAndFitCommandsTest : public test::CommandTest {
protected:
    BlankAndFitCommandsTest() {
        scan = dir.write("scan.dat", scanText).string();
        blankFile = dir.write("blank.dat", blankText).string();
        std::filesystem::create_directory(dir / "runs");
        dir.write("runs/scan1.dat", scanText);
        dir.write("runs/scan3.dat", scan3Text);
        fit = dir.write("runs/run.fit", fitText).string();
    }

    void getBlank(std::optional<std::string> path) {
        platform.answerDialog(std::move(path));
        model.GetBlankData_Click();
    }
    void useFitFile(const std::string& path) {
        platform.answerDialog(path);
        model.UseFitFile_Click();
    }
    void addNoise() {
        windows.noiseDialog = [](NoiseDialogModel& dialog) {
            dialog.IsDone_Click("0.5");
        };
        model.AddNoise_Click();
        ASSERT_TRUE(state().BackItOff.visible);
    }

    // After a blank or a re-opening, the noise added before is gone with the old readings.
    void expectNoiseOffered() const {
        EXPECT_TRUE(state().AddNoise.enabled && state().AddNoise.visible);
        EXPECT_FALSE(state().BackItOff.enabled || state().BackItOff.visible);
        EXPECT_FALSE(data().NoiseAdded);
    }

    std::string scan;
    std::string blankFile;
    std::string fit;
};

TEST_F(BlankAndFitCommandsTest, GetBlankListsWithTwoBlanksAndClearBlankGoesBack) {
    getData(scan);
    addNoise();
    getBlank(blankFile);
    const FileDialogRequest& request = platform.dialogs.at(1).request;
    EXPECT_EQ(request.title, "Get Blank File");
    EXPECT_EQ(request.filter, "Blank File | *.*");
    EXPECT_EQ(request.flags, 0x1800u);
    EXPECT_EQ(listing(), blankListing);
    EXPECT_EQ(readBytes(dir / "~skerry.tmp"), blankListing);
    EXPECT_EQ(state().panes[MainWindowState::BlankTab].text, blankText);
    EXPECT_TRUE(state().ClearBlank.enabled);
    expectNoiseOffered();
    // Every later Get Data applies the blank again, in the ordinary listing form.
    getData(scan);
    EXPECT_EQ(listing(), correctedListing);

    addNoise();
    model.ClearBlank_Click();
    EXPECT_EQ(listing(), rawListing);
    EXPECT_EQ(readBytes(dir / "~skerry.tmp"), rawListing);
    EXPECT_EQ(state().panes[MainWindowState::BlankTab].text, " ");
    EXPECT_EQ(state().tabCaptions[MainWindowState::BlankTab], "Blank File");
    EXPECT_FALSE(state().ClearBlank.enabled);
    expectNoiseOffered();
    getData(scan);
    EXPECT_EQ(listing(), rawListing);
}

// A cancelled or refused Get Blank keeps what was in force: no blank, or the blank loaded.
TEST_F(BlankAndFitCommandsTest, CancellingOrARefusedBlankKeepsWhatWasInForce) {
    getData(scan);
    dir.write("~skerry.tmp", "untouched");
    getBlank(std::nullopt);
    EXPECT_EQ(readBytes(dir / "~skerry.tmp"), "untouched");
    EXPECT_FALSE(state().ClearBlank.enabled);

    getBlank(blankFile);
    // Changes held only in the working points are not carried over.
    program->data.WorkPoints(2).third = 0.02f;
    addNoise();
    getBlank(std::nullopt);
    EXPECT_EQ(listing(), blankListing);
    EXPECT_TRUE(state().ClearBlank.enabled);
    expectNoiseOffered();

    const auto bad = dir.write("bad.dat", "no numbers here\n");
    getBlank(bad.string());
    EXPECT_EQ(platform.messageTexts(),
              std::vector<std::string>{"The blank file " + bad.string() +
                                       " was not read: it holds no data points."});
    EXPECT_EQ(platform.messages[0].title, "Blank File Error");
    EXPECT_EQ(state().panes[MainWindowState::BlankTab].text, blankText);
    EXPECT_EQ(listing(), blankListing);
}

TEST_F(BlankAndFitCommandsTest, AFitFileFillsTheSubmenuAndOpensItsFirstDataSet) {
    useFitFile(fit);

    const FileDialogRequest& request = platform.dialogs.at(0).request;
    EXPECT_EQ(request.title, "Fit-File Name");
    EXPECT_EQ(request.filter, "Fit-File | *.*");
    EXPECT_EQ(request.flags, 0x1000u);
    EXPECT_EQ(request.initialName, "*.*");
    EXPECT_EQ(platform.messageTexts(), std::vector<std::string>{missingSome});
    EXPECT_EQ(platform.messages[0].title, "Data Files Missing!");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Exclamation);

    EXPECT_TRUE(state().FilesLoaded.visible);
    EXPECT_EQ(state().DSNames[0].caption, "scan1.dat");
    EXPECT_EQ(state().DSNames[1].caption, "scan3.dat");
    for (std::size_t i = 0; i < 15; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(state().DSNames[i].enabled, i < 2);
        EXPECT_EQ(state().DSNames[i].visible, i < 2);
        EXPECT_EQ(state().DSNames[i].checked, i == 0);
    }
    EXPECT_EQ(listing(), rawListing);
    EXPECT_EQ(readBytes(dir / "runs" / "~skerry.tmp"), rawListing);
    EXPECT_TRUE(state().GetBlankData.enabled && state().EditMenuChoice.enabled &&
                state().SaveDataFile.enabled);

    // The second entry is the fit file's third data set, with that section's limits.
    model.DSNames_Click(1);
    EXPECT_EQ(listing(), scan3Listing);
    EXPECT_EQ(data().DataFileName, "scan3.dat");
    EXPECT_EQ(state().panes[MainWindowState::DataTab].text, scan3Text);
    EXPECT_FALSE(state().DSNames[0].checked);
    EXPECT_TRUE(state().DSNames[1].checked);
    platform.answerDialog((dir / "truncated.dat").string());
    model.SaveTruncated_Click();
    EXPECT_EQ(readBytes(dir / "truncated.dat"), scan3Truncated);
}

TEST_F(BlankAndFitCommandsTest, ReopeningClearsALoadedBlankAndClearBlankKeepsTheFitsMarks) {
    getData(scan);
    getBlank(blankFile);
    addNoise();
    useFitFile(fit);
    model.DSNames_Click(1);

    EXPECT_FALSE(data().BlankLoaded);
    EXPECT_EQ(state().panes[MainWindowState::BlankTab].text, " ");
    EXPECT_FALSE(state().ClearBlank.enabled);
    expectNoiseOffered();
    EXPECT_EQ(listing(), scan3Listing);

    // A blank on the re-opened data set, then Clear Blank: the fit's marks are part of the raw
    // points, while a mark made only in the working points is gone.
    getBlank(blankFile);
    program->data.WorkPoints(3).third = -0.03f;
    model.ClearBlank_Click();
    EXPECT_EQ(listing(), scan3Listing);
}

// Names in the fit file that are not full paths stay bound to the fit file's folder, also after
// another dialog has moved the current directory; each re-opening reads the file again.
TEST_F(BlankAndFitCommandsTest, ReopeningReadsTheDataFileInTheFitFilesFolderAgain) {
    useFitFile(fit);
    EXPECT_EQ(std::filesystem::current_path(), dir / "runs");
    getData(scan);
    EXPECT_FALSE(state().FilesLoaded.visible);
    model.DSNames_Click(1);
    EXPECT_EQ(listing(), scan3Listing);
    EXPECT_EQ(readBytes(dir / "~skerry.tmp"), scan3Listing);

    const std::string again = pad("cell 3 again") + "   7.00000    5.00000E-01    1.000E-02\r\n";
    dir.write("runs/scan3.dat", "cell 3 again\n7.0 0.5 0.01\n");
    model.DSNames_Click(1);
    EXPECT_EQ(listing(), again);

    // A data file that has gone is reported; the open data set stays, shown with no checkmark.
    std::filesystem::remove(dir / "runs" / "scan1.dat");
    platform.messages.clear();
    model.DSNames_Click(0);
    EXPECT_EQ(platform.messageTexts(),
              std::vector<std::string>{"The data file " + (dir / "runs" / "scan1.dat").string() +
                                       " was not read: No such file or directory."});
    EXPECT_EQ(listing(), again);
    EXPECT_FALSE(state().DSNames[0].checked);
    EXPECT_FALSE(state().DSNames[1].checked);
}

// --- skerry-batch --fit, --entry and --blank ------------------------------------------------

struct BatchResult {
    int status;
    std::string out;
    std::string err;
};

// Runs skerry-batch with the words of `args`, split at blanks.
BatchResult batch(const std::string& args) {
    std::istringstream words(args);
    std::ostringstream out;
    std::ostringstream err;
    const int status = runBatch({std::istream_iterator<std::string>(words), {}}, out, err);
    return {status, out.str(), err.str()};
}

TEST_F(BlankAndFitCommandsTest, BatchReopensFitEntriesAndAppliesABlank) {
    // The fit file's names are found beside it, wherever the run starts.
    std::filesystem::create_directory(dir / "elsewhere");
    test::CurrentDirectoryGuard elsewhere(dir / "elsewhere");
    const std::string unusable = dir.write("runs/unusable.fit", "[FileCount]\nnumber=0\n");
    const std::string beyond = dir.write("runs/beyond.fit", "[FileCount]\nnumber=32768\n");
    const std::string bad = dir.write("bad.dat", "no numbers here\n");
    const std::string warning = "skerry-batch: " + fit + ": warning: " + missingSome + "\n";
    struct Case {
        std::string args;
        std::string out;
        std::string err; // the run failed when `out` is empty
    };
    const Case cases[] = {
        // Entry 2 is the fit file's third data set, with its stored limits.
        {"--fit " + fit + " --entry 2 --listing", scan3Listing, warning},
        {"--fit " + fit + " --entry 2 --truncated", scan3Truncated, warning},
        {"--listing --fit " + fit, rawListing, warning},
        // A blank after re-opening or on a data file; the listing keeps three blanks.
        {"--fit " + fit + " --blank " + blankFile + " --listing", correctedListing, warning},
        {"--blank " + blankFile + " " + scan, correctedListing, ""},
        {"--fit " + unusable, "",
         "skerry-batch: " + unusable +
             ": Error Reading FileCount::number!  Fit-File List "
             "Unusable.\n"},
        {"--fit " + beyond, "",
         "skerry-batch: " + beyond + ": FileCount::number is 32768, outside -32768..32767\n"},
        {"--fit " + fit + " --entry 3", "",
         warning + "skerry-batch: " + fit +
             ": no data set 3, only 2 of the listed data files exist\n"},
        {"--blank " + bad + " " + scan, "", "skerry-batch: " + bad + ": it holds no data points\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const BatchResult result = batch(c.args);
        EXPECT_EQ(result.status, c.out.empty() ? BatchFailed : BatchOk);
        EXPECT_EQ(result.err, c.err);
        EXPECT_EQ(result.out, c.out);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere" / "~skerry.tmp"));
}

// --entry all writes each data set under its own name into the -o folder. Where that would
// clash, it is refused before anything is written: the folder stays empty, the inputs unchanged.
TEST_F(BlankAndFitCommandsTest, BatchWritesEveryEntryUnderItsOwnNameUnlessItWouldClash) {
    std::filesystem::create_directories(dir / "out");
    std::filesystem::create_directories(dir / "a");
    std::filesystem::create_directories(dir / "b");
    dir.write("a/same.dat", scanText);
    dir.write("b/same.dat", scan3Text);
    const std::string shared =
        dir.write("shared.fit", "[FileCount]\nnumber=2\n[File01]\n"
                                "name=a/same.dat\n[File02]\nname=b\\same.dat\n");
    const std::string blankCopy = dir.write("scan1.dat", blankText);
    const std::string out = (dir / "out").string();
    const std::string runs = (dir / "runs").string();
    const std::string warning = "skerry-batch: " + fit + ": warning: " + missingSome + "\n";
    const std::string overwritten = ": is an input and would be overwritten\n";
    struct Case {
        std::string args;
        std::string err;
    };
    const Case cases[] = {
        {"--fit " + shared + " --entry all -o " + out,
         "skerry-batch: data sets 1 and 2 would both be written to " + out + "/same.dat\n"},
        {"--fit " + fit + " --entry all -o " + runs,
         warning + "skerry-batch: " + runs + "/scan1.dat" + overwritten},
        {"--fit " + fit + " --entry all -o " + dir.path().string() + " --blank " + blankCopy,
         warning + "skerry-batch: " + blankCopy + overwritten},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const BatchResult result = batch(c.args);
        EXPECT_EQ(result.status, BatchFailed);
        EXPECT_EQ(result.err, c.err);
        EXPECT_TRUE(std::filesystem::is_empty(dir / "out"));
    }
    EXPECT_EQ(readBytes(dir / "runs" / "scan1.dat"), scanText);
    EXPECT_EQ(readBytes(dir / "a" / "same.dat"), scanText);
    EXPECT_EQ(readBytes(blankCopy), blankText);
    EXPECT_FALSE(std::filesystem::exists(dir / "scan3.dat"));

    const BatchResult result = batch("--fit " + fit + " --entry all -o " + out);
    EXPECT_EQ(result.status, BatchOk);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(readBytes(dir / "out" / "scan1.dat"), rawListing);
    EXPECT_EQ(readBytes(dir / "out" / "scan3.dat"), scan3Listing);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "out"), {}), 2);
}

} // namespace
} // namespace skerry
