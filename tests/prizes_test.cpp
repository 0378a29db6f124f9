// What a ticket costs and pays: amounts read and written to the cent, a system ticket's payouts
// against its combinations enumerated one by one, and the exact law against fractions.
#include "core/prizes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "core/tiers.h"
#include "tests/support/example_games.h"

namespace loto {
namespace {

using test::Ticket;

TEST(Amounts, ReadToTheCentAndWrittenFromTheInteger) {
    const struct {
        const char* text;
        std::optional<Cents> cents;
    } reads[] = {
        {"2.50", 250},
        {"8", 800},
        {"0.5", 50},
        {"0", 0},
        {"007.07", 707},
        {"10000000000000000", kMostCents},
        {"10000000000000000.01", std::nullopt},
        {"", std::nullopt},
        {"-1", std::nullopt},
        {"+1", std::nullopt},
        {"1.234", std::nullopt},
        {"1.", std::nullopt},
        {".5", std::nullopt},
        {"1e3", std::nullopt},
        {" 1", std::nullopt},
        {"1,5", std::nullopt},
        {"99999999999999999999999999999", std::nullopt},
    };
    for (const auto& [text, cents] : reads) {
        EXPECT_EQ(ReadAmount(text), cents) << text;
    }
    const struct {
        Cents cents;
        const char* point;
        const char* text;
    } writes[] = {
        {0, ".", "0.00"},
        {5, ".", "0.05"},
        {-1230, ".", "-12.30"},
        {250, ",", "2,50"},
        {kMostCents, ".", "10000000000000000.00"},
        {-(Cents{1} << 126), ".", "-850705917302346158658436518579420528.64"},
    };
    for (const auto& [cents, point, text] : writes) {
        EXPECT_EQ(AmountText(cents, point), text);
    }
}

// The prizes of the README's example: a prize by matches of a ticket of six.
PrizeTable SixOf49Prizes(Cents price) {
    PrizeTable table{.price = price, .prizes = std::vector<Cents>(7)};
    table.prizes[3] = 500;
    table.prizes[4] = 5000;
    table.prizes[5] = 150000;
    table.prizes[6] = 200000000;
    return table;
}

// E and Var of one draw as fractions over C(49, 6), in integers: sum of C(6,k) C(43,6-k) x.
TEST(MoneyLaw, SixOf49AgainstExactFractions) {
    const DrawRule rule = Ticket(kSixOfFortyNine, {7, 10, 14, 20, 30, 40});
    const std::optional<MoneyLaw> law = MakeMoneyLaw(rule, SixOf49Prizes(220));
    ASSERT_TRUE(law);
    const Cents ways[] = {6096454, 5775588, 1851150, 246820, 13545, 258, 1};
    const Cents all = 13983816;
    Cents sum = 0, squares = 0;
    for (int k = 0; k <= 6; ++k) {
        sum += ways[k] * law->payouts[static_cast<std::size_t>(k)];
        squares += ways[k] * law->payouts[static_cast<std::size_t>(k)] *
                   law->payouts[static_cast<std::size_t>(k)];
    }
    const double mean = static_cast<double>(sum) / static_cast<double>(all);
    const double variance = static_cast<double>(squares * all - sum * sum) /
                            (static_cast<double>(all) * static_cast<double>(all));
    EXPECT_EQ(sum, Cents{429835000});
    EXPECT_NEAR(law->expectedReturn, mean, 1e-12 * mean);
    EXPECT_NEAR(law->variance, variance, 1e-12 * variance);
    EXPECT_EQ(law->cost, 220);
    EXPECT_NEAR(static_cast<double>(law->expectedNet()), mean - 220, 1e-12 * mean);
    EXPECT_NEAR(*law->returnRate(), mean / 220 * 100, 1e-12);
    EXPECT_FALSE(MakeMoneyLaw(rule, SixOf49Prizes(0))->returnRate());
    const std::vector<std::uint64_t> tally = {1, 2, 3, 4, 5, 6, std::uint64_t{1} << 62};
    EXPECT_EQ(law->Won(tally), 4 * 500 + 5 * 5000 + 6 * 150000 + (Cents{1} << 62) * 200000000);

    // Without the jackpot, the rarest tier that pays: the law of k = 0 to 5 alone.
    Cents below = 0, belowSquares = 0;
    for (int k = 0; k <= 5; ++k) {
        const Cents payout = law->payouts[static_cast<std::size_t>(k)];
        below += ways[k] * payout;
        belowSquares += ways[k] * payout * payout;
    }
    const double belowMean = static_cast<double>(below) / static_cast<double>(all);
    const double belowVariance = static_cast<double>(belowSquares * all - below * below) /
                                 (static_cast<double>(all) * static_cast<double>(all));
    EXPECT_EQ(law->topTier, 6);
    EXPECT_NEAR(law->returnBelowTop, belowMean, 1e-12 * belowMean);
    EXPECT_NEAR(law->varianceBelowTop, belowVariance, 1e-12 * belowVariance);
    EXPECT_NEAR(*law->topTierVarianceShare(), 1 - belowVariance / variance, 1e-12);
    // One tier that pays: nothing varies below it.
    PrizeTable jackpotOnly{.price = 220, .prizes = std::vector<Cents>(7)};
    jackpotOnly.prizes[6] = 100;
    const MoneyLaw alone = *MakeMoneyLaw(rule, jackpotOnly);
    EXPECT_EQ(alone.topTierVarianceShare(), 1);
    EXPECT_EQ(alone.varianceBelowTop, 0);
}

// A draw and a ticket that fall into tier (m, b, s): the ticket's first m main numbers drawn
// (then the rest from outside it), the bonus its next one when b, and its first s of the second
// pool.
struct Concrete {
    std::vector<int> main, second;
    int bonus = 0;
};

Concrete DrawFor(const DrawRule& rule, int m, int b, int s) {
    std::vector<int> ticket, outside, stars, other;
    for (int n = 1; n <= rule.game.main.top; ++n) {
        (rule.main.Has(n) ? ticket : outside).push_back(n);
    }
    for (int n = 1; n <= rule.game.second.top; ++n) {
        (rule.second.Has(n) ? stars : other).push_back(n);
    }
    Concrete draw;
    draw.main.assign(ticket.begin(), ticket.begin() + m);
    draw.main.insert(draw.main.end(), outside.begin(),
                     outside.begin() + (rule.game.main.drawn - m));
    if (rule.game.bonus) {
        draw.bonus = b == 1 ? ticket[static_cast<std::size_t>(m)] : outside.back();
    }
    if (rule.game.hasSecond()) {
        draw.second.assign(stars.begin(), stars.begin() + s);
        draw.second.insert(draw.second.end(), other.begin(),
                           other.begin() + (rule.game.second.drawn - s));
    }
    return draw;
}

// Calls f with every `size`-subset of `numbers`.
template <typename F>
void Subsets(const std::vector<int>& numbers, int size, F&& f) {
    std::vector<bool> pick(numbers.size());
    std::fill(pick.begin(), pick.begin() + std::min<std::size_t>(size, numbers.size()), true);
    do {
        std::vector<int> subset;
        for (std::size_t i = 0; i < numbers.size(); ++i) {
            if (pick[i]) {
                subset.push_back(numbers[i]);
            }
        }
        f(subset);
    } while (std::prev_permutation(pick.begin(), pick.end()));
}

// Every combination of a system ticket scored against the draw, its prize looked up by its tier.
Cents EnumeratedPayout(const DrawRule& rule, const PrizeTable& table, const Concrete& draw) {
    const DrawRule combination = CombinationRule(rule);
    std::vector<int> main, second;
    for (int n = 1; n <= 99; ++n) {
        if (rule.main.Has(n)) {
            main.push_back(n);
        }
        if (rule.second.Has(n)) {
            second.push_back(n);
        }
    }
    const auto in = [](const std::vector<int>& numbers, int n) {
        return std::ranges::find(numbers, n) != numbers.end();
    };
    Cents payout = 0;
    Subsets(
        main, std::min(rule.game.main.drawn, static_cast<int>(main.size())), [&](const auto& mc) {
            const auto m = std::ranges::count_if(mc, [&](int n) { return in(draw.main, n); });
            const int b = rule.game.bonus && in(mc, draw.bonus) ? 1 : 0;
            const auto score = [&](const std::vector<int>& sc) {
                const auto s = std::ranges::count_if(sc, [&](int n) { return in(draw.second, n); });
                payout += table.prizes[static_cast<std::size_t>(
                    combination.TierIndex(static_cast<int>(m), b, static_cast<int>(s)))];
            };
            if (rule.game.hasSecond()) {
                Subsets(second, std::min(rule.game.second.drawn, static_cast<int>(second.size())),
                        score);
            } else {
                score({});
            }
        });
    return payout;
}

// Each prize a different power of two's multiple, so that a combination counted in a wrong tier
// changes the sum.
PrizeTable DistinctPrizes(const DrawRule& rule, Cents price) {
    PrizeTable table{
        .price = price,
        .prizes = std::vector<Cents>(static_cast<std::size_t>(CombinationRule(rule).tiers()))};
    for (std::size_t i = 0; i < table.prizes.size(); ++i) {
        table.prizes[i] = Cents{3} << (2 * i);
    }
    return table;
}

TEST(MoneyLaw, SystemTicketsPayEachCombination) {
    const struct {
        DrawRule rule;
        Cents combinations;
    } tickets[] = {
        {Ticket(kSixOfFortyNine, {1, 2, 3, 4, 5, 6, 7, 8}), 28},
        {Ticket({.main = {6, 49}, .bonus = true}, {1, 2, 3, 4, 5, 6, 7, 8, 9}), 84},
        {Ticket({.main = {5, 50}, .second = {2, 12}}, {1, 2, 3, 4, 5, 6}, {1, 2, 3}), 18},
        {Ticket({.main = {6, 49}, .bonus = true}, {1, 2, 3, 4, 5, 6}), 1},
        {Ticket({.main = {20, 70}}, {2, 9, 16, 23, 30, 37, 44, 51, 58, 65}), 1},
    };
    for (const auto& [rule, combinations] : tickets) {
        const PrizeTable table = DistinctPrizes(rule, 250);
        const std::optional<MoneyLaw> law = MakeMoneyLaw(rule, table);
        ASSERT_TRUE(law) << GameName(rule.game);
        EXPECT_EQ(law->cost, combinations * 250) << GameName(rule.game);
        double mean = 0;
        for (const Tier& tier : Tiers(rule)) {
            const int b = tier.bonus.value_or(false) ? 1 : 0;
            const Concrete draw = DrawFor(rule, tier.main, b, tier.second.value_or(0));
            EXPECT_EQ(law->payouts[static_cast<std::size_t>(tier.index)],
                      EnumeratedPayout(rule, table, draw))
                << GameName(rule.game) << " tier " << TierName(tier);
            mean += tier.probability *
                    static_cast<double>(law->payouts[static_cast<std::size_t>(tier.index)]);
        }
        EXPECT_NEAR(law->expectedReturn, mean, 1e-9 * mean);
    }
}

// A draw that could pay or cost more than can be counted to the cent is refused, not wrapped;
// money is bounded, not the count of combinations.
TEST(MoneyLaw, TooMuchToCountIsRefused) {
    DrawRule widest{.game = {.main = {49, 99}, .second = {49, 99}}, .main = {}, .second = {}};
    for (int n = 1; n <= 99; ++n) {
        widest.main.Add(n);
        widest.second.Add(n);
    }
    const PrizeTable nothing{
        .price = 0,
        .prizes = std::vector<Cents>(static_cast<std::size_t>(CombinationRule(widest).tiers()))};
    const std::optional<MoneyLaw> free = MakeMoneyLaw(widest, nothing);  // C(99, 49)^2 tickets
    ASSERT_TRUE(free);
    EXPECT_EQ(free->cost, 0);
    EXPECT_EQ(free->expectedNet(), 0);
    PrizeTable cent = nothing;
    cent.price = 1;
    EXPECT_FALSE(MakeMoneyLaw(widest, cent));
    PrizeTable lowest = nothing;
    // A cent for each combination that matches nothing: where the whole ticket matches nothing
    // (next to an edge of the generator), C(99, 49)^2 of them.
    lowest.prizes[0] = 1;
    EXPECT_FALSE(MakeMoneyLaw(widest, lowest));
    std::vector<int> all(49);
    std::iota(all.begin(), all.end(), 1);
    DrawRule whole{.game = kSixOfFortyNine, .main = {}, .second = {}};
    for (const int n : all) {
        whole.main.Add(n);
    }
    EXPECT_FALSE(MakeMoneyLaw(whole, SixOf49Prizes(kMostCents)));  // C(49,6) tickets of 10^16
    PrizeTable jackpot = SixOf49Prizes(0);
    jackpot.prizes[6] = kMostCents;
    EXPECT_TRUE(MakeMoneyLaw(Ticket(kSixOfFortyNine, {1, 2, 3, 4, 5, 6}), jackpot));
    EXPECT_FALSE(MakeMoneyLaw(Ticket(kSixOfFortyNine, {1, 2, 3, 4, 5, 6, 7}), jackpot));
}

}  // namespace
}  // namespace loto
