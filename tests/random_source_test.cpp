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

TEST(RandomSource, FirstValuesAfterSeeding) {
    struct Expected {
        std::int64_t x;  // raw, unknown (0) where only the carry is given
        std::int64_t carry;
        double value;
    };
    const Expected expected[] = {{52602018229008, 32, 0.18687990969471},
                                 {35386570789648, 6046, 0.12571835409022},
                                 {0, 4067, 0.36591009583657}};
    RandomSource source;
    source.Seed();
    for (const Expected& e : expected) {
        const double u = source.NextUniform();
        EXPECT_NEAR(u, e.value, 5e-15);
        EXPECT_EQ(source.state().c, e.carry * 10000);
        if (e.x != 0) {
            EXPECT_EQ(source.state().x, e.x);
        }
    }
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
