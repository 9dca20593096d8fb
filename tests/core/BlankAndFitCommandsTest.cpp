#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "skerry/batch/BatchRun.h"
#include "skerry/operations/Noise.h"

#include "CommandTest.h"

namespace skerry {
namespace {

using test::readBytes;

std::string pad(const std::string& text) {
    return text + std::string(96 - text.size(), ' ') + "\r\n";
}

// A scan and a blank on a grid shifted by half a step: the blank's reading is interpolated
// at 6.0 and taken from its nearer end at 5.9 and 6.1.
const std::string scanText = "cell 1\n"
                             "5.9 1.0 0.01\n"
                             "6.0 1.0 -0.02\n"
                             "6.1 1.0 0.03\n";
const std::string blankText = "buffer\r\n"
                              "5.95 0.1 0.003\r\n"
                              "6.05 0.3 0.003\r\n";

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
const std::string scan3Text = "cell 3\n"
                              "5.8 0.10 0.01\n"
                              "5.9 0.20 0.02\n"
                              "6.0 0.30 0.03\n"
                              "6.4 0.40 -0.04\n"
                              "6.8 0.50 0.05\n"
                              "7.0 0.60 0.06\n"
                              "7.1 0.70 0.07\n"
                              "7.2 0.80 0.08\n";
// Re-opened with the XI limits 18 and 24.5 (6.0 and 7.0 cm) and point 5 listed as deleted.
const std::string scan3Lines[] = {
    "   5.80000    1.00000E-01   -1.000E-02\r\n", "   5.90000    2.00000E-01   -2.000E-02\r\n",
    "   6.00000    3.00000E-01    3.000E-02\r\n", "   6.40000    4.00000E-01   -4.000E-02\r\n",
    "   6.80000    5.00000E-01   -5.000E-02\r\n", "   7.00000    6.00000E-01    6.000E-02\r\n",
    "   7.10000    7.00000E-01   -7.000E-02\r\n", "   7.20000    8.00000E-01   -8.000E-02\r\n",
};
std::string scan3Listing() {
    std::string text = pad("cell 3");
    for (const auto& line : scan3Lines) {
        text += line;
    }
    return text;
}

// Entry 2 is missing: the submenu shows entries 1 and 3 as its first two.
const std::string fitText = "[FileCount]\r\n"
                            "number=3\r\n"
                            "[File01]\r\n"
                            "name=scan1.dat\r\n"
                            "XI_low=0\r\n"
                            "XI_high=99\r\n"
                            "[File02]\r\n"
                            "name=gone.dat\r\n"
                            "[File03]\r\n"
                            "name=scan3.dat\r\n"
                            "XI_low=18\r\n"
                            "XI_high=24.5\r\n"
                            "number_deleted=1\r\n"
                            "del_pts001=0005\r\n";

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

    void expectNoiseOffered() const {
        EXPECT_TRUE(state().AddNoise.enabled && state().AddNoise.visible);
        EXPECT_FALSE(state().BackItOff.enabled || state().BackItOff.visible);
        EXPECT_FALSE(model.data().NoiseAdded);
    }

