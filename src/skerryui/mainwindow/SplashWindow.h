#pragma once

#include <QWidget>

namespace skerry {

// The window shown for a moment while the program starts: its name and purpose, a picture and
// the credits. It has no controls.
class SplashWindow : public QWidget {
    Q_OBJECT

public:
    explicit SplashWindow(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace skerry
