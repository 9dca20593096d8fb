#include <QXmlStreamReader>
#include <QtPrintSupport>
#include <cmath>
#include <pwd.h>
#include <unistd.h>

#include "skerry/input/DataFileLoading.h"
#include "skerryui/base/PaneText.h"
#include "skerryui/colours/ColourDialog.h"
#include "skerryui/editor/PlotRenderer.h"
#include "skerryui/export/PictureImage.h"
#include "skerryui/export/PrintPicture.h"
#include "skerryui/mainwindow/GuiStartUp.h"
#include "skerryui/operations/CommentsDialog.h"
#include "skerryui/operations/NoiseDialog.h"
#include "skerryui/platform/QtPlatform.h"
#include "support/GuiTestBase.h"

using namespace skerry;
using namespace skerry::test;

namespace {

const QColor Green(0, 127, 0), Red(255, 0, 0);

// The pixels of an image for which `wanted` holds: how many, and the smallest rectangle around
// them.
std::pair<int, QRect> pixels(const QImage& image,
                             const std::function<bool(QPoint, QColor)>& wanted) {
    std::pair<int, QRect> found;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (wanted({x, y}, image.pixelColor(x, y))) {
                found = {found.first + 1, found.second | QRect(x, y, 1, 1)};
            }
        }
    }
    return found;
}
int pixelsOf(const QImage& image, const QColor& colour) {
    return pixels(image, [&colour](QPoint, QColor c) { return c == colour; }).first;
}

// The pages of a PDF file rendered by pdftoppm at `dpi` dots per inch; none when it is unreadable.
QList<QImage> renderPdf(const QString& pdf, int dpi) {
    QTemporaryDir out;
    QProcess tool;
    tool.start("pdftoppm", {"-r", QString::number(dpi), "-png", pdf, out.filePath("page")});
    QList<QImage> pages;
    for (const QString& name : tool.waitForFinished(60000) && tool.exitCode() == 0
                                   ? QDir(out.path()).entryList({"*.png"}, QDir::Files, QDir::Name)
                                   : QStringList()) {
        pages << QImage(out.filePath(name)).convertToFormat(QImage::Format_RGB32);
    }
    return pages;
}

// Where point i of the editor's plot lies, in window pixels.
QPointF centreOf(EditorWindow& editor, int i) {
    const PlotMapping map = editor.model().mapping();
    const EditorView& v = editor.model().view();
    return {map.column(map.plotX(v.EditX(i))), map.row(map.plotY(v.EditY(i)))};
}
QPoint pixelOf(EditorWindow& editor, int i) {
    return centreOf(editor, i).toPoint();
}

// Device pixels of exactly `colour` on the ring around point i: 0.65 x 1.5 of the 145 plot
// units across, give or take a pixel and a half.
int ringPixels(EditorWindow& editor, int i, const QColor& colour) {
    const QImage& image = editor.plotImage();
    const double k = image.devicePixelRatio(), r = 0.975 * image.width() / 145.0;
    const QPointF c = centreOf(editor, i) * k;
    return pixels(image,
                  [&](QPoint p, QColor found) {
                      return found == colour &&
                             std::abs(std::hypot(p.x() - c.x(), p.y() - c.y()) - r) <= 1.5 * k;
                  })
        .first;
}

void click(EditorWindow& editor, int tool, Qt::MouseButton button, QPoint at) {
    editor.toolAction(tool)->trigger();
    QTest::mouseClick(editor.plotView(), button, Qt::NoModifier, at);
}

// Keys, comma-separated, go where the user's keyboard sends them: the open menu, else the
// control that has the keyboard, else the active window.
void press(const QString& keys) {
    for (const QString& key : keys.split(',')) {
        QWidget* target = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                            : QApplication::focusWidget();
        const QKeyCombination k = QKeySequence(key)[0];
        QTest::keyClick(target ? target : QApplication::activeWindow(), k.key(),
                        k.keyboardModifiers());
    }
}

// Leaves a window the way named: the close box, keys ("key Esc"), or a click on the button or
// tool with that text or tool tip.
void leave(QWidget& window, const QString& way) {
    if (way == "close box") {
        window.close();
    } else if (way.startsWith("key ")) {
        press(way.mid(4));
    }
    for (QAbstractButton* b : window.findChildren<QAbstractButton*>()) {
        if (b->isVisible() && (b->text().remove('&') == way || b->toolTip() == way)) {
            QTest::mouseClick(b, Qt::LeftButton);
        }
    }
}

// Six pixels, top row red, green, blue; bottom row white, black and a dark grey-blue.
const Picture SixPixels{
    3, 2, {0xffff0000u, 0xff00ff00u, 0xff0000ffu, 0xffffffffu, 0xff000000u, 0xff010203u}};

} // namespace

// The windows driven through their menus, mouse and keyboard on the offscreen platform, with
// dialogs, messages, printing and copying answered and recorded by the scripted platform; then
// the Qt side of printing, copying and saving. What the commands and the editor's tools do is
// for the tests of the layers below; these check that clicks and keys reach them, and what only
// the windows show: texts, pixels, places.
class GuiTest : public GuiTestBase {
    Q_OBJECT

