#include "skerry/input/BlankCorrection.h"

#include "skerry/input/DataLibrary.h"

namespace skerry {

std::optional<std::string> loadBlankFile(DataSet& data, const std::string& path,
                                         std::string* fileText) {
    if (auto refusal = getdata(path, data.BlankPoints, data.BlankCount, data.BlankCommentBlock,
                               data.BlankCommentCount, fileText)) {
        return refusal;
    }
    data.DataFileName = path;
    data.BlankLoaded = true;
    return std::nullopt;
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
