#include "app/BatchPlots.h"

namespace skerry {

PlotWriter batchPlotWriter() {
    return {};
}

} // namespace skerry
