// Plays the README's first session on Skerry's own windows and saves what they show:
//   skerry-screenshots EXAMPLES_DIR OUTPUT_DIR
// writes main-window.png (the example scan loaded), editor.png (the stretches outside the cell
// removed in the editor), editor-undo.png (the last of them undone), colour-dialog.png, and for the
// example run run-main-window.png, run-editor.png and run-suggested.png (before and after "Suggest
// Edits") into OUTPUT_DIR. tools/take-screenshots.sh runs it on a virtual X display.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QShortcut>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "skerry/session/StartUp.h"
#include "skerryui/base/AppIcon.h"
#include "skerryui/colours/ColourDialog.h"
#include "skerryui/editor/EditorWindow.h"
#include "skerryui/mainwindow/GuiStartUp.h"
#include "skerryui/mainwindow/MainWindow.h"
#include "skerryui/platform/QtPlatform.h"

namespace {

using namespace skerry;

// Skerry's Qt platform with the person taken out: the file dialogs are answered from a list,
// the settings live in a folder of their own (so the colours are the defaults), there is one
// printer, the splash window does not wait, and a message box would be a failure.
class SessionPlatform : public QtPlatform {
public:
    explicit SessionPlatform(std::filesystem::path settings) : settings_(std::move(settings)) {}

    std::optional<std::string> openFileDialog(const FileDialogRequest& /*request*/) override {
        return nextAnswer();
    }
    std::optional<std::string> saveFileDialog(const FileDialogRequest& /*request*/) override {
        return nextAnswer();
    }
    MessageAnswer messageBox(std::string_view text, std::string_view /*title*/,
                             MessageIcon /*icon*/, MessageButtons /*buttons*/) override {
        std::fprintf(stderr, "skerry-screenshots: unexpected message: %.*s\n",
                     static_cast<int>(text.size()), text.data());
        QCoreApplication::exit(1);
        return MessageAnswer::Ok;
    }
    void sleep(std::chrono::milliseconds /*duration*/) override {}
    std::string defaultPrinterName() override { return "PDF"; }
    std::vector<std::string> printerNames() override { return {"PDF"}; }
    bool anotherInstanceRunning() override { return false; }
    std::filesystem::path settingsFolder() override { return settings_; }

    std::deque<std::optional<std::string>> answers;

private:
    std::optional<std::string> nextAnswer() {
        if (answers.empty()) {
            return std::nullopt;
        }
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::filesystem::path settings_;
};

// Runs `script` on the modal window of type W that the next command opens, once it has been
// laid out and drawn.
template <typename W>
void whenOpen(const std::function<void(W&)>& script) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, script] {
        auto* modal = qobject_cast<W*>(QApplication::activeModalWidget());
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        // Time for the window manager's resize and the first paint.
        QTimer::singleShot(300, modal, [modal, script] { script(*modal); });
    });
    poll->start(10);
}

