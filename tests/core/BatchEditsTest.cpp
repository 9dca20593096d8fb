#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "skerry/batch/BatchRun.h"
#include "support/TempDir.h"

namespace skerry {
namespace {

using Args = std::vector<std::string>;

std::string pad(const std::string& text) {
    return text + std::string(96 - text.size(), ' ');
}

const std::string scanText = "Test scan\r\n"
                             "   6.00000    1.00000E-01    1.000E-02\r\n"
                             "   6.10000    2.00000E-01    1.000E-02\r\n"
                             "   6.20000   -3.00000E-01   -1.000E-02\r\n";

struct BatchResult {
    int status;
    std::string out;
    std::string err;
};

BatchResult runWith(const Args& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runBatch(args, out, err);
    return {status, out.str(), err.str()};
}

TEST(BatchEdits, OptionsAreCheckedBeforeAnythingIsRead) {
    struct Case {
        Args args;
        const char* error;
    };
    const Case cases[] = {
        {{"--noise", "abc", "--seed", "1", "a.dat"},
         "option --noise needs a number as the RMS level, not 'abc'"},
        {{"--noise=1e39", "--seed", "1", "a.dat"},
         "option --noise needs a number as the RMS level, not '1e39'"},
        {{"--noise", "0.1", "--seed", "-1", "a.dat"},
         "option --seed needs a whole number from 0 to 4294967295, not '-1'"},
        {{"--noise", "0.1", "--seed", "4294967296", "a.dat"},
         "option --seed needs a whole number from 0 to 4294967295, not '4294967296'"},
        {{"--noise", "0.1", "--seed", "", "a.dat"},
         "option --seed needs a whole number from 0 to 4294967295, not ''"},
        {{"--noise", "0.1", "a.dat"}, "option --noise needs --seed"},
        {{"--seed", "7", "a.dat"}, "option --seed needs --noise"},
        {{"--invert=yes", "a.dat"}, "option --invert takes no value"},
        {{"a.dat", "--comments"}, "option --comments needs a value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const BatchArguments parsed = parseBatchArguments(c.args);
        EXPECT_FALSE(parsed.options);
        EXPECT_EQ(parsed.error, c.error);
    }

    const auto parsed = parseBatchArguments(
        {"--comments", "c.txt", "--invert", "--noise", " -2.5E-2 ", "--seed=4294967295", "a.dat"});
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->comments, "c.txt");
    EXPECT_TRUE(parsed.options->invert);
    EXPECT_EQ(parsed.options->noiseRms, -0.025f);
    EXPECT_EQ(parsed.options->seed, 4294967295u);
}

// The noise values follow from the Mersenne twister's outputs for seed 1, twelve uniform
// numbers per point, summed in single precision; the readings are inverted first, then noise
// of level 0.01 is added, and the comment lines come from the comments file.
TEST(BatchEdits, CommentsThenInvertThenNoise) {
    test::TempDir dir;
    const auto scan = dir.write("scan.dat", scanText);
    const auto notes = dir.write("notes.txt", "New comment\nsecond\r\n");
    const Args args = {"--listing", "--noise",    "0.01",         "--seed",     "1",
                       "--invert",  "--comments", notes.string(), scan.string()};

    const BatchResult run = runWith(args);
    EXPECT_EQ(run.status, BatchOk);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, pad("New comment") + "\r\n" + pad("second") + "\r\n" +
                           "   6.00000   -1.06315E-01    1.000E-02\r\n"
                           "   6.10000   -1.97509E-01    1.000E-02\r\n"
                           "   6.20000    2.97657E-01   -1.000E-02\r\n");
    EXPECT_EQ(runWith(args).out, run.out);

    Args otherSeed = args;
    otherSeed[4] = "2";
    EXPECT_EQ(runWith(otherSeed).out, pad("New comment") + "\r\n" + pad("second") + "\r\n" +
                                          "   6.00000   -1.07783E-01    1.000E-02\r\n"
                                          "   6.10000   -2.00213E-01    1.000E-02\r\n"
                                          "   6.20000    2.99833E-01   -1.000E-02\r\n");
}

TEST(BatchEdits, AMissingCommentsFileFails) {
    test::TempDir dir;
    const auto scan = dir.write("scan.dat", scanText);
    const std::string missing = (dir / "missing.txt").string();
    const BatchResult run = runWith({"--comments", missing, scan.string()});
    EXPECT_EQ(run.status, BatchFailed);
    EXPECT_EQ(run.err, "skerry-batch: " + missing + ": No such file or directory\n");
    EXPECT_EQ(run.out, "");
}

} // namespace
} // namespace skerry
