#include <QAction>
#include <QApplication>
#include <QtTest>
#include <cmath>

#include "skerryui/editor/EditorWindow.h"
#include "skerryui/editor/PlotRenderer.h"
#include "skerryui/export/PictureImage.h"
#include "support/GuiTestBase.h"
#include "support/TenPointScan.h"

using namespace skerry;

namespace {

// Whether any of the 2 x 2 device pixels that show window pixel (x, y) has the colour.
bool blockHas(const QImage& image, int x, int y, const QColor& colour) {
    for (int dy = 0; dy < 2; ++dy) {
        for (int dx = 0; dx < 2; ++dx) {
            if (image.pixelColor(2 * x + dx, 2 * y + dy) == colour) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

// The editor on a screen of two device pixels to the window's pixel (QT_SCALE_FACTOR=2, set
// before the application starts): the plot is drawn at the screen's resolution with the
// layout it has at one device pixel per window pixel.
class HighDpiEditorTest : public test::GuiTestBase {
    Q_OBJECT

private slots:
    void init() {
        setUpMainWindow();
        platform->printers = {"PDF"};
        getData(dir->write("scan.RA4", test::TenPointScan).string());
    }

    void cleanup() { tearDownMainWindow(); }

    // Every ring pixel of the plot drawn one to one reappears, in its colour, at twice its
    // position: the same rings in the same places, drawn with four times the pixels.
    void theRingsLieWhereTheyLieAtOneToOne() {
        withEditor([this](EditorWindow& editor) {
            QCOMPARE(editor.devicePixelRatioF(), 2.0);
            QCOMPARE(editor.plotImage().devicePixelRatio(), 2.0);
            QCOMPARE(editor.plotImage().size(), editor.plotView()->size() * 2);
            QImage single = makePlotImage(editor.plotView()->size());
            renderPlot(single, editor.model(), plotColors(*program));
            const QImage& twice = editor.plotImage();
            int ringPixels = 0;
            int matched = 0;
            int twiceRingPixels = 0;
            for (int y = 0; y < single.height(); ++y) {
                for (int x = 0; x < single.width(); ++x) {
                    const QColor c = single.pixelColor(x, y);
                    for (int dy = 0; dy < 2; ++dy) {
                        for (int dx = 0; dx < 2; ++dx) {
                            const QColor d = twice.pixelColor(2 * x + dx, 2 * y + dy);
                            twiceRingPixels +=
                                d == test::GoodRing || d == test::DeletedRing ? 1 : 0;
                        }
                    }
                    if (c != test::GoodRing && c != test::DeletedRing) {
                        continue;
                    }
                    ++ringPixels;
                    matched += blockHas(twice, x, y, c) ? 1 : 0;
                }
            }
            QVERIFY(ringPixels > 100);
            QVERIFY2(matched >= ringPixels * 95 / 100,
                     qPrintable(QStringLiteral("%1 of %2").arg(matched).arg(ringPixels)));
            QVERIFY(twiceRingPixels >= 3 * ringPixels);
        });
    }

    // The mouse works in window pixels: a click on a ring's centre removes that point.
    void clicksHitThePointsTheyHitAtOneToOne() {
        withEditor([](EditorWindow& editor) {
            const EditorModel& m = editor.model();
            const PlotMapping map = m.mapping();
            const QPoint centre(static_cast<int>(std::lround(map.column(map.plotX(m.EditX(6))))),
                                static_cast<int>(std::lround(map.row(map.plotY(m.EditY(6))))));
            editor.toolAction(2)->trigger();
            QTest::mouseClick(editor.plotView(), Qt::LeftButton, Qt::NoModifier, centre);
            QVERIFY(m.EditThird(6) < 0.0f);
            QVERIFY(m.EditThird(5) > 0.0f);
            QVERIFY(m.EditThird(7) > 0.0f);
        });
    }

    // Printing snaps the plot as shown and copying takes the back buffer: both at the screen's
    // pixels.
    void printAndCopyTakeTheScreensPixels() {
        withEditor([this](EditorWindow& editor) {
            editor.findChild<QAction*>(QStringLiteral("PrnPlot"))->trigger();
            editor.findChild<QAction*>(QStringLiteral("ClipPrn"))->trigger();
            QCOMPARE(platform->printed.size(), std::size_t{1});
            QCOMPARE(platform->clipboard.size(), std::size_t{1});
            // The pictures carry pixels only.
            QImage image = editor.plotImage();
            image.setDevicePixelRatio(1.0);
            QCOMPARE(imageFromPicture(platform->printed[0].picture), image);
            QCOMPARE(imageFromPicture(platform->clipboard[0]), image);
        });
    }
};

int main(int argc, char* argv[]) {
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    HighDpiEditorTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "HighDpiEditorTest.moc"