bool save(QWidget& window, const QDir& folder, const char* name) {
    const QString path = folder.filePath(QString::fromLatin1(name));
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "skerry-screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

// A plain click of `button` at the data x `x`, halfway up the plot, as the mouse gives it.
void clickAtX(EditorWindow& editor, float x, Qt::MouseButton button) {
    const PlotMapping map = editor.model().mapping();
    const QPointF at(map.column(map.plotX(x)), map.row(50.0));
    QWidget* plot = editor.plotView();
    const QPointF global = plot->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, button, button, Qt::NoModifier);
    QCoreApplication::sendEvent(plot, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, button, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(plot, &release);
}

void moveTo(EditorWindow& editor, QPointF at) {
    QWidget* plot = editor.plotView();
    QMouseEvent move(QEvent::MouseMove, at, plot->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(plot, &move);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Skerry"));
    QApplication::setWindowIcon(applicationIcon());
    if (argc != 3) {
        std::fprintf(stderr, "usage: skerry-screenshots EXAMPLES_DIR OUTPUT_DIR\n");
        return 2;
    }
    // Both made absolute now: choosing a file makes its folder the current directory.
    const std::filesystem::path examples = std::filesystem::absolute(argv[1]);
    const QDir output(QDir(QString::fromLocal8Bit(argv[2])).absolutePath());

    // The session works on a copy, as the README tells: the program writes its working files
    // beside the scan.
    QTemporaryDir work;
    const std::filesystem::path folder(work.path().toStdString());
    const auto scan = folder / "cell1-absorbance.RA1";
    std::error_code error;
    std::filesystem::copy_file(examples / "cell1-absorbance.RA1", scan, error);
    if (error) {
        std::fprintf(stderr, "skerry-screenshots: cannot copy the example scan: %s\n",
                     error.message().c_str());
        return 1;
    }
    std::filesystem::create_directory(folder / "config");
    // A folder name long enough that the tab, which shows a path's last characters, shows no
    // part of the temporary folder's random name.
    std::filesystem::create_directory(folder / "cell1-run");
    std::vector<std::string> runScans;
    for (const auto& entry : std::filesystem::directory_iterator(examples / "run")) {
        const auto copy = folder / "cell1-run" / entry.path().filename();
        std::filesystem::copy_file(entry.path(), copy, error);
        if (error) {
            std::fprintf(stderr, "skerry-screenshots: cannot copy the example run: %s\n",
                         error.message().c_str());
            return 1;
        }
        runScans.push_back(copy.string());
    }
    std::sort(runScans.begin(), runScans.end());

    SessionPlatform platform(folder / "config");
    Program program;
    GuiStartUp windows(program, platform);
    if (runStartUp(program, platform, windows) != StartUpOutcome::Running) {
        return 1;
    }
    MainWindow& main = *windows.mainWindow();
    const MainWindowState& state = main.model().state();

    QTimer::singleShot(300, &main, [&] {
        platform.answers.emplace_back(scan.string());
        main.actionFor(state.GetNewData)->trigger();
        QCoreApplication::processEvents();
        if (!save(main, output, "main-window.png")) {
            QCoreApplication::exit(1);
            return;
        }

        // Edit > Data (graphically): the air before the meniscus and the cell's bottom go.
        whenOpen<EditorWindow>([&](EditorWindow& editor) {
            editor.toolAction(3)->trigger();
            clickAtX(editor, 5.965f, Qt::LeftButton);
            clickAtX(editor, 7.149f, Qt::RightButton);
            moveTo(editor, editor.plotView()->rect().center());
            bool saved = save(editor, output, "editor.png");
            // Ctrl+Z takes the last sweep back and the strip says so.
            for (QShortcut* shortcut : editor.findChildren<QShortcut*>()) {
                if (shortcut->key() == QKeySequence(Qt::CTRL | Qt::Key_Z)) {
                    emit shortcut->activated();
                }
            }
            QCoreApplication::processEvents();
            saved = saved && save(editor, output, "editor-undo.png");
            editor.toolAction(7)->trigger();
            if (!saved) {
                QCoreApplication::exit(1);
            }
        });
        main.actionFor(state.DoVantor)->trigger();

        whenOpen<ColourDialog>([&](ColourDialog& dialog) {
            const bool saved = save(dialog, output, "colour-dialog.png");
            dialog.reject();
            if (!saved) {
                QCoreApplication::exit(1);
            }
        });
        main.actionFor(state.SetColors)->trigger();

        // "Editing a run": the example run dropped on the window, then the editor before and
        // after "Suggest Edits".
        main.openFiles(runScans);
        QCoreApplication::processEvents();
        if (!save(main, output, "run-main-window.png")) {
            QCoreApplication::exit(1);
            return;
        }
        whenOpen<EditorWindow>([&](EditorWindow& editor) {
            moveTo(editor, editor.plotView()->rect().center());
            bool saved = save(editor, output, "run-editor.png");
            editor.toolAction(9)->trigger();
            QCoreApplication::processEvents();
            saved = saved && save(editor, output, "run-suggested.png");
            editor.toolAction(7)->trigger();
            QCoreApplication::exit(saved ? 0 : 1);
        });
        main.actionFor(state.DoVantor)->trigger();
    });
    return QApplication::exec();
}
