#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "skerry/batch/BatchRun.h"
#include "support/TempDir.h"

namespace skerry {
namespace {

using Args = std::vector<std::string>;

TEST(BatchArguments, ParsesOptionsAndRefusesMistakes) {
    struct Case {
        Args args;
        std::string error; // empty: accepted
    };
    const std::string entryError = "option --entry needs a data set number from 1 to 15 or 'all', ";
    const std::string seedError = "option --seed needs a whole number from 0 to 4294967295, not ";
    const Case cases[] = {
        {{"scan.RA1"}, ""},
        {{"--help"}, ""},
        {{"--fit", "a.fit", "--entry", "15", "--blank", "b.dat"}, ""},
        {{"--fit=a.fit", "--entry=all", "-o", "out"}, ""},
        {{}, "no data file named"},
        {{"--frobnicate", "a.RA1"}, "unknown option --frobnicate"},
        {{"a.RA1", "-o"}, "option -o needs a value"},
        {{"--xi=yes", "a.RA1"}, "option --xi takes no value"},
        {{"--fit", "a.fit", "--entry", "0"}, entryError + "not '0'"},
        {{"--entry", "2", "a.dat"}, "option --entry needs --fit"},
        {{"--fit", "a.fit", "--entry", "all"}, "option --entry all needs -o DIR"},
        {{"--fit", "a.fit", "b.dat"}, "a data file and --fit both named"},
        {{"--blank", "b.dat"}, "no data file named"},
        {{"--noise", "abc", "--seed", "1", "a.dat"},
         "option --noise needs a number as the RMS level, not 'abc'"},
        {{"--noise=1e39", "--seed", "1", "a.dat"},
         "option --noise needs a number as the RMS level, not '1e39'"},
        {{"--noise", "0.1", "--seed", "-1", "a.dat"}, seedError + "'-1'"},
        {{"--noise", "0.1", "--seed", "4294967296", "a.dat"}, seedError + "'4294967296'"},
        {{"--noise", "0.1", "a.dat"}, "option --noise needs --seed"},
        {{"--seed", "7", "a.dat"}, "option --seed needs --noise"},
        {{"a.dat", "--comments"}, "option --comments needs a value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const BatchArguments parsed = parseBatchArguments(c.args);
        EXPECT_EQ(parsed.options.has_value(), c.error.empty());
        EXPECT_EQ(parsed.error, c.error);
    }

    // Blanks around a level, the largest seed, "--" before a name; a later --entry counts.
    const auto full =
        parseBatchArguments({"--noise", " -2.5E-2 ", "--seed=4294967295", "--", "-odd-name.RA1"});
    ASSERT_TRUE(full.options);
    EXPECT_EQ(full.options->dataFiles, std::vector<std::string>{"-odd-name.RA1"});
    EXPECT_EQ(full.options->noiseRms, -0.025f);
    EXPECT_EQ(full.options->seed, 4294967295u);
    const auto fit = parseBatchArguments({"--entry", "all", "--fit", "f", "--entry", "3"});
    ASSERT_TRUE(fit.options);
    EXPECT_EQ(fit.options->fitFile, "f");
    EXPECT_EQ(fit.options->fitEntry, 3);
    EXPECT_FALSE(fit.options->allFitEntries);
}

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

// The noise values follow from the Mersenne twister's outputs for the seed, twelve uniform
// numbers per point, summed in single precision; the readings are inverted first, then noise
// of level 0.01 is added, and the comment lines come from the comments file.
TEST(BatchRun, CommentsThenInvertThenNoise) {
    test::TempDir dir;
    const auto scan = dir.write("scan.dat", "Test scan\r\n"
                                            "   6.00000    1.00000E-01    1.000E-02\r\n"
                                            "   6.10000    2.00000E-01    1.000E-02\r\n"
                                            "   6.20000   -3.00000E-01   -1.000E-02\r\n");
    const auto notes = dir.write("notes.txt", "New comment\nsecond\r\n");
    Args args = {"--listing", "--noise",    "0.01",         "--seed",     "1",
                 "--invert",  "--comments", notes.string(), scan.string()};
    const std::string comments =
        "New comment" + std::string(85, ' ') + "\r\nsecond" + std::string(90, ' ') + "\r\n";

    const BatchResult run = runWith(args);
    EXPECT_EQ(run.status, BatchOk);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, comments + "   6.00000   -1.06315E-01    1.000E-02\r\n"
                                  "   6.10000   -1.97509E-01    1.000E-02\r\n"
                                  "   6.20000    2.97657E-01   -1.000E-02\r\n");
    args[4] = "2";
    EXPECT_EQ(runWith(args).out, comments + "   6.00000   -1.07783E-01    1.000E-02\r\n"
                                            "   6.10000   -2.00213E-01    1.000E-02\r\n"
                                            "   6.20000    2.99833E-01   -1.000E-02\r\n");
}

TEST(BatchRun, ReportsFailuresWithTheirExitStatus) {
    test::TempDir dir;
    const auto bad = dir.write("bad.dat", "no data here\n");
    const auto good = dir.write("good.dat", "6.0 1 1\n");
    const std::string missing = (dir / "missing").string();
    struct Case {
        Args args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {{bad.string()}, BatchFailed, bad.string() + ": it holds no data points\n"},
        {{missing}, BatchFailed, missing + ": No such file or directory\n"},
        {{"--comments", missing, good.string()},
         BatchFailed,
         missing + ": No such file or directory\n"},
        {{"-o", "/dev/full", good.string()}, BatchFailed, "/dev/full: is not a regular file\n"},
        {{"--nope"},
         BatchUsageError,
         "unknown option --nope\nTry 'skerry-batch --help' for more information.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const BatchResult result = runWith(c.args);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.err, "skerry-batch: " + c.message);
        EXPECT_EQ(result.out, "");
    }
    const BatchResult help = runWith({"--help"});
    EXPECT_EQ(help.status, BatchOk);
    EXPECT_EQ(help.out, batchUsage(false));

    // -o writes the file instead of standard output.
    EXPECT_EQ(runWith({"-o", (dir / "out.dat").string(), good.string()}).out, "");
    EXPECT_EQ(test::readBytes(dir / "out.dat"), "   6.00000    1.00000E+00    1.000E+00\r\n");
}

TEST(BatchProgram, ExitStatusReachesTheShell) {
    const std::string batch = SKERRY_BATCH_PATH;
    const std::string example = std::string(SKERRY_EXAMPLES_DIR) + "/cell2-interference.IP1";
    const auto status = [](const std::string& command) {
        const int raw = std::system((command + " 2>/dev/null").c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    EXPECT_EQ(status(batch + " '" + example + "' >/dev/null"), 0);
    EXPECT_EQ(status(batch + " /nonexistent/scan.RA1 >/dev/null"), 1);
    EXPECT_EQ(status(batch + " '" + example + "' >/dev/full"), 1);
    EXPECT_EQ(status(batch + " >/dev/null"), 2);
}

} // namespace
} // namespace skerry
