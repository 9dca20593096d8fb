#include "FuzzTargets.h"
#include "support/TempDir.h"

#include <map>

#include <gtest/gtest.h>

namespace skerry {
namespace {

// Every seed of the fuzz corpus and every input that once broke a promise runs through the fuzz
// targets' checks in every build, so that a fixed fault stays fixed. A broken promise aborts.
TEST(FuzzReplay, CorpusAndRegressionsKeepTheirPromises) {
    const std::map<std::string, int (*)(const std::uint8_t*, std::size_t)> checks = {
        {"scan-text", fuzz::scanText},
        {"profile-file", fuzz::profileFile},
        {"fit-file", fuzz::fitFile},
        {"leading-number", fuzz::leadingNumber},
        {"number-pattern", fuzz::numberPattern},
        {"suggestion", fuzz::suggestion}};
    // corpus/TARGET/* and regressions/TARGET/*
    int inputs = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(SKERRY_FUZZ_DIR)) {
        const std::string target = entry.path().parent_path().filename().string();
        if (entry.is_regular_file() && checks.contains(target)) {
            const std::string bytes = test::readBytes(entry.path());
            checks.at(target)(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++inputs;
        }
    }
    EXPECT_GT(inputs, 30);
}

} // namespace
} // namespace skerry
