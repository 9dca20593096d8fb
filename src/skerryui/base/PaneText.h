#pragma once

#include <QString>
#include <string>

namespace skerry {

// The bytes of a scan, listing or comment file as text: UTF-8 when they are valid UTF-8, else
// Latin-1, with CR LF and lone CR line ends as line breaks. `utf8` says which, so that edited
// text can go back to the file in the file's own encoding.
struct DecodedText {
    QString text;
    bool utf8 = true;
};
DecodedText decodeBytes(const std::string& bytes);

// The text alone, as decodeBytes reads it.
QString textFromBytes(const std::string& bytes);

// Lines longer than this are shown cut in the read-only panes: a line of megabytes (a damaged
// or foreign file) would take seconds to lay out and tells the reader nothing more.
inline constexpr qsizetype LongestShownLine = 4000;

// The text of a file as a read-only pane shows it: as textFromBytes, with each line longer than
// LongestShownLine cut there and followed by a note of how much was left out. The file itself,
// and what the program reads from it, are unchanged.
QString paneText(const std::string& bytes);

} // namespace skerry
