#include "skerryui/colours/ColourDialog.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <cmath>

#include "skerryui/base/Fonts.h"
#include "skerryui/editor/PlotRenderer.h"

namespace skerry {

namespace {

// The dialog is laid out in twips: 15 to the pixel at 96 dots per inch.
int pixels(int twips) {
    return static_cast<int>(std::lround(twips / 15.0));
}

QRect twipsRect(int left, int top, int width, int height) {
    return {pixels(left), pixels(top), pixels(width), pixels(height)};
}

struct LabelPlace {
    const char* text = nullptr;
    qreal points = 0.0;
    QRect place;
};

const LabelPlace labels[] = {
    {"Good Data", 12, twipsRect(240, 108, 1524, 348)},
    {"R", 9.75, twipsRect(216, 1296, 300, 276)},
    {"G", 9.75, twipsRect(216, 1764, 300, 276)},
    {"B", 9.75, twipsRect(216, 2196, 300, 276)},
    {"Deleted Data", 12, twipsRect(2076, 120, 1860, 348)},
    {"R", 9.75, twipsRect(2196, 1296, 300, 276)},
    {"G", 9.75, twipsRect(2208, 1764, 300, 276)},
    {"B", 9.75, twipsRect(2196, 2196, 300, 276)},
};

// Slider1(0..5): the good colour's column top to bottom, then the deleted colour's bottom to top.
const QRect sliderPlaces[] = {
    twipsRect(564, 1260, 972, 396),  twipsRect(564, 1716, 972, 396),
    twipsRect(552, 2172, 972, 396),  twipsRect(2544, 2172, 972, 396),
    twipsRect(2544, 1716, 972, 396), twipsRect(2544, 1260, 972, 396),
};

// What a screen reader says for Slider1(0..5).
const char* const sliderNames[] = {
    "Good Data red",     "Good Data green",    "Good Data blue",
    "Deleted Data blue", "Deleted Data green", "Deleted Data red",
};

// The keyboard goes down the good column, then down the deleted one, then to the buttons.
constexpr int sliderTabOrder[] = {0, 1, 2, 5, 4, 3};

} // namespace

void ColourPreview::setColour(const QColor& colour) {
    if (colour != colour_) {
        colour_ = colour;
        update();
    }
}

void ColourPreview::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    constexpr int penWidth = 2;
    painter.setPen(QPen(colour_, penWidth));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(rect().adjusted(1, 1, -1, -1));
}

ColourDialog::ColourDialog(ColourDialogModel& model, QWidget* parent)
    : QDialog(parent), model_(model) {
    setObjectName(QStringLiteral("SetColor"));
    setWindowTitle(QStringLiteral("Set Plot Colors"));
    setFixedSize(pixels(4080), pixels(3480));
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    setPalette(grey);
    setAutoFillBackground(true);

    for (const LabelPlace& l : labels) {
        auto* label = new QLabel(QString::fromLatin1(l.text), this);
        label->setFont(sansFont(l.points, true));
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setGeometry(l.place);
    }

    shape1_ = new ColourPreview(this);
    shape1_->setObjectName(QStringLiteral("Shape1"));
    shape1_->setGeometry(twipsRect(744, 600, 504, 504));
    shape2_ = new ColourPreview(this);
    shape2_->setObjectName(QStringLiteral("Shape2"));
    shape2_->setGeometry(twipsRect(2760, 600, 504, 504));

    for (int i = 0; i < ColourDialogModel::SliderCount; ++i) {
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setObjectName(QStringLiteral("Slider1_%1").arg(i));
        slider->setRange(0, 255);
        slider->setSingleStep(1);
        slider->setPageStep(5);
        slider->setGeometry(sliderPlaces[i]);
        slider->setAccessibleName(QString::fromLatin1(sliderNames[i]));
        connect(slider, &QSlider::valueChanged, this, [this, i](int value) {
            model_.Slider1_Change(i, value);
            sync();
        });
        sliders_[static_cast<std::size_t>(i)] = slider;
    }

    isOK_ = new QPushButton(QStringLiteral("OK"), this);
    isOK_->setObjectName(QStringLiteral("IsOK"));
    isOK_->setGeometry(twipsRect(540, 2784, 972, 396));
    connect(isOK_, &QPushButton::clicked, this, [this] {
        model_.IsOK_Click();
        accept();
    });
    forgetIt_ = new QPushButton(QStringLiteral("Cancel"), this);
    forgetIt_->setObjectName(QStringLiteral("ForgetIt"));
    forgetIt_->setGeometry(twipsRect(2544, 2784, 972, 396));
    connect(forgetIt_, &QPushButton::clicked, this, [this] {
        model_.ForgetIt_Click();
        reject();
    });
    for (QPushButton* button : {isOK_, forgetIt_}) {
        button->setFont(sansFont(9.75, true));
    }
    // Return keeps the colours, Escape brings the old ones back, as Cancel does.
    isOK_->setDefault(true);
    QWidget* previous = slider(sliderTabOrder[0]);
    for (const int i : sliderTabOrder) {
        setTabOrder(previous, slider(i));
        previous = slider(i);
    }
    setTabOrder(previous, isOK_);
    setTabOrder(isOK_, forgetIt_);

    sync();
}

// Every slider shows its component and both previews their colours. Setting a slider here is no
// change by the user, so a value from the settings file that the slider cannot show stays as
// it is until the user moves that slider.
void ColourDialog::sync() {
    for (int i = 0; i < ColourDialogModel::SliderCount; ++i) {
        QSlider* s = slider(i);
        const QSignalBlocker quiet(s);
        s->setValue(model_.Slider1(i));
    }
    shape1_->setColour(toQColor(model_.Shape1Color()));
    shape2_->setColour(toQColor(model_.Shape2Color()));
}

} // namespace skerry
