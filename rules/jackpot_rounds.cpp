#include "rules/jackpot_rounds.h"

#include <algorithm>
#include <cmath>

#include "core/draws.h"
#include "core/tiers.h"
#include "rules/binomial_source.h"

namespace loto {
namespace {

constexpr std::uint64_t kPumpEvery = 1 << 16;
constexpr std::size_t kPathPoints = 2000;
constexpr std::size_t kMostWinsShown = 1000;

struct TierOdds {
    double probability = 0;
    const RuleTier* rule = nullptr;
};

// What the rules pay and how likely each tier is, by TierIndex of a ticket of K (and M).
std::vector<TierOdds> Odds(const LotteryRules& rules) {
    const DrawRule ticket = rules.Ticket();
    std::vector<TierOdds> odds(static_cast<std::size_t>(ticket.tiers()));
    for (const Tier& tier : Tiers(ticket)) {
        odds[static_cast<std::size_t>(tier.index)].probability = tier.probability;
    }
    for (const RuleTier& tier : rules.tiers) {
        odds[static_cast<std::size_t>(tier.index)].rule = &tier;
    }
    return odds;
}

// The jackpot of the next draw where nobody won this one's, and the excess over the cap.
std::pair<double, double> Rolled(const LotteryRules& rules, const std::vector<TierOdds>& odds,
                                 double jackpot) {
    const JackpotRules& held = *rules.jackpot;
    const RuleTier* tier = odds[static_cast<std::size_t>(held.tier)].rule;
    const double added =
        held.rollover && tier != nullptr ? rules.Fund(*tier, rules.sales.At(jackpot / 100)) : 0;
    const double cap = held.cap ? static_cast<double>(*held.cap) : INFINITY;
    return {std::min(jackpot + added, cap), std::max(0.0, jackpot + added - cap)};
}

// The largest wins, at most kMostWinsShown, kept as a heap of the least on top.
void KeepLargest(std::vector<std::pair<std::uint64_t, double>>& wins,
                 std::pair<std::uint64_t, double> win) {
    const auto least = [](const auto& a, const auto& b) { return a.second > b.second; };
    if (wins.size() < kMostWinsShown) {
        wins.push_back(win);
        std::push_heap(wins.begin(), wins.end(), least);
    } else if (win.second > wins.front().second) {
        std::pop_heap(wins.begin(), wins.end(), least);
        wins.back() = win;
        std::push_heap(wins.begin(), wins.end(), least);
    }
}

double Paid(const LotteryRules& rules, double prize) {
    return rules.tax ? rules.tax->After(prize) : prize;
}

}  // namespace

double MeanJackpotCycle(const LotteryRules& rules, double jackpot) {
    if (!rules.jackpot) {
        return 0;
    }
    const std::vector<TierOdds> odds = Odds(rules);
    const double p = odds[static_cast<std::size_t>(rules.jackpot->tier)].probability;
    const double cap = rules.jackpot->cap ? static_cast<double>(*rules.jackpot->cap) : INFINITY;
    double mean = 0, surviving = 1;
    int atCap = 0;
    for (std::uint64_t draw = 0; surviving > 1e-15 && draw < 100'000'000; ++draw) {
        mean += surviving;
        atCap = jackpot >= cap ? atCap + 1 : 0;
        if (rules.jackpot->mustBeWonAfter && atCap > *rules.jackpot->mustBeWonAfter) {
            break;  // won or rolled down: the cycle ends here
        }
        surviving *= std::exp(rules.sales.At(jackpot / 100) * std::log1p(-p));
        jackpot = Rolled(rules, odds, jackpot).first;
    }
    return mean;
}

Rounds PlayRounds(const LotteryRules& rules, const DrawRule& ticket, std::uint64_t rounds,
                  double jackpot, GeneratorState& state, std::uint64_t seed, EventPump& pump) {
    const std::vector<TierOdds> odds = Odds(rules);
    const DrawByDraw draws(ticket);
    BinomialSource others(seed);
    Rounds played;
    const double start = jackpot;
    played.lawMeanCycle = MeanJackpotCycle(rules, start);
    const std::uint64_t pathEvery = std::max<std::uint64_t>(1, rounds / kPathPoints);
    // A roll-down's funds by tier: this draw's, and those that wait for the next.
    std::vector<double> funds(odds.size()), extra(odds.size());
    std::uint64_t cycle = 0;
    int atCap = 0;
    for (std::uint64_t r = 0; r < rounds; ++r) {
        if (r % kPumpEvery == 0 && !pump.ProcessEvents({r, rounds})) {
            played.stopped = true;
            break;
        }
        if (r % pathEvery == 0) {
            played.path.emplace_back(r, jackpot);
        }
        const double sold = rules.sales.At(jackpot / 100);
        const auto tier = static_cast<std::size_t>(draws.Next(state));
        played.spent += static_cast<double>(rules.price);
        double wonNow = 0;
        funds.swap(extra);
        std::fill(extra.begin(), extra.end(), 0.0);
        ++cycle;
        if (rules.jackpot) {
            const auto top = static_cast<std::size_t>(rules.jackpot->tier);
            const bool hit = tier == top;
            const double winners = others.Binomial(sold - 1, odds[top].probability) + (hit ? 1 : 0);
            atCap = rules.jackpot->cap && jackpot >= static_cast<double>(*rules.jackpot->cap)
                        ? atCap + 1
                        : 0;
            const bool mustGo =
                rules.jackpot->mustBeWonAfter && atCap > *rules.jackpot->mustBeWonAfter;
            if (winners > 0) {
                played.wonAt.push_back(jackpot);
                ++played.jackpotWins;
                if (hit) {
                    wonNow += Paid(rules, jackpot / winners) * rules.payout.PresentShare();
                }
            } else if (mustGo) {
                funds[static_cast<std::size_t>(*rules.jackpot->rollDown)] += jackpot;
                ++played.rolledDown;
            }
            if (winners > 0 || mustGo) {
                played.cycles.push_back(cycle);
                cycle = 0;
                atCap = 0;
                jackpot = start;
            } else {
                const auto [next, excess] = Rolled(rules, odds, jackpot);
                jackpot = next;
                if (rules.jackpot->rollDown) {
                    extra[static_cast<std::size_t>(*rules.jackpot->rollDown)] += excess;
                }
            }
        }
        const RuleTier* rule = odds[tier].rule;
        const bool isJackpot = rules.jackpot && static_cast<int>(tier) == rules.jackpot->tier;
        if (rule != nullptr && !isJackpot) {
            if (rule->fixed && funds[tier] == 0) {
                wonNow += Paid(rules, static_cast<double>(*rule->fixed));
            } else {
                const double fund = rules.Fund(*rule, sold) + funds[tier] +
                                    (rule->fixed ? static_cast<double>(*rule->fixed) : 0);
                wonNow +=
                    Paid(rules, fund / (1 + others.Binomial(sold - 1, odds[tier].probability)));
            }
        }
        if (wonNow > 0) {
            played.won += wonNow;
            KeepLargest(played.userWins, {r, wonNow});
        }
        ++played.draws;
    }
    return played;
}

RoundsFigures FigureRounds(const Rounds& rounds) {
    RoundsFigures figures;
    // Three ranks of up to one jackpot a few draws: each found in linear time, not by a sort.
    std::vector<double> sizes = rounds.wonAt;
    const auto rank = [&](double q) {
        const auto at = static_cast<std::size_t>(std::ceil(q * static_cast<double>(sizes.size())));
        const auto nth =
            sizes.begin() + static_cast<std::ptrdiff_t>(std::max<std::size_t>(at, 1) - 1);
        std::nth_element(sizes.begin(), nth, sizes.end());
        return *nth;
    };
    if (!sizes.empty()) {
        figures.median = rank(0.5);
        figures.p1 = rank(0.01);
        figures.p99 = rank(0.99);
    }
    if (!rounds.cycles.empty()) {
        double sum = 0;
        for (const std::uint64_t cycle : rounds.cycles) {
            sum += static_cast<double>(cycle);
        }
        figures.meanCycle = sum / static_cast<double>(rounds.cycles.size());
    }
    return figures;
}

}  // namespace loto
