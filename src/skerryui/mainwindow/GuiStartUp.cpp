#include "skerryui/mainwindow/GuiStartUp.h"

#include <QApplication>

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

} // namespace skerry
