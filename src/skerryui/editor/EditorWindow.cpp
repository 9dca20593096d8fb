#include "skerryui/editor/EditorWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

#include "skerryui/base/Fonts.h"
#include "skerryui/base/MenuBarKeys.h"
#include "skerryui/base/QtText.h"
#include "skerryui/editor/EditorIcons.h"
#include "skerryui/editor/PlotFiles.h"
#include "skerryui/editor/PlotRenderer.h"
#include "skerryui/export/PictureImage.h"

namespace skerry {

namespace {

const std::array<const char*, EditorButtons> ToolTips{
    "Zoom Using LMB",
    "Remove point at Cursor",
    "Remove points to left or right with LMB or RMB",
    "Restore point at the cursor",
    "Restore points to left or right with LMB or RMB",
    "",
    "Exit and update data set",
    "Discard edit, then exit",
    "Suggest Edits",
};

// The zoom box is on screen while a zoom drag is under way and has moved.
bool zoomBoxShown(const EditorView& v) {
    return v.Zooming && !v.ZoomFresh;
}

MouseButton editorButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return MouseButton::Left;
    case Qt::RightButton:
        return MouseButton::Right;
    case Qt::MiddleButton:
        return MouseButton::Middle;
    default:
        return MouseButton::Other;
    }
}

ModifierKeys editorKeys(Qt::KeyboardModifiers modifiers) {
    return {.shift = modifiers.testFlag(Qt::ShiftModifier),
            .ctrl = modifiers.testFlag(Qt::ControlModifier),
            .alt = modifiers.testFlag(Qt::AltModifier)};
}

} // namespace

