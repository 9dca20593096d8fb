#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace skerry::test {

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes. Tests that touch files or the current directory work inside one of these.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

    // Writes bytes to a file in the folder and returns its path.
    std::filesystem::path write(std::string_view name, std::string_view bytes) const;

private:
    std::filesystem::path path_;
};

// Reads a whole file as bytes; an empty string when it cannot be read.
std::string readBytes(const std::filesystem::path& path);

// Makes a folder the current directory for the lifetime of the object.
class CurrentDirectoryGuard {
public:
    explicit CurrentDirectoryGuard(const std::filesystem::path& dir);
    ~CurrentDirectoryGuard();
    CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
    CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

private:
    std::filesystem::path previous_;
};

} // namespace skerry::test
