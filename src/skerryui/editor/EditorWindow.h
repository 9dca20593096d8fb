#pragma once

#include <QDialog>
#include <QEvent>
#include <QImage>
#include <QWidget>
#include <array>
#include <vector>

#include "skerry/editor/EditorModel.h"
#include "skerry/session/Program.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;
class QToolBar;

namespace skerry {

class EditorWindow;

// The editor's client area: shows the plot as last drawn and the zoom box over it, and hands
// its mouse events and size changes to the window.
class PlotView : public QWidget {
    Q_OBJECT

public:
    explicit PlotView(EditorWindow& window);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    EditorWindow& window_;
};

// The graphical editor, `Vantor`: menu bar, toolbar, the plot and the read-out strip. It turns
// the user's actions into calls of the editor's logic and shows the results; the plot is drawn
// into a back buffer whenever the logic redraws, and painting only shows that image.
class EditorWindow : public QDialog {
    Q_OBJECT

public:
    EditorWindow(EditorModel& model, const Program& program, QWidget* parent = nullptr);
    ~EditorWindow() override;
    Q_DISABLE_COPY_MOVE(EditorWindow)

    EditorModel& model() { return model_; }
    // The plot as last drawn, at the client area's size in the screen's device pixels.
    const QImage& plotImage() const { return image_; }
    PlotView* plotView() const { return plot_; }

    // Toolbar button 1..9 (6 is the separator and has none).
    QAction* toolAction(int button) const;
    QToolBar* toolbar(int which) const { return which == 1 ? toolbar1_ : toolbar2_; }
    QAction* zoomOutAction() const { return zoomOut_; }
    QLabel* xyLabel() const { return xyLabel_; }
    QWidget* xyCoords() const { return xyCoords_; }

    // Event forwarding from the plot.
    void plotResized();
    void mouseEvent(QEvent::Type type, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                    QPointF position);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The parts of the window, made in this order by the constructor.
    QMenuBar* makeMenuBar();
    void addPrinterMenu(QMenuBar& menuBar);
    void addCopyMenu(QMenuBar& menuBar);
    void addUndoKeys();
    void makeTools();
    void makeReadout();
    void layOut(QMenuBar& menuBar);
    QToolBar* makeToolbar(const char* name, int height, int iconSize);
    void redraw();
    void layOutReadout();
    void run(void (EditorModel::*handler)());
    void sync();

    EditorModel& model_;
    const Program& program_;
    QImage image_;
    PlotView* plot_ = nullptr;
    QToolBar* toolbar1_ = nullptr;
    QToolBar* toolbar2_ = nullptr;
    std::array<QAction*, EditorButtons> tools_{};
    std::vector<QAction*> printers_; // PrnArray(1..n)
    QAction* zoomOut_ = nullptr;
    QAction* showEm_ = nullptr;
    QWidget* xyCoords_ = nullptr;
    QLabel* xyLabel_ = nullptr;
    QLabel* outFileLbl_ = nullptr;
    bool placed_ = false;
};

} // namespace skerry
