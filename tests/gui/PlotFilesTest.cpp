#include <QImage>
#include <QProcess>
#include <QXmlStreamReader>
#include <QtTest>

#include "support/GuiTestBase.h"
#include "support/TenPointScan.h"

using namespace skerry;

// Copy > To File (PDF), (SVG) and (PNG) on the ten-point scan: of its ten points the eight inside
// the frame are drawn, seven good and point 4 deleted.
class PlotFilesTest : public test::GuiTestBase {
    Q_OBJECT

private slots:
    void init() { setUpMainWindow(); }
    void cleanup() { tearDownMainWindow(); }

    void eachFileHoldsThePlot_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("name");
        QTest::newRow("PDF") << "SavePDF"
                             << "plot.pdf";
        QTest::newRow("SVG") << "SaveSVG"
                             << "plot.svg";
        QTest::newRow("PNG") << "SavePNG"
                             << "plot.png";
    }

    void eachFileHoldsThePlot() {
        QFETCH(QString, entry);
        QFETCH(QString, name);
        getData(dir->write("ten.dat", test::TenPointScan).string());
        const QString path = QString::fromStdString((*dir / "out" / name.toStdString()).string());
        std::filesystem::create_directory(*dir / "out");
        QSize plotSize;
        withEditor([&](EditorWindow& editor) {
            plotSize = editor.findChild<QWidget*>(QStringLiteral("PlotView"))->size();
            platform->dialogAnswers.push_back(path.toStdString());
            editor.findChild<QAction*>(entry)->trigger();
        });
        QVERIFY(platform->messages.empty());
        // The working folder is the current directory again, whatever the dialog did.
        QCOMPARE(std::filesystem::current_path(), std::filesystem::path(dir->path()));
        if (name.endsWith(".pdf")) {
            checkPdf(path);
        } else if (name.endsWith(".svg")) {
            checkSvg(path);
        } else {
            checkPng(path, plotSize);
        }
    }

private:
    static void checkPdf(const QString& path) {
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {path});
        QVERIFY(info.waitForFinished());
        QVERIFY(QString::fromUtf8(info.readAllStandardOutput())
                    .contains(QRegularExpression("Pages: +1\n")));
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {path, QStringLiteral("-")});
        QVERIFY(text.waitForFinished());
        const QString words = QString::fromUtf8(text.readAllStandardOutput());
        for (const char* expected : {"Editing Data Set", "Radius (cm)", "Concentration", "6.000"}) {
            QVERIFY2(words.contains(QString::fromLatin1(expected)), expected);
        }
    }

    static void checkSvg(const QString& path) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        // Each path is drawn in the stroke colour of the group around it.
        int good = 0;
        int deleted = 0;
        QStringList strokes{QString()};
        while (!xml.atEnd()) {
            const auto token = xml.readNext();
            if (token == QXmlStreamReader::StartElement && xml.name() == u"g") {
                const auto stroke = xml.attributes().value(QStringLiteral("stroke"));
                strokes.push_back(stroke.isEmpty() ? strokes.back() : stroke.toString());
            } else if (token == QXmlStreamReader::EndElement && xml.name() == u"g") {
                strokes.pop_back();
            } else if (token == QXmlStreamReader::StartElement && xml.name() == u"path") {
                good += strokes.back() == u"#007f00";
                deleted += strokes.back() == u"#ff0000";
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(good, 7);
        QCOMPARE(deleted, 1);
        file.seek(0);
        const QString all = QString::fromUtf8(file.readAll());
        QVERIFY(all.contains(QStringLiteral("Editing Data Set")));
        QVERIFY(!all.contains(QStringLiteral("<image")));
    }

    static void checkPng(const QString& path, QSize plotSize) {
        const QImage image(path);
        QCOMPARE(image.size(), plotSize * 2);
        int good = 0;
        int deleted = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                good += image.pixelColor(x, y) == test::GoodRing;
                deleted += image.pixelColor(x, y) == test::DeletedRing;
            }
        }
        QVERIFY(good > 7 * deleted / 2);
        QVERIFY(deleted > 0);
    }
};

QTEST_MAIN(PlotFilesTest)
#include "PlotFilesTest.moc"
