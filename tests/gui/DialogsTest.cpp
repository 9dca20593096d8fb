#include <QAction>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QtTest>
#include <functional>

#include "skerryui/colours/ColourDialog.h"
#include "skerryui/editor/EditorWindow.h"
#include "skerryui/operations/CommentsDialog.h"
#include "skerryui/operations/NoiseDialog.h"
#include "support/GuiTestBase.h"
#include "support/PdfPages.h"

using namespace skerry;

namespace {

int pixelsOf(const QImage& image, const QColor& colour) {
    return test::countPixels(image, [&colour](const QColor& c) { return c == colour; });
}

const QColor Orange(255, 127, 0);
const QColor Green(0, 127, 0);

} // namespace

// The noise, comment and colour dialogs opened through the main window's menus and worked with
// the keyboard and mouse; messages go through the scripted platform. What the dialogs' logic
// does is EditCommandsTest's and ColourDialogTest's.
class DialogsTest : public test::GuiTestBase {
    Q_OBJECT

    bool offered(const QString& entry) const {
        const QAction* action = menuEntry("Edit", entry);
        return action != nullptr && action->isEnabled() && action->isVisible();
    }

    // Chooses a menu entry whose command opens a modal dialog of type D and plays the user on it.
    template <typename D>
    void withDialog(QAction* entry, std::function<void(D&)> script) {
        QVERIFY2(withModal<D>(entry, script), "the dialog did not open");
    }

    QStringList listingLines() const { return window->pane(2)->toPlainText().split('\n'); }
    const std::string& listing() const { return window->model().state().panes[2].text; }

private slots:
    void init() {
        setUpMainWindow();
        window->move(100, 60);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        getData(copyExample("cell1-absorbance.RA1"));
    }

    void cleanup() { tearDownMainWindow(); }

    void invertSignNegatesTheListedReadings() {
        menuEntry("Edit", "Invert Sign of Data")->trigger();
        QCOMPARE(listingLines()[2], QStringLiteral("   5.80000   -2.51527E-02    5.100E-03"));
    }

    void typedNoiseLevelIsAddedAndTheMenusSwap() {
        const QRect main = window->frameGeometry();
        withDialog<NoiseDialog>(menuEntry("Edit", "Add Random Noise"), [&](NoiseDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Add Random Noise"));
            QCOMPARE(dialog.findChild<QLabel*>("Label1")->text(),
                     QStringLiteral("Enter RMS Noise Level"));
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
            QTest::mouseClick(dialog.isDone(), Qt::LeftButton);
            QVERIFY(!dialog.isVisible());
        });
        QCOMPARE(window->model().data().NoiseRms, 0.5f);
        QVERIFY(!offered(QStringLiteral("Add Random Noise")));
        QVERIFY(listingLines()[2] != QStringLiteral("   5.80000    2.51527E-02    5.100E-03"));

        menuEntry("Edit", "Remove Random Noise")->trigger();
        QVERIFY(offered(QStringLiteral("Add Random Noise")));
        QVERIFY(!offered(QStringLiteral("Remove Random Noise")));

        // Reopened, the dialog shows the level just accepted, selected; Return is OK.
        withDialog<NoiseDialog>(menuEntry("Edit", "Add Random Noise"), [](NoiseDialog& dialog) {
            QCOMPARE(dialog.noiseLevel()->text(), QStringLiteral(" 5.00000E-01"));
            QCOMPARE(dialog.noiseLevel()->selectedText(), dialog.noiseLevel()->text());
            QTest::keyClick(dialog.noiseLevel(), Qt::Key_Return);
            QVERIFY(!dialog.isVisible());
        });
        QVERIFY(offered(QStringLiteral("Remove Random Noise")));
    }

    void lettersAreRefusedAndClosingAddsNothing() {
        const std::string before = listing();
        withDialog<NoiseDialog>(menuEntry("Edit", "Add Random Noise"), [this](NoiseDialog& dialog) {
            QTest::keyClicks(dialog.noiseLevel(), "ten");
            QTest::mouseClick(dialog.isDone(), Qt::LeftButton);
            QVERIFY(dialog.isVisible());
            QCOMPARE(platform->messageTexts(),
                     std::vector<std::string>{"Illegal Value for RMS Noise."});
            QCOMPARE(dialog.noiseLevel()->text(), QStringLiteral(" 1.00000E-02"));
            QCOMPARE(dialog.noiseLevel()->selectedText(), dialog.noiseLevel()->text());
            dialog.close();
        });
        QVERIFY(offered(QStringLiteral("Add Random Noise")));
        QCOMPARE(listing(), before);
    }

    void typedCommentLineIsStored() {
        const ScreenSize screen = platform->screen;
        withDialog<CommentsDialog>(menuEntry("Edit", "Comment Lines"), [&](CommentsDialog& dialog) {
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
            QCOMPARE(lines[2], QStringLiteral(" "));
            box->moveCursor(QTextCursor::End);
            QTest::keyClicks(box, "Rotor 2");
            QTest::keyClick(box, Qt::Key_Return);
            QTest::keyClicks(box, "checked");
            QTest::mouseClick(dialog.isOK(), Qt::LeftButton);
            QVERIFY(!dialog.isVisible());
        });
        QCOMPARE(window->model().data().CommentCount, 5);
        const QStringList listed = listingLines();
        QCOMPARE(listed[2], QString(96, ' '));
        QCOMPARE(listed[3], QStringLiteral("Rotor 2").leftJustified(96));
        QCOMPARE(listed[4], QStringLiteral("checked").leftJustified(96));
        QVERIFY(
            test::readBytes(dir->path() / "~comment.tmp").ends_with("\r\n \r\nRotor 2\r\nchecked"));
    }