    QStringList paneLines(int pane) const { return window->pane(pane)->toPlainText().split('\n'); }
    // Ten points at x = 5.95 .. 6.40 and readings 0.1 .. 1.0, point 4 deleted. The frame is
    // exactly their extent: point 1 lies on its left edge, 2 on its bottom edge and 10 on its top
    // right corner, and these are not drawn.
    void getTenPoints() { getData("ten-points.RA4"); }

private slots:
    void init() {
        setUpMainWindow();
        platform->printers = {"Office", "PDF", "Lab & Co"};
        program->DefaultPrinterName = "  PDF ";
    }
    void cleanup() { tearDownMainWindow(); }

    // --- Main window ---

    // A scan whose name has more than 18 characters, some beyond ASCII: its tab shows "..." and
    // its last 18 characters, counted as characters, not bytes. Save and Edit reach their commands.
    void getDataShowsTheScanAndSaveWritesTheListing() {
        std::filesystem::rename("cell1-absorbance.RA1", "Probe-Größenmessung-β.RA1");
        getData("Probe-Größenmessung-β.RA1");
        QCOMPARE(window->tabs()->tabText(0), "...rößenmessung-β.RA1");
        QCOMPARE(paneLines(0)[0], "Cell 1  BSA 0.5 mg/ml in PBS  equilibrium 12000 rpm");
        QCOMPARE(paneLines(2)[2], "   5.80000    2.51527E-02    5.100E-03");
        QVERIFY(QFontInfo(window->pane(2)->font()).fixedPitch());
        platform->answerDialog("complete.dat");
        menuEntry("Save", "Complete")->trigger();
        QCOMPARE(readBytes("complete.dat"), window->model().state().panes[2].text);
        menuEntry("Edit", "Invert Sign of Data")->trigger();
        QCOMPARE(paneLines(2)[2], "   5.80000   -2.51527E-02    5.100E-03");
    }

    // From the start, the scans of a fit file on the LoadedFiles menu, and a blank; then the
    // second scan without the blank.
    void fitFileAndBlankMenus() {
        QCOMPARE(shownTexts(*window), dataLines("main-window-at-start.txt"));
        platform->answerDialog("cell1.fit");
        menuEntry("File", "Get File(s) From Fit-File")->trigger();
        platform->answerDialog("cell1-blank.RA1");
        menuEntry("File", "Get Blank")->trigger();
        QCOMPARE(shownTexts(*window), dataLines("main-window-with-fit-file-and-blank.txt"));
        QCOMPARE(paneLines(1)[0], "Cell 1  PBS reference scan  12000 rpm");
        menuEntry("File", "Clear Blank")->trigger();
        menuEntry("LoadedFiles", "...2-interference.IP1")->trigger();
        QCOMPARE(shownTexts(*window), dataLines("main-window-with-second-scan.txt"));
    }

    void closingAsksFirst() {
        platform->answerMessage(MessageAnswer::No);
        QVERIFY(!window->close() && window->isVisible());
        platform->answerMessage(MessageAnswer::Yes);
        QVERIFY(window->close() && !window->isVisible());
    }

