#include "report/game_figures.h"

#include <cmath>

#include "core/statistics.h"

namespace loto {
namespace {

std::uint64_t FirstHit(const GameReport& report, const Tier& tier) noexcept {
    const auto index = static_cast<std::size_t>(tier.index);
    return index < report.firstHit.size() ? report.firstHit[index] : 0;
}

// A number, or none where it is not one.
std::optional<double> Finite(double value) noexcept {
    return std::isfinite(value) ? std::optional(value) : std::nullopt;
}

TierFigures FigureTier(const GameFigures& figures, const Tier& tier) {
    const GameReport& report = figures.report;
    TierFigures row{.tier = tier};
    row.count = report.tally.empty() ? 0 : report.tally[static_cast<std::size_t>(tier.index)];
    if (figures.Completed()) {
        // A command drawn until a tier expects its counts of the draws that it took.
        const double draws =
            figures.play.until ? static_cast<double>(report.drawsDone) : report.requested;
        row.expected = Finite(draws * tier.probability);
    }
    if (row.expected) {
        row.deviation = Finite(DeviationPercent(static_cast<double>(row.count), *row.expected));
    }
    if (figures.play.waits) {
        row.meanWait = MeanWait(tier.probability);
        row.meanWaitYears = row.meanWait ? figures.play.Years(*row.meanWait) : std::nullopt;
        row.firstHit = FirstHit(report, tier);
    }
    return row;
}

// The z-score of winnings against `draws` draws of a law of that mean and variance.
std::optional<double> ZScore(Cents won, std::uint64_t draws, double mean, double variance) {
    const double spread = std::sqrt(static_cast<double>(draws) * variance);
    if (draws == 0 || !(spread > 0)) {
        return std::nullopt;
    }
    return (static_cast<double>(won) - static_cast<double>(draws) * mean) / spread;
}

MoneyFigures FigureMoney(const MoneyLaw& law, const GameFigures& figures) {
    const GameReport& report = figures.report;
    const std::uint64_t draws = report.drawsDone;
    MoneyFigures money{.spent = law.cost * static_cast<Cents>(draws), .won = law.Won(report.tally)};
    money.z = ZScore(money.won, draws, law.expectedReturn, law.variance);
    for (const TierFigures& row : figures.tiers) {
        if (row.tier.index == law.topTier) {
            const Cents hits = row.count;
            money.zBelowTop =
                ZScore(money.won - hits * law.payouts[static_cast<std::size_t>(law.topTier)], draws,
                       law.returnBelowTop, law.varianceBelowTop);
            money.topTier = TierName(row.tier);
        }
    }
    return money;
}

AnyPrize FigureAnyPrize(const MoneyLaw& law, const GameFigures& figures) {
    AnyPrize any;
    for (const TierFigures& row : figures.tiers) {
        if (law.payouts[static_cast<std::size_t>(row.tier.index)] <= 0) {
            continue;
        }
        any.probability += row.tier.probability;
        const std::uint64_t hit = FirstHit(figures.report, row.tier);
        if (hit != 0 && (any.firstHit == 0 || hit < any.firstHit)) {
            any.firstHit = hit;
        }
    }
    any.meanWait = MeanWait(any.probability);
    any.meanWaitYears = any.meanWait ? figures.play.Years(*any.meanWait) : std::nullopt;
    return any;
}

}  // namespace

std::optional<double> MeanWait(double probability) noexcept {
    return probability > 0 ? std::optional(1 / probability) : std::nullopt;
}

GameFigures FigureGame(const DrawRule& rule, GameReport report, Play play, bool statsAsked,
                       bool unreadable) {
    GameFigures figures{.rule = rule,
                        .report = std::move(report),
                        .play = std::move(play),
                        .unreadable = unreadable,
                        .statsAsked = statsAsked};
    for (const Tier& tier : Tiers(rule, figures.report.tally)) {
        figures.tiers.push_back(FigureTier(figures, tier));
    }
    if (statsAsked && !unreadable) {
        figures.stats =
            TestSignificance(Counts(figures), Probabilities(figures), figures.report.drawsDone);
    }
    if (figures.play.money) {
        figures.money = FigureMoney(*figures.play.money, figures);
        figures.anyPrize = FigureAnyPrize(*figures.play.money, figures);
    }
    return figures;
}

std::vector<std::uint64_t> Counts(const GameFigures& figures) {
    std::vector<std::uint64_t> counts;
    for (const TierFigures& row : figures.tiers) {
        counts.push_back(row.count);
    }
    return counts;
}

std::vector<double> Probabilities(const GameFigures& figures) {
    std::vector<double> probabilities;
    for (const TierFigures& row : figures.tiers) {
        probabilities.push_back(row.tier.probability);
    }
    return probabilities;
}

std::vector<std::string> TierNames(const GameFigures& figures) {
    std::vector<std::string> names;
    for (const TierFigures& row : figures.tiers) {
        names.push_back(TierName(row.tier));
    }
    return names;
}

}  // namespace loto
