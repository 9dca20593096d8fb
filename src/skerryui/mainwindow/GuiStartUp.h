#pragma once

#include <memory>
#include <string>
#include <vector>

#include "skerry/session/StartUp.h"

namespace skerry {

class MainWindow;
class SplashWindow;

// Names the application, gives every window the program's icon and matches the windows to the
// desktop entry; called once the QApplication exists, before any window is made.
void setUpApplication();

// The whole program once the QApplication exists: start-up, then the files named on the command
// line opened in the main window, then its event loop. Returns the program's exit status.
// `skerry` runs it on the Qt platform; the exerciser of tools/monkey on one with short waits.
int runProgram(Platform& platform, const std::vector<std::string>& files);

// The windows of start-up as Qt widgets: the splash and the main window.
class GuiStartUp : public StartUpWindows {
public:
    GuiStartUp(Program& program, Platform& platform);
    ~GuiStartUp() override;
    GuiStartUp(const GuiStartUp&) = delete;
    GuiStartUp& operator=(const GuiStartUp&) = delete;
    GuiStartUp(GuiStartUp&&) = delete;
    GuiStartUp& operator=(GuiStartUp&&) = delete;

    void showSplash() override;
    void unloadSplash() override;
    void loadMainWindow() override;
    void showMainWindow() override;
    void setMainWindowCaption(const std::string& caption) override;

    MainWindow* mainWindow() const { return mainWindow_.get(); }

private:
    Program& program_;
    Platform& platform_;
    std::unique_ptr<SplashWindow> splash_;
    std::unique_ptr<MainWindow> mainWindow_;
};

} // namespace skerry
