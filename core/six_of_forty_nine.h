#pragma once

#include <array>

namespace loto {

// 6/49's sizes: a draw takes six numbers from 1 to 49, a grid holds six favourites, and a draw
// matches 0 to 6 of them, one row of results for each.
inline constexpr int kFavouriteCount = 6;
inline constexpr int kHighestNumber = 49;
inline constexpr int kResultRows = kFavouriteCount + 1;

// One value for each row of results, k = 0 to 6.
template <typename T>
using PerRow = std::array<T, kResultRows>;

}  // namespace loto