    void cancelAndTheCloseBoxChangeNoComment_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Cancel") << false;
        QTest::newRow("close box") << true;
    }

    void cancelAndTheCloseBoxChangeNoComment() {
        QFETCH(bool, closeBox);
        const std::string before = listing();
        withDialog<CommentsDialog>(menuEntry("Edit", "Comment Lines"),
                                   [closeBox](CommentsDialog& dialog) {
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
        QCOMPARE(listing(), before);
    }

    void theColourDialogOpensWithTheColoursOnItsSliders() {
        program->colours.GoodColor = {300, -4, 127}; // from a settings file: shown held to 0 .. 255
        withDialog<ColourDialog>(menuEntry("Set Plot Colors"), [](ColourDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Set Plot Colors"));
            QCOMPARE(dialog.size(), QSize(272, 232));
            QCOMPARE(dialog.palette().color(QPalette::Window), QColor(192, 192, 192));
            const int values[] = {255, 0, 127, 0, 0, 255};
            for (int i = 0; i < 6; ++i) {
                QCOMPARE(dialog.slider(i)->maximum(), 255);
                QCOMPARE(dialog.slider(i)->value(), values[i]);
            }
            QCOMPARE(dialog.isOK()->text(), QStringLiteral("OK"));
            QCOMPARE(dialog.forgetIt()->text(), QStringLiteral("Cancel"));
            QStringList texts;
            for (const QLabel* label : dialog.findChildren<QLabel*>()) {
                texts << label->text();
            }
            QCOMPARE(texts,
                     QStringList({"Good Data", "R", "G", "B", "Deleted Data", "R", "G", "B"}));
            QCOMPARE(dialog.shape(1)->colour(), QColor(255, 0, 127));
            QCOMPARE(dialog.shape(2)->colour(), QColor(255, 0, 0));
            QTest::mouseClick(dialog.isOK(), Qt::LeftButton);
        });
        QCOMPARE(program->colours.GoodColor, (PlotColor{300, -4, 127}));
    }

    void theSlidersChangeTheColoursAndPreviewsLive() {
        withDialog<ColourDialog>(menuEntry("Set Plot Colors"), [this](ColourDialog& dialog) {
            QVERIFY(pixelsOf(dialog.shape(1)->grab().toImage(), Green) > 20);
            // The keyboard moves a slider by its steps: End to 255, Page Up by 5, Right by 1.
            QTest::keyClick(dialog.slider(0), Qt::Key_End);
            QTest::keyClick(dialog.slider(3), Qt::Key_PageUp);
            QTest::keyClick(dialog.slider(4), Qt::Key_Right);
            QCOMPARE(program->colours.GoodColor, (PlotColor{255, 127, 0}));
            QCOMPARE(program->colours.DeletedColor, (PlotColor{255, 1, 5}));
            // The good circle is orange at once: an outline, its inside left grey.
            const QImage shape = dialog.shape(1)->grab().toImage();
            QVERIFY(pixelsOf(shape, Orange) > 20);
            QCOMPARE(pixelsOf(shape, Green), 0);
            QCOMPARE(shape.pixelColor(shape.rect().center()), QColor(192, 192, 192));
            QCOMPARE(dialog.shape(2)->colour(), QColor(255, 1, 5));
            QTest::mouseClick(dialog.isOK(), Qt::LeftButton);
        });
        // The next plot uses the new colour.
        QVERIFY(openEditor([](EditorWindow& editor) {
            QVERIFY(pixelsOf(editor.plotImage(), Orange) > 20);
            QCOMPARE(pixelsOf(editor.plotImage(), Green), 0);
        }));
    }

    void onlyOkKeepsTheColours_data() {
        QTest::addColumn<int>("way");
        QTest::addColumn<bool>("kept");
        QTest::newRow("OK") << 0 << true;
        QTest::newRow("Cancel") << 1 << false;
        QTest::newRow("close box") << 2 << false;
        QTest::newRow("Escape") << 3 << false;
    }

    void onlyOkKeepsTheColours() {
        QFETCH(int, way);
        QFETCH(bool, kept);
        withDialog<ColourDialog>(menuEntry("Set Plot Colors"), [way](ColourDialog& dialog) {
            dialog.slider(0)->setValue(255);
            if (way == 0) {
                QTest::mouseClick(dialog.isOK(), Qt::LeftButton);
            } else if (way == 1) {
                QTest::mouseClick(dialog.forgetIt(), Qt::LeftButton);
            } else if (way == 2) {
                dialog.close();
            } else {
                QTest::keyClick(&dialog, Qt::Key_Escape);
            }
            QVERIFY(!dialog.isVisible());
        });
        QCOMPARE(program->colours.GoodColor, kept ? (PlotColor{255, 127, 0}) : DefaultGoodColor);
        QCOMPARE(program->colours.DeletedColor, DefaultDeletedColor);
    }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
