#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "support/TempDir.h"

extern char** environ;

// skerry-batch as a process: what its runs write and say is the scenarios' (tests/commands);
// here only what needs the real program.
namespace skerry {
namespace {

const std::string batch = SKERRY_BATCH_PATH;

TEST(BatchProgram, ExitStatusReachesTheShell) {
    test::TempDir dir;
    const std::string example = std::string(SKERRY_EXAMPLES_DIR) + "/cell2-interference.IP1";
    const auto status = [&dir](const std::string& command) {
        const int raw = std::system((command + " 2>" + (dir / "err").string()).c_str());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    EXPECT_EQ(status(batch + " '" + example + "' >/dev/null"), 0);
    EXPECT_EQ(status(batch + " /nonexistent/scan.RA1 >/dev/null"), 1);
    EXPECT_EQ(status(batch + " >/dev/null"), 2);
    EXPECT_EQ(status(batch + " '" + example + "' >/dev/full"), 1);
    EXPECT_EQ(test::readBytes(dir / "err"), "skerry-batch: standard output: write failed\n");
}

// A save killed at any moment leaves the old file or the new one, never a mixture: skerry-batch
// replaces an existing file and is killed after random delays across its whole run.
TEST(BatchProgram, AKilledSaveLeavesTheOldFileOrTheNewOne) {
    test::TempDir dir;
    std::string scan = "Cell 1\r\n";
    for (int i = 0; i < 2200; ++i) {
        scan += std::to_string(5.8 + i * 0.0005) + " " + std::to_string(i * 0.001) + " 0.01\r\n";
    }
    const std::string input = dir.write("scan.dat", scan).string();
    const std::string oldBytes(50'000, 'o');
    const std::string target = dir.write("edited.dat", oldBytes).string();
    char* const argv[] = {const_cast<char*>(batch.c_str()), const_cast<char*>("-o"),
                          const_cast<char*>(target.c_str()), const_cast<char*>(input.c_str()),
                          nullptr};
    // Starts a save, kills it after `delay` (never, when negative); whether the kill ended it.
    const auto save = [&](std::chrono::microseconds delay) {
        pid_t child = 0;
        EXPECT_EQ(posix_spawn(&child, batch.c_str(), nullptr, nullptr, argv, environ), 0);
        if (delay.count() >= 0) {
            std::this_thread::sleep_for(delay);
            kill(child, SIGKILL);
        }
        int status = 0;
        waitpid(child, &status, 0);
        return WIFSIGNALED(status);
    };

    // One save to the end gives the new bytes and how long a whole run takes on this build.
    const auto started = std::chrono::steady_clock::now();
    ASSERT_FALSE(save(std::chrono::microseconds(-1)));
    const auto whole = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - started);
    const std::string newBytes = test::readBytes(target);
    ASSERT_EQ(newBytes.size(), 98u + 2200u * 40u); // a comment line and 2200 point lines
    std::mt19937 random(42);
    std::uniform_int_distribution<long> delay(0, whole.count() * 3 / 2);
    int killed = 0;
    for (int run = 0; run < 60; ++run) {
        dir.write("edited.dat", oldBytes);
        killed += save(std::chrono::microseconds(delay(random)));
        const std::string now = test::readBytes(target);
        ASSERT_TRUE(now == oldBytes || now == newBytes) << "run " << run << ": " << now.size();
    }
    EXPECT_GT(killed, 0);
}

} // namespace
} // namespace skerry
