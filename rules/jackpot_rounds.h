#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/draw_rule.h"
#include "core/parallel_engine.h"
#include "core/random_source.h"
#include "platform/event_pump.h"
#include "rules/lottery_rules.h"

namespace loto {

// The lottery as a process, draw after draw: the user's ticket drawn as every command draws it,
// the other winners of a tier from their Binomial law (one value a tier, not millions of tickets);
// a tier's fund split among its winners; the jackpot growing by its share of the sales while
// nobody wins it, held at its cap with the excess going to the roll-down tier's next draw, rolled
// down whole after its draws at the cap, and starting again when won or rolled down.
//
// A jackpot's cycle from its start is the same sequence of sizes and sales every time, so the
// draw at which another ticket first wins it is drawn once a cycle, by inversion: one uniform v
// at the cycle's first draw, and the others win at the first draw whose chance that none of them
// has won yet, from the cycle's start, is at most v. The user's draws come from the engine, which
// tells only those in a paying tier (a few in a hundred) one by one.
struct Rounds {
    std::uint64_t draws = 0;
    std::uint64_t jackpotWins = 0;
    std::uint64_t rolledDown = 0;
    // How the jackpot's cycles ended: each cycle's draws have the same jackpots, so those that end
    // at the same draw of their cycle are counted together, the first kEndsByDraw by their draw;
    // a longer cycle's end (where few tickets are sold) is kept alone after them.
    struct Ends {
        std::uint64_t length = 0;  // the cycle's draws, its last included
        double jackpot = 0;        // cents, at its last draw
        std::uint64_t won = 0;
        std::uint64_t rolledDown = 0;
    };
    static constexpr std::size_t kEndsByDraw = 1 << 14;
    std::vector<Ends> ends;
    // The user's, in cents: spent, won after sharing and tax (a jackpot at its present value).
    double spent = 0;
    double won = 0;
    // The exact mean of a cycle's draws.
    double lawMeanCycle = 0;
    // For a chart: the jackpot at a few thousand draws, and the draws that the user won at.
    std::vector<std::pair<std::uint64_t, double>> path;
    // The user's largest wins, a thousand at most, in draw order: the draw and what it won.
    std::vector<std::pair<std::uint64_t, double>> userWins;
    bool stopped = false;
};

struct RoundsRequest {
    std::uint64_t rounds = 0;
    double jackpot = 0;      // cents, at the first draw
    std::uint64_t seed = 0;  // of the other winners' generator
};

// The request's draws of the rules' lottery against `ticket` (one combination: K numbers, and
// M), the generator from `state` on the engine, the other winners from a generator of their own,
// the pump visited between slices of draws.
[[nodiscard]] Rounds PlayRounds(const LotteryRules& rules, const DrawRule& ticket,
                                const RoundsRequest& request, GeneratorState& state,
                                ParallelDrawEngine& engine, EventPump& pump);

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
