#include "FuzzTargets.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace skerry {
namespace {

// Every seed of the fuzz corpus and every input that once broke a promise runs through the fuzz
// targets' checks in every build, so that a fixed fault stays fixed. A broken promise aborts.
TEST(FuzzReplay, CorpusAndRegressionsKeepTheirPromises) {
    const std::pair<const char*, int (*)(const std::uint8_t*, std::size_t)> targets[] = {
        {"scan-text", fuzz::scanText},
        {"profile-file", fuzz::profileFile},
        {"fit-file", fuzz::fitFile},
        {"leading-number", fuzz::leadingNumber},
        {"number-pattern", fuzz::numberPattern}};
    int inputs = 0;
    for (const auto& [name, check] : targets) {
        for (const char* kind : {"corpus", "regressions"}) {
            // Only some targets have regressions.
            std::error_code none;
            const auto folder = std::filesystem::path(SKERRY_FUZZ_DIR) / kind / name;
            for (const auto& entry : std::filesystem::directory_iterator(folder, none)) {
                const std::string bytes = test::readBytes(entry.path());
                check(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
                ++inputs;
            }
        }
    }
    EXPECT_GT(inputs, 30);
}

} // namespace
} // namespace skerry
