#include <QAction>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QToolBar>
#include <QtTest>
#include <cmath>

#include "skerryui/editor/EditorWindow.h"
#include "skerryui/export/PictureImage.h"
#include "support/GuiTestBase.h"
#include "support/TenPointScan.h"

using namespace skerry;

// The editor opened through Edit > Data (graphically) and worked with the mouse on the offscreen
// platform; messages, printing and copying go through the scripted platform. The editing rules
// themselves are EditorModelTest's.
class EditorWindowTest : public test::GuiTestBase {
    Q_OBJECT

    void loadScan(const char* text) { getData(dir->write("scan.RA4", text).string()); }

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

    static void click(EditorWindow& editor, int tool, Qt::MouseButton button, QPoint at) {
        editor.toolAction(tool)->trigger();
        QTest::mouseClick(editor.plotView(), button, Qt::NoModifier, at);
    }

    static void drag(EditorWindow& editor, QPoint from, QPoint to) {
        QWidget* plot = editor.plotView();
        QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(plot, (from + to) / 2);
        QTest::mouseMove(plot, to);
        QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, to);
    }

    // The marks of the data set's working points, '+' good and '-' deleted.
    QString marks() const {
        QString out;
        for (int i = 1; i <= window->model().data().PointCount; ++i) {
            out += window->model().data().WorkPoints(i).isGood() ? '+' : '-';
        }
        return out;
    }

    // Captions of the printer menu, "-" for a separator, "*" before the checked entry.
    static QStringList printerCaptions(EditorWindow& editor) {
        QStringList captions;
        for (QAction* a : editor.findChild<QMenu*>(QStringLiteral("Dummy1"))->actions()) {
            captions << (a->isSeparator() ? QStringLiteral("-")
                                          : (a->isChecked() ? "*" : "") + a->text());
        }
        return captions;
    }
    static QAction* entry(EditorWindow& editor, const char* name) {
        return editor.findChild<QAction*>(QString::fromLatin1(name));
    }

