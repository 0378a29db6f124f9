#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/draw_rule.h"
#include "core/prize_input.h"
#include "core/prizes.h"
#include "core/refusal.h"

namespace loto {

// What a command of a game is asked to show beside its tally: each tier's mean wait and first
// hit, what its ticket costs and wins against the exact law of its prizes, waits in years too,
// and the tier it is drawn until.

// A year of draws: 365.25 / 7 weeks.
inline constexpr double kWeeksAYear = 365.25 / 7;

// The draws a week that waits can be given in years at: from one draw in a thousand weeks, which
// keeps the years of the rarest tier's wait (some 10^57 draws) finite, to ten thousand.
inline constexpr double kFewestDrawsPerWeek = 0.001;
inline constexpr double kMostDrawsPerWeek = 10000;
[[nodiscard]] constexpr bool DrawsPerWeekAllowed(double perWeek) noexcept {
    return perWeek >= kFewestDrawsPerWeek && perWeek <= kMostDrawsPerWeek;
}

// A ticket's money once its prizes are shared with the other winners and taxed, as a lottery's
// rules say: its law (each tier's payout what a ticket that hits it is paid, in expectation),
// and the jackpot at which a ticket breaks even, none for never, beside the one at which its
// net is highest.
struct SharedPlay {
    MoneyLaw law;
    std::optional<double> breakEven{};    // cents
    std::optional<double> bestJackpot{};  // cents; none where the net rises with the jackpot
};

struct Play {
    bool waits = false;  // mean waits and first hits
    std::optional<MoneyLaw> money{};
    std::optional<SharedPlay> shared{};
    std::optional<double> drawsPerWeek{};
    std::optional<std::string> until{};  // the tier as asked for, or the front end's word for any
    std::vector<int> untilTiers{};       // TierIndex

    // A wait of `draws` draws in years; none without draws a week.
    [[nodiscard]] std::optional<double> Years(double draws) const noexcept {
        return drawsPerWeek ? std::optional(draws / (*drawsPerWeek * kWeeksAYear)) : std::nullopt;
    }
};

// A play as a front end has read it from its own texts (loto-sim's options, the page's boxes).
struct PlayAsked {
    bool waits = false;
    std::optional<Cents> price{};  // none, with no prize either: no money
    std::vector<PrizeArgument> prizes{};
    std::optional<double> drawsPerWeek{};
    std::optional<std::string> until{};
    bool untilAnyPrize = false;  // `until` is the front end's word for any tier that pays
};

struct ReadPlay {
    std::optional<Play> play;
    std::optional<Refusal> refusal;
};

// The play of a ticket, or why it cannot be played: a prize of a tier that is none of its
// combinations', a tier given twice, money too large to count to the cent, a tier to draw until
// that is none of the ticket's, or that pays nothing.
[[nodiscard]] ReadPlay MakePlay(const DrawRule& rule, const PlayAsked& asked);

}  // namespace loto
