#include "core/draws.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "tests/transcription.h"

namespace loto {
namespace {

// The one-pass draw of the loop against the definitions, on random states.
TEST(DrawMatches, AgreesWithTheDefinitions) {
    std::mt19937_64 random(11);
    const Numbers grid{3, 9, 17, 28, 41, 49};
    for (int i = 0; i < 20000; ++i) {
        const GeneratorState start{static_cast<std::int64_t>(random() >> 16),
                                   static_cast<std::int64_t>(random() % 32353) * 10000};
        GeneratorState reference = start;
        GeneratorState fast = start;
        const Numbers drawn = test::DrawNumbers(reference);
        // CountMatches: each drawn number that the grid holds adds 1.
        const auto matches =
            std::ranges::count_if(drawn, [&](int n) { return std::ranges::count(grid, n) > 0; });
        ASSERT_EQ(DrawMatches(fast, ScoringTable(NumberMask(grid))), matches);
        ASSERT_EQ(fast, reference);
    }
}

}  // namespace
}  // namespace loto
