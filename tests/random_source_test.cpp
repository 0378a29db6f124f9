#include "core/random_source.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "tests/transcription.h"

namespace loto {
namespace {

using test::TranscribedNextUniform;
using test::TranscribedNumber;

// The first value after seeding, as published, and the state it leaves.
TEST(RandomSource, FirstValueAfterSeeding) {
    RandomSource source;
    EXPECT_NEAR(NextUniformByDoubles(source.state()), 0.18687990969471, 5e-15);
    EXPECT_EQ(source.state(), (GeneratorState{52602018229008, 320000}));
}

// The integer paths against the Double definition, value by value (the number, the word
// floor(u x 2^32) and the state): from the seed for a million values, and for a few values from
// states whose step lands next to a multiple of 2^48 or whose X x 49 does (where the Double
// quotient or floor can be one off), and from states whose next X is a multiple of 2^16.
TEST(RandomSource, IntegerPathsFollowTheDoubleFormulas) {
    std::vector<std::pair<GeneratorState, int>> runs = {{kSeedState, 1'000'000}};
    for (const GeneratorState& start : test::StatesNearBoundaries()) {
        runs.emplace_back(start, 8);
    }
    for (const std::int64_t k : {1, 2, 3, 4096, 65535}) {
        runs.emplace_back(GeneratorState{0, k << 16}, 2);
    }
    int oneOffQuotients = 0;
    for (const auto& [start, values] : runs) {
        GeneratorState number = start;
        GeneratorState word = start;
        GeneratorState reference = start;
        for (int i = 0; i < values; ++i) {
            const double u = TranscribedNextUniform(reference);
            oneOffQuotients += (reference.x < 0 || reference.x >= (std::int64_t{1} << 48)) ? 1 : 0;
            const double scaled = std::clamp(std::floor(u * 4294967296.0), 0.0, 4294967295.0);
            if (NextNumber(number) != TranscribedNumber(u) || NextWord(word) != scaled ||
                !(number == reference) || !(word == reference)) {
                FAIL() << "value " << i << " from " << start.x << ' ' << start.c;
            }
        }
    }
    // The table must reach the cases that the guard exists for.
    EXPECT_GT(oneOffQuotients, 0);
}

}  // namespace
}  // namespace loto
