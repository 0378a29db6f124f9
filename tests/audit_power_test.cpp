// The audit's power and size on small cases: the whole family, Holm-adjusted at 0.01, flags each
// known fault at the draws that loto-audit-bench finds for nine in ten histories (here every one
// of five), not the same draws without it, and fair histories no more often than the level and
// its binomial margin.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

#include "audit/family.h"
#include "tests/support/faulty_histories.h"

namespace loto {
namespace {

using test::Fault;

constexpr double kAlpha = 0.01;

bool FlaggedAt(const PoolHistory& pool, std::uint64_t replicates) {
    History history;
    history.main = pool;
    const AuditSettings settings{
        .replicates = replicates, .alpha = kAlpha, .threads = 0, .ticket = {}};
    return Flagged(AuditHistory(history, settings), kAlpha);
}

TEST(AuditPower, FlagsEachKnownFault) {
    const std::tuple<Fault, std::size_t> cases[] = {
        {Fault::kHeavyNumber, 30000},
        {Fault::kGluedPair, 7000},
        {Fault::kRepeat, 3000},
    };
    for (const auto& [fault, draws] : cases) {
        for (std::uint64_t seed = 1; seed <= 5; ++seed) {
            EXPECT_TRUE(FlaggedAt(FaultyHistory(fault, 6, 49, draws, seed), 19))
                << FaultName(fault) << " seed " << seed;
            EXPECT_FALSE(FlaggedAt(FaultyHistory(Fault::kNone, 6, 49, draws, seed), 19))
                << FaultName(fault) << " seed " << seed;
        }
    }
}

// 400 fair histories of 1,000 draws: at most 4 expected flagged, 3 binomial standard deviations
// above it at most 9.
TEST(AuditSize, FairHistoriesAtMostTheLevelAndItsMargin) {
    constexpr int kHistories = 400;
    int flagged = 0;
    for (int h = 0; h < kHistories; ++h) {
        flagged += FlaggedAt(FaultyHistory(Fault::kNone, 6, 49, 1000, 100 + h), 19) ? 1 : 0;
    }
    EXPECT_LE(flagged, kHistories * kAlpha + 3 * std::sqrt(kHistories * kAlpha * (1 - kAlpha)));
}

}  // namespace
}  // namespace loto
