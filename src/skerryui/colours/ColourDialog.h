#pragma once

#include <QColor>
#include <QDialog>
#include <QWidget>
#include <array>

#include "skerry/colours/ColourDialogModel.h"

class QPushButton;
class QSlider;

namespace skerry {

// A circle outlined in a colour, its inside left as the background.
class ColourPreview : public QWidget {
    Q_OBJECT

public:
    explicit ColourPreview(QWidget* parent) : QWidget(parent) {}

    QColor colour() const { return colour_; }
    void setColour(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_;
};

// "Set Plot Colors", `SetColor`: a column of red, green and blue sliders under a circle preview
// for good points and one for deleted points, with "OK" and "Cancel". The colours change while
// the sliders move; what remains when the dialog closes is for its logic to decide.
class ColourDialog : public QDialog {
    Q_OBJECT

public:
    ColourDialog(ColourDialogModel& model, QWidget* parent);

    // `Slider1`(index), 0..5.
    QSlider* slider(int index) const { return sliders_.at(static_cast<std::size_t>(index)); }
    // `Shape1` (good points) or `Shape2` (deleted points).
    ColourPreview* shape(int which) const { return which == 1 ? shape1_ : shape2_; }
    QPushButton* isOK() const { return isOK_; }
    QPushButton* forgetIt() const { return forgetIt_; }

private:
    void sync();

    ColourDialogModel& model_;
    std::array<QSlider*, ColourDialogModel::SliderCount> sliders_{};
    ColourPreview* shape1_ = nullptr;
    ColourPreview* shape2_ = nullptr;
    QPushButton* isOK_ = nullptr;
    QPushButton* forgetIt_ = nullptr;
};

} // namespace skerry
