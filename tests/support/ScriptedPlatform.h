#pragma once

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "skerry/ground/Platform.h"

namespace skerry::test {

// A platform for tests: file dialogs are answered from a queue, message boxes are recorded and
// answered from a queue (OK, or Yes when nothing was queued), waits take no time and the clock,
// seed, screen and printers are fixed values a test may change; what is printed, copied or saved
// as a bitmap is recorded.
class ScriptedPlatform : public Platform {
public:
    struct Dialog {
        bool save = false;
        FileDialogRequest request;
    };
    struct PrintJob {
        std::string printer;
        Picture picture;
        bool busyPointer = false; // shown while the page was being printed
    };
    struct Bitmap {
        std::string path;
        Picture picture;
    };
    struct Message {
        std::string text;
        std::string title;
        MessageIcon icon = MessageIcon::None;
        MessageButtons buttons = MessageButtons::Ok;
    };

    // Queues the answer to the next file dialog: a path, or nullopt for Cancel.
    void answerDialog(std::optional<std::string> path) { dialogAnswers.push_back(std::move(path)); }
    // Queues the answer to the next Yes/No message box.
    void answerMessage(MessageAnswer answer) { messageAnswers.push_back(answer); }

    std::optional<std::string> openFileDialog(const FileDialogRequest& request) override;
    std::optional<std::string> saveFileDialog(const FileDialogRequest& request) override;
    // Takes its answer from the same queue: the paths separated by '|', or nullopt for Cancel.
    std::vector<std::string> openFilesDialog(const FileDialogRequest& request) override;
    // Takes its answer from the same queue, recorded as a dialog titled `title`.
    std::optional<std::string> folderDialog(const std::string& title) override;
    MessageAnswer messageBox(std::string_view text, std::string_view title, MessageIcon icon,
                             MessageButtons buttons) override;
    void sleep(std::chrono::milliseconds duration) override { sleeps.push_back(duration); }
    void processEvents() override { ++eventRounds; }
    LocalDateTime now() override { return clock; }
    std::uint32_t randomSeed() override { return seed; }
    ScreenSize screenSize() override { return screen; }
    std::string defaultPrinterName() override { return defaultPrinter; }
    std::vector<std::string> printerNames() override { return printers; }
    Done printPicture(const std::string& printerName, const Picture& picture) override;
    void putPictureOnClipboard(const Picture& picture) override { clipboard.push_back(picture); }
    Done saveBitmapFile(const std::string& path, const Picture& picture) override {
        bitmaps.push_back({path, picture});
        return {};
    }
    void showBusyPointer(bool busy) override { busyPointer = busy; }
    bool anotherInstanceRunning() override { return otherInstance; }
    std::filesystem::path settingsFolder() override { return settingsDir; }
    void endProgram(int exitCode) override { endedWith = exitCode; }

    // Texts of the recorded messages, in order.
    std::vector<std::string> messageTexts() const;

    std::deque<std::optional<std::string>> dialogAnswers;
    // Runs while the next file dialog is open, as its event loop would run other events.
    std::function<void()> whileDialogOpen;
    std::deque<MessageAnswer> messageAnswers;
    std::vector<Dialog> dialogs;
    std::vector<Message> messages;
    std::vector<std::chrono::milliseconds> sleeps;
    int eventRounds = 0;
    LocalDateTime clock{2026, 12, 6, 9, 5, 7};
    std::uint32_t seed = 12345;
    ScreenSize screen{1920, 1080};
    std::string defaultPrinter;
    std::vector<std::string> printers; // device names of the installed printers
    Done printAnswer;                  // what printPicture answers
    std::vector<PrintJob> printed;     // every page printed or attempted
    std::vector<Picture> clipboard;    // every picture put on the clipboard
    std::vector<Bitmap> bitmaps;       // every bitmap file written
    bool busyPointer = false;
    bool otherInstance = false;
    std::filesystem::path settingsDir;
    std::optional<int> endedWith;

private:
    std::optional<std::string> nextDialogAnswer(bool save, const FileDialogRequest& request);
};

} // namespace skerry::test