    // Several scans named on the command line, or dropped on the main window, open as a run: the
    // list of its scans appears above the panes, and choosing another scan there with the keyboard
    // shows that scan.
    void severalFilesOpenARun() {
        QVERIFY(!window->scans()->isVisible());
        window->openFiles({"cell1-absorbance.RA1", "ten-points.RA4"});
        QCOMPARE(window->scans()->count(), 2);
        QCOMPARE(window->tabs()->tabText(0), "...ll1-absorbance.RA1");
        QMimeData files;
        files.setUrls(
            {QUrl::fromLocalFile(QDir::current().absoluteFilePath("ten-points.RA4")),
             QUrl::fromLocalFile(QDir::current().absoluteFilePath("cell1-blank.RA1")),
             QUrl::fromLocalFile(QDir::current().absoluteFilePath("cell1-absorbance.RA1"))});
        QDragEnterEvent enter({9, 9}, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop({9, 9}, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
        QVERIFY(QApplication::sendEvent(window.get(), &enter) && enter.isAccepted());
        QVERIFY(QApplication::sendEvent(window.get(), &drop) && drop.isAccepted());
        QVERIFY(window->scans()->isVisible());
        QCOMPARE(window->scans()->count(), 3);
        QCOMPARE(window->scans()->currentText(), "ten-points.RA4");
        QVERIFY(window->tabs()->tabText(0).endsWith("ten-points.RA4"));
        window->scans()->setFocus();
        QTest::keyClick(window->scans(), Qt::Key_End);
        QCOMPARE(window->scans()->currentText(), "cell1-absorbance.RA1");
        QCOMPARE(window->tabs()->tabText(0), "...ll1-absorbance.RA1");
        QVERIFY(platform->messages.empty());
    }

    // Files dragged from a command's own file dialog onto the window, whose event loop delivers
    // them while the command waits, open nothing, and nor do files handed to the window then:
    // Get Data then opens the file chosen in its dialog, as always.
    void aDropWhileADialogIsOpenOpensNothing() {
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(QDir::current().absoluteFilePath("ten-points.RA4")),
                       QUrl::fromLocalFile(QDir::current().absoluteFilePath("cell1-blank.RA1"))});
        bool accepted = true;
        platform->whileDialogOpen = [&] {
            QDragEnterEvent enter({9, 9}, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
            QDropEvent drop({9, 9}, Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(window.get(), &enter);
            QApplication::sendEvent(window.get(), &drop);
            accepted = enter.isAccepted() || drop.isAccepted();
            window->openFiles({"ten-points.RA4", "cell1-blank.RA1"});
        };
        platform->answerDialog("cell1-absorbance.RA1");
        menuEntry("File", "Get Data")->trigger();
        QVERIFY(!accepted);
        QVERIFY(!window->scans()->isVisible());
        QCOMPARE(window->tabs()->tabText(0), "...ll1-absorbance.RA1");
        QVERIFY(platform->messages.empty());
    }

    // The folder dialog of Save with a run open: the folder typed and chosen, or none when
    // cancelled.
    void theFolderDialogAnswers_data() { tableRows(); }
    void theFolderDialogAnswers() {
        QFETCH(QStringList, row);
        QDir::current().mkdir("sub");
        QtPlatform qt;
        std::optional<std::string> answer;
        QAction choose;
        QObject::connect(&choose, &QAction::triggered, [&] { answer = qt.folderDialog("Folder"); });
        withModal<QFileDialog>(&choose, [&row](QFileDialog& dialog) {
            QCOMPARE(dialog.windowTitle(), "Folder");
            dialog.findChild<QLineEdit*>("fileNameEdit")->setText(row[0]);
            leave(dialog, row[1]);
        });
        QCOMPARE(QString::fromStdString(answer.value_or("none")).remove(QDir::currentPath() + '/'),
                 row[2]);
    }

    // The bytes of a file as the text of a pane: UTF-8 where they are, else Latin-1, with CR LF
    // and lone CR as line breaks; a line of megabytes is shown cut, never in the comment box,
    // where the text is edited and saved back, and a line of the longest shown length whole.
    void paneTexts() {
        QCOMPARE(paneText("M\xc3\xbchle\r\nb\rc\nd"), "Mühle\nb\nc\nd");
        QCOMPARE(paneText("M\xfchle"), "Mühle");
        const std::string bytes =
            std::string(LongestShownLine + 9, '7') + "\r\n" + std::string(LongestShownLine, 'x');
        QCOMPARE(paneText(bytes).split('\n'),
                 QStringList({QString(LongestShownLine, '7') + " ... (9 more characters not shown)",
                              QString(LongestShownLine, 'x')}));
        QCOMPARE(textFromBytes(bytes).size(), 2 * LongestShownLine + 10);
    }

    // The splash (480 x 240) and the main window (820 x 560) at a quarter of the free space of
    // the screen, the main window shown only when asked, and on a screen smaller than it at the
    // top left corner.
    void startUpWindows() {
        platform->screen = {1280, 1024};
        GuiStartUp windows(*program, *platform);
        windows.showSplash();
        const QWidgetList tops = QApplication::topLevelWidgets();
        const QWidget* splash = *std::find_if(
            tops.begin(), tops.end(), [](QWidget* w) { return w->objectName() == "Splash1"; });
        QVERIFY(splash->windowTitle() == "Skerry V0.999" && splash->pos() == QPoint(200, 196));
        windows.loadMainWindow();
        QVERIFY(windows.mainWindow()->pos() == QPoint(115, 116) &&
                !windows.mainWindow()->isVisible());
        windows.showMainWindow();
        windows.setMainWindowCaption("Skerry V0.999.0028");
        QVERIFY(windows.mainWindow()->isVisible() &&
                windows.mainWindow()->windowTitle() == "Skerry V0.999.0028");
        windows.mainWindow()->placeOnScreen({640, 480});
        QCOMPARE(windows.mainWindow()->pos(), QPoint(0, 0));
    }

    // --- Editor ---

    // 52% x 65% of the screen, centred across and 3% of the screen's height above the middle;
    // the toolbar of 540 or 420 twips and the read-out's font follow the screen's width.
    void editorSizePlaceAndTexts_data() { tableRows(); }
    void editorSizePlaceAndTexts() {
        QFETCH(QStringList, row);
        platform->screen = {row[0].toInt(), row[1].toInt()};
        getTenPoints();
        withEditor([&row](EditorWindow& editor) {
            QCOMPARE(editor.frameGeometry(),
                     QRect(row[2].toInt(), row[3].toInt(), row[4].toInt(), row[5].toInt()));
            const int shown = row[6].toInt();
            QVERIFY(editor.toolbar(shown)->isVisible() && !editor.toolbar(3 - shown)->isVisible());
            QCOMPARE(editor.toolbar(shown)->height(), row[7].toInt());
            QCOMPARE(QFontInfo(editor.xyLabel()->font()).pointSize(), row[8].toInt());
            QCOMPARE(shownTexts(editor), dataLines("editor.txt"));
        });
    }

    // Rings, not discs, in the colours of their marks; points on the frame's edges are not drawn;
    // the frame is black with ticks pointing inward. Clicks change the marks; the zoom box is
    // drawn over the plot while the drag goes on, never into the plot itself.
    void plotShowsRingsClicksAndTheZoomBox() {
        getTenPoints();
        withEditor([this](EditorWindow& editor) {
            const QImage& image = editor.plotImage();
            const double k = image.devicePixelRatio();
            QCOMPARE(image.size(), editor.plotView()->size() * k);
            // Rings written straight into the image are the stamps' pixels exactly (a clip makes
            // the renderer stamp them).
            QImage stamped = makePlotImage(editor.plotView()->size(), k);
            QPainter painter(&stamped);
            painter.setClipRect(stamped.rect());
            renderPlot(painter, editor.plotView()->size(), editor.model().view(),
                       plotColors(*program), RingDrawing::Stamped);
            painter.end();
            QCOMPARE(stamped, image);
            QVERIFY(ringPixels(editor, 3, Green) >= 12 && ringPixels(editor, 3, Red) == 0);
            QVERIFY(ringPixels(editor, 4, Red) >= 12 && ringPixels(editor, 4, Green) == 0);
            QCOMPARE(image.pixelColor((centreOf(editor, 3) * k).toPoint()), QColor(Qt::white));
            for (const int i : {1, 2, 10}) {
                QCOMPARE(ringPixels(editor, i, Green), 0);
            }
            const PlotMapping map = editor.model().mapping();
            const double tick = map.column(editor.model().view().XAxis.tickPosition(1));
            QCOMPARE(image.pixelColor((QPointF(map.column(50), map.row(0)) * k).toPoint()),
                     Qt::black);
            QCOMPARE(image.pixelColor((QPointF(tick, map.row(1.5)) * k).toPoint()), Qt::black);
            click(editor, 2, Qt::LeftButton, pixelOf(editor, 3));
            QVERIFY(editor.toolAction(2)->isChecked() && !editor.toolAction(1)->isChecked());
            QVERIFY(ringPixels(editor, 3, Red) >= 12 && ringPixels(editor, 3, Green) == 0);
            click(editor, 4, Qt::LeftButton, pixelOf(editor, 4));
            QVERIFY(ringPixels(editor, 4, Green) >= 12);

            QWidget* plot = editor.plotView();
            const QPoint from = pixelOf(editor, 3) + QPoint(-15, 15),
                         to = pixelOf(editor, 6) + QPoint(15, -15);
            const QPoint edge = (QPointF(from.x(), (from.y() + to.y()) / 2) * k).toPoint();
            editor.toolAction(1)->trigger();
            QTest::mousePress(plot, Qt::LeftButton, Qt::NoModifier, from);
            QTest::mouseMove(plot, (from + to) / 2);
            QTest::mouseMove(plot, to);
            QVERIFY(!editor.xyLabel()->text().isEmpty());
            QCOMPARE(plot->grab().toImage().pixelColor(edge), Red);
            QCOMPARE(image.pixelColor(edge), Qt::white);
            QTest::mouseRelease(plot, Qt::LeftButton, Qt::NoModifier, to);
            QVERIFY(plot->grab().toImage().pixelColor(edge) != Red);
            QVERIFY(ringPixels(editor, 4, Green) >= 12 && editor.model().view().ViewXMin > 6.0f);
            editor.zoomOutAction()->trigger();
            QVERIFY(!editor.zoomOutAction()->isEnabled() &&
                    editor.model().view().ViewXMin == 5.95f);
        });
    }

    // A run of three scans: the current one in the user's colours over the others in paler ones
    // (three fifths of the way to white); "Suggest Edits" draws each column's first and last
    // kept x as a dashed grey line across the frame, and its undo takes the lines away.
    void runScansAndSuggestedColumnsAreDrawn() {
        std::filesystem::copy(std::filesystem::path(SKERRY_EXAMPLES_DIR) / "run", dir->path());
        getData("00001.RA1");
        std::vector<RunScan> scans{{program->data(), {}}};
        for (const char* name : {"00002.RA1", "00003.RA1"}) {
            QVERIFY(loadDataFile(scans.emplace_back().data, (dir->path() / name).string()).ok());
        }
        program->run.assign(scans);
        withEditor([](EditorWindow& editor) {
            const QImage& image = editor.plotImage();
            const QColor paleGreen(153, 203, 153), line(70, 70, 70);
            QVERIFY(pixelsOf(image, Green) > 1000 && pixelsOf(image, paleGreen) > 1000);
            const PlotMapping map = editor.model().mapping();
            const double k = image.devicePixelRatio();
            // The device pixels of the line colour within a pixel of x, inside the frame.
            const auto linePixels = [&](float x) {
                const QPointF top(map.column(map.plotX(x)), map.row(100));
                const QRect column((top * k).toPoint() + QPoint(-1, 2),
                                   QSize(3, int((map.row(0) - map.row(100)) * k) - 4));
                return pixelsOf(image.copy(column), line);
            };
            const EditScan& current = editor.model().view().current();
            const auto xOf = [&current](std::int32_t i) {
                return current.x(static_cast<std::size_t>(i - 1));
            };
            editor.toolAction(9)->trigger();
            QCOMPARE(editor.toolAction(9)->toolTip(), QStringLiteral("Suggest Edits"));
            QVERIFY(editor.xyLabel()->text().startsWith("Suggested "));
            QVERIFY(!current.columns.empty());
            const float first = xOf(current.columns.front().first);
            const float last = xOf(current.columns.back().last);
            const int frameHeight = int((map.row(0) - map.row(100)) * k);
            QVERIFY(linePixels(first) > frameHeight / 3 && linePixels(last) > frameHeight / 3);
            editor.activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), &editor);
            press("Ctrl+Z");
            QCOMPARE(linePixels(first) + linePixels(last), 0);
        });
    }

