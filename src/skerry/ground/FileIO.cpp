#include "skerry/ground/FileIO.h"

#include <exception>
#include <map>
#include <system_error>
#include <variant>

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

// Why an entry that is not a regular file cannot be read or replaced; nullopt for a file.
std::optional<FileError> refusalOf(os::EntryKind kind) {
    switch (kind) {
    case os::EntryKind::File:
        return std::nullopt;
    case os::EntryKind::Missing:
        return FileError{std::make_error_code(std::errc::no_such_file_or_directory).message()};
    case os::EntryKind::Folder:
        return FileError{os::IsFolder};
    case os::EntryKind::Other:
        break;
    }
    return FileError{os::NotRegular};
}

// Stages `bytes` beside the file `requested` names, its links followed first with Keep.
std::variant<os::StagedFile, FileError> stage(const fs::path& requested, std::string_view bytes,
                                              os::Existing existing, bool flush) {
    if (existing == os::Existing::Replace) {
        return os::stageBeside(requested, bytes, existing, flush);
    }
    auto resolved = os::resolveLinks(requested);
    if (auto* error = std::get_if<FileError>(&resolved)) {
        return *error;
    }
    return os::stageBeside(std::get<fs::path>(resolved), bytes, existing, flush);
}

// A failure, including one the library reports by throwing (a path it cannot convert, memory),
// comes back as the reason.
std::optional<FileError> replaceFile(const fs::path& requested, std::string_view bytes,
                                     os::Existing existing) {
    try {
        auto staged = stage(requested, bytes, existing, true);
        if (auto* error = std::get_if<FileError>(&staged)) {
            return *error;
        }
        const os::StagedFile& file = std::get<os::StagedFile>(staged);
        if (auto error = os::moveIntoPlace(file)) {
            return error;
        }
        os::syncFolder(file.target.parent_path());
        return std::nullopt;
    } catch (const std::exception& error) {
        return FileError{error.what()};
    }
}

std::variant<std::string, FileError> readRegularFile(const fs::path& path,
                                                     std::uintmax_t maxBytes) {
    // Look before opening: opening a device or a fifo can block or have side effects.
    const auto looked = os::lookAt(path);
    if (const auto* error = std::get_if<FileError>(&looked)) {
        return *error;
    }
    if (auto refusal = refusalOf(std::get<os::Entry>(looked).kind)) {
        return *refusal;
    }
    auto opened = os::InputFile::open(path);
    if (auto* error = std::get_if<FileError>(&opened)) {
        return *error;
    }
    const auto& file = std::get<os::InputFile>(opened);
    // The path may have been replaced since it was looked at; judge what was opened.
    const auto entry = file.look();
    if (const auto* error = std::get_if<FileError>(&entry)) {
        return *error;
    }
    const auto& found = std::get<os::Entry>(entry);
    if (auto refusal = refusalOf(found.kind)) {
        return *refusal;
    }
    const auto tooLarge = FileError{"is larger than " + describeLimit(maxBytes)};
    if (found.size > maxBytes) {
        return tooLarge;
    }

    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(found.size));
    char chunk[65536];
    while (true) {
        const auto count = file.read(chunk, sizeof chunk);
        if (const auto* error = std::get_if<FileError>(&count)) {
            return *error;
        }
        const std::size_t got = std::get<std::size_t>(count);
        if (got == 0) {
            return bytes;
        }
        // The file may grow while it is read.
        if (bytes.size() + got > maxBytes) {
            return tooLarge;
        }
        bytes.append(chunk, got);
    }
}

} // namespace

ReadResult readWholeFile(const std::filesystem::path& path, std::uintmax_t maxBytes) {
    ReadResult result;
    try {
        auto read = readRegularFile(path, maxBytes);
        if (auto* error = std::get_if<FileError>(&read)) {
            result.error = std::move(*error);
        } else {
            result.bytes = std::get<std::string>(std::move(read));
        }
    } catch (const std::exception& error) {
        result.error = FileError{error.what()};
    }
    return result;
}

std::optional<FileError> writeFileAtomically(const std::filesystem::path& path,
                                             std::string_view bytes) {
    return replaceFile(path, bytes, os::Existing::Keep);
}

std::optional<FileError> writeTemporaryFile(const std::filesystem::path& path,
                                            std::string_view bytes) {
    return replaceFile(path, bytes, os::Existing::Replace);
}

FileBatch::~FileBatch() {
    for (const os::StagedFile& file : staged_) {
        os::discard(file);
    }
}

std::optional<FileError> FileBatch::add(const std::filesystem::path& target,
                                        std::string_view bytes) {
    try {
        auto staged = stage(target, bytes, os::Existing::Keep, false);
        if (auto* error = std::get_if<FileError>(&staged)) {
            return *error;
        }
        staged_.push_back(std::get<os::StagedFile>(std::move(staged)));
        return std::nullopt;
    } catch (const std::exception& error) {
        return FileError{error.what()};
    }
}

std::vector<FileBatch::Failure> FileBatch::commit() {
    std::map<fs::path, std::vector<os::StagedFile>> byFolder;
    for (os::StagedFile& file : staged_) {
        byFolder[file.target.parent_path()].push_back(std::move(file));
    }
    staged_.clear();
    std::vector<Failure> failures;
    for (auto& [folder, files] : byFolder) {
        os::flushStaged(folder, files);
        for (const os::StagedFile& file : files) {
            if (auto error = os::moveIntoPlace(file)) {
                failures.push_back({file.target, *error});
            }
        }
        os::syncFolder(folder);
    }
    return failures;
}

} // namespace skerry
