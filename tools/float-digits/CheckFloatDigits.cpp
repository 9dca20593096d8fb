// Writes every finite float with the pattern "0.000000E+00", which shows the seven significant
// digits that all number patterns round from, and compares the text with what std::to_chars
// gives for seven significant digits. The writer finds those digits with integer arithmetic
// where it can; this proves it agrees with the standard conversion on every single value.
//
// Usage: check-float-digits [FIRST_BITS [LAST_BITS]]   (default: every positive float)
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "skerry/ground/NumberPattern.h"

int main(int argc, char* argv[]) {
    const std::uint32_t first = argc > 1 ? std::strtoul(argv[1], nullptr, 0) : 1;
    const std::uint32_t last = argc > 2 ? std::strtoul(argv[2], nullptr, 0) : 0x7F7FFFFFu;
    const skerry::NumberPattern pattern("0.000000E+00");
    std::uint64_t checked = 0;
    std::uint64_t differences = 0;
    std::string ours;
    for (std::uint64_t bits = first; bits <= last; ++bits) {
        const auto value = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
        ours.clear();
        pattern.appendTo(ours, value);
        char expected[32];
        const auto end = std::to_chars(expected, expected + sizeof expected, value,
                                       std::chars_format::scientific, 6)
                             .ptr;
        std::string reference(expected, end);
        reference[reference.find('e')] = 'E';
        ++checked;
        if (ours != reference && ++differences <= 20) {
            std::printf("0x%08x: %s, expected %s\n", static_cast<unsigned>(bits), ours.c_str(),
                        reference.c_str());
        }
        if ((bits & 0x0FFFFFFFu) == 0) {
            std::fprintf(stderr, "at 0x%08x\n", static_cast<unsigned>(bits));
        }
    }
    std::printf("%llu floats checked, %llu differ\n", static_cast<unsigned long long>(checked),
                static_cast<unsigned long long>(differences));
    return differences == 0 ? 0 : 1;
}
