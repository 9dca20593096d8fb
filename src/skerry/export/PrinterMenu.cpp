#include "skerry/export/PrinterMenu.h"

#include <stdexcept>
#include <string_view>

#include "skerry/ground/Text.h"

namespace skerry {

PrinterMenu::PrinterMenu(std::vector<std::string> deviceNames,
                         const std::string& defaultPrinterName)
    : PrnArray(std::move(deviceNames)) {
    const std::string_view wanted = trimBlanks(defaultPrinterName);
    for (std::size_t i = 0; i < PrnArray.size(); ++i) {
        // Should two names match, the later one stays current, as each match takes over.
        if (trimBlanks(PrnArray[i]) == wanted) {
            current_ = static_cast<int>(i) + 1;
        }
    }
    if (current_ == 0 && !PrnArray.empty()) {
        current_ = 1;
    }
}

void PrinterMenu::PrnArray_Click(int k) {
    if (k < 1 || k > static_cast<int>(PrnArray.size())) {
        throw std::out_of_range("no printer entry " + std::to_string(k));
    }
    current_ = k;
}

std::string PrinterMenu::currentPrinter() const {
    return current_ == 0 ? std::string() : PrnArray[static_cast<std::size_t>(current_ - 1)];
}

} // namespace skerry