    // Left of the cursor between points 2 and 3, right of it from just left of point 8, point 4
    // restored: the marks come back only with Exit and update.
    void sweepsComeBackOnlyWithExitAndUpdate_data() { tableRows(); }
    void sweepsComeBackOnlyWithExitAndUpdate() {
        QFETCH(QStringList, row);
        getTenPoints();
        withEditor([&row](EditorWindow& editor) {
            click(editor, 3, Qt::LeftButton, (pixelOf(editor, 2) + pixelOf(editor, 3)) / 2);
            click(editor, 3, Qt::RightButton, pixelOf(editor, 8) - QPoint(2, 0));
            click(editor, 4, Qt::LeftButton, pixelOf(editor, 4));
            leave(editor, row[0]);
            QVERIFY(!editor.isVisible());
        });
        QString marks;
        for (int i = 1; i <= window->model().data().PointCount; ++i) {
            marks += window->model().data().WorkPoints(i).isGood() ? '+' : '-';
        }
        QCOMPARE(marks, row[1]);
    }

    // Ctrl+Z undoes the last sweep and Ctrl+Y redoes it, as the read-out says.
    void undoAndRedoFromTheKeyboard() {
        getTenPoints();
        withEditor([](EditorWindow& editor) {
            click(editor, 3, Qt::LeftButton, (pixelOf(editor, 2) + pixelOf(editor, 3)) / 2);
            editor.activateWindow();
            QTRY_COMPARE(QApplication::activeWindow(), &editor);
            press("Ctrl+Z");
            QVERIFY(editor.model().view().XYLabel.starts_with("Undone: 2 points removed left of"));
            QVERIFY(editor.model().view().EditThird(1) > 0);
            press("Ctrl+Y");
            QVERIFY(editor.model().view().XYLabel.starts_with("Redone: 2 points"));
            QVERIFY(editor.model().view().EditThird(1) < 0);
        });
    }

