// The operating-system seam on Windows: the wide-character calls of the Windows API, with file
// names converted from and to the program's UTF-8.
#include "skerry/ground/FileSystem.h"

#include <algorithm>
#include <random>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

namespace skerry {

namespace {

namespace fs = std::filesystem;

// The standard library knows which Windows errors are the POSIX ones, so that a user reads the
// same words as on Linux ("Permission denied", "No space left on device").
Failure systemError(DWORD code) {
    return Failure{
        std::system_category().default_error_condition(static_cast<int>(code)).message()};
}

Failure lastError() {
    return systemError(GetLastError());
}

bool isMissing(DWORD code) {
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
}

// Closes a handle when it goes out of scope unless it was closed explicitly.
class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept
        : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
    UniqueHandle& operator=(UniqueHandle&&) = delete;
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() {
        if (valid()) {
            CloseHandle(handle_);
        }
    }

    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

    bool close() { return CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE)) != 0; }

private:
    HANDLE handle_;
};

// Opens what the path names, links followed, only to look at it: without access to its bytes,
// so that nothing is locked, and folders included.
UniqueHandle openToLook(const fs::path& path) {
    return UniqueHandle(CreateFileW(path.c_str(), 0,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

Outcome<BY_HANDLE_FILE_INFORMATION> informationOf(HANDLE file) {
    BY_HANDLE_FILE_INFORMATION information{};
    if (GetFileInformationByHandle(file, &information) == 0) {
        return lastError();
    }
    return information;
}

Outcome<os::Entry> entryOf(HANDLE file) {
    // Consoles, pipes and devices are no files on a disk.
    if (GetFileType(file) != FILE_TYPE_DISK) {
        return os::Entry{os::EntryKind::Other, 0};
    }
    const auto info = informationOf(file);
    if (!info) {
        return info.failure();
    }
    if ((info->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return os::Entry{os::EntryKind::Folder, 0};
    }
    return os::Entry{os::EntryKind::File,
                     (std::uintmax_t{info->nFileSizeHigh} << 32) | info->nFileSizeLow};
}

// Whether the file at `target` may be replaced, or why not.
Done mayReplace(const fs::path& target, os::Existing existing) {
    if (existing == os::Existing::Replace) {
        const DWORD attributes = GetFileAttributesW(target.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            // Nothing there; a folder that is missing too is reported when the new file is made.
            return {};
        }
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            return Failure{os::IsFolder};
        }
        // The program's own file is replaced whatever its attributes; a read-only one would
        // refuse the move.
        if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
            SetFileAttributesW(target.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
        }
        return {};
    }
    const UniqueHandle file = openToLook(target);
    if (!file.valid()) {
        const DWORD code = GetLastError();
        return isMissing(code) ? Done() : Done(systemError(code));
    }
    const auto entry = entryOf(file.get());
    if (!entry) {
        return entry.failure();
    }
    switch (entry->kind) {
    case os::EntryKind::Folder:
        return Failure{os::IsFolder};
    case os::EntryKind::Other:
        return Failure{os::NotRegular};
    case os::EntryKind::Missing:
    case os::EntryKind::File:
        break;
    }
    // A file made read-only stays as it is, although the folder would let a new file take its
    // name.
    const auto information = informationOf(file.get());
    if (!information) {
        return information.failure();
    }
    if ((information->dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return systemError(ERROR_ACCESS_DENIED);
    }
    return {};
}

struct NewFile {
    UniqueHandle file;
    fs::path path;
};

// A new file beside the target under a name no other file has: "." and the target's name (cut
// to fit a folder entry), then "." and six random letters or digits.
Outcome<NewFile> createSibling(const fs::path& target) {
    constexpr std::size_t maxNameLength = 255; // UTF-16 units in a folder entry
    constexpr std::size_t suffixLength = 7;
    std::wstring name = target.filename().native();
    if (name.size() > maxNameLength - 1 - suffixLength) {
        name.resize(maxNameLength - 1 - suffixLength);
    }
    constexpr std::wstring_view letters =
        L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, letters.size() - 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::wstring suffix = L".";
        while (suffix.size() < suffixLength) {
            suffix += letters[pick(random)];
        }
        fs::path path = target.parent_path() / (L"." + name + suffix);
        UniqueHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.valid()) {
            return NewFile{std::move(file), std::move(path)};
        }
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) {
            return systemError(code);
        }
    }
    return systemError(ERROR_FILE_EXISTS);
}

Done writeAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1U << 30));
        DWORD written = 0;
        if (WriteFile(file, bytes.data(), chunk, &written, nullptr) == 0) {
            return lastError();
        }
        if (written == 0) {
            return systemError(ERROR_DISK_FULL);
        }
        bytes.remove_prefix(written);
    }
    return {};
}

std::string utf8OfWide(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int wideLength = static_cast<int>(wide.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideLength, text.data(), length, nullptr, nullptr);
    return text;
}

} // namespace

std::optional<FileIdentity> fileIdentity(const std::filesystem::path& path) {
    const UniqueHandle file = openToLook(path);
    if (!file.valid()) {
        return std::nullopt;
    }
    const auto info = informationOf(file.get());
    if (!info) {
        return std::nullopt;
    }
    return FileIdentity{info->dwVolumeSerialNumber,
                        (std::uint64_t{info->nFileIndexHigh} << 32) | info->nFileIndexLow};
}

