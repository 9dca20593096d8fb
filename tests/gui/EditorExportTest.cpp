#include <QAction>
#include <QMenu>
#include <QtTest>

#include "skerryui/editor/EditorWindow.h"
#include "skerryui/export/PictureImage.h"
#include "support/GuiTestBase.h"

using namespace skerry;

namespace {

const char* const ScanText = "Cell 2\r\n"
                             "R 2 20.0 42000 1234 1.234E+10 280 1\r\n"
                             "   6.0000  1.00000E-01    1.00000E-02\r\n"
                             "   6.1000  3.00000E-01    1.00000E-02\r\n"
                             "   6.2000  2.00000E-01   -1.00000E-02\r\n"
                             "   6.3000  5.00000E-01    1.00000E-02\r\n";

} // namespace

// The editor's "&Printer" and "&Copy" menus on a scripted platform, which records what is
// printed, copied and saved.
class EditorExportTest : public test::GuiTestBase {
    Q_OBJECT

    void withEditor(const std::function<void(EditorWindow&)>& script) {
        QVERIFY2(withModal<EditorWindow>(menuEntry("Edit", "Data (graphically)"), script),
                 "the editor did not open");
    }

    static QMenu* printerMenu(EditorWindow& editor) {
        return editor.findChild<QMenu*>(QStringLiteral("Dummy1"));
    }
    static QAction* entry(EditorWindow& editor, const char* name) {
        return editor.findChild<QAction*>(QString::fromLatin1(name));
    }
    // Captions of the printer menu, "-" for a separator, "*" before the checked entry.
    static QStringList printerCaptions(EditorWindow& editor) {
        QStringList captions;
        for (QAction* a : printerMenu(editor)->actions()) {
            captions << (a->isSeparator() ? QStringLiteral("-")
                                          : (a->isChecked() ? "*" : "") + a->text());
        }
        return captions;
    }

private slots:
    void init() {
        setUpMainWindow();
        platform->printers = {"Office", "PDF", "Lab & Co"};
        program->DefaultPrinterName = "  PDF ";
        platform->answerDialog(dir->write("scan.RA2", ScanText).string());
        menuEntry("File", "Get Data")->trigger();
    }

    void cleanup() { tearDownMainWindow(); }

    void thePrinterMenuListsThePrintersWithTheDefaultChecked() {
        withEditor([](EditorWindow& editor) {
            QVERIFY(printerMenu(editor)->menuAction()->isEnabled());
            QCOMPARE(printerCaptions(editor),
                     QStringList({"-", "Office", "*PDF", "Lab && Co", "-", "Print"}));
        });
    }

    void printingGoesToTheChosenPrinterUntilTheEditorCloses() {
        withEditor([this](EditorWindow& editor) {
            entry(editor, "PrnArray3")->trigger();
            QCOMPARE(printerCaptions(editor),
                     QStringList({"-", "Office", "PDF", "*Lab && Co", "-", "Print"}));
            // Choosing the checked entry again keeps it checked.
            entry(editor, "PrnArray3")->trigger();
            QVERIFY(entry(editor, "PrnArray3")->isChecked());
            entry(editor, "PrnPlot")->trigger();
            QCOMPARE(platform->printed.size(), std::size_t(1));
            QCOMPARE(platform->printed[0].printer, std::string("Lab & Co"));
            // The client area as shown: the plot, at the plot area's size.
            QCOMPARE(imageFromPicture(platform->printed[0].picture), editor.plotImage());
            QCOMPARE(editor.plotImage().size(), editor.plotView()->size());
        });
        withEditor([this](EditorWindow& editor) {
            QVERIFY(entry(editor, "PrnArray2")->isChecked());
            QVERIFY(!entry(editor, "PrnArray3")->isChecked());
            entry(editor, "PrnPlot")->trigger();
            QCOMPARE(platform->printed.back().printer, std::string("PDF"));
        });
        QVERIFY(platform->messages.empty());
    }

    void withoutAPrinterThePrinterMenuIsDisabled() {
        platform->printers.clear();
        withEditor([](EditorWindow& editor) {
            QVERIFY(!printerMenu(editor)->menuAction()->isEnabled());
            QCOMPARE(printerCaptions(editor), QStringList({"-", "-", "Print"}));
        });
    }

    void copyAndSaveTakeThePlotAsLastDrawn() {
        const auto saved = dir->path() / "plot.bmp";
        platform->answerDialog(saved.string());
        withEditor([this, &saved](EditorWindow& editor) {
            entry(editor, "ClipPrn")->trigger();
            QCOMPARE(platform->clipboard.size(), std::size_t(1));
            QCOMPARE(imageFromPicture(platform->clipboard[0]), editor.plotImage());

            entry(editor, "SaveBMP")->trigger();
            QCOMPARE(platform->bitmaps.size(), std::size_t(1));
            QCOMPARE(platform->bitmaps[0].path, saved.string());
            QCOMPARE(imageFromPicture(platform->bitmaps[0].picture), editor.plotImage());
        });
    }
};

QTEST_MAIN(EditorExportTest)
#include "EditorExportTest.moc"
