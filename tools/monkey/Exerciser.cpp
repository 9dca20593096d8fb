#include "Exerciser.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <array>
#include <utility>

namespace skerry {

namespace {

using Clock = std::chrono::steady_clock;

// How long the GUI thread may stay away from its event loop after an event.
constexpr std::chrono::seconds AnswerTime(10);

std::int64_t nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
        .count();
}

QString buttonName(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return QStringLiteral("left");
    case Qt::RightButton:
        return QStringLiteral("right");
    case Qt::MiddleButton:
        return QStringLiteral("middle");
    case Qt::BackButton:
        return QStringLiteral("back");
    default:
        return QStringLiteral("forward");
    }
}

QString modifierNames(Qt::KeyboardModifiers modifiers) {
    QString names;
    const std::array<std::pair<Qt::KeyboardModifier, const char*>, 4> all = {
        {{Qt::ShiftModifier, "Shift+"},
         {Qt::ControlModifier, "Ctrl+"},
         {Qt::AltModifier, "Alt+"},
         {Qt::MetaModifier, "Meta+"}}};
    for (const auto& [modifier, name] : all) {
        if (modifiers & modifier) {
            names += QLatin1String(name);
        }
    }
    return names;
}

QString pointText(QPoint p) {
    return QStringLiteral("(%1,%2)").arg(p.x()).arg(p.y());
}

} // namespace

Exerciser::Exerciser(std::seed_seq& seed, std::chrono::seconds duration, std::FILE* log,
                     const QDir& sandbox)
    : random_(seed), end_(Clock::now() + duration), log_(log), sandbox_(sandbox) {
    for (const QString& folder : {sandbox_.path(), sandbox_.filePath(QStringLiteral("run"))}) {
        for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files, QDir::Name)) {
            existing_.push_back(file.absoluteFilePath());
        }
    }
}

Exerciser::~Exerciser() {
    stopping_ = true;
    if (watchdog_.joinable()) {
        watchdog_.join();
    }
}

void Exerciser::start() {
    // The heartbeat runs in every event loop, the nested ones of modal windows included; when it
    // stops, a handler has not come back.
    heartbeat_ = nowMs();
    auto* heartbeat = new QTimer(this);
    connect(heartbeat, &QTimer::timeout, this, [this] { heartbeat_ = nowMs(); });
    heartbeat->start(100);
    watchdog_ = std::thread([this] {
        while (!stopping_) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            if (nowMs() - heartbeat_ > std::chrono::milliseconds(AnswerTime).count()) {
                std::fprintf(stderr, "skerry-monkey: no answer for %lld s after: %s\n",
                             static_cast<long long>(AnswerTime.count()), lastEvent().c_str());
                std::fflush(stderr);
                std::_Exit(3);
            }
        }
    });
    QTimer::singleShot(0, this, &Exerciser::tick);
}

std::string Exerciser::lastEvent() const {
    const std::lock_guard lock(lastMutex_);
    return last_;
}

void Exerciser::tick() {
    if (Clock::now() >= end_) {
        // Time is up: every event loop ends, the modal windows' too; one opened after this
        // returns at once. Repeated until the program is out of its main loop.
        if (!ending_) {
            ending_ = true;
            note(nullptr, QStringLiteral("time is up"));
        }
        QCoreApplication::exit(0);
        QTimer::singleShot(100, this, &Exerciser::tick);
        return;
    }
    // The next event is due whether or not this one opens a modal window, whose own event loop
    // then serves it. QTest lets the waiting events be handled after each one it sends, and may
    // come back here meanwhile; such a tick waits, so that the same seed sends the same events
    // to windows in the same state.
    QTimer::singleShot(1, this, &Exerciser::tick);
    const int level = QThread::currentThread()->loopLevel();
    if (level <= busyLevel_) {
        return;
    }
    const int outer = std::exchange(busyLevel_, level);
    // Whatever is waiting is handled first (layouts, the display's answers), so that the windows
    // are as they will stay; the events start once the main window is on screen.
    QCoreApplication::processEvents();
    if (mainWindowShown()) {
        if (QWidget* window = target()) {
            exercise(*window);
        }
    }
    busyLevel_ = outer;
}

