#pragma once

#include <array>
#include <cstddef>

namespace skerry {

// Room in the editor's arrays; a data set never holds more than MaxPoints of it.
inline constexpr int EditCapacity = 2500;

// One of the editor's arrays, indexed from 1 like the data set's points. Indices outside
// 1..EditCapacity throw std::out_of_range.
class EditArray {
public:
    float& operator()(int index) { return values_.at(static_cast<std::size_t>(index - 1)); }
    float operator()(int index) const { return values_.at(static_cast<std::size_t>(index - 1)); }

private:
    std::array<float, EditCapacity> values_{};
};

} // namespace skerry
