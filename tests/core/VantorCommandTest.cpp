#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "skerry/editor/EditorModel.h"

#include "CommandTest.h"

namespace skerry {
namespace {

using test::readBytes;

const std::string scanText = "Cell 3\r\n"
                             "R 3 20.0 42000 1234 1.234E+10 280 1\r\n"
                             "   5.9000  1.00000E-01    5.00000E-03\r\n"
                             "   6.0000  2.00000E-01    1.00000E-02\r\n"
                             "   6.1000  3.00000E-01    1.00000E-02\r\n"
                             "   6.2000  4.00000E-01   -1.00000E-02\r\n"
                             "   6.3000  5.00000E-01    2.00000E-02\r\n";

std::string pad(const std::string& text) {
    return text + std::string(96 - text.size(), ' ');
}

const std::string comments =
    pad("Cell 3") + "\r\n" + pad("R 3 20.0 42000 1234 1.234E+10 280 1") + "\r\n";

// Edit > Data (graphically) driven through the main window's command, with the editor played
// by a script on its logic.
class VantorCommandTest : public test::CommandTest {
protected:
    VantorCommandTest() { getData(dir.write("scan.RA3", scanText).string()); }

    // Opens the editor at 800 x 600 pixels and plays `script` on it.
    void edit(const std::function<void(EditorModel&)>& script) {
        windows.editor = [script](EditorModel& editor) {
            editor.Form_Resize(800, 600, 800, 640);
            script(editor);
        };
        model.DoVantor_Click();
    }

    static void clickPoint(EditorModel& editor, int button, int i) {
        const PlotMapping map = editor.mapping();
        editor.Form_MouseDown(button, 0, map.plotX(editor.EditX(i)), map.plotY(editor.EditY(i)));
    }
};

TEST_F(VantorCommandTest, TheEditorOpensOnACopyOfTheWorkingPoints) {
    edit([this](EditorModel& editor) {
        EXPECT_EQ(editor.EditCount, 5);
        EXPECT_EQ(editor.EditX(4), 6.2f);
        EXPECT_EQ(editor.EditThird(4), -0.01f);
        EXPECT_EQ(editor.ViewXMin, 5.9f);
        EXPECT_EQ(editor.ViewXMax, 6.3f);
        EXPECT_EQ(editor.ViewYMin, 0.1f);
        EXPECT_EQ(editor.ViewYMax, 0.5f);
        EXPECT_EQ(editor.XAxisLabel, "Radius (cm)");
        EXPECT_EQ(editor.Tool, 1);
        EXPECT_TRUE(editor.ShowXY);

        // Marks change the copy only while the editor is open.
        editor.Toolbar_ButtonClick(2);
        clickPoint(editor, LeftButton, 1);
        EXPECT_LT(editor.EditThird(1), 0.0f);
        EXPECT_GT(data().WorkPoints(1).third, 0.0f);
        editor.Toolbar_ButtonClick(8);
    });
    EXPECT_EQ(data().WorkPoints(1).third, 0.005f);
}

TEST_F(VantorCommandTest, AcceptingHandsBackTheMarksAndTheRetainedRange) {
    edit([](EditorModel& editor) {
        editor.Toolbar_ButtonClick(2);
        clickPoint(editor, LeftButton, 1);
        editor.Toolbar_ButtonClick(4);
        clickPoint(editor, LeftButton, 4);
        editor.Toolbar_ButtonClick(7);
    });
    EXPECT_EQ(data().FirstGoodIndex, 2);
    EXPECT_EQ(data().FirstGoodX, 6.0f);
    EXPECT_EQ(data().LastGoodIndex, 5);
    EXPECT_EQ(data().LastGoodX, 6.3f);
    const std::string listing = comments + "   5.90000    1.00000E-01   -5.000E-03\r\n" +
                                "   6.00000    2.00000E-01    1.000E-02\r\n" +
                                "   6.10000    3.00000E-01    1.000E-02\r\n" +
                                "   6.20000    4.00000E-01    1.000E-02\r\n" +
                                "   6.30000    5.00000E-01    2.000E-02\r\n";
    EXPECT_EQ(model.state().panes[MainWindowState::EditedTab].text, listing);
    EXPECT_EQ(readBytes(dir / "~skerry.tmp"), listing);

    const auto saved = dir / "truncated.dat";
    platform.answerDialog(saved.string());
    model.SaveTruncated_Click();
    EXPECT_EQ(readBytes(saved), comments + "   6.00000    2.00000E-01    1.000E-02\r\n" +
                                    "   6.10000    3.00000E-01    1.000E-02\r\n" +
                                    "   6.20000    4.00000E-01    1.000E-02\r\n" +
                                    "   6.30000    5.00000E-01    2.000E-02\r\n");
}

TEST_F(VantorCommandTest, DiscardingOrClosingChangesNothing) {
    const std::uint64_t revision = model.state().panes[MainWindowState::EditedTab].revision;
    const std::string listing = readBytes(dir / "~skerry.tmp");
    const std::vector<std::function<void(EditorModel&)>> ways{
        [](EditorModel& editor) { editor.Toolbar_ButtonClick(8); },
        // The close box: the window goes without a toolbar button.
        [](EditorModel&) {},
    };
    for (const auto& leave : ways) {
        edit([&leave](EditorModel& editor) {
            editor.Toolbar_ButtonClick(3);
            clickPoint(editor, LeftButton, 3);
            leave(editor);
        });
        for (int i = 1; i <= 3; ++i) {
            EXPECT_GT(data().WorkPoints(i).third, 0.0f) << i;
        }
        EXPECT_EQ(data().FirstGoodIndex, 1);
        EXPECT_EQ(data().LastGoodIndex, 5);
        EXPECT_EQ(model.state().panes[MainWindowState::EditedTab].revision, revision);
        EXPECT_EQ(readBytes(dir / "~skerry.tmp"), listing);
    }
}

TEST_F(VantorCommandTest, TheReadoutChoiceLastsToTheNextOpening) {
    edit([](EditorModel& editor) { editor.ShowEm_Click(); });
    EXPECT_FALSE(program->ShowXYDefault);
    edit([](EditorModel& editor) {
        EXPECT_FALSE(editor.ShowXY);
        EXPECT_EQ(editor.ShowEmCaption, "&Show (X,Y)");
        editor.ShowEm_Click();
    });
    EXPECT_TRUE(program->ShowXYDefault);
}

TEST(VantorWithoutDataTest, AnEmptyCopyWarnsAndRefusesToRemove) {
    test::TempDir dir;
    test::CurrentDirectoryGuard cwd(dir.path());
    test::ScriptedPlatform platform;
    test::ScriptedWindows windows;
    auto program = std::make_unique<Program>();
    MainWindowModel model(*program, platform, windows);
    windows.editor = [](EditorModel& editor) {
        EXPECT_EQ(editor.EditCount, 0);
        editor.Form_Resize(800, 600, 800, 600);
        editor.Toolbar_ButtonClick(3);
        editor.Form_MouseDown(LeftButton, 0, 50.0f, 50.0f);
        editor.Toolbar_ButtonClick(7);
    };
    model.DoVantor_Click();
    EXPECT_EQ(platform.messageTexts(),
              (std::vector<std::string>{"WARNING:  All X values are identical.",
                                        "WARNING:  All Y values are identical.",
                                        "Error Editing Data! This would remove all data."}));
    EXPECT_EQ(model.data().FirstGoodIndex, 0);
}

} // namespace
} // namespace skerry
