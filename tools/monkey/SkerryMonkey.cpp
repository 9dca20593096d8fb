// The window program under seeded random use, for tools/run-monkey.py (make monkey):
//   skerry-monkey SEED START SECONDS LOG SANDBOX [FILE...]
// starts Skerry as `skerry FILE...` starts it, with an exerciser that sends random events for
// SECONDS seconds, drawn from SEED and START (the how-manieth start of the program in one run);
// every event is a line of LOG. It ends with the program's status when the program ends (the
// exit question answered with Yes) or the time is up; with 3 when a window has not answered for
// 10 s, with 4 when Qt reports a broken promise.
#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "Exerciser.h"
#include "skerryui/mainwindow/GuiStartUp.h"
#include "skerryui/platform/QtPlatform.h"

namespace {

// Skerry's own platform, but the splash window does not wait.
class MonkeyPlatform : public skerry::QtPlatform {
public:
    void sleep(std::chrono::milliseconds /*duration*/) override {}
};

QtMessageHandler qtHandler = nullptr;

// Qt's warnings that say a caller broke a promise fail the run.
void watchWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    qtHandler(type, context, message);
    for (const char* promise : {"ASSERT", "QPainter::begin", "Invalid parameter"}) {
        if (message.contains(QLatin1String(promise))) {
            std::fprintf(stderr, "skerry-monkey: Qt reports a broken promise\n");
            std::fflush(stderr);
            std::_Exit(4);
        }
    }
}

} // namespace

int main(int argc, char* argv[]) {
    // Qt's own file dialogs, whose name field takes typed paths, on every desktop.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    skerry::setUpApplication();
    qtHandler = qInstallMessageHandler(watchWarnings);

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() < 6) {
        std::fprintf(stderr, "usage: skerry-monkey SEED START SECONDS LOG SANDBOX [FILE...]\n");
        return 2;
    }
    std::FILE* log = std::fopen(arguments.at(4).toLocal8Bit().constData(), "a");
    if (log == nullptr) {
        std::perror("skerry-monkey: the log");
        return 2;
    }
    std::seed_seq seed{arguments.at(1).toUInt(), arguments.at(2).toUInt()};
    skerry::Exerciser exerciser(seed, std::chrono::seconds(arguments.at(3).toInt()), log,
                                QDir(arguments.at(5)));
    std::vector<std::string> files;
    for (const QString& file : arguments.mid(6)) {
        files.push_back(file.toStdString());
    }
    exerciser.start();
    MonkeyPlatform platform;
    const int status = skerry::runProgram(platform, files);
    std::fclose(log);
    return status;
}
