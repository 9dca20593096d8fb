#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "skerry/commands/MainWindowModel.h"
#include "support/ScriptedPlatform.h"
#include "ScriptedWindows.h"
#include "support/TempDir.h"

namespace skerry::test {

// A comment line as the listing writes it: 96 characters and CR LF.
inline std::string padded(const std::string& text) {
    return text + std::string(96 - text.size(), ' ') + "\r\n";
}

// The scan most command tests load: two comment lines and five points, of which 1, 3 and 5 are
// deleted (the retained range is points 2 to 4), with a negative, a zero and a large reading.
inline const std::string kScan = "Cell 1\r\n"
                                 "R 1 20.0 42000 1234 1.234E+10 280 1\r\n"
                                 "   5.9000  1.00000E-01   -5.00000E-03\r\n"
                                 "   6.0000 -2.50000E-01    1.00000E-02\r\n"
                                 "   6.1000  0.00000E+00   -1.00000E-02\r\n"
                                 "   6.2000  7.12345E+02    1.00000E-02\r\n"
                                 "   6.3000  5.00000E-01   -2.00000E-02\r\n";
inline const std::string kComments =
    padded("Cell 1") + padded("R 1 20.0 42000 1234 1.234E+10 280 1");
// Its points as the listing writes them, and as the XI forms of Save write them.
inline const std::string kLines[] = {
    "   5.90000    1.00000E-01   -5.000E-03\r\n", "   6.00000   -2.50000E-01    1.000E-02\r\n",
    "   6.10000    0.00000E+00   -1.000E-02\r\n", "   6.20000    7.12345E+02    1.000E-02\r\n",
    "   6.30000    5.00000E-01   -2.000E-02\r\n"};
inline const std::string kXiLines[] = {
    "  17.40500    1.00000E-01   -5.000E-03\r\n", "  18.00000   -2.50000E-01    1.000E-02\r\n",
    "  18.60500    0.00000E+00   -1.000E-02\r\n", "  19.22000    7.12345E+02    1.000E-02\r\n",
    "  19.84500    5.00000E-01   -2.000E-02\r\n"};
inline const std::string kListing =
    kComments + kLines[0] + kLines[1] + kLines[2] + kLines[3] + kLines[4];

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
    // File > Get Data of kScan, as "scan.RA1" in the test's folder.
    void loadScan() { getData(dir.write("scan.RA1", kScan).string()); }

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
