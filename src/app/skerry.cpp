// Skerry: prepares radial scans of an analytical ultracentrifuge for fitting.
#include <QApplication>

#include "skerry/session/StartUp.h"
#include "skerryui/base/AppIcon.h"
#include "skerryui/mainwindow/GuiStartUp.h"
#include "skerryui/platform/QtPlatform.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skerry"));
    // Every window shows the program's icon; the desktop matches them to its menu entry.
    QApplication::setWindowIcon(skerry::applicationIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("skerry"));

    skerry::QtPlatform platform;
    skerry::Program program;
    skerry::GuiStartUp windows(program, platform);
    if (skerry::runStartUp(program, platform, windows) != skerry::StartUpOutcome::Running) {
        return 0;
    }
    return QApplication::exec();
}
