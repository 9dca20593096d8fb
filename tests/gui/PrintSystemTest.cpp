#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>
#include <pwd.h>
#include <unistd.h>

#include "skerryui/editor/EditorWindow.h"
#include "skerryui/platform/QtPlatform.h"
#include "support/GuiTestBase.h"
#include "support/PdfPages.h"

using namespace skerry;

namespace {

// The scripted platform with the real print system behind it.
class PrintingPlatform : public test::ScriptedPlatform {
public:
    std::vector<std::string> printerNames() override { return qt.printerNames(); }
    std::string printPicture(const std::string& printerName, const Picture& picture) override {
        return qt.printPicture(printerName, picture);
    }

    QtPlatform qt;
};

// The queue that the cups-pdf backend serves, from "device for NAME: cups-pdf:/" lines.
QString pdfQueue() {
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("^device for (\\S+): cups-pdf:"),
                           QRegularExpression::MultilineOption)
            .match(QString::fromUtf8(
                test::run(QStringLiteral("lpstat"), {QStringLiteral("-v")}).value_or("")));
    return m.hasMatch() ? m.captured(1) : QString();
}

// Where cups-pdf puts this user's jobs: its "Out" setting, ${HOME}/PDF unless configured.
QString pdfFolder() {
    QString out = QStringLiteral("${HOME}/PDF");
    QFile conf(QStringLiteral("/etc/cups/cups-pdf.conf"));
    if (conf.open(QIODevice::ReadOnly)) {
        const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^Out\\s+(\\S+)\\s*$"),
                                                             QRegularExpression::MultilineOption)
                                              .match(QString::fromUtf8(conf.readAll()));
        if (m.hasMatch()) {
            out = m.captured(1);
        }
    }
    // cups-pdf takes both from the user's account, not from the environment.
    const passwd* user = getpwuid(getuid());
    const QString home = user != nullptr ? QString::fromLocal8Bit(user->pw_dir) : QDir::homePath();
    const QString name = user != nullptr ? QString::fromLocal8Bit(user->pw_name) : QString();
    return out.replace(QStringLiteral("${HOME}"), home).replace(QStringLiteral("${USER}"), name);
}

QSet<QString> pdfsIn(const QString& folder) {
    QSet<QString> files;
    for (const QString& name : QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files)) {
        files.insert(QDir(folder).filePath(name));
    }
    return files;
}

bool isBlack(const QColor& c) {
    return c.red() < 60 && c.green() < 60 && c.blue() < 60;
}

// The rectangle spanned by the rows and columns that are black for more than a quarter of the
// page: the plot's frame (text never makes such long lines).
QRect longLines(const QImage& page) {
    int top = page.height(), bottom = -1, left = page.width(), right = -1;
    for (int y = 0; y < page.height(); ++y) {
        int n = 0;
        for (int x = 0; x < page.width(); ++x) {
            n += isBlack(page.pixelColor(x, y)) ? 1 : 0;
        }
        if (n > page.width() / 4) {
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    for (int x = 0; x < page.width(); ++x) {
        int n = 0;
        for (int y = 0; y < page.height(); ++y) {
            n += isBlack(page.pixelColor(x, y)) ? 1 : 0;
        }
        if (n > page.height() / 4) {
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// A scan of 40 points on a rising curve, so that the page shows plenty of rings.
std::string scanText() {
    std::string text = "Cell 1\r\nR 1 20.0 42000 1234 1.234E+10 280 1\r\n";
    for (int i = 0; i < 40; ++i) {
        const double x = 6.0 + 0.01 * i;
        text += QStringLiteral("   %1  %2    1.00000E-02\r\n")
                    .arg(x, 0, 'f', 4)
                    .arg(0.1 + 0.0005 * i * i, 0, 'E', 5)
                    .toStdString();
    }
    return text;
}

} // namespace

// "Print" in the editor through a real print system: CUPS with a cups-pdf printer, which turns
// every job into a PDF file. tools/start-print-system.sh sets that up; without it the test is
// skipped.
class PrintSystemTest : public test::GuiTestBase {
    Q_OBJECT

private slots:
    void init() { setUpMainWindow(std::make_unique<PrintingPlatform>()); }
    void cleanup() { tearDownMainWindow(); }

    void thePlotArrivesAsOnePdfPage() {
        const QString scheduler = QString::fromUtf8(
            test::run(QStringLiteral("lpstat"), {QStringLiteral("-r")}).value_or(""));
        if (!scheduler.startsWith(QStringLiteral("scheduler is running"))) {
            QSKIP("No print system runs here; tools/start-print-system.sh starts CUPS with a PDF "
                  "printer.");
        }
        const QString queue = pdfQueue();
        if (queue.isEmpty()) {
            QSKIP("CUPS runs without a cups-pdf printer; tools/start-print-system.sh adds one.");
        }
        if (!test::havePdfTools()) {
            QSKIP("pdftoppm and pdfinfo (poppler-utils) are needed to read the printed page.");
        }
        const QString folder = pdfFolder();
        const QSet<QString> before = pdfsIn(folder);

        program->DefaultPrinterName = queue.toStdString();
        getData(dir->write("scan.RA1", scanText()).string());
        QVERIFY(openEditor([&queue](EditorWindow& editor) {
            const EditorModel& m = editor.model();
            QCOMPARE(QString::fromStdString(m.Printers.currentPrinter()), queue);
            editor.findChild<QAction*>("PrnPlot")->trigger();
        }));
        QCOMPARE(platform->messageTexts(), std::vector<std::string>{});

        // cups-pdf writes the file a moment after the job was handed over.
        QTRY_VERIFY_WITH_TIMEOUT(!(pdfsIn(folder) - before).isEmpty(), 60000);
        const QString pdf = *(pdfsIn(folder) - before).begin();
        QTRY_COMPARE_WITH_TIMEOUT(test::pdfPageCount(pdf), 1, 30000);
        const QImage page = test::renderPdfPage(pdf, 200);
        QFile::remove(pdf);
        QVERIFY(!page.isNull());

        // The plot's rings are on the page in the good colour.
        const int rings = test::countPixels(page, [](const QColor& c) {
            return c.green() > c.red() + 50 && c.green() > c.blue() + 50;
        });
        QVERIFY2(rings > 30, qPrintable(QStringLiteral("%1 green pixels").arg(rings)));

        // The frame, found by its long black lines, sits about in the middle of the page: the
        // picture is centred and the frame is nearly centred in it. Its longer side is 100/145 of
        // the picture's, which takes 80% of the page's longer side.
        const QRect frame = longLines(page);
        const QString where = QStringLiteral("frame at %1,%2 %3 x %4 on a page of %5 x %6")
                                  .arg(frame.left())
                                  .arg(frame.top())
                                  .arg(frame.width())
                                  .arg(frame.height())
                                  .arg(page.width())
                                  .arg(page.height());
        QVERIFY2(std::abs(frame.center().x() - page.width() / 2.0) < 0.04 * page.width() &&
                     std::abs(frame.center().y() - page.height() / 2.0) < 0.04 * page.height(),
                 qPrintable(where));
        const double share =
            std::max(frame.width(), frame.height()) / double(std::max(page.width(), page.height()));
        QVERIFY2(share > 0.8 * 100 / 145 * 0.9 && share < 0.8 * 100 / 145 * 1.02,
                 qPrintable(where));
    }
};

QTEST_MAIN(PrintSystemTest)
#include "PrintSystemTest.moc"
