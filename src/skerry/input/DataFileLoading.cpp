#include "skerry/input/DataFileLoading.h"

#include "skerry/input/DataLibrary.h"

namespace skerry {

std::optional<std::string> loadDataFile(DataSet& data, const std::string& path,
                                        std::string* fileText) {
    if (auto refusal = getdata(path, data.RawPoints, data.PointCount, data.CommentBlock,
                               data.CommentCount, fileText)) {
        return refusal;
    }
    data.DataFileName = path;
    copyPoints(data.RawPoints, data.WorkPoints, data.PointCount);
    deriveRetainedRange(data);
    return std::nullopt;
}

} // namespace skerry
