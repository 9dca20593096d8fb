#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "skerryui/operations/CommentsDialog.h"
#include "skerryui/operations/NoiseDialog.h"
#include "support/GuiTestBase.h"

using namespace skerry;

// The noise and comment dialogs opened through the main window's Edit menu and worked with the
// keyboard and mouse; messages go through the scripted platform.
class OperationsDialogsTest : public test::GuiTestBase {
    Q_OBJECT

    QAction* editEntry(const QString& entry) const { return menuEntry("Edit", entry); }

    bool offered(const QString& entry) const {
        const QAction* action = editEntry(entry);
        return action != nullptr && action->isEnabled() && action->isVisible();
    }

    // Chooses an Edit menu entry whose command opens a modal dialog of type D and plays the user
    // on it with `script`.
    template <typename D>
    void withDialog(const QString& entry, std::function<void(D&)> script) {
        QVERIFY2(withModal<D>(editEntry(entry), script), "the dialog did not open");
    }

    QStringList listingLines() const { return window->pane(2)->toPlainText().split('\n'); }

private slots:
    void init() {
        setUpMainWindow();
        window->move(100, 60);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        platform->answerDialog(copyExample("cell1-absorbance.RA1"));
        menuEntry("File", "Get Data")->trigger();
        QCOMPARE(window->model().data().PointCount, 701);
    }

    void cleanup() { tearDownMainWindow(); }

    void invertSignNegatesTheListedReadings() {
        QCOMPARE(listingLines()[2], QStringLiteral("   5.80000    2.51527E-02    5.100E-03"));
        editEntry(QStringLiteral("Invert Sign of Data"))->trigger();
        QCOMPARE(listingLines()[2], QStringLiteral("   5.80000   -2.51527E-02    5.100E-03"));
        QVERIFY(offered(QStringLiteral("Add Random Noise")));
    }

    void typedLevelIsAddedAndTheMenusSwap() {
        const DataSet before = window->model().data();
        const QRect main = window->frameGeometry();
        withDialog<NoiseDialog>("Add Random Noise", [&](NoiseDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Add Random Noise"));
            QCOMPARE(dialog.findChild<QLabel*>("Label1")->text(),
                     QStringLiteral("Enter RMS Noise Level"));
            QCOMPARE(dialog.findChildren<QPushButton*>().size(), 1);
            QCOMPARE(dialog.isDone()->text(), QStringLiteral("&OK"));
            QCOMPARE(dialog.pos(),
                     QPoint(main.x() + (main.width() - dialog.width()) / 2, main.y() + 8));
            QLineEdit* level = dialog.noiseLevel();
            QCOMPARE(level->text(), QStringLiteral(" 1.00000E-02"));
            QCOMPARE(level->selectedText(), level->text());
            QTRY_VERIFY(level->hasFocus());
            // Coming back to the text box by any way selects the whole text again.
            dialog.isDone()->setFocus(Qt::TabFocusReason);
            level->deselect();
            level->setFocus(Qt::ActiveWindowFocusReason);
            QCOMPARE(level->selectedText(), level->text());
            QTest::keyClicks(level, "0.5");
            QCOMPARE(level->text(), QStringLiteral("0.5"));
            QTest::mouseClick(dialog.isDone(), Qt::LeftButton);
            QVERIFY(!dialog.isVisible());
        });
        const DataSet& data = window->model().data();
        QCOMPARE(data.NoiseRms, 0.5f);
        QVERIFY(!offered(QStringLiteral("Add Random Noise")));
        QVERIFY(offered(QStringLiteral("Remove Random Noise")));
        QVERIFY(data.WorkPoints(1).reading != before.WorkPoints(1).reading);
        QVERIFY(listingLines()[2] != QStringLiteral("   5.80000    2.51527E-02    5.100E-03"));
        QCOMPARE(QString::fromStdString(test::readBytes(dir->path() / "~skerry.tmp")),
                 QString::fromStdString(window->model().state().panes[2].text));

        editEntry(QStringLiteral("Remove Random Noise"))->trigger();
        QVERIFY(offered(QStringLiteral("Add Random Noise")));
        QVERIFY(!offered(QStringLiteral("Remove Random Noise")));
        for (int i = 1; i <= data.PointCount; ++i) {
            const float noise = data.NoiseValues[static_cast<std::size_t>(i - 1)];
            QCOMPARE(data.WorkPoints(i).reading, (before.WorkPoints(i).reading + noise) - noise);
        }

        // Reopened, the dialog shows the level just accepted, selected.
        withDialog<NoiseDialog>("Add Random Noise", [](NoiseDialog& dialog) {
            QCOMPARE(dialog.noiseLevel()->text(), QStringLiteral(" 5.00000E-01"));
            QCOMPARE(dialog.noiseLevel()->selectedText(), dialog.noiseLevel()->text());
            QTest::keyClick(dialog.noiseLevel(), Qt::Key_Return);
            QVERIFY(!dialog.isVisible());
        });
        QVERIFY(offered(QStringLiteral("Remove Random Noise")));
    }

