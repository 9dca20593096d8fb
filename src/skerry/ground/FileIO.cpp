#include "skerry/ground/FileIO.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <fstream>
#include <map>
#include <system_error>
#include <variant>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace skerry {

namespace {

namespace fs = std::filesystem;

constexpr const char* kIsFolder = "is a folder, not a file";
constexpr const char* kNotRegular = "is not a regular file";

// How many links in a chain are followed before giving up, as the kernel does.
constexpr int kMaxLinkDepth = 40;

FileError errnoError(int errorNumber) {
    return FileError{std::strerror(errorNumber)};
}

// Closes a descriptor when it goes out of scope unless it was closed explicitly.
class UniqueFd {
public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return fd_; }

    // Closes now and reports the result; a close interrupted by a signal has still released
    // the descriptor on Linux, and the data were flushed beforehand, so that counts as success.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 || errno == EINTR;
    }

private:
    int fd_;
};

std::string describeLimit(std::uintmax_t maxBytes) {
    constexpr std::uintmax_t megabyte = std::uintmax_t{1024} * 1024;
    if (maxBytes >= megabyte && maxBytes % megabyte == 0) {
        return std::to_string(maxBytes / megabyte) + " MB";
    }
    return std::to_string(maxBytes) + " bytes";
}

// The process's file creation mask. The status file gives it without changing it; the
// umask() round trip is the fallback for kernels that do not report it.
mode_t currentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) {
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8));
        }
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}


// Follows a chain of symbolic links to the path that finally gets replaced. A relative link is
// relative to the folder holding the link, not to the current directory. The end of the chain
// need not exist (a dangling link gets its file created).
std::variant<fs::path, FileError> resolveLinks(fs::path path) {
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::error_code error;
        const fs::path target = fs::read_symlink(path, error);
        if (error) {
            return FileError{error.message()};
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return errnoError(ELOOP);
}

std::optional<FileError> writeAll(int fd, std::string_view bytes) {
    const char* next = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errnoError(errno);
        }
        if (written == 0) {
            // A regular file that accepts nothing has run out of room.
            return errnoError(ENOSPC);
        }
        next += written;
        left -= static_cast<std::size_t>(written);
    }
    return std::nullopt;
}

// Makes a finished rename durable. Failing here does not undo the replacement, so the result
// is not reported.
void syncFolder(const fs::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// What to do with what is already at the path to be replaced.
enum class Existing {
    Keep,    // follow links; keep the file's permission bits, refuse one that may not be written
    Replace, // a fresh file in place of whatever is there, a link included
};

// The permission bits the new file gets, or why the target may not be replaced.
std::variant<mode_t, FileError> newFileMode(const fs::path& target, Existing existing) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            return static_cast<mode_t>(0666 & ~currentUmask());
        }
        return errnoError(errno);
    }
    if (S_ISDIR(info.st_mode)) {
        return FileError{kIsFolder};
    }
    if (existing == Existing::Replace) {
        return static_cast<mode_t>(0666 & ~currentUmask());
    }
    if (!S_ISREG(info.st_mode)) {
        return FileError{kNotRegular};
    }
    // A file its owner made read-only stays as it is, although the folder would let a new file
    // take its name.
    if (::access(target.c_str(), W_OK) != 0) {
        return errnoError(errno);
    }
    return static_cast<mode_t>(info.st_mode & 07777);
}

using Staged = FileBatch::Staged;

// Writes `bytes` to a new hidden sibling of the target (links resolved first unless `existing`
// says to replace them), flushed to disk when `flush` is set. On failure nothing is left behind.
std::variant<Staged, FileError> stage(const fs::path& requested, std::string_view bytes,
                                      Existing existing, bool flush) {
    fs::path target = requested;
    if (existing == Existing::Keep) {
        auto resolved = resolveLinks(requested);
        if (auto* error = std::get_if<FileError>(&resolved)) {
            return *error;
        }
        target = std::get<fs::path>(std::move(resolved));
    }
    const auto newMode = newFileMode(target, existing);
    if (const auto* error = std::get_if<FileError>(&newMode)) {
        return *error;
    }
    const mode_t mode = std::get<mode_t>(newMode);

    // A hidden sibling of the target, so that the final rename stays within one file system.
    // The name is shortened if needed so that the temporary name still fits a folder entry.
    constexpr std::size_t maxNameLength = 255;
    constexpr std::string_view suffix = ".XXXXXX";
    std::string name = target.filename().string();
    if (name.size() > maxNameLength - 1 - suffix.size()) {
        name.resize(maxNameLength - 1 - suffix.size());
    }
    std::string temporary = (target.parent_path() / ("." + name + std::string(suffix))).string();

    UniqueFd fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        return errnoError(errno);
    }

    // Each step runs only when the ones before it succeeded; the first failure is reported.
    std::optional<FileError> failure = [&]() -> std::optional<FileError> {
        if (::fchmod(fd.get(), mode) != 0) {
            return errnoError(errno);
        }
        if (auto error = writeAll(fd.get(), bytes)) {
            return error;
        }
        if ((flush && ::fsync(fd.get()) != 0) || !fd.close()) {
            return errnoError(errno);
        }
        return std::nullopt;
    }();
    if (failure) {
        ::unlink(temporary.c_str());
        return *failure;
    }
    return Staged{std::move(target), std::move(temporary)};
}

