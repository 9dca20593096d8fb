#pragma once

#include <functional>
#include <stdexcept>
#include <string>

#include "skerry/commands/ModalWindows.h"

namespace skerry::test {

// The program's modal windows for tests: each window a command opens runs the test's script on
// the window's logic object, as a user would act on the window, and then counts as closed.
class ScriptedWindows : public ModalWindows {
public:
    // "Data (graphically)": the script edits, e.g. Form_Resize, Form_MouseDown, then
    // Toolbar_ButtonClick(7) to accept.
    std::function<void(EditorModel&)> editor;
    void showEditor(EditorModel& model) override { play(editor, model, "Vantor"); }

    // "Add Random Noise": the script plays the user, e.g. by calling IsDone_Click.
    std::function<void(NoiseDialogModel&)> noiseDialog;
    void showNoiseDialog(NoiseDialogModel& dialog) override {
        play(noiseDialog, dialog, "Add Random Noise");
    }

    // "Edit Comment Lines": the script reads RichTextBox1() and may call IsOK_Click.
    std::function<void(CommentsDialogModel&)> commentsDialog;
    void showCommentsDialog(CommentsDialogModel& dialog) override {
        play(commentsDialog, dialog, "Edit Comment Lines");
    }

    // "Set Plot Colors": the script moves sliders with Slider1_Change and may call IsOK_Click or
    // ForgetIt_Click; leaving without either is the close box.
    std::function<void(ColourDialogModel&)> colourDialog;
    void showColourDialog(ColourDialogModel& dialog) override {
        play(colourDialog, dialog, "Set Plot Colors");
    }

private:
    // A window that opens without a script is a mistake in the test, not a user's choice.
    template <typename Model>
    static void play(const std::function<void(Model&)>& script, Model& model, const char* window) {
        if (!script) {
            throw std::logic_error(std::string("no script for the window ") + window);
        }
        script(model);
    }
};

} // namespace skerry::test
