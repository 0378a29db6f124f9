#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/draw_rule.h"
#include "core/random_source.h"
#include "platform/event_pump.h"
#include "rules/lottery_rules.h"

namespace loto {

// The lottery as a process, draw after draw: the user's ticket drawn as every command draws it,
// the other winners of a tier from their Binomial law (one value a tier, not millions of tickets);
// a tier's fund split among its winners; the jackpot growing by its share of the sales while
// nobody wins it, held at its cap with the excess going to the roll-down tier's next draw, rolled
// down whole after its draws at the cap, and starting again when won or rolled down.
struct Rounds {
    std::uint64_t draws = 0;
    std::uint64_t jackpotWins = 0;
    std::uint64_t rolledDown = 0;
    std::vector<double> wonAt;  // cents, the jackpot each time it was won
    // The user's, in cents: spent, won after sharing and tax (a jackpot at its present value).
    double spent = 0;
    double won = 0;
    // Draws from a jackpot's start to its win or roll-down, and their exact mean.
    std::vector<std::uint64_t> cycles;
    double lawMeanCycle = 0;
    // For a chart: the jackpot at a few thousand draws, and the draws that the user won at.
    std::vector<std::pair<std::uint64_t, double>> path;
    // The user's largest wins, a thousand at most, in draw order: the draw and what it won.
    std::vector<std::pair<std::uint64_t, double>> userWins;
    bool stopped = false;
};

// `rounds` draws of the rules' lottery against `ticket` (one combination: K numbers, and M),
// the generator from `state`, the other winners from a generator of their own seeded by `seed`,
// the pump visited every 2^16 draws. The jackpot from `jackpot` cents.
[[nodiscard]] Rounds PlayRounds(const LotteryRules& rules, const DrawRule& ticket,
                                std::uint64_t rounds, double jackpot, GeneratorState& state,
                                std::uint64_t seed, EventPump& pump);

// What the rounds show: the jackpot's sizes when won (cents, nearest rank), and the mean of the
// draws from a jackpot's start to its end; none without a win or an end.
struct RoundsFigures {
    std::optional<double> median{}, p1{}, p99{};
    std::optional<double> meanCycle{};
};
[[nodiscard]] RoundsFigures FigureRounds(const Rounds& rounds);

// The exact mean of the draws from a jackpot's start to its win or its roll-down, where each
// draw's S tickets each win it with p.
[[nodiscard]] double MeanJackpotCycle(const LotteryRules& rules, double jackpot);

}  // namespace loto
