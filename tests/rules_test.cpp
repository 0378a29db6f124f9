// A lottery's rules: the file read or refused with its field named, prizes shared and taxed
// against sums written out here, the break-even jackpot against a bisection of this test's own,
// and the jackpot process against a transcription of it, draw by draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/draws.h"
#include "core/tiers.h"
#include "rules/binomial_source.h"
#include "rules/jackpot_rounds.h"
#include "rules/shared_money.h"

namespace loto {
namespace {

// E[1 / (1 + W)] with W Binomial(n, p), term by term.
long double ShareBySum(int n, long double p) {
    long double sum = 0, ways = 1;
    for (int w = 0; w <= n; ++w) {
        sum += ways * std::pow(p, w) * std::pow(1 - p, n - w) / (1 + w);
        ways = ways * (n - w) / (w + 1);
    }
    return sum;
}

TEST(SharedPrizes, ExpectedShareAgainstItsTerms) {
    // S tickets sold, the user's among them: S - 1 others.
    for (const int others : {0, 1, 2, 10}) {
        for (const double p : {0.5, 0.2, 1.0 / 7, 1e-3}) {
            EXPECT_NEAR(ExpectedShare(p, others + 1), static_cast<double>(ShareBySum(others, p)),
                        1e-15)
                << others << " " << p;
        }
    }
    // Its limit (1 - e^-λ) / λ for large S, λ = S p: within 1/S of it.
    for (const double lambda : {0.01, 0.5, 3.0, 40.0}) {
        const double sold = 1e9;
        EXPECT_NEAR(ExpectedShare(lambda / sold, sold), -std::expm1(-lambda) / lambda, 1 / sold);
    }
    EXPECT_EQ(ExpectedShare(1e-300, 2), 1);  // one in 10^300 shares with no one
}

// With tax on the excess over 100 or on the whole prize above it: term by term.
TEST(SharedPrizes, TaxedShareAgainstItsTerms) {
    for (const auto& [on, rate] : {std::pair(TaxOn::Excess, 0.3), std::pair(TaxOn::Whole, 0.3),
                                   std::pair(TaxOn::Whole, 1.0)}) {
        const TaxRules tax{.rate = rate, .threshold = 100, .on = on};
        for (const int others : {1, 2, 10, 60}) {
            const double fund = 1000, p = 0.05;
            long double sum = 0, ways = 1;
            for (int w = 0; w <= others; ++w) {
                sum +=
                    ways * std::pow(p, w) * std::pow(1 - p, others - w) * tax.After(fund / (1 + w));
                ways = ways * (others - w) / (w + 1);
            }
            EXPECT_NEAR(ExpectedTaxedShare(fund, p, others + 1, tax), static_cast<double>(sum),
                        1e-9)
                << others;
        }
    }
    // Paid as 30 yearly payments growing 5 %, discounted at 4 %: by the sums of each.
    const Payout annuity{.annuity = true, .years = 30, .growth = 0.05, .discount = 0.04};
    double paid = 0, worth = 0;
    for (int year = 0; year < 30; ++year) {
        paid += std::pow(1.05, year);
        worth += std::pow(1.05 / 1.04, year);
    }
    EXPECT_NEAR(annuity.PresentShare(), worth / paid, 1e-12);
}

// 3/10: the jackpot "3" (1 in 120) shared, "2" a pool, "1" a fixed 0.50; sales grow with the
// jackpot.
const char* const kThreeOfTen = R"({
  "game": "3/10", "price": 1, "prize_fund": 0.5,
  "sales": {"base": 50, "per_jackpot": 0.2},
  "tiers": {"3": {"share": 0.6}, "2": {"share": 0.3}, "1": {"fixed": 0.5}},
  "jackpot": {"start": 100, "tier": "3", "rollover": true, "cap": 300, "roll_down": "2",
              "must_be_won_after": 2}
})";

