#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "skerry/batch/BatchRun.h"
#include "skerry/core/MainWindowModel.h"
#include "support/ScriptedPlatform.h"
#include "support/ScriptedWindows.h"
#include "support/TempDir.h"

namespace skerry {
namespace {

using Args = std::vector<std::string>;

TEST(BatchArguments, ParsesOptionsAndRefusesMistakes) {
    struct Case {
        Args args;
        bool ok;
        const char* error;
    };
    const Case cases[] = {
        {{"scan.RA1"}, true, ""},
        {{"--truncated", "--xi", "-o", "out.dat", "scan.RA1"}, true, ""},
        {{"--output=out.dat", "--listing", "scan.RA1"}, true, ""},
        {{"--", "-odd-name.RA1"}, true, ""},
        {{"--help"}, true, ""},
        {{}, false, "no data file named"},
        {{"a.RA1", "b.RA1"}, false, "more than one data file named"},
        {{"--frobnicate", "a.RA1"}, false, "unknown option --frobnicate"},
        {{"a.RA1", "-o"}, false, "option -o needs a value"},
        {{"--xi=yes", "a.RA1"}, false, "option --xi takes no value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        const BatchArguments parsed = parseBatchArguments(c.args);
        EXPECT_EQ(parsed.options.has_value(), c.ok);
        EXPECT_EQ(parsed.error, c.error);
    }
    const auto full = parseBatchArguments({"--truncated", "--xi", "-o", "out.dat", "scan.RA1"});
    ASSERT_TRUE(full.options);
    EXPECT_TRUE(full.options->truncated);
    EXPECT_TRUE(full.options->xi);
    EXPECT_FALSE(full.options->listing);
    EXPECT_EQ(full.options->output, "out.dat");
    EXPECT_EQ(full.options->dataFile, "scan.RA1");
    EXPECT_EQ(parseBatchArguments({"--", "-odd-name.RA1"}).options->dataFile, "-odd-name.RA1");
}

// The batch program writes exactly what the program's Save writes for the same file.
TEST(BatchRun, WritesTheSameBytesAsSave) {
    test::TempDir dir;
    test::CurrentDirectoryGuard cwd(dir.path());
    // A copy in the test's folder: the program writes its listing beside the file chosen.
    const std::string scan = (dir / "cell1-absorbance.RA1").string();
    std::filesystem::copy_file(SKERRY_EXAMPLES_DIR "/cell1-absorbance.RA1", scan);

    test::ScriptedPlatform platform;
    platform.settingsDir = dir / "config";
    auto program = std::make_unique<Program>();
    test::ScriptedWindows windows;
    MainWindowModel model(*program, platform, windows);
    platform.answerDialog(scan);
    model.GetNewData_Click();

    struct Form {
        Args options;
        void (MainWindowModel::*save)();
    };
    const Form forms[] = {{{}, &MainWindowModel::SaveComplete_Click},
                          {{"--xi"}, &MainWindowModel::SaveCompleteRSq_Click},
                          {{"--truncated"}, &MainWindowModel::SaveTruncated_Click},
                          {{"--truncated", "--xi"}, &MainWindowModel::SaveTruncatedRSq_Click}};
    for (const auto& form : forms) {
        SCOPED_TRACE(testing::PrintToString(form.options));
        platform.answerDialog((dir / "saved.dat").string());
        (model.*form.save)();

        Args args = form.options;
        args.push_back(scan);
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(runBatch(args, out, err), BatchOk);
        EXPECT_EQ(err.str(), "");
        EXPECT_EQ(out.str(), test::readBytes(dir / "saved.dat"));

        args.insert(args.begin(), {"-o", (dir / "batch.dat").string()});
        std::ostringstream quiet;
        EXPECT_EQ(runBatch(args, quiet, err), BatchOk);
        EXPECT_EQ(quiet.str(), "");
        EXPECT_EQ(test::readBytes(dir / "batch.dat"), test::readBytes(dir / "saved.dat"));
    }

    std::ostringstream listing;
    std::ostringstream err;
    EXPECT_EQ(runBatch({"--listing", scan}, listing, err), BatchOk);
    EXPECT_EQ(listing.str(), model.state().panes[2].text);
}

TEST(BatchRun, ReportsFailuresWithTheirExitStatus) {
    test::TempDir dir;
    const auto bad = dir.write("bad.dat", "no data here\n");
    const auto good = dir.write("good.dat", "6.0 1 1\n");
    struct Case {
        Args args;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {{bad.string()},
         BatchFailed,
         "skerry-batch: " + bad.string() + ": it holds no data points\n"},
        {{(dir / "missing").string()},
         BatchFailed,
         "skerry-batch: " + (dir / "missing").string() + ": No such file or directory\n"},
        {{"-o", "/dev/full", good.string()},
         BatchFailed,
         "skerry-batch: /dev/full: is not a regular file\n"},
        {{"--nope"},
         BatchUsageError,
         "skerry-batch: unknown option --nope\nTry 'skerry-batch --help' for more information.\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_EQ(runBatch(c.args, out, err), c.status);
        EXPECT_EQ(err.str(), c.message);
        EXPECT_EQ(out.str(), "");
    }
    std::ostringstream help;
    std::ostringstream err;
    EXPECT_EQ(runBatch({"--help"}, help, err), BatchOk);
    EXPECT_EQ(help.str(), batchUsage());
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
