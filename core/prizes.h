#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/lottery.h"
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

    [[nodiscard]] double expectedNet() const noexcept {
        return expectedReturn - static_cast<double>(cost);
    }
    // The return in percent of what is spent; none for a ticket that costs nothing.
    [[nodiscard]] std::optional<double> returnRate() const noexcept;
    // What draws that fell into the tiers of `tally` won, exactly.
    [[nodiscard]] Cents Won(std::span<const std::uint64_t> tally) const noexcept;
};

// None where a draw could cost or pay more than kMostCents, too much to count to the cent.
[[nodiscard]] std::optional<MoneyLaw> MakeMoneyLaw(const DrawRule& rule, const PrizeTable& table);

}  // namespace loto
