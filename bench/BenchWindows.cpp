#include "BenchWindows.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <fstream>
#include <string>

namespace skerry::bench {

namespace {

// Waits on the window for its first expose event, then hands over to the event loop.
class ExposeWatcher : public QObject {
public:
    ExposeWatcher(QWindow& window, std::function<void()> then)
        : QObject(&window), window_(window), then_(std::move(then)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Expose && window_.isExposed()) {
            window_.removeEventFilter(this);
            QTimer::singleShot(0, std::move(then_));
            deleteLater();
        }
        return false;
    }

private:
    QWindow& window_;
    std::function<void()> then_;
};

} // namespace

void whenExposed(QWidget& widget, std::function<void()> then) {
    QWindow* window = widget.windowHandle();
    if (window == nullptr || window->isExposed()) {
        QTimer::singleShot(0, std::move(then));
        return;
    }
    window->installEventFilter(new ExposeWatcher(*window, std::move(then)));
}

long peakResidentKilobytes() {
    // The high-water mark of this program's own memory. getrusage's ru_maxrss would not do: it
    // keeps the peak of the process that started this one, from before exec.
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

void reportPeakMemory() {
    std::printf("peak_rss_kb %ld\n", peakResidentKilobytes());
    std::fflush(stdout);
}

} // namespace skerry::bench
