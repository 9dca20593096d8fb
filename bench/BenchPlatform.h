#pragma once

#include <optional>
#include <string>

#include "skerryui/platform/QtPlatform.h"

namespace skerry::bench {

// The program's own Qt platform with two things taken out of a measurement: the splash
// window's fixed waits, and the person choosing a file in the open dialog.
class BenchPlatform : public QtPlatform {
public:
    void sleep(std::chrono::milliseconds /*duration*/) override {}

    std::optional<std::string> openFileDialog(const FileDialogRequest& /*request*/) override {
        return fileToOpen;
    }

    std::optional<std::string> fileToOpen;
};

} // namespace skerry::bench
