#include "ground/DataTable.h"
#include "skerry/editor/EditorModel.h"
#include "skerry/export/PageFit.h"
#include "skerry/export/PrinterMenu.h"
#include "support/ScriptedPlatform.h"

namespace skerry {
namespace {

TEST(Export, APictureIsFittedCentredAndTurnedOnThePage) {
    for (const auto& row : test::readTable("subsystems/page-fits.tsv", 9)) {
        const double width = row.number(0);
        const double height = row.number(1);
        const PagePlacement p = fitPictureOnPage(width, height, row.number(2), row.number(3));
        const bool portrait = pictureOrientation(width, height) == PageOrientation::Portrait;
        EXPECT_EQ(test::cellsOf(p.x, p.y, p.width, p.height, portrait ? "P" : "L"), row.rest(4))
            << row.where;
    }
}

TEST(Export, ThePrinterMenuChecksTheDefaultPrinterElseTheFirst) {
    for (const auto& row : test::readTable("subsystems/printer-menus.tsv", 5)) {
        const PrinterMenu menu(test::split(row[0], '|'), row[1]);
        EXPECT_EQ(test::cellsOf(menu.current(), menu.enabled(), menu.currentPrinter()), row.rest(2))
            << row.where;
    }
    PrinterMenu menu({"Office", "PDF", "Lab"}, "PDF");
    menu.PrnArray_Click(3);
    EXPECT_EQ(menu.currentPrinter(), "Lab");
    EXPECT_THROW(menu.PrnArray_Click(4), std::out_of_range);
    EXPECT_THROW(menu.PrnArray_Click(0), std::out_of_range);
}

// What the editor's window cannot show: a print system's refusal and a cancelled bitmap dialog.
TEST(Export, APrinterFailureIsReportedAndACancelledBitmapChangesNothing) {
    const test::TempDir dir;
    std::filesystem::create_directory(dir / "elsewhere");
    const test::CurrentDirectoryGuard cwd(dir / "elsewhere");
    test::ScriptedPlatform platform;
    platform.printers = {"Office", "PDF"};
    skerry::Run run;
    DataSet& data = run.current();
    data.WorkDir = test::TestPath(dir.path() / "");
    EditorModel editor{platform};
    editor.loadRun(run);
    editor.buildPrinterList("PDF");
    const Picture plot{2, 1, {0xff00ff00u, 0xff000000u}};
    platform.printAnswer = Failure{"the printer is off line."};
    editor.PrnPlot_Click([&] { return plot; });
    EXPECT_FALSE(platform.busyPointer);
    EXPECT_EQ(
        platform.messageTexts(),
        std::vector<std::string>{"The plot could not be printed on PDF: the printer is off line."});
    EXPECT_EQ(platform.messages[0].title, "Print");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Exclamation);
    platform.answerDialog(std::nullopt);
    editor.SaveBMP_Click(plot);
    EXPECT_TRUE(platform.bitmaps.empty());
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(currentWorkDir(), data.WorkDir);
}

} // namespace
} // namespace skerry