namespace os {

// The file that a link (a symbolic link or a junction) ends at; any other path as it is. A link
// that leads nowhere is refused.
Outcome<fs::path> resolveLinks(fs::path path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return path;
    }
    const UniqueHandle file = openToLook(path);
    if (!file.valid()) {
        return lastError();
    }
    std::wstring name(MAX_PATH, L'\0');
    while (true) {
        const DWORD length =
            GetFinalPathNameByHandleW(file.get(), name.data(), static_cast<DWORD>(name.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) {
            return lastError();
        }
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        name.resize(length);
    }
    // The answer starts with "\\?\" (or "\\?\UNC\" for a share), a form the rest of the program
    // and the user's messages do without.
    constexpr std::wstring_view share = L"\\\\?\\UNC\\";
    constexpr std::wstring_view local = L"\\\\?\\";
    if (name.starts_with(share)) {
        return fs::path(L"\\\\" + name.substr(share.size()));
    }
    if (name.starts_with(local)) {
        return fs::path(name.substr(local.size()));
    }
    return fs::path(name);
}

std::filesystem::path pathFromUtf8(std::string_view name) {
    if (name.empty()) {
        return {};
    }
    const int nameLength = static_cast<int>(name.size());
    UINT codePage = CP_UTF8;
    int length =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, name.data(), nameLength, nullptr, 0);
    if (length == 0) {
        codePage = CP_ACP;
        length = MultiByteToWideChar(codePage, 0, name.data(), nameLength, nullptr, 0);
    }
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, name.data(), nameLength, wide.data(), length);
    return wide;
}

std::string utf8Of(const std::filesystem::path& path) {
    return utf8OfWide(path.native());
}

Outcome<Entry> lookAt(const std::filesystem::path& path) {
    const UniqueHandle file = openToLook(path);
    if (!file.valid()) {
        const DWORD code = GetLastError();
        if (isMissing(code)) {
            return Entry{};
        }
        return systemError(code);
    }
    return entryOf(file.get());
}

Outcome<InputFile> InputFile::open(const std::filesystem::path& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return lastError();
    }
    return InputFile(reinterpret_cast<std::intptr_t>(file));
}

InputFile::InputFile(InputFile&& other) noexcept
    : handle_(std::exchange(other.handle_, reinterpret_cast<std::intptr_t>(INVALID_HANDLE_VALUE))) {
}

InputFile::~InputFile() {
    const UniqueHandle closing(reinterpret_cast<HANDLE>(handle_));
}

Outcome<Entry> InputFile::look() const {
    return entryOf(reinterpret_cast<HANDLE>(handle_));
}

Outcome<std::size_t> InputFile::read(char* buffer, std::size_t size) const {
    DWORD count = 0;
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(size, 1U << 30));
    if (ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, wanted, &count, nullptr) == 0) {
        const DWORD code = GetLastError();
        if (code == ERROR_HANDLE_EOF || code == ERROR_BROKEN_PIPE) {
            return std::size_t{0};
        }
        return systemError(code);
    }
    return std::size_t{count};
}

Outcome<StagedFile> stageBeside(const std::filesystem::path& target, std::string_view bytes,
                                Existing existing, bool flush) {
    if (Done allowed = mayReplace(target, existing); !allowed) {
        return allowed.failure();
    }
    auto created = createSibling(target);
    if (!created) {
        return created.failure();
    }
    auto& [file, temporary] = *created;

    // Each step runs only when the ones before it succeeded; the first failure is reported.
    const Done written = [&]() -> Done {
        if (Done all = writeAll(file.get(), bytes); !all) {
            return all;
        }
        if ((flush && FlushFileBuffers(file.get()) == 0) || !file.close()) {
            return lastError();
        }
        return {};
    }();
    if (!written) {
        if (file.valid()) {
            file.close();
        }
        DeleteFileW(temporary.c_str());
        return written.failure();
    }
    return StagedFile{target, std::move(temporary)};
}

Done moveIntoPlace(const StagedFile& staged) {
    if (MoveFileExW(staged.temporary.c_str(), staged.target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) == 0) {
        Failure failure = lastError();
        DeleteFileW(staged.temporary.c_str());
        return failure;
    }
    return {};
}

void discard(const StagedFile& staged) {
    DeleteFileW(staged.temporary.c_str());
}

// Windows flushes one file at a time; a whole volume only for an administrator.
void flushStaged(const std::filesystem::path&, const std::vector<StagedFile>& files) {
    for (const StagedFile& staged : files) {
        const UniqueHandle file(CreateFileW(staged.temporary.c_str(), GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                            nullptr));
        if (file.valid()) {
            FlushFileBuffers(file.get());
        }
    }
}

// Each move was written through to the disk before it returned (MOVEFILE_WRITE_THROUGH), and
// Windows has no flush of a folder's entries of its own.
void syncFolder(const std::filesystem::path&) {}

bool standardErrorIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

// The C library's argv is in the system's code page; the wide command line has every name.
std::vector<std::string> startCommandLineProgram(int, char*[]) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> utf8;
    for (int i = 1; i < count; ++i) {
        utf8.push_back(utf8OfWide(arguments[i]));
    }
    LocalFree(arguments);
    return utf8;
}

std::filesystem::path userSettingsFolder() {
    PWSTR appData = nullptr;
    fs::path folder;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &appData))) {
        folder = fs::path(appData) / L"Skerry";
    } else {
        // Without a user profile (a service account) the settings go to the temporary folder
        // rather than the working folder.
        folder = fs::temp_directory_path() / L"Skerry";
    }
    CoTaskMemFree(appData);
    return folder;
}

} // namespace os

} // namespace skerry
