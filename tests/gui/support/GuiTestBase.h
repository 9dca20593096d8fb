#pragma once

#include <QtTest>
#include <QtWidgets>
#include <filesystem>
#include <memory>

#include "skerryui/editor/EditorWindow.h"
#include "skerryui/mainwindow/MainWindow.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

namespace skerry::test {

inline const std::filesystem::path GuiData = SKERRY_TEST_DATA_DIR "/gui";

// The lines of a UTF-8 text file in GuiData, leaving out empty lines and '#' comment lines.
inline QStringList dataLines(const std::string& name) {
    QFile file(QString::fromStdString((GuiData / name).string()));
    (void)file.open(QIODevice::ReadOnly);
    return QString(file.readAll()).split('\n').filter(QRegularExpression("^[^#]"));
}

// The rows of the current data-driven test from the table "cases.tsv" in GuiData: the lines
// whose first tab-separated field names the test. The second names the row; the others are the
// column "row".
inline void tableRows() {
    QTest::addColumn<QStringList>("row");
    for (const QString& line : dataLines("cases.tsv")) {
        const QStringList fields = line.split('\t');
        if (fields[0] == QTest::currentTestFunction()) {
            QTest::newRow(qPrintable(fields[1])) << fields.mid(2);
        }
    }
}

// What a window shows in words, a line for each of its shown widgets in the order the Tab key
// goes through them: the title, every label, push button, slider, text box and tab, every menu
// of the menu bar with its entries, and every tool button with its tool tip, its name for screen
// readers and whether it has a picture. Texts are quoted; menus, entries and tools note whether
// they are checked, disabled or hidden.
inline QString quoted(const QString& text) {
    return '"' + text + '"';
}
inline QStringList shownTexts(QWidget& window) {
    const auto states = [](const QAction* a) {
        return QString(a->isChecked() ? " checked" : "") + (a->isEnabled() ? "" : " disabled") +
               (a->isVisible() ? "" : " hidden");
    };
    QStringList out{"title " + quoted(window.windowTitle())};
    for (QWidget* w = window.nextInFocusChain(); w != &window; w = w->nextInFocusChain()) {
        if (!w->isVisibleTo(&window)) {
            continue;
        } else if (const auto* bar = qobject_cast<const QMenuBar*>(w)) {
            for (const QAction* menu : bar->actions()) {
                out << "menu " + quoted(menu->text()) + states(menu);
                for (const QAction* a :
                     menu->menu() ? menu->menu()->actions() : QList<QAction*>()) {
                    out << (a->isSeparator() ? "  -" : "  entry " + quoted(a->text()) + states(a));
                }
            }
        } else if (const auto* tool = qobject_cast<const QToolButton*>(w);
                   tool != nullptr && tool->defaultAction() != nullptr) {
            out << "tool " + quoted(tool->toolTip()) + " named " + quoted(tool->accessibleName()) +
                       (tool->icon().isNull() ? " without picture" : "") +
                       states(tool->defaultAction());
        } else if (const auto* label = qobject_cast<const QLabel*>(w)) {
            out << "label " + quoted(label->text());
        } else if (const auto* button = qobject_cast<const QPushButton*>(w)) {
            out << "button " + quoted(button->text()) + (button->isDefault() ? " default" : "");
        } else if (const auto* slider = qobject_cast<const QSlider*>(w)) {
            out << "slider " + quoted(slider->accessibleName()) + ' ' +
                       QString::number(slider->value());
        } else if (const auto* box = qobject_cast<const QLineEdit*>(w)) {
            out << "box " + quoted(box->text());
        } else if (const auto* tabs = qobject_cast<const QTabBar*>(w)) {
            for (int i = 0; i < tabs->count(); ++i) {
                out << "tab " + quoted(tabs->tabText(i));
            }
        }
    }
    return out;
}

// What every window test starts from: a fresh folder as the current directory, with copies of
// the example files and of the files in GuiData (the program writes its temporary files in the
// folder of the last file chosen, which must not be the source tree); a scripted platform with its
// settings in that folder, the program state and a shown, active main window.
class GuiTestBase : public QObject {
public:
    void setUpMainWindow() {
        dir = std::make_unique<TempDir>();
        cwd = std::make_unique<CurrentDirectoryGuard>(dir->path());
        std::filesystem::copy(SKERRY_EXAMPLES_DIR, dir->path());
        std::filesystem::copy(GuiData, dir->path());
        platform = std::make_unique<ScriptedPlatform>();
        platform->settingsDir = dir->path() / "config";
        program = std::make_unique<Program>();
        window = std::make_unique<MainWindow>(*program, *platform);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }
    void tearDownMainWindow() {
        window.reset();
        program.reset();
        platform.reset();
        cwd.reset();
        dir.reset();
    }

    // The action of a menu entry, or of the top menu itself when `entry` is empty.
    QAction* menuEntry(const QString& menu, const QString& entry = {}) const {
        for (QAction* top : window->menuBar()->actions()) {
            if (top->text() == menu && entry.isEmpty()) {
                return top;
            }
            for (QAction* a : top->text() == menu ? top->menu()->actions() : QList<QAction*>()) {
                if (a->text() == entry) {
                    return a;
                }
            }
        }
        return nullptr;
    }

    // File > Get Data with the file dialog answering `path`.
    void getData(const std::string& path) {
        platform->answerDialog(path);
        menuEntry("File", "Get Data")->trigger();
    }

    // Triggers `entry`, whose command opens a modal window of type W, and plays the user on the
    // window with `script` once it is on screen. A window the script leaves open is closed
    // afterwards, so a failed check cannot leave the test waiting. Fails the test when no such
    // window opened.
    template <typename W, typename Script>
    void withModal(QAction* entry, Script script) {
        bool played = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* modal = qobject_cast<W*>(QApplication::activeModalWidget());
            if (modal != nullptr && modal->isVisible()) {
                poll.stop();
                played = true;
                script(*modal);
                if (modal->isVisible()) {
                    modal->reject();
                }
            }
        });
        poll.start(5);
        entry->trigger();
        QVERIFY2(played, "the window did not open");
    }
    // The editor, opened through Edit > Data (graphically).
    template <typename Script>
    void withEditor(Script script) {
        withModal<EditorWindow>(menuEntry("Edit", "Data (graphically)"), script);
    }

protected:
    std::unique_ptr<TempDir> dir;
    std::unique_ptr<CurrentDirectoryGuard> cwd;
    std::unique_ptr<ScriptedPlatform> platform;
    std::unique_ptr<Program> program;
    std::unique_ptr<MainWindow> window;
};

} // namespace skerry::test
