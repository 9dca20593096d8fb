#include "skerry/ground/Text.h"

namespace skerry {

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::string captionFromPath(std::string_view path) {
    constexpr int shown = 18;
    const std::string_view trimmed = trimBlanks(path);
    // Count characters, not bytes, so that a UTF-8 file name is never cut inside a character.
    const auto isContinuation = [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
    };
    std::size_t start = trimmed.size();
    int characters = 0;
    while (start > 0 && characters < shown) {
        --start;
        if (!isContinuation(trimmed[start])) {
            ++characters;
        }
    }
    if (start == 0) {
        return std::string(trimmed);
    }
    return "..." + std::string(trimmed.substr(start));
}

} // namespace skerry
