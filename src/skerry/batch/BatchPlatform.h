#pragma once

#include "skerry/batch/BatchReporter.h"
#include "skerry/ground/Platform.h"

namespace skerry {

// What skerry-batch offers the code it shares with the window, in place of a desktop: its plots
// are drawn by the editor's logic, which warns (all values of an axis alike) and reads the
// settings through a platform. A message is a line of standard error, and the screen is a fixed
// one, so that the editor's window on it (editorLayout) gives a run's plots the same size on
// every machine. Nobody is there to answer a dialog, and there is no printer or clipboard.
class BatchPlatform final : public Platform {
public:
    explicit BatchPlatform(BatchReporter& reporter) : reporter_(reporter) {}

    // The screen the plots are laid out for: the commonest desktop screen.
    static constexpr ScreenSize Screen{1920, 1080};

    std::optional<std::string> openFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override;
    std::vector<std::string> openFilesDialog(const FileDialogRequest& /*request*/) override {
        return {};
    }
    std::optional<std::string> folderDialog(const std::string& /*title*/) override {
        return std::nullopt;
    }
    MessageAnswer messageBox(std::string_view text, std::string_view title, MessageIcon icon,
                             MessageButtons buttons) override;
    void sleep(std::chrono::milliseconds duration) override;
    void processEvents() override {}
    LocalDateTime now() override;
    std::uint32_t randomSeed() override;
    ScreenSize screenSize() override { return Screen; }
    std::string defaultPrinterName() override { return {}; }
    std::vector<std::string> printerNames() override { return {}; }
    Done printPicture(const std::string& printerName, const Picture& picture) override;
    void putPictureOnClipboard(const Picture& /*picture*/) override {}
    Done saveBitmapFile(const std::string& path, const Picture& picture) override;
    void showBusyPointer(bool /*busy*/) override {}
    bool anotherInstanceRunning() override { return false; }
    std::filesystem::path settingsFolder() override;
    void endProgram(int exitCode) override;

private:
    BatchReporter& reporter_;
};

} // namespace skerry
