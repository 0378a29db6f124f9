// The audit's power and size on small cases: the whole family, Holm-adjusted at 0.01, flags each
// known fault at the draws that loto-audit-bench finds for nine in ten histories (here every one
// of five), not the same draws without it, and fair histories no more often than the level and
// its binomial margin.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <tuple>

#include "audit/family.h"
#include "audit/faulty_histories.h"
#include "audit/power.h"

namespace loto {
namespace {

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

// The power lines against histories that the test draws and spoils itself, audited whole: at the
// bias said to be flagged nine times in ten, nine in ten (less three binomial deviations) of the
// test's are, and at half that bias fewer; a repeat in a tenth of the draws, as often as said.
TEST(AuditPower, WhatTheAuditCouldHaveSeen) {
    constexpr std::size_t kDraws = 2000;
    constexpr int kHistories = 100;
    const std::vector<FaultPower> power =
        AuditPower({.drawn = 6, .top = 49, .draws = kDraws, .tests = 9, .alpha = kAlpha});
    ASSERT_EQ(power.size(), 3u);
    // Fair draws of 6/49, then in a share `share` of the draws that lack `number`, one of their
    // numbers replaced by it: the draw before's where `repeat`, else 1.
    const auto share = [&](double bias, bool repeat) {
        std::mt19937_64 engine(2024);
        int flagged = 0;
        for (int h = 0; h < kHistories; ++h) {
            PoolHistory pool{{6, 49}, {}};
            for (std::size_t t = 0; t < kDraws; ++t) {
                std::vector<int> deck(49);
                std::iota(deck.begin(), deck.end(), 1);
                std::shuffle(deck.begin(), deck.end(), engine);
                const int number = repeat && t > 0 ? pool.Draw(t - 1)[engine() % 6] : 1;
                const double chance = repeat ? bias : bias * 6 / 43;
                if (std::find(deck.begin(), deck.begin() + 6, number) == deck.begin() + 6 &&
                    std::uniform_real_distribution<>(0, 1)(engine) < chance &&
                    (repeat ? t > 0 : true)) {
                    deck[engine() % 6] = number;
                }
                pool.numbers.insert(pool.numbers.end(), deck.begin(), deck.begin() + 6);
            }
            flagged += FlaggedAt(pool, 0) ? 1 : 0;
        }
        return static_cast<double>(flagged) / kHistories;
    };
    const FaultPower& number = power[0];
    ASSERT_EQ(number.fault, Fault::kHeavyNumber);
    ASSERT_TRUE(number.bias90.has_value());
    EXPECT_GE(share(*number.bias90, false), 0.9 - 3 * std::sqrt(0.9 * 0.1 / kHistories));
    EXPECT_LT(share(*number.bias90 / 2, false), 0.9);
    const FaultPower& repeat = power[2];
    ASSERT_EQ(repeat.fault, Fault::kRepeat);
    EXPECT_NEAR(share(0.1, true), repeat.flagged, 0.2);
}

}  // namespace
}  // namespace loto
