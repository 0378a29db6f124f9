// The audit beyond one pool's battery: the calibrations' fair histories, the generator's history,
// two streams side by side, a ticket's tiers and the family adjusted together, each against plain
// loops, exact fractions and the program's transcribed draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <boost/math/distributions/chi_squared.hpp>
#include <cmath>
#include <map>
#include <numeric>
#include <set>

#include "audit/fair_histories.h"
#include "audit/family.h"
#include "audit/generator_history.h"
#include "audit/stream_pair.h"
#include "audit/ticket.h"
#include "core/generator_jump.h"
#include "tests/support/example_games.h"
#include "tests/transcription.h"

namespace loto {
namespace {

double ChiSquareTail(int freedom, double x) {
    return cdf(complement(boost::math::chi_squared(freedom), x));
}

// C(n, k) as an integer, for exact fractions.
std::uint64_t Choose(int n, int k) {
    std::uint64_t c = 1;
    for (int i = 1; i <= k; ++i) {
        c = c * static_cast<std::uint64_t>(n - k + i) / static_cast<std::uint64_t>(i);
    }
    return k < 0 || k > n ? 0 : c;
}

// P(|T| >= t) for Student's t of an even number of degrees of freedom d, by the finite series of
// Abramowitz and Stegun 26.7.3: 1 - sin a (1 + cos² a / 2 + 1·3 cos⁴ a / (2·4) + ... up to
// cos^(d - 2) a), a = atan(t / sqrt(d)).
double StudentTwoSided(double t, int freedom) {
    const double cosine2 = freedom / (freedom + t * t);
    double term = 1;
    double sum = 1;
    for (int j = 1; j < freedom / 2; ++j) {
        term *= cosine2 * (2 * j - 1) / (2 * j);
        sum += term;
    }
    return 1 - std::abs(t) / std::sqrt(freedom + t * t) * sum;
}

// 2 of 1..4: each of the 6 pairs, and each of the 36 pairs of consecutive draws, as often as the
// others; each draw's numbers distinct; the same seed the same history, another seed another.
TEST(FairHistories, UniformAndIndependentDraws) {
    PoolHistory history{{2, 4}, std::vector<std::uint8_t>(2 * 72000)};
    FillFairHistory(5, history);
    std::map<std::pair<int, int>, int> pairs;
    std::map<std::pair<int, int>, int> consecutive;
    int previous = -1;
    for (std::size_t t = 0; t < history.draws(); ++t) {
        const int a = std::min(history.Draw(t)[0], history.Draw(t)[1]);
        const int b = std::max(history.Draw(t)[0], history.Draw(t)[1]);
        ASSERT_TRUE(a >= 1 && a < b && b <= 4) << a << " " << b;
        const int pair = a * 4 + b;
        ++pairs[{a, b}];
        if (previous >= 0) {
            ++consecutive[{previous, pair}];
        }
        previous = pair;
    }
    const auto chiSquare = [](const auto& counts, double expected) {
        double sum = 0;
        for (const auto& [key, count] : counts) {
            sum += (count - expected) * (count - expected) / expected;
        }
        return sum;
    };
    ASSERT_EQ(pairs.size(), 6u);
    ASSERT_EQ(consecutive.size(), 36u);
    EXPECT_GT(ChiSquareTail(5, chiSquare(pairs, 12000)), 1e-3);
    EXPECT_GT(ChiSquareTail(35, chiSquare(consecutive, 71999 / 36.0)), 1e-3);
    PoolHistory again = history;
    FairHistories(0)(9, again);
    PoolHistory other = history;
    FairHistories(0)(9, other);
    EXPECT_EQ(again.numbers, other.numbers);
    FairHistories(1)(9, other);
    EXPECT_NE(again.numbers, other.numbers);
}

// The generator's history is the transcription's draws, pool by pool; a draw next to an edge that
// holds a 0 or a top + 1 is set aside with its place and numbers.
TEST(GeneratorHistory, TheTranscribedDraws) {
    for (const DrawRule& rule : test::ExampleRules()) {
        const Game& game = rule.game;
        const History history = GeneratorHistory(game, kSeedState, 500);
        GeneratorState state = kSeedState;
        std::vector<int> main, bonus, second;
        for (int d = 0; d < 500; ++d) {
            const test::GameDraw draw = test::DrawGame(state, game);
            main.insert(main.end(), draw.main.begin(), draw.main.end());
            bonus.insert(bonus.end(), game.bonus ? 1 : 0, draw.bonus);
            second.insert(second.end(), draw.second.begin(), draw.second.end());
        }
        EXPECT_EQ(std::vector<int>(history.main.numbers.begin(), history.main.numbers.end()), main);
        EXPECT_EQ(std::vector<int>(history.bonus.begin(), history.bonus.end()), bonus);
        EXPECT_EQ(std::vector<int>(history.second.numbers.begin(), history.second.numbers.end()),
                  second);
        EXPECT_EQ(std::tie(history.main.drawn, history.main.top, history.second.drawn,
                           history.second.top),
                  std::tie(game.main.drawn, game.main.top, game.second.drawn, game.second.top));
        EXPECT_TRUE(history.setAside.empty());
    }
    const Game game{.main = {6, 49}, .bonus = true};
    for (const GeneratorState& start : test::StatesNearBoundaries(49)) {
        GeneratorState state = start;
        const test::GameDraw first = test::DrawGame(state, game);
        std::vector<int> numbers = first.main;
        numbers.push_back(first.bonus);
        const auto off =
            std::find_if(numbers.begin(), numbers.end(), [](int n) { return n == 0 || n == 50; });
        if (off == numbers.end()) {
            continue;
        }
        const History history = GeneratorHistory(game, start, 3);
        ASSERT_EQ(history.setAside.size(), 1u);
        const BadLine& bad = history.setAside[0];
        EXPECT_EQ(bad.line, 1u);
        EXPECT_EQ(bad.reason,
                  std::to_string(*off) + " is off its pool, next to an edge of the generator");
        EXPECT_EQ(bad.fields.size(), 7u);
        EXPECT_EQ(history.main.draws(), 2u);
        EXPECT_EQ(history.bonus.size(), 2u);
        return;
    }
    FAIL() << "no start next to an edge draws off its pool";
}

// Shared numbers of draw t of each stream by sets, against C(6, j) C(43, 6 - j) / C(49, 6); the
// correlation of the sums by the two-pass formula, its p-value by Student's t series. A stream
// beside itself is in step: every number shared, sums correlated 1.
TEST(StreamPair, OverlapAndCorrelationByPlainLoops) {
    const History one = GeneratorHistory(kSixOfFortyNine, *StreamStart(3), 3000);
    const History two = GeneratorHistory(kSixOfFortyNine, *StreamStart(4), 3000);
    std::vector<std::uint64_t> shared(7);
    std::vector<double> a, b;
    for (std::size_t t = 0; t < 3000; ++t) {
        const auto x = one.main.Draw(t);
        const auto y = two.main.Draw(t);
        const std::set<int> left(x.begin(), x.end());
        ++shared[static_cast<std::size_t>(
            std::count_if(y.begin(), y.end(), [&](int n) { return left.count(n) != 0; }))];
        a.push_back(std::accumulate(x.begin(), x.end(), 0.0));
        b.push_back(std::accumulate(y.begin(), y.end(), 0.0));
    }
    // Expected 1243.7, 1272.6, 420.9, 58.8, 3.0, 0.03, 0.0002: the top three classes pooled.
    double overlap = 0;
    std::uint64_t top = 0;
    double topExpected = 0;
    for (int j = 0; j <= 6; ++j) {
        const double e = 3000.0 * static_cast<double>(Choose(6, j) * Choose(43, 6 - j)) /
                         static_cast<double>(Choose(49, 6));
        const auto o = static_cast<double>(shared[static_cast<std::size_t>(j)]);
        if (j < 3) {
            overlap += (o - e) * (o - e) / e;
        } else {
            top += shared[static_cast<std::size_t>(j)];
            topExpected += e;
        }
    }
    overlap += (static_cast<double>(top) - topExpected) * (static_cast<double>(top) - topExpected) /
               topExpected;
    const double meanA = std::accumulate(a.begin(), a.end(), 0.0) / 3000;
    const double meanB = std::accumulate(b.begin(), b.end(), 0.0) / 3000;
    double ab = 0, aa = 0, bb = 0;
    for (std::size_t t = 0; t < 3000; ++t) {
        ab += (a[t] - meanA) * (b[t] - meanB);
        aa += (a[t] - meanA) * (a[t] - meanA);
        bb += (b[t] - meanB) * (b[t] - meanB);
    }
    const double r = ab / std::sqrt(aa * bb);
    const std::vector<TestResult> tests = StreamPairTests(one.main, two.main);
    ASSERT_EQ(tests.size(), 2u);
    EXPECT_EQ(tests[0].name, "stream overlap");
    EXPECT_NEAR(tests[0].statistic, overlap, 1e-9 * overlap);
    EXPECT_EQ(tests[0].freedom, 3);
    EXPECT_NEAR(tests[0].pValue, ChiSquareTail(3, overlap), 1e-12);
    EXPECT_EQ(tests[1].name, "stream correlation");
    EXPECT_NEAR(tests[1].statistic, r, 1e-12);
    EXPECT_EQ(tests[1].freedom, 2998);
    const double p = StudentTwoSided(r * std::sqrt(2998 / (1 - r * r)), 2998);
    EXPECT_NEAR(tests[1].pValue, p, 1e-9 * p);
    for (const TestResult& inStep : StreamPairTests(one.main, one.main)) {
        EXPECT_LT(inStep.pValue, 1e-300) << inStep.name;
    }
    // A stream whose sums never change has no correlation to test; its overlap is still tested.
    PoolHistory same{{.drawn = 6, .top = 49}, {}};
    for (std::size_t t = 0; t < 3000; ++t) {
        same.numbers.insert(same.numbers.end(), {1, 2, 3, 4, 5, 6});
    }
    const std::vector<TestResult> still = StreamPairTests(same, two.main);
    ASSERT_EQ(still.size(), 1u);
    EXPECT_EQ(still[0].name, "stream overlap");
}

// 2/5 + bonus + 1/3 against the ticket {1, 2} + {1}: no tier is expected under 5 times in 3000
// draws, so no pooling; the tiers' probabilities as exact fractions, C(2, m) C(3, 2 - m) / 10 for
// the main pool, (2 - m)/3 for the bonus, 1/3 for the second pool.
TEST(AuditTicket, TalliedAgainstExactTiers) {
    const Game game{.main = {2, 5}, .bonus = true, .second = {1, 3}};
    const DrawRule rule = test::Ticket(game, {1, 2}, {1});
    const History history = GeneratorHistory(game, kSeedState, 3000);
    std::map<std::tuple<int, int, int>, int> tiers;
    for (std::size_t t = 0; t < 3000; ++t) {
        const auto main = history.main.Draw(t);
        const int m =
            static_cast<int>(std::count_if(main.begin(), main.end(), [](int n) { return n <= 2; }));
        ++tiers[{m, history.bonus[t] <= 2 ? 1 : 0, history.second.Draw(t)[0] == 1 ? 1 : 0}];
    }
    double statistic = 0;
    int classes = 0;
    for (int m = 0; m <= 2; ++m) {
        for (int b = 0; b <= 1; ++b) {
            for (int s = 0; s <= 1; ++s) {
                const double main = static_cast<double>(Choose(2, m) * Choose(3, 2 - m)) / 10;
                const double bonus = b == 1 ? (2 - m) / 3.0 : (1 + m) / 3.0;
                const double e = 3000 * main * bonus * (s == 1 ? 1 / 3.0 : 2 / 3.0);
                if (e > 0) {
                    const double o = tiers[{m, b, s}];
                    statistic += (o - e) * (o - e) / e;
                    ++classes;
                }
            }
        }
    }
    ASSERT_EQ(classes, 10);
    std::vector<std::uint64_t> expectedTally(static_cast<std::size_t>(rule.tiers()));
    for (const auto& [tier, count] : tiers) {
        const auto [m, b, s] = tier;
        expectedTally[static_cast<std::size_t>(rule.TierIndex(m, b, s))] =
            static_cast<std::uint64_t>(count);
    }
    EXPECT_EQ(TicketTally(history, rule), expectedTally);
    const std::optional<TestResult> ticket = TicketTest(history, rule);
    ASSERT_TRUE(ticket.has_value());
    EXPECT_EQ(ticket->name, "ticket");
    EXPECT_NEAR(ticket->statistic, statistic, 1e-9 * statistic);
    EXPECT_EQ(ticket->freedom, 9);
    EXPECT_NEAR(ticket->pValue, ChiSquareTail(9, statistic), 1e-12);
    EXPECT_FALSE(TicketTest(GeneratorHistory(game, kSeedState, 0), rule).has_value());
}

// The family: the main pool's battery, the second pool's, then the ticket; Holm over all of them
// (the smallest of m p-values times m), flagged when one adjusted value is under alpha.
TEST(AuditFamily, EveryPoolThenTheTicketAdjustedTogether) {
    const Game game{.main = {5, 50}, .second = {2, 12}};
    const History history = GeneratorHistory(game, kSeedState, 2000);
    const AuditSettings settings{
        .replicates = 19, .threads = 2, .ticket = test::Ticket(game, {1, 2, 3, 4, 5}, {1, 2})};
    std::vector<AuditEntry> family = AuditHistory(history, settings);
    std::vector<std::string> names;
    for (const AuditEntry& entry : family) {
        names.push_back(std::string(PoolName(entry.pool)) + " " + entry.test.name);
    }
    const std::vector<std::string> battery{
        "numbers", "numbers extreme", "pairs", "pairs extreme", "overlap", "gaps", "sums", "odd",
        "runs"};
    std::vector<std::string> expected;
    for (const char* pool : {"main ", "second "}) {
        for (const std::string& name : battery) {
            expected.push_back(pool + name);
        }
    }
    expected.push_back("main ticket");
    EXPECT_EQ(names, expected);
    const auto smallest = std::min_element(
        family.begin(), family.end(),
        [](const auto& a, const auto& b) { return a.test.pValue < b.test.pValue; });
    EXPECT_DOUBLE_EQ(smallest->holm, std::min(1.0, 19 * smallest->test.pValue));
    for (const AuditEntry& entry : family) {
        EXPECT_GE(entry.holm, entry.test.pValue);
        EXPECT_EQ(entry.test.calibrated.has_value(), entry.test.name == "gaps");
    }
    // A pump that says stop stops the first calibration, and the family says so.
    class Stop final : public EventPump {
        bool ProcessEvents(const DrawProgress&) override { return false; }
    } stop;
    AuditSettings stopped = settings;
    stopped.pump = &stop;
    const std::vector<AuditEntry> cut = AuditHistory(history, stopped);
    EXPECT_TRUE(Stopped(cut));
    EXPECT_FALSE(Stopped(family));
    EXPECT_FALSE(cut[14].test.calibrated.has_value());  // the second pool's: never begun
    // The two pools' gaps are calibrated on histories of their own shapes: p in steps of 1/20.
    EXPECT_EQ(std::fmod(family[5].test.pValue * 20, 1.0), 0);
    EXPECT_EQ(std::fmod(family[14].test.pValue * 20, 1.0), 0);
    const std::tuple<std::vector<double>, double, bool> levels[] = {
        {{0.5, 0.009, 0.2}, 0.01, true},
        {{0.5, 0.01, 0.2}, 0.01, false},
        {{0.5, 0.04}, 0.05, true},
        {{}, 0.01, false},
    };
    for (const auto& [holm, alpha, flagged] : levels) {
        std::vector<AuditEntry> entries;
        for (const double p : holm) {
            entries.push_back({TestResult{"numbers", 0, {}, p}, AuditPool::Main, p});
        }
        EXPECT_EQ(Flagged(entries, alpha), flagged) << alpha;
    }
}

}  // namespace
}  // namespace loto
