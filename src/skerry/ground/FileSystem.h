#pragma once

// Everything the Qt-free code asks of the operating system: files and folders, the standard
// streams, the command line and the user's settings folder. FileSystemPosix.cpp and
// FileSystemWindows.cpp implement it, and the build takes the one for the target system.
//
// File names are UTF-8 text everywhere in the program; pathFromUtf8() and utf8Of() are the only
// way between such a text and a std::filesystem::path, which holds what the system's own calls
// take (bytes on POSIX, UTF-16 on Windows).
//
// An operation that fails tells why in words a user can act on ("Permission denied", "No space
// left on device", "is a folder, not a file").

#include <compare>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "skerry/ground/Outcome.h"

namespace skerry {

// What tells one file from another whatever path names it, so that a link or another spelling of
// a path is recognised as the same file.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;
    // NOLINTNEXTLINE(modernize-use-nullptr): clang-tidy takes the defaulted body for a 0
    friend auto operator<=>(const FileIdentity&, const FileIdentity&) = default;
};
// nullopt when nothing is there (or it cannot be looked at).
std::optional<FileIdentity> fileIdentity(const std::filesystem::path& path);

namespace os {

// A UTF-8 file name as a path. On Windows a text that is not UTF-8 is taken in the system's code
// page, in which older Windows programs wrote names into their files.
std::filesystem::path pathFromUtf8(std::string_view name);
std::string utf8Of(const std::filesystem::path& path);

// Why a path that should name a file was refused.
inline constexpr const char* IsFolder = "is a folder, not a file";
inline constexpr const char* NotRegular = "is not a regular file";

enum class EntryKind { Missing, File, Folder, Other };

struct Entry {
    EntryKind kind = EntryKind::Missing;
    std::uintmax_t size = 0; // bytes, for a file
};

// What the path names, links followed; Missing when nothing is there.
Outcome<Entry> lookAt(const std::filesystem::path& path);

// A file open for reading, closed when it goes.
class InputFile {
public:
    // Opens without waiting for a device or a pipe to be ready.
    static Outcome<InputFile> open(const std::filesystem::path& path);
    InputFile(InputFile&& other) noexcept;
    InputFile& operator=(InputFile&&) = delete;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    ~InputFile();

    // What was opened, which may differ from what the path named a moment before.
    Outcome<Entry> look() const;
    // Up to `size` bytes into `buffer`; 0 at the end of the file.
    Outcome<std::size_t> read(char* buffer, std::size_t size) const;

private:
    explicit InputFile(std::intptr_t handle) : handle_(handle) {}
    std::intptr_t handle_;
};

// What to do with what is already at the path to be replaced.
enum class Existing {
    Keep,    // follow links; keep the file's permissions, refuse one that may not be written
    Replace, // a fresh file in place of whatever is there, a link included
};

// A new file written beside its target, not yet moved over it.
struct StagedFile {
    std::filesystem::path target;
    std::filesystem::path temporary;
};

// The path a chain of links ends at, the file that replacing the path with Existing::Keep
// replaces; any other path as it is.
Outcome<std::filesystem::path> resolveLinks(std::filesystem::path path);

// Writes `bytes` to a new hidden sibling of `target` (whose links the caller has resolved when
// `existing` is Keep), flushed to disk when `flush` is set. Refuses a target that is a folder
// ("is a folder, not a file"), and with Keep one that is no regular file ("is not a regular
// file") or may not be written. On failure nothing is left behind.
Outcome<StagedFile> stageBeside(const std::filesystem::path& target, std::string_view bytes,
                                Existing existing, bool flush);

// Renames the staged file over its target, replacing it in one step; on failure the staged file
// is removed.
Done moveIntoPlace(const StagedFile& staged);

// Removes a staged file that is not wanted any more.
void discard(const StagedFile& staged);

// Puts the staged files of one folder on disk, as one flush where the system offers that.
void flushStaged(const std::filesystem::path& folder, const std::vector<StagedFile>& files);

// Makes the renames in a folder durable. Failing here does not undo them, so nothing is reported.
void syncFolder(const std::filesystem::path& folder);

// Whether standard error is a terminal that a line can be rewritten on.
bool standardErrorIsTerminal();

// Readies a command-line program: its standard output and error pass bytes through unchanged (no
// "\n" made "\r\n"). Returns its arguments, argv[0] left out, as UTF-8.
std::vector<std::string> startCommandLineProgram(int argc, char* argv[]);

// The per-user folder that holds the settings file: $XDG_CONFIG_HOME, else ~/.config, on POSIX;
// %APPDATA%\Skerry on Windows.
std::filesystem::path userSettingsFolder();

} // namespace os

} // namespace skerry
