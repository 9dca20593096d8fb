#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "skerry/ground/FileIO.h"

namespace skerry {

// A sectioned key=value initialisation file ("Skerry.ini", fit files), read and written with the
// classic profile-file rules: lines end at CR, LF or any mix; lines are trimmed of blanks,
// control characters 0x09..0x0D and 0x1A; "[name]" opens a section (text after the last ']' is
// ignored); a line starting with ';' is a comment; a key line is split at its first '='; section
// and key names match without regard to case; the first section of a name is the only one
// searched and in it the first matching key wins.
//
// Writing keeps every other line of the file as it was and ends every line with CR LF.
class ProfileFile {
public:
    ProfileFile() = default;

    // Reads a file, or tells why it could not be read.
    static Outcome<ProfileFile> read(const std::filesystem::path& path);
    // Reads a file. A missing or unreadable file gives an empty profile (every look-up then
    // yields its default), as the classic functions behave.
    static ProfileFile load(const std::filesystem::path& path);
    static ProfileFile parse(std::string_view bytes);

    // The trimmed value text of a key, quotes not yet removed; nullopt when the section or key
    // is missing or the line has no '='.
    std::optional<std::string> rawValue(std::string_view section, std::string_view key) const;

    // A text value: surrounding matching quotes ('"' or '\'') removed from a value of at least
    // two characters, then cut to bufferSize - 1 characters. A missing key yields the default
    // with its trailing blanks removed.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view defaultValue, std::size_t bufferSize) const;

    // An integer value: leading blanks, an optional sign and decimal digits, stopping at the
    // first other character; text starting with anything else reads as 0; a missing key or an
    // empty value yields the default. Arithmetic wraps modulo 2^32.
    std::int32_t readInt(std::string_view section, std::string_view key,
                         std::int32_t defaultValue) const;

    // Sets a key: its first occurrence in the section is replaced in place, a new key goes after
    // the section's last entry, a new section goes at the end of the file.
    void write(std::string_view section, std::string_view key, std::string_view value);

    // The file's text as it would be saved: every line ended by CR LF.
    std::string bytes() const;

    // Saves the file atomically (see writeFileAtomically).
    Done save(const std::filesystem::path& path) const;

private:
    std::vector<std::string> lines_; // untrimmed, without line ends
};

} // namespace skerry
