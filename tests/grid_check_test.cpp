#include "core/grid_check.h"

#include <gtest/gtest.h>

#include <limits>

namespace loto {
namespace {

TEST(GridCheck, AcceptsAndRounds) {
    const std::pair<EnteredGrid, Numbers> cases[] = {
        // as entered, as matched
        {{1, 2, 3, 4, 5, 49}, {1, 2, 3, 4, 5, 49}},
        {{12, 2, 3, 4, 5, 6}, {12, 2, 3, 4, 5, 6}},
        {{2.5, 3.5, 48.5, 10, 11, 12}, {2, 4, 48, 10, 11, 12}},  // halves to even
        {{1, 49, 2.4, 7.6, 20.49, 33}, {1, 49, 2, 8, 20, 33}},
    };
    for (const auto& [entered, matching] : cases) {
        EXPECT_EQ(GridCheck(entered), matching);
        EXPECT_EQ(OffendingFavourite(EnteredGrid(entered)), 0);  // a copy: no neighbour to read
    }
}

// Refused grids, and the favourite that a refusal names: the first out of range, else the first
// that repeats an earlier one.
TEST(GridCheck, Refuses) {
    const double big = std::numeric_limits<double>::max();
    // clang-format off
    const std::pair<EnteredGrid, int> refused[] = {
        {{0, 2, 3, 4, 5, 6}, 1},           // out of range
        {{0.9, 2, 3, 4, 5, 6}, 1},
        {{1, 2, 3, 4, 5, 49.1}, 6},
        {{1, 2, 50, 4, 5, 6}, 3},
        {{big, 2, 3, 4, 5, 6}, 1},
        {{0, 0, 0, 0, 0, 0}, 1},           // six empty boxes
        {{7, 8, 9, 10, 11, 7}, 6},         // repeats
        {{7, 8, 9, 9, 11, 0}, 6},          // out of range before a repeat
        {{7, 8, 9, 10, 11, 11}, 6},
        {{7.6, 8, 9, 10, 11, 12}, 2},      // differ as entered, round to the same number
        {{1.5, 2, 3, 4, 5, 6}, 2},         // 1.5 rounds to 2
    };
    // clang-format on
    for (const auto& [entered, offending] : refused) {
        EXPECT_FALSE(GridCheck(entered).has_value()) << entered[0] << ' ' << entered[5];
        EXPECT_EQ(OffendingFavourite(entered), offending) << entered[0] << ' ' << entered[5];
    }
}

}  // namespace
}  // namespace loto
