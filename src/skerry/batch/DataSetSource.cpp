#include "skerry/batch/DataSetSource.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "skerry/input/DataLibrary.h"
#include "skerry/session/DataSetOperations.h"

namespace skerry {

Done DataFiles::open(std::size_t i, DataSet& data) const {
    return openScan(data, file(i));
}

Done FitEntries::open(std::size_t i, DataSet& data) const {
    const int k = entries_.at(i);
    const auto scan = std::make_unique<ScanFile>();
    if (Done read = readFitDataFile(list_, k, *scan); !read) {
        return read;
    }
    reopenScan(data, list_, k, *scan, profile_);
    return {};
}

Outcome<FitEntries> FitEntries::read(const BatchOptions& options, BatchReporter& reporter) {
    const std::string& fitFile = options.fitFile;
    std::error_code ignored;
    const auto folder = std::filesystem::absolute(os::pathFromUtf8(fitFile), ignored).parent_path();
    FitFileReading fit = readFitFile(fitFile, folder);
    const FitListReading& reading = fit.list;
    if (!reading.list) {
        return reading.list.failure();
    }
    if (reading.message) {
        reporter.warning(fitFile, reading.message->text);
    }
    const int found = reading.list->FitFoundCount;
    std::vector<int> entries;
    if (options.allFitEntries) {
        for (int k = 1; k <= found; ++k) {
            entries.push_back(k);
        }
    } else {
        const int entry = options.fitEntry.value_or(1);
        if (entry > found) {
            return Failure{"no data set " + std::to_string(entry) + ", only " +
                           std::to_string(found) + " of the listed data files exist"};
        }
        entries.push_back(entry);
    }
    return FitEntries(*reading.list, std::move(fit.profile), std::move(entries));
}

} // namespace skerry