bool Exerciser::mainWindowShown() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [](const QWidget* w) {
        return qobject_cast<const QMainWindow*>(w) != nullptr && w->isVisible();
    });
}

QWidget* Exerciser::target() {
    if (QWidget* popup = QApplication::activePopupWidget(); popup != nullptr && chance(0.9)) {
        return popup;
    }
    if (QWidget* modal = QApplication::activeModalWidget()) {
        return modal;
    }
    if (QWidget* active = QApplication::activeWindow(); active != nullptr && chance(0.8)) {
        return active;
    }
    QWidgetList shown;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->windowHandle() != nullptr) {
            shown.push_back(w);
        }
    }
    return shown.isEmpty() ? nullptr : shown.at(below(static_cast<int>(shown.size())));
}

void Exerciser::exercise(QWidget& window) {
    if (window.windowHandle() == nullptr || !QTest::qWaitForWindowExposed(&window, 1000)) {
        return;
    }
    // The window that gets the events has the keyboard, as a window manager gives it to the
    // window clicked on; the virtual display has none. Shortcuts need it.
    if (!window.isActiveWindow() && !window.windowFlags().testFlag(Qt::Popup)) {
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window, 1000)) {
            return;
        }
    }
    if (auto* dialog = qobject_cast<QFileDialog*>(&window)) {
        keepInSandbox(*dialog);
        if (chance(0.3)) {
            typePath(*dialog);
            return;
        }
    }
    if (chance(0.1) && pickMenuEntry(window)) {
        return;
    }
    const int kind = below(100);
    if (kind < 30) {
        click(window, false);
    } else if (kind < 38) {
        click(window, true);
    } else if (kind < 48) {
        drag(window);
    } else if (kind < 83) {
        key(window);
    } else if (kind < 91) {
        wheel(window);
    } else if (kind < 98 || (qobject_cast<QMainWindow*>(&window) != nullptr && chance(0.85))) {
        // The main window is asked to close less often: answered with Yes, the program ends.
        const QPoint at = somewhere(window);
        note(&window, QStringLiteral("move to %1").arg(pointText(at)));
        QTest::mouseMove(window.windowHandle(), at);
    } else {
        note(&window, QStringLiteral("close request"));
        window.close();
    }
}

// A click on the middle of an entry of an open menu or of the window's menu bar, so that every
// command is chosen now and then; false when there is none.
bool Exerciser::pickMenuEntry(QWidget& window) {
    auto* menu = qobject_cast<QMenu*>(&window);
    auto* bar = window.findChild<QMenuBar*>();
    if (menu == nullptr && (bar == nullptr || !bar->isVisible() || bar->window() != &window)) {
        return false;
    }
    QList<QAction*> entries;
    for (QAction* action : menu != nullptr ? menu->actions() : bar->actions()) {
        if (action->isVisible() && !action->isSeparator()) {
            entries.push_back(action);
        }
    }
    if (entries.isEmpty()) {
        return false;
    }
    QAction* entry = entries.at(below(static_cast<int>(entries.size())));
    const QPoint at = menu != nullptr ? menu->actionGeometry(entry).center()
                                      : bar->mapTo(&window, bar->actionGeometry(entry).center());
    note(&window, QStringLiteral("left click on \"%1\" at %2").arg(entry->text(), pointText(at)));
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    return true;
}

QPoint Exerciser::somewhere(QWidget& window) {
    const QRect whole = window.rect();
    QRect area = whole;
    // The menu bar, the way into most windows, gets a share of its own.
    if (auto* bar = window.findChild<QMenuBar*>();
        bar != nullptr && bar->isVisible() && bar->window() == &window && chance(0.35)) {
        area = QRect(bar->mapTo(&window, QPoint(0, 0)), bar->size());
    } else if (chance(0.6)) {
        const QList<QWidget*> parts = window.findChildren<QWidget*>();
        if (!parts.isEmpty()) {
            const QWidget* part = parts.at(below(static_cast<int>(parts.size())));
            if (part->isVisible() && part->window() == &window) {
                area = QRect(part->mapTo(&window, QPoint(0, 0)), part->size()).intersected(whole);
            }
        }
    }
    if (area.isEmpty()) {
        area = whole;
    }
    return {area.left() + below(std::max(1, area.width())),
            area.top() + below(std::max(1, area.height()))};
}

