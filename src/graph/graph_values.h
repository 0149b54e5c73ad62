#pragma once
// The values of one trend-graph draw, oldest first.

#include <array>
#include <cstddef>

namespace ql {

inline constexpr std::size_t kGraphValueCount = 500;
using GraphValues = std::array<float, kGraphValueCount>;

}  // namespace ql
