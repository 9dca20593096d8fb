#include "skerry/batch/BatchPlatform.h"

#include <cstdlib>
#include <ctime>
#include <random>
#include <thread>

#include "skerry/ground/FileSystem.h"

namespace skerry {

std::optional<std::string> BatchPlatform::openFileDialog(const FileDialogRequest& /*request*/) {
    return std::nullopt; // as if cancelled
}

std::optional<std::string> BatchPlatform::saveFileDialog(const FileDialogRequest& /*request*/) {
    return std::nullopt;
}

MessageAnswer BatchPlatform::messageBox(std::string_view text, std::string_view /*title*/,
                                        MessageIcon /*icon*/, MessageButtons /*buttons*/) {
    reporter_.say(text);
    return MessageAnswer::Ok;
}

void BatchPlatform::sleep(std::chrono::milliseconds duration) {
    std::this_thread::sleep_for(duration);
}

LocalDateTime BatchPlatform::now() {
    const std::time_t seconds = std::time(nullptr);
    const std::tm local = *std::localtime(&seconds);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
            local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::uint32_t BatchPlatform::randomSeed() {
    return std::random_device()();
}

Done BatchPlatform::printPicture(const std::string& printerName, const Picture& /*picture*/) {
    return Failure{printerName + ": skerry-batch prints nothing"};
}

Done BatchPlatform::saveBitmapFile(const std::string& /*path*/, const Picture& /*picture*/) {
    return Failure{"skerry-batch writes no bitmaps"};
}

std::filesystem::path BatchPlatform::settingsFolder() {
    return os::userSettingsFolder();
}

void BatchPlatform::endProgram(int exitCode) {
    std::exit(exitCode);
}

} // namespace skerry
