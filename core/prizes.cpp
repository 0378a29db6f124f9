#include "core/prizes.h"

#include <algorithm>

#include "core/combinations.h"
#include "core/tiers.h"

namespace loto {
namespace {

// sum += a x b, false once beyond kMostCents.
bool AddProduct(Cents& sum, Cents a, Cents b) noexcept {
    Cents product = 0;
    if (__builtin_mul_overflow(a, b, &product) || product > kMostCents - sum) {
        return false;
    }
    sum += product;
    return true;
}

// The tickets among a system ticket's combinations of one pool: how many match j numbers of a
// draw that the whole ticket matched m of, `picked` numbers played K at a time.
struct Ways {
    int matched = 0;
    Cents count = 0;
};

std::vector<Ways> PoolWays(int picked, int taken, int matched) {
    if (picked <= taken) {
        return {{matched, 1}};  // the ticket is its only combination
    }
    std::vector<Ways> ways;
    for (int j = 0; j <= std::min(matched, taken); ++j) {
        ways.push_back({j, Choose(matched, j) * Choose(picked - matched, taken - j)});
    }
    return ways;
}

// The main pool's combinations with the bonus: where the draw's bonus is one of the ticket's
// numbers, a combination matches it when it holds it, one of the p - m left unmatched.
struct BonusWays {
    int matched = 0;
    int bonus = 0;
    Cents count = 0;
};

std::vector<BonusWays> MainWays(const DrawRule& rule, int m, int b) {
    const int picked = rule.main.Count();
    const int taken = rule.game.main.drawn;
    std::vector<BonusWays> ways;
    if (picked <= taken || b == 0) {
        for (const Ways& way : PoolWays(picked, taken, m)) {
            ways.push_back({way.matched, b, way.count});
        }
        return ways;
    }
    for (int j = 0; j <= std::min(m, taken); ++j) {
        const Cents choices = Choose(m, j);
        ways.push_back({j, 0, choices * Choose(picked - m - 1, taken - j)});
        ways.push_back({j, 1, choices * Choose(picked - m - 1, taken - j - 1)});
    }
    return ways;
}

// What a draw in the ticket's tier (m, b, s) pays: each combination its own tier's prize.
std::optional<Cents> Payout(const DrawRule& rule, const DrawRule& combination,
                            const PrizeTable& table, int m, int b, int s) {
    Cents payout = 0;
    const std::vector<Ways> second = rule.game.hasSecond()
                                         ? PoolWays(rule.second.Count(), rule.game.second.drawn, s)
                                         : std::vector<Ways>{{0, 1}};
    for (const BonusWays& main : MainWays(rule, m, b)) {
        for (const Ways& other : second) {
            const auto tier = static_cast<std::size_t>(
                combination.TierIndex(main.matched, main.bonus, other.matched));
            if (tier >= table.prizes.size() || table.prizes[tier] == 0) {
                continue;  // a tier that pays nothing bounds nothing, however many ways lead to it
            }
            Cents ways = 0;
            if (__builtin_mul_overflow(main.count, other.count, &ways) ||
                !AddProduct(payout, ways, table.prizes[tier])) {
                return std::nullopt;
            }
        }
    }
    return payout;
}

}  // namespace

DrawRule CombinationRule(const DrawRule& rule) noexcept {
    DrawRule combination{.game = rule.game, .main = {}, .second = {}};
    for (int n = 1; n <= std::min(rule.main.Count(), rule.game.main.drawn); ++n) {
        combination.main.Add(n);
    }
    for (int n = 1; n <= std::min(rule.second.Count(), rule.game.second.drawn); ++n) {
        combination.second.Add(n);
    }
    return combination;
}

std::optional<double> MoneyLaw::topTierVarianceShare() const noexcept {
    if (!(variance > 0)) {
        return std::nullopt;
    }
    return 1 - varianceBelowTop / variance;
}

std::optional<double> MoneyLaw::returnRate() const noexcept {
    if (cost == 0) {
        return std::nullopt;
    }
    return expectedReturn / static_cast<double>(cost) * 100;
}

Cents MoneyLaw::Won(std::span<const std::uint64_t> tally) const noexcept {
    Cents won = 0;
    for (std::size_t i = 0; i < std::min(tally.size(), payouts.size()); ++i) {
        won += static_cast<Cents>(tally[i]) * payouts[i];
    }
    return won;
}

std::optional<MoneyLaw> MakeMoneyLaw(const DrawRule& rule, const PrizeTable& table) {
    const Game& game = rule.game;
    const DrawRule combination = CombinationRule(rule);
    MoneyLaw law;
    law.price = table.price;
    // Money is bounded, not the count of combinations: a ticket of C(99, 49) combinations at no
    // price costs nothing.
    Cents tickets = 0;
    const Cents secondTickets =
        game.hasSecond() ? std::max(Choose(rule.second.Count(), game.second.drawn), Cents{1}) : 1;
    const bool countless = __builtin_mul_overflow(
        std::max(Choose(rule.main.Count(), game.main.drawn), Cents{1}), secondTickets, &tickets);
    if (table.price != 0 && (countless || !AddProduct(law.cost, tickets, table.price))) {
        return std::nullopt;
    }
    // Every tier of the tally, also those of probability 0 that a draw next to an edge of the
    // generator can fall into; the law over the possible ones.
    law.payouts.assign(static_cast<std::size_t>(rule.tiers()), 0);
    for (int m = 0; m <= rule.mostMain(); ++m) {
        for (int b = 0; b < rule.bonusStates(); ++b) {
            for (int s = 0; s <= rule.mostSecond(); ++s) {
                const std::optional<Cents> payout = Payout(rule, combination, table, m, b, s);
                if (!payout) {
                    return std::nullopt;
                }
                law.payouts[static_cast<std::size_t>(rule.TierIndex(m, b, s))] = *payout;
            }
        }
    }
    const std::vector<Tier> tiers = Tiers(rule);
    double rarest = 2;
    for (const Tier& tier : tiers) {
        if (law.payouts[static_cast<std::size_t>(tier.index)] > 0 && tier.probability < rarest) {
            rarest = tier.probability;
            law.topTier = tier.index;
        }
    }
    // The law over every tier, and over every tier but the rarest that pays.
    long double mean[2] = {0, 0};
    long double square[2] = {0, 0};
    for (const Tier& tier : tiers) {
        const auto amount =
            static_cast<long double>(law.payouts[static_cast<std::size_t>(tier.index)]);
        for (int below = 0; below < 2; ++below) {
            if (below == 0 || tier.index != law.topTier) {
                mean[below] += tier.probability * amount;
                square[below] += tier.probability * amount * amount;
            }
        }
    }
    const auto variance = [&](int below) {
        return static_cast<double>(std::max(square[below] - mean[below] * mean[below], 0.0L));
    };
    law.expectedReturn = static_cast<double>(mean[0]);
    law.variance = variance(0);
    law.returnBelowTop = static_cast<double>(mean[1]);
    law.varianceBelowTop = variance(1);
    return law;
}

}  // namespace loto
