#include <QAction>
#include <QFontInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QtTest>
#include <memory>

#include "support/GuiTestBase.h"

using namespace skerry;

// The main window driven through its menus, with dialogs answered by the scripted platform.
class MainWindowTest : public test::GuiTestBase {
    Q_OBJECT

    void trigger(const QString& menu, const QString& entry) {
        QAction* action = menuEntry(menu, entry);
        QVERIFY2(action != nullptr, qPrintable(menu + " > " + entry));
        QVERIFY(action->isEnabled());
        action->trigger();
    }

private slots:
    void init() { setUpMainWindow(); }
    void cleanup() { tearDownMainWindow(); }

    void menusStartInTheirStartStates_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("visible");
        QTest::newRow("File") << "File"
                              << "" << true << true;
        QTest::newRow("Get Data") << "File"
                                  << "Get Data" << true << true;
        QTest::newRow("Get File(s) From Fit-File") << "File"
                                                   << "Get File(s) From Fit-File" << true << true;
        QTest::newRow("Get Blank") << "File"
                                   << "Get Blank" << false << true;
        QTest::newRow("Clear Blank") << "File"
                                     << "Clear Blank" << false << true;
        // A hidden entry also reports itself disabled.
        QTest::newRow("LoadedFiles") << "LoadedFiles"
                                     << "" << false << false;
        QTest::newRow("Edit") << "Edit"
                              << "" << false << true;
        QTest::newRow("Data (graphically)") << "Edit"
                                            << "Data (graphically)" << true << true;
        QTest::newRow("Comment Lines") << "Edit"
                                       << "Comment Lines" << true << true;
        QTest::newRow("Invert Sign of Data") << "Edit"
                                             << "Invert Sign of Data" << true << true;
        QTest::newRow("Add Random Noise") << "Edit"
                                          << "Add Random Noise" << true << true;
        QTest::newRow("Remove Random Noise") << "Edit"
                                             << "Remove Random Noise" << false << false;
        QTest::newRow("Save") << "Save"
                              << "" << false << true;
        QTest::newRow("Complete") << "Save"
                                  << "Complete" << true << true;
        QTest::newRow("Complete (as R^2/2)") << "Save"
                                             << "Complete (as R^2/2)" << true << true;
        QTest::newRow("Truncated") << "Save"
                                   << "Truncated" << true << true;
        QTest::newRow("Truncated (as R^2/2)") << "Save"
                                              << "Truncated (as R^2/2)" << true << true;
        QTest::newRow("Set Plot Colors") << "Set Plot Colors"
                                         << "" << true << true;
    }

    void menusStartInTheirStartStates() {
        QFETCH(QString, menu);
        QFETCH(QString, entry);
        QFETCH(bool, enabled);
        QFETCH(bool, visible);
        QAction* action = menuEntry(menu, entry);
        QVERIFY(action != nullptr);
        QCOMPARE(action->isEnabled(), enabled);
        QCOMPARE(action->isVisible(), visible);
    }

    void menuBarOrderAndLoadedFilesEntries() {
        QStringList titles;
        for (QAction* top : window->menuBar()->actions()) {
            titles << top->text();
        }
        QCOMPARE(titles, QStringList({"File", "LoadedFiles", "Edit", "Save", "Set Plot Colors"}));
        const QList<QAction*> loaded = menuEntry("LoadedFiles", "")->menu()->actions();
        QCOMPARE(loaded.size(), 15);
        QCOMPARE(loaded[0]->text(), QStringLiteral("1"));
        QCOMPARE(loaded[1]->text(), QStringLiteral("2: "));
        QCOMPARE(loaded[14]->text(), QStringLiteral("15: "));
        QVERIFY(loaded[0]->isVisible());
        QVERIFY(!loaded[1]->isVisible());
        QVERIFY(!loaded[0]->isEnabled());
    }

    void tabsAndPanes() {
        QTabWidget* tabs = window->tabs();
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(0), QStringLiteral("Data File"));
        QCOMPARE(tabs->tabText(1), QStringLiteral("Blank File"));
        QCOMPARE(tabs->tabText(2), QStringLiteral("Edited Data File"));
        for (int i = 0; i < 3; ++i) {
            QVERIFY(window->pane(i)->toPlainText().isEmpty());
            QVERIFY(QFontInfo(window->pane(i)->font()).fixedPitch());
        }
    }

    void getDataCancelledThenSaveTruncated() {
        platform->answerDialog(std::nullopt);
        trigger("File", "Get Data");
        QVERIFY(menuEntry("Edit", "")->isEnabled());
        QVERIFY(menuEntry("Save", "")->isEnabled());
        QVERIFY(!menuEntry("File", "Get Blank")->isEnabled());

        platform->answerDialog((dir->path() / "empty.dat").string());
        trigger("Save", "Truncated");
        QCOMPARE(QString::fromStdString(test::readBytes(dir->path() / "empty.dat")), QString());
        QVERIFY(platform->messages.empty());
    }

    void getDataShowsTheFileAndTheListing() {
        platform->answerDialog(copyExample("cell1-absorbance.RA1"));
        trigger("File", "Get Data");

        QVERIFY(menuEntry("File", "Get Blank")->isEnabled());
        QCOMPARE(window->tabs()->tabText(0), QStringLiteral("...ll1-absorbance.RA1"));
        const QStringList data = window->pane(0)->toPlainText().split('\n');
        QCOMPARE(data[0], QStringLiteral("Cell 1  BSA 0.5 mg/ml in PBS  equilibrium 12000 rpm"));
        const QStringList listing = window->pane(2)->toPlainText().split('\n');
        QCOMPARE(listing[0].size(), 96);
        QCOMPARE(listing[2], QStringLiteral("   5.80000    2.51527E-02    5.100E-03"));
        QCOMPARE(QString::fromStdString(test::readBytes(dir->path() / "~skerry.tmp")).size(),
                 QString::fromStdString(window->model().state().panes[2].text).size());
    }

    void savesWriteTheListingForm() {
        platform->answerDialog(copyExample("cell1-absorbance.RA1"));
        trigger("File", "Get Data");
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
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
