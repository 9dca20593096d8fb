#include <QAction>
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QtTest>
#include <memory>

#include "skerryui/base/PaneText.h"
#include "support/GuiTestBase.h"

using namespace skerry;

// The main window driven through its menus, with dialogs answered by the scripted platform. What
// the commands do is MainWindowModelTest's and BlankAndFitCommandsTest's; this checks that the
// menus reach them and that the window shows their results.
class MainWindowTest : public test::GuiTestBase {
    Q_OBJECT

    void trigger(const QString& menu, const QString& entry) {
        QAction* action = menuEntry(menu, entry);
        QVERIFY2(action != nullptr, qPrintable(menu + " > " + entry));
        QVERIFY(action->isEnabled());
        action->trigger();
    }

    QString listingLine(int i) const { return window->pane(2)->toPlainText().split('\n').at(i); }

private slots:
    void init() { setUpMainWindow(); }
    void cleanup() { tearDownMainWindow(); }

    void menusTabsAndPanesStartInTheirStartStates() {
        struct Entry {
            const char* menu;
            const char* entry;
            bool enabled, visible;
        };
        // A hidden entry also reports itself disabled.
        const Entry entries[] = {{"File", "", true, true},
                                 {"File", "Get Data", true, true},
                                 {"File", "Get File(s) From Fit-File", true, true},
                                 {"File", "Get Blank", false, true},
                                 {"File", "Clear Blank", false, true},
                                 {"LoadedFiles", "", false, false},
                                 {"Edit", "", false, true},
                                 {"Edit", "Remove Random Noise", false, false},
                                 {"Save", "", false, true},
                                 {"Save", "Truncated (as R^2/2)", true, true},
                                 {"Set Plot Colors", "", true, true}};
        for (const Entry& e : entries) {
            QAction* action = menuEntry(e.menu, e.entry);
            QVERIFY2(action != nullptr, e.entry);
            QCOMPARE(action->isEnabled(), e.enabled);
            QCOMPARE(action->isVisible(), e.visible);
        }
        QStringList titles;
        for (QAction* top : window->menuBar()->actions()) {
            titles << top->text();
        }
        QCOMPARE(titles, QStringList({"File", "LoadedFiles", "Edit", "Save", "Set Plot Colors"}));
        const QList<QAction*> loaded = menuEntry("LoadedFiles")->menu()->actions();
        QCOMPARE(loaded.size(), 15);
        QCOMPARE(loaded[1]->text(), QStringLiteral("2: "));
        QVERIFY(loaded[0]->isVisible() && !loaded[0]->isEnabled());
        QVERIFY(!loaded[1]->isVisible());

        QCOMPARE(window->tabs()->tabText(0), QStringLiteral("Data File"));
        QCOMPARE(window->tabs()->tabText(1), QStringLiteral("Blank File"));
        QCOMPARE(window->tabs()->tabText(2), QStringLiteral("Edited Data File"));
        for (int i = 0; i < 3; ++i) {
            QVERIFY(window->pane(i)->toPlainText().isEmpty());
            QVERIFY(QFontInfo(window->pane(i)->font()).fixedPitch());
        }
    }

    void getDataCancelledThenSaveTruncated() {
        platform->answerDialog(std::nullopt);
        trigger("File", "Get Data");
        QVERIFY(menuEntry("Edit")->isEnabled());
        QVERIFY(!menuEntry("File", "Get Blank")->isEnabled());
        platform->answerDialog((dir->path() / "empty.dat").string());
        trigger("Save", "Truncated");
        QVERIFY(std::filesystem::exists(dir->path() / "empty.dat"));
        QVERIFY(platform->messages.empty());
    }

    void getDataShowsTheFileAndTheListingAndSaveWritesIt() {
        platform->answerDialog(copyExample("cell1-absorbance.RA1"));
        trigger("File", "Get Data");
        QVERIFY(menuEntry("File", "Get Blank")->isEnabled());
        QCOMPARE(window->tabs()->tabText(0), QStringLiteral("...ll1-absorbance.RA1"));
        QCOMPARE(window->pane(0)->toPlainText().split('\n')[0],
                 QStringLiteral("Cell 1  BSA 0.5 mg/ml in PBS  equilibrium 12000 rpm"));
        QCOMPARE(listingLine(0).size(), 96);
        QCOMPARE(listingLine(2), QStringLiteral("   5.80000    2.51527E-02    5.100E-03"));

        const auto target = dir->path() / "complete.dat";
        platform->answerDialog(target.string());
        trigger("Save", "Complete");
        QCOMPARE(test::readBytes(target), window->model().state().panes[2].text);
    }

