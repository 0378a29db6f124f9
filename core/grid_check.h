#pragma once

#include <array>
#include <optional>

#include "core/draws.h"

namespace loto {

// The six favourite numbers as entered, in box order.
using EnteredGrid = std::array<double, kFavouriteCount>;

// Accepts a grid when every entered value lies from 1 to 49 and no two are equal, and returns
// it rounded to whole numbers (halves to even) for matching. Two values that differ as entered
// but round to the same number (7.6 and 8) are a repeat too: the grid would hold five numbers.
[[nodiscard]] std::optional<Numbers> GridCheck(const EnteredGrid& entered) noexcept;

// Why GridCheck refuses a grid: the position (1 to 6) of the first value out of range or, when
// every one is in range, of the first that repeats an earlier one as entered or rounded; 0 when
// the grid is accepted.
[[nodiscard]] int OffendingFavourite(const EnteredGrid& entered) noexcept;

}  // namespace loto
