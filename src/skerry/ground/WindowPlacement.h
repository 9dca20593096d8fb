#pragma once

namespace skerry {

// A window's outer frame on the screen, in pixels.
struct WindowGeometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Where a dialog's top left corner goes, in pixels.
struct WindowPosition {
    int left = 0;
    int top = 0;

    friend bool operator==(const WindowPosition&, const WindowPosition&) = default;
};

} // namespace skerry
