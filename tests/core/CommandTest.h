#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "skerry/core/MainWindowModel.h"
#include "support/ScriptedPlatform.h"
#include "support/ScriptedWindows.h"
#include "support/TempDir.h"

namespace skerry::test {

// The start of every test of the main window's commands: a fresh folder as the current
// directory (the commands write their temporary files there), a scripted platform with the
// settings in that folder, scripted windows, the program state and the command logic.
class CommandTest : public testing::Test {
protected:
    CommandTest() : cwd(dir.path()) { platform.settingsDir = dir / "config"; }

    // File > Get Data with `path` chosen in the dialog (nullopt: cancelled).
    void getData(std::optional<std::string> path) {
        platform.answerDialog(std::move(path));
        model.GetNewData_Click();
    }

    const DataSet& data() const { return model.data(); }
    const MainWindowState& state() const { return model.state(); }
    const std::string& listing() const { return state().panes[MainWindowState::EditedTab].text; }

    TempDir dir;
    CurrentDirectoryGuard cwd;
    ScriptedPlatform platform;
    ScriptedWindows windows;
    std::unique_ptr<Program> program = std::make_unique<Program>();
    MainWindowModel model{*program, platform, windows};
};

} // namespace skerry::test