    void lettersAreRefusedAndClosingAddsNothing() {
        const std::string listing = window->model().state().panes[2].text;
        withDialog<NoiseDialog>("Add Random Noise", [this](NoiseDialog& dialog) {
            QTest::keyClicks(dialog.noiseLevel(), "ten");
            QTest::mouseClick(dialog.isDone(), Qt::LeftButton);
            QVERIFY(dialog.isVisible());
            QCOMPARE(platform->messages.size(), std::size_t(1));
            QCOMPARE(platform->messages[0].text, std::string("Illegal Value for RMS Noise."));
            QCOMPARE(platform->messages[0].title, std::string("Non-Numerical Entry!"));
            QCOMPARE(dialog.noiseLevel()->text(), QStringLiteral(" 1.00000E-02"));
            QCOMPARE(dialog.noiseLevel()->selectedText(), dialog.noiseLevel()->text());
            dialog.close();
            QVERIFY(!dialog.isVisible());
        });
        QVERIFY(offered(QStringLiteral("Add Random Noise")));
        QVERIFY(!offered(QStringLiteral("Remove Random Noise")));
        QCOMPARE(window->model().state().panes[2].text, listing);
    }

    void typedCommentLineIsStored() {
        const ScreenSize screen = platform->screen;
        withDialog<CommentsDialog>("Comment Lines", [&](CommentsDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Edit Comment Lines"));
            QCOMPARE(dialog.isOK()->text(), QStringLiteral("&OK"));
            QCOMPARE(dialog.isCancel()->text(), QStringLiteral("&Cancel"));
            QCOMPARE(dialog.pos(), QPoint((screen.width - dialog.width()) / 4,
                                          (screen.height - dialog.height()) / 4));
            QPlainTextEdit* box = dialog.richTextBox();
            QVERIFY(QFontInfo(box->font()).fixedPitch());
            const QStringList lines = box->toPlainText().split('\n');
            QCOMPARE(lines.size(), 4);
            QVERIFY(lines[0].startsWith(QStringLiteral("Cell 1  BSA 0.5 mg/ml")));
            QCOMPARE(lines[0].size(), 96);
            QCOMPARE(lines[2], QStringLiteral(" "));
            QCOMPARE(lines[3], QString());
            box->moveCursor(QTextCursor::End);
            QTest::keyClicks(box, "Rotor 2");
            QTest::keyClick(box, Qt::Key_Return);
            QTest::keyClicks(box, "checked");
            QTest::mouseClick(dialog.isOK(), Qt::LeftButton);
            QVERIFY(!dialog.isVisible());
        });
        const DataSet& data = window->model().data();
        QCOMPARE(data.CommentCount, 5);
        const QStringList listing = listingLines();
        QCOMPARE(listing[2], QString(96, ' '));
        QCOMPARE(listing[3], QStringLiteral("Rotor 2").leftJustified(96));
        QCOMPARE(listing[4], QStringLiteral("checked").leftJustified(96));
        QCOMPARE(listing[5], QStringLiteral("   5.80000    2.51527E-02    5.100E-03"));
        const std::string file = test::readBytes(dir->path() / "~comment.tmp");
        QVERIFY(file.ends_with("\r\n \r\nRotor 2\r\nchecked"));
    }

    void anUnchangedOkGrowsByTheBlankLine() {
        withDialog<CommentsDialog>("Comment Lines", [](CommentsDialog& dialog) {
            QTest::mouseClick(dialog.isOK(), Qt::LeftButton);
        });
        QCOMPARE(window->model().data().CommentCount, 3);
        QCOMPARE(listingLines()[2], QString(96, ' '));
    }

    void cancelAndTheCloseBoxChangeNothing_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Cancel") << false;
        QTest::newRow("close box") << true;
    }

    void cancelAndTheCloseBoxChangeNothing() {
        QFETCH(bool, closeBox);
        const std::string listing = window->model().state().panes[2].text;
        withDialog<CommentsDialog>("Comment Lines", [closeBox](CommentsDialog& dialog) {
            dialog.richTextBox()->selectAll();
            QTest::keyClicks(dialog.richTextBox(), "all gone");
            if (closeBox) {
                dialog.close();
            } else {
                QTest::mouseClick(dialog.isCancel(), Qt::LeftButton);
            }
            QVERIFY(!dialog.isVisible());
        });
        QCOMPARE(window->model().data().CommentCount, 2);
        QCOMPARE(window->model().state().panes[2].text, listing);
        QVERIFY(test::readBytes(dir->path() / "~comment.tmp").ends_with("\r\n \r\n"));
    }
};

QTEST_MAIN(OperationsDialogsTest)
#include "OperationsDialogsTest.moc"
