#include <QtTest>
#include <string>

#include "skerryui/core/PaneText.h"

using namespace skerry;

// How the bytes of a file become the text of a pane or of the comment box.
class PaneTextTest : public QObject {
    Q_OBJECT

private slots:
    void decodesAndBreaksLines_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("CR LF, CR and LF") << QByteArray("a\r\nb\rc\nd") << QString("a\nb\nc\nd");
        QTest::newRow("UTF-8") << QByteArray("Gr\xc3\xb6\xc3\x9f"
                                             "e\r\n")
                               << QString("Größe\n");
        QTest::newRow("Latin-1 where not UTF-8") << QByteArray("Gr\xf6\xdf"
                                                               "e\r\n")
                                                 << QString("Größe\n");
        QTest::newRow("empty") << QByteArray() << QString();
    }

    void decodesAndBreaksLines() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const std::string raw(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        QCOMPARE(textFromBytes(raw), text);
        QCOMPARE(paneText(raw), text);
    }

    // A line of megabytes is shown cut in a pane, never in the comment box, where the text is
    // edited and saved back.
    void cutsOnlyOverlongLinesForDisplay() {
        const std::string longLine(10'000'000, '7');
        const std::string bytes =
            "Cell 1\r\n" + longLine + "\r\n6.0 1 1\r\n" + std::string(LongestShownLine, 'x');
        const QStringList shown = paneText(bytes).split('\n');
        QCOMPARE(shown.size(), 4);
        QCOMPARE(shown[0], QStringLiteral("Cell 1"));
        QCOMPARE(shown[1], QString(LongestShownLine, '7') +
                               QStringLiteral(" ... (9996000 more characters not shown)"));
        QCOMPARE(shown[2], QStringLiteral("6.0 1 1"));
        QCOMPARE(shown[3], QString(LongestShownLine, 'x'));
        // "Cell 1", the long line and "6.0 1 1", each with its line break, then the last line.
        QCOMPARE(textFromBytes(bytes).size(), qsizetype(7 + 10'000'001 + 8 + LongestShownLine));
    }
};

QTEST_MAIN(PaneTextTest)
#include "PaneTextTest.moc"
