#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace skerry {

// Calls `line(text, ended)` for each line of the text, without its line end: CR LF, a lone CR
// or a lone LF end a line. A last line without a line end counts when it is not empty (`ended`
// is then false); reading stops when `line` returns false.
template <typename LineFunction>
void forEachLine(std::string_view text, LineFunction line) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            line(text.substr(pos), false);
            return;
        }
        const bool crLf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        if (!line(text.substr(pos, end - pos), true)) {
            return;
        }
        pos = end + (crLf ? 2 : 1);
    }
}

// A path as a tab or menu caption: trimmed, shown whole up to 18 characters, else "..." and its
// last 18 characters.
std::string captionFromPath(std::string_view path);

// Surrounding blanks removed.
std::string_view trimBlanks(std::string_view text);

} // namespace skerry
