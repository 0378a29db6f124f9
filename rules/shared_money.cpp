#include "rules/shared_money.h"

#include <algorithm>
#include <boost/math/distributions/binomial.hpp>
#include <cmath>

#include "core/tiers.h"

namespace loto {
namespace {

constexpr double kMostTerms = 2e6;  // of a tax's sum; past them, a stride

// The rules' tier of a ticket's tier, if it pays.
const RuleTier* RuleOf(const LotteryRules& rules, int index) {
    for (const RuleTier& tier : rules.tiers) {
        if (tier.index == index) {
            return &tier;
        }
    }
    return nullptr;
}

}  // namespace

double ExpectedShare(double p, double sold) noexcept {
    if (p <= 0 || sold <= 1) {
        return 1;
    }
    return -std::expm1(sold * std::log1p(-p)) / (sold * p);
}

double ExpectedTaxedShare(double fund, double p, double sold, const std::optional<TaxRules>& tax) {
    const double untaxed = fund * ExpectedShare(p, sold);
    if (!tax || tax->rate == 0 || fund <= tax->threshold || p <= 0 || sold <= 1) {
        return tax && sold <= 1 ? tax->After(fund) : untaxed;
    }
    // The tax of the prizes above the threshold: W below fund / threshold - 1.
    const double others = std::floor(sold - 1);
    const double taxedBelow =
        tax->threshold > 0 ? std::min(others, std::ceil(fund / tax->threshold)) : others;
    const boost::math::binomial_distribution<double> law(others, std::min(p, 1.0));
    const double mode = std::min(others, std::floor((others + 1) * p));
    const double spread = std::sqrt(others * p * (1 - p));
    const double low = std::max(0.0, std::floor(mode - 40 * spread - 50));
    const double high = std::min(taxedBelow, std::ceil(mode + 40 * spread + 50));
    const double stride = std::max(1.0, std::ceil((high - low) / kMostTerms));
    const double odds = p / (1 - p);
    double taxes = 0;
    double term = low <= high ? pdf(law, low) : 0;
    for (double w = low; w <= high; w += stride) {
        const double prize = fund / (1 + w);
        taxes += term * stride * (prize - tax->After(prize));
        // The next term by the law's ratio, one at a time; by the law itself past a stride.
        term = stride == 1 ? term * (others - w) / (w + 1) * odds
                           : (w + stride <= high ? pdf(law, w + stride) : 0);
    }
    return untaxed - taxes;
}

SharedMoney ShareMoney(const LotteryRules& rules, double jackpot) {
    SharedMoney money;
    money.jackpot = jackpot;
    money.sold = rules.sales.At(jackpot / 100);
    const DrawRule ticket = rules.Ticket();
    money.tiers.resize(static_cast<std::size_t>(ticket.tiers()));
    for (const Tier& tier : Tiers(ticket)) {
        SharedTier& shared = money.tiers[static_cast<std::size_t>(tier.index)];
        shared.probability = tier.probability;
        const RuleTier* rule = RuleOf(rules, tier.index);
        if (rule == nullptr) {
            continue;
        }
        const bool isJackpot = rules.jackpot && rules.jackpot->tier == tier.index;
        if (rule->fixed && !isJackpot) {
            shared.prize = static_cast<double>(*rule->fixed);
            shared.payout = rules.tax ? rules.tax->After(shared.prize) : shared.prize;
        } else {
            // As advertised: the jackpot, or a pool's fund over the winners expected (its whole
            // where fewer than one is).
            const double fund = isJackpot ? jackpot : rules.Fund(*rule, money.sold);
            shared.prize = isJackpot ? fund : fund / std::max(1.0, money.sold * tier.probability);
            shared.payout = ExpectedTaxedShare(fund, tier.probability, money.sold, rules.tax) *
                            (isJackpot ? rules.payout.PresentShare() : 1);
        }
        money.expectedReturn += tier.probability * shared.payout;
    }
    return money;
}

BreakEven FindBreakEven(const LotteryRules& rules) {
    const auto price = static_cast<double>(rules.price);
    const auto net = [&](double jackpot) {
        return ShareMoney(rules, jackpot).expectedReturn - price;
    };
    BreakEven found{.jackpot = std::nullopt, .bestJackpot = price, .bestNet = net(price)};
    // Eight jackpots a decade from the price to 10^10 times it; the first that breaks even is
    // then found between it and the one before by halving, and the best around the best.
    constexpr int kSteps = 80;
    double before = 0;
    std::size_t best = 0;
    std::vector<double> grid;
    for (int step = 0; step <= kSteps; ++step) {
        grid.push_back(price * std::pow(10.0, step / 8.0));
    }
    for (std::size_t g = 0; g < grid.size(); ++g) {
        const double value = net(grid[g]);
        if (value > found.bestNet) {
            found.bestNet = value;
            found.bestJackpot = grid[g];
            best = g;
        }
        if (!found.jackpot && value >= 0) {
            double low = before, high = grid[g];
            for (int halving = 0; halving < 60 && g > 0; ++halving) {
                const double middle = (low + high) / 2;
                (net(middle) >= 0 ? high : low) = middle;
            }
            found.jackpot = std::ceil(high);
        }
        before = grid[g];
    }
    // The best, refined by golden sections between its neighbours.
    double low = grid[best > 0 ? best - 1 : 0], high = grid[std::min(best + 1, grid.size() - 1)];
    const double ratio = (std::sqrt(5.0) - 1) / 2;
    for (int step = 0; step < 60; ++step) {
        const double a = high - ratio * (high - low), b = low + ratio * (high - low);
        (net(a) > net(b) ? high : low) = net(a) > net(b) ? b : a;
    }
    const double refined = (low + high) / 2;
    if (net(refined) > found.bestNet) {
        found.bestNet = net(refined);
        found.bestJackpot = refined;
    }
    if (best + 1 == grid.size()) {
        found.rising = true;  // no jackpot is best: the net still grows at the last
    }
    return found;
}

void AskOfRules(const LotteryRules& rules, const std::optional<Cents>& jackpot, PlayAsked& play) {
    play.price = play.price.value_or(rules.price);
    if (!play.drawsPerWeek) {
        play.drawsPerWeek = rules.drawsPerWeek;
    }
    const double advertised =
        static_cast<double>(jackpot.value_or(rules.jackpot ? rules.jackpot->start : Cents{0}));
    const SharedMoney money = ShareMoney(rules, advertised);
    for (const RuleTier& tier : rules.tiers) {
        const bool given = std::any_of(play.prizes.begin(), play.prizes.end(),
                                       [&](const PrizeArgument& p) { return p.tier == tier.name; });
        if (!given) {
            const double cents = money.tiers[static_cast<std::size_t>(tier.index)].prize;
            play.prizes.push_back({tier.name, static_cast<Cents>(std::llround(cents))});
        }
    }
}

std::optional<SharedPlay> ShareTicket(const LotteryRules& rules, const DrawRule& ticket,
                                      double jackpot, const BreakEven& breakEven) {
    const SharedMoney money = ShareMoney(rules, jackpot);
    const DrawRule combination = CombinationRule(ticket);
    PrizeTable table{.price = rules.price,
                     .prizes = std::vector<Cents>(static_cast<std::size_t>(combination.tiers()))};
    // A combination's tier by its matches, as the rules' ticket of K (and M) indexes it.
    const DrawRule full = rules.Ticket();
    for (int m = 0; m <= combination.mostMain(); ++m) {
        for (int b = 0; b < combination.bonusStates(); ++b) {
            for (int s = 0; s <= combination.mostSecond(); ++s) {
                const auto index = static_cast<std::size_t>(full.TierIndex(m, b, s));
                table.prizes[static_cast<std::size_t>(combination.TierIndex(m, b, s))] =
                    index < money.tiers.size()
                        ? static_cast<Cents>(std::llround(money.tiers[index].payout))
                        : 0;
            }
        }
    }
    std::optional<MoneyLaw> law = MakeMoneyLaw(ticket, table);
    if (!law) {
        return std::nullopt;
    }
    return SharedPlay{
        .law = *law,
        .breakEven = breakEven.jackpot,
        .bestJackpot = breakEven.rising ? std::nullopt : std::optional(breakEven.bestJackpot)};
}

}  // namespace loto
