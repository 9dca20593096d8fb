#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <cmath>
#include <functional>
#include <memory>

#include "skerryui/editor/EditorWindow.h"
#include "support/GuiTestBase.h"

using namespace skerry;

namespace {

// Ten points at x = 5.95 .. 6.40 and readings 0.1 .. 1.0 in steps of 0.05 and 0.1: the frame is
// exactly their extent, so points 1 and 10 lie on its corners and are not drawn. Point 4 is
// deleted.
const char* const ScanText = "Cell 4\r\n"
                             "R 4 20.0 42000 1234 1.234E+10 280 1\r\n"
                             "   5.9500  1.00000E-01    1.00000E-02\r\n"
                             "   6.0000  2.00000E-01    1.00000E-02\r\n"
                             "   6.0500  3.00000E-01    1.00000E-02\r\n"
                             "   6.1000  4.00000E-01   -1.00000E-02\r\n"
                             "   6.1500  5.00000E-01    1.00000E-02\r\n"
                             "   6.2000  6.00000E-01    1.00000E-02\r\n"
                             "   6.2500  7.00000E-01    1.00000E-02\r\n"
                             "   6.3000  8.00000E-01    1.00000E-02\r\n"
                             "   6.3500  9.00000E-01    1.00000E-02\r\n"
                             "   6.4000  1.00000E+00    1.00000E-02\r\n";

const QColor Good(0, 127, 0);
const QColor Deleted(255, 0, 0);

} // namespace

// The editor opened through Edit > Data (graphically) and worked with the mouse on the offscreen
// platform; messages go through the scripted platform.
class EditorWindowTest : public test::GuiTestBase {
    Q_OBJECT

    void loadScan(const char* text) {
        platform->answerDialog(dir->write("scan.RA4", text).string());
        menuEntry("File", "Get Data")->trigger();
    }

    // Opens the editor through the Edit menu and plays the user on it once it is on screen.
    void withEditor(const std::function<void(EditorWindow&)>& script) {
        QVERIFY2(withModal<EditorWindow>(menuEntry("Edit", "Data (graphically)"), script),
                 "the editor did not open");
    }

    static QPointF centreOf(EditorWindow& editor, int i) {
        const EditorModel& m = editor.model();
        const PlotMapping map = m.mapping();
        return {map.column(map.plotX(m.EditX(i))), map.row(map.plotY(m.EditY(i)))};
    }
    static QPoint pixelOf(EditorWindow& editor, int i) { return centreOf(editor, i).toPoint(); }

    // Pixels of exactly `colour` on a ring of the marker's radius around point i.
    static int ringPixels(EditorWindow& editor, int i, const QColor& colour) {
        const QImage& image = editor.plotImage();
        const QPointF c = centreOf(editor, i);
        const double r = 0.975 * image.width() / 145.0;
        int count = 0;
        for (int y = static_cast<int>(c.y() - r - 3); y <= c.y() + r + 3; ++y) {
            for (int x = static_cast<int>(c.x() - r - 3); x <= c.x() + r + 3; ++x) {
                const double d = std::hypot(x - c.x(), y - c.y());
                if (d >= r - 1.5 && d <= r + 1.5 && image.valid(x, y) &&
                    image.pixelColor(x, y) == colour) {
                    ++count;
                }
            }
        }
        return count;
    }

    static void click(EditorWindow& editor, int tool, Qt::MouseButton button, QPoint at,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        editor.toolAction(tool)->trigger();
        QTest::mouseClick(editor.plotView(), button, modifiers, at);
    }

    static void drag(EditorWindow& editor, QPoint from, QPoint to) {
        QWidget* plot = editor.plotView();
        QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(plot, (from + to) / 2);
        QTest::mouseMove(plot, to);
        QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, to);
    }

    QString listingLine(int i) const {
        return window->pane(2)->toPlainText().split('\n').at(1 + i);
    }

