#include "skerry/ground/Platform.h"

#include <system_error>

#include "skerry/ground/FileSystem.h"

namespace skerry {

void enterFolderOf(const std::string& chosen) {
    std::error_code ignored;
    const auto folder = std::filesystem::absolute(os::pathFromUtf8(chosen), ignored).parent_path();
    if (!folder.empty()) {
        std::filesystem::current_path(folder, ignored);
    }
}

std::optional<std::string> askOpenFile(Platform& platform, const FileDialogRequest& request) {
    auto chosen = platform.openFileDialog(request);
    if (chosen) {
        enterFolderOf(*chosen);
    }
    return chosen;
}

std::optional<std::string> askSaveFile(Platform& platform, const FileDialogRequest& request) {
    auto chosen = platform.saveFileDialog(request);
    if (chosen) {
        enterFolderOf(*chosen);
    }
    return chosen;
}

std::string currentWorkDir() {
    constexpr char separator = std::filesystem::path::preferred_separator;
    std::error_code error;
    std::string dir = os::utf8Of(std::filesystem::current_path(error));
    if (error) {
        dir.clear();
    }
    if (dir.empty() || dir.back() != separator) {
        dir += separator;
    }
    return dir;
}

void changeToWorkDir(const std::string& dir) {
    std::error_code ignored;
    std::filesystem::current_path(os::pathFromUtf8(dir), ignored);
}

bool FileExists(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    const auto entry = os::lookAt(os::pathFromUtf8(path));
    return entry && entry->kind != os::EntryKind::Missing && entry->kind != os::EntryKind::Folder;
}

} // namespace skerry
