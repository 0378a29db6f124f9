#pragma once

#include <optional>
#include <vector>

#include "core/play.h"
#include "rules/lottery_rules.h"

namespace loto {

// What a ticket's prizes are worth once shared with the other winners and taxed, exactly, for
// tickets picked at random (quick picks): of the S tickets sold, the user's among them, the other
// winners of a tier of probability p number W, Binomial(S - 1, p), and a ticket that hits a tier
// of fund F is paid F / (1 + W).

// E[1 / (1 + W)] = (1 - (1 - p)^S) / (S p), in logarithms that keep their digits for any p and S
// (its limit for large S is the Poisson form (1 - e^-λ) / λ, λ = S p); 1 for S = 1 or p = 0.
[[nodiscard]] double ExpectedShare(double p, double sold) noexcept;

// E[after(F / (1 + W))]: with tax, summed over W from its mode out to 10^-15 of each tail.
[[nodiscard]] double ExpectedTaxedShare(double fund, double p, double sold,
                                        const std::optional<TaxRules>& tax);

// Each tier of a ticket of K (and M) numbers, by TierIndex: what it pays a draw, shared and
// taxed (a jackpot's at its present value), beside its prize as advertised.
struct SharedTier {
    double probability = 0;
    // Cents, as advertised: the fixed amount, the jackpot, or a pool's fund over the winners
    // expected (its whole where fewer than one is).
    double prize = 0;
    double payout = 0;  // cents: what a ticket that hits it is paid, shared and taxed
};

struct SharedMoney {
    std::vector<SharedTier> tiers;  // by TierIndex
    double jackpot = 0;             // cents, the one that the figures are at
    double sold = 0;
    // A draw's expected return of a ticket, in cents, with sharing and tax.
    double expectedReturn = 0;
};

// The money of a ticket of the rules' game at an advertised jackpot of `jackpot` cents (the
// sales that it draws, the funds that they make).
[[nodiscard]] SharedMoney ShareMoney(const LotteryRules& rules, double jackpot);

// The smallest jackpot at which a ticket's expected net is 0 at the rules' sales, and the
// jackpot at which it is highest; none ("never") where sharing grows faster than the jackpot,
// up to 10^10 times the price. `rising` where the net still grows at that end: no jackpot is
// best.
struct BreakEven {
    std::optional<double> jackpot;  // cents
    double bestJackpot = 0;         // cents
    double bestNet = 0;             // cents a ticket a draw
    bool rising = false;
};
[[nodiscard]] BreakEven FindBreakEven(const LotteryRules& rules);

// What a lottery's rules ask of a play, where its options do not: the price, the draws a week,
// and each tier's prize as advertised at the jackpot (the file's start where none is given).
void AskOfRules(const LotteryRules& rules, const std::optional<Cents>& jackpot, PlayAsked& play);

// A ticket's shared money at a jackpot, its combinations' payouts to the cent; none where it
// cannot be counted to the cent.
[[nodiscard]] std::optional<SharedPlay> ShareTicket(const LotteryRules& rules,
                                                    const DrawRule& ticket, double jackpot,
                                                    const BreakEven& breakEven);

}  // namespace loto