    // Print takes the client area as shown, on the printer chosen; the Copy menu takes the plot
    // as last drawn: all in the screen's device pixels. F10 highlights the first command of the
    // menu bar that can be used, "&Hide (X,Y)", and the arrows go on through "&Printer" to
    // "&Copy", whose first entry is "To Clipboard". Without printers the menu is disabled.
    void printAndCopyTakeThePlot() {
        getTenPoints();
        platform->answerDialog("plot.bmp");
        withEditor([this](EditorWindow& editor) {
            const auto entry = [&editor](const char* name) {
                return editor.findChild<QAction*>(name);
            };
            entry("PrnArray3")->trigger();
            entry("PrnArray3")->trigger(); // choosing it again keeps it checked
            QVERIFY(entry("PrnArray3")->isChecked() && !entry("PrnArray2")->isChecked());
            entry("PrnPlot")->trigger();
            entry("SaveBMP")->trigger();
            editor.activateWindow(); // offscreen, the keyboard follows a new window only once asked
            QTRY_COMPARE(QApplication::activeWindow(), &editor);
            press("F10,Right,Right,Return");
            const Picture plot = pictureFromImage(editor.plotImage());
            QVERIFY(platform->printed.size() == 1 && platform->printed[0].picture == plot);
            QCOMPARE(platform->printed[0].printer, "Lab & Co");
            QVERIFY(platform->clipboard.size() == 1 && platform->clipboard[0] == plot);
            QVERIFY(platform->bitmaps.size() == 1 && platform->bitmaps[0].picture == plot);
        });
        platform->printers.clear();
        withEditor([](EditorWindow& editor) {
            QVERIFY(!editor.findChild<QMenu*>("Dummy1")->menuAction()->isEnabled());
        });
    }

    // --- Dialogs ---

    // Cancel, the close box and Escape change nothing; OK and Return keep what was typed.
    void leavingADialog_data() { tableRows(); }
    void leavingADialog() {
        QFETCH(QStringList, row);
        getTenPoints();
        const auto state = [this] {
            return std::tuple(window->model().state().panes[2].text, program->colours.GoodColor);
        };
        const auto before = state();
        withModal<QDialog>(menuEntry(row[0], row[1]), [&row](QDialog& dialog) {
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            // Keys go to the focus widget, which a busy machine moves into the dialog only after
            // it has become active.
            QTRY_VERIFY(dialog.isAncestorOf(QApplication::focusWidget()));
            press(row[2]);
            leave(dialog, row[3]);
            QVERIFY(!dialog.isVisible());
        });
        QCOMPARE(state() == before, row[4] == "nothing changed");
    }