    std::string scan;
    std::string blankFile;
    std::string fit;
};

TEST_F(BlankAndFitCommandsTest, GetBlankCorrectsAndListsWithTwoBlanks) {
    getData(scan);
    addNoise();
    getBlank(blankFile);

    ASSERT_EQ(platform.dialogs.size(), 2u);
    const FileDialogRequest& request = platform.dialogs[1].request;
    EXPECT_EQ(request.title, "Get Blank File");
    EXPECT_EQ(request.filter, "Blank File | *.*");
    EXPECT_EQ(request.flags, 0x1800u);
    EXPECT_EQ(request.initialName, "");

    EXPECT_EQ(listing(), blankListing);
    EXPECT_EQ(readBytes(dir / "~skerry.tmp"), blankListing);
    EXPECT_EQ(state().panes[MainWindowState::BlankTab].text, blankText);
    EXPECT_EQ(state().panes[MainWindowState::DataTab].text, scanText);
    EXPECT_EQ(state().tabCaptions[MainWindowState::DataTab], captionFromPath(scan));
    EXPECT_EQ(state().tabCaptions[MainWindowState::BlankTab], captionFromPath(blankFile));
    EXPECT_TRUE(state().ClearBlank.enabled);
    expectNoiseOffered();
    EXPECT_TRUE(model.data().BlankLoaded);
    EXPECT_EQ(model.data().DataFileName, blankFile);
    EXPECT_EQ(model.data().BlankCount, 2);
    EXPECT_EQ(model.data().BlankCommentCount, 1);

    // Every later Get Data applies the blank again, in the ordinary listing form.
    getData(scan);
    EXPECT_EQ(listing(), correctedListing);
}

TEST_F(BlankAndFitCommandsTest, ClearBlankGoesBackToTheRawPoints) {
    getData(scan);
    getBlank(blankFile);
    addNoise();
    model.ClearBlank_Click();

    EXPECT_EQ(listing(), rawListing);
    EXPECT_EQ(readBytes(dir / "~skerry.tmp"), rawListing);
    EXPECT_EQ(state().panes[MainWindowState::BlankTab].text, " ");
    EXPECT_EQ(state().tabCaptions[MainWindowState::BlankTab], "Blank File");
    EXPECT_FALSE(state().ClearBlank.enabled);
    expectNoiseOffered();
    EXPECT_FALSE(model.data().BlankLoaded);
    EXPECT_EQ(model.data().BlankCount, 0);
    EXPECT_EQ(model.data().BlankCommentCount, 0);
    EXPECT_EQ(model.data().BlankCommentBlock.line(1), std::string(96, ' '));

    getData(scan);
    EXPECT_EQ(listing(), rawListing);
}

TEST_F(BlankAndFitCommandsTest, CancellingGetBlankReappliesOnlyALoadedBlank) {
    getData(scan);
    const std::uint64_t revision = state().panes[MainWindowState::EditedTab].revision;
    dir.write("~skerry.tmp", "untouched");
    getBlank(std::nullopt);
    EXPECT_EQ(state().panes[MainWindowState::EditedTab].revision, revision);
    EXPECT_EQ(readBytes(dir / "~skerry.tmp"), "untouched");
    EXPECT_FALSE(state().ClearBlank.enabled);
    EXPECT_FALSE(model.data().BlankLoaded);

    getBlank(blankFile);
    // Changes held only in the working points are not carried over.
    program->data.WorkPoints(2).third = 0.02f;
    addNoise();
    getBlank(std::nullopt);
    EXPECT_EQ(listing(), blankListing);
    EXPECT_TRUE(state().ClearBlank.enabled);
    expectNoiseOffered();
}

TEST_F(BlankAndFitCommandsTest, ARefusedBlankFileIsReportedAndKeepsTheBlankInForce) {
    getData(scan);
    getBlank(blankFile);
    std::filesystem::create_directory(dir / "other");
    const auto bad = dir.write("other/bad.dat", "no numbers here\n");
    getBlank(bad.string());

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              "The blank file " + bad.string() + " was not read: it holds no data points.");
    EXPECT_EQ(platform.messages[0].title, "Blank File Error");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(model.data().DataFileName, blankFile);
    EXPECT_EQ(state().panes[MainWindowState::BlankTab].text, blankText);
    EXPECT_EQ(listing(), blankListing);
    EXPECT_EQ(std::filesystem::current_path(), dir.path());
}

