#include "skerryui/mainwindow/MainWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "skerryui/base/Fonts.h"
#include "skerryui/base/MenuBarKeys.h"
#include "skerryui/base/PaneText.h"
#include "skerryui/base/QtText.h"
#include "skerryui/colours/ColourDialog.h"
#include "skerryui/editor/EditorWindow.h"
#include "skerryui/operations/CommentsDialog.h"
#include "skerryui/operations/NoiseDialog.h"

namespace skerry {

namespace {

// The window's size as designed, in pixels.
constexpr int DesignWidth = 820;
constexpr int DesignHeight = 560;

} // namespace

MainWindow::MainWindow(Program& program, Platform& platform, QWidget* parent)
    : QMainWindow(parent), model_(program, platform, *this) {
    setObjectName(QStringLiteral("Form1"));
    setAcceptDrops(true);
    resize(DesignWidth, DesignHeight);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        auto* pane = new QPlainTextEdit(tabs_);
        pane->setObjectName(QStringLiteral("RichTextBox1_%1").arg(i));
        pane->setReadOnly(true);
        pane->setLineWrapMode(QPlainTextEdit::NoWrap);
        pane->setFont(fixedPitchFont(10));
        panes_[i] = pane;
        tabs_->addTab(pane, QString());
    }
    // The scans of a run above the panes, shown only while a run is open; choosing one makes
    // it current.
    scanBar_ = new QWidget(this);
    scans_ = new QComboBox(scanBar_);
    scans_->setObjectName(QStringLiteral("RunScans"));
    scans_->setAccessibleName(QStringLiteral("Current scan"));
    scans_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    auto* scanLabel = new QLabel(QStringLiteral("&Scan:"), scanBar_);
    scanLabel->setBuddy(scans_);
    auto* scanRow = new QHBoxLayout(scanBar_);
    scanRow->setContentsMargins(6, 4, 6, 2);
    scanRow->addWidget(scanLabel);
    scanRow->addWidget(scans_);
    scanRow->addStretch(1);
    auto* centre = new QWidget(this);
    auto* column = new QVBoxLayout(centre);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(scanBar_);
    column->addWidget(tabs_);
    setCentralWidget(centre);
    connect(scans_, &QComboBox::activated, this, [this](int index) {
        run([this, index] { model_.RunScans_Click(static_cast<std::size_t>(index)); });
    });

    const MainWindowState& s = model_.state();
    QMenu* file = addMenu(s.FileMenu);
    addEntry(file, s.GetNewData, [this] { model_.GetNewData_Click(); });
    addEntry(file, s.UseFitFile, [this] { model_.UseFitFile_Click(); });
    addEntry(file, s.GetBlankData, [this] { model_.GetBlankData_Click(); });
    addEntry(file, s.ClearBlank, [this] { model_.ClearBlank_Click(); });
    addEntry(file, s.GetRun, [this] { model_.GetRun_Click(); });

    QMenu* loaded = addMenu(s.FilesLoaded);
    for (std::size_t i = 0; i < s.DSNames.size(); ++i) {
        const int index = static_cast<int>(i);
        addEntry(loaded, s.DSNames[i], [this, index] {
            model_.DSNames_Click(index);
        })->setCheckable(true);
    }

    QMenu* edit = addMenu(s.EditMenuChoice);
    addEntry(edit, s.DoVantor, [this] { model_.DoVantor_Click(); });
    addEntry(edit, s.EditComment1, [this] { model_.EditComment1_Click(); });
    addEntry(edit, s.InvertC, [this] { model_.InvertC_Click(); });
    addEntry(edit, s.AddNoise, [this] { model_.AddNoise_Click(); });
    addEntry(edit, s.BackItOff, [this] { model_.BackItOff_Click(); });

    QMenu* save = addMenu(s.SaveDataFile);
    addEntry(save, s.SaveComplete, [this] { model_.SaveComplete_Click(); });
    addEntry(save, s.SaveCompleteRSq, [this] { model_.SaveCompleteRSq_Click(); });
    addEntry(save, s.SaveTruncated, [this] { model_.SaveTruncated_Click(); });
    addEntry(save, s.SaveTruncatedRSq, [this] { model_.SaveTruncatedRSq_Click(); });

