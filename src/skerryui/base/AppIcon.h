#pragma once

#include <QIcon>

namespace skerry {

// Skerry's icon for its windows, built into the program in the sizes that title bars, task
// switchers and docks ask for. It is the picture that the desktop entry shows.
QIcon applicationIcon();

} // namespace skerry