PlotView::PlotView(EditorWindow& window) : QWidget(&window), window_(window) {
    setObjectName(QStringLiteral("PlotView"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
    setMinimumSize(100, 100);
}

void PlotView::paintEvent(QPaintEvent* /*event*/) {
    QPainter p(this);
    const QImage& image = window_.plotImage();
    if (image.deviceIndependentSize() != QSizeF(size())) {
        // Not drawn at this size yet (the window was minimized): no remains of other windows.
        p.fillRect(rect(), Qt::white);
    }
    p.drawImage(0, 0, image);
    const EditorModel& m = window_.model();
    const EditorView& v = m.view();
    if (zoomBoxShown(v)) {
        const PlotMapping map = m.mapping();
        p.setPen(QPen(QColor(255, 0, 0), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(QPointF(map.column(v.ZoomX0), map.row(v.ZoomY0)),
                          QPointF(map.column(v.ZoomX1), map.row(v.ZoomY1)))
                       .normalized());
    }
}

void PlotView::resizeEvent(QResizeEvent* /*event*/) {
    window_.plotResized();
}

void PlotView::mousePressEvent(QMouseEvent* event) {
    window_.mouseEvent(QEvent::MouseButtonPress, event->button(), event->modifiers(),
                       event->position());
}

void PlotView::mouseMoveEvent(QMouseEvent* event) {
    window_.mouseEvent(QEvent::MouseMove, Qt::NoButton, event->modifiers(), event->position());
}

void PlotView::mouseReleaseEvent(QMouseEvent* event) {
    window_.mouseEvent(QEvent::MouseButtonRelease, event->button(), event->modifiers(),
                       event->position());
}

EditorWindow::EditorWindow(EditorModel& model, const Program& program, QWidget* parent)
    : QDialog(parent), model_(model), program_(program) {
    setObjectName(QStringLiteral("Vantor"));
    setWindowTitle(QStringLiteral("Skerry"));
    setWindowFlag(Qt::WindowMinMaxButtonsHint);
    QMenuBar* menuBar = makeMenuBar();
    addUndoKeys();
    makeTools();
    plot_ = new PlotView(*this);
    makeReadout();
    layOut(*menuBar);
    model_.setRedrawHandler([this] { redraw(); });
    sync();
}

EditorWindow::~EditorWindow() {
    model_.setRedrawHandler({});
}

QMenuBar* EditorWindow::makeMenuBar() {
    auto* menuBar = new QMenuBar(this);
    zoomOut_ = menuBar->addAction(QStringLiteral("&ZoomOut"));
    zoomOut_->setObjectName(QStringLiteral("Zoomout"));
    connect(zoomOut_, &QAction::triggered, this, [this] { run(&EditorModel::Zoomout_Click); });
    showEm_ = menuBar->addAction(QString());
    showEm_->setObjectName(QStringLiteral("ShowEm"));
    connect(showEm_, &QAction::triggered, this, [this] { run(&EditorModel::ShowEm_Click); });
    addPrinterMenu(*menuBar);
    addCopyMenu(*menuBar);
    new MenuBarKeys(*this, *menuBar);
    return menuBar;
}

void EditorWindow::addPrinterMenu(QMenuBar& menuBar) {
    // The installed printers between two separators, then "Print"; without a printer the whole
    // menu is disabled.
    QMenu* printer = menuBar.addMenu(QStringLiteral("&Printer"));
    printer->setObjectName(QStringLiteral("Dummy1"));
    printer->addSeparator()->setObjectName(QStringLiteral("PrnArray0"));
    const PrinterMenu& printers = model_.view().Printers;
    for (std::size_t i = 0; i < printers.PrnArray.size(); ++i) {
        const int k = static_cast<int>(i) + 1;
        QAction* entry = printer->addAction(menuText(printers.PrnArray[i]));
        entry->setObjectName(QStringLiteral("PrnArray%1").arg(k));
        entry->setCheckable(true);
        connect(entry, &QAction::triggered, this, [this, k] {
            model_.PrnArray_Click(k);
            sync();
        });
        printers_.push_back(entry);
    }
    printer->addSeparator()->setObjectName(QStringLiteral("Dummy0"));
    QAction* print = printer->addAction(QStringLiteral("Print"));
    print->setObjectName(QStringLiteral("PrnPlot"));
    connect(print, &QAction::triggered, this,
            [this] { model_.PrnPlot_Click([this] { return SnapClientArea(*plot_); }); });
    printer->menuAction()->setEnabled(printers.enabled());
}

void EditorWindow::addCopyMenu(QMenuBar& menuBar) {
    // Copying takes the plot as last drawn, without the zoom box.
    QMenu* copy = menuBar.addMenu(QStringLiteral("&Copy"));
    copy->setObjectName(QStringLiteral("Copyit"));
    QAction* clip = copy->addAction(QStringLiteral("To Clipboard"));
    clip->setObjectName(QStringLiteral("ClipPrn"));
    connect(clip, &QAction::triggered, this,
            [this] { model_.ClipPrn_Click(pictureFromImage(image_)); });
    QAction* bitmap = copy->addAction(QStringLiteral("To File (Bitmap)"));
    bitmap->setObjectName(QStringLiteral("SaveBMP"));
    connect(bitmap, &QAction::triggered, this,
            [this] { model_.SaveBMP_Click(pictureFromImage(image_)); });
    // The plot for reports and papers: vector PDF and SVG, and a PNG of twice the window's
    // pixels (or the screen's own, where it has more).
    struct PlotEntry {
        const char* caption;
        const char* name;
        PlotFile format;
    };
    for (const PlotEntry& plotEntry : {PlotEntry{"To File (PDF)", "SavePDF", PlotFile::Pdf},
                                       PlotEntry{"To File (SVG)", "SaveSVG", PlotFile::Svg},
                                       PlotEntry{"To File (PNG)", "SavePNG", PlotFile::Png}}) {
        QAction* entry = copy->addAction(QString::fromLatin1(plotEntry.caption));
        entry->setObjectName(QString::fromLatin1(plotEntry.name));
        const PlotFile format = plotEntry.format;
        connect(entry, &QAction::triggered, this, [this, format] {
            model_.SavePlot_Click(format, [this, format](const std::string& path) {
                return writePlotFile(path, format, model_.view(), plotColors(program_),
                                     plot_->size(),
                                     std::max<qreal>(2.0, plot_->devicePixelRatioF()));
            });
        });
    }
}

void EditorWindow::addUndoKeys() {
    // Undo and redo of changes of points, from the keyboard.
    const auto undo = [this] {
        model_.Undo_Click();
        sync();
    };
    const auto redo = [this] {
        model_.Redo_Click();
        sync();
    };
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this), &QShortcut::activated, this,
            undo);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), this),
            &QShortcut::activated, this, redo);
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y), this), &QShortcut::activated, this,
            redo);
}

