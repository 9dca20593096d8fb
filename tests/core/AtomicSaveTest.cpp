#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "support/TempDir.h"

extern char** environ;

namespace skerry {
namespace {

// A save killed at any moment leaves the old file or the new one, never a mixture: skerry-batch
// replaces an existing file while it is killed after random delays.
TEST(AtomicSave, AKilledSaveLeavesTheOldFileOrTheNewOne) {
    test::TempDir dir;
    std::string scan = "Cell 1\r\n";
    for (int i = 0; i < 2200; ++i) {
        scan += std::to_string(5.8 + i * 0.0005) + " " + std::to_string(i * 0.001) + " 0.01\r\n";
    }
    const auto input = dir.write("scan.dat", scan);
    const std::string oldBytes(50'000, 'o');
    const auto target = dir.write("edited.dat", oldBytes);

    std::mt19937 random(42);
    std::uniform_int_distribution<int> delay(0, 25000);
    int killedMidway = 0;
    std::string newBytes;
    for (int run = 0; run < 60; ++run) {
        const std::string batch = SKERRY_BATCH_PATH;
        const std::string output = target.string();
        const std::string in = input.string();
        char* const argv[] = {const_cast<char*>(batch.c_str()), const_cast<char*>("-o"),
                              const_cast<char*>(output.c_str()), const_cast<char*>(in.c_str()),
                              nullptr};
        pid_t child = 0;
        ASSERT_EQ(posix_spawn(&child, batch.c_str(), nullptr, nullptr, argv, environ), 0);
        usleep(static_cast<useconds_t>(delay(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        killedMidway += WIFSIGNALED(status);

        const std::string now = test::readBytes(target);
        if (now != oldBytes) {
            if (newBytes.empty()) {
                newBytes = now;
            }
            ASSERT_EQ(now, newBytes) << "run " << run;
            ASSERT_EQ(now.size(), 98u + 2200u * 40u); // a comment line and 2200 point lines
        }
    }
    // Both outcomes happened, so the kills did land during runs.
    EXPECT_GT(killedMidway, 0);
    EXPECT_FALSE(newBytes.empty());
}

} // namespace
} // namespace skerry
