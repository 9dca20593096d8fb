#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "skerry/ground/Outcome.h"

namespace skerry {

// Options of an open or save dialog; the values are those of the classic common dialog.
enum FileDialogFlag : unsigned {
    OverwritePrompt = 0x0002, // ask before an existing file is replaced
    PathMustExist = 0x0800,
    FileMustExist = 0x1000,
    CreatePrompt = 0x2000, // ask before a file that does not exist is created
};

struct FileDialogRequest {
    std::string title;            // empty: the platform's own title
    std::string filter;           // "description | pattern", e.g. "Data File | *.*"
    unsigned flags = 0;           // FileDialogFlag bits
    std::string initialName;      // the name shown in the dialog at first
    std::string defaultExtension; // appended to a name typed without one; empty: none
};

enum class MessageIcon { None, Exclamation, Question };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct LocalDateTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

struct ScreenSize {
    int width = 0; // pixels
    int height = 0;
};

// An image of the plot as the platform prints, copies or saves it: width x height pixels, row by
// row from the top, each 0xffRRGGBB.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    friend bool operator==(const Picture&, const Picture&) = default;
};

// Everything the program asks of the desktop it runs on. The program uses a Qt implementation;
// tests use a scripted one that answers dialogs from a queue and records every message, so that
// every command can run end to end without a window or a human.
class Platform {
public:
    virtual ~Platform() = default;

    // Modal file dialogs: the chosen path, or nullopt when the user cancelled.
    virtual std::optional<std::string> openFileDialog(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> saveFileDialog(const FileDialogRequest& request) = 0;
    // An open dialog in which several files may be chosen: the chosen paths, in the order the
    // dialog gives them, or none when the user cancelled.
    virtual std::vector<std::string> openFilesDialog(const FileDialogRequest& request) = 0;
    // A modal dialog that chooses a folder, titled `title`: its path, or nullopt when the user
    // cancelled.
    virtual std::optional<std::string> folderDialog(const std::string& title) = 0;

    // A modal message box with a fixed text and title.
    virtual MessageAnswer messageBox(std::string_view text, std::string_view title,
                                     MessageIcon icon, MessageButtons buttons) = 0;

    // A blocking wait; the user interface is not served meanwhile.
    virtual void sleep(std::chrono::milliseconds duration) = 0;
    // Lets the user interface handle the events that are waiting (drawing a new window).
    virtual void processEvents() = 0;

    virtual LocalDateTime now() = 0;
    virtual std::uint32_t randomSeed() = 0;
    virtual ScreenSize screenSize() = 0;
    virtual std::string defaultPrinterName() = 0;

    // The installed printers' device names in the print system's order; empty without one.
    virtual std::vector<std::string> printerNames() = 0;
    // Prints the picture on the named printer as a document of one page, fitted to the page:
    // done when the page went to the printer, else what went wrong.
    virtual Done printPicture(const std::string& printerName, const Picture& picture) = 0;
    // Replaces what the clipboard holds by the picture, as an image.
    virtual void putPictureOnClipboard(const Picture& picture) = 0;
    // Writes the picture to a file as a Windows bitmap, or tells why it could not.
    virtual Done saveBitmapFile(const std::string& path, const Picture& picture) = 0;
    // The busy mouse pointer over all of the program's windows, or the normal one again.
    virtual void showBusyPointer(bool busy) = 0;

    // True when another copy of the program is already running for this user.
    virtual bool anotherInstanceRunning() = 0;

    // The per-user folder that holds "Skerry.ini".
    virtual std::filesystem::path settingsFolder() = 0;

    // Ends the program at once, with no further questions. The caller returns straight away.
    virtual void endProgram(int exitCode) = 0;
};

// Shows a dialog and, when the user confirms it, makes the chosen file's folder the current
// directory, as the classic common dialog does; relative names later resolve there.
std::optional<std::string> askOpenFile(Platform& platform, const FileDialogRequest& request);
std::optional<std::string> askSaveFile(Platform& platform, const FileDialogRequest& request);

// Makes the folder of a chosen file the current directory, as a confirmed file dialog does.
void enterFolderOf(const std::string& chosen);

// The current directory with exactly one trailing separator of the system ("/" at the root of a
// Unix file system, "C:\\" at a drive root).
std::string currentWorkDir();

// Makes `dir` the current directory; a folder that has gone meanwhile is ignored.
void changeToWorkDir(const std::string& dir);

// True when a directory look-up of the path finds a file (not a folder).
bool FileExists(const std::string& path);

} // namespace skerry