private slots:
    void init() {
        setUpMainWindow();
        platform->printers = {"Office", "PDF", "Lab & Co"};
        program->DefaultPrinterName = "  PDF ";
        loadScan(test::TenPointScan);
    }

    void cleanup() { tearDownMainWindow(); }

    void opensWithItsToolbarAndMenus_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("toolbar");
        QTest::addColumn<int>("toolbarHeight");
        QTest::addColumn<int>("labelPoints");
        QTest::newRow("1920 x 1080") << QSize(1920, 1080) << QSize(998, 702) << 1 << 36 << 12;
        QTest::newRow("800 x 600") << QSize(800, 600) << QSize(416, 390) << 2 << 28 << 8;
    }

    void opensWithItsToolbarAndMenus() {
        QFETCH(QSize, screen);
        QFETCH(QSize, size);
        QFETCH(int, toolbar);
        QFETCH(int, toolbarHeight);
        QFETCH(int, labelPoints);
        platform->screen = {screen.width(), screen.height()};
        withEditor([&](EditorWindow& editor) {
            QCOMPARE(editor.windowTitle(), QStringLiteral("Skerry"));
            QCOMPARE(editor.frameGeometry().size(), size);
            QVERIFY(editor.toolbar(toolbar)->isVisible());
            QVERIFY(!editor.toolbar(3 - toolbar)->isVisible());
            QCOMPARE(editor.toolbar(toolbar)->height(), toolbarHeight);
            QCOMPARE(QFontInfo(editor.xyLabel()->font()).pointSize(), labelPoints);

            QStringList tips;
            for (QAction* action : editor.toolbar(toolbar)->actions()) {
                tips << (action->isSeparator() ? QString() : action->toolTip());
                QVERIFY(action->isSeparator() || !action->icon().isNull());
            }
            QCOMPARE(tips, QStringList({"Zoom Using LMB", "Remove point at Cursor",
                                        "Remove points to left or right with LMB or RMB",
                                        "Restore point at the cursor",
                                        "Restore points to left or right with LMB or RMB", "",
                                        "Exit and update data set", "Discard edit, then exit"}));
            QVERIFY(editor.toolAction(1)->isChecked());
            editor.toolAction(3)->trigger();
            QVERIFY(!editor.toolAction(1)->isChecked());
            QCOMPARE(editor.model().Tool, 3);

            QStringList bar;
            for (QAction* top : editor.findChild<QMenuBar*>()->actions()) {
                bar << top->text();
            }
            QCOMPARE(bar, QStringList({"&ZoomOut", "&Hide (X,Y)", "&Printer", "&Copy"}));
            QVERIFY(!editor.zoomOutAction()->isEnabled());
            QVERIFY(editor.xyCoords()->isVisible());
        });
    }

    void ringsAreDrawnInTheirColoursAndClicksMarkThePointUnderThem() {
        program->colours.GoodColor = {0, 0, 200};
        withEditor([](EditorWindow& editor) {
            QCOMPARE(editor.plotImage().size(), editor.plotView()->size());
            const QColor good(0, 0, 200);
            QVERIFY(ringPixels(editor, 3, good) >= 12);
            QCOMPARE(ringPixels(editor, 3, test::DeletedRing), 0);
            QVERIFY(ringPixels(editor, 4, test::DeletedRing) >= 12);
            QCOMPARE(ringPixels(editor, 4, good), 0);
            // Rings, not discs; points on the frame's corners are not drawn at all.
            QCOMPARE(editor.plotImage().pixelColor(pixelOf(editor, 3)), QColor(Qt::white));
            QCOMPARE(ringPixels(editor, 1, good), 0);
            QCOMPARE(ringPixels(editor, 10, good), 0);
            // The frame's outline is black.
            const PlotMapping map = editor.model().mapping();
            QCOMPARE(editor.plotImage().pixelColor(qRound(map.column(50)), qRound(map.row(0))),
                     QColor(Qt::black));

            click(editor, 2, Qt::LeftButton, pixelOf(editor, 3));
            QVERIFY(editor.model().EditThird(3) < 0.0f);
            QVERIFY(ringPixels(editor, 3, test::DeletedRing) >= 12);
            QCOMPARE(ringPixels(editor, 3, good), 0);
            click(editor, 4, Qt::LeftButton, pixelOf(editor, 4));
            QVERIFY(editor.model().EditThird(4) > 0.0f);
            QVERIFY(ringPixels(editor, 4, good) >= 12);
        });
    }

    void sweepsAndRestoreComeBackWithExitAndUpdate() {
        withEditor([](EditorWindow& editor) {
            // Left of the cursor between points 2 and 3, right of it from just left of point 8.
            click(editor, 3, Qt::LeftButton, (pixelOf(editor, 2) + pixelOf(editor, 3)) / 2);
            click(editor, 3, Qt::RightButton, pixelOf(editor, 8) - QPoint(2, 0));
            click(editor, 4, Qt::LeftButton, pixelOf(editor, 4));
            editor.toolAction(7)->trigger();
            QVERIFY(!editor.isVisible());
        });
        QCOMPARE(marks(), QStringLiteral("--+++++---"));
        QCOMPARE(window->pane(2)->toPlainText().split('\n').at(4),
                 QStringLiteral("   6.10000    4.00000E-01    1.000E-02"));
    }

    void discardingOrClosingLeavesTheDataAlone_data() {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Discard edit, then exit") << false;
        QTest::newRow("close box") << true;
    }

    void discardingOrClosingLeavesTheDataAlone() {
        QFETCH(bool, closeBox);
        const QString before = window->pane(2)->toPlainText();
        withEditor([closeBox](EditorWindow& editor) {
            click(editor, 3, Qt::LeftButton, pixelOf(editor, 6) + QPoint(2, 0));
            QVERIFY(editor.model().EditThird(6) < 0.0f);
            if (closeBox) {
                editor.close();
            } else {
                editor.toolAction(8)->trigger();
            }
            QVERIFY(!editor.isVisible());
        });
        QCOMPARE(window->pane(2)->toPlainText(), before);
        QCOMPARE(marks(), QStringLiteral("+++-++++++"));
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
            QVERIFY(plot->grab().toImage().pixelColor(edge) != QColor(255, 0, 0));
            QVERIFY(ringPixels(editor, 4, test::DeletedRing) >= 12);

            editor.zoomOutAction()->trigger();
            QVERIFY(!editor.zoomOutAction()->isEnabled());
            QCOMPARE(m.ViewXMin, 5.95f);
            QCOMPARE(m.XAxis.Low, 5.95f);
        });
        QVERIFY(platform->messages.empty());
    }

    void refusalsAreShownThroughThePlatform() {
        withEditor([](EditorWindow& editor) {
            // Between points 2 and 3 there is nothing; around point 5 alone there is one.
            const QPoint a = pixelOf(editor, 2);
            const QPoint b = pixelOf(editor, 3);
            drag(editor, a + (b - a) / 4, b - (b - a) / 4);
            drag(editor, pixelOf(editor, 5) - QPoint(10, 10), pixelOf(editor, 5) + QPoint(10, 10));
            QVERIFY(!editor.zoomOutAction()->isEnabled());
            click(editor, 3, Qt::RightButton, pixelOf(editor, 1) - QPoint(5, 0));
        });
        QCOMPARE(platform->messageTexts(),
                 (std::vector<std::string>{"There Were No Data Within the Zoom-In Box!",
                                           "You CANNOT Zoom Around a Single Point!",
                                           "Error Editing Data! This would remove all data."}));
        QCOMPARE(platform->messages[1].title, std::string("Error in Zooming"));
    }

    // Print takes the client area as shown, with the busy pointer, on the printer chosen until the
    // editor closes; the Copy menu takes the plot as last drawn.
    void printCopyAndSaveTakeThePlot() {
        const auto saved = dir->path() / "plot.bmp";
        platform->answerDialog(saved.string());
        withEditor([this, &saved](EditorWindow& editor) {
            QCOMPARE(printerCaptions(editor),
                     QStringList({"-", "Office", "*PDF", "Lab && Co", "-", "Print"}));
            entry(editor, "PrnArray3")->trigger();
            entry(editor, "PrnArray3")->trigger(); // choosing it again keeps it checked
            QCOMPARE(printerCaptions(editor),
                     QStringList({"-", "Office", "PDF", "*Lab && Co", "-", "Print"}));
            entry(editor, "PrnPlot")->trigger();
            QCOMPARE(platform->printed.size(), std::size_t(1));
            QCOMPARE(platform->printed[0].printer, std::string("Lab & Co"));
            QVERIFY(platform->printed[0].busyPointer);
            QVERIFY(!platform->busyPointer);
            QCOMPARE(imageFromPicture(platform->printed[0].picture), editor.plotImage());

            const QMenu* copy = editor.findChild<QMenu*>(QStringLiteral("Copyit"));
            QCOMPARE(copy->actions()[0]->text(), QStringLiteral("To Clipboard"));
            QCOMPARE(copy->actions()[1]->text(), QStringLiteral("To File (Bitmap)"));
            copy->actions()[0]->trigger();
            QCOMPARE(imageFromPicture(platform->clipboard.at(0)), editor.plotImage());
            copy->actions()[1]->trigger();
            QCOMPARE(platform->bitmaps.at(0).path, saved.string());
            QCOMPARE(imageFromPicture(platform->bitmaps[0].picture), editor.plotImage());
            const FileDialogRequest& request = platform->dialogs.back().request;
            QCOMPARE(request.filter, std::string("Bitmap | *.bmp"));
            QCOMPARE(request.flags, unsigned(OverwritePrompt));
            QCOMPARE(request.defaultExtension, std::string("bmp"));
        });
        withEditor([](EditorWindow& editor) { QVERIFY(entry(editor, "PrnArray2")->isChecked()); });
        platform->printers.clear();
        withEditor([](EditorWindow& editor) {
            QVERIFY(!editor.findChild<QMenu*>(QStringLiteral("Dummy1"))->menuAction()->isEnabled());
            QCOMPARE(printerCaptions(editor), QStringList({"-", "-", "Print"}));
        });
        QVERIFY(platform->messages.empty());
    }
};

QTEST_MAIN(EditorWindowTest)
#include "EditorWindowTest.moc"
