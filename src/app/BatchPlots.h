#pragma once

#include "skerry/batch/BatchRun.h"

namespace skerry {

// How this skerry-batch draws plots: with Qt, offscreen, where it was built with Qt; nothing
// (and --plot refused) where it was built without.
PlotWriter batchPlotWriter();

} // namespace skerry
