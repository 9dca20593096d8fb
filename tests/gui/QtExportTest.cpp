#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrinter>
#include <QTimer>
#include <QtTest>
#include <optional>

#include "skerryui/export/PictureImage.h"
#include "skerryui/export/PrintPicture.h"
#include "skerryui/platform/QtPlatform.h"
#include "support/PdfPages.h"
#include "support/TempDir.h"

using namespace skerry;

namespace {

// Six pixels, top row red, green, blue; bottom row white, black and a dark grey-blue.
const Picture SixPixels{
    3, 2, {0xffff0000u, 0xff00ff00u, 0xff0000ffu, 0xffffffffu, 0xff000000u, 0xff010203u}};

QColor pixel(std::uint32_t argb) {
    return QColor::fromRgb(argb);
}

} // namespace

// The Qt side of printing, copying and saving: the platform's clipboard, bitmap writer, save
// dialog and printing, without a print system (a PDF file stands in for the printer).
class QtExportTest : public QObject {
    Q_OBJECT

private slots:
    void theClipboardHoldsThePictureAsAnImage() {
        const QImage image = imageFromPicture(SixPixels);
        QVERIFY(pictureFromImage(image) == SixPixels);
        QVERIFY(pictureFromImage(image.convertToFormat(QImage::Format_ARGB32)) == SixPixels);
        QtPlatform platform;
        QApplication::clipboard()->setText(QStringLiteral("before"));
        platform.putPictureOnClipboard(SixPixels);
        const QImage held = QApplication::clipboard()->image();
        QCOMPARE(held.size(), QSize(3, 2));
        for (int i = 0; i < 6; ++i) {
            QCOMPARE(held.pixelColor(i % 3, i / 3), pixel(SixPixels.pixels[i]));
        }
        QVERIFY(QApplication::clipboard()->text().isEmpty());
    }

    void aBitmapFileIsAWindowsBitmap() {
        test::TempDir dir;
        QtPlatform platform;
        const auto path = dir / "plot.bmp";
        platform.saveBitmapFile(path.string(), SixPixels);
        // A 24-bit bitmap: file header, 40-byte info header at 96 dots per inch, then the rows
        // from the bottom up in blue, green, red order, each padded to a multiple of 4 bytes.
        const std::string expected{
            "BM\x4e\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00" // 78 bytes, pixels at 54
            "\x28\x00\x00\x00\x03\x00\x00\x00\x02\x00\x00\x00"   // header of 40, 3 x 2
            "\x01\x00\x18\x00\x00\x00\x00\x00\x18\x00\x00\x00"   // 1 plane, 24 bits, 24 bytes
            "\xc4\x0e\x00\x00\xc4\x0e\x00\x00"                   // 3780 pixels per metre
            "\x00\x00\x00\x00\x00\x00\x00\x00"                   // no palette
            "\xff\xff\xff\x00\x00\x00\x03\x02\x01\x00\x00\x00"   // bottom row, padded
            "\x00\x00\xff\x00\xff\x00\xff\x00\x00\x00\x00\x00",  // top row, padded
            78};
        QCOMPARE(test::readBytes(path), expected);

        // A folder that does not exist: nothing is written and nothing is said.
        platform.saveBitmapFile((dir / "gone" / "plot.bmp").string(), SixPixels);
        QVERIFY(!std::filesystem::exists(dir / "gone"));
    }

