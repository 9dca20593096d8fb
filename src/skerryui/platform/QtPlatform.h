#pragma once

#include <QLockFile>
#include <QStringList>
#include <memory>

#include "skerry/ground/Platform.h"

namespace skerry {

// The platform the program runs on, served by Qt: dialogs and message boxes are Qt's, modal to
// the active window; printers come from the print system.
class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;
    QtPlatform(QtPlatform&&) = delete;
    QtPlatform& operator=(QtPlatform&&) = delete;

    std::optional<std::string> openFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override;
    std::vector<std::string> openFilesDialog(const FileDialogRequest& request) override;
    std::optional<std::string> folderDialog(const std::string& title) override;
    MessageAnswer messageBox(std::string_view text, std::string_view title, MessageIcon icon,
                             MessageButtons buttons) override;
    void sleep(std::chrono::milliseconds duration) override;
    void processEvents() override;
    LocalDateTime now() override;
    std::uint32_t randomSeed() override;
    ScreenSize screenSize() override;
    std::string defaultPrinterName() override;
    std::vector<std::string> printerNames() override;
    Done printPicture(const std::string& printerName, const Picture& picture) override;
    void putPictureOnClipboard(const Picture& picture) override;
    Done saveBitmapFile(const std::string& path, const Picture& picture) override;
    void showBusyPointer(bool busy) override;
    bool anotherInstanceRunning() override;
    std::filesystem::path settingsFolder() override;
    void endProgram(int exitCode) override;

private:
    enum class DialogKind { Open, Save, OpenSeveral };
    // The files chosen in a file dialog of that kind; none when the user cancelled.
    QStringList runFileDialog(const FileDialogRequest& request, DialogKind kind);

    std::unique_ptr<QLockFile> instanceLock_;
};

// Converts a filter of the form "description | pattern" to Qt's "description (pattern)". The
// pattern "*.*" means every file, with or without an extension.
QString qtFileFilter(const std::string& filter);

} // namespace skerry
