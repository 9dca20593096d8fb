#pragma once

#include "skerry/model/DataSet.h"

namespace skerry {

// Edit > Invert Sign of Data: every reading of the working points 1..PointCount changes its sign.
// Nothing else changes (no flag, no menu), so inverting twice gives back the readings bit for bit.
void invertSign(DataSet& data);

} // namespace skerry