    // Centred over the main window, 8 pixels below its top, with the level selected to be typed
    // over whichever way the box gets the keyboard, also after a refused level; OK adds the noise
    // and the menus swap.
    void noiseLevelTypedIsAdded() {
        getTenPoints();
        window->move(100, 60);
        const QRect main = window->frameGeometry();
        withModal<NoiseDialog>(menuEntry("Edit", "Add Random Noise"), [&](NoiseDialog& dialog) {
            QCOMPARE(shownTexts(dialog), dataLines("noise-dialog.txt"));
            QCOMPARE(dialog.pos(),
                     QPoint(main.x() + (main.width() - dialog.width()) / 2, main.y() + 8));
            QLineEdit* level = dialog.noiseLevel();
            QTRY_VERIFY(level->hasFocus() && level->selectedText() == level->text());
            dialog.isDone()->setFocus(Qt::TabFocusReason);
            level->deselect();
            level->setFocus(Qt::ActiveWindowFocusReason);
            QCOMPARE(level->selectedText(), level->text());
            QTest::keyClicks(level, "ten");
            QTest::mouseClick(dialog.isDone(), Qt::LeftButton);
            QVERIFY(dialog.isVisible() && platform->messages.size() == 1);
            QVERIFY(level->text() == " 1.00000E-02" && level->selectedText() == level->text());
            QTest::keyClicks(level, "0.5");
            QTest::mouseClick(dialog.isDone(), Qt::LeftButton);
        });
        QCOMPARE(window->model().data().NoiseRms, 0.5f);
        QVERIFY(!menuEntry("Edit", "Add Random Noise")->isVisible());
        menuEntry("Edit", "Remove Random Noise")->trigger();
        QVERIFY(menuEntry("Edit", "Add Random Noise")->isVisible());
    }

    // At a quarter of the free space of the screen; lines typed or pasted, beyond ASCII too,
    // are kept in the encoding of the file. A clipboard that holds nothing (as on X11 once the
    // program that copied has ended) pastes nothing.
    void typedCommentLinesAreStored() {
        getData("cell1-absorbance.RA1");
        const ScreenSize screen = platform->screen;
        withModal<CommentsDialog>(menuEntry("Edit", "Comment Lines"), [&](CommentsDialog& dialog) {
            QCOMPARE(shownTexts(dialog), dataLines("comments-dialog.txt"));
            QCOMPARE(dialog.pos(), QPoint((screen.width - dialog.width()) / 4,
                                          (screen.height - dialog.height()) / 4));
            QVERIFY(QFontInfo(dialog.richTextBox()->font()).fixedPitch());
            dialog.richTextBox()->moveCursor(QTextCursor::End);
            QGuiApplication::clipboard()->setMimeData(new QMimeData);
            QTest::keyClick(dialog.richTextBox(), Qt::Key_V, Qt::ControlModifier);
            QGuiApplication::clipboard()->setText(QStringLiteral("Rotor 2 "));
            QTest::keyClick(dialog.richTextBox(), Qt::Key_V, Qt::ControlModifier);
            dialog.richTextBox()->insertPlainText("für");
            QTest::keyClick(dialog.richTextBox(), Qt::Key_Return);
            QTest::keyClicks(dialog.richTextBox(), "checked");
            QTest::mouseClick(dialog.isOK(), Qt::LeftButton);
        });
        QCOMPARE(window->model().data().CommentCount, 5);
        QVERIFY(readBytes("~comment.tmp").ends_with("\r\nRotor 2 f\xc3\xbcr\r\nchecked"));
    }

    // A colour from a settings file beyond 0 .. 255 is shown held to it and kept as it is until
    // its slider moves; the dialog is 4080 x 3480 twips. The keyboard moves a slider by its
    // steps: Home to 0, Page Up by 5, Right by 1. The previews follow at once, as outlines, and
    // the next plot uses the new colours.
    void colourDialogFromTheKeyboard() {
        program->colours.GoodColor = {300, -4, 127};
        getTenPoints();
        withModal<ColourDialog>(menuEntry("Set Plot Colors"), [](ColourDialog& dialog) {
            QCOMPARE(shownTexts(dialog), dataLines("colour-dialog.txt"));
            QCOMPARE(dialog.size(), QSize(272, 232));
            QTest::keyClick(dialog.slider(0), Qt::Key_Home);
            QTest::keyClick(dialog.slider(3), Qt::Key_PageUp);
            QTest::keyClick(dialog.slider(4), Qt::Key_Right);
            const QImage shape = dialog.shape(1)->grab().toImage();
            QVERIFY(pixelsOf(shape, QColor(0, 0, 127)) > 20 &&
                    pixelsOf(shape, QColor(255, 0, 127)) == 0);
            QCOMPARE(shape.pixelColor(shape.rect().center()), QColor(192, 192, 192));
            QCOMPARE(dialog.shape(2)->colour(), QColor(255, 1, 5));
            QTest::mouseClick(dialog.isOK(), Qt::LeftButton);
        });
        QCOMPARE(program->colours.GoodColor, (PlotColor{0, -4, 127}));
        QCOMPARE(program->colours.DeletedColor, (PlotColor{255, 1, 5}));
        withEditor([](EditorWindow& editor) {
            QVERIFY(ringPixels(editor, 3, QColor(0, 0, 127)) >= 12 &&
                    ringPixels(editor, 4, QColor(255, 1, 5)) >= 12);
        });
    }

