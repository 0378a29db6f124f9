#include "core/draws.h"

#include <gtest/gtest.h>

#include <random>

#include "core/speed_test.h"
#include "tests/transcription.h"

namespace loto {
namespace {

// The first draws after seeding (no candidate is rejected before the 19th value), scored as the
// definitions score them; a number that the grid holds twice still counts once.
TEST(DrawMatches, FirstDrawsAfterSeedingAndScores) {
    GeneratorState state = kSeedState;
    EXPECT_EQ(test::DrawNumbers(state), (Numbers{10, 7, 18, 15, 36, 14}));
    EXPECT_EQ(test::DrawNumbers(state), (Numbers{26, 30, 37, 33, 22, 29}));
    EXPECT_EQ(test::DrawNumbers(state), (Numbers{47, 43, 14, 28, 48, 7}));
    const std::pair<Numbers, int> scores[] = {
        {{1, 2, 3, 4, 5, 6}, 0}, {{7, 10, 14, 20, 30, 40}, 3}, {{7, 7, 7, 7, 7, 7}, 1}};
    for (const auto& [grid, matches] : scores) {
        GeneratorState fresh = kSeedState;
        EXPECT_EQ(DrawMatches(fresh, NumberMask(grid)), matches);
    }
}

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
        ASSERT_EQ(DrawMatches(fast, NumberMask(grid)), test::CountMatches(drawn, grid));
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
