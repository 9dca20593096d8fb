#include "skerry/input/DataFileLoading.h"

#include <memory>

namespace skerry {

std::optional<std::string> loadDataFile(DataSet& data, const std::string& path,
                                        std::string* fileText) {
    auto scan = std::make_unique<ScanFile>();
    if (auto refusal = readScanFile(path, *scan, fileText)) {
        return refusal;
    }
    takeScan(data, *scan, path);
    return std::nullopt;
}

void takeScan(DataSet& data, const ScanFile& scan, const std::string& name) {
    copyPoints(scan.points, data.RawPoints, scan.count);
    data.PointCount = scan.count;
    data.CommentBlock = scan.comments;
    data.CommentCount = scan.commentCount;
    data.DataFileName = name;
    copyPoints(data.RawPoints, data.WorkPoints, data.PointCount);
    deriveRetainedRange(data);
}

} // namespace skerry