std::optional<FileError> moveIntoPlace(const Staged& staged) {
    if (::rename(staged.temporary.c_str(), staged.target.c_str()) != 0) {
        const FileError error = errnoError(errno);
        ::unlink(staged.temporary.c_str());
        return error;
    }
    return std::nullopt;
}

std::optional<FileError> replaceFile(const fs::path& requested, std::string_view bytes,
                                     Existing existing) {
    auto staged = stage(requested, bytes, existing, true);
    if (auto* error = std::get_if<FileError>(&staged)) {
        return *error;
    }
    const Staged& file = std::get<Staged>(staged);
    if (auto error = moveIntoPlace(file)) {
        return error;
    }
    syncFolder(file.target.parent_path());
    return std::nullopt;
}

} // namespace

ReadResult readWholeFile(const std::filesystem::path& path, std::uintmax_t maxBytes) {
    ReadResult result;
    try {
        // Look before opening: opening a device or a fifo can block or have side effects.
        struct stat info {};
        if (::stat(path.c_str(), &info) != 0) {
            result.error = errnoError(errno);
            return result;
        }
        if (S_ISDIR(info.st_mode)) {
            result.error = FileError{kIsFolder};
            return result;
        }
        if (!S_ISREG(info.st_mode)) {
            result.error = FileError{kNotRegular};
            return result;
        }

        UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
        if (fd.get() < 0) {
            result.error = errnoError(errno);
            return result;
        }
        // The path may have been replaced since it was looked at; judge what was opened.
        if (::fstat(fd.get(), &info) != 0) {
            result.error = errnoError(errno);
            return result;
        }
        if (!S_ISREG(info.st_mode)) {
            result.error = FileError{S_ISDIR(info.st_mode) ? kIsFolder : kNotRegular};
            return result;
        }
        const auto tooLarge = FileError{"is larger than " + describeLimit(maxBytes)};
        if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) {
            result.error = tooLarge;
            return result;
        }

        std::string bytes;
        bytes.reserve(static_cast<std::size_t>(info.st_size));
        char chunk[65536];
        while (true) {
            const ssize_t count = ::read(fd.get(), chunk, sizeof chunk);
            if (count < 0) {
                if (errno == EINTR) {
                    continue;
                }
                result.error = errnoError(errno);
                return result;
            }
            if (count == 0) {
                break;
            }
            // The file may grow while it is read.
            if (bytes.size() + static_cast<std::size_t>(count) > maxBytes) {
                result.error = tooLarge;
                return result;
            }
            bytes.append(chunk, static_cast<std::size_t>(count));
        }
        result.bytes = std::move(bytes);
    } catch (const std::exception& error) {
        result.bytes.clear();
        result.error = FileError{error.what()};
    }
    return result;
}

std::optional<FileError> writeFileAtomically(const std::filesystem::path& path,
                                             std::string_view bytes) {
    try {
        return replaceFile(path, bytes, Existing::Keep);
    } catch (const std::exception& error) {
        return FileError{error.what()};
    }
}

std::optional<FileError> writeTemporaryFile(const std::filesystem::path& path,
                                            std::string_view bytes) {
    try {
        return replaceFile(path, bytes, Existing::Replace);
    } catch (const std::exception& error) {
        return FileError{error.what()};
    }
}

std::optional<FileIdentity> fileIdentity(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

FileBatch::~FileBatch() {
    for (const Staged& file : staged_) {
        ::unlink(file.temporary.c_str());
    }
}

std::optional<FileError> FileBatch::add(const std::filesystem::path& target,
                                        std::string_view bytes) {
    try {
        auto staged = stage(target, bytes, Existing::Keep, false);
        if (auto* error = std::get_if<FileError>(&staged)) {
            return *error;
        }
        staged_.push_back(std::get<Staged>(std::move(staged)));
        return std::nullopt;
    } catch (const std::exception& error) {
        return FileError{error.what()};
    }
}

std::vector<FileBatch::Failure> FileBatch::commit() {
    std::map<fs::path, std::vector<Staged>> byFolder;
    for (Staged& file : staged_) {
        byFolder[file.target.parent_path()].push_back(std::move(file));
    }
    staged_.clear();
    std::vector<Failure> failures;
    for (auto& [folder, files] : byFolder) {
        UniqueFd folderFd(
            ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        // One flush of the file system holding the folder puts every new file there on disk;
        // where that cannot be had, each file is flushed on its own.
        if (folderFd.get() < 0 || ::syncfs(folderFd.get()) != 0) {
            for (const Staged& file : files) {
                UniqueFd fd(::open(file.temporary.c_str(), O_RDONLY | O_CLOEXEC));
                if (fd.get() >= 0) {
                    ::fsync(fd.get());
                }
            }
        }
        for (const Staged& file : files) {
            if (auto error = moveIntoPlace(file)) {
                failures.push_back({file.target, *error});
            }
        }
        if (folderFd.get() >= 0) {
            ::fsync(folderFd.get());
        }
    }
    return failures;
}

} // namespace skerry
