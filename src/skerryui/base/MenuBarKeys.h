#pragma once

#include <QObject>
#include <QPointer>

class QMenuBar;
class QWidget;

namespace skerry {

// F10 opens the first menu of a window's menu bar, as desktop programs on Linux do; the arrow
// keys then move through the menus and onto the commands of the bar itself, Return chooses and
// Escape leaves. The menu captions keep their texts, so this is the way to the menus from the
// keyboard in windows whose captions have no access keys. Afterwards the keyboard goes back to
// the control that had it.
class MenuBarKeys : public QObject {
    Q_OBJECT

public:
    MenuBarKeys(QWidget& window, QMenuBar& bar);

    // What F10 does: opens the first menu, or leaves the menu bar when it is in use.
    void toggle();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void leave();

    QMenuBar& bar_;
    bool opened_ = false; // the bar was opened with F10 and is still in use
    QPointer<QWidget> returnTo_;
};

} // namespace skerry
