#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "FuzzTargets.h"
#include "support/TempDir.h"

namespace skerry {
namespace {

// Every seed of the fuzz corpus and every input that once broke a promise runs through the fuzz
// targets' checks in every build, so a fixed fault stays fixed.
struct Target {
    const char* name;
    int (*check)(const std::uint8_t*, std::size_t);
};

const Target targets[] = {{"scan-text", fuzz::scanText},
                          {"profile-file", fuzz::profileFile},
                          {"fit-file", fuzz::fitFile},
                          {"leading-number", fuzz::leadingNumber},
                          {"number-pattern", fuzz::numberPattern}};

TEST(FuzzReplay, CorpusAndRegressionsKeepTheirPromises) {
    int inputs = 0;
    for (const Target& target : targets) {
        for (const char* kind : {"corpus", "regressions"}) {
            const std::filesystem::path folder =
                std::filesystem::path(SKERRY_FUZZ_DIR) / kind / target.name;
            if (!std::filesystem::exists(folder)) {
                continue;
            }
            for (const auto& entry : std::filesystem::directory_iterator(folder)) {
                SCOPED_TRACE(entry.path().string());
                const std::string bytes = test::readBytes(entry.path());
                EXPECT_EQ(
                    target.check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                    0);
                ++inputs;
            }
        }
    }
    EXPECT_GT(inputs, 30);
}

} // namespace
} // namespace skerry
