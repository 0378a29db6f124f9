#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/game_session.h"
#include "core/prizes.h"
#include "core/tiers.h"

namespace loto {

// What a command of a game drew, as every front end shows it beside the exact law: its money,
// the waits of its tiers and the draw at which each first came.

// A year of draws: 365.25 / 7 weeks.
inline constexpr double kWeeksAYear = 365.25 / 7;

// The draws a week that waits can be given in years at: from one draw in a thousand weeks, which
// keeps the years of the rarest tier's wait (some 10^57 draws) finite, to ten thousand.
inline constexpr double kFewestDrawsPerWeek = 0.001;
inline constexpr double kMostDrawsPerWeek = 10000;
[[nodiscard]] constexpr bool DrawsPerWeekAllowed(double perWeek) noexcept {
    return perWeek >= kFewestDrawsPerWeek && perWeek <= kMostDrawsPerWeek;
}

// The exact mean wait of a tier of that probability, in draws (1/p); none for 0.
[[nodiscard]] std::optional<double> MeanWait(double probability) noexcept;
// A wait of `draws` draws in years at the draws a week given; none without them.
[[nodiscard]] std::optional<double> WaitYears(double draws,
                                              std::optional<double> drawsPerWeek) noexcept;

// The draw from 1 at which the command first fell into the tier; 0 for never.
[[nodiscard]] std::uint64_t FirstHit(const GameReport& report, const Tier& tier) noexcept;

// The draws that the expected counts are of: those asked for, or those taken by a command drawn
// until a tier.
[[nodiscard]] double ExpectedDraws(const GameReport& report, bool drawnUntil) noexcept;

// The tiers that pay, their probability together, and the first draw of the command in any.
struct AnyPrize {
    double probability = 0;
    std::uint64_t firstHit = 0;  // from 1; 0 for never
};
[[nodiscard]] AnyPrize FindAnyPrize(const MoneyLaw& law, const std::vector<Tier>& tiers,
                                    const GameReport& report);

// The command's money: its spending and winnings to the cent, and the z-score of the winnings
// against their exact expectation; none where its variance is 0 or nothing was drawn.
struct MoneyFigures {
    Cents spent = 0;
    Cents won = 0;
    std::optional<double> z;
    // The same without the rarest paying tier, whose few hits move z the most: the test of the
    // rest of the ticket's prizes; none where the rest has no variance.
    std::optional<double> zBelowTop;
};
[[nodiscard]] MoneyFigures Figures(const MoneyLaw& law, const GameReport& report);

}  // namespace loto
