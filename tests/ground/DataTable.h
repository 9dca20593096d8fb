#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "skerry/ground/Outcome.h"
#include "support/TempDir.h"

namespace skerry::test {

// The cases of a test written out by hand in a data file under tests/data: one case a line, its
// cells separated by tabs; empty lines and lines starting with "# " (notes on the cases below
// them) are skipped. A cell may hold the escapes \t, \n, \r, \0, \\, \xHH and \[N*text] (the
// text N times), so that control characters, binary bytes and long runs stay readable.

inline std::string unescape(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i] == '\\' && i + 1 < s.size() ? s[++i] : '\0';
        const auto simple = std::string_view("tnr0").find(c);
        if (c == '\0') {
            out += s[i];
        } else if (c == 'x') {
            out += static_cast<char>(std::stoi(std::string(s.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else if (c == '[') {
            const auto star = s.find('*', i);
            const auto end = s.find(']', star);
            const std::string part = unescape(s.substr(star + 1, end - star - 1));
            for (int n = std::stoi(std::string(s.substr(i + 1, star - i - 1))); n > 0; --n) {
                out += part;
            }
            i = end;
        } else {
            out += simple == std::string_view::npos ? c : std::string_view("\t\n\r\0", 4)[simple];
        }
    }
    return out;
}

inline std::filesystem::path dataPath(const std::string& name) {
    return std::filesystem::path(SKERRY_TEST_DATA_DIR) / name;
}

// The parts of a text between separators; none for an empty text.
inline std::vector<std::string> split(const std::string& text, char separator = ' ') {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) {
        parts.push_back(part);
    }
    return parts;
}

// Values as a table writes them: each followed by a tab, numbers to 6 significant digits.
template <typename... Values>
std::string cellsOf(const Values&... values) {
    std::ostringstream out;
    ((out << values << '\t'), ...);
    return out.str();
}

// What an outcome comes to in a cell: the reason of a failure, else `done`.
template <class T>
std::string reasonOf(const Outcome<T>& outcome, std::string_view done = "") {
    return outcome ? std::string(done) : outcome.reason();
}

struct Row {
    std::string where; // the data file and line, for the failure message
    std::vector<std::string> cells;

    const std::string& operator[](std::size_t i) const { return cells.at(i); }
    // Cell i, or the data file it names after '@'.
    std::string text(std::size_t i) const {
        return cells.at(i).starts_with('@') ? readBytes(dataPath(cells.at(i).substr(1)))
                                            : cells.at(i);
    }
    float single(std::size_t i) const { return std::strtof(cells.at(i).c_str(), nullptr); }
    double number(std::size_t i) const { return std::strtod(cells.at(i).c_str(), nullptr); }
    int integer(std::size_t i) const { return std::stoi(cells.at(i)); }
    // Cells `first` on, each followed by a tab, to compare with cellsOf().
    std::string rest(std::size_t first) const {
        std::string text;
        for (std::size_t i = first; i < cells.size(); ++i) {
            text += cells[i] + '\t';
        }
        return text;
    }
    // The numbers of a cell, separated by blanks, as singles.
    std::vector<float> singles(std::size_t i) const {
        std::vector<float> values;
        for (const auto& part : split(cells.at(i))) {
            values.push_back(std::strtof(part.c_str(), nullptr));
        }
        return values;
    }
};

// The rows of a table, each with `columns` cells (any number when `columns` is 0).
inline std::vector<Row> readTable(const std::string& name, std::size_t columns) {
    std::istringstream in(readBytes(dataPath(name)));
    std::vector<Row> rows;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty() || line == "#" || line.rfind("# ", 0) == 0) {
            continue;
        }
        Row row{name + ":" + std::to_string(number), {}};
        for (std::size_t start = 0, tab = 0; tab != std::string::npos; start = tab + 1) {
            tab = line.find('\t', start);
            row.cells.push_back(unescape(line.substr(start, tab - start)));
        }
        EXPECT_TRUE(columns == 0 || row.cells.size() == columns) << row.where;
        row.cells.resize(std::max(columns, row.cells.size()));
        rows.push_back(row);
    }
    EXPECT_FALSE(rows.empty()) << name;
    return rows;
}

} // namespace skerry::test