TEST_F(BlankAndFitCommandsTest, AFitFileFillsTheSubmenuAndOpensItsFirstDataSet) {
    useFitFile(fit);

    ASSERT_EQ(platform.dialogs.size(), 1u);
    const FileDialogRequest& request = platform.dialogs[0].request;
    EXPECT_EQ(request.title, "Fit-File Name");
    EXPECT_EQ(request.filter, "Fit-File | *.*");
    EXPECT_EQ(request.flags, 0x1000u);
    EXPECT_EQ(request.initialName, "*.*");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              "Not All of the Data Files Were Found!  Continue Editing Good Files.");
    EXPECT_EQ(platform.messages[0].title, "Data Files Missing!");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(platform.messages[0].buttons, MessageButtons::Ok);

    EXPECT_TRUE(state().FilesLoaded.visible);
    EXPECT_EQ(state().DSNames[0].caption, "scan1.dat");
    EXPECT_EQ(state().DSNames[1].caption, "scan3.dat");
    for (std::size_t i = 0; i < 15; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(state().DSNames[i].enabled, i < 2);
        EXPECT_EQ(state().DSNames[i].visible, i < 2);
        EXPECT_EQ(state().DSNames[i].checked, i == 0);
        if (i >= 2) {
            EXPECT_EQ(state().DSNames[i].caption, "");
        }
    }

    EXPECT_EQ(listing(), rawListing);
    EXPECT_EQ(readBytes(dir / "runs" / "~skerry.tmp"), rawListing);
    EXPECT_EQ(state().panes[MainWindowState::DataTab].text, scanText);
    EXPECT_EQ(state().tabCaptions[MainWindowState::DataTab], "scan1.dat");
    EXPECT_TRUE(state().GetBlankData.enabled);
    EXPECT_TRUE(state().EditMenuChoice.enabled);
    EXPECT_TRUE(state().SaveDataFile.enabled);
    expectNoiseOffered();

    // The second entry is the fit file's third data set, with that section's limits.
    model.DSNames_Click(1);
    EXPECT_EQ(listing(), scan3Listing());
    EXPECT_EQ(model.data().DataFileName, "scan3.dat");
    EXPECT_EQ(state().tabCaptions[MainWindowState::DataTab], "scan3.dat");
    EXPECT_EQ(state().panes[MainWindowState::DataTab].text, scan3Text);
    EXPECT_FALSE(state().DSNames[0].checked);
    EXPECT_TRUE(state().DSNames[1].checked);
    EXPECT_EQ(model.data().FirstGoodIndex, 3);
    EXPECT_EQ(model.data().LastGoodIndex, 6);
    EXPECT_EQ(model.data().FirstGoodX, 6.0f);
    EXPECT_EQ(model.data().LastGoodX, 7.0f);

    platform.answerDialog((dir / "truncated.dat").string());
    model.SaveTruncated_Click();
    EXPECT_EQ(readBytes(dir / "truncated.dat"),
              pad("cell 3") + scan3Lines[2] + scan3Lines[3] + scan3Lines[4] + scan3Lines[5]);
}

TEST_F(BlankAndFitCommandsTest, FifteenDataSetsAtMostWithCaptionsOfTheLast18Characters) {
    std::string text = "[FileCount]\nnumber=20\n";
    for (int n = 1; n <= 20; ++n) {
        // Names of 18, 19 and 17 characters in turn.
        const std::string name =
            std::string(static_cast<std::size_t>(15 + n % 3), static_cast<char>('a' + n)) + ".d";
        text +=
            "[File" + std::string(n < 10 ? "0" : "") + std::to_string(n) + "]\nname=" + name + "\n";
        if (n <= 15) {
            dir.write("runs/" + name, scanText);
        }
    }
    useFitFile(dir.write("runs/twenty.fit", text).string());

    EXPECT_EQ(platform.messageTexts(),
              std::vector<std::string>{
                  "Not All of the Data Files Were Found!  Continue Editing Good Files."});
    EXPECT_EQ(state().DSNames[0].caption, "bbbbbbbbbbbbbbbb.d");
    EXPECT_EQ(state().DSNames[1].caption, "...cccccccccccccccc.d");
    EXPECT_EQ(state().DSNames[2].caption, "ddddddddddddddd.d");
    EXPECT_EQ(state().DSNames[14].caption, "ppppppppppppppp.d");
    for (const MenuEntry& entry : state().DSNames) {
        EXPECT_TRUE(entry.enabled && entry.visible);
    }
    model.DSNames_Click(14);
    EXPECT_TRUE(state().DSNames[14].checked);
    EXPECT_EQ(model.data().DataFileName, "ppppppppppppppp.d");
}

