// A lottery's rules: the file read or refused with its field named, prizes shared and taxed
// against sums written out here, the break-even jackpot against a bisection of this test's own,
// and the jackpot process against a transcription of it, draw by draw.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "core/draws.h"
#include "core/tiers.h"
#include "rules/binomial_source.h"
#include "rules/jackpot_rounds.h"
#include "rules/shared_money.h"

namespace loto {
namespace {

// E[f(W)] with W Binomial(n, p), term by term.
template <typename F>
long double SumOverWinners(int n, long double p, F f) {
    long double sum = 0, ways = 1;
    for (int w = 0; w <= n; ++w) {
        sum += ways * std::pow(p, w) * std::pow(1 - p, n - w) * f(w);
        ways = ways * (n - w) / (w + 1);
    }
    return sum;
}

// E[1 / (1 + W)].
double ShareBySum(int n, long double p) {
    return static_cast<double>(SumOverWinners(n, p, [](int w) { return 1.0L / (1 + w); }));
}

TEST(SharedPrizes, ExpectedShareAgainstItsTerms) {
    // S tickets sold, the user's among them: S - 1 others.
    for (const int others : {0, 1, 2, 10}) {
        for (const double p : {0.5, 0.2, 1.0 / 7, 1e-3}) {
            EXPECT_NEAR(ExpectedShare(p, others + 1), ShareBySum(others, p), 1e-15)
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
            const long double sum =
                SumOverWinners(others, p, [&](int w) { return tax.After(fund / (1 + w)); });
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

// The other winners' numbers follow their law: by inversion for a mean under 30, against the
// Binomial's own CDF; above it, the normal limit rounded, against the normal's (the generator's
// tails too); and given at least one, never 0, with its conditional mean. At a few points of each
// CDF, the share of 200,000 draws within five standard errors.
TEST(BinomialSource, DrawsItsLaw) {
    constexpr int kDraws = 200'000;
    const auto binomialCdf = [](double n, double p, double w) {
        double term = std::pow(1 - p, n), sum = 0;
        for (int k = 0; k <= w; ++k) {
            sum += term;
            term *= (n - k) / (k + 1) * p / (1 - p);
        }
        return sum;
    };
    const auto normalCdf = [](double z) { return 0.5 * std::erfc(-z / std::sqrt(2.0)); };
    const std::tuple<double, double, bool> laws[] = {{100, 0.05, false},
                                                     {1000, 0.02, false},
                                                     {1e6, 0.5, false},
                                                     {2e7, 1.0 / 22, false},
                                                     {100, 0.01, true}};
    for (const auto& [n, p, atLeastOne] : laws) {
        BinomialSource source(11);
        std::vector<double> drawn(kDraws);
        for (double& w : drawn) {
            w = atLeastOne ? source.BinomialAtLeastOne(n, p) : source.Binomial(n, p);
        }
        const double mean = n * p, sd = std::sqrt(mean * (1 - p));
        for (const double z : {-3.2, -1.0, 0.0, 1.0, 3.2}) {
            const double w = std::floor(mean + z * sd);
            double expected = mean < 30 ? binomialCdf(n, p, w) : normalCdf((w + 0.5 - mean) / sd);
            if (atLeastOne) {
                const double none = std::pow(1 - p, n);
                expected = w < 1 ? 0 : (expected - none) / (1 - none);
            }
            const double seen = static_cast<double>(std::ranges::count_if(
                                    drawn, [w](double d) { return d <= w; })) /
                                kDraws;
            EXPECT_NEAR(seen, expected, 5 * std::sqrt(expected * (1 - expected) / kDraws) + 1e-9)
                << n << " " << p << " at " << w;
        }
        if (atLeastOne) {
            EXPECT_EQ(std::ranges::count(drawn, 0.0), 0);
            EXPECT_NEAR(std::accumulate(drawn.begin(), drawn.end(), 0.0) / kDraws,
                        mean / (1 - std::pow(1 - p, n)), 0.01);
        }
    }
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
    return three * jackpot * ShareBySum(others, three) +
           two * 0.3 * 0.5 * sold * ShareBySum(others, two) + one * 0.5 - 1;
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

// A lottery's process, transcribed one draw at a time from its rules: the user's draw; at a
// jackpot's first draw, one uniform v from a source of its own, after which the other tickets win
// it at the first draw where the chance that none of them has yet, (1 - p)^(sold - 1) multiplied
// over the cycle's draws, is at most v (their number then at least one); the user's tier's other
// winners from the same source; the jackpot growing by its share of the sales, held at the cap with
// the excess for the roll-down tier's next draw, and rolled down whole after its draws at the cap.
// The jackpot each time it was won, each cycle's draws, and the jackpot at every 2000th of the
// draws. Without tax, paid whole.
struct Transcript {
    Rounds played;
    std::vector<double> wonAt;
    std::vector<double> cycles;
    std::vector<std::pair<std::uint64_t, double>> path;
};

Transcript Transcribed(const LotteryRules& rules, int draws, double start) {
    Transcript transcript;
    Rounds& played = transcript.played;
    const DrawRule ticket = rules.Ticket();
    std::vector<double> odds(static_cast<std::size_t>(ticket.tiers()));
    for (const Tier& tier : Tiers(ticket)) {
        odds[static_cast<std::size_t>(tier.index)] = tier.probability;
    }
    std::vector<const RuleTier*> paid(odds.size());
    for (const RuleTier& tier : rules.tiers) {
        paid[static_cast<std::size_t>(tier.index)] = &tier;
    }
    const JackpotRules held = rules.jackpot.value_or(JackpotRules{.tier = -1});
    const double cap = held.cap ? static_cast<double>(*held.cap) : INFINITY;
    const double top = held.tier >= 0 ? odds[static_cast<std::size_t>(held.tier)] : 0;
    GeneratorState state = kSeedState;
    BinomialSource others(3), cycles(3, true);
    double jackpot = start, waiting = 0;  // cents
    double threshold = 0, unwon = 0, cycle = 0;
    bool fresh = true;
    int atCap = 0;
    for (int r = 0; r < draws; ++r) {
        if (r % std::max(1, draws / 2000) == 0) {
            transcript.path.emplace_back(r, jackpot);
        }
        const double sold = rules.sales.At(jackpot / 100);
        std::vector<std::uint64_t> one(odds.size());
        DrawInto(state, 1, ticket, one);
        const int tier = static_cast<int>(std::ranges::find(one, 1u) - one.begin());
        played.spent += static_cast<double>(rules.price);
        double rolled = waiting;
        waiting = 0;
        double won = 0;
        if (rules.jackpot) {
            if (fresh) {
                threshold = cycles.Uniform();
                unwon = 0;
                cycle = 0;
                fresh = false;
            }
            unwon += std::max(0.0, sold - 1) * std::log1p(-top);
            ++cycle;
            const bool othersWon = std::exp(unwon) <= threshold;
            atCap = jackpot >= cap ? atCap + 1 : 0;
            const bool mustGo = held.mustBeWonAfter && atCap > *held.mustBeWonAfter;
            if (tier == held.tier || othersWon) {
                ++played.jackpotWins;
                transcript.wonAt.push_back(jackpot);
                if (tier == held.tier) {
                    won +=
                        jackpot / (1 + (othersWon ? others.BinomialAtLeastOne(sold - 1, top) : 0));
                }
            } else if (mustGo) {
                ++played.rolledDown;
                rolled += jackpot;
            } else {
                const double grown =
                    jackpot + (held.rollover
                                   ? rules.Fund(*paid[static_cast<std::size_t>(held.tier)], sold)
                                   : 0);
                waiting = held.rollDown ? std::max(0.0, grown - cap) : 0;
                jackpot = std::min(grown, cap);
            }
            if (tier == held.tier || othersWon || mustGo) {
                transcript.cycles.push_back(cycle);
                jackpot = start;
                atCap = 0;
                fresh = true;
            }
        }
        const RuleTier* rule = paid[static_cast<std::size_t>(tier)];
        if (rule != nullptr && tier != held.tier) {
            const double funds = held.rollDown == tier ? rolled : 0;
            const double fixed = rule->fixed ? static_cast<double>(*rule->fixed) : 0;
            won += rule->fixed && funds == 0
                       ? fixed
                       : (rules.Fund(*rule, sold) + funds + fixed) /
                             (1 + others.Binomial(sold - 1, odds[static_cast<std::size_t>(tier)]));
        }
        played.won += won;
    }
    return transcript;
}

// The value of nearest rank q among `values`.
double NearestRank(std::vector<double> values, double q) {
    std::ranges::sort(values);
    const auto rank = static_cast<std::size_t>(std::ceil(q * static_cast<double>(values.size())));
    return values[std::max<std::size_t>(rank, 1) - 1];
}

// On every path and one or two threads, the engine telling the paying draws: the 3/10 lottery,
// whose cap and roll-down are reached; one whose cap is a draw away, whose jackpots roll down in
// the draws between two paying ones; a 5/20 of two tickets sold a draw, whose jackpot lasts
// thousands of draws, some beyond what the process keeps of a cycle; the same where the user's
// is the only ticket, whose jackpot only the user ends; and one without a jackpot.
TEST(JackpotRounds, AsTheProcessTranscribed) {
    const std::tuple<const char*, int, double> lotteries[] = {
        {kThreeOfTen, 60000, 10000},
        {R"({"game": "3/10", "price": 1, "prize_fund": 0.5, "sales": {"base": 50, "per_jackpot": 0.2},
             "tiers": {"3": {"share": 0.6}, "2": {"share": 0.3}}, "jackpot": {"start": 100,
             "tier": "3", "cap": 120, "roll_down": "2", "must_be_won_after": 2}})",
         60000, 10000},
        {R"({"game": "5/20", "price": 1, "prize_fund": 0.5, "sales": 2, "jackpot": {"start": 100,
             "tier": "5"}, "tiers": {"5": {"share": 0.7}, "4": {"share": 0.2}, "3": {"fixed": 1}}})",
         400000, 10000},
        {R"({"game": "5/20", "price": 1, "prize_fund": 0.5, "sales": 1, "jackpot": {"start": 100,
             "tier": "5"}, "tiers": {"5": {"share": 0.7}, "4": {"share": 0.2}}})",
         400000, 10000},
        {R"({"game": "3/10", "price": 1, "prize_fund": 0.5, "sales": 50,
             "tiers": {"3": {"share": 0.6}, "2": {"fixed": 2}}})",
         20000, 0}};
    struct Idle final : EventPump {
        bool ProcessEvents(const DrawProgress&) override { return true; }
    } pump;
    for (const auto& [text, draws, start] : lotteries) {
        const LotteryRules rules = *ParseRules(text).rules;
        const Transcript transcript = Transcribed(rules, draws, start);
        const Rounds& written = transcript.played;
        const bool jackpot = rules.jackpot.has_value();
        const RoundsFigures expected =
            jackpot ? RoundsFigures{.median = NearestRank(transcript.wonAt, 0.5),
                                    .p1 = NearestRank(transcript.wonAt, 0.01),
                                    .p99 = NearestRank(transcript.wonAt, 0.99),
                                    .meanCycle = std::accumulate(transcript.cycles.begin(),
                                                                 transcript.cycles.end(), 0.0) /
                                                 static_cast<double>(transcript.cycles.size())}
                    : RoundsFigures{};
        if (jackpot) {  // the roll-down reached, or cycles longer than those counted by draw
            EXPECT_TRUE(rules.jackpot->cap ? written.rolledDown > 0
                                           : *std::ranges::max_element(transcript.cycles) >
                                                 static_cast<double>(Rounds::kEndsByDraw))
                << text;
        }
        Rounds played;
        for (const LanePath path : kLanePaths) {
            const LaneKernel* kernel = FindLaneKernel(path);
            for (const unsigned threads : {1u, 2u}) {
                if (kernel == nullptr) {
                    continue;
                }
                GeneratorState state = kSeedState;
                ParallelDrawEngine engine(threads, 4096, *kernel);
                played = PlayRounds(
                    rules, rules.Ticket(),
                    {.rounds = static_cast<std::uint64_t>(draws), .jackpot = start, .seed = 3},
                    state, engine, pump);
                const RoundsFigures figures = FigureRounds(played);
                EXPECT_EQ(std::tie(played.draws, played.jackpotWins, played.rolledDown,
                                   played.spent, played.won, figures.median, figures.p1,
                                   figures.p99, figures.meanCycle, played.path),
                          std::tie(draws, written.jackpotWins, written.rolledDown, written.spent,
                                   written.won, expected.median, expected.p1, expected.p99,
                                   expected.meanCycle, transcript.path))
                    << text << LanePathName(path) << " threads " << threads;
            }
        }
        // The draws from a start to a win or a roll-down against their exact mean, within four
        // standard errors (a cycle's spread is at most its mean, as a geometric law's).
        if (jackpot) {
            const auto ended = static_cast<double>(played.jackpotWins + played.rolledDown);
            EXPECT_NEAR(*FigureRounds(played).meanCycle, played.lawMeanCycle,
                        4 * played.lawMeanCycle / std::sqrt(ended))
                << text;
        }
    }
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