Qt::KeyboardModifiers Exerciser::modifiers() {
    Qt::KeyboardModifiers held;
    for (const Qt::KeyboardModifier m :
         {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier, Qt::MetaModifier}) {
        if (chance(0.12)) {
            held |= m;
        }
    }
    return held;
}

void Exerciser::click(QWidget& window, bool twice) {
    // Mostly left, then right; every other button now and then.
    static constexpr std::array<Qt::MouseButton, 9> buttons = {
        Qt::LeftButton,  Qt::LeftButton,   Qt::LeftButton, Qt::LeftButton,   Qt::RightButton,
        Qt::RightButton, Qt::MiddleButton, Qt::BackButton, Qt::ForwardButton};
    const Qt::MouseButton button = buttons.at(static_cast<std::size_t>(below(buttons.size())));
    const Qt::KeyboardModifiers held = modifiers();
    const QPoint at = somewhere(window);
    note(&window,
         QStringLiteral("%1%2 %3 at %4")
             .arg(modifierNames(held), buttonName(button),
                  twice ? QStringLiteral("double click") : QStringLiteral("click"), pointText(at)));
    if (twice) {
        QTest::mouseDClick(window.windowHandle(), button, held, at);
    } else {
        QTest::mouseClick(window.windowHandle(), button, held, at);
    }
}

void Exerciser::drag(QWidget& window) {
    const Qt::MouseButton button = chance(0.7) ? Qt::LeftButton : Qt::RightButton;
    const Qt::KeyboardModifiers held = chance(0.7) ? Qt::NoModifier : modifiers();
    const QPoint from = somewhere(window);
    const QPoint to = somewhere(window);
    note(&window,
         QStringLiteral("%1%2 drag from %3 to %4")
             .arg(modifierNames(held), buttonName(button), pointText(from), pointText(to)));
    // The window may close under the drag (a press can open or end a window).
    const QPointer<QWindow> handle = window.windowHandle();
    QTest::mousePress(handle, button, held, from);
    const int steps = 1 + below(4);
    for (int i = 1; i <= steps && handle; ++i) {
        QTest::mouseMove(handle, from + (to - from) * i / steps);
    }
    if (handle) {
        QTest::mouseRelease(handle, button, held, to);
    }
}

void Exerciser::key(QWidget& window) {
    static constexpr std::array<std::pair<Qt::Key, Qt::KeyboardModifiers::Int>, 17> named = {{
        {Qt::Key_Escape, Qt::NoModifier},
        {Qt::Key_Return, Qt::NoModifier},
        {Qt::Key_F10, Qt::NoModifier},
        {Qt::Key_Up, Qt::NoModifier},
        {Qt::Key_Down, Qt::NoModifier},
        {Qt::Key_Left, Qt::NoModifier},
        {Qt::Key_Right, Qt::NoModifier},
        {Qt::Key_Tab, Qt::NoModifier},
        {Qt::Key_Space, Qt::NoModifier},
        {Qt::Key_Backspace, Qt::NoModifier},
        {Qt::Key_Home, Qt::NoModifier},
        {Qt::Key_End, Qt::NoModifier},
        {Qt::Key_Z, Qt::ControlModifier},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier},
        {Qt::Key_Y, Qt::ControlModifier},
        {Qt::Key_A, Qt::ControlModifier},
        {Qt::Key_F4, Qt::AltModifier},
    }};
    Qt::Key key = Qt::Key_A;
    Qt::KeyboardModifiers held;
    if (chance(0.5)) {
        const auto& [k, m] = named.at(static_cast<std::size_t>(below(named.size())));
        key = k;
        held = Qt::KeyboardModifiers(m);
    } else {
        // Letters, digits and a point, alone (typing), with Alt (access keys) or Ctrl.
        static const QString typed = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789.");
        key = static_cast<Qt::Key>(
            typed.at(below(static_cast<int>(typed.size()))).toUpper().unicode());
        const int which = below(10);
        held = which < 6 ? Qt::NoModifier : which < 8 ? Qt::AltModifier : Qt::ControlModifier;
    }
    note(&window,
         QStringLiteral("key %1%2").arg(modifierNames(held), QKeySequence(key).toString()));
    QTest::keyClick(window.windowHandle(), key, held);
}

