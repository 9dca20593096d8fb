#pragma once

#include <functional>

class QWidget;

namespace skerry::bench {

// Runs `then` from the event loop once the widget's window is exposed, that is, on screen.
// The widget must have been shown.
void whenExposed(QWidget& widget, std::function<void()> then);

// The most memory the process has held in RAM so far (peak resident set size), in kilobytes.
long peakResidentKilobytes();

// Writes "peak_rss_kb N" to standard output, for the runner to read.
void reportPeakMemory();

} // namespace skerry::bench
