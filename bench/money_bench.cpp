// Money and waiting times on the engine, at the scale of a real question: a billion draws of
// 6/49 with the README's prizes against the exact law, and a thousand waits for a tier of
// probability about 1e-4 against the geometric law, and against one twice as likely. Prints
// figures; asserts nothing.
#include <chrono>
#include <cmath>
#include <cstdio>

#include "core/game_session.h"
#include "core/prizes.h"
#include "core/tiers.h"
#include "idle_pump.h"
#include "platform/fixed_run_time.h"
#include "processor.h"
#include "rules/jackpot_rounds.h"
#include "stats/waits_law.h"
#include "tests/support/example_games.h"

namespace {

using loto::Cents;
using loto::DrawRule;

void BillionDraws() {
    const DrawRule rule = loto::test::Ticket(loto::kSixOfFortyNine, {7, 10, 14, 20, 30, 40});
    loto::PrizeTable table{.price = 220, .prizes = std::vector<Cents>(7)};
    table.prizes[3] = 500;
    table.prizes[4] = 5000;
    table.prizes[5] = 150000;
    table.prizes[6] = 200000000;
    const loto::MoneyLaw law = *loto::MakeMoneyLaw(rule, table);
    loto::FixedRunTime runTime(loto::LocalDateTime{}, 0.001);
    loto::GameSession session(runTime, 0);
    loto::test::IdlePump pump;
    const auto start = std::chrono::steady_clock::now();
    const loto::GameReport report = session.Simulate(
        {.requested = 1e9, .rule = rule, .speedTest = false, .firstHits = true, .until = {}}, pump);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    const auto draws = static_cast<double>(report.drawsDone);
    const Cents won = law.Won(report.tally);
    const double z =
        (static_cast<double>(won) - draws * law.expectedReturn) / std::sqrt(draws * law.variance);
    std::printf(
        "6/49, prizes 3=5 4=50 5=1500 6=2000000, price 2.20, %.0f draws in %.1f s "
        "(first draws of each tier watched):\n",
        draws, took.count());
    std::printf("  won %s against %.2f expected (return rate %.4f %%): z = %.3f (goal |z| < 4)\n",
                loto::AmountText(won).c_str(), draws * law.expectedReturn / 100, *law.returnRate(),
                z);
}

void ThousandWaits() {
    // 3 + 2 of EuroMillions: C(5,3) C(45,2) / C(50,5) x 1 / C(12,2), about 7.1e-5.
    const DrawRule rule =
        loto::test::Ticket({.main = {5, 50}, .second = {2, 12}}, {3, 14, 25, 36, 47}, {2, 9});
    const int tier = rule.TierIndex(3, 0, 2);
    double p = 0;
    for (const loto::Tier& t : loto::Tiers(rule)) {
        p = t.index == tier ? t.probability : p;
    }
    loto::FixedRunTime runTime(loto::LocalDateTime{}, 0.001);
    loto::GameSession session(runTime, 0);
    loto::test::IdlePump pump;
    loto::WaitsSample sample{.probability = p, .bound = 1'000'000, .waits = {}, .censored = 0};
    for (int i = 0; i < 1000; ++i) {
        const loto::GameReport report = session.Simulate({.requested = 1e6,
                                                          .rule = rule,
                                                          .speedTest = false,
                                                          .firstHits = false,
                                                          .until = {tier}},
                                                         pump);
        report.untilHit ? sample.waits.push_back(*report.untilHit) : (void)++sample.censored;
    }
    const loto::WaitsTest fair = loto::TestWaits(sample);
    loto::WaitsSample twice = sample;
    twice.probability = 2 * p;
    const loto::WaitsTest wrong = loto::TestWaits(twice);
    std::printf("1000 waits for 3+2 of 5/50+2/12 (p = %.4g), mean %.0f (law %.0f):\n", p,
                *fair.mean, fair.lawMean);
    std::printf("  against the law: p-value %.4f (goal: not under 0.01)\n",
                fair.chiSquare->chiSquare->pValue);
    std::printf("  against a law twice as likely: p-value %.3g (goal: under 0.01)\n",
                wrong.chiSquare->chiSquare->pValue);
}

}  // namespace

// The lottery as a process (--rules --rounds) beside the same game's draws without rules, on
// the engine, side by side: draws a second of each, and their ratio.
void Rounds() {
    const loto::LotteryRules rules =
        *loto::ReadRulesFile(LOTO_SOURCE_DIR "/examples/rules/euromillions.json").rules;
    const DrawRule ticket = rules.Ticket();
    loto::test::IdlePump pump;
    constexpr std::uint64_t kRounds = 200'000'000;
    loto::GeneratorState state = loto::kSeedState;
    loto::ParallelDrawEngine engine;
    auto start = std::chrono::steady_clock::now();
    const loto::Rounds played = loto::PlayRounds(
        rules, ticket, {.rounds = kRounds, .jackpot = 1.7e9, .seed = 0}, state, engine, pump);
    const std::chrono::duration<double> rounds = std::chrono::steady_clock::now() - start;
    loto::FixedRunTime runTime(loto::LocalDateTime{}, 0.001);
    loto::GameSession session(runTime, 0);
    start = std::chrono::steady_clock::now();
    const loto::GameReport report = session.Simulate(
        {.requested = 2e8, .rule = ticket, .speedTest = false, .firstHits = false, .until = {}},
        pump);
    const std::chrono::duration<double> draws = std::chrono::steady_clock::now() - start;
    const double roundsRate = static_cast<double>(played.draws) / rounds.count();
    const double drawsRate = static_cast<double>(report.drawsDone) / draws.count();
    std::printf(
        "--rounds of 5/50+2/12 (EuroMillions' rules): %.0f draws/s; the game without rules: "
        "%.0f draws/s; both on every thread; ratio %.3f (goal 0.5)\n",
        roundsRate, drawsRate, roundsRate / drawsRate);
}

int main() {
    std::printf("%s\n", loto::test::Processor().c_str());
    BillionDraws();
    ThousandWaits();
    Rounds();
    return 0;
}
