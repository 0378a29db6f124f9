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

// The integer path against the Double definition, step by step, over the first million values
// after seeding: same number, same state, output within [0, 1).
TEST(RandomSource, IntegerPathEqualsDoubleFormulasFromTheSeed) {
    GeneratorState fast = kSeedState;
    GeneratorState reference = kSeedState;
    for (int i = 0; i < 1'000'000; ++i) {
        const double u = TranscribedNextUniform(reference);
        const int number = NextNumber(fast);
        if (number != TranscribedNumber(u) || !(fast == reference) || u < 0 || u >= 1) {
            FAIL() << "value " << i << ": number " << number << " vs " << TranscribedNumber(u);
        }
    }
}

TEST(RandomSource, IntegerPathFollowsDoubleFormulasNearBoundaries) {
    int oneOffQuotients = 0;
    for (const GeneratorState& start : test::StatesNearBoundaries()) {
        GeneratorState fast = start;
        GeneratorState reference = start;
        for (int step = 0; step < 8; ++step) {
            const double u = TranscribedNextUniform(reference);
            oneOffQuotients += (reference.x < 0 || reference.x >= (std::int64_t{1} << 48)) ? 1 : 0;
            ASSERT_EQ(NextNumber(fast), TranscribedNumber(u)) << start.x << ' ' << start.c;
            ASSERT_EQ(fast, reference) << start.x << ' ' << start.c << " step " << step;
        }
    }
    // The table must reach the cases that the guard exists for.
    EXPECT_GT(oneOffQuotients, 0);
}

// floor(u x 2^32) of each uniform u, as the Double formulas give u: from the seed, after states
// whose X is a multiple of 2^16, and near the boundaries where u may fall just outside [0, 1).
TEST(RandomSource, WordsAreTheUniformsScaledTo32Bits) {
    std::vector<GeneratorState> starts = test::StatesNearBoundaries();
    starts.push_back(kSeedState);
    for (std::int64_t k : {1, 2, 3, 4096, 65535}) {
        starts.push_back({0, k << 16});  // the next X is k x 2^16
    }
    for (const GeneratorState& start : starts) {
        GeneratorState fast = start;
        GeneratorState reference = start;
        for (int step = 0; step < 4; ++step) {
            const double scaled =
                std::floor(test::TranscribedNextUniform(reference) * 4294967296.0);
            ASSERT_EQ(NextWord(fast), std::clamp(scaled, 0.0, 4294967295.0))
                << start.x << ' ' << start.c << " step " << step;
        }
    }
}

}  // namespace
}  // namespace loto
