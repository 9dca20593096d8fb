#include "skerry/session/SavedFiles.h"

#include <algorithm>

namespace skerry {

namespace fs = std::filesystem;

fs::path columnName(const fs::path& name, std::size_t k) {
    fs::path column = name.stem();
    column += "-" + std::to_string(k);
    column += name.extension();
    return column;
}

std::vector<NamedDataSet> columnDataSets(const DataSet& data, const fs::path& name,
                                         const std::vector<ColumnRange>& columns) {
    std::vector<NamedDataSet> sets;
    const int count = std::clamp(data.PointCount, 0, MaxPoints);
    for (std::size_t k = 0; k < columns.size(); ++k) {
        NamedDataSet& set = sets.emplace_back(NamedDataSet{columnName(name, k + 1), data});
        for (int i = 1; i <= count; ++i) {
            if (i < columns[k].first || i > columns[k].last) {
                markDeleted(set.data.WorkPoints(i));
            }
        }
        setRetainedRange(set.data, WhenNoneGood::Unchanged);
    }
    return sets;
}

OutputCheck::OutputCheck(const std::vector<fs::path>& inputs, std::string kind)
    : kind_(std::move(kind)) {
    for (const fs::path& input : inputs) {
        if (const auto id = input.empty() ? std::nullopt : fileIdentity(input)) {
            inputs_.insert(*id);
        }
    }
}

Done OutputCheck::claim(const fs::path& target, const std::string& label) {
    const auto [taken, fresh] = claimed_.try_emplace(target, label);
    if (!fresh) {
        return Failure{kind_ + taken->second + " and " + label + " would both be written to " +
                       os::utf8Of(target)};
    }
    if (const auto id = fileIdentity(target); id && inputs_.contains(*id)) {
        return Failure{os::utf8Of(target) + ": is an input and would be overwritten"};
    }
    return {};
}

} // namespace skerry
