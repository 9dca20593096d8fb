#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "skerry/input/FitFile.h"
#include "skerry/model/MenuEntry.h"

namespace skerry {

// A text pane shows one file's bytes; the revision tells a view when to reload it.
struct Pane {
    std::string text;
    std::uint64_t revision = 0;

    void set(std::string newText) {
        text = std::move(newText);
        ++revision;
    }
};

// Everything the main window shows: its caption, the menu tree with each entry's state, the tab
// captions and the three panes. Commands change this; the window only displays it.
struct MainWindowState {
    MainWindowState();

    std::string caption;

    MenuEntry FileMenu{.caption = "File"};
    MenuEntry GetNewData{.caption = "Get Data"};
    MenuEntry UseFitFile{.caption = "Get File(s) From Fit-File"};
    MenuEntry GetBlankData{.caption = "Get Blank", .enabled = false};
    MenuEntry ClearBlank{.caption = "Clear Blank", .enabled = false};
    MenuEntry GetRun{.caption = "Get Run..."};

    MenuEntry FilesLoaded{.caption = "LoadedFiles", .visible = false};
    std::array<MenuEntry, MaxFitDataSets> DSNames;

    MenuEntry EditMenuChoice{.caption = "Edit", .enabled = false};
    MenuEntry DoVantor{.caption = "Data (graphically)"};
    MenuEntry EditComment1{.caption = "Comment Lines"};
    MenuEntry InvertC{.caption = "Invert Sign of Data"};
    MenuEntry AddNoise{.caption = "Add Random Noise"};
    MenuEntry BackItOff{.caption = "Remove Random Noise", .enabled = false, .visible = false};

    MenuEntry SaveDataFile{.caption = "Save", .enabled = false};
    MenuEntry SaveComplete{.caption = "Complete"};
    MenuEntry SaveCompleteRSq{.caption = "Complete (as R^2/2)"};
    MenuEntry SaveTruncated{.caption = "Truncated"};
    MenuEntry SaveTruncatedRSq{.caption = "Truncated (as R^2/2)"};

    MenuEntry SetColors{.caption = "Set Plot Colors"};

    enum Tab { DataTab = 0, BlankTab = 1, EditedTab = 2 };
    std::array<std::string, 3> tabCaptions{"Data File", "Blank File", "Edited Data File"};
    std::array<Pane, 3> panes;

    // The scans of a run, by their file names in the order opened, and which of them
    // is current (from 0). Empty while one scan is open: the window then looks as without runs.
    std::vector<std::string> runScans;
    std::size_t currentScan = 0;
};

} // namespace skerry
