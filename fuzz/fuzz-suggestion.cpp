// libFuzzer entry point; the checks live in FuzzTargets.cpp, where the test suite replays them.
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return skerry::fuzz::suggestion(data, size);
}
