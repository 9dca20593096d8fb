// Skerry: prepares radial scans of an analytical ultracentrifuge for fitting.
#include <QApplication>

#include "skerry/session/StartUp.h"
#include "skerryui/mainwindow/GuiStartUp.h"
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
    return QApplication::exec();
}
