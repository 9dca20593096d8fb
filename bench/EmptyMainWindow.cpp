// The peer of Skerry's start-up and memory figures: an empty Qt main window that quits as soon
// as it is on screen and reports its peak memory.
#include <QApplication>
#include <QMainWindow>

#include "BenchWindows.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.show();
    skerry::bench::whenExposed(window, [] {
        skerry::bench::reportPeakMemory();
        QCoreApplication::exit(0);
    });
    return QApplication::exec();
}
