// Skerry: prepares radial scans of an analytical ultracentrifuge for fitting.
#include <QApplication>
#include <string>
#include <vector>

#include "skerryui/mainwindow/GuiStartUp.h"
#include "skerryui/platform/QtPlatform.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    skerry::setUpApplication();

    std::vector<std::string> files;
    for (const QString& argument : QApplication::arguments().mid(1)) {
        files.push_back(argument.toStdString());
    }
    skerry::QtPlatform platform;
    return skerry::runProgram(platform, files);
}
