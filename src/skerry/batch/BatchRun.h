#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "skerry/batch/BatchOptions.h"
#include "skerry/ground/Outcome.h"
#include "skerry/model/DataSet.h"

namespace skerry {

// Draws the plot of a data set into a file of the given kind, as the editor shows it on opening,
// or tells why it could not. Programs built with Qt supply one.
using PlotWriter = std::function<Done(const DataSet& data, const std::string& path, PlotFile kind)>;

// Runs skerry-batch with its arguments (without the program name). Messages go to `err`, the
// written file or listing to `out` when no output file is named. Without a plot writer, --plot is
// refused as a usage error.
int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const PlotWriter& plots = {});

} // namespace skerry
