#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QtTest>
#include <memory>

#include "support/GuiTestBase.h"

using namespace skerry;

// Get Blank, Clear Blank and a fit file's "LoadedFiles" submenu, driven through the real menus
// with dialogs answered by the scripted platform.
class FitFileMenuTest : public test::GuiTestBase {
    Q_OBJECT

    void trigger(QAction* action) {
        QVERIFY(action != nullptr);
        QVERIFY(action->isEnabled());
        action->trigger();
    }

    QList<QAction*> loadedFiles() const { return menuEntry("LoadedFiles")->menu()->actions(); }

    QStringList listing() const { return window->pane(2)->toPlainText().split('\n'); }

private slots:
    void init() { setUpMainWindow(); }
    void cleanup() { tearDownMainWindow(); }

    void getBlankAndClearBlank() {
        platform->answerDialog(copyExample("cell1-absorbance.RA1"));
        trigger(menuEntry("File", "Get Data"));
        QVERIFY(!menuEntry("File", "Clear Blank")->isEnabled());

        // A name relative to the current directory, shown whole as it has at most 18 characters.
        copyExample("cell1-blank.RA1");
        platform->answerDialog("cell1-blank.RA1");
        trigger(menuEntry("File", "Get Blank"));
        QCOMPARE(window->tabs()->tabText(1), QStringLiteral("cell1-blank.RA1"));
        QCOMPARE(window->pane(1)->toPlainText().split('\n')[0],
                 QStringLiteral("Cell 1  PBS reference scan  12000 rpm"));
        QVERIFY(menuEntry("File", "Clear Blank")->isEnabled());
        // The example's first point, 5.800 cm, lies before the blank's first point, 5.801 cm:
        // 2.51527E-02 - 3.35113E-02, listed with two blanks before the third value.
        QCOMPARE(listing()[2], QStringLiteral("   5.80000   -8.35860E-03   5.100E-03"));

        trigger(menuEntry("File", "Clear Blank"));
        QVERIFY(!menuEntry("File", "Clear Blank")->isEnabled());
        QCOMPARE(window->tabs()->tabText(1), QStringLiteral("Blank File"));
        QCOMPARE(window->pane(1)->toPlainText(), QStringLiteral(" "));
        QCOMPARE(listing()[2], QStringLiteral("   5.80000    2.51527E-02    5.100E-03"));
    }

    void fitFileFillsTheSubmenu() {
        std::filesystem::create_directory(dir->path() / "runs");
        copyExample("cell1-absorbance.RA1", "runs/cell1-absorbance.RA1");
        copyExample("cell2-interference.IP1", "runs/cell2-interference.IP1");
        platform->answerDialog(copyExample("cell1.fit", "runs/cell1.fit"));
        trigger(menuEntry("File", "Get File(s) From Fit-File"));

        QVERIFY(platform->messages.empty());
        QAction* loaded = menuEntry("LoadedFiles");
        QVERIFY(loaded->isVisible());
        const QList<QAction*> entries = loadedFiles();
        QCOMPARE(entries.size(), 15);
        QCOMPARE(entries[0]->text(), QStringLiteral("...ll1-absorbance.RA1"));
        QCOMPARE(entries[1]->text(), QStringLiteral("...2-interference.IP1"));
        for (int i = 0; i < 15; ++i) {
            QCOMPARE(entries[i]->isVisible(), i < 2);
            QCOMPARE(entries[i]->isEnabled(), i < 2);
            QCOMPARE(entries[i]->isChecked(), i == 0);
        }
        QCOMPARE(window->tabs()->tabText(0), QStringLiteral("...ll1-absorbance.RA1"));
        QVERIFY(menuEntry("File", "Get Blank")->isEnabled());
        QVERIFY(menuEntry("Edit")->isEnabled());
        // The example's first points lie before the meniscus limit and are deleted.
        QCOMPARE(listing()[2], QStringLiteral("   5.80000    2.51527E-02   -5.100E-03"));

        trigger(entries[1]);
        QVERIFY(!entries[0]->isChecked());
        QVERIFY(entries[1]->isChecked());
        QCOMPARE(window->tabs()->tabText(0), QStringLiteral("...2-interference.IP1"));
        QCOMPARE(listing()[0].trimmed(),
                 QStringLiteral("Cell 2  BSA 0.5 mg/ml  interference  12000 rpm"));

        // Choosing the open entry again keeps its checkmark; Get Data hides the submenu.
        trigger(entries[1]);
        QVERIFY(entries[1]->isChecked());
        platform->answerDialog(std::nullopt);
        trigger(menuEntry("File", "Get Data"));
        QVERIFY(!loaded->isVisible());
    }
};

QTEST_MAIN(FitFileMenuTest)
#include "FitFileMenuTest.moc"