void EditorWindow::makeTools() {
    // Buttons 1 to 5 choose the mouse tool, one at a time; 7 and 8 leave the editor; 9 applies
    // the suggestion.
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    for (int button = 1; button <= EditorButtons; ++button) {
        if (button == 6) {
            continue;
        }
        auto* action = new QAction(editorToolIcon(button), QString(), this);
        action->setToolTip(QString::fromLatin1(ToolTips[static_cast<std::size_t>(button - 1)]));
        action->setObjectName(QStringLiteral("Button%1").arg(button));
        if (button <= 5) {
            action->setCheckable(true);
            group->addAction(action);
        }
        connect(action, &QAction::triggered, this, [this, button] {
            model_.Toolbar_ButtonClick(button);
            sync();
            if (model_.view().UnloadRequested) {
                done(model_.view().EditAccepted ? QDialog::Accepted : QDialog::Rejected);
            }
        });
        tools_[static_cast<std::size_t>(button - 1)] = action;
    }
    toolbar1_ = makeToolbar("Toolbar1", LargeToolbarHeight, LargeToolIcon);
    toolbar2_ = makeToolbar("Toolbar2", SmallToolbarHeight, SmallToolIcon);
    const EditorLayout& layout = model_.view().Layout;
    toolbar1_->setVisible(layout.largeToolbar);
    toolbar2_->setVisible(!layout.largeToolbar);
}

void EditorWindow::makeReadout() {
    // The read-out strip: the cursor's data coordinates on the left half.
    const EditorLayout& layout = model_.view().Layout;
    xyCoords_ = new QWidget(this);
    xyCoords_->setObjectName(QStringLiteral("XYCoords"));
    xyCoords_->setAutoFillBackground(true);
    xyCoords_->setFont(serifFont(layout.labelPoints, true));
    xyLabel_ = new QLabel(xyCoords_);
    xyLabel_->setObjectName(QStringLiteral("XYLabel"));
    outFileLbl_ = new QLabel(xyCoords_);
    outFileLbl_->setObjectName(QStringLiteral("OutFileLbl"));
    for (QLabel* label : {xyLabel_, outFileLbl_}) {
        label->setFont(serifFont(layout.labelPoints));
        label->setTextFormat(Qt::PlainText);
    }
    xyCoords_->setFixedHeight(xyLabel_->fontMetrics().height() + 8);
}

void EditorWindow::layOut(QMenuBar& menuBar) {
    const EditorLayout& layout = model_.view().Layout;
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->setMenuBar(&menuBar);
    column->addWidget(toolbar1_);
    column->addWidget(toolbar2_);
    column->addWidget(plot_, 1);
    column->addWidget(xyCoords_);

    // The size asked for is the whole window's; showEvent corrects for the frame once known.
    resize(layout.width, layout.height);
    move(layout.left, layout.top);
}

QToolBar* EditorWindow::makeToolbar(const char* name, int height, int iconSize) {
    auto* bar = new QToolBar(this);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setFixedHeight(height);
    bar->setIconSize(QSize(iconSize, iconSize));
    bar->setMovable(false);
    for (int button = 1; button <= EditorButtons; ++button) {
        if (button == 6) {
            bar->addSeparator();
            continue;
        }
        QAction* action = toolAction(button);
        bar->addAction(action);
        // Screen readers name a button by what its tool tip says it does.
        bar->widgetForAction(action)->setAccessibleName(action->toolTip());
    }
    return bar;
}