    // The captions have no access keys; F10 opens the first menu and the arrows do the rest. An
    // arrow that opens the next menu highlights its first entry. Escape twice or F10 again
    // leaves the bar. Either way the keyboard is back where it was.
    void f10OpensTheMenus_data() { tableRows(); }
    void f10OpensTheMenus() {
        QFETCH(QStringList, row);
        getTenPoints();
        window->pane(0)->setFocus();
        platform->answerDialog(std::nullopt);
        QSignalSpy chosen(window->menuBar(), &QMenuBar::triggered);
        press("F10," + row[0]);
        QCOMPARE(chosen.isEmpty() ? "" : chosen[0][0].value<QAction*>()->text(), row[1]);
        QCOMPARE(QString::fromStdString(platform->dialogs.back().request.title), row[2]);
        QVERIFY(QApplication::activePopupWidget() == nullptr &&
                window->menuBar()->activeAction() == nullptr);
        QCOMPARE(QApplication::focusWidget(), window->pane(0));
    }

    // --- Printing, copying and saving through Qt ---

    // The clipboard holds the picture as an image, and nothing else; a bitmap file is a 24-bit
    // bitmap at 96 dots per inch, and in a folder that does not exist nothing is written.
    void clipboardAndBitmapFile() {
        QtPlatform qt;
        QApplication::clipboard()->setText("before");
        qt.putPictureOnClipboard(SixPixels);
        QCOMPARE(QApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                 QImage("six-pixels.bmp").convertToFormat(QImage::Format_RGB32));
        QVERIFY(QApplication::clipboard()->text().isEmpty());
        QVERIFY(qt.saveBitmapFile("plot.bmp", SixPixels));
        QCOMPARE(readBytes("plot.bmp"), readBytes("six-pixels.bmp"));
        QVERIFY(!qt.saveBitmapFile("gone/plot.bmp", SixPixels));
        QVERIFY(!std::filesystem::exists("gone"));
    }

    // The name as typed into the save dialog's name box; none when the dialog is cancelled. And
    // the report of a printer that is gone.
    void theSaveDialogAddsTheExtension_data() { tableRows(); }
    void theSaveDialogAddsTheExtension() {
        QFETCH(QStringList, row);
        QtPlatform qt;
        std::optional<std::string> answer;
        QAction save;
        QObject::connect(&save, &QAction::triggered, [&] {
            answer = qt.saveFileDialog({"", "Bitmap | *.bmp", OverwritePrompt, "", "bmp"});
        });
        withModal<QFileDialog>(&save, [&row](QFileDialog& dialog) {
            QCOMPARE(dialog.selectedNameFilter(), "Bitmap (*.bmp)");
            dialog.findChild<QLineEdit*>("fileNameEdit")->setText(row[0]);
            leave(dialog, row[1]);
        });
        QCOMPARE(QString::fromStdString(answer.value_or("none")).remove(QDir::currentPath() + '/'),
                 row[2]);
        QCOMPARE(qtFileFilter("All Files | *.*"), "All Files (*)");
        QCOMPARE(qt.printPicture("No such printer", SixPixels).reason(),
                 "the printer is not installed.");
    }