void Exerciser::wheel(QWidget& window) {
    const QPoint at = somewhere(window);
    const int steps = (1 + below(3)) * (chance(0.5) ? 120 : -120);
    const Qt::KeyboardModifiers held = chance(0.7) ? Qt::NoModifier : modifiers();
    note(&window,
         QStringLiteral("%1wheel %2 at %3").arg(modifierNames(held)).arg(steps).arg(pointText(at)));
    QWidget* under = window.childAt(at);
    QWidget* receiver = under != nullptr ? under : &window;
    const QPointF local = receiver->mapFrom(&window, QPointF(at));
    QWheelEvent event(local, window.mapToGlobal(QPointF(at)), QPoint(), QPoint(0, steps),
                      Qt::NoButton, held, Qt::NoScrollPhase, false);
    QApplication::sendEvent(receiver, &event);
}

// A path typed into the name field and Return: a file that exists, one that does not, or a
// folder, all in the sandbox.
void Exerciser::typePath(QFileDialog& dialog) {
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (name == nullptr || !name->isVisible()) {
        return;
    }
    QString path;
    switch (below(4)) {
    case 0:
    case 1:
        path = existing_.isEmpty() ? sandbox_.path()
                                   : existing_.at(below(static_cast<int>(existing_.size())));
        break;
    case 2:
        path = sandbox_.filePath(chance(0.5) ? QStringLiteral("no-such-scan.RA1")
                                             : QStringLiteral("no-such-folder/scan.dat"));
        break;
    default:
        path = sandbox_.filePath(chance(0.5) ? QStringLiteral("run") : QStringLiteral("."));
        break;
    }
    note(&dialog, QStringLiteral("type path %1").arg(path));
    const QPointer<QLineEdit> field = name;
    field->clear();
    QTest::keyClicks(field, path);
    if (field) {
        QTest::keyClick(field, Qt::Key_Return);
    }
}

// A file dialog may go anywhere the user takes it; here it goes back to the sandbox whenever
// it is outside, so that files are written only where the program was given room.
void Exerciser::keepInSandbox(QFileDialog& dialog) {
    static const char* const guarded = "skerryMonkeyGuarded";
    if (dialog.property(guarded).toBool()) {
        return;
    }
    dialog.setProperty(guarded, true);
    const QString root = sandbox_.canonicalPath();
    dialog.setSidebarUrls({QUrl::fromLocalFile(root)});
    const auto inside = [root](const QString& dir) {
        const QString canonical = QDir(dir).canonicalPath();
        return canonical == root || canonical.startsWith(root + QLatin1Char('/'));
    };
    if (!inside(dialog.directory().path())) {
        dialog.setDirectory(root);
    }
    // The dialog's own file management (new folder, rename, delete) writes where the dialog
    // stands, not where the program writes; what is tested is the program.
    dialog.setOption(QFileDialog::ReadOnly, true);
    const QPointer<QFileDialog> watched = &dialog;
    connect(&dialog, &QFileDialog::directoryEntered, this,
            [watched, root, inside](const QString& dir) {
                if (watched && !inside(dir)) {
                    watched->setDirectory(root);
                }
            });
}

void Exerciser::note(const QWidget* window, const QString& what) {
    ++events_;
    const std::string line = std::to_string(events_) + '\t' +
                             (window != nullptr ? window->metaObject()->className() : "-") + '\t' +
                             what.toStdString();
    {
        const std::lock_guard lock(lastMutex_);
        last_ = line;
    }
    std::fprintf(log_, "%s\n", line.c_str());
    std::fflush(log_);
}

} // namespace skerry