QAction* EditorWindow::toolAction(int button) const {
    if (button < 1 || button > EditorButtons) {
        return nullptr;
    }
    return tools_[static_cast<std::size_t>(button - 1)];
}

void EditorWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (placed_) {
        return;
    }
    placed_ = true;
    // Once the window manager has put a frame around the window, the frame takes its share of
    // the outer size that the layout asked for.
    const QSize frame = frameGeometry().size() - geometry().size();
    if (!frame.isEmpty()) {
        const EditorLayout& asked = model_.view().Layout;
        resize(asked.width - frame.width(), asked.height - frame.height());
        move(asked.left, asked.top);
    }
}

void EditorWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        model_.setMinimized(isMinimized());
        if (!isMinimized()) {
            plotResized();
        }
    }
}

void EditorWindow::plotResized() {
    const QRect outer = frameGeometry();
    model_.Form_Resize(plot_->width(), plot_->height(), outer.width(), outer.height());
}

void EditorWindow::layOutReadout() {
    const int half = frameGeometry().width() / 2;
    const int height = xyCoords_->height();
    xyLabel_->setGeometry(0, 0, half, height);
    outFileLbl_->setGeometry(half, 0, static_cast<int>(0.95 * half), height);
}

void EditorWindow::redraw() {
    layOutReadout();
    // The back buffer has the screen's device pixels: sharp on high-density screens.
    const qreal ratio = plot_->devicePixelRatioF();
    if (image_.deviceIndependentSize() != QSizeF(plot_->size()) ||
        image_.devicePixelRatio() != ratio) {
        image_ = makePlotImage(plot_->size(), ratio);
    }
    renderPlot(image_, model_.view(), plotColors(program_));
    plot_->update();
}

void EditorWindow::mouseEvent(QEvent::Type type, Qt::MouseButton button,
                              Qt::KeyboardModifiers modifiers, QPointF position) {
    const PlotMapping map = model_.mapping();
    const auto x = static_cast<float>(map.plotXAtColumn(position.x()));
    const auto y = static_cast<float>(map.plotYAtRow(position.y()));
    const bool boxWasShown = zoomBoxShown(model_.view());
    switch (type) {
    case QEvent::MouseButtonPress:
        model_.Form_MouseDown(editorButton(button), editorKeys(modifiers), x, y);
        break;
    case QEvent::MouseButtonRelease:
        model_.Form_MouseUp(editorButton(button), editorKeys(modifiers), x, y);
        break;
    default:
        model_.Form_MouseMove(x, y);
        break;
    }
    sync();
    // The zoom box follows the drag. A redraw has already asked for a repaint, so a move that
    // neither shows, moves nor hides the box leaves the plot alone: the cursor is tracked even
    // without a button down, and each repaint shows the whole back buffer.
    if (type != QEvent::MouseMove || boxWasShown || zoomBoxShown(model_.view())) {
        plot_->update();
    }
}

void EditorWindow::run(void (EditorModel::*handler)()) {
    (model_.*handler)();
    sync();
}

void EditorWindow::sync() {
    const EditorView& v = model_.view();
    zoomOut_->setEnabled(v.ZoomoutEnabled);
    showEm_->setText(toQString(v.ShowEmCaption));
    xyCoords_->setVisible(v.ShowXY);
    xyLabel_->setText(toQString(v.XYLabel));
    for (int button = 1; button <= 5; ++button) {
        toolAction(button)->setChecked(v.Tool == static_cast<EditorTool>(button));
    }
    for (std::size_t i = 0; i < printers_.size(); ++i) {
        printers_[i]->setChecked(v.Printers.current() == static_cast<int>(i) + 1);
    }
}

} // namespace skerry
