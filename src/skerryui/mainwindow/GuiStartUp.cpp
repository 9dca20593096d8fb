#include "skerryui/mainwindow/GuiStartUp.h"

#include <QApplication>
#include <QTimer>

#include "skerryui/base/AppIcon.h"
#include "skerryui/mainwindow/MainWindow.h"
#include "skerryui/mainwindow/SplashWindow.h"

namespace skerry {

void setUpApplication() {
    QApplication::setApplicationName(QStringLiteral("Skerry"));
    QApplication::setWindowIcon(applicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("skerry"));
}

GuiStartUp::GuiStartUp(Program& program, Platform& platform)
    : program_(program), platform_(platform) {}

GuiStartUp::~GuiStartUp() = default;

void GuiStartUp::showSplash() {
    splash_ = std::make_unique<SplashWindow>();
    const ScreenSize screen = platform_.screenSize();
    splash_->move((screen.width - splash_->width()) / 4, (screen.height - splash_->height()) / 4);
    splash_->show();
}

void GuiStartUp::unloadSplash() {
    splash_.reset();
}

void GuiStartUp::loadMainWindow() {
    mainWindow_ = std::make_unique<MainWindow>(program_, platform_);
    mainWindow_->placeOnScreen(platform_.screenSize());
}

void GuiStartUp::showMainWindow() {
    mainWindow_->show();
}

void GuiStartUp::setMainWindowCaption(const std::string& caption) {
    mainWindow_->model().setCaption(caption);
    mainWindow_->sync();
}

int runProgram(Platform& platform, const std::vector<std::string>& files) {
    Program program;
    GuiStartUp windows(program, platform);
    if (runStartUp(program, platform, windows) != StartUpOutcome::Running) {
        return 0;
    }
    // Files named on the command line ("Open with Skerry" passes one) open once the main window
    // is on screen, as if chosen in its File menu.
    if (!files.empty()) {
        MainWindow* mainWindow = windows.mainWindow();
        QTimer::singleShot(0, mainWindow, [mainWindow, files] { mainWindow->openFiles(files); });
    }
    return QApplication::exec();
}

} // namespace skerry