// A refused fit file leaves the list in use and what its entries open as they were.
TEST_F(BlankAndFitCommandsTest, ARefusedFitFileKeepsTheListInUse) {
    useFitFile(fit);
    const auto entries = state().DSNames;
    struct Refusal {
        const char* name;
        std::optional<std::string> fitText; // nullopt: the dialog is cancelled
        std::vector<std::string> messages;
    };
    const Refusal refusals[] = {
        {"cancelled", std::nullopt, {}},
        {"no count",
         "[File01]\nname=scan1.dat\n",
         {"Error Reading FileCount::number!  Fit-File List Unusable."}},
        {"nothing found",
         "[FileCount]\nnumber=1\n[File01]\nname=x.dat\n",
         {"No Data Files Were Found!"}},
        {"count beyond 16 bits", "[FileCount]\nnumber=70000\n[File01]\nname=scan3.dat\n", {}},
        {"an existing data file at entry 16",
         "[FileCount]\nnumber=16\n[File01]\nname=scan3.dat\n[File16]\nname=scan1.dat\n",
         {}},
    };
    for (const auto& refusal : refusals) {
        SCOPED_TRACE(refusal.name);
        platform.messages.clear();
        std::optional<std::string> answer;
        if (refusal.fitText) {
            answer = dir.write("runs/bad.fit", *refusal.fitText).string();
        }
        platform.answerDialog(answer);
        model.UseFitFile_Click();
        EXPECT_EQ(platform.messageTexts(), refusal.messages);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(state().DSNames[i].caption, entries[i].caption);
            EXPECT_EQ(state().DSNames[i].visible, entries[i].visible);
            EXPECT_EQ(state().DSNames[i].checked, entries[i].checked);
        }
        model.DSNames_Click(1);
        EXPECT_EQ(listing(), scan3Listing());
        model.DSNames_Click(0);
        EXPECT_EQ(listing(), rawListing);
    }
}

TEST_F(BlankAndFitCommandsTest, ReopeningClearsALoadedBlankAndClearBlankKeepsTheFitsMarks) {
    getData(scan);
    getBlank(blankFile);
    addNoise();
    useFitFile(fit);
    model.DSNames_Click(1);

    EXPECT_FALSE(model.data().BlankLoaded);
    EXPECT_EQ(state().panes[MainWindowState::BlankTab].text, " ");
    EXPECT_EQ(state().tabCaptions[MainWindowState::BlankTab], "Blank File");
    EXPECT_FALSE(state().ClearBlank.enabled);
    expectNoiseOffered();
    EXPECT_EQ(listing(), scan3Listing());

    // A blank on the re-opened data set, then Clear Blank: the fit's marks are part of the raw
    // points, while a mark made only in the working points is gone.
    getBlank(blankFile);
    program->data.WorkPoints(3).third = -0.03f;
    model.ClearBlank_Click();
    EXPECT_EQ(listing(), scan3Listing());
}

TEST_F(BlankAndFitCommandsTest, ReopeningReadsTheDataFileAgain) {
    useFitFile(fit);
    model.DSNames_Click(1);
    dir.write("runs/scan3.dat", "cell 3 again\n7.0 0.5 0.01\n");
    model.DSNames_Click(1);
    EXPECT_EQ(listing(), pad("cell 3 again") + "   7.00000    5.00000E-01    1.000E-02\r\n");

    // A data file that has gone is reported; the open data set and its checkmark stay.
    std::filesystem::remove(dir / "runs" / "scan1.dat");
    model.DSNames_Click(0);
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text, "The data file " + (dir / "runs" / "scan1.dat").string() +
                                             " was not read: No such file or directory.");
    EXPECT_EQ(platform.messages[1].title, "Data File Error");
    EXPECT_EQ(listing(), pad("cell 3 again") + "   7.00000    5.00000E-01    1.000E-02\r\n");
    EXPECT_FALSE(state().DSNames[0].checked);
    EXPECT_TRUE(state().DSNames[1].checked);
}

// Names in the fit file that are not full paths stay bound to the fit file's folder, also after
// another dialog has moved the current directory.
TEST_F(BlankAndFitCommandsTest, RelativeNamesAreFoundInTheFitFilesFolder) {
    useFitFile(fit);
    EXPECT_EQ(std::filesystem::current_path(), dir / "runs");
    getData(scan);
    EXPECT_FALSE(state().FilesLoaded.visible);
    EXPECT_EQ(std::filesystem::current_path(), dir.path());
    model.DSNames_Click(1);
    EXPECT_EQ(listing(), scan3Listing());
    EXPECT_EQ(readBytes(dir / "~skerry.tmp"), scan3Listing());
}

using Args = std::vector<std::string>;

