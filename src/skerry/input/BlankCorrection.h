#pragma once

#include <string>

#include "skerry/input/DataLibrary.h"
#include "skerry/model/DataSet.h"

namespace skerry {

// Reads a blank file into the blank's fields of the data set: its points, count and comment
// lines; the file's path becomes DataFileName and the blank is in force (BlankLoaded). The
// working points are not touched: applyBlank does that. A refused file tells why and leaves the
// data set exactly as it was. The file's bytes go to *fileText when given.
Done loadBlankFile(DataSet& data, const std::string& path, std::string* fileText = nullptr);

// Makes a blank scan that has been read the blank in force, as loadBlankFile does, under the
// name `path`.
void takeBlank(DataSet& data, const ScanFile& blank, const std::string& path);

// Makes WorkPoints the raw points corrected by the loaded blank.
void applyBlank(DataSet& data);

// Takes the blank away: no blank in force, its count and comment lines emptied, and WorkPoints a
// plain copy of RawPoints again. The blank's points stay in BlankPoints unread.
void clearBlank(DataSet& data);

} // namespace skerry
