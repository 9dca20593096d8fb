#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "skerry/editor/EditorModel.h"
#include "skerry/export/PageFit.h"
#include "skerry/export/PrinterMenu.h"
#include "support/ScriptedPlatform.h"
#include "support/TempDir.h"

namespace skerry {
namespace {

TEST(PageFitTest, TurnsThePageByThePictureShape) {
    EXPECT_EQ(pictureOrientation(200, 100), PageOrientation::Landscape);
    EXPECT_EQ(pictureOrientation(101, 100), PageOrientation::Landscape);
    EXPECT_EQ(pictureOrientation(100, 100), PageOrientation::Portrait);
    EXPECT_EQ(pictureOrientation(100, 200), PageOrientation::Portrait);
}

TEST(PageFitTest, EightyPercentOfTheFittedSizeCentred) {
    struct Case {
        const char* what;
        double pictureWidth, pictureHeight, pageWidth, pageHeight;
        PagePlacement expected;
    };
    const Case cases[] = {
        // Portrait page 8 x 10 (width / height 0.8).
        {"wide picture fills the width", 400, 200, 8, 10, {0.8, 3.4, 6.4, 3.2}},
        {"tall picture fills the height", 100, 400, 8, 10, {3.0, 1.0, 2.0, 8.0}},
        {"square picture fills the width", 300, 300, 8, 10, {0.8, 1.8, 6.4, 6.4}},
        {"page-shaped picture fills the page", 80, 100, 8, 10, {0.8, 1.0, 6.4, 8.0}},
        // Landscape page 10 x 8 (1.25).
        {"wider than the page", 300, 200, 10, 8, {1.0, 4.0 / 3.0, 8.0, 16.0 / 3.0}},
        {"less wide than the page", 500, 450, 10, 8, {13.0 / 9.0, 0.8, 64.0 / 9.0, 6.4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PagePlacement p =
            fitPictureOnPage(c.pictureWidth, c.pictureHeight, c.pageWidth, c.pageHeight);
        EXPECT_NEAR(p.x, c.expected.x, 1e-12);
        EXPECT_NEAR(p.y, c.expected.y, 1e-12);
        EXPECT_NEAR(p.width, c.expected.width, 1e-12);
        EXPECT_NEAR(p.height, c.expected.height, 1e-12);
    }
}

TEST(PrinterMenuTest, ChecksTheDefaultPrinterElseTheFirst) {
    struct Case {
        const char* what;
        std::vector<std::string> printers;
        std::string defaultName;
        int checked;
    };
    const Case cases[] = {
        {"the default", {"Office", "PDF", "Lab"}, "PDF", 2},
        {"a default padded with blanks", {"Office", "PDF", "Lab"}, "  PDF ", 2},
        {"a device name padded with blanks", {"Office", " PDF  "}, "PDF", 2},
        {"names compared exactly", {"Office", "PDF"}, "pdf", 1},
        {"no default", {"Office", "PDF"}, "", 1},
        {"an unreadable default", {"Office", "PDF"}, "--Not String--", 1},
        {"a default not installed", {"Office", "PDF"}, "Basement", 1},
        {"no printer", {}, "PDF", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const PrinterMenu menu(c.printers, c.defaultName);
        EXPECT_EQ(menu.PrnArray, c.printers);
        EXPECT_EQ(menu.current(), c.checked);
        EXPECT_EQ(menu.enabled(), c.checked != 0);
        EXPECT_EQ(menu.currentPrinter(), c.checked == 0 ? "" : c.printers[c.checked - 1]);
    }
}

TEST(PrinterMenuTest, ChoosingAnEntryMovesTheCheck) {
    PrinterMenu menu({"Office", "PDF", "Lab"}, "PDF");
    menu.PrnArray_Click(3);
    EXPECT_EQ(menu.current(), 3);
    EXPECT_EQ(menu.currentPrinter(), "Lab");
    EXPECT_THROW(menu.PrnArray_Click(4), std::out_of_range);
    EXPECT_THROW(menu.PrnArray_Click(0), std::out_of_range);
}

// What the editor's window cannot show: a print system's refusal and a cancelled bitmap dialog.
// Printing, copying and saving the plot are EditorWindowTest's.
TEST(ExportCommandsTest, APrinterFailureIsReportedAndACancelledBitmapChangesNothing) {
    test::TempDir dir;
    test::CurrentDirectoryGuard cwd(dir.path());
    test::ScriptedPlatform platform;
    platform.printers = {"Office", "PDF"};
    DataSet data;
    data.WorkDir = dir.path().string() + "/";
    EditorModel editor{platform};
    editor.loadPoints(data);
    editor.buildPrinterList("PDF");
    const Picture plot{2, 1, {0xff00ff00u, 0xff000000u}};

    platform.printError = "the printer is off line.";
    editor.PrnPlot_Click([&] { return plot; });
    EXPECT_FALSE(platform.busyPointer);
    EXPECT_EQ(
        platform.messageTexts(),
        std::vector<std::string>{"The plot could not be printed on PDF: the printer is off line."});
    EXPECT_EQ(platform.messages[0].title, "Print");
    EXPECT_EQ(platform.messages[0].icon, MessageIcon::Exclamation);

    std::filesystem::create_directory(dir / "elsewhere");
    std::filesystem::current_path(dir / "elsewhere");
    platform.answerDialog(std::nullopt);
    editor.SaveBMP_Click(plot);
    EXPECT_TRUE(platform.bitmaps.empty());
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(currentWorkDir(), data.WorkDir);
}

} // namespace
} // namespace skerry
