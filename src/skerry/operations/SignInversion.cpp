#include "skerry/operations/SignInversion.h"

namespace skerry {

void invertSign(DataSet& data) {
    for (int i = 1; i <= data.PointCount; ++i) {
        float& reading = data.WorkPoints(i).reading;
        reading = reading * -1.0f;
    }
}

} // namespace skerry