// A ticket's expected net at a jackpot of J units, as this test writes it: each tier's prize
// over its winners, summed over them.
double NetAt(double jackpot) {
    const double sold = 50 + 0.2 * jackpot;
    const int others = static_cast<int>(sold) - 1;
    const double three = 1.0 / 120, two = 21.0 / 120, one = 63.0 / 120;
    const auto share = [&](double p) {  // E[1/(1 + W)], W of `others`
        long double sum = 0, ways = 1;
        for (int w = 0; w <= others; ++w) {
            sum += ways * std::pow(p, w) * std::pow(1 - p, others - w) / (1 + w);
            ways = ways * (others - w) / (w + 1);
        }
        return static_cast<double>(sum);
    };
    return three * jackpot * share(three) + two * 0.3 * 0.5 * sold * share(two) + one * 0.5 - 1;
}

TEST(SharedPrizes, BreakEvenAgainstABisection) {
    const ReadRules read = ParseRules(kThreeOfTen);
    ASSERT_TRUE(read.rules) << read.fault;
    // Sales of whole tickets only at the test's jackpots: 50 + 0.2 J for J a multiple of 5.
    EXPECT_NEAR(ShareMoney(*read.rules, 500 * 100).expectedReturn / 100, NetAt(500) + 1, 1e-9);
    double low = 0, high = 1e6;
    for (int step = 0; step < 100; ++step) {
        const double middle = (low + high) / 2;
        (ShareMoney(*read.rules, middle * 100).expectedReturn / 100 - 1 >= 0 ? high : low) = middle;
    }
    const BreakEven found = FindBreakEven(*read.rules);
    ASSERT_TRUE(found.jackpot);
    EXPECT_NEAR(*found.jackpot / 100, high, 0.01);
    EXPECT_LT(NetAt(std::floor(high / 5) * 5), 0);  // below it, a loss
    EXPECT_GT(NetAt(std::ceil(high / 5 + 1) * 5), 0);
}

// The process of the 3/10 lottery, transcribed: the user's draw one at a time, the others'
// winners of the jackpot, then of the user's tier, from the same source; the jackpot growing by
// its share of the sales, held at the cap with the excess for the roll-down tier's next draw, and
// rolled down whole in the third draw at the cap.
Rounds Transcribed(const LotteryRules& rules, const DrawRule& ticket, int draws) {
    Rounds played;
    GeneratorState state = kSeedState;
    BinomialSource others(3);
    double jackpot = 10000, waiting = 0;  // cents
    int atCap = 0;
    const std::vector<Tier> tiers = Tiers(rules.Ticket());
    for (int r = 0; r < draws; ++r) {
        const double sold = 50 + 0.2 * jackpot / 100;
        std::vector<std::uint64_t> one(4);
        DrawInto(state, 1, ticket, one);
        const int matched = static_cast<int>(std::find(one.begin(), one.end(), 1u) - one.begin());
        played.spent += 100;
        double rolled = waiting;
        waiting = 0;
        double won = 0;
        const double winners = others.Binomial(sold - 1, 1.0 / 120) + (matched == 3 ? 1 : 0);
        atCap = jackpot >= 30000 ? atCap + 1 : 0;
        if (winners > 0) {
            ++played.jackpotWins;
            won += matched == 3 ? jackpot / winners : 0;
            jackpot = 10000;
            atCap = 0;
        } else if (atCap > 2) {
            ++played.rolledDown;
            rolled += jackpot;
            jackpot = 10000;
            atCap = 0;
        } else {
            const double grown = jackpot + 0.6 * 0.5 * sold * 100;
            waiting = std::max(0.0, grown - 30000);
            jackpot = std::min(grown, 30000.0);
        }
        if (matched == 2) {
            won += (0.3 * 0.5 * sold * 100 + rolled) /
                   (1 + others.Binomial(sold - 1, tiers[2].probability));
        } else if (matched == 1) {
            won += 50;
        }
        played.won += won;
    }
    return played;
}

