// Writes numbers with the patterns "0.000000E+00" (floats) and "0.00000000000000E+00" (doubles),
// which show the 7 or 15 significant digits that all number patterns round from, and compares
// the text with what std::to_chars gives for as many significant digits. The writer finds those
// digits with integer arithmetic where it can; this checks it against the standard conversion.
//
// Usage: check-float-digits floats [FIRST_BITS [LAST_BITS]]   every float in the range (default:
//                                                            every positive float; minutes)
//        check-float-digits doubles COUNT                    XI = x * x / 2 of every float x in
//                                                            0.5 .. 10 (as the listing writes
//                                                            it), then COUNT random doubles
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <string_view>

#include "skerry/ground/NumberPattern.h"

namespace {

std::uint64_t checked = 0;
std::uint64_t differences = 0;

template <typename T>
void check(const skerry::NumberPattern& pattern, T value, int precision) {
    std::string ours;
    pattern.appendTo(ours, value);
    char expected[40];
    const auto end = std::to_chars(expected, expected + sizeof expected, value,
                                   std::chars_format::scientific, precision)
                         .ptr;
    std::string reference(expected, end);
    reference[reference.find('e')] = 'E';
    ++checked;
    if (ours != reference && ++differences <= 20) {
        std::printf("%.17g: %s, expected %s\n", static_cast<double>(value), ours.c_str(),
                    reference.c_str());
    }
}

} // namespace

int main(int argc, char* argv[]) {
    const std::string_view mode = argc > 1 ? argv[1] : "";
    if (mode == "floats") {
        const std::uint32_t first = argc > 2 ? std::strtoul(argv[2], nullptr, 0) : 1;
        const std::uint32_t last = argc > 3 ? std::strtoul(argv[3], nullptr, 0) : 0x7F7FFFFFu;
        const skerry::NumberPattern pattern("0.000000E+00");
        for (std::uint64_t bits = first; bits <= last; ++bits) {
            check(pattern, std::bit_cast<float>(static_cast<std::uint32_t>(bits)), 6);
        }
    } else if (mode == "doubles") {
        const skerry::NumberPattern pattern("0.00000000000000E+00");
        for (float x = 0.5f; x < 10.0f; x = std::nextafter(x, 11.0f)) {
            const double wide = x;
            check(pattern, wide * wide / 2.0, 14);
        }
        std::mt19937_64 random(2200);
        const std::uint64_t count = argc > 2 ? std::strtoull(argv[2], nullptr, 0) : 0;
        for (std::uint64_t i = 0; i < count; ++i) {
            const auto value = std::bit_cast<double>(random() & 0x7FFFFFFFFFFFFFFFull);
            if (std::isfinite(value) && value != 0) {
                check(pattern, value, 14);
            }
        }
    } else {
        std::fprintf(stderr, "usage: check-float-digits floats [FIRST [LAST]] | doubles COUNT\n");
        return 2;
    }
    std::printf("%llu numbers checked, %llu differ\n", static_cast<unsigned long long>(checked),
                static_cast<unsigned long long>(differences));
    return differences == 0 ? 0 : 1;
}
