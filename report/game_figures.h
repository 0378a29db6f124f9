#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/game_session.h"
#include "core/play.h"
#include "core/tiers.h"
#include "stats/significance.h"

namespace loto {

// One command of a game as every front end shows it, computed once from what it drew and what it
// was asked: each tier's count, expected count and deviation where they are numbers; with the
// statistics, z, p and the chi-square; with the play, each tier's mean wait and first hit, the
// money against the exact law of its prizes, the wait for any prize and the tier drawn until.
// Front ends only format these figures.

// The exact mean wait of a tier of that probability, in draws (1/p); none for 0.
[[nodiscard]] std::optional<double> MeanWait(double probability) noexcept;

struct TierFigures {
    Tier tier;
    std::uint64_t count = 0;
    // For the draws asked for (or taken, drawn until a tier), once the command completed.
    std::optional<double> expected{};
    std::optional<double> deviation{};  // in percent
    std::optional<double> meanWait{};   // in draws, with the play's waits
    std::optional<double> meanWaitYears{};
    std::uint64_t firstHit =
        0;  // the draw from 1 at which the command first fell into it; 0: never
};

// The command's money: its spending and winnings to the cent, and the z-score of the winnings
// against their exact expectation, none where its variance is 0 or nothing was drawn; the same
// without the rarest paying tier, whose few hits move it the most.
struct MoneyFigures {
    Cents spent = 0;
    Cents won = 0;
    std::optional<double> z{};
    std::optional<double> zBelowTop{};
    std::optional<std::string> topTier{};  // the rarest paying tier's name
};

// The tiers that pay, their probability together, their mean wait and the first draw in any.
struct AnyPrize {
    double probability = 0;
    std::optional<double> meanWait{};
    std::optional<double> meanWaitYears{};
    std::uint64_t firstHit = 0;  // from 1; 0 for never
};

struct GameFigures {
    DrawRule rule;
    GameReport report;
    Play play;
    bool unreadable = false;  // its number of draws beyond the range of numbers: nothing drawn
    bool statsAsked = false;
    std::vector<TierFigures> tiers{};     // every possible one, and any other that a draw fell into
    std::optional<Significance> stats{};  // over the tiers in their order, whenever it drew
    std::optional<MoneyFigures> money{};
    std::optional<AnyPrize> anyPrize{};

    [[nodiscard]] bool Completed() const noexcept { return !unreadable && !report.stopped; }
};

[[nodiscard]] GameFigures FigureGame(const DrawRule& rule, GameReport report, Play play,
                                     bool statsAsked, bool unreadable = false);

// The counts, probabilities and names of the tiers, in their order.
[[nodiscard]] std::vector<std::uint64_t> Counts(const GameFigures& figures);
[[nodiscard]] std::vector<double> Probabilities(const GameFigures& figures);
[[nodiscard]] std::vector<std::string> TierNames(const GameFigures& figures);

}  // namespace loto
