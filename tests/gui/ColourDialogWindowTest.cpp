#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QtTest>

#include "skerryui/colours/ColourDialog.h"
#include "skerryui/editor/EditorWindow.h"
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

// "Set Plot Colors" opened from the main window's menu bar and played as a user would.
class ColourDialogWindowTest : public test::GuiTestBase {
    Q_OBJECT

    void withDialog(const std::function<void(ColourDialog&)>& script) {
        QVERIFY2(withModal<ColourDialog>(menuEntry("Set Plot Colors"), script),
                 "the colour dialog did not open");
    }

private slots:
    void init() { setUpMainWindow(); }
    void cleanup() { tearDownMainWindow(); }

    void opensWithItsLayoutAndTheColoursOnTheSliders() {
        withDialog([](ColourDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Set Plot Colors"));
            QCOMPARE(dialog.size(), QSize(272, 232));
            QCOMPARE(dialog.palette().color(QPalette::Window), QColor(192, 192, 192));

            // Twips of the design at 15 to the pixel.
            QCOMPARE(dialog.shape(1)->geometry(), QRect(50, 40, 34, 34));
            QCOMPARE(dialog.shape(2)->geometry(), QRect(184, 40, 34, 34));
            const QRect sliders[] = {{38, 84, 65, 26},   {38, 114, 65, 26},  {37, 145, 65, 26},
                                     {170, 145, 65, 26}, {170, 114, 65, 26}, {170, 84, 65, 26}};
            const int values[] = {0, 127, 0, 0, 0, 255};
            for (int i = 0; i < 6; ++i) {
                const QSlider* s = dialog.slider(i);
                QCOMPARE(s->geometry(), sliders[i]);
                QCOMPARE(s->orientation(), Qt::Horizontal);
                QCOMPARE(s->minimum(), 0);
                QCOMPARE(s->maximum(), 255);
                QCOMPARE(s->singleStep(), 1);
                QCOMPARE(s->pageStep(), 5);
                QCOMPARE(s->value(), values[i]);
            }
            QCOMPARE(dialog.isOK()->geometry(), QRect(36, 186, 65, 26));
            QCOMPARE(dialog.isOK()->text(), QStringLiteral("OK"));
            QCOMPARE(dialog.forgetIt()->geometry(), QRect(170, 186, 65, 26));
            QCOMPARE(dialog.forgetIt()->text(), QStringLiteral("Cancel"));

            QStringList texts;
            for (const QLabel* label : dialog.findChildren<QLabel*>()) {
                texts << label->text();
                QVERIFY(label->font().bold());
            }
            QCOMPARE(texts,
                     QStringList({"Good Data", "R", "G", "B", "Deleted Data", "R", "G", "B"}));
            QCOMPARE(dialog.shape(1)->colour(), Green);
            QCOMPARE(dialog.shape(2)->colour(), QColor(255, 0, 0));
        });
    }

    void theSlidersChangeTheColoursAndPreviewsLive() {
        withDialog([this](ColourDialog& dialog) {
            QVERIFY(pixelsOf(dialog.shape(1)->grab().toImage(), Green) > 20);
            // The keyboard moves a slider by its steps: End to 255, Page Up by 5, Right by 1.
            QTest::keyClick(dialog.slider(0), Qt::Key_End);
            QTest::keyClick(dialog.slider(3), Qt::Key_PageUp);
            QTest::keyClick(dialog.slider(4), Qt::Key_Right);
            QCOMPARE(program->GoodColor, (PlotColor{255, 127, 0}));
            QCOMPARE(program->DeletedColor, (PlotColor{255, 1, 5}));

            // The good circle is orange at once: an outline, its inside left grey.
            const QImage shape = dialog.shape(1)->grab().toImage();
            QVERIFY(pixelsOf(shape, Orange) > 20);
            QCOMPARE(pixelsOf(shape, Green), 0);
            QCOMPARE(shape.pixelColor(shape.rect().center()), QColor(192, 192, 192));
            QCOMPARE(dialog.shape(2)->colour(), QColor(255, 1, 5));
        });
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
        withDialog([way](ColourDialog& dialog) {
            dialog.slider(0)->setValue(255);
            switch (way) {
            case 0:
                QTest::mouseClick(dialog.isOK(), Qt::LeftButton);
                break;
            case 1:
                QTest::mouseClick(dialog.forgetIt(), Qt::LeftButton);
                break;
            case 2:
                dialog.close();
                break;
            default:
                QTest::keyClick(&dialog, Qt::Key_Escape);
                break;
            }
            QVERIFY(!dialog.isVisible());
        });
        QCOMPARE(program->GoodColor, kept ? (PlotColor{255, 127, 0}) : DefaultGoodColor);
        QCOMPARE(program->DeletedColor, DefaultDeletedColor);
    }

    void theNextPlotUsesTheNewColour() {
        withDialog([](ColourDialog& dialog) {
            dialog.slider(0)->setValue(255);
            QTest::mouseClick(dialog.isOK(), Qt::LeftButton);
        });
        platform->answerDialog(dir->write("scan.RA1", "Cell 1\r\n"
                                                      "R 1 20.0 42000 1234 1.234E+10 280 1\r\n"
                                                      "   6.0000  1.00000E-01    1.00000E-02\r\n"
                                                      "   6.1000  3.00000E-01    1.00000E-02\r\n"
                                                      "   6.2000  2.00000E-01    1.00000E-02\r\n"
                                                      "   6.3000  5.00000E-01    1.00000E-02\r\n")
                                   .string());
        menuEntry("File", "Get Data")->trigger();
        QVERIFY(withModal<EditorWindow>(menuEntry("Edit", "Data (graphically)"),
                                        [](EditorWindow& editor) {
                                            QVERIFY(pixelsOf(editor.plotImage(), Orange) > 20);
                                            QCOMPARE(pixelsOf(editor.plotImage(), Green), 0);
                                        }));
    }

    void aColourOutsideTheSliderRangeShowsClampedAndStays() {
        program->GoodColor = {300, -4, 127};
        withDialog([](ColourDialog& dialog) {
            QCOMPARE(dialog.slider(0)->value(), 255);
            QCOMPARE(dialog.slider(1)->value(), 0);
            QCOMPARE(dialog.slider(2)->value(), 127);
            QCOMPARE(dialog.shape(1)->colour(), QColor(255, 0, 127));
            QTest::mouseClick(dialog.isOK(), Qt::LeftButton);
        });
        QCOMPARE(program->GoodColor, (PlotColor{300, -4, 127}));
    }
};

QTEST_MAIN(ColourDialogWindowTest)
#include "ColourDialogWindowTest.moc"