    // A picture of one colour printed on an A4 page as a PDF file and rendered at 72 dots per
    // inch, where a pixel is a point: the page turned, the picture fitted and centred.
    void printsOnAPdfPageTurnedFittedAndCentred_data() { tableRows(); }
    void printsOnAPdfPageTurnedFittedAndCentred() {
        QFETCH(QStringList, row);
        if (QStandardPaths::findExecutable("pdftoppm").isEmpty()) {
            QSKIP("pdftoppm (poppler-utils) is needed to read the printed page");
        }
        const QString pdf = QDir::current().filePath("page.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(row[2].toDouble(), 0, 0, 0), QPageLayout::Point);
        QImage image(row[0].toInt(), row[1].toInt(), QImage::Format_RGB32);
        image.fill(Qt::blue);
        QVERIFY(PrintPictureFitted(printer, image));
        const QList<QImage> pages = renderPdf(pdf, 72);
        QCOMPARE(pages.size(), 1);
        const QRect box = pixels(pages[0], [](QPoint, QColor c) { return c.red() < 128; }).second;
        const QList<int> found{pages[0].width(), pages[0].height(), box.x(),
                               box.y(),          box.width(),       box.height()};
        for (int i = 0; i < 6; ++i) {
            QVERIFY2(std::abs(found[i] - row[3 + i].toDouble()) <= 2,
                     qPrintable(QString::number(found[i])));
        }
    }

    // A picture printed through a real print system: CUPS with the printer "PDF" served by
    // cups-pdf, which turns every job into a PDF file, as tools/start-print-system.sh sets them
    // up: in the folder PDF of the home folder of the user's account. Without them the test is
    // skipped. The way from the editor's Print to the platform and the page's layout in detail are
    // the tests' above; the print system may turn the page and change the colours.
    void thePrintSystemPrintsOnePage() {
        if (QPrinterInfo::printerInfo("PDF").isNull() ||
            QStandardPaths::findExecutable("pdftoppm").isEmpty()) {
            QSKIP("No printer PDF or no pdftoppm: tools/start-print-system.sh sets them up");
        }
        const QDir out(QString(getpwuid(getuid())->pw_dir) + "/PDF");
        const QStringList before = out.entryList({"*.pdf"});
        QVERIFY(QtPlatform().printPicture("PDF", SixPixels));
        // cups-pdf writes the file a moment after the job was handed over.
        QTRY_VERIFY_WITH_TIMEOUT(QDir(out).entryList({"*.pdf"}).size() > before.size(), 60000);
        QStringList added = QDir(out).entryList({"*.pdf"});
        added.removeIf([&before](const QString& name) { return before.contains(name); });
        const QString pdf = out.filePath(added.at(0));
        QTRY_COMPARE_WITH_TIMEOUT(renderPdf(pdf, 72).size(), 1, 30000);
        const QImage page = renderPdf(pdf, 72)[0];
        QFile::remove(pdf);
        // The six pixels take 80% of the page's longer side, whichever way the page was turned.
        const QRect drawn =
            pixels(page, [](QPoint, QColor c) { return c.lightness() < 240; }).second;
        const double share =
            std::max(drawn.width(), drawn.height()) / double(std::max(page.width(), page.height()));
        QVERIFY2(std::abs(share - 0.8) < 0.02, qPrintable(QString::number(share)));
    }
    // Copy > To File (PDF), (SVG) and (PNG) on the ten points, and skerry-batch --plot on them
    // with the colours of the settings file beside them: the seven inside the frame are drawn,
    // point 4 deleted.
    void plotFilesHoldThePlot_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QStringList>("colours"); // good, deleted
        for (const char* kind : {"PDF", "SVG", "PNG"}) {
            QTest::newRow(kind) << QString("Save") + kind << QStringList{"#007f00", "#ff0000"};
            QTest::addRow("skerry-batch %s", kind)
                << QString(kind).toLower() << QStringList{"#0000c8", "#c800c8"};
        }
    }
    void plotFilesHoldThePlot() {
        QFETCH(QString, entry);
        QFETCH(QStringList, colours);
        QString path = QString::fromStdString((dir->path() / "plot").string());
        QSize plotSize(998, 600); // skerry-batch's, the editor's on a 1920 x 1080 screen
        if (entry.startsWith("Save")) {
            getTenPoints();
            withEditor([&](EditorWindow& editor) {
                plotSize = editor.findChild<QWidget*>(QStringLiteral("PlotView"))->size();
                platform->answerDialog(path.toStdString());
                editor.findChild<QAction*>(entry)->trigger();
            });
        } else {
            QProcess batch;
            QProcessEnvironment settings = QProcessEnvironment::systemEnvironment();
            settings.insert("XDG_CONFIG_HOME", QDir::currentPath());
            batch.setProcessEnvironment(settings);
            path += "." + entry;
            batch.start(SKERRY_BATCH, {"--plot", path, "ten-points.RA4"});
            QVERIFY(batch.waitForFinished() && batch.exitCode() == 0);
            entry = "Save" + entry.toUpper();
        }
        QVERIFY(platform->messages.empty());
        QCOMPARE(std::filesystem::current_path(), dir->path());
        if (entry == "SavePDF") {
            QProcess text;
            text.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
            QVERIFY(text.waitForFinished());
            const QString words = QString::fromUtf8(text.readAllStandardOutput());
            QVERIFY(words.contains("Editing Data Set") && words.contains("Concentration"));
            QCOMPARE(renderPdf(path, 36).size(), 1);
        } else if (entry == "SaveSVG") {
            // Each ring is a path, drawn in the stroke colour of the group around it.
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QXmlStreamReader xml(&file);
            QStringList strokes{QString()};
            QMap<QString, int> rings;
            while (!xml.atEnd()) {
                const auto token = xml.readNext();
                if (token == QXmlStreamReader::StartElement && xml.name() == u"g") {
                    const auto stroke = xml.attributes().value(QStringLiteral("stroke"));
                    strokes.push_back(stroke.isEmpty() ? strokes.back() : stroke.toString());
                } else if (token == QXmlStreamReader::EndElement && xml.name() == u"g") {
                    strokes.pop_back();
                } else if (token == QXmlStreamReader::StartElement && xml.name() == u"path") {
                    ++rings[strokes.back()];
                }
            }
            QVERIFY(!xml.hasError());
            QCOMPARE(rings.value(colours[0]), 6);
            QCOMPARE(rings.value(colours[1]), 1);
        } else {
            const QImage image(path);
            QCOMPARE(image.size(), plotSize * std::max<qreal>(2.0, qApp->devicePixelRatio()));
            QVERIFY(pixelsOf(image, colours[0]) > 3 * pixelsOf(image, colours[1]));
            QVERIFY(pixelsOf(image, colours[1]) > 0);
        }
    }
    // A plot the editor would warn about is still drawn, and skerry-batch says the warnings on
    // standard error: here one point, so that both axes hold values all alike.
    void batchPlotWarningsAreLinesOfStandardError() {
        dir->write("one-point.dat", "6.0 1 1\r\n");
        QProcess batch;
        batch.start(SKERRY_BATCH, {"--plot", "one-point.png", "one-point.dat"});
        QVERIFY(batch.waitForFinished() && batch.exitCode() == 0);
        QCOMPARE(batch.readAllStandardError(),
                 "skerry-batch: WARNING:  All X values are identical.\n"
                 "skerry-batch: WARNING:  All Y values are identical.\n");
        QVERIFY(QFile::exists("one-point.png"));
    }
};

QTEST_MAIN(GuiTest)
#include "GuiTest.moc"
