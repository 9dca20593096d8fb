#pragma once

#include <string>

namespace skerry {

// What a menu entry shows: its caption and whether it is enabled, visible and checked. Entries
// are written with designated initialisers that name what differs from an enabled, visible,
// unchecked entry: {.caption = "Save", .enabled = false}.
struct MenuEntry {
    std::string caption;
    bool enabled = true;
    bool visible = true;
    bool checked = false;
};

} // namespace skerry
