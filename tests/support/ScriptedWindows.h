#pragma once

#include <functional>

#include "skerry/core/ModalWindows.h"

namespace skerry::test {

// The program's modal windows for tests: each window a command opens runs the test's script on
// the window's logic object, as a user would act on the window, and then counts as closed.
class ScriptedWindows : public ModalWindows {
public:
};

} // namespace skerry::test
