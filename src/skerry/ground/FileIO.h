#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace skerry {

// Why a file operation failed, in words a user can act on ("Permission denied", "No space left
// on device", "is a folder, not a file").
struct FileError {
    std::string reason;
};

// Reads a whole regular file. Refuses directories and other non-regular files, and files larger
// than maxBytes, with a reason.
struct ReadResult {
    std::string bytes;
    std::optional<FileError> error;
};
ReadResult readWholeFile(const std::filesystem::path& path, std::uintmax_t maxBytes);

// Replaces `path` with `bytes` so that at every moment the file holds either its old content or
// the new one: the bytes go to a temporary file in the same folder, are flushed to disk, and the
// temporary file is renamed over the target. A link is followed and its target replaced; an
// existing file keeps its permission bits, and one that may not be written is refused. A target
// that exists but is not a regular file (a folder, a device) is refused. On failure the temporary
// file is removed and the target is left untouched.
std::optional<FileError> writeFileAtomically(const std::filesystem::path& path,
                                             std::string_view bytes);

} // namespace skerry
