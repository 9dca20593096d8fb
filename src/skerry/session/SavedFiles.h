#pragma once

#include <cstddef>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "skerry/ground/FileIO.h"
#include "skerry/ground/Outcome.h"
#include "skerry/model/DataSet.h"
#include "skerry/model/Run.h"

namespace skerry {

// The name of column k (from 1) of a data file: its stem, "-K", its extension, so that
// 00001.RA1 gives 00001-1.RA1, run.2.RA1 run.2-1.RA1, and a name without a dot scan-1.
std::filesystem::path columnName(const std::filesystem::path& name, std::size_t k);

// A data set to be written under a file name of its own.
struct NamedDataSet {
    std::filesystem::path name;
    DataSet data;
};

// Each column of an edited scan as a data set of its own, named by columnName after `name`:
// the scan with every point outside the column deleted, by sign as the editor deletes, and the
// column's first and last good point as the retained range, so that Save Truncated writes just
// the column. The window's Save and skerry-batch --channels both split a scan through this.
std::vector<NamedDataSet> columnDataSets(const DataSet& data, const std::filesystem::path& name,
                                         const std::vector<ColumnRange>& columns);

// No output may replace one of the inputs, and no two outputs may go to one file. Files are
// compared, not names, so that a link or another spelling of an input's path counts too.
class OutputCheck {
public:
    // `kind` starts a message naming two data sets: "data sets " before entry numbers.
    OutputCheck(const std::vector<std::filesystem::path>& inputs, std::string kind);

    // Takes `target` for the output of the data set `label` names; refused, with a reason that
    // names the files, when another output has taken it or it is one of the inputs.
    Done claim(const std::filesystem::path& target, const std::string& label);

private:
    std::set<FileIdentity> inputs_;
    std::map<std::filesystem::path, std::string> claimed_; // target: the label that took it
    std::string kind_;
};

} // namespace skerry
