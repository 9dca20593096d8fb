#pragma once

#include <QMainWindow>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "skerry/commands/MainWindowModel.h"
#include "skerry/commands/ModalWindows.h"

class QAction;
class QComboBox;
class QMenu;
class QPlainTextEdit;
class QTabWidget;

namespace skerry {

// The main window: a tab strip of three text panes and the menu bar. It shows the state of the
// main window's command logic and forwards every menu choice to it, and it opens the program's
// modal windows for the commands.
class MainWindow : public QMainWindow, public ModalWindows {
    Q_OBJECT

public:
    MainWindow(Program& program, Platform& platform, QWidget* parent = nullptr);

    MainWindowModel& model() { return model_; }

    // Places the window at a quarter of the free screen space from the left and the top.
    void placeOnScreen(ScreenSize screen);

    // Brings every menu entry, caption and pane in line with the model.
    void sync();

    QAction* actionFor(const MenuEntry& entry) const;
    QTabWidget* tabs() const { return tabs_; }
    QComboBox* scans() const { return scans_; }
    QPlainTextEdit* pane(int index) const { return panes_.at(static_cast<std::size_t>(index)); }

    // Files named on the command line or dropped here: one opens as File > Get Data or Get
    // File(s) From Fit-File would open it, several open as a run.
    void openFiles(const std::vector<std::string>& paths);

    void showEditor(EditorModel& editor) override;
    void showNoiseDialog(NoiseDialogModel& dialog) override;
    void showCommentsDialog(CommentsDialogModel& dialog) override;
    void showColourDialog(ColourDialogModel& dialog) override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    QMenu* addMenu(const MenuEntry& entry);
    QAction* addEntry(QMenu* menu, const MenuEntry& entry, std::function<void()> handler);
    void run(const std::function<void()>& handler);

    MainWindowModel model_;
    // A command is running: it may be waiting in one of its dialogs, whose event loop can still
    // deliver files dragged from that dialog onto this window.
    bool running_ = false;
    QTabWidget* tabs_ = nullptr;
    QWidget* scanBar_ = nullptr; // the scan list and its label
    QComboBox* scans_ = nullptr;
    QStringList shownScans_; // what scans_ lists, so that sync() refills it only when it changed
    std::array<QPlainTextEdit*, 3> panes_{};
    std::array<std::uint64_t, 3> paneRevisions_{};

    struct Binding {
        const MenuEntry* entry;
        QAction* action;
    };
    std::vector<Binding> bindings_;
};

} // namespace skerry
