#include "skerry/ground/Platform.h"

#include <system_error>

namespace skerry {

void enterFolderOf(const std::string& chosen) {
    std::error_code ignored;
    const auto folder = std::filesystem::absolute(chosen, ignored).parent_path();
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
    std::error_code error;
    std::string dir = std::filesystem::current_path(error).string();
    if (error) {
        dir.clear();
    }
    if (dir.empty() || dir.back() != '/') {
        dir += '/';
    }
    return dir;
}

void changeToWorkDir(const std::string& dir) {
    std::error_code ignored;
    std::filesystem::current_path(dir, ignored);
}

bool FileExists(const std::string& path) {
    std::error_code ignored;
    return !path.empty() && std::filesystem::exists(path, ignored) &&
           !std::filesystem::is_directory(path, ignored);
}

} // namespace skerry