private slots:
    void init() {
        setUpMainWindow();
        loadScan(ScanText);
    }

    void cleanup() { tearDownMainWindow(); }

    void opensWithItsToolbarAndMenus() {
        withEditor([](EditorWindow& editor) {
            QCOMPARE(editor.windowTitle(), QStringLiteral("Skerry"));
            QCOMPARE(editor.frameGeometry().size(), QSize(998, 702));
            QVERIFY(editor.toolbar(1)->isVisible());
            QVERIFY(!editor.toolbar(2)->isVisible());
            QCOMPARE(editor.toolbar(1)->height(), 36);
            QCOMPARE(QFontInfo(editor.xyLabel()->font()).pointSize(), 12);

            const QStringList tips{"Zoom Using LMB",
                                   "Remove point at Cursor",
                                   "Remove points to left or right with LMB or RMB",
                                   "Restore point at the cursor",
                                   "Restore points to left or right with LMB or RMB",
                                   "",
                                   "Exit and update data set",
                                   "Discard edit, then exit"};
            QStringList shown;
            for (QAction* action : editor.toolbar(1)->actions()) {
                shown << (action->isSeparator() ? QString() : action->toolTip());
                QVERIFY(action->isSeparator() || !action->icon().isNull());
            }
            QCOMPARE(shown, tips);
            QVERIFY(editor.toolAction(1)->isChecked());
            editor.toolAction(3)->trigger();
            QVERIFY(editor.toolAction(3)->isChecked());
            QVERIFY(!editor.toolAction(1)->isChecked());
            QCOMPARE(editor.model().Tool, 3);

            QStringList bar;
            for (QAction* top : editor.findChild<QMenuBar*>()->actions()) {
                bar << top->text();
            }
            QCOMPARE(bar, QStringList({"&ZoomOut", "&Hide (X,Y)", "&Printer", "&Copy"}));
            QVERIFY(!editor.zoomOutAction()->isEnabled());
            const QMenu* printer = editor.findChild<QMenu*>("Dummy1");
            QCOMPARE(printer->actions().last()->text(), QStringLiteral("Print"));
            const QMenu* copy = editor.findChild<QMenu*>("Copyit");
            QCOMPARE(copy->actions().size(), 2);
            QCOMPARE(copy->actions()[0]->text(), QStringLiteral("To Clipboard"));
            QCOMPARE(copy->actions()[1]->text(), QStringLiteral("To File (Bitmap)"));
            QVERIFY(editor.xyCoords()->isVisible());
        });
    }

    void aScreen800PixelsWideGetsTheSmallToolbar() {
        platform->screen = {800, 600};
        withEditor([](EditorWindow& editor) {
            QCOMPARE(editor.frameGeometry().size(), QSize(416, 390));
            QVERIFY(!editor.toolbar(1)->isVisible());
            QVERIFY(editor.toolbar(2)->isVisible());
            QCOMPARE(editor.toolbar(2)->height(), 28);
            QCOMPARE(QFontInfo(editor.xyLabel()->font()).pointSize(), 8);
        });
    }

    void ringsAreDrawnInTheirColours() {
        program->GoodColor = {0, 0, 200};
        withEditor([](EditorWindow& editor) {
            QCOMPARE(editor.plotImage().size(), editor.plotView()->size());
            const QColor good(0, 0, 200);
            QVERIFY(ringPixels(editor, 3, good) >= 12);
            QCOMPARE(ringPixels(editor, 3, Deleted), 0);
            QVERIFY(ringPixels(editor, 4, Deleted) >= 12);
            QCOMPARE(ringPixels(editor, 4, good), 0);
            // Rings, not discs.
            QCOMPARE(editor.plotImage().pixelColor(pixelOf(editor, 3)), QColor(Qt::white));
            // Points on the frame's corners are not drawn at all.
            QCOMPARE(ringPixels(editor, 1, good), 0);
            QCOMPARE(ringPixels(editor, 10, good), 0);
            // The frame's outline is black, its inside white.
            const PlotMapping map = editor.model().mapping();
            const QImage& image = editor.plotImage();
            QCOMPARE(image.pixelColor(qRound(map.column(50)), qRound(map.row(0))),
                     QColor(Qt::black));
            QCOMPARE(image.pixelColor(qRound(map.column(50)), qRound(map.row(50))),
                     QColor(Qt::white));
        });
    }

    void clickingAPointMarksItAndRedraws() {
        withEditor([](EditorWindow& editor) {
            click(editor, 2, Qt::LeftButton, pixelOf(editor, 3));
            QVERIFY(editor.model().EditThird(3) < 0.0f);
            QVERIFY(ringPixels(editor, 3, Deleted) >= 12);
            QCOMPARE(ringPixels(editor, 3, Good), 0);

            click(editor, 4, Qt::LeftButton, pixelOf(editor, 4));
            QVERIFY(editor.model().EditThird(4) > 0.0f);
            QVERIFY(ringPixels(editor, 4, Good) >= 12);
        });
    }

    void modifiersAndTheMiddleButtonDoNothing() {
        withEditor([](EditorWindow& editor) {
            click(editor, 2, Qt::LeftButton, pixelOf(editor, 5), Qt::ShiftModifier);
            click(editor, 2, Qt::LeftButton, pixelOf(editor, 5), Qt::ControlModifier);
            click(editor, 2, Qt::LeftButton, pixelOf(editor, 5), Qt::AltModifier);
            click(editor, 2, Qt::MiddleButton, pixelOf(editor, 5));
            click(editor, 3, Qt::RightButton, pixelOf(editor, 5), Qt::ShiftModifier);
            QVERIFY(editor.model().EditThird(5) > 0.0f);
            QVERIFY(editor.model().EditThird(6) > 0.0f);
        });
        QVERIFY(platform->messages.empty());
    }

    void sweepsRestoreAndAcceptGiveTheListingAndTruncatedSave() {
        withEditor([](EditorWindow& editor) {
            // Left of the cursor between points 2 and 3, right of it from just left of point 8.
            const QPoint between = (pixelOf(editor, 2) + pixelOf(editor, 3)) / 2;
            click(editor, 3, Qt::LeftButton, between);
            click(editor, 3, Qt::RightButton, pixelOf(editor, 8) - QPoint(2, 0));
            click(editor, 4, Qt::LeftButton, pixelOf(editor, 4));
            editor.toolAction(7)->trigger();
            QVERIFY(!editor.isVisible());
        });
        QCOMPARE(listingLine(1), QStringLiteral("   5.95000    1.00000E-01   -1.000E-02"));
        QCOMPARE(listingLine(2), QStringLiteral("   6.00000    2.00000E-01   -1.000E-02"));
        QCOMPARE(listingLine(3), QStringLiteral("   6.05000    3.00000E-01    1.000E-02"));
        QCOMPARE(listingLine(4), QStringLiteral("   6.10000    4.00000E-01    1.000E-02"));
        QCOMPARE(listingLine(7), QStringLiteral("   6.25000    7.00000E-01    1.000E-02"));
        QCOMPARE(listingLine(8), QStringLiteral("   6.30000    8.00000E-01   -1.000E-02"));
        QCOMPARE(listingLine(10), QStringLiteral("   6.40000    1.00000E+00   -1.000E-02"));

        const auto saved = dir->path() / "truncated.dat";
        platform->answerDialog(saved.string());
        menuEntry("Save", "Truncated")->trigger();
        const QStringList lines = QString::fromStdString(test::readBytes(saved)).split("\r\n");
        QCOMPARE(lines.size(), 2 + 5 + 1);
        QCOMPARE(lines[2], QStringLiteral("   6.05000    3.00000E-01    1.000E-02"));
        QCOMPARE(lines[6], QStringLiteral("   6.25000    7.00000E-01    1.000E-02"));
    }

    void zoomBoxShowsOnlyWhileDraggingThenZoomOut() {
        withEditor([](EditorWindow& editor) {
            QWidget* plot = editor.plotView();
            // From below left of point 3 to above right of point 6.
            const QPoint from = pixelOf(editor, 3) + QPoint(-15, 15);
            const QPoint to = pixelOf(editor, 6) + QPoint(15, -15);
            QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, from);
            QTest::mouseMove(plot, (from + to) / 2);
            QTest::mouseMove(plot, to);
            const QPoint edge(from.x(), (from.y() + to.y()) / 2);
            QCOMPARE(plot->grab().toImage().pixelColor(edge), QColor(255, 0, 0));
            // The box is drawn over the plot, never into it.
            QCOMPARE(editor.plotImage().pixelColor(edge), QColor(Qt::white));
            QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, to);

            const EditorModel& m = editor.model();
            QVERIFY(editor.zoomOutAction()->isEnabled());
            QVERIFY(m.ViewXMin > 6.0f && m.ViewXMin < 6.05f);
            QVERIFY(m.ViewXMax > 6.2f && m.ViewXMax < 6.25f);
            QVERIFY(m.XAxis.Low > 5.95f);
            QVERIFY(plot->grab().toImage().pixelColor(edge) != QColor(255, 0, 0));
            QVERIFY(ringPixels(editor, 4, Deleted) >= 12);

            editor.zoomOutAction()->trigger();
            QVERIFY(!editor.zoomOutAction()->isEnabled());
            QCOMPARE(m.ViewXMin, 5.95f);
            QCOMPARE(m.ViewXMax, 6.4f);
            QCOMPARE(m.XAxis.Low, 5.95f);
        });
        QVERIFY(platform->messages.empty());
    }

    void zoomRefusalsAreShown() {
        withEditor([](EditorWindow& editor) {
            // Between points 2 and 3 there is nothing; around point 5 alone there is one.
            const QPoint a = pixelOf(editor, 2);
            const QPoint b = pixelOf(editor, 3);
            drag(editor, a + (b - a) / 4, b - (b - a) / 4);
            drag(editor, pixelOf(editor, 5) - QPoint(10, 10), pixelOf(editor, 5) + QPoint(10, 10));
            QVERIFY(!editor.zoomOutAction()->isEnabled());
        });
        QCOMPARE(platform->messageTexts(),
                 (std::vector<std::string>{"There Were No Data Within the Zoom-In Box!",
                                           "You CANNOT Zoom Around a Single Point!"}));
        QCOMPARE(platform->messages[1].title, std::string("Error in Zooming"));
    }

    void discardingOrClosingLeavesTheDataAlone() {
        const QString before = window->pane(2)->toPlainText();
        const std::vector<std::function<void(EditorWindow&)>> ways{
            [](EditorWindow& editor) { editor.toolAction(8)->trigger(); },
            [](EditorWindow& editor) { editor.close(); },
        };
        for (const auto& leave : ways) {
            withEditor([&leave](EditorWindow& editor) {
                click(editor, 3, Qt::LeftButton, pixelOf(editor, 6) + QPoint(2, 0));
                QVERIFY(editor.model().EditThird(6) < 0.0f);
                leave(editor);
                QVERIFY(!editor.isVisible());
            });
            QCOMPARE(window->pane(2)->toPlainText(), before);
            QCOMPARE(window->model().data().WorkPoints(6).third, 0.01f);
        }
    }

    void theReadoutFollowsTheMouseAndItsChoiceIsRemembered() {
        withEditor([](EditorWindow& editor) {
            QTest::mouseMove(editor.plotView(), pixelOf(editor, 3));
            const QString text = editor.xyLabel()->text();
            const QRegularExpression pattern(
                R"(^ X= (\d\.\d{4}E[+-]\d\d), Y= (\d\.\d{3}E[+-]\d\d)$)");
            const QRegularExpressionMatch match = pattern.match(text);
            QVERIFY2(match.hasMatch(), qPrintable(text));
            QVERIFY(std::abs(match.captured(1).toDouble() - 6.05) < 0.001);
            QVERIFY(std::abs(match.captured(2).toDouble() - 0.3) < 0.003);
            editor.showEmAction()->trigger();
            QCOMPARE(editor.showEmAction()->text(), QStringLiteral("&Show (X,Y)"));
            QVERIFY(!editor.xyCoords()->isVisible());
        });
        withEditor([](EditorWindow& editor) {
            QCOMPARE(editor.showEmAction()->text(), QStringLiteral("&Show (X,Y)"));
            QVERIFY(!editor.xyCoords()->isVisible());
        });
    }

    void equalReadingsWarnOnceFromTheRedraw() {
        loadScan("Flat\r\n"
                 "R 4 20.0 42000 1234 1.234E+10 280 1\r\n"
                 "   6.0000  5.00000E-01    1.00000E-02\r\n"
                 "   6.1000  5.00000E-01    1.00000E-02\r\n"
                 "   6.2000  5.00000E-01    1.00000E-02\r\n");
        withEditor([](EditorWindow& editor) {
            editor.resize(editor.size() + QSize(40, 30));
            QTRY_COMPARE(editor.plotImage().size(), editor.plotView()->size());
            QCOMPARE(editor.model().ViewYMin, 0.25f);
            QCOMPARE(editor.model().ViewYMax, 1.0f);
        });
        QCOMPARE(platform->messageTexts(),
                 std::vector<std::string>{"WARNING:  All Y values are identical."});
        QCOMPARE(platform->messages[0].title, std::string("Data Error"));
    }
};

QTEST_MAIN(EditorWindowTest)
#include "EditorWindowTest.moc"
