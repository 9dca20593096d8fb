#include "skerryui/operations/NoiseDialog.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "skerryui/base/Fonts.h"

namespace skerry {

NoiseDialog::NoiseDialog(NoiseDialogModel& model, QWidget* mainWindow)
    : QDialog(mainWindow), model_(model) {
    setObjectName(QStringLiteral("AddIt"));
    setWindowTitle(QStringLiteral("Add Random Noise"));
    setFont(sansFont(9));

    auto* label = new QLabel(QStringLiteral("Enter RMS Noise Level"), this);
    label->setObjectName(QStringLiteral("Label1"));
    noiseLevel_ = new QLineEdit(this);
    noiseLevel_->setObjectName(QStringLiteral("NoiseLevel"));
    noiseLevel_->setMinimumWidth(150);
    noiseLevel_->installEventFilter(this);
    isDone_ = new QPushButton(QStringLiteral("&OK"), this);
    isDone_->setObjectName(QStringLiteral("IsDone"));
    isDone_->setDefault(true);
    connect(isDone_, &QPushButton::clicked, this, [this] { IsDone_Click(); });

    auto* row = new QHBoxLayout;
    row->addWidget(noiseLevel_, 1);
    row->addSpacing(12);
    row->addWidget(isDone_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(row);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    adjustSize();
    const QRect main = mainWindow->frameGeometry();
    const WindowPosition place =
        model_.Form_Load({main.x(), main.y(), main.width(), main.height()}, width());
    noiseLevel_->setText(QString::fromStdString(model_.NoiseLevel()));
    move(place.left, place.top);
}

void NoiseDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    noiseLevel_->setFocus(Qt::OtherFocusReason);
    selectLevel();
}

// Whenever the text box gets the focus, its whole text is selected, so typing replaces it.
bool NoiseDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == noiseLevel_ && event->type() == QEvent::FocusIn) {
        selectLevel();
    }
    return QDialog::eventFilter(watched, event);
}

void NoiseDialog::selectLevel() {
    noiseLevel_->setSelection(0, static_cast<int>(noiseLevel_->text().size()));
}

void NoiseDialog::IsDone_Click() {
    if (model_.IsDone_Click(noiseLevel_->text().toStdString())) {
        accept();
        return;
    }
    // Refused: the last accepted level is back, ready to be typed over. The message box had the
    // keyboard; it comes back to the dialog even where no window manager hands it on.
    activateWindow();
    noiseLevel_->setText(QString::fromStdString(model_.NoiseLevel()));
    noiseLevel_->setFocus(Qt::OtherFocusReason);
    selectLevel();
}

} // namespace skerry
