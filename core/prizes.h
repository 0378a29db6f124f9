#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/draw_rule.h"
#include "platform/amount_text.h"

namespace loto {

// What one ticket of at most K main numbers (and M of the second pool) costs for one draw, and
// what each of its tiers pays, in cents; a tier without a prize pays nothing.
struct PrizeTable {
    Cents price = 0;
    std::vector<Cents> prizes;  // by CombinationRule(rule).TierIndex
};

// The tickets that a system ticket plays at once: K of its main numbers (all p where p <= K) and
// M of its second-pool numbers (all q where q <= M). Prizes are given for their tiers.
[[nodiscard]] DrawRule CombinationRule(const DrawRule& rule) noexcept;

// A ticket's money by the tiers of its own draws, and their exact law for one draw.
struct MoneyLaw {
    Cents price = 0;             // of one combination
    Cents cost = 0;              // C(p, K) C(q, M) times the price
    std::vector<Cents> payouts;  // by rule.TierIndex: the sum of its combinations' prizes
    // In cents, of one draw: the sum over tiers of probability x payout, and its variance.
    double expectedReturn = 0;
    double variance = 0;
    // The rarest tier that pays (its TierIndex, -1 for none), which carries most of the variance
    // where it is a jackpot, and the return and variance of a draw without it.
    int topTier = -1;
    double returnBelowTop = 0;
    double varianceBelowTop = 0;

    // In a Long Double, where a cost of up to 10^18 cents is exact: beside a cost of 10^17
    // cents, a Double's net would lose its cents.
    [[nodiscard]] long double expectedNet() const noexcept {
        return static_cast<long double>(expectedReturn) - static_cast<long double>(cost);
    }
    // The share of the variance that the rarest paying tier adds; none without a variance.
    [[nodiscard]] std::optional<double> topTierVarianceShare() const noexcept;
    // The return in percent of what is spent; none for a ticket that costs nothing.
    [[nodiscard]] std::optional<double> returnRate() const noexcept;
    // What draws that fell into the tiers of `tally` won, exactly.
    [[nodiscard]] Cents Won(std::span<const std::uint64_t> tally) const noexcept;
};

// The expected net of a draw in units of the currency, as a Double for the machine formats.
[[nodiscard]] inline double ExpectedNetUnits(const MoneyLaw& law) noexcept {
    return static_cast<double>(law.expectedNet() / 100);
}

// None where a draw could cost or pay more than kMostCents, too much to count to the cent.
[[nodiscard]] std::optional<MoneyLaw> MakeMoneyLaw(const DrawRule& rule, const PrizeTable& table);

}  // namespace loto
