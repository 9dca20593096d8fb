#include "skerry/ground/FileIO.h"

#include <exception>
#include <map>
#include <system_error>

namespace skerry {

namespace {

namespace fs = std::filesystem;

std::string describeLimit(std::uintmax_t maxBytes) {
    constexpr std::uintmax_t megabyte = std::uintmax_t{1024} * 1024;
    if (maxBytes >= megabyte && maxBytes % megabyte == 0) {
        return std::to_string(maxBytes / megabyte) + " MB";
    }
    return std::to_string(maxBytes) + " bytes";
}

// Whether an entry is a regular file, which can be read or replaced, or why not.
Done isRegularFile(os::EntryKind kind) {
    switch (kind) {
    case os::EntryKind::File:
        return {};
    case os::EntryKind::Missing:
        return Failure{std::make_error_code(std::errc::no_such_file_or_directory).message()};
    case os::EntryKind::Folder:
        return Failure{os::IsFolder};
    case os::EntryKind::Other:
        break;
    }
    return Failure{os::NotRegular};
}

// Stages `bytes` beside the file `requested` names, its links followed first with Keep.
Outcome<os::StagedFile> stage(const fs::path& requested, std::string_view bytes,
                              os::Existing existing, bool flush) {
    if (existing == os::Existing::Replace) {
        return os::stageBeside(requested, bytes, existing, flush);
    }
    const auto resolved = os::resolveLinks(requested);
    if (!resolved) {
        return resolved.failure();
    }
    return os::stageBeside(*resolved, bytes, existing, flush);
}

// A failure, including one the library reports by throwing (a path it cannot convert, memory),
// comes back as the reason.
Done replaceFile(const fs::path& requested, std::string_view bytes, os::Existing existing) {
    try {
        const auto staged = stage(requested, bytes, existing, true);
        if (!staged) {
            return staged.failure();
        }
        if (Done moved = os::moveIntoPlace(*staged); !moved) {
            return moved;
        }
        os::syncFolder(staged->target.parent_path());
        return {};
    } catch (const std::exception& error) {
        return Failure{error.what()};
    }
}

Outcome<std::string> readRegularFile(const fs::path& path, std::uintmax_t maxBytes) {
    // Look before opening: opening a device or a fifo can block or have side effects.
    const auto looked = os::lookAt(path);
    if (!looked) {
        return looked.failure();
    }
    if (Done regular = isRegularFile(looked->kind); !regular) {
        return regular.failure();
    }
    const auto file = os::InputFile::open(path);
    if (!file) {
        return file.failure();
    }
    // The path may have been replaced since it was looked at; judge what was opened.
    const auto found = file->look();
    if (!found) {
        return found.failure();
    }
    if (Done regular = isRegularFile(found->kind); !regular) {
        return regular.failure();
    }
    const auto tooLarge = Failure{"is larger than " + describeLimit(maxBytes)};
    if (found->size > maxBytes) {
        return tooLarge;
    }

    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(found->size));
    char chunk[65536];
    while (true) {
        const auto got = file->read(chunk, sizeof chunk);
        if (!got) {
            return got.failure();
        }
        if (*got == 0) {
            return bytes;
        }
        // The file may grow while it is read.
        if (bytes.size() + *got > maxBytes) {
            return tooLarge;
        }
        bytes.append(chunk, *got);
    }
}

} // namespace

Outcome<std::string> readWholeFile(const std::filesystem::path& path, std::uintmax_t maxBytes) {
    try {
        return readRegularFile(path, maxBytes);
    } catch (const std::exception& error) {
        return Failure{error.what()};
    }
}

Done writeFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    return replaceFile(path, bytes, os::Existing::Keep);
}

Done writeTemporaryFile(const std::filesystem::path& path, std::string_view bytes) {
    return replaceFile(path, bytes, os::Existing::Replace);
}

FileBatch::~FileBatch() {
    for (const os::StagedFile& file : staged_) {
        os::discard(file);
    }
}

Done FileBatch::add(const std::filesystem::path& target, std::string_view bytes) {
    try {
        auto staged = stage(target, bytes, os::Existing::Keep, false);
        if (!staged) {
            return staged.failure();
        }
        staged_.push_back(*std::move(staged));
        return {};
    } catch (const std::exception& error) {
        return Failure{error.what()};
    }
}

std::vector<FileBatch::Unreplaced> FileBatch::commit() {
    std::map<fs::path, std::vector<os::StagedFile>> byFolder;
    for (os::StagedFile& file : staged_) {
        byFolder[file.target.parent_path()].push_back(std::move(file));
    }
    staged_.clear();
    std::vector<Unreplaced> failures;
    for (auto& [folder, files] : byFolder) {
        os::flushStaged(folder, files);
        for (const os::StagedFile& file : files) {
            if (Done moved = os::moveIntoPlace(file); !moved) {
                failures.push_back({file.target, moved.failure()});
            }
        }
        os::syncFolder(folder);
    }
    return failures;
}

} // namespace skerry