    // "Set Plot Colors" is a command on the menu bar itself.
    auto* colours = new QAction(this);
    menuBar()->addAction(colours);
    connect(colours, &QAction::triggered, this,
            [this] { run([this] { model_.SetColors_Click(); }); });
    bindings_.push_back({&s.SetColors, colours});
    new MenuBarKeys(*this, *menuBar());

    sync();
}

QMenu* MainWindow::addMenu(const MenuEntry& entry) {
    QMenu* menu = menuBar()->addMenu(QString());
    bindings_.push_back({&entry, menu->menuAction()});
    return menu;
}

QAction* MainWindow::addEntry(QMenu* menu, const MenuEntry& entry, std::function<void()> handler) {
    QAction* action = menu->addAction(QString());
    connect(action, &QAction::triggered, this,
            [this, handler = std::move(handler)] { run(handler); });
    bindings_.push_back({&entry, action});
    return action;
}

void MainWindow::openFiles(const std::vector<std::string>& paths) {
    run([this, &paths] { model_.OpenFiles(paths); });
}

namespace {

// The files among what is dragged: local files only, in the order given.
std::vector<std::string> droppedFiles(const QMimeData* data) {
    std::vector<std::string> files;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            files.push_back(url.toLocalFile().toStdString());
        }
    }
    return files;
}

} // namespace

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!running_ && !droppedFiles(event->mimeData()).empty()) {
        event->acceptProposedAction();
    }
}

void MainWindow::dropEvent(QDropEvent* event) {
    const std::vector<std::string> files = droppedFiles(event->mimeData());
    if (running_ || files.empty()) {
        return;
    }
    event->acceptProposedAction();
    openFiles(files);
}

void MainWindow::run(const std::function<void()>& handler) {
    // One command at a time: a command waiting in a dialog holds on to the program's data, which
    // another command started from that dialog's event loop would replace under it.
    if (running_) {
        return;
    }
    {
        const QScopedValueRollback<bool> running(running_, true);
        handler();
    }
    sync();
}

QAction* MainWindow::actionFor(const MenuEntry& entry) const {
    for (const Binding& b : bindings_) {
        if (b.entry == &entry) {
            return b.action;
        }
    }
    return nullptr;
}

void MainWindow::sync() {
    const MainWindowState& s = model_.state();
    setWindowTitle(toQString(s.caption));
    for (const Binding& b : bindings_) {
        b.action->setText(menuText(b.entry->caption));
        b.action->setEnabled(b.entry->enabled);
        b.action->setVisible(b.entry->visible);
        if (b.action->isCheckable()) {
            b.action->setChecked(b.entry->checked);
        }
    }
    QStringList scans;
    for (const std::string& scan : s.runScans) {
        scans << toQString(scan);
    }
    if (scans != shownScans_) {
        shownScans_ = scans;
        scans_->clear();
        scans_->addItems(scans);
    }
    scans_->setCurrentIndex(scans.isEmpty() ? -1 : static_cast<int>(s.currentScan));
    scanBar_->setVisible(!scans.isEmpty());
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        tabs_->setTabText(static_cast<int>(i), menuText(s.tabCaptions[i]));
        if (paneRevisions_[i] != s.panes[i].revision) {
            paneRevisions_[i] = s.panes[i].revision;
            panes_[i]->setPlainText(paneText(s.panes[i].text));
        }
    }
}

void MainWindow::placeOnScreen(ScreenSize screen) {
    // On a screen smaller than the window, its top left corner stays on the screen.
    move(std::max(0, (screen.width - width()) / 4), std::max(0, (screen.height - height()) / 4));
}

void MainWindow::showEditor(EditorModel& editor) {
    EditorWindow window(editor, model_.program(), this);
    window.exec();
}

void MainWindow::showNoiseDialog(NoiseDialogModel& dialog) {
    NoiseDialog window(dialog, this);
    window.exec();
}

void MainWindow::showCommentsDialog(CommentsDialogModel& dialog) {
    CommentsDialog window(dialog, this);
    window.exec();
}

void MainWindow::showColourDialog(ColourDialogModel& dialog) {
    ColourDialog window(dialog, this);
    window.exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (model_.Form_Unload()) {
        event->accept();
    } else {
        event->ignore();
    }
}

} // namespace skerry
