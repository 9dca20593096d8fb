#include "skerry/input/BlankCorrection.h"

#include <memory>

namespace skerry {

Done loadBlankFile(DataSet& data, const std::string& path, std::string* fileText) {
    auto scan = std::make_unique<ScanFile>();
    if (Done read = readScanFile(path, *scan, fileText); !read) {
        return read;
    }
    takeBlank(data, *scan, path);
    return {};
}

void takeBlank(DataSet& data, const ScanFile& blank, const std::string& path) {
    copyPoints(blank.points, data.BlankPoints, blank.count);
    data.BlankCount = blank.count;
    data.BlankCommentBlock = blank.comments;
    data.BlankCommentCount = blank.commentCount;
    data.DataFileName = path;
    data.BlankLoaded = true;
}

void applyBlank(DataSet& data) {
    blank(data.RawPoints, data.PointCount, data.BlankPoints, data.BlankCount, data.WorkPoints);
}

void clearBlank(DataSet& data) {
    data.BlankLoaded = false;
    data.BlankCount = 0;
    data.BlankCommentCount = 0;
    data.BlankCommentBlock.clear();
    copyPoints(data.RawPoints, data.WorkPoints, data.PointCount);
}

} // namespace skerry
