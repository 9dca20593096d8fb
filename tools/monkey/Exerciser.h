#pragma once

#include <QDir>
#include <QObject>
#include <QStringList>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <random>
#include <string>
#include <thread>

class QFileDialog;
class QWidget;

namespace skerry {

// Plays a hurried, curious user on whatever window of the program is in front: a popup menu, a
// modal dialog, the active window or any other one on screen. It sends seeded random clicks,
// double clicks and drags with every button and modifier, keys, wheel turns and close requests,
// and in file dialogs types paths of files that exist, of files that do not and of a folder,
// all inside the sandbox it was given; file dialogs are kept from leaving it. Every event is
// written to the log as one line before it is sent, so that a crash leaves the last ones behind.
// When the time is up it ends the program's event loops.
class Exerciser : public QObject {
    Q_OBJECT

public:
    Exerciser(std::seed_seq& seed, std::chrono::seconds duration, std::FILE* log,
              const QDir& sandbox);
    ~Exerciser() override;
    Q_DISABLE_COPY_MOVE(Exerciser)

    // Starts the events and the watchdog.
    void start();

private:
    // The description of the event being sent, for the watchdog's report.
    std::string lastEvent() const;
    void tick();
    static bool mainWindowShown();
    QWidget* target();
    void exercise(QWidget& window);
    void click(QWidget& window, bool twice);
    void drag(QWidget& window);
    void key(QWidget& window);
    void wheel(QWidget& window);
    bool pickMenuEntry(QWidget& window);
    void typePath(QFileDialog& dialog);
    void keepInSandbox(QFileDialog& dialog);

    // A point over a random visible part of the window (or anywhere in it), in its coordinates.
    QPoint somewhere(QWidget& window);
    Qt::KeyboardModifiers modifiers();
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }
    // Logs an event sent to `window` (nullptr: to none).
    void note(const QWidget* window, const QString& what);

    std::mt19937 random_;
    std::chrono::steady_clock::time_point end_;
    std::FILE* log_;
    QDir sandbox_;
    QStringList existing_; // files in the sandbox, for typed paths
    long events_ = 0;
    int busyLevel_ = -1; // the event loop level at which an event is being sent; -1: none
    bool ending_ = false;

    mutable std::mutex lastMutex_;
    std::string last_;
    std::atomic<std::int64_t> heartbeat_{0}; // when the GUI thread last ran its event loop, ms
    std::atomic<bool> stopping_{false};
    std::thread watchdog_;
};

} // namespace skerry
