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

    // The editor opened through Edit > Data (graphically), its plot on screen.
    void withEditor(const std::function<void(EditorWindow&)>& script) {
        QVERIFY2(withModal<EditorWindow>(menuEntry("Edit", "Data (graphically)"),
                                         [&](EditorWindow& editor) {
                                             // Offscreen, the keyboard follows a new window
                                             // only once asked.
                                             editor.activateWindow();
                                             QTRY_COMPARE(QApplication::activeWindow(),
                                                          static_cast<QWidget*>(&editor));
                                             script(editor);
                                         }),
                 "the editor did not open");
    }

private slots:
    void init() {
        setUpMainWindow();
        platform->answerDialog(copyExample("cell1-absorbance.RA1"));
        menuEntry("File", "Get Data")->trigger();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        window->pane(0)->setFocus();
    }

    void cleanup() { tearDownMainWindow(); }

    // The captions have no access keys; F10 opens the first menu and the arrows do the rest.
    // An arrow that opens the next menu highlights its first entry.
    void mainMenusFromF10_data() {
        QTest::addColumn<KeyList>("keys");
        QTest::addColumn<QString>("entry");
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
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen[0][0].value<QAction*>()->text(), entry);
        QCOMPARE(platform->dialogs.size(), std::size_t{2});
        QCOMPARE(QString::fromStdString(platform->dialogs.back().request.title), dialogTitle);
        // The keyboard is back where it was.
        QCOMPARE(QApplication::focusWidget(), window->pane(0));
        QCOMPARE(window->menuBar()->activeAction(), nullptr);
    }

    // "Set Plot Colors" is a command of the bar itself, reached and chosen with the arrows.
    void colourCommandOnTheBar() {
        const bool opened = withModalOpenedBy<ColourDialog>(
            [] {
                pressAll({Qt::Key_F10, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right});
                press(Qt::Key_Return);
            },
            [](ColourDialog& dialog) { dialog.reject(); });
        QVERIFY2(opened, "the colour dialog did not open");
        QCOMPARE(window->focusWidget(), window->pane(0));
    }

    void escapeAndF10LeaveTheBar_data() {
        QTest::addColumn<KeyList>("keys");
        QTest::newRow("Escape closes the menu, Escape leaves the bar")
            << KeyList{Qt::Key_Escape, Qt::Key_Escape};
        QTest::newRow("F10 again") << KeyList{Qt::Key_Escape, Qt::Key_F10};
    }

    void escapeAndF10LeaveTheBar() {
        QFETCH(KeyList, keys);
        press(Qt::Key_F10);
        QVERIFY(window->menuBar()->activeAction() != nullptr);
        for (const int key : keys) {
            press(key);
        }
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
        QCOMPARE(window->menuBar()->activeAction(), nullptr);
        QCOMPARE(QApplication::focusWidget(), window->pane(0));
        QCOMPARE(platform->dialogs.size(), std::size_t{1});
    }

    // The editor's bar starts with two commands ("&ZoomOut" is greyed out until a zoom), then
    // the printer and copy menus; its access keys work as well.
    void editorMenusFromTheKeyboard() {
        platform->printers = {"PDF"};
        withEditor([this](EditorWindow& editor) {
            QCOMPARE(editor.showEmAction()->text(), QStringLiteral("&Hide (X,Y)"));
            pressAll({Qt::Key_F10, Qt::Key_Return});
            QCOMPARE(editor.showEmAction()->text(), QStringLiteral("&Show (X,Y)"));
            QTest::keyClick(&editor, Qt::Key_S, Qt::AltModifier);
            QCOMPARE(editor.showEmAction()->text(), QStringLiteral("&Hide (X,Y)"));

            pressAll({Qt::Key_F10, Qt::Key_Right, Qt::Key_Right});
            QVERIFY(QApplication::activePopupWidget() != nullptr);
            press(Qt::Key_Return);
            QCOMPARE(platform->clipboard.size(), std::size_t{1});
        });
    }

    // Every tool button is named by its tool tip, in both sizes of the toolbar.
    void toolButtonsNamedByTheirToolTips() {
        withEditor([](EditorWindow& editor) {
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

    // Down each column of sliders, then the buttons; Return keeps the colours and Escape brings
    // the old ones back.
    void colourDialogKeys_data() {
        QTest::addColumn<int>("closingKey");
        QTest::addColumn<int>("goodRed");
        QTest::newRow("Return is OK") << int{Qt::Key_Return} << 1;
        QTest::newRow("Escape is Cancel") << int{Qt::Key_Escape} << 0;
    }

    void colourDialogKeys() {
        QFETCH(int, closingKey);
        QFETCH(int, goodRed);
        const bool opened = withModal<ColourDialog>(
            menuEntry("Set Plot Colors"), [closingKey](ColourDialog& dialog) {
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
                press(closingKey);
                QVERIFY(!dialog.isVisible());
            });
        QVERIFY2(opened, "the colour dialog did not open");
        QCOMPARE(program->GoodColor.Red, goodRed);
    }
};

QTEST_MAIN(KeyboardTest)
#include "KeyboardTest.moc"