TEST(BatchFitArguments, ParsesTheBlankAndFitOptions) {
    struct Case {
        Args args;
        std::string error; // empty: accepted
    };
    const std::string entryError = "option --entry needs a data set number from 1 to 15 or 'all', ";
    const Case cases[] = {
        {{"--fit", "a.fit"}, ""},
        {{"--fit", "a.fit", "--entry", "15", "--blank", "b.dat"}, ""},
        {{"--fit=a.fit", "--entry=all", "-o", "out"}, ""},
        {{"--blank", "b.dat", "a.dat"}, ""},
        {{"--fit", "a.fit", "--entry", "0"}, entryError + "not '0'"},
        {{"--fit", "a.fit", "--entry", "16"}, entryError + "not '16'"},
        {{"--entry", "2", "a.dat"}, "option --entry needs --fit"},
        {{"--fit", "a.fit", "--entry", "all"}, "option --entry all needs -o DIR"},
        {{"--fit", "a.fit", "b.dat"}, "a data file and --fit both named"},
        {{"--blank", "b.dat"}, "no data file named"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const BatchArguments parsed = parseBatchArguments(c.args);
        EXPECT_EQ(parsed.options.has_value(), c.error.empty());
        EXPECT_EQ(parsed.error, c.error);
    }
    const auto last = parseBatchArguments({"--entry", "all", "--fit", "f", "--entry", "3"});
    ASSERT_TRUE(last.options);
    EXPECT_EQ(last.options->fitFile, "f");
    EXPECT_EQ(last.options->fitEntry, 3);
    EXPECT_FALSE(last.options->allFitEntries);
    EXPECT_EQ(parseBatchArguments({"--blank", "b", "a"}).options->blankFile, "b");
}

struct BatchResult {
    int status;
    std::string out;
    std::string err;
};

BatchResult batch(const Args& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runBatch(args, out, err);
    return {status, out.str(), err.str()};
}

TEST_F(BlankAndFitCommandsTest, BatchReopensFitEntriesAndAppliesABlank) {
    // The fit file's names are found beside it, wherever the run starts.
    std::filesystem::create_directory(dir / "elsewhere");
    test::CurrentDirectoryGuard elsewhere(dir / "elsewhere");
    const std::string warning = "skerry-batch: " + fit +
                                ": warning: Not All of the Data Files Were Found!  Continue "
                                "Editing Good Files.\n";
    struct Case {
        const char* name;
        Args args;
        std::string out;
    };
    const Case cases[] = {
        {"entry 2 is the fit file's third data set",
         {"--fit", fit, "--entry", "2", "--listing"},
         scan3Listing()},
        {"entry 1 when none is named", {"--listing", "--fit", fit}, rawListing},
        {"the retained range of the stored limits",
         {"--fit", fit, "--entry", "2", "--truncated"},
         pad("cell 3") + scan3Lines[2] + scan3Lines[3] + scan3Lines[4] + scan3Lines[5]},
        {"a blank after re-opening; the listing keeps three blanks",
         {"--fit", fit, "--blank", blankFile, "--listing"},
         correctedListing},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const BatchResult result = batch(c.args);
        EXPECT_EQ(result.status, BatchOk);
        EXPECT_EQ(result.err, warning);
        EXPECT_EQ(result.out, c.out);
    }
    const BatchResult blanked = batch({"--blank", blankFile, scan});
    EXPECT_EQ(blanked.status, BatchOk);
    EXPECT_EQ(blanked.err, "");
    EXPECT_EQ(blanked.out, correctedListing);
    EXPECT_FALSE(std::filesystem::exists(dir / "elsewhere" / "~skerry.tmp"));
}

TEST_F(BlankAndFitCommandsTest, BatchReportsWhatItCannotUse) {
    const auto unusable = dir.write("runs/unusable.fit", "[FileCount]\nnumber=0\n");
    const auto empty = dir.write("runs/empty.fit", "[FileCount]\nnumber=1\n[File01]\nname=x\n");
    const auto beyond = dir.write("runs/beyond.fit", "[FileCount]\nnumber=32768\n");
    const auto bad = dir.write("bad.dat", "no numbers here\n");
    const std::string missing = (dir / "missing.fit").string();
    std::string prefix = "skerry-batch: ";
    struct Case {
        const char* name;
        Args args;
        std::string err;
    };
    const Case cases[] = {
        {"an unusable count",
         {"--fit", unusable.string()},
         prefix + unusable.string() +
             ": Error Reading FileCount::number!  Fit-File List Unusable.\n"},
        {"no data file found",
         {"--fit", empty.string()},
         prefix + empty.string() + ": No Data Files Were Found!\n"},
        {"a count beyond 16 bits",
         {"--fit", beyond.string()},
         prefix + beyond.string() + ": FileCount::number is 32768, outside -32768..32767\n"},
        {"no fit file", {"--fit", missing}, prefix + missing + ": No such file or directory\n"},
        {"an entry beyond the existing data files",
         {"--fit", fit, "--entry", "3"},
         prefix + fit +
             ": warning: Not All of the Data Files Were Found!  Continue Editing Good Files.\n" +
             prefix + fit + ": no data set 3, only 2 of the listed data files exist\n"},
        {"a blank that cannot be read",
         {"--blank", bad.string(), scan},
         prefix + bad.string() + ": it holds no data points\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const BatchResult result = batch(c.args);
        EXPECT_EQ(result.status, BatchFailed);
        EXPECT_EQ(result.err, c.err);
        EXPECT_EQ(result.out, "");
    }
}

TEST_F(BlankAndFitCommandsTest, BatchWritesEveryEntryUnderItsOwnName) {
    std::filesystem::create_directory(dir / "out");
    const std::string out = (dir / "out").string();
    const BatchResult result = batch({"--fit", fit, "--entry", "all", "-o", out});
    EXPECT_EQ(result.status, BatchOk);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(readBytes(dir / "out" / "scan1.dat"), rawListing);
    EXPECT_EQ(readBytes(dir / "out" / "scan3.dat"), scan3Listing());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "out"), {}), 2);
}

