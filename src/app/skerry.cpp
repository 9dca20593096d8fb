// Skerry: prepares radial scans of an analytical ultracentrifuge for fitting.
#include <QApplication>
#include <QTimer>
#include <string>
#include <vector>

#include "skerry/session/StartUp.h"
#include "skerryui/mainwindow/GuiStartUp.h"
#include "skerryui/mainwindow/MainWindow.h"
#include "skerryui/platform/QtPlatform.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    skerry::setUpApplication();

    skerry::QtPlatform platform;
    skerry::Program program;
    skerry::GuiStartUp windows(program, platform);
    if (skerry::runStartUp(program, platform, windows) != skerry::StartUpOutcome::Running) {
        return 0;
    }
    // Files named on the command line ("Open with Skerry" passes one) open once the main window
    // is on screen, as if chosen in its File menu.
    std::vector<std::string> files;
    for (const QString& argument : QApplication::arguments().mid(1)) {
        files.push_back(argument.toStdString());
    }
    if (!files.empty()) {
        skerry::MainWindow* mainWindow = windows.mainWindow();
        QTimer::singleShot(0, mainWindow, [mainWindow, files] { mainWindow->openFiles(files); });
    }
    return QApplication::exec();
}
