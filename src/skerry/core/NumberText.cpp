#include "skerry/core/NumberText.h"

namespace skerry {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool isDecimalNumber(std::string_view text) {
    std::size_t i = 0;
    const auto skipSign = [&] {
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
    };
    const auto skipDigits = [&] {
        const std::size_t start = i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
        }
        return i - start;
    };

    skipSign();
    std::size_t digits = skipDigits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        digits += skipDigits();
    }
    if (digits == 0) {
        return false;
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        ++i;
        skipSign();
        if (skipDigits() == 0) {
            return false;
        }
    }
    return i == text.size();
}

} // namespace skerry
