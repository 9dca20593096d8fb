#pragma once

#include "skerry/ground/Platform.h"
#include "skerry/session/Program.h"

namespace skerry {

// The windows start-up shows, provided by the user interface.
class StartUpWindows {
public:
    virtual ~StartUpWindows() = default;
    virtual void showSplash() = 0; // shown without blocking
    virtual void unloadSplash() = 0;
    virtual void loadMainWindow() = 0; // created and placed, not yet shown
    virtual void showMainWindow() = 0; // shown without blocking
    virtual void setMainWindowCaption(const std::string& caption) = 0;
};

enum class StartUpOutcome { Running, AnotherCopyRunning };

// Start-up up to the running main window: refuses a second copy (before anything is touched),
// sets the start values, shows the splash for its fixed time, reads the settings and shows the
// main window. The waits go through the platform, so tests run
// them in no time.
StartUpOutcome runStartUp(Program& program, Platform& platform, StartUpWindows& windows);

// The print system's default printer, asked for on the first call and kept for the run.
const std::string& defaultPrinterName(Program& program, Platform& platform);

} // namespace skerry