    void closingAsksFirst() {
        platform->answerMessage(MessageAnswer::No);
        QVERIFY(!window->close());
        QVERIFY(window->isVisible());
        QCOMPARE(platform->messages.back().text, std::string("Are you sure you want to exit?"));
        QVERIFY(!std::filesystem::exists(platform->settingsDir / "Skerry.ini"));

        platform->answerMessage(MessageAnswer::Yes);
        QVERIFY(window->close());
        QVERIFY(!window->isVisible());
        QVERIFY(std::filesystem::exists(platform->settingsDir / "Skerry.ini"));
    }

    // Get Blank, Clear Blank and a fit file's entries reach their commands and show their files.
    void blankAndFitFileMenus() {
        std::filesystem::create_directory(dir->path() / "runs");
        copyExample("cell1-absorbance.RA1", "runs/cell1-absorbance.RA1");
        copyExample("cell2-interference.IP1", "runs/cell2-interference.IP1");
        platform->answerDialog(copyExample("cell1.fit", "runs/cell1.fit"));
        trigger("File", "Get File(s) From Fit-File");
        QVERIFY(platform->messages.empty());
        QVERIFY(menuEntry("LoadedFiles")->isVisible());
        const QList<QAction*> entries = menuEntry("LoadedFiles")->menu()->actions();
        QCOMPARE(entries[0]->text(), QStringLiteral("...ll1-absorbance.RA1"));
        QCOMPARE(entries[1]->text(), QStringLiteral("...2-interference.IP1"));
        QVERIFY(entries[0]->isChecked() && entries[1]->isVisible() && !entries[2]->isVisible());
        // The example's first points lie before the meniscus limit and are deleted.
        QCOMPARE(listingLine(2), QStringLiteral("   5.80000    2.51527E-02   -5.100E-03"));

        // A name relative to the current directory, shown whole as it has at most 18 characters.
        copyExample("cell1-blank.RA1", "runs/cell1-blank.RA1");
        platform->answerDialog("cell1-blank.RA1");
        trigger("File", "Get Blank");
        QCOMPARE(window->tabs()->tabText(1), QStringLiteral("cell1-blank.RA1"));
        QCOMPARE(window->pane(1)->toPlainText().split('\n')[0],
                 QStringLiteral("Cell 1  PBS reference scan  12000 rpm"));
        // The example's first point, 5.800 cm, lies before the blank's first point, 5.801 cm:
        // 2.51527E-02 - 3.35113E-02, listed with two blanks before the third value.
        QCOMPARE(listingLine(2), QStringLiteral("   5.80000   -8.35860E-03  -5.100E-03"));
        trigger("File", "Clear Blank");
        QVERIFY(!menuEntry("File", "Clear Blank")->isEnabled());
        QCOMPARE(window->pane(1)->toPlainText(), QStringLiteral(" "));
        QCOMPARE(listingLine(2), QStringLiteral("   5.80000    2.51527E-02   -5.100E-03"));

        entries[1]->trigger();
        QVERIFY(!entries[0]->isChecked() && entries[1]->isChecked());
        QCOMPARE(window->tabs()->tabText(0), QStringLiteral("...2-interference.IP1"));
        QCOMPARE(listingLine(0).trimmed(),
                 QStringLiteral("Cell 2  BSA 0.5 mg/ml  interference  12000 rpm"));
        platform->answerDialog(std::nullopt);
        trigger("File", "Get Data");
        QVERIFY(!menuEntry("LoadedFiles")->isVisible());
    }

    // How the bytes of a file become the text of a pane or of the comment box.
    void paneTextDecodesAndBreaksLines_data() {
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

    void paneTextDecodesAndBreaksLines() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        const std::string raw(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        QCOMPARE(textFromBytes(raw), text);
        QCOMPARE(paneText(raw), text);
    }

    // A line of megabytes is shown cut in a pane, never in the comment box, where the text is
    // edited and saved back.
    void paneTextCutsOnlyOverlongLinesForDisplay() {
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

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
