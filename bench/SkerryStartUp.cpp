// Skerry's start-up as the program runs it, with the splash window's waits set to zero: it
// quits as soon as the main window is on screen and reports its peak memory.
//   skerry-startup                start-up only
//   skerry-startup --editor SCAN  then File > Get Data on SCAN and Edit > Data (graphically);
//                                 the memory is read once the editor is on screen, and the
//                                 editor's size and its plot image's are reported with it
//   skerry-startup --editor SCAN --run N
//                                 the same with a run of N scans made from SCAN open in the
//                                 editor (bench/BenchRun.h)
#include <QAction>
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "BenchPlatform.h"
#include "BenchRun.h"
#include "BenchWindows.h"
#include "skerry/session/StartUp.h"
#include "skerryui/editor/EditorWindow.h"
#include "skerryui/mainwindow/GuiStartUp.h"
#include "skerryui/mainwindow/MainWindow.h"

namespace {

using skerry::MainWindow;
using skerry::bench::BenchPlatform;

// Chooses File > Get Data and then Edit > Data (graphically) as a user would; the editor is
// modal, so it is left from within its own event loop once it is on screen.
void openEditor(MainWindow& main, BenchPlatform& platform, const std::string& scan,
                skerry::Program& program, int runScans) {
    const skerry::MainWindowState& state = main.model().state();
    platform.fileToOpen = scan;
    main.actionFor(state.GetNewData)->trigger();
    if (main.model().data().PointCount == 0) {
        std::fprintf(stderr, "skerry-startup: %s was not loaded\n", scan.c_str());
        QCoreApplication::exit(1);
        return;
    }
    if (runScans > 1) {
        const auto one = std::make_unique<skerry::DataSet>(program.data());
        skerry::bench::fillRun(program.run, *one, runScans);
    }
    QTimer::singleShot(0, &main, [&main] {
        auto* editor = main.findChild<skerry::EditorWindow*>();
        if (editor == nullptr) {
            std::fprintf(stderr, "skerry-startup: the editor did not open\n");
            QCoreApplication::exit(1);
            return;
        }
        skerry::bench::whenExposed(*editor, [editor] {
            // The sizes the peer's windows take, so that both hold as many pixels.
            std::printf("editor_size %dx%d\nplot_size %dx%d\n", editor->width(), editor->height(),
                        editor->plotImage().width(), editor->plotImage().height());
            skerry::bench::reportPeakMemory();
            editor->reject();
        });
    });
    main.actionFor(state.DoVantor)->trigger();
    QCoreApplication::exit(0);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    skerry::setUpApplication();

    std::string scan;
    int runScans = 1;
    if ((argc == 3 || argc == 5) && std::string(argv[1]) == "--editor") {
        scan = argv[2];
        if (argc == 5 && std::string(argv[3]) == "--run") {
            runScans = std::atoi(argv[4]);
        }
    }
    if (argc != 1 && (scan.empty() || (argc == 5 && runScans < 2))) {
        std::fprintf(stderr, "usage: skerry-startup [--editor SCAN [--run N]]\n");
        return 2;
    }

    BenchPlatform platform;
    skerry::Program program;
    skerry::GuiStartUp windows(program, platform);
    if (skerry::runStartUp(program, platform, windows) != skerry::StartUpOutcome::Running) {
        return 1;
    }
    MainWindow& main = *windows.mainWindow();
    skerry::bench::whenExposed(main, [&main, &platform, &program, scan, runScans] {
        if (scan.empty()) {
            skerry::bench::reportPeakMemory();
            QCoreApplication::exit(0);
        } else {
            openEditor(main, platform, scan, program, runScans);
        }
    });
    return QApplication::exec();
}
