#include "support/TempDir.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "skerry/ground/FileSystem.h"

namespace skerry::test {

TestPath::operator std::string() const {
    return os::utf8Of(*this);
}

TempDir::TempDir() {
    // A random name that no folder has yet; create_directory() tells whether it was free.
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate =
            std::filesystem::temp_directory_path() / ("skerry-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempDir::~TempDir() {
    std::error_code ignored;
    // Tests may leave read-only folders behind; make them writable so that they can go.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    }
    std::filesystem::remove_all(path_, ignored);
}

TestPath TempDir::write(std::string_view name, std::string_view bytes) const {
    const auto file = path_ / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
}

// Copied file by file: std::filesystem::copy() of a folder fails under MinGW, which takes any
// two files for the same one because Windows gives them no inode numbers.
void TempDir::copyIn(const std::filesystem::path& from) const {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(from)) {
        const auto to = path_ / entry.path().lexically_relative(from);
        if (entry.is_directory()) {
            std::filesystem::create_directory(to);
        } else {
            std::filesystem::copy_file(entry.path(), to);
        }
    }
}

std::string withSlashes(std::string text) {
    if constexpr (std::filesystem::path::preferred_separator == '\\') {
        std::replace(text.begin(), text.end(), '\\', '/');
    }
    return text;
}

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

CurrentDirectoryGuard::CurrentDirectoryGuard(const std::filesystem::path& dir)
    : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
}

CurrentDirectoryGuard::~CurrentDirectoryGuard() {
    std::error_code ignored;
    std::filesystem::current_path(previous_, ignored);
}

} // namespace skerry::test
