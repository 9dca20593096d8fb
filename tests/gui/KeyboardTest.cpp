#include <QAccessible>
#include <QApplication>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <initializer_list>
#include <string>

#include "skerryui/colours/ColourDialog.h"
#include "skerryui/editor/EditorWindow.h"
#include "support/GuiTestBase.h"

using namespace skerry;

using KeyList = QList<int>;

// Every window worked from the keyboard alone: F10 and the arrows through the menu bars, the
// dialogs' tab order and default buttons, and the names that screen readers give the editor's
// tool buttons.
class KeyboardTest : public test::GuiTestBase {
    Q_OBJECT

    // A key goes where the user's keyboard would send it: the open menu, else the active
    // window's control that has the keyboard, else that window itself.
    static void press(int key) {
        QWidget* target = QApplication::activePopupWidget();
        if (target == nullptr && QApplication::activeWindow() != nullptr) {
            target = QApplication::activeWindow()->focusWidget();
            if (target == nullptr) {
                target = QApplication::activeWindow();
            }
        }
        QVERIFY2(target != nullptr, "no window has the keyboard");
        QTest::keyClick(target, static_cast<Qt::Key>(key));
    }
    static void pressAll(std::initializer_list<int> keys) {
        for (const int key : keys) {
            press(key);
        }
    }

    // The editor opened through Edit > Data (graphically), its plot on screen and the keyboard
    // in it.
    void withActiveEditor(const std::function<void(EditorWindow&)>& script) {
        withEditor([&](EditorWindow& editor) {
            // Offscreen, the keyboard follows a new window only once asked.
            editor.activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&editor));
            script(editor);
        });
    }

private slots:
    void init() {
        setUpMainWindow();
        getData(copyExample("cell1-absorbance.RA1"));
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->pane(0)->setFocus();
    }

    void cleanup() { tearDownMainWindow(); }

    // The captions have no access keys; F10 opens the first menu and the arrows do the rest. An
    // arrow that opens the next menu highlights its first entry. Escape twice or F10 again
    // leaves the bar. Either way the keyboard is back where it was.
    void mainMenusFromF10_data() {
        QTest::addColumn<KeyList>("keys");
        QTest::addColumn<QString>("entry"); // empty: none chosen
        QTest::addColumn<QString>("dialogTitle");
        QTest::newRow("first entry") << KeyList{Qt::Key_Down, Qt::Key_Return} << "Get Data"
                                     << "Get Data File";
        QTest::newRow("second entry")
            << KeyList{Qt::Key_Down, Qt::Key_Down, Qt::Key_Return} << "Get File(s) From Fit-File"
            << "Fit-File Name";
        QTest::newRow("two menus on")
            << KeyList{Qt::Key_Right, Qt::Key_Right, Qt::Key_Return} << "Complete"
            << "Edited DataSet Name";
        QTest::newRow("back from the bar's command")
            << KeyList{Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Left,
                       Qt::Key_Down,  Qt::Key_Down,  Qt::Key_Return}
            << "Truncated"
            << "Edited DataSet Name";
        QTest::newRow("Escape, Escape") << KeyList{Qt::Key_Escape, Qt::Key_Escape} << ""
                                        << "";
        QTest::newRow("Escape, F10") << KeyList{Qt::Key_Escape, Qt::Key_F10} << ""
                                     << "";
    }

    void mainMenusFromF10() {
        QFETCH(KeyList, keys);
        QFETCH(QString, entry);
        QFETCH(QString, dialogTitle);
        platform->answerDialog(std::nullopt);
        QSignalSpy chosen(window->menuBar(), &QMenuBar::triggered);
        press(Qt::Key_F10);
        QVERIFY(QApplication::activePopupWidget() != nullptr);
        for (const int key : keys) {
            press(key);
        }
        QCOMPARE(chosen.size(), entry.isEmpty() ? 0 : 1);
        if (!entry.isEmpty()) {
            QCOMPARE(chosen[0][0].value<QAction*>()->text(), entry);
        }
        QCOMPARE(platform->dialogs.size(), std::size_t{entry.isEmpty() ? 1u : 2u});
        QCOMPARE(QString::fromStdString(platform->dialogs.back().request.title),
                 entry.isEmpty() ? "Get Data File" : dialogTitle);
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
        QCOMPARE(QApplication::focusWidget(), window->pane(0));
        QCOMPARE(window->menuBar()->activeAction(), nullptr);
    }

    // The editor's menus are reached the same way: F10 opens "&Printer", the first menu of its
    // bar, and the arrows go on to "&Copy".
    void editorMenusFromF10() {
        withActiveEditor([this](EditorWindow&) {
            pressAll({Qt::Key_F10, Qt::Key_Right, Qt::Key_Return});
            QCOMPARE(platform->clipboard.size(), std::size_t{1});
        });
    }

    // Every tool button is named by its tool tip, in both sizes of the toolbar.
    void toolButtonsNamedByTheirToolTips() {
        withActiveEditor([](EditorWindow& editor) {
            for (int which = 1; which <= 2; ++which) {
                QToolBar* bar = editor.toolbar(which);
                int named = 0;
                for (QAction* action : bar->actions()) {
                    if (action->isSeparator()) {
                        continue;
                    }
                    QWidget* button = bar->widgetForAction(action);
                    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(button);
                    QVERIFY(face != nullptr);
                    QVERIFY(!action->toolTip().isEmpty());
                    QCOMPARE(face->text(QAccessible::Name), action->toolTip());
                    ++named;
                }
                QCOMPARE(named, 7);
            }
        });
    }

    // Down each column of sliders, then the buttons; the sliders are named for screen readers
    // and Return is OK.
    void colourDialogKeys() {
        const bool opened =
            withModal<ColourDialog>(menuEntry("Set Plot Colors"), [](ColourDialog& dialog) {
                QVERIFY(QTest::qWaitForWindowActive(&dialog));
                QVERIFY(dialog.isOK()->isDefault());
                dialog.slider(0)->setFocus();
                const QStringList order{"Slider1_0", "Slider1_1", "Slider1_2", "Slider1_5",
                                        "Slider1_4", "Slider1_3", "IsOK",      "ForgetIt"};
                for (qsizetype i = 1; i < order.size(); ++i) {
                    press(Qt::Key_Tab);
                    QCOMPARE(QApplication::focusWidget()->objectName(), order[i]);
                }
                QCOMPARE(dialog.slider(0)->accessibleName(), QStringLiteral("Good Data red"));
                QCOMPARE(dialog.slider(3)->accessibleName(), QStringLiteral("Deleted Data blue"));
                dialog.slider(0)->setFocus();
                press(Qt::Key_Right);
                press(Qt::Key_Return);
                QVERIFY(!dialog.isVisible());
            });
        QVERIFY2(opened, "the colour dialog did not open");
        QCOMPARE(program->colours.GoodColor.Red, 1);
    }
};

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
