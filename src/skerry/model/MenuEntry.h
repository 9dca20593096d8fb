#pragma once

#include <string>

namespace skerry {

// What a menu entry shows: its caption and whether it is enabled, visible and checked.
struct MenuEntry {
    std::string caption;
    bool enabled = true;
    bool visible = true;
    bool checked = false;
};

} // namespace skerry