    void theBitmapDialogAddsTheExtension_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("chosen"); // empty: cancelled
        QTest::newRow("no extension") << "plot"
                                      << "plot.bmp";
        QTest::newRow("bmp given") << "plot.bmp"
                                   << "plot.bmp";
        QTest::newRow("another extension") << "plot.old"
                                           << "plot.old";
        QTest::newRow("cancelled") << ""
                                   << "";
    }

    void theBitmapDialogAddsTheExtension() {
        QFETCH(QString, typed);
        QFETCH(QString, chosen);
        test::TempDir dir;
        test::CurrentDirectoryGuard cwd(dir.path());
        QtPlatform platform;
        FileDialogRequest request;
        request.filter = "Bitmap | *.bmp";
        request.flags = OverwritePrompt;
        request.defaultExtension = "bmp";

        QTimer user;
        QString filter;
        connect(&user, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                return;
            }
            user.stop();
            filter = dialog->selectedNameFilter();
            if (typed.isEmpty()) {
                dialog->reject();
                return;
            }
            // Typed into the name box, as a user does.
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typed);
            static_cast<QDialog*>(dialog)->accept(); // through QDialog, where it is public
        });
        user.start(5);
        const std::optional<std::string> answer = platform.saveFileDialog(request);

        QCOMPARE(filter, QStringLiteral("Bitmap (*.bmp)"));
        if (chosen.isEmpty()) {
            QVERIFY(!answer.has_value());
        } else {
            QVERIFY(answer.has_value());
            QCOMPARE(QString::fromStdString(*answer),
                     QString::fromStdString((dir / chosen.toStdString()).string()));
        }
    }

    // The picture is one colour, so that the rendered page shows exactly where it was drawn. At
    // 72 dots per inch a pixel of the page is a point; A4 is 595.28 x 841.89 points.
    void printsOnAPdfPageTurnedFittedAndCentred_data() {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<double>("leftMargin"); // points
        QTest::addColumn<QSize>("page");
        QTest::addColumn<QRectF>("drawn");
        // 841.89 x 420.94 fitted, 80%: 673.51 x 336.76.
        QTest::newRow("wide: landscape, full width")
            << QSize(400, 200) << 0.0 << QSize(842, 595) << QRectF(84.2, 129.3, 673.5, 336.8);
        // 420.94 x 841.89 fitted: 336.76 x 673.51.
        QTest::newRow("tall: portrait, full height")
            << QSize(200, 400) << 0.0 << QSize(595, 842) << QRectF(129.3, 84.2, 336.8, 673.5);
        // 595.28 square fitted: 476.22.
        QTest::newRow("square: portrait, full width")
            << QSize(300, 300) << 0.0 << QSize(595, 842) << QRectF(59.5, 182.8, 476.2, 476.2);
        // A 72-point left margin: the printable area is 523.28 wide, 418.6 of it drawn.
        QTest::newRow("centred on the printable area")
            << QSize(300, 300) << 72.0 << QSize(595, 842) << QRectF(124.3, 211.6, 418.6, 418.6);
    }

    void printsOnAPdfPageTurnedFittedAndCentred() {
        QFETCH(QSize, picture);
        QFETCH(double, leftMargin);
        QFETCH(QSize, page);
        QFETCH(QRectF, drawn);
        if (!test::havePdfTools()) {
            QSKIP("pdftoppm and pdfinfo (poppler-utils) are needed to read the printed page");
        }
        test::TempDir dir;
        const QString pdf = QString::fromStdString((dir / "page.pdf").string());
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageMargins(QMarginsF(leftMargin, 0, 0, 0), QPageLayout::Point);
        QImage image(picture, QImage::Format_RGB32);
        image.fill(QColor(0, 0, 255));
        QVERIFY(PrintPictureFitted(printer, image));

        QCOMPARE(test::pdfPageCount(pdf), 1);
        const QImage rendered = test::renderPdfPage(pdf, 72);
        QCOMPARE(rendered.size(), page);
        const QRect box =
            test::boundingBox(rendered, [](const QColor& c) { return c.red() < 128; });
        QVERIFY2(std::abs(box.left() - drawn.left()) <= 1.5 &&
                     std::abs(box.top() - drawn.top()) <= 1.5 &&
                     std::abs(box.width() - drawn.width()) <= 2 &&
                     std::abs(box.height() - drawn.height()) <= 2,
                 qPrintable(QStringLiteral("drawn at %1,%2 %3 x %4")
                                .arg(box.left())
                                .arg(box.top())
                                .arg(box.width())
                                .arg(box.height())));
    }
};

QTEST_MAIN(QtExportTest)
#include "QtExportTest.moc"
