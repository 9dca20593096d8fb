#include "skerry/session/Program.h"

#include "skerry/ground/NumberPattern.h"

namespace skerry {

std::string VersionText() {
    return formatNumber(double{SKERRY_VERSION_MAJOR}, "0.") +
           formatNumber(double{SKERRY_VERSION_MINOR}, "000.") +
           formatNumber(double{SKERRY_VERSION_REVISION}, "0000");
}

std::string ProgramCaption() {
    return "Skerry V" + VersionText();
}

} // namespace skerry
