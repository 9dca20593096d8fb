#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace skerry::test {

// A path that also gives the program's UTF-8 file name where a std::string is wanted, as a
// std::filesystem::path does by itself only on POSIX (on Windows it holds UTF-16).
class TestPath : public std::filesystem::path {
public:
    using std::filesystem::path::path;
    TestPath(std::filesystem::path path) : std::filesystem::path(std::move(path)) {}
    operator std::string() const;
};

// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes. Tests that touch files or the current directory work inside one of these.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const TestPath& path() const { return path_; }
    TestPath operator/(std::string_view name) const { return path_ / name; }

    // Writes bytes to a file in the folder and returns its path.
    TestPath write(std::string_view name, std::string_view bytes) const;

    // Copies what a folder holds, with its subfolders, into this one.
    void copyIn(const std::filesystem::path& from) const;

private:
    TestPath path_;
};

// A text naming files, with Windows' separators written as '/' so that one expected text serves
// both systems; unchanged where '/' is the only separator.
std::string withSlashes(std::string text);

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
