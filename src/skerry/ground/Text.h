#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace skerry {

// The lines of a text, one at a time, without their line ends: CR LF, a lone CR or a lone LF
// end a line. A last line without a line end counts when it is not empty.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    // The next line; false when the text is used up.
    bool next(std::string_view& line);
    // Whether the line last read had a line end (only a text's last line can lack one).
    bool ended() const { return ended_; }
    // The number of the line last read, from 1.
    int lineNumber() const { return number_; }

private:
    std::size_t find(char c, std::size_t from, std::size_t to) const;

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t nextLf_ = std::string_view::npos; // not looked up yet
    bool ended_ = false;
    int number_ = 0;
};

// Calls `line(text, ended)` for each line of the text as LineReader reads it, `ended` telling
// whether the line had a line end; reading stops when `line` returns false.
template <typename LineFunction>
void forEachLine(std::string_view text, LineFunction line) {
    LineReader reader(text);
    for (std::string_view current; reader.next(current);) {
        if (!line(current, reader.ended())) {
            return;
        }
    }
}

// A path as a tab or menu caption: trimmed, shown whole up to 18 characters, else "..." and its
// last 18 characters.
std::string captionFromPath(std::string_view path);

// Surrounding blanks removed.
std::string_view trimBlanks(std::string_view text);

} // namespace skerry
