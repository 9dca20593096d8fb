#pragma once

#include <QDialog>

#include "skerry/operations/Noise.h"

class QLineEdit;
class QPushButton;

namespace skerry {

// "Add Random Noise": a text box for the RMS level and an OK button, placed over the main window.
// OK with a number closes the dialog and the noise is added; closing it any other way adds
// nothing.
class NoiseDialog : public QDialog {
    Q_OBJECT

public:
    // `mainWindow` is the window the dialog is placed over and modal to.
    NoiseDialog(NoiseDialogModel& model, QWidget* mainWindow);

    QLineEdit* noiseLevel() const { return noiseLevel_; }
    QPushButton* isDone() const { return isDone_; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void IsDone_Click();
    void selectLevel();

    NoiseDialogModel& model_;
    QLineEdit* noiseLevel_ = nullptr;
    QPushButton* isDone_ = nullptr;
};

} // namespace skerry
