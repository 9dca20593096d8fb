#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "skerry/batch/BatchOptions.h"

namespace skerry {

// Runs skerry-batch with its arguments (without the program name). Messages go to `err`, the
// written file or listing to `out` when no output file is named.
int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace skerry
