#include "skerry/input/DataFileLoading.h"

#include <memory>

namespace skerry {

Done loadDataFile(DataSet& data, const std::string& path, std::string* fileText) {
    auto scan = std::make_unique<ScanFile>();
    if (Done read = readScanFile(path, *scan, fileText); !read) {
        return read;
    }
    takeScan(data, *scan, path);
    return {};
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
