#include "core/play_figures.h"

#include <cmath>

namespace loto {

std::optional<double> MeanWait(double probability) noexcept {
    return probability > 0 ? std::optional(1 / probability) : std::nullopt;
}

std::optional<double> WaitYears(double draws, std::optional<double> drawsPerWeek) noexcept {
    if (!drawsPerWeek) {
        return std::nullopt;
    }
    return draws / (*drawsPerWeek * kWeeksAYear);
}

std::uint64_t FirstHit(const GameReport& report, const Tier& tier) noexcept {
    const auto index = static_cast<std::size_t>(tier.index);
    return index < report.firstHit.size() ? report.firstHit[index] : 0;
}

double ExpectedDraws(const GameReport& report, bool drawnUntil) noexcept {
    return drawnUntil ? static_cast<double>(report.drawsDone) : report.requested;
}

AnyPrize FindAnyPrize(const MoneyLaw& law, const std::vector<Tier>& tiers,
                      const GameReport& report) {
    AnyPrize any;
    for (const Tier& tier : tiers) {
        if (law.payouts[static_cast<std::size_t>(tier.index)] <= 0) {
            continue;
        }
        any.probability += tier.probability;
        const std::uint64_t hit = FirstHit(report, tier);
        if (hit != 0 && (any.firstHit == 0 || hit < any.firstHit)) {
            any.firstHit = hit;
        }
    }
    return any;
}

namespace {

// The z-score of winnings against `draws` draws of a law of that mean and variance.
std::optional<double> ZScore(Cents won, std::uint64_t draws, double mean, double variance) {
    const double spread = std::sqrt(static_cast<double>(draws) * variance);
    if (draws == 0 || !(spread > 0)) {
        return std::nullopt;
    }
    return (static_cast<double>(won) - static_cast<double>(draws) * mean) / spread;
}

}  // namespace

MoneyFigures Figures(const MoneyLaw& law, const GameReport& report) {
    const std::uint64_t draws = report.drawsDone;
    MoneyFigures figures{.spent = law.cost * static_cast<Cents>(draws),
                         .won = law.Won(report.tally),
                         .z = std::nullopt,
                         .zBelowTop = std::nullopt};
    figures.z = ZScore(figures.won, draws, law.expectedReturn, law.variance);
    if (law.topTier >= 0) {
        const auto top = static_cast<std::size_t>(law.topTier);
        const Cents hits = top < report.tally.size() ? report.tally[top] : 0;
        figures.zBelowTop = ZScore(figures.won - hits * law.payouts[top], draws, law.returnBelowTop,
                                   law.varianceBelowTop);
    }
    return figures;
}

}  // namespace loto
