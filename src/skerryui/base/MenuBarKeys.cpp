#include "skerryui/base/MenuBarKeys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QShortcut>

namespace skerry {

MenuBarKeys::MenuBarKeys(QWidget& window, QMenuBar& bar) : QObject(&window), bar_(bar) {
    auto* key = new QShortcut(QKeySequence(Qt::Key_F10), &window);
    connect(key, &QShortcut::activated, this, &MenuBarKeys::toggle);
    // A chosen command gives the keyboard back; the command has run by then.
    connect(&bar_, &QMenuBar::triggered, this, &MenuBarKeys::leave);
    bar_.installEventFilter(this);
}

void MenuBarKeys::toggle() {
    if (opened_ && bar_.activeAction() != nullptr) {
        leave();
        return;
    }
    for (QAction* action : bar_.actions()) {
        if (action->isVisible() && action->isEnabled() && !action->isSeparator()) {
            // The bar keeps the keyboard when a menu opened with F10 was closed by the mouse;
            // the control to go back to is still the one from then.
            QWidget* focus = QApplication::focusWidget();
            if (focus != &bar_) {
                returnTo_ = focus;
            }
            opened_ = true;
            // With the keyboard on the bar, the arrows also reach its own commands, which have
            // no menu to pass the keys on.
            bar_.setFocus(Qt::MenuBarFocusReason);
            bar_.setActiveAction(action);
            return;
        }
    }
}

void MenuBarKeys::leave() {
    // The bar may be in use by the mouse, or by Qt's own Alt key navigation, which cleans up
    // after itself.
    if (!opened_) {
        return;
    }
    opened_ = false;
    bar_.setActiveAction(nullptr);
    if (bar_.hasFocus()) {
        if (returnTo_ != nullptr) {
            returnTo_->setFocus(Qt::MenuBarFocusReason);
        } else {
            bar_.clearFocus();
        }
    }
    returnTo_ = nullptr;
}

bool MenuBarKeys::eventFilter(QObject* watched, QEvent* event) {
    if (opened_ && watched == &bar_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && bar_.activeAction() != nullptr) {
        // Escape in an open menu closes the menu; once the bar alone is highlighted it leaves.
        leave();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace skerry