// Refused before anything is written: the output folder stays empty, the inputs unchanged.
TEST_F(BlankAndFitCommandsTest, BatchRefusesToWriteEveryEntryWhereItWouldClash) {
    std::filesystem::create_directories(dir / "out");
    std::filesystem::create_directories(dir / "a");
    std::filesystem::create_directories(dir / "b");
    dir.write("a/same.dat", scanText);
    dir.write("b/same.dat", scan3Text);
    const auto shared = dir.write("shared.fit", "[FileCount]\nnumber=2\n[File01]\nname=a/same.dat\n"
                                                "[File02]\nname=b\\same.dat\n");
    const auto unreadable =
        dir.write("runs/unreadable.fit", "[FileCount]\nnumber=2\n[File01]\nname=scan1.dat\n"
                                         "[File02]\nname=../bad.dat\n");
    dir.write("bad.dat", "no numbers here\n");
    const auto blankCopy = dir.write("scan1.dat", blankText);
    const std::string outDir = (dir / "out").string();
    const std::string runs = (dir / "runs").string();
    struct Case {
        const char* name;
        Args args;
        std::string err;
    };
    const Case cases[] = {
        {"two entries of one name",
         {"--fit", shared.string(), "--entry", "all", "-o", outDir},
         "skerry-batch: data sets 1 and 2 would both be written to " + outDir + "/same.dat\n"},
        {"an output over its input",
         {"--fit", fit, "--entry", "all", "-o", runs},
         "skerry-batch: " + fit +
             ": warning: Not All of the Data Files Were Found!  Continue Editing Good Files.\n"
             "skerry-batch: " +
             runs + "/scan1.dat: is an input and would be overwritten\n"},
        {"an output over the blank",
         {"--fit", fit, "--entry", "all", "-o", dir.path().string(), "--blank", blankCopy.string()},
         "skerry-batch: " + fit +
             ": warning: Not All of the Data Files Were Found!  Continue Editing Good Files.\n"
             "skerry-batch: " +
             blankCopy.string() + ": is an input and would be overwritten\n"},
        {"a data file that cannot be read",
         {"--fit", unreadable.string(), "--entry", "all", "-o", outDir},
         "skerry-batch: " + runs + "/../bad.dat: it holds no data points\n"},
        {"no output folder",
         {"--fit", fit, "--entry", "all", "-o", (dir / "none").string()},
         "skerry-batch: " + fit +
             ": warning: Not All of the Data Files Were Found!  Continue Editing Good Files.\n"
             "skerry-batch: " +
             (dir / "none").string() + ": not a folder\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const BatchResult result = batch(c.args);
        EXPECT_EQ(result.status, BatchFailed);
        EXPECT_EQ(result.err, c.err);
        EXPECT_TRUE(std::filesystem::is_empty(dir / "out"));
    }
    EXPECT_EQ(readBytes(dir / "runs" / "scan1.dat"), scanText);
    EXPECT_EQ(readBytes(dir / "a" / "same.dat"), scanText);
    EXPECT_EQ(readBytes(blankCopy), blankText);
    EXPECT_FALSE(std::filesystem::exists(dir / "scan3.dat"));
}

} // namespace
} // namespace skerry
