#include "core/draws.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "tests/transcription.h"

namespace loto {
namespace {

// The one-pass draw of the loop against the definitions, on random states and on states next to
// the edges, where a one-off quotient draws a 0 or a 50.
TEST(DrawMatches, AgreesWithTheDefinitions) {
    std::mt19937_64 random(11);
    const Numbers grid{3, 9, 17, 28, 41, 49};
    std::vector<GeneratorState> starts = test::StatesNearBoundaries();
    for (int i = 0; i < 20000; ++i) {
        starts.push_back({static_cast<std::int64_t>(random() >> 16),
                          static_cast<std::int64_t>(random() % 32353) * 10000});
    }
    for (const GeneratorState& start : starts) {
        GeneratorState reference = start;
        GeneratorState fast = start;
        const Numbers drawn = test::DrawNumbers(reference);
        // CountMatches: each drawn number that the grid holds adds 1.
        const auto matches =
            std::ranges::count_if(drawn, [&](int n) { return std::ranges::count(grid, n) > 0; });
        ASSERT_EQ(DrawMatches(fast, ScoringTable(SixOfFortyNineRule(NumberMask(grid)).main, 49)),
                  matches);
        ASSERT_EQ(fast, reference);
    }
}

}  // namespace
}  // namespace loto
