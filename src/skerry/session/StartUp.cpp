#include "skerry/session/StartUp.h"

#include "skerry/session/Settings.h"

namespace skerry {

StartUpOutcome runStartUp(Program& program, Platform& platform, StartUpWindows& windows) {
    using std::chrono::milliseconds;

    if (platform.anotherInstanceRunning()) {
        platform.messageBox("Cannot Run Multiple Copies of Program!", "Previous Instance",
                            MessageIcon::Exclamation, MessageButtons::Ok);
        return StartUpOutcome::AnotherCopyRunning;
    }

    program.ShowXYDefault = true;
    program.data().NoiseRms = 0.01f;
    program.data().NoiseAdded = false;
    program.colours.GoodColor = DefaultGoodColor;
    program.colours.DeletedColor = DefaultDeletedColor;

    windows.showSplash();
    for (int i = 0; i < 100; ++i) {
        platform.processEvents();
    }
    platform.sleep(milliseconds(1750));
    windows.unloadSplash();
    platform.sleep(milliseconds(1000));

    ReadSettings(program, platform);

    windows.loadMainWindow();
    platform.sleep(milliseconds(1000));
    windows.showMainWindow();

    program.data().BlankLoaded = false;
    windows.setMainWindowCaption(ProgramCaption());
    return StartUpOutcome::Running;
}

const std::string& defaultPrinterName(Program& program, Platform& platform) {
    if (!program.DefaultPrinterName) {
        std::string printer = platform.defaultPrinterName();
        // A name read from a registry-style store may carry its terminating NULs.
        for (int i = 0; i < 2 && !printer.empty() && printer.back() == '\0'; ++i) {
            printer.pop_back();
        }
        program.DefaultPrinterName = std::move(printer);
    }
    return *program.DefaultPrinterName;
}

} // namespace skerry
