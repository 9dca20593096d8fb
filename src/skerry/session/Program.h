#pragma once

#include <optional>
#include <string>

#include "skerry/input/FitFile.h"
#include "skerry/model/DataSet.h"
#include "skerry/model/PlotColor.h"
#include "skerry/model/Run.h"

namespace skerry {

// "0.999.0028": major "0.", minor "000.", revision "0000".
std::string VersionText();
// "Skerry V" followed by the version text.
std::string ProgramCaption();

// The state that lives as long as the program: the scans open and the values kept beside them.
struct Program {
    Run run;
    // The current scan, the data set every single-scan command acts on.
    DataSet& data() { return run.current(); }
    const DataSet& data() const { return run.current(); }
    PlotColours colours;
    // The print system's default printer, asked for when the editor first needs it: a slow or
    // unreachable print server then never holds up the program's start.
    std::optional<std::string> DefaultPrinterName;
    bool ShowXYDefault = true; // the editor's cursor read-out, carried between openings
    FitFileList fitList;       // the data sets of the last fit file read
};

} // namespace skerry
