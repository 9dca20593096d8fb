// The operating-system seam on Linux and other POSIX systems.
#include "skerry/ground/FileSystem.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace skerry {

namespace {

namespace fs = std::filesystem;

// How many links in a chain are followed before giving up, as the kernel does.
constexpr int kMaxLinkDepth = 40;

Failure errnoError(int errorNumber) {
    return Failure{std::strerror(errorNumber)};
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

os::EntryKind kindOf(mode_t mode) {
    if (S_ISREG(mode)) {
        return os::EntryKind::File;
    }
    return S_ISDIR(mode) ? os::EntryKind::Folder : os::EntryKind::Other;
}

int openFolder(const fs::path& folder) {
    return ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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

Done writeAll(int fd, std::string_view bytes) {
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
    return {};
}

// The permission bits the new file gets, or why the target may not be replaced.
Outcome<mode_t> newFileMode(const fs::path& target, os::Existing existing) {
    struct stat info {};
    if (::lstat(target.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            return static_cast<mode_t>(0666 & ~currentUmask());
        }
        return errnoError(errno);
    }
    if (S_ISDIR(info.st_mode)) {
        return Failure{os::IsFolder};
    }
    if (existing == os::Existing::Replace) {
        return static_cast<mode_t>(0666 & ~currentUmask());
    }
    if (!S_ISREG(info.st_mode)) {
        return Failure{os::NotRegular};
    }
    // A file its owner made read-only stays as it is, although the folder would let a new file
    // take its name.
    if (::access(target.c_str(), W_OK) != 0) {
        return errnoError(errno);
    }
    return static_cast<mode_t>(info.st_mode & 07777);
}

} // namespace

std::optional<FileIdentity> fileIdentity(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return FileIdentity{static_cast<std::uint64_t>(info.st_dev),
                        static_cast<std::uint64_t>(info.st_ino)};
}

namespace os {

// Follows a chain of symbolic links to the path that finally gets replaced. A relative link is
// relative to the folder holding the link, not to the current directory. The end of the chain
// need not exist (a dangling link gets its file created).
Outcome<fs::path> resolveLinks(fs::path path) {
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return path;
        }
        std::error_code error;
        const fs::path target = fs::read_symlink(path, error);
        if (error) {
            return Failure{error.message()};
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    return errnoError(ELOOP);
}

// Linux file names are bytes; the program's UTF-8 text is used as it is.
std::filesystem::path pathFromUtf8(std::string_view name) {
    return std::string(name);
}

std::string utf8Of(const std::filesystem::path& path) {
    return path.native();
}

Outcome<Entry> lookAt(const std::filesystem::path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT) {
            return Entry{};
        }
        return errnoError(errno);
    }
    return Entry{kindOf(info.st_mode), static_cast<std::uintmax_t>(info.st_size)};
}

Outcome<InputFile> InputFile::open(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return errnoError(errno);
    }
    return InputFile(fd);
}

InputFile::InputFile(InputFile&& other) noexcept : handle_(other.handle_) {
    other.handle_ = -1;
}

InputFile::~InputFile() {
    if (handle_ >= 0) {
        ::close(static_cast<int>(handle_));
    }
}

Outcome<Entry> InputFile::look() const {
    struct stat info {};
    if (::fstat(static_cast<int>(handle_), &info) != 0) {
        return errnoError(errno);
    }
    return Entry{kindOf(info.st_mode), static_cast<std::uintmax_t>(info.st_size)};
}

Outcome<std::size_t> InputFile::read(char* buffer, std::size_t size) const {
    while (true) {
        const ssize_t count = ::read(static_cast<int>(handle_), buffer, size);
        if (count >= 0) {
            return static_cast<std::size_t>(count);
        }
        if (errno != EINTR) {
            return errnoError(errno);
        }
    }
}

Outcome<StagedFile> stageBeside(const std::filesystem::path& target, std::string_view bytes,
                                Existing existing, bool flush) {
    const auto mode = newFileMode(target, existing);
    if (!mode) {
        return mode.failure();
    }

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
    const Done written = [&]() -> Done {
        if (::fchmod(fd.get(), *mode) != 0) {
            return errnoError(errno);
        }
        if (Done all = writeAll(fd.get(), bytes); !all) {
            return all;
        }
        if ((flush && ::fsync(fd.get()) != 0) || !fd.close()) {
            return errnoError(errno);
        }
        return {};
    }();
    if (!written) {
        ::unlink(temporary.c_str());
        return written.failure();
    }
    return StagedFile{target, std::move(temporary)};
}

Done moveIntoPlace(const StagedFile& staged) {
    if (::rename(staged.temporary.c_str(), staged.target.c_str()) != 0) {
        Failure failure = errnoError(errno);
        ::unlink(staged.temporary.c_str());
        return failure;
    }
    return {};
}

void discard(const StagedFile& staged) {
    ::unlink(staged.temporary.c_str());
}

void flushStaged(const std::filesystem::path& folder, const std::vector<StagedFile>& files) {
    // One flush of the file system holding the folder puts every new file there on disk; where
    // that cannot be had, each file is flushed on its own.
    const UniqueFd folderFd(openFolder(folder));
    if (folderFd.get() >= 0 && ::syncfs(folderFd.get()) == 0) {
        return;
    }
    for (const StagedFile& file : files) {
        const UniqueFd fd(::open(file.temporary.c_str(), O_RDONLY | O_CLOEXEC));
        if (fd.get() >= 0) {
            ::fsync(fd.get());
        }
    }
}

void syncFolder(const std::filesystem::path& folder) {
    const UniqueFd fd(openFolder(folder));
    if (fd.get() >= 0) {
        ::fsync(fd.get());
    }
}

bool standardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

// POSIX streams have no text mode, and the arguments are the bytes the caller gave.
std::vector<std::string> startCommandLineProgram(int argc, char* argv[]) {
    if (argc < 2) {
        return {};
    }
    return {argv + 1, argv + argc};
}

std::filesystem::path userSettingsFolder() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    if (configHome != nullptr && configHome[0] == '/') {
        return configHome;
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] == '\0') {
        const passwd* account = ::getpwuid(::getuid());
        home = account != nullptr ? account->pw_dir : "/";
    }
    return fs::path(home) / ".config";
}

} // namespace os

} // namespace skerry
