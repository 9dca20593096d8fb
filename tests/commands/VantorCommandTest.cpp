#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "CommandTest.h"
#include "skerry/editor/EditorModel.h"

namespace skerry {
namespace {

using test::kComments;
using test::kLines;
using test::readBytes;

// Edit > Data (graphically) driven through the main window's command, with the editor played
// by a script on its logic. Only what the command adds is checked here: the editing itself is
// EditorModelTest's, the window's ways out are EditorWindowTest's.
class VantorCommandTest : public test::CommandTest {
protected:
    // Opens the editor at 800 x 600 pixels and plays `script` on it.
    void edit(const std::function<void(EditorModel&)>& script) {
        windows.editor = [script](EditorModel& editor) {
            editor.Form_Resize(800, 600, 800, 640);
            script(editor);
        };
        model.DoVantor_Click();
    }

    // Chooses `tool` and clicks point i with the left button.
    static void clickPoint(EditorModel& editor, int tool, int i) {
        editor.Toolbar_ButtonClick(tool);
        const PlotMapping map = editor.mapping();
        editor.Form_MouseDown(LeftButton, 0, map.plotX(editor.EditX(i)),
                              map.plotY(editor.EditY(i)));
    }
};

TEST_F(VantorCommandTest, AcceptingHandsBackTheMarksAndTheRetainedRange) {
    loadScan();
    edit([](EditorModel& editor) {
        clickPoint(editor, 2, 2);
        clickPoint(editor, 4, 5);
        editor.Toolbar_ButtonClick(7);
    });
    EXPECT_EQ(data().FirstGoodIndex, 4);
    EXPECT_EQ(data().FirstGoodX, 6.2f);
    EXPECT_EQ(data().LastGoodIndex, 5);
    EXPECT_EQ(data().LastGoodX, 6.3f);
    const std::string restored = "   6.30000    5.00000E-01    2.000E-02\r\n";
    const std::string listed = kComments + kLines[0] +
                               "   6.00000   -2.50000E-01   -1.000E-02\r\n" + kLines[2] +
                               kLines[3] + restored;
    EXPECT_EQ(listing(), listed);
    EXPECT_EQ(readBytes(dir / "~skerry.tmp"), listed);

    platform.answerDialog((dir / "truncated.dat").string());
    model.SaveTruncated_Click();
    EXPECT_EQ(readBytes(dir / "truncated.dat"), kComments + kLines[3] + restored);
}

TEST_F(VantorCommandTest, TheReadoutChoiceLastsToTheNextOpening) {
    loadScan();
    edit([](EditorModel& editor) { editor.ShowEm_Click(); });
    EXPECT_FALSE(program->ShowXYDefault);
    edit([](EditorModel& editor) {
        EXPECT_FALSE(editor.ShowXY);
        EXPECT_EQ(editor.ShowEmCaption, "&Show (X,Y)");
        editor.ShowEm_Click();
    });
    EXPECT_TRUE(program->ShowXYDefault);
}

TEST_F(VantorCommandTest, AnEmptyCopyWarnsAndRefusesToRemove) {
    edit([](EditorModel& editor) {
        EXPECT_EQ(editor.EditCount, 0);
        editor.Toolbar_ButtonClick(3);
        editor.Form_MouseDown(LeftButton, 0, 50.0f, 50.0f);
        editor.Toolbar_ButtonClick(7);
    });
    EXPECT_EQ(platform.messageTexts(),
              (std::vector<std::string>{"WARNING:  All X values are identical.",
                                        "WARNING:  All Y values are identical.",
                                        "Error Editing Data! This would remove all data."}));
    EXPECT_EQ(data().FirstGoodIndex, 0);
}

} // namespace
} // namespace skerry