TEST(JackpotRounds, AsTheProcessTranscribed) {
    const LotteryRules rules = *ParseRules(kThreeOfTen).rules;
    DrawRule ticket = rules.Ticket();
    struct Idle final : EventPump {
        bool ProcessEvents(const DrawProgress&) override { return true; }
    } pump;
    GeneratorState state = kSeedState;
    const Rounds played = PlayRounds(rules, ticket, 20000, 10000, state, 3, pump);
    const Rounds written = Transcribed(rules, ticket, 20000);
    EXPECT_EQ(played.jackpotWins, written.jackpotWins);
    EXPECT_EQ(played.rolledDown, written.rolledDown);
    EXPECT_GT(played.rolledDown, 0u);  // the cap and the roll-down were both reached
    EXPECT_DOUBLE_EQ(played.spent, written.spent);
    EXPECT_NEAR(played.won, written.won, 1e-6 * written.won);
    // The draws from a start to a win or a roll-down against their exact mean.
    const RoundsFigures figures = FigureRounds(played);
    ASSERT_TRUE(figures.meanCycle);
    EXPECT_NEAR(*figures.meanCycle, played.lawMeanCycle, 0.05 * played.lawMeanCycle);
}

// A file that contradicts itself or holds what no rules do: refused, the field named.
TEST(LotteryRulesFile, RefusedWithTheFieldNamed) {
    const std::pair<const char*, const char*> rows[] = {
        {R"({"price": 2, "tiers": {"5": {"fixed": 1}}})", "game: missing"},
        {R"({"game": "5/50", "price": -2, "tiers": {"5": {"fixed": 1}}})", "price: -2 is negative"},
        {R"({"game": "5/50", "price": 1e17, "tiers": {"5": {"fixed": 1}}})",
         "price: 1e+17 is more than 10^16"},
        {R"({"game": "5/50", "price": "2", "tiers": {"5": {"fixed": 1}}})",
         "price: \"2\" is not a number"},
        {R"({"game": "5/50", "price": 2, "tiers": {"6": {"fixed": 1}}})",
         "tiers.6: \"6\" is no tier of 5/50"},
        {R"({"game": "5/50", "price": 2, "prize_fund": 0.5, "sales": 10,
             "tiers": {"5": {"share": 0.7}, "4": {"share": 0.4}}})",
         "tiers: the shares sum to 1.1, over 1"},
        {R"({"game": "5/50", "price": 2, "prize_fund": 0.5, "sales": 10,
             "tiers": {"5": {"share": 0.5}},
             "jackpot": {"start": 100, "tier": "5", "cap": 50}})",
         "jackpot.cap: under jackpot.start"},
        {R"({"game": "5/50", "price": 2, "tiers": {"5": {"fixed": 1, "share": 0.1}}})",
         "tiers.5: needs either fixed or share"},
        {R"({"game": "5/50", "price": 2, "tiers": {"5": {"fixed": 1}}, "prize_funds": 1})",
         "prize_funds: no such field"},
        {R"({"game": "5/50", "price": 2, "tiers": {"5": {"share": 0.5}}})", "prize_fund: missing"},
        {R"({"game": "5/50", "price": 2, "tiers": {"5": {"fixed": 1}},
             "tax": {"rate": 0.2, "on": "all"}})",
         "tax.on: \"all\" is not \"excess\" or \"whole\""},
        {R"({"game": "5/50", "price": 2, "tiers": {"5": {"fixed": 1}}, "discount": 1.5})",
         "discount: 1.5 is not a yearly rate from 0 to 1"},
        {R"({"game": "5/50", "price": NaN})", "the file is not JSON"},
    };
    for (const auto& [text, fault] : rows) {
        const ReadRules read = ParseRules(text);
        EXPECT_FALSE(read.rules) << text;
        EXPECT_NE(read.fault.find(fault), std::string::npos) << read.fault << " for " << text;
    }
    EXPECT_EQ(ReadRulesFile("/tmp").fault, "is a directory");
}

}  // namespace
}  // namespace loto
