#pragma once

#include <QColor>

namespace skerry::test {

// Ten points at x = 5.95 .. 6.40 and readings 0.1 .. 1.0: the frame is exactly their extent, so
// points 1 and 10 lie on its corners and are not drawn. Point 4 is deleted.
inline const char* const TenPointScan =
    "Cell 4\r\n5.95 0.1 0.01\r\n6.0 0.2 0.01\r\n6.05 0.3 0.01\r\n"
    "6.1 0.4 -0.01\r\n6.15 0.5 0.01\r\n6.2 0.6 0.01\r\n6.25 0.7 0.01\r\n"
    "6.3 0.8 0.01\r\n6.35 0.9 0.01\r\n6.4 1.0 0.01\r\n";

// The built-in colours of good and deleted points.
inline const QColor GoodRing(0, 127, 0);
inline const QColor DeletedRing(255, 0, 0);

} // namespace skerry::test
