#pragma once

#include <QAction>
#include <QApplication>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "skerryui/editor/EditorWindow.h"
#include "skerryui/mainwindow/MainWindow.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

namespace skerry::test {

// What every window test starts from: a fresh folder as the current directory, a scripted
// platform with its settings in that folder, the program state and a shown main window.
class GuiTestBase : public QObject {
public:
    // Call from the test's init() and cleanup() slots. A test may bring a platform of its own
    // that answers some things otherwise.
    void setUpMainWindow(std::unique_ptr<ScriptedPlatform> own = nullptr);
    void tearDownMainWindow();

    // The action of a menu entry, or of the top menu itself when `entry` is empty; nullptr when
    // there is none.
    QAction* menuEntry(const QString& menu, const QString& entry = {}) const;

    // A copy of an example file in the test's folder (as `as`, a path relative to it): the
    // program writes its temporary files in the folder of the last file chosen, which must not
    // be the source tree.
    std::string copyExample(const std::string& name, const std::string& as = {}) const;

    // File > Get Data with the file dialog answering `path`; std::nullopt cancels it.
    void getData(std::optional<std::string> path);

    // Triggers `action`, whose command opens a modal window of type W, and plays the user on the
    // window with `script` once it is on screen. A window the script leaves open is closed
    // afterwards, so a failed check cannot leave the test waiting. False when no such window
    // opened.
    template <typename W>
    bool withModal(QAction* action, const std::function<void(W&)>& script);

    // Opens the editor through Edit > Data (graphically) and plays the user on it once it is on
    // screen; false when it did not open.
    bool openEditor(const std::function<void(EditorWindow&)>& script);
    // The same, failing the test when the editor did not open.
    void withEditor(const std::function<void(EditorWindow&)>& script);

protected:
    std::unique_ptr<TempDir> dir;
    std::unique_ptr<CurrentDirectoryGuard> cwd;
    std::unique_ptr<ScriptedPlatform> platform;
    std::unique_ptr<Program> program;
    std::unique_ptr<MainWindow> window;

private:
    // withModal for a modal window that `open` brings up.
    template <typename W>
    bool withModalOpenedBy(const std::function<void()>& open,
                           const std::function<void(W&)>& script);
};

template <typename W>
bool GuiTestBase::withModal(QAction* action, const std::function<void(W&)>& script) {
    if (action == nullptr || !action->isEnabled()) {
        return false;
    }
    return withModalOpenedBy<W>([action] { action->trigger(); }, script);
}

template <typename W>
bool GuiTestBase::withModalOpenedBy(const std::function<void()>& open,
                                    const std::function<void(W&)>& script) {
    bool played = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto* modal = qobject_cast<W*>(QApplication::activeModalWidget());
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        poll.stop();
        played = true;
        script(*modal);
        if (modal->isVisible()) {
            modal->reject();
        }
    });
    poll.start(5);
    open();
    return played;
}

} // namespace skerry::test
