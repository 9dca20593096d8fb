#pragma once

#include <array>
#include <cstdint>
#include <string>

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

    MenuEntry FileMenu{"File"};
    MenuEntry GetNewData{"Get Data"};
    MenuEntry UseFitFile{"Get File(s) From Fit-File"};
    MenuEntry GetBlankData{"Get Blank", false};
    MenuEntry ClearBlank{"Clear Blank", false};

    MenuEntry FilesLoaded{"LoadedFiles", true, false};
    std::array<MenuEntry, MaxFitDataSets> DSNames;

    MenuEntry EditMenuChoice{"Edit", false};
    MenuEntry DoVantor{"Data (graphically)"};
    MenuEntry EditComment1{"Comment Lines"};
    MenuEntry InvertC{"Invert Sign of Data"};
    MenuEntry AddNoise{"Add Random Noise"};
    MenuEntry BackItOff{"Remove Random Noise", false, false};

    MenuEntry SaveDataFile{"Save", false};
    MenuEntry SaveComplete{"Complete"};
    MenuEntry SaveCompleteRSq{"Complete (as R^2/2)"};
    MenuEntry SaveTruncated{"Truncated"};
    MenuEntry SaveTruncatedRSq{"Truncated (as R^2/2)"};

    MenuEntry SetColors{"Set Plot Colors"};

    enum Tab { DataTab = 0, BlankTab = 1, EditedTab = 2 };
    std::array<std::string, 3> tabCaptions{"Data File", "Blank File", "Edited Data File"};
    std::array<Pane, 3> panes;
};

} // namespace skerry
