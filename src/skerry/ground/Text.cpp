#include "skerry/ground/Text.h"

#include <cstring>

namespace skerry {

bool LineReader::next(std::string_view& line) {
    if (pos_ >= text_.size()) {
        return false;
    }
    // The next LF is looked up only once the reader has passed the last one found, so that a
    // text whose lines end in CR alone is still read in one pass.
    if (nextLf_ == std::string_view::npos || nextLf_ < pos_) {
        nextLf_ = find('\n', pos_, text_.size());
    }
    const std::size_t end = find('\r', pos_, nextLf_);
    line = text_.substr(pos_, end - pos_);
    // The line ends at `end`, which holds CR or LF unless the text ends there.
    pos_ = end;
    if (pos_ < text_.size() && text_[pos_] == '\r') {
        ++pos_;
    }
    if (pos_ < text_.size() && text_[pos_] == '\n') {
        ++pos_;
    }
    ended_ = pos_ > end;
    ++number_;
    return true;
}

// The position of the first c in from..to, or `to` when there is none.
std::size_t LineReader::find(char c, std::size_t from, std::size_t to) const {
    const void* at = std::memchr(text_.data() + from, c, to - from);
    return at == nullptr ? to
                         : static_cast<std::size_t>(static_cast<const char*>(at) - text_.data());
}

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
