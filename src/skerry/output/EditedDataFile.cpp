#include "skerry/output/EditedDataFile.h"

#include <algorithm>

#include "skerry/model/Listing.h"

namespace skerry {

std::string editedFileText(const DataSet& data, SaveForm form) {
    int first = 1;
    int last = data.PointCount;
    if (!form.complete) {
        // The range always lies inside the points; clamping only guards against a data set
        // that was never loaded.
        first = std::max(data.FirstGoodIndex, 1);
        last = std::min(data.LastGoodIndex, data.PointCount);
    }
    std::string text;
    appendCommentLines(text, data);
    for (int i = first; i <= last; ++i) {
        if (form.asRadius) {
            appendListingLine(text, data.WorkPoints(i));
        } else {
            appendXiLine(text, data.WorkPoints(i));
        }
        text.append("\r\n");
    }
    return text;
}

} // namespace skerry
