#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "skerry/ground/FileSystem.h"

namespace skerry {

// Reads a whole regular file: its bytes, or why not. Refuses directories and other non-regular
// files, and files larger than maxBytes.
Outcome<std::string> readWholeFile(const std::filesystem::path& path, std::uintmax_t maxBytes);

// Replaces `path` with `bytes` so that at every moment the file holds either its old content or
// the new one: the bytes go to a temporary file in the same folder, are flushed to disk, and the
// temporary file is renamed over the target. A link is followed and its target replaced; an
// existing file keeps its permission bits, and one that may not be written is refused. A target
// that exists but is not a regular file (a folder, a device) is refused. On failure the temporary
// file is removed and the target is left untouched.
Done writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// Puts a new regular file holding `bytes` at `path`, atomically as writeFileAtomically does, in
// place of whatever is there: for the program's own temporary files, which may lie in a folder
// others can write to. A link there is replaced, never followed, so a link planted under the
// temporary file's name cannot make the program write over the file it points to; a file there
// is replaced whatever its permission bits. Only a folder there is refused.
Done writeTemporaryFile(const std::filesystem::path& path, std::string_view bytes);

// Replaces many files, each as writeFileAtomically replaces one, with the flushes grouped for
// speed: add() writes each new file beside its target; commit() flushes them all to disk at
// once, renames each over its target and syncs each folder once. Whatever was added but not
// committed is removed when the batch goes, leaving the targets untouched.
class FileBatch {
public:
    FileBatch() = default;
    FileBatch(const FileBatch&) = delete;
    FileBatch& operator=(const FileBatch&) = delete;
    ~FileBatch();

    Done add(const std::filesystem::path& target, std::string_view bytes);

    struct Unreplaced {
        std::filesystem::path target;
        Failure error;
    };
    // The targets that could not be replaced, with why; the others hold their new bytes.
    std::vector<Unreplaced> commit();

private:
    std::vector<os::StagedFile> staged_;
};

} // namespace skerry
