#pragma once

#include <string>
#include <vector>

namespace skerry {

// The printer list of the editor's "&Printer" menu: entry k (1..n) for the k-th installed printer,
// captioned with its device name, and the one checked entry, the printer that "Print" uses.
class PrinterMenu {
public:
    PrinterMenu() = default;

    // The list for the installed printers, in the print system's order. The entry whose device
    // name equals the default printer's name, both without surrounding blanks, is checked;
    // when none does, the first one is.
    PrinterMenu(std::vector<std::string> deviceNames, const std::string& defaultPrinterName);

    // Without a printer the menu is disabled: nothing can be chosen or printed.
    bool enabled() const { return !PrnArray.empty(); }

    // Makes entry k (1..n) the checked one and its printer the current printer.
    void PrnArray_Click(int k);

    // The checked entry, 1..n; 0 when there is no printer.
    int current() const { return current_; }
    // The current printer's device name; empty when there is no printer.
    std::string currentPrinter() const;

    // The device names of entries 1..n, at positions 0..n-1.
    std::vector<std::string> PrnArray;

private:
    int current_ = 0;
};

} // namespace skerry
