#include "skerry/commands/MainWindowState.h"

#include "skerry/ground/NumberPattern.h"

namespace skerry {

MainWindowState::MainWindowState() {
    // Entry 0 is part of the window; entries 1..14 are made when the window loads, captioned
    // "2: " to "15: ". The list stays hidden until a fit file has been read.
    DSNames[0] = {.caption = "1", .enabled = false};
    const NumberPattern entryNumber("##: ");
    for (int i = 1; i < MaxFitDataSets; ++i) {
        DSNames[static_cast<std::size_t>(i)] = {
            .caption = entryNumber.format(double(i + 1)), .enabled = false, .visible = false};
    }
}

} // namespace skerry
