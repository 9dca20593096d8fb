#pragma once

#include <string>

#include "skerry/input/DataLibrary.h"
#include "skerry/model/DataSet.h"

namespace skerry {

// Reads a scan file into the data set as File > Get Data does once a file has been chosen: the
// points and comments from the file, the file's name, the working points as a copy of the raw
// ones, the retained range and the kind of x. A refused file tells why and leaves the data set
// exactly as it was. The file's bytes go to *fileText when given.
Done loadDataFile(DataSet& data, const std::string& path, std::string* fileText = nullptr);

// Makes a scan that has been read the data set, as loadDataFile does, under the name `name`.
void takeScan(DataSet& data, const ScanFile& scan, const std::string& name);

} // namespace skerry
