#include "core/draws.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/speed_test.h"
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
        ASSERT_EQ(DrawMatches(fast, NumberMask(grid)), matches);
        ASSERT_EQ(fast, reference);
    }
}

TEST(DrawCount, CountsTheWholeNumbersFromOneToN) {
    const std::pair<double, std::uint64_t> counts[] = {
        {0, 0},
        {0.5, 0},
        {-3, 0},
        {-1e300, 0},
        {1, 1},
        {3.7, 3},
        {10.6, 10},
        {9007199254740993.0, 9007199254740992},
        {1e300, UINT64_MAX},
    };
    for (const auto& [requested, draws] : counts) {
        EXPECT_EQ(DrawCount(requested), draws) << requested;
    }
}

}  // namespace
}  // namespace loto
